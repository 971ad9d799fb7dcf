#include "ircproto/Modes.h"

#include "foundation/Decimal.h"
#include "foundation/StringUtils.h"

void TChannelMode::Clear()
{
    anonymous = inviteOnly = moderated = noOutsideMessages = false;
    privateChannel = quiet = reop = secret = topicByOperators = false;
    limit = 0;
    key.Empty();
}

bool* TChannelMode::FlagOf(wchar_t letter)
{
    switch (letter) {
    case L'a':
        return &anonymous;
    case L'i':
        return &inviteOnly;
    case L'm':
        return &moderated;
    case L'n':
        return &noOutsideMessages;
    case L'p':
        return &privateChannel;
    case L'q':
        return &quiet;
    case L'r':
        return &reop;
    case L's':
        return &secret;
    case L't':
        return &topicByOperators;
    default:
        return nullptr;
    }
}

void TChannelMode::ApplyModeChange(const CString& text, std::vector<TModeChange>& changes)
{
    if (serverModes) {
        serverModes->ParseModeChanges(text, changes);
    } else {
        TISupportMode defaults;
        defaults.ParseModeChanges(text, changes);
    }
    for (const TModeChange& change : changes) {
        if (change.memberMode)
            continue;
        if (change.flagMode) {
            if (bool* flag = FlagOf(change.letter))
                *flag = change.adding;
        } else if (change.letter == L'k') {
            if (change.adding)
                key = change.param;
            else
                key.Empty();
        } else if (change.letter == L'l') {
            limit = change.adding ? ReadDecimal(change.param) : 0;
        }
    }
}

CString TChannelMode::ToString() const
{
    const struct {
        bool set;
        wchar_t letter;
    } flags[] = {{privateChannel, L'p'},
                 {secret, L's'},
                 {moderated, L'm'},
                 {noOutsideMessages, L'n'},
                 {topicByOperators, L't'},
                 {inviteOnly, L'i'},
                 {anonymous, L'a'},
                 {quiet, L'q'},
                 {reop, L'r'}};
    CString text;
    for (const auto& flag : flags) {
        if (!flag.set)
            continue;
        if (text.IsEmpty())
            text += L'+';
        text += flag.letter;
    }
    // A limit of 0 or below limits nothing, so it is no mode to show.
    if (limit > 0)
        text += L"+l";
    if (!key.IsEmpty())
        text += L"+k";
    if (limit > 0)
        text.AppendFormat(L" %d", limit);
    if (!key.IsEmpty())
        text += L" " + key;
    return text;
}

CString TChannelMode::BuildChangeString(const TChannelMode& current) const
{
    const struct {
        bool wanted, now;
        wchar_t letter;
    } flags[] = {{anonymous, current.anonymous, L'a'},
                 {inviteOnly, current.inviteOnly, L'i'},
                 {moderated, current.moderated, L'm'},
                 {noOutsideMessages, current.noOutsideMessages, L'n'},
                 {privateChannel, current.privateChannel, L'p'},
                 {secret, current.secret, L's'},
                 {reop, current.reop, L'r'},
                 {topicByOperators, current.topicByOperators, L't'}};
    CString letters, params;
    for (const auto& flag : flags) {
        if (flag.wanted == flag.now)
            continue;
        letters += flag.wanted ? L'+' : L'-';
        letters += flag.letter;
    }
    if (limit != current.limit) {
        if (limit != 0) {
            letters += L"+l";
            params.AppendFormat(L" %d", limit);
        } else {
            letters += L"-l";
        }
    }
    if (key != current.key) {
        if (key.IsEmpty()) {
            letters += L"-k";
            params += L" " + current.key;
        } else {
            letters += L"+k";
            params += L" " + key;
        }
    }
    return letters + params;
}

void TChannelMode::TakeChanges(const TChannelMode& before, const TChannelMode& after)
{
    static bool TChannelMode::*const kFlags[] = {&TChannelMode::anonymous,
                                                 &TChannelMode::inviteOnly,
                                                 &TChannelMode::moderated,
                                                 &TChannelMode::noOutsideMessages,
                                                 &TChannelMode::privateChannel,
                                                 &TChannelMode::quiet,
                                                 &TChannelMode::reop,
                                                 &TChannelMode::secret,
                                                 &TChannelMode::topicByOperators};
    for (bool TChannelMode::*flag : kFlags)
        if (before.*flag != after.*flag)
            this->*flag = after.*flag;
    if (before.limit != after.limit)
        limit = after.limit;
    if (before.key != after.key)
        key = after.key;
}

void TUserMode::ApplyModeChange(const CString& text)
{
    bool adding = true;
    for (int i = 0; i < text.GetLength(); i++) {
        switch (text[i]) {
        case L'+':
            adding = true;
            break;
        case L'-':
            adding = false;
            break;
        case L'a':
            away = adding;
            break;
        case L'i':
            invisible = adding;
            break;
        case L'r':
            restricted = adding;
            break;
        case L's':
            serverNotices = adding;
            break;
        case L'w':
            wallops = adding;
            break;
        case L'o':
            op = adding;
            break;
        case L'O':
            localOp = adding;
            break;
        default:
            break;
        }
    }
}

CString TUserMode::ToString() const
{
    const struct {
        bool set;
        wchar_t letter;
    } flags[] = {{away, L'a'},       {invisible, L'i'}, {wallops, L'w'}, {serverNotices, L's'},
                 {restricted, L'r'}, {op, L'o'},        {localOp, L'O'}};
    CString text;
    for (const auto& flag : flags)
        if (flag.set)
            text += flag.letter;
    return text.IsEmpty() ? text : L"+" + text;
}

int CountModePenalty(const CString& text)
{
    const int kMaxPenalty = 10;
    int count = 0;
    bool inModeWord = false;
    for (int i = 0; i < text.GetLength() && count < kMaxPenalty; i++) {
        wchar_t c = text[i];
        bool wordStart = c != L' ' && (i == 0 || text[i - 1] == L' ');
        if (wordStart)
            inModeWord = c == L'+' || c == L'-';
        else if (c == L' ')
            inModeWord = false;
        else if (inModeWord && c != L'+' && c != L'-')
            count++;
    }
    int penalty = 1 + 3 * count;
    return penalty < kMaxPenalty ? penalty : kMaxPenalty;
}
