#pragma once
// Tab in the input line completes the nick before the caret from the current channel's members;
// Tab again right after goes on to the next candidate. The caller owns the edit control: it
// reads the selection, and applies the replacement this hands back.

#include "classlib/String.h"

#include <vector>

class TIRCMember;

struct TNickCompletionEdit {
    int from = 0;
    int to = 0;
    CString insert;
};

class TNickCompleter {
public:
    // False when nothing changes. Members' activities decay on the way (they rank the nicks).
    bool Complete(const CString& text, int selStart, int selEnd, const std::vector<TIRCMember*>& members,
                  const CString& ownNick, bool forward, TNickCompletionEdit& edit);
    void Reset();

private:
    CString lastText;
    int lastStart = -1;
    int lastCaret = -1;
};

// Open request dialogs of one kind (DCC chat requests, invitations, WHOIS windows) against the
// limit preferences.
class TDialogLimit {
public:
    // Counts the dialog when one more may open.
    bool TryOpen(bool limited, int maximum);
    void OnClosed()
    {
        if (open > 0)
            open--;
    }

private:
    int open = 0;
};
