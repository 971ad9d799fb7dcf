#pragma once
// The simple modes of one channel and the modes of the user's own connection, each able to take
// a MODE text and to render itself as one.

#include "ircproto/ISupport.h"

class TChannelMode {
public:
    TChannelMode() = default;
    TChannelMode(const TChannelMode&) = default;
    TChannelMode& operator=(const TChannelMode&) = default;
    ~TChannelMode() = default;

    // Keeps serverModes.
    void Clear();
    // Leaves every parsed change in changes, so the caller can apply the member modes.
    void ApplyModeChange(const CString& text, std::vector<TModeChange>& changes);
    CString ToString() const;
    // Called on the wanted record: the MODE text that turns current into this one.
    CString BuildChangeString(const TChannelMode& current) const;
    // The modes that differ between before and after take after's value; the others keep this
    // record's, so a change made on an older copy leaves newer ones alone.
    void TakeChanges(const TChannelMode& before, const TChannelMode& after);

    bool anonymous = false;         // a
    bool inviteOnly = false;        // i
    bool moderated = false;         // m
    bool noOutsideMessages = false; // n
    bool privateChannel = false;    // p
    bool quiet = false;             // q
    bool reop = false;              // r
    bool secret = false;            // s
    bool topicByOperators = false;  // t
    int limit = 0;                  // l, 0 for none
    CString key;                    // k
    // Which letters take parameters; null means the default tables.
    const TISupportMode* serverModes = nullptr;

private:
    bool* FlagOf(wchar_t letter);
};

class TUserMode {
public:
    void ApplyModeChange(const CString& text);
    CString ToString() const;

    bool away = false;          // a
    bool invisible = false;     // i
    bool restricted = false;    // r
    bool serverNotices = false; // s
    bool wallops = false;       // w
    bool op = false;            // o
    bool localOp = false;       // O
};

// Flood weight of a MODE command: 1 + 3 per mode letter, at most 10.
int CountModePenalty(const CString& text);
