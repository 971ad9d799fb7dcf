#pragma once
// One member of a channel: its address, its channel modes, the user group it falls in and two
// activity scores that nick completion ranks by.

#include "classlib/String.h"

class TIRCMember {
public:
    TIRCMember();
    TIRCMember(const CString& nick, const CString& user, const CString& host);

    bool IsOp() const { return q || a || o; }
    // The prefix of the highest mode: "~", "&", "@", "%", "+" or "".
    CString GetPrefixChar() const;
    // false for letters other than q, a, o, h and v.
    bool SetMode(wchar_t letter, bool on);

    void AddActivity();
    // Raised when the member speaks; a line that names the user counts more.
    void AddSecondActivity(const CString& ownNick, const CString& text);
    // Halves both activities once per whole minute since the last decay.
    void DecayActivity();
    void DecayActivity(long long now);

    CString nick;
    CString user;
    CString host;
    CString server;
    CString fullName;
    bool q = false;
    bool a = false;
    bool o = false;
    bool h = false;
    bool v = false;
    int groupKind = 0; // 0 none, 1 user group, 2 the user's own identity
    int groupIndex = -1;
    long long lastDecayTime = 0;
    float activity = 0;
    float secondActivity = 0;
};

// Member list order; negative when a comes first. method is the "MemberSortMethod" preference.
int CompareMembers(const TIRCMember* a, const TIRCMember* b, int method);
// WHO window order by its clicked column; ties fall back to the nick.
int CompareWhoRows(const TIRCMember* a, const TIRCMember* b, int column);
