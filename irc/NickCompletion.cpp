#include "irc/NickCompletion.h"

#include "irc/Member.h"
#include "ircproto/IRCNames.h"

#include <algorithm>

namespace {

bool IsNickChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           wcschr(L"`[]\\_^{|}", c) != nullptr;
}

std::vector<TIRCMember*> FindCandidates(const CString& word, const std::vector<TIRCMember*>& members,
                                        const CString& ownNick)
{
    std::vector<TIRCMember*> found;
    for (TIRCMember* member : members)
        if (member->nick != ownNick && member->nick.GetLength() >= word.GetLength() &&
            IRCCompareNoCase(member->nick.Left(word.GetLength()), word) == 0)
            found.push_back(member);
    for (TIRCMember* member : found)
        member->DecayActivity();
    std::stable_sort(found.begin(), found.end(), [](const TIRCMember* a, const TIRCMember* b) {
        float sa = a->activity + a->secondActivity, sb = b->activity + b->secondActivity;
        if (sa != sb)
            return sa > sb;
        return a->nick.CompareNoCase(b->nick) < 0;
    });
    return found;
}

// The candidate after (or before) the nick already in place, wrapping round.
const CString& ChooseNick(const std::vector<TIRCMember*>& candidates, const CString& current, bool forward)
{
    int count = (int)candidates.size();
    for (int i = 0; i < count; i++)
        if (IRCCompareNoCase(candidates[i]->nick, current) == 0)
            return candidates[forward ? (i + 1) % count : (i + count - 1) % count]->nick;
    return candidates[0]->nick;
}

} // namespace

bool TNickCompleter::Complete(const CString& text, int selStart, int selEnd, const std::vector<TIRCMember*>& members,
                              const CString& ownNick, bool forward, TNickCompletionEdit& edit)
{
    int start = selStart, end = std::min(selEnd, text.GetLength());
    if (text == lastText && lastCaret == start && start == end)
        start = lastStart;
    if (start < 0 || start > end)
        return false;
    CString left = text.Left(start);
    CString replaced = text.Mid(start, end - start);
    int space = left.ReverseFind(L' ');
    CString word = left.Mid(space + 1);
    bool atLineStart = space < 0;
    bool byAt = false;
    if (!word.IsEmpty() && !IsNickChar(word[0])) {
        byAt = word[0] == L'@';
        atLineStart = atLineStart && byAt;
        word = word.Mid(1);
    }
    if (word.IsEmpty())
        return false;
    CString current = word + replaced;
    if (current.Right(1) == L" ")
        current = current.Left(current.GetLength() - 1);
    if (current.Right(1) == L":")
        current = current.Left(current.GetLength() - 1);
    std::vector<TIRCMember*> candidates = FindCandidates(word, members, ownNick);
    if (candidates.empty())
        return false;
    edit.insert = ChooseNick(candidates, current, forward);
    if (atLineStart)
        edit.insert += byAt ? L" " : L": ";
    edit.from = start - word.GetLength();
    edit.to = end;
    if (candidates.size() == 1) {
        Reset();
    } else {
        lastText = text.Left(edit.from) + edit.insert + text.Mid(edit.to);
        lastStart = start;
        lastCaret = edit.from + edit.insert.GetLength();
    }
    return true;
}

void TNickCompleter::Reset()
{
    lastText.Empty();
    lastStart = lastCaret = -1;
}

bool TDialogLimit::TryOpen(bool limited, int maximum)
{
    if (limited && open >= maximum)
        return false;
    open++;
    return true;
}
