// The unit's answers to its macro engine: conditions on users, macro variables and the actions
// of macro rules (print, programs, URLs, commands, operator status, sounds, tree marks, windows).

#include "irc/IRCUnit.h"

#include "foundation/Path.h"
#include "foundation/StringUtils.h"
#include "irc/UserCommand.h"
#include "log/LogLineData.h"
#include "macro/MacroManager.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

bool MatchesGroup(const TUserGroup& group, const CString& address)
{
    for (const CString& mask : group.masks)
        if (MatchWildcard(mask, address))
            return true;
    return false;
}

CString LowerCase(CString word)
{
    word.MakeLower();
    return word;
}

} // namespace

void TIRCUnit::OnMacroFileLoadError(const CString& fileName)
{
    // The engine has dropped it already; the stored list stays, so the tree save keeps it enabled.
    auto& files = unreadableMacroFiles;
    if (std::find(files.begin(), files.end(), fileName) == files.end())
        files.push_back(fileName);
}

void TIRCUnit::Print(const CString& channelName, const CString& text)
{
    if (TIRCChannel* channel = LookupChannel(channelName))
        PrintToChannel(channel, CString(), text, EVENT_SCRIPT, 0, false);
    else
        PrintToServer(channelName, CString(), text, EVENT_SCRIPT, 0, false, CString());
}

void TIRCUnit::PrintScriptText(TIRCChannel* channel, const CString& text)
{
    if (channel)
        PrintToChannel(channel, CString(), text, EVENT_SCRIPT, 0, false);
    else
        PrintToServer(CString(), CString(), text, EVENT_SCRIPT, 0, false, CString());
}

bool TIRCUnit::IsSelf(const CString& nick, const CString& user, const CString& host)
{
    return nick == session.currentNick ||
           MatchesGroup(preference->userGroups.groups[0], nick + L"!" + user + L"@" + host);
}

bool TIRCUnit::IsPrefixInUserGroup(int group, const CString& nick, const CString& user, const CString& host)
{
    // Groups 0 to 4 of the macro files are the numbered groups after the user's own.
    if (group < 0 || group + 1 >= TUserGroupList::GroupCount)
        return false;
    return MatchesGroup(preference->userGroups.groups[group + 1], nick + L"!" + user + L"@" + host);
}

bool TIRCUnit::IsChannelOperator(const CString& channelName, const CString& nick)
{
    TIRCChannel* channel = LookupChannel(channelName);
    TIRCMember* member = channel ? channel->FindMember(nick) : nullptr;
    return member && member->o;
}

CString TIRCUnit::GetCurrentChannelName() { return frame->GetCurrentChannelName(this); }

CString TIRCUnit::GetSelectedText()
{
    CString text = frame->GetSelectedText();
    text.Replace(L"\r\n", L" ");
    return text;
}

void TIRCUnit::Execute(const CString& commandLine, bool minimized)
{
    CString program, arguments;
    SplitProgramLine(commandLine, program, arguments);
    CString folder = ExtractFolder(program);
    if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    frame->RunProgram(program, arguments, folder, minimized);
}

void TIRCUnit::OpenUrl(const CString& url, const CString&) { frame->OpenUrl(url); }

void TIRCUnit::ExecuteCommand(const CString& text, bool notify, bool multiLine)
{
    CString rest = text;
    if (!multiLine) {
        rest.Remove(L'\r');
        rest.Remove(L'\n');
        ExecuteCommand(rest, !notify);
        return;
    }
    for (const CString& line : SplitLines(rest))
        if (!line.IsEmpty())
            ExecuteCommand(line, !notify);
}

void TIRCUnit::GiveOp(const CString& channelName, const CString& nick)
{
    if (TIRCChannel* channel = LookupChannel(channelName))
        channel->QueueAutoOp(nick);
}

void TIRCUnit::PlaySound(const CString& fileName)
{
    PlaySoundFile(ExtractFolder(fileName).IsEmpty() ? frame->GetSoundsFolder() + fileName : fileName);
}

void TIRCUnit::SelectChannel(const CString& channelName) { frame->Select(this, LookupChannel(channelName)); }

// The marks show with the precedence keyword, new talk, update: the tree is redrawn only when
// the change can be seen.
void TIRCUnit::SetChannelCondition(const CString& channelName, const CString& word)
{
    // A name that finds no channel marks the server's own node.
    TIRCNode* node = LookupChannel(channelName);
    if (!node)
        node = this;
    CString condition = LowerCase(word);
    bool redraw = false;
    if (condition == L"keyword") {
        node->keywordMark = redraw = true;
    } else if (condition == L"newtalk") {
        node->newTalkMark = true;
        redraw = !node->keywordMark;
    } else if (condition == L"update") {
        node->updateMark = true;
        redraw = !node->keywordMark && !node->newTalkMark;
    } else if (condition == L"normal") {
        redraw = node->keywordMark || node->newTalkMark || node->updateMark;
        node->keywordMark = node->newTalkMark = node->updateMark = false;
    }
    if (redraw)
        frame->RedrawTree();
}

void TIRCUnit::WindowAction(const CString& word)
{
    static const wchar_t* const kWords[] = {L"show",       L"minimize",     L"maximize", L"flashtitle",
                                            L"blinktitle", L"restoretitle", L"quit"};
    CString action = LowerCase(word);
    for (const wchar_t* known : kWords)
        if (action == known)
            frame->WindowAction(action);
}

void TIRCUnit::ExecuteMenu(const CString& actionName) { frame->ExecuteAction(actionName); }

void TIRCUnit::ShowBalloon(const CString& title, const CString& text) { frame->ShowBalloon(title, text); }

bool TUnitMacroEngine::ProcessEvent(const TIRCReceiveMessage& message, const CString& currentNick)
{
    return manager.ProcessEvent(message, currentNick);
}

CString TUnitMacroEngine::ExpandVariables(const CString& text, const CString& currentNick)
{
    return manager.ExpandVariables(text, currentNick);
}

void TIRCUnit::SetMacroFolders(const CString& macroFolder, const CString& filesFolder)
{
    macroManager.SetMacroFolder(macroFolder);
    macroManager.SetFilesFolder(filesFolder);
    macroManager.UnloadAll();
}

void TIRCUnit::ForgetUnreadableMacroFile(const CString& name)
{
    auto& files = unreadableMacroFiles;
    files.erase(std::remove(files.begin(), files.end(), name), files.end());
}

void TIRCUnit::ResetMacros()
{
    std::vector<CString> names;
    for (const CString& name : settings.MacroFiles)
        if (std::find(unreadableMacroFiles.begin(), unreadableMacroFiles.end(), name) == unreadableMacroFiles.end())
            names.push_back(name);
    macroManager.SetFileNames(names);
    macroManager.UnloadAll();
}

void TIRCUnit::RunPopupMenuCommand(const TPopupItem& item)
{
    // Its action may wait in a modal loop (a DLL, the main window's dialog), where the unit can be
    // deleted: counted like the received events' macros.
    macroRuns++;
    macroManager.ExecuteMenuItem(item, session.currentNick);
    macroRuns--;
}
