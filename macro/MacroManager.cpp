#include "macro/MacroManager.h"

#include "foundation/CodePage.h"
#include "foundation/Path.h"
#include "foundation/SafeFileName.h"
#include "foundation/StringUtils.h"
#include "macro/LineFile.h"
#include "macro/MacroWords.h"

#include <algorithm>

namespace {

const wchar_t* const kMacroEvents[] = {L"PRIVMSG", L"NOTICE", L"ACTION", L"CTCPQUERY", L"CTCPREPLY",     L"JOIN",
                                       L"PART",    L"KICK",   L"TOPIC",  L"MODE",      L"INVITE",        L"KEYWORD",
                                       L"OP",      L"DEOP",   L"VOICE",  L"DEVOICE",   L"DCCCHATMESSAGE"};

bool EqualsNoCase(const CString& text, const wchar_t* word)
{
    return text.GetLength() == (int)wcslen(word) && WordAtNoCase(text, 0, word);
}

// What the system's file calls take without the long-path prefix, the terminating zero
// counted, and what they take with it. The system would refuse a longer path anyway, but only
// after walking it, and its walk over steps that end in dots is quadratic in the steps.
const int kMaxShortPath = MAX_PATH;
const int kMaxLongPath = 32767;

bool FitsSystemPathLimit(const CString& path)
{
    bool prefixed = path.GetLength() >= 4 && wcsncmp(path.GetString(), L"\\\\?\\", 4) == 0;
    return path.GetLength() < (prefixed ? kMaxLongPath : kMaxShortPath);
}

} // namespace

TMacroManager::~TMacroManager() { UnloadAll(); }

void TMacroManager::UnloadAll()
{
    for (TMacroFile* file : files)
        delete file;
    files.clear();
    loaded = false;
    loadGeneration++;
}

void TMacroManager::LoadFiles()
{
    UnloadAll();
    for (size_t i = 0; i < fileNames.size();) {
        auto* file = new TMacroFile(macroFolder, fileNames[i]);
        if (file->Read()) {
            files.push_back(file);
            i++;
            continue;
        }
        delete file;
        CString name = fileNames[i];
        fileNames.erase(fileNames.begin() + i);
        if (listener)
            listener->OnMacroFileLoadError(name);
    }
    loaded = true;
}

bool TMacroManager::IsMacroEvent(const CString& command)
{
    if (!command.IsEmpty() && command[0] >= L'0' && command[0] <= L'9')
        return true;
    for (const wchar_t* name : kMacroEvents)
        if (command == name)
            return true;
    return false;
}

void TMacroManager::ResetEvent(const CString& nick)
{
    event = TIRCReceiveMessage();
    event.prefix = nick;
    event.nick = nick;
    channel.Empty();
    ownNick = nick;
    NoteEventText();
}

void TMacroManager::NoteEventText()
{
    eventText = JoinStrings(event.params, L" ");
    eventHasChannel = IsMacroEvent(event.command);
    // A nick change is the user's own when the new nick is.
    eventSenderIsMe = event.command == L"NICK" ? event.GetParam(0) == ownNick : event.nick == ownNick;
}

void TMacroManager::PrepareEvent()
{
    event.command.MakeUpper();
    std::vector<CString>& params = event.params;
    bool privmsg = event.command == L"PRIVMSG";
    if ((privmsg || event.command == L"NOTICE") && params.size() >= 2 && !params[1].IsEmpty() && params[1][0] == 0x01) {
        event.command = privmsg ? L"CTCPQUERY" : L"CTCPREPLY";
        CString text = params[1].Mid(1);
        int end = text.Find(L'\x01', 1);
        params[1] = end > 0 ? text.Left(end) : text;
    }
    if (event.command == L"CTCPQUERY" && params.size() >= 2) {
        CString text = params[1];
        int blank = text.Find(L' ');
        CString word = blank < 0 ? text : text.Left(blank);
        if (word.CompareNoCase(L"ACTION") == 0) {
            event.command = L"ACTION";
            params[1] = blank < 0 ? CString() : text.Mid(blank + 1);
        }
    }
    if (event.command == L"JOIN" && !params.empty()) {
        int bell = params[0].Find(L'\x07', 1);
        if (bell > 0)
            params[0] = params[0].Left(bell);
    }
    channel.Empty();
    if (IsMacroEvent(event.command) && !params.empty()) {
        channel = params[0];
        params.erase(params.begin());
    }
    NoteEventText();
}

bool TMacroManager::ProcessEvent(const TIRCReceiveMessage& message, const CString& nick)
{
    // Without its folder the engine has no files to read, and must not drop the names.
    if (fileNames.empty() || macroFolder.IsEmpty())
        return false;
    if (!loaded)
        LoadFiles();
    if (files.empty())
        return false;
    ownNick = nick;
    event = message;
    PrepareEvent();
    bool ran = false;
    // An action may make the unit unload the files, and even load them again at the same
    // addresses: only the count of unloads tells.
    unsigned generation = loadGeneration;
    for (TMacroFile* file : files) {
        for (TMacroItem* item : file->items) {
            if (item->disabled || !ItemMatches(*item))
                continue;
            bool stop = item->stop;
            TMacroItem copy = *item;
            // The unit may expand its own texts while it acts, which replaces the current event;
            // the later rules are still tried against this one.
            TIRCReceiveMessage prepared = event;
            CString preparedChannel = channel;
            RunAction(&copy, false);
            ran = true;
            if (loadGeneration != generation)
                return true;
            ownNick = nick;
            event = prepared;
            channel = preparedChannel;
            NoteEventText();
            if (stop)
                break;
        }
    }
    return ran;
}

bool TMacroManager::ItemMatches(const TMacroItem& item)
{
    if (!MatchCondition(event.prefix, item.user, eventSenderIsMe, false, true))
        return false;
    matchingEvent = true;
    bool eventMatches = MatchCondition(event.command, item.command, false, false, false);
    matchingEvent = false;
    if (!eventMatches)
        return false;
    if (eventHasChannel && !MatchCondition(channel, item.channel, false, true, false))
        return false;
    if (!MatchCondition(eventText, item.message, false, true, false))
        return false;
    return StatesHold(item);
}

bool TMacroManager::StatesHold(const TMacroItem& item)
{
    if (!listener)
        return item.ownState == OwnAny && item.senderState == SenderAny;
    if (item.ownState == OwnOperator || item.ownState == OwnNotOperator) {
        if (listener->IsChannelOperator(channel, ownNick) != (item.ownState == OwnOperator))
            return false;
    } else if (item.ownState == OwnAway || item.ownState == OwnNotAway) {
        if (listener->IsAway() != (item.ownState == OwnAway))
            return false;
    }
    if (item.senderState == SenderOperator || item.senderState == SenderNotOperator)
        return listener->IsChannelOperator(channel, event.nick) == (item.senderState == SenderOperator);
    return true;
}

bool TMacroManager::MatchCondition(const CString& text, const CString& pattern, bool senderIsMe, bool expandVariables,
                                   bool userKeywords)
{
    if (pattern.IsEmpty())
        return !senderIsMe;
    // A condition repeats its variables and lists as often as it likes: what they add up to is
    // bounded per condition, not per alternative.
    int room = MaxVariableRoom;
    int opens = MaxFileOpens;
    for (int start = 0; start <= pattern.GetLength();) {
        int bar = pattern.Find(L'|', start);
        int end = bar < 0 ? pattern.GetLength() : bar;
        CString alternative = start == 0 && bar < 0 ? pattern : pattern.Mid(start, end - start);
        start = end + 1;
        if (!WordAtNoCase(alternative, 0, L"$LIST")) {
            int result = DecideAlternative(alternative, text, senderIsMe, expandVariables, userKeywords, room);
            if (result >= 0)
                return result == 1;
            continue;
        }
        CString rest = alternative.Mid(5);
        int close = rest.Find(L')');
        if (rest.IsEmpty() || rest[0] != L'(' || close < 0 || opens-- <= 0)
            continue;
        // Lines are alternatives until one decides; a file that cannot be read decides nothing.
        int result = -1;
        VisitLines(ResolveFilePath(rest.Mid(1, close - 1)), [&](const CStringA& line) {
            result =
                DecideAlternative(ConvertFromShiftJis(line), text, senderIsMe, expandVariables, userKeywords, room);
            return result < 0;
        });
        if (result >= 0)
            return result == 1;
    }
    return false;
}

int TMacroManager::DecideAlternative(CString alternative, const CString& text, bool senderIsMe, bool expandVariables,
                                     bool userKeywords, int& room)
{
    if (matchingEvent && EqualsNoCase(alternative, L"DCCCHATMES"))
        alternative = L"DCCCHATMESSAGE";
    bool negate = false;
    if (WordAtNoCase(alternative, 0, L"$NOT")) {
        alternative = alternative.Mid(4);
        alternative.TrimLeft();
        negate = true;
    }
    bool me = EqualsNoCase(alternative, L"%ME");
    if (senderIsMe)
        return me ? !negate : -1;
    if (me)
        return -1;
    if (userKeywords) {
        int hit = DecideUserKeyword(alternative);
        if (hit >= 0)
            return hit != (int)negate;
    }
    if (expandVariables)
        ExpandPercentWithin(alternative, room);
    return MatchWildcard(alternative, text) ? !negate : -1;
}

int TMacroManager::DecideUserKeyword(const CString& word)
{
    if (word.GetLength() != 3 || word[0] != L'%')
        return -1;
    static const wchar_t* const kGroups[] = {L"%G1", L"%G2", L"%G3", L"%G4", L"%G5"};
    int group = EqualsNoCase(word, L"%SU") ? 0 : -1;
    for (int i = 0; i < 5; i++)
        if (EqualsNoCase(word, kGroups[i]))
            group = i;
    bool self = EqualsNoCase(word, L"%MU"), none = EqualsNoCase(word, L"%NU");
    if (group < 0 && !self && !none)
        return -1;
    if (!listener)
        return 0;
    if (group >= 0)
        return listener->IsPrefixInUserGroup(group, event.nick, event.user, event.host);
    if (self)
        return listener->IsSelf(event.nick, event.user, event.host);
    for (int i = 0; i < 5; i++)
        if (listener->IsPrefixInUserGroup(i, event.nick, event.user, event.host))
            return 0;
    return !listener->IsSelf(event.nick, event.user, event.host);
}

// Names may hold what other users wrote, through the variables: the rule chooses the folder, and
// a step that a value filled is one plain name in it, with no drive, root, device or "..". A name
// the rule wrote as it stands is the user's own choice, wherever it points.
CString TMacroManager::ResolveFilePath(const CString& name, const std::vector<bool>& filled) const
{
    if (name.IsEmpty())
        return CString();
    CString path = IsAbsolutePath(name) ? name : filesFolder.IsEmpty() ? CString() : filesFolder + name;
    if (!FitsSystemPathLimit(path) || !FilledStepsArePlainNames(name, filled))
        return CString();
    return path;
}

bool TMacroManager::IsAnyFilled(const std::vector<bool>& filled)
{
    return std::find(filled.begin(), filled.end(), true) != filled.end();
}

bool TMacroManager::FilledStepsArePlainNames(const CString& name, const std::vector<bool>& filled)
{
    auto isFilled = [&](int i) { return i < (int)filled.size() && filled[i]; };
    int start = 0;
    for (int i = 0; i <= name.GetLength(); i++) {
        if (i < name.GetLength() && name[i] != L'\\' && name[i] != L'/')
            continue;
        // The separator that ends a step counts with it: a value may not start a root.
        bool stepFilled = false;
        for (int j = start; j <= i && j < name.GetLength() && !stepFilled; j++)
            stepFilled = isFilled(j);
        if (stepFilled && !IsSafeFileNamePart(name.Mid(start, i - start)))
            return false;
        start = i + 1;
    }
    return true;
}
