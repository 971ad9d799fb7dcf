#include "macrowindows/ActionFields.h"

#include "dialogs/MessageBoxes.h"
#include "dialogs/PickDialogs.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"

#include <algorithm>

namespace {

bool IsOneOf(const CString& action, std::initializer_list<const wchar_t*> words)
{
    CString lower = action;
    lower.MakeLower();
    return std::any_of(words.begin(), words.end(), [&](const wchar_t* word) { return lower == word; });
}

// The quoted program of an argument ("C:\x.exe" -opts), or the whole text when it has no quote.
CString ProgramPath(const CString& argument)
{
    if (argument.IsEmpty() || argument[0] != L'"')
        return argument;
    CString rest = argument.Mid(1);
    int quote = rest.Find(L'"');
    return quote >= 0 ? rest.Left(quote) : rest;
}

bool BrowseProgram(CWnd* owner, CString& argument)
{
    CString chosen =
        ChooseProgram(owner->m_hWnd, LoadResourceString(IDS_CHOOSE_EXECUTABLE),
                      LoadResourceString(IDS_EXECUTABLE_FILTER), ExtractFolder(ProgramPath(argument)), CString());
    if (chosen.IsEmpty())
        return false;
    // Options after the old program belonged to it, not to the new one.
    argument = L"\"" + chosen + L"\"";
    return true;
}

bool BrowseSound(CWnd* owner, const CString& soundsFolder, CString& argument)
{
    TSelectSoundDialog dialog;
    dialog.m_pParentWnd = owner;
    dialog.SetFolder(soundsFolder);
    dialog.SetFileName(argument);
    if (dialog.DoModal() != IDOK)
        return false;
    argument = dialog.GetFileName();
    return true;
}

bool BrowseCandidate(CWnd* owner, const std::vector<CString>& candidates, CString& argument)
{
    TSelectDialog dialog;
    dialog.m_pParentWnd = owner;
    for (const CString& candidate : candidates)
        dialog.AddCandidate(candidate);
    dialog.SetText(argument);
    if (dialog.DoModal() != IDOK)
        return false;
    argument = dialog.GetText();
    return true;
}

} // namespace

const std::vector<CString>& ActionSuggestions()
{
    static const std::vector<CString> names = {L"Print",
                                               L"Send",
                                               L"Raw",
                                               L"Join",
                                               L"Part",
                                               L"Quit",
                                               L"Mode",
                                               L"Nick",
                                               L"Topic",
                                               L"Kick",
                                               L"Invite",
                                               L"Away",
                                               L"Action",
                                               L"CTCPPing",
                                               L"CTCPQuery",
                                               L"CTCPReply",
                                               L"GiveOp",
                                               L"ShowBalloon",
                                               L"Execute",
                                               L"ExecuteMinimize",
                                               L"OpenURL",
                                               L"PlaySound",
                                               L"DllCall",
                                               L"DllHook",
                                               L"AddHeadLine",
                                               L"AddTailLine",
                                               L"DeleteFile",
                                               L"SelectChannel",
                                               L"ChannelCondition",
                                               L"Window",
                                               L"Menu"};
    return names;
}

const std::vector<CString>& MenuCommandSuggestions()
{
    static const std::vector<CString> names = {L"Dcc",
                                               L"KeywordHistory",
                                               L"URLHistory",
                                               L"ScriptConsole",
                                               L"StopMacro",
                                               L"Minimize",
                                               L"Connect",
                                               L"ConnectCancel",
                                               L"QuickQuit",
                                               L"Quit",
                                               L"Disconnect",
                                               L"Nick",
                                               L"Away",
                                               L"SetAwayMessage",
                                               L"Talk",
                                               L"List",
                                               L"AddServer",
                                               L"CopyServer",
                                               L"DeleteServer",
                                               L"Protocol",
                                               L"ServerOperatorList",
                                               L"ServerProperty",
                                               L"Whois",
                                               L"Join",
                                               L"QuickPart",
                                               L"Part",
                                               L"Mode",
                                               L"Topic",
                                               L"Invite",
                                               L"Mode-b",
                                               L"Mode-e",
                                               L"Mode-I",
                                               L"Mode-R",
                                               L"Member",
                                               L"ResetMember",
                                               L"AddChannel",
                                               L"DeleteChannel",
                                               L"ChannelOperatorList",
                                               L"ChannelProperty",
                                               L"SendAction",
                                               L"Copy",
                                               L"Paste",
                                               L"MyAddress",
                                               L"SendMultiLine",
                                               L"SelectAll",
                                               L"ColorEffect",
                                               L"BoldEffect",
                                               L"ReverseEffect",
                                               L"UnderlineEffect",
                                               L"StopEffect",
                                               L"Find",
                                               L"FindForward",
                                               L"FindBackward",
                                               L"SaveLog",
                                               L"ClearLog",
                                               L"Setup",
                                               L"OperatorList",
                                               L"Group",
                                               L"Ignore",
                                               L"Tree",
                                               L"Script",
                                               L"Macro",
                                               L"PopupMenu",
                                               L"ToolBar",
                                               L"MainMenu",
                                               L"TopMost",
                                               L"TrayIcon",
                                               L"Balloon"};
    return names;
}

bool ActionTakesTarget(const CString& action)
{
    return IsOneOf(action,
                   {L"send",        L"print",      L"action",      L"ctcpping",     L"ctcpquery",   L"ctcpreply",
                    L"part",        L"mode",       L"topic",       L"kick",         L"invite",      L"showbaloon",
                    L"showballoon", L"appendfile", L"appendfiler", L"addheadline",  L"addtailline", L"channelcondition",
                    L"dllcall",     L"dllhook",    L"giveop",      L"pushtoopqueue"});
}

bool ActionCanBrowse(const CString& action)
{
    return IsOneOf(action, {L"sound", L"playsound", L"exec", L"execmin", L"execute", L"executeminimize", L"window",
                            L"channelcondition", L"menu"});
}

bool BrowseActionArgument(CWnd* owner, const CString& action, const CString& soundsFolder, CString& argument)
{
    if (IsOneOf(action, {L"exec", L"execmin", L"execute", L"executeminimize"}))
        return BrowseProgram(owner, argument);
    if (IsOneOf(action, {L"sound", L"playsound"}))
        return BrowseSound(owner, soundsFolder, argument);
    if (IsOneOf(action, {L"window"}))
        return BrowseCandidate(
            owner, {L"Show", L"Minimize", L"Maximize", L"FlashTitle", L"BlinkTitle", L"RestoreTitle", L"Quit"},
            argument);
    if (IsOneOf(action, {L"channelcondition"}))
        return BrowseCandidate(owner, {L"Keyword", L"NewTalk", L"Update", L"Normal"}, argument);
    if (IsOneOf(action, {L"menu"}))
        return BrowseCandidate(owner, MenuCommandSuggestions(), argument);
    return false;
}

void FillComboList(HWND combo, const std::vector<CString>& texts)
{
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const CString& text : texts)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)text.GetString());
}
