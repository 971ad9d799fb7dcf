#pragma once
// What a server announced in numeric 005: its mode tables (PREFIX, CHANMODES, MODES) and its
// nick length, with defaults for servers that announce nothing.

#include "classlib/String.h"

#include <map>
#include <vector>

struct TModeChange {
    wchar_t letter = 0;
    bool adding = true;
    CString param;
    bool memberMode = false;
    bool flagMode = false;
};

class TISupportMode {
public:
    // CHANMODES groups: the index of the group a letter is in.
    enum { kListMode = 0, kAlwaysParam = 1, kParamWhenSet = 2, kFlagMode = 3 };

    TISupportMode();
    virtual ~TISupportMode() = default;

    // "(ov)@+"; a malformed value leaves no member modes.
    void SetPrefix(const CString& value);
    // "beIR,k,l,imnpstaqr"; groups after the fourth are ignored.
    void SetChanModes(const CString& value);

    bool TakesParameter(wchar_t letter, bool adding) const;
    bool IsFlagMode(wchar_t letter) const;
    bool IsMemberMode(wchar_t letter) const { return memberModes.count(letter) != 0; }
    // A character PREFIX puts before a member's nick ('@' for o).
    bool IsMemberPrefix(wchar_t prefix) const;
    // Splits a MODE text into single changes, each with the parameter it consumed.
    void ParseModeChanges(const CString& text, std::vector<TModeChange>& changes) const;

    int modesPerCommand = 3;
    std::map<wchar_t, wchar_t> memberModes; // letter -> nick prefix character
    std::map<wchar_t, int> channelModeKinds;
};

class TISupportInfo {
public:
    TISupportInfo();
    virtual ~TISupportInfo() = default;

    void Reset();
    // The parameters of one 005 reply after the own nick, joined with blanks.
    void Parse(const CString& text);
    // One key=value token; tokens without '=' and unknown keys are ignored.
    void SetValue(const CString& token);

    int GetNickLength() const { return nickLength; }
    const CString& GetChannelTypes() const { return channelTypes; }
    int GetModesPerCommand() const { return modes.modesPerCommand; }

    TISupportMode modes;
    CString channelTypes;
    int nickLength = 9;
};
