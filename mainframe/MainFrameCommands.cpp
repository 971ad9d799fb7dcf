// The main window's command table and the routing that serves menus, accelerators, tool-bar
// buttons and action names from it.

#include "classlib/CmdUI.h"
#include "classlib/MsgMap.h"
#include "mainframe/ActionNames.h"
#include "mainframe/MainCommands.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"

namespace {

typedef CMainFrame F;

const TMainCommand kMainCommands[] = {
    // Server menu
    {ID_CONNECT, ID_CONNECT, {L"connect"}, &F::OnConnect, &F::OnUpdateConnect},
    {ID_DISCONNECT, ID_DISCONNECT, {L"connectcancel", L"quickquit"}, &F::OnDisconnect, &F::OnUpdateDisconnect},
    {ID_FORCE_DISCONNECT, ID_FORCE_DISCONNECT, {L"disconnect"}, &F::OnForceDisconnect, &F::OnUpdateForceDisconnect},
    {ID_QUIT_PROMPT, ID_QUIT_PROMPT, {L"quit"}, &F::OnQuitPrompt, &F::OnUpdateLoggedIn},
    {ID_CHANGE_NICK, ID_CHANGE_NICK, {L"nick"}, &F::OnChangeNick, &F::OnUpdateLoggedIn},
    {ID_TOGGLE_AWAY, ID_TOGGLE_AWAY, {L"away"}, &F::OnToggleAway, &F::OnUpdateToggleAway},
    {ID_SET_AWAY_MESSAGE,
     ID_SET_AWAY_MESSAGE,
     {L"setawaymes", L"setawaymessage"},
     &F::OnSetAwayMessage,
     &F::OnUpdateLoggedIn},
    {ID_CHANNEL_LIST, ID_CHANNEL_LIST, {L"list"}, &F::OnChannelList, &F::OnUpdateLoggedIn},
    {ID_TALK, ID_TALK, {L"talk"}, &F::OnTalkPrompt, &F::OnUpdateLoggedIn},
    {ID_WHOIS, ID_WHOIS, {L"whois"}, &F::OnWhoisPrompt, &F::OnUpdateLoggedIn},
    {ID_SEND_ACTION, ID_SEND_ACTION, {L"sendaction"}, &F::OnSendActionPrompt, &F::OnUpdateSendAction},
    {ID_PROTOCOL_LOG, ID_PROTOCOL_LOG, {L"protocol"}, &F::OnProtocolLog, &F::OnUpdateUnitSelected},
    {ID_ADD_SERVER, ID_ADD_SERVER, {L"addserver"}, &F::OnAddServer, nullptr},
    {ID_COPY_SERVER, ID_COPY_SERVER, {L"copyserver"}, &F::OnCopyServer, &F::OnUpdateUnitSelected},
    {ID_DELETE_SERVER, ID_DELETE_SERVER, {L"deleteserver"}, &F::OnDeleteServer, &F::OnUpdateConnect},
    {ID_ADD_CHANNEL, ID_ADD_CHANNEL, {L"addchannel"}, &F::OnAddChannel, &F::OnUpdateUnitSelected},
    {ID_EDIT_SERVER_TREE, ID_EDIT_SERVER_TREE, {L"tree"}, &F::EditServerTree, nullptr},
    {ID_SERVER_AUTO_OP, ID_SERVER_AUTO_OP, {L"serveroperatorlist"}, &F::OnServerAutoOp, &F::OnUpdateUnitSelected},
    {ID_SERVER_PROPERTIES, ID_SERVER_PROPERTIES, {L"serverproperty"}, &F::OnServerProperties, &F::OnUpdateUnitSelected},

    // Channel menu
    {ID_JOIN, ID_JOIN, {L"join", L"joinframe"}, &F::OnJoin, &F::OnUpdateJoin},
    {ID_PART, ID_PART, {L"deleteframepart", L"keepframepart", L"quickpart"}, &F::OnPart, &F::OnUpdatePart},
    {ID_PART_PROMPT, ID_PART_PROMPT, {L"part"}, &F::OnPartPrompt, &F::OnUpdatePartPrompt},
    {ID_TOPIC, ID_TOPIC, {L"topic"}, &F::OnTopic, &F::OnUpdateJoinedChannelCommand},
    {ID_INVITE_TO_CHANNEL, ID_INVITE_TO_CHANNEL, {L"invite"}, &F::OnInviteToChannel, &F::OnUpdateJoinedChannelCommand},
    {ID_CHANNEL_MODE, ID_CHANNEL_MODE, {L"mode"}, &F::OnChannelMode, &F::OnUpdateModeChannelCommand},
    {ID_BAN_LIST, ID_BAN_LIST, {L"mode-b"}, &F::OnBanList, &F::OnUpdateModeChannelCommand},
    {ID_BAN_EXCEPTION_LIST, ID_BAN_EXCEPTION_LIST, {L"mode-e"}, &F::OnBanExceptionList, &F::OnUpdateModeChannelCommand},
    {ID_INVITE_LIST, ID_INVITE_LIST, {L"mode-i"}, &F::OnInviteList, &F::OnUpdateModeChannelCommand},
    {ID_REOP_LIST, ID_REOP_LIST, {L"mode-r"}, &F::OnReopList, &F::OnUpdateModeChannelCommand},
    {ID_MEMBER_INFO, ID_MEMBER_INFO, {L"member"}, &F::OnMemberInfo, &F::OnUpdateJoinedChannelCommand},
    {ID_RESET_MEMBERS, ID_RESET_MEMBERS, {L"resetmember"}, &F::OnResetMembers, &F::OnUpdateJoinedChannelCommand},
    {ID_DELETE_CHANNEL, ID_DELETE_CHANNEL, {L"deletechannel"}, &F::OnDeleteChannel, &F::OnUpdateDeleteChannel},
    {ID_CHANNEL_AUTO_OP,
     ID_CHANNEL_AUTO_OP,
     {L"channeloperatorlist"},
     &F::OnChannelAutoOp,
     &F::OnUpdateChannelProperties},
    {ID_CHANNEL_PROPERTIES,
     ID_CHANNEL_PROPERTIES,
     {L"channelproperty"},
     &F::OnChannelProperties,
     &F::OnUpdateChannelProperties},

    // Edit menu and the input line's markup
    {ID_EDIT_COPY, ID_EDIT_COPY, {L"copy"}, &F::OnEditCopy, &F::OnUpdateEditCopy},
    {ID_EDIT_PASTE, ID_EDIT_PASTE, {L"paste"}, &F::OnEditPaste, &F::OnUpdateEditPaste},
    {ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_ALL, {L"selectall"}, &F::OnEditSelectAll, &F::OnUpdateEditSelectAll},
    {ID_EDIT_CUT, ID_EDIT_CUT, {}, &F::OnEditCut, &F::OnUpdateEditCut},
    {ID_EDIT_CLEAR, ID_EDIT_CLEAR, {}, &F::OnEditClear, &F::OnUpdateEditCut},
    {ID_EDIT_UNDO, ID_EDIT_UNDO, {}, &F::OnEditUndo, &F::OnUpdateEditUndo},
    {ID_PASTE_MY_ADDRESS, ID_PASTE_MY_ADDRESS, {L"myaddress"}, &F::OnPasteMyAddress, &F::OnUpdatePasteMyAddress},
    {ID_BOLD_EFFECT, ID_BOLD_EFFECT, {L"boldeffect"}, &F::OnBoldEffect, nullptr},
    {ID_UNDERLINE_EFFECT, ID_UNDERLINE_EFFECT, {L"underlineeffect"}, &F::OnUnderlineEffect, nullptr},
    {ID_REVERSE_EFFECT, ID_REVERSE_EFFECT, {L"reverseeffect"}, &F::OnReverseEffect, nullptr},
    {ID_COLOR_EFFECT, ID_COLOR_EFFECT, {L"coloreffect"}, &F::OnColorEffect, nullptr},
    {ID_STOP_EFFECT, ID_STOP_EFFECT, {L"stopeffect"}, &F::OnStopEffect, nullptr},
    {ID_FIND, ID_FIND, {L"find"}, &F::OnFind, &F::OnUpdateFind},
    {ID_FIND_NEXT, ID_FIND_NEXT, {L"findforward"}, &F::OnFindNext, nullptr},
    {ID_FIND_PREVIOUS, ID_FIND_PREVIOUS, {L"findbackward"}, &F::OnFindPrevious, nullptr},

    // View menu
    {ID_VIEW_TOOLBAR, ID_VIEW_TOOLBAR, {L"toolbar"}, &F::OnToggleToolBar, &F::OnUpdateToggleToolBar},
    {ID_TOGGLE_MAIN_MENU,
     ID_TOGGLE_MAIN_MENU,
     {L"togglemainmenu", L"mainmenu"},
     &F::OnToggleMainMenu,
     &F::OnUpdateToggleMainMenu},
    {ID_TOPMOST, ID_TOPMOST, {L"topmost"}, &F::OnToggleTopMost, &F::OnUpdateToggleTopMost},
    {ID_RESET_SPLITTERS, ID_RESET_SPLITTERS, {}, &F::OnResetSplitters, nullptr},
    {ID_KEYWORD_HISTORY,
     ID_KEYWORD_HISTORY,
     {L"keywordhistory", L"keywordbackward", L"keywordforward"},
     &F::OnKeywordHistory,
     &F::OnUpdateHistory},
    {ID_URL_HISTORY, ID_URL_HISTORY, {L"urlhistory"}, &F::OnUrlHistory, &F::OnUpdateHistory},
    {ID_SCRIPT_CONSOLE, ID_SCRIPT_CONSOLE, {L"scriptconsole"}, &F::ShowScriptConsole, nullptr},
    {ID_DCC_WINDOW, ID_DCC_WINDOW, {L"dccsend", L"dcc"}, &F::OnDCCWindow, nullptr},
    {ID_MINIMIZE, ID_MINIMIZE, {L"minimize"}, &F::OnMinimize, nullptr},
    {ID_RESTORE_FROM_TRAY, ID_RESTORE_FROM_TRAY, {}, &F::OnRestoreFromTray, &F::OnUpdateRestoreFromTray},

    // File and tools menus
    {ID_SAVE_LOG, ID_SAVE_LOG, {L"savelog"}, &F::SaveLogToFile, &F::OnUpdateNodeHasLines},
    {ID_CLEAR_LOG, ID_CLEAR_LOG, {L"clearlog"}, &F::OnClearLog, &F::OnUpdateNodeHasLines},
    {ID_SEND_MULTI_LINE, ID_SEND_MULTI_LINE, {L"sendmultiline"}, &F::OnSendMultiLine, &F::OnUpdateSendMultiLine},
    {ID_APP_EXIT, ID_APP_EXIT, {}, &F::OnAppExit, nullptr},
    {ID_EXIT_FROM_TRAY, ID_EXIT_FROM_TRAY, {}, &F::OnExitFromTray, nullptr},
    {ID_PREFERENCES, ID_PREFERENCES, {L"view", L"setup"}, &F::OnPreferences, nullptr},
    {ID_AUTO_OP, ID_AUTO_OP, {L"operatorlist"}, &F::ShowAutoOpDialog, nullptr},
    {ID_IGNORE_LIST, ID_IGNORE_LIST, {L"ignore"}, &F::ShowIgnoreListDialog, nullptr},
    {ID_USER_GROUPS, ID_USER_GROUPS, {L"group"}, &F::ShowUserGroupDialog, nullptr},
    {ID_POPUP_MENU_SETTINGS, ID_POPUP_MENU_SETTINGS, {L"popupmenu"}, &F::OnPopupMenuSettings, nullptr},
    {ID_MACRO_SETTINGS, ID_MACRO_SETTINGS, {L"macro"}, &F::OnMacroSettings, nullptr},
    {ID_SCRIPT_SETTINGS, ID_SCRIPT_SETTINGS, {L"script"}, &F::OnScriptSettings, nullptr},
    {ID_TOGGLE_TRAY_ICON, ID_TOGGLE_TRAY_ICON, {L"trayicon"}, &F::OnToggleTrayIcon, &F::OnUpdateToggleTrayIcon},
    {ID_TOGGLE_BALLOON, ID_TOGGLE_BALLOON, {L"balloon"}, &F::OnToggleBalloon, &F::OnUpdateToggleBalloon},
    {ID_STOP_MACROS, ID_STOP_MACROS, {L"stopmacro"}, &F::OnStopMacros, &F::OnUpdateStopMacros},

    // Help menu
    {ID_HELP_INDEX, ID_HELP_INDEX, {}, &F::OnHelpIndex, nullptr},
    {ID_HELP_MAIN_WINDOW, ID_HELP_MAIN_WINDOW, {}, &F::OnHelpMainWindow, nullptr},
    {ID_HELP_SHORTCUT_KEYS, ID_HELP_SHORTCUT_KEYS, {}, &F::OnHelpShortcutKeys, nullptr},
    {ID_HELP_MACRO, ID_HELP_MACRO, {}, &F::OnHelpMacro, nullptr},
    {ID_HELP_SCRIPT, ID_HELP_SCRIPT, {}, &F::OnHelpScript, nullptr},
    {ID_OPEN_HOME_PAGE, ID_OPEN_HOME_PAGE, {}, &F::OnOpenHomePage, nullptr},
    {ID_APP_ABOUT, ID_APP_ABOUT, {}, &F::OnAppAbout, nullptr},

    // Member list popup and the log views' popups
    {ID_USER_INFO, ID_USER_INFO, {}, &F::OnUserInfo, &F::OnUpdateNickCommand},
    {ID_MEMBER_TALK, ID_MEMBER_TALK, {}, &F::OnTalk, &F::OnUpdateNickCommand},
    {ID_INVITE_MEMBER, ID_INVITE_MEMBER, {}, &F::OnInviteMember, &F::OnUpdateNickCommand},
    {ID_CTCP_PING, ID_CTCP_PING, {}, &F::OnCtcpPing, &F::OnUpdateNickCommand},
    {ID_CTCP_TIME, ID_CTCP_TIME, {}, &F::OnCtcpTime, &F::OnUpdateNickCommand},
    {ID_CTCP_VERSION, ID_CTCP_VERSION, {}, &F::OnCtcpVersion, &F::OnUpdateNickCommand},
    {ID_CTCP_USERINFO, ID_CTCP_USERINFO, {}, &F::OnCtcpUserinfo, &F::OnUpdateNickCommand},
    {ID_CTCP_CLIENTINFO, ID_CTCP_CLIENTINFO, {}, &F::OnCtcpClientinfo, &F::OnUpdateNickCommand},
    {ID_GIVE_OP, ID_GIVE_OP, {}, &F::OnGiveOp, &F::OnUpdateOperatorCommand},
    {ID_TAKE_OP, ID_TAKE_OP, {}, &F::OnTakeOp, &F::OnUpdateOperatorCommand},
    {ID_KICK, ID_KICK, {}, &F::OnKick, &F::OnUpdateOperatorCommand},
    {ID_ADD_BAN, ID_ADD_BAN, {}, &F::OnAddBan, &F::OnUpdateOperatorCommand},
    {ID_GIVE_VOICE, ID_GIVE_VOICE, {}, &F::OnGiveVoice, &F::OnUpdateOperatorCommand},
    {ID_TAKE_VOICE, ID_TAKE_VOICE, {}, &F::OnTakeVoice, &F::OnUpdateOperatorCommand},
    {ID_DCC_SEND, ID_DCC_SEND, {}, &F::OnDccSend, &F::OnUpdateMemberCommand},
    {ID_DCC_CHAT, ID_DCC_CHAT, {}, &F::OnDccChat, &F::OnUpdateMemberCommand},
    {ID_AUTO_OP_REGISTER, ID_AUTO_OP_REGISTER, {}, &F::RegisterMembersToAutoOp, &F::OnUpdateMemberCommand},
    {ID_REGISTER_IGNORE, ID_REGISTER_IGNORE, {}, &F::OnRegisterIgnore, &F::OnUpdateMemberCommand},
    {ID_REGISTER_SELF, ID_REGISTER_GROUP5, {}, &F::OnRegisterToGroup, &F::OnUpdateRegisterToGroup},
    {ID_COPY_MEMBER_ADDRESS, ID_COPY_MEMBER_ADDRESS, {}, &F::OnCopyMemberAddress, &F::OnUpdateCopyMemberAddress},
    {ID_COPY_URL, ID_COPY_URL, {}, &F::OnCopyUrl, nullptr},
    {ID_OPEN_URL, ID_OPEN_URL, {}, &F::OnOpenUrl, nullptr},
    {ID_COPY_ADDRESS, ID_COPY_ADDRESS, {}, &F::OnCopyAddress, nullptr},
    {ID_OPEN_URL_NEW_WINDOW, ID_OPEN_URL_NEW_WINDOW, {}, &F::OnOpenUrlInNewWindow, nullptr},

    // The user's popup-menu items
    {ID_USER_POPUP_FIRST, ID_USER_POPUP_LAST, {}, &F::OnUserPopupCommand, &F::OnUpdateUserPopupCommand},
};

// Records what an enable handler decided without touching any item.
class TProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        enabled = on != FALSE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(LPCWSTR) override {}

    bool enabled = true;
};

} // namespace

const TMainCommand* GetMainCommands(size_t& count)
{
    count = sizeof kMainCommands / sizeof kMainCommands[0];
    return kMainCommands;
}

const TMainCommand* FindMainCommand(UINT id)
{
    for (const TMainCommand& row : kMainCommands)
        if (id >= row.first && id <= row.last)
            return &row;
    return nullptr;
}

BOOL CMainFrame::ProcessCommands(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_ACTIVATEAPP:
        result = OnActivateAppMessage(wParam, lParam);
        return TRUE;
    case WM_SYSCOMMAND:
        result = OnSysCommandMessage(wParam, lParam);
        return TRUE;
    case WM_INITMENUPOPUP:
        // The frame updates other popups before its map runs; the system menu is left to us.
        if (!HIWORD(lParam))
            return FALSE;
        UpdateMenuCommandUI((HMENU)wParam);
        return TRUE;
    case WM_QUERYENDSESSION:
        result = OnQueryEndSessionMessage(wParam, lParam);
        return TRUE;
    case WM_DROPFILES:
        result = OnDropFilesMessage(wParam, lParam);
        return TRUE;
    default:
        break;
    }
    if (message == WM_COMMAND && HIWORD(wParam) <= 1) {
        const TMainCommand* row = FindMainCommand(LOWORD(wParam));
        if (!row)
            return FALSE;
        // Accelerators, buttons and action names reach here too: a disabled command is dropped.
        if (!IsCommandEnabled(LOWORD(wParam)))
            return TRUE;
        runningCommand = LOWORD(wParam);
        (this->*row->run)();
        return TRUE;
    }
    if (message == WM_KV_HASCOMMAND)
        return FindMainCommand((UINT)wParam) != nullptr;
    if (message == WM_KV_UPDATECMDUI) {
        const TMainCommand* row = FindMainCommand((UINT)wParam);
        if (!row)
            return FALSE;
        CCmdUI* ui = (CCmdUI*)lParam;
        if (row->update)
            (this->*row->update)(ui);
        else
            ui->Enable(TRUE);
        return TRUE;
    }
    return FALSE;
}

bool CMainFrame::IsCommandEnabled(UINT id)
{
    const TMainCommand* row = FindMainCommand(id);
    if (!row || !row->update)
        return true;
    TProbeCmdUI probe;
    probe.m_nID = id;
    (this->*row->update)(&probe);
    return probe.enabled;
}

bool CMainFrame::LookupAction(const CString& name, int& commandId) { return LookupActionName(name, commandId); }

bool CMainFrame::ExecuteAction(const CString& name)
{
    int id = 0;
    if (!LookupActionName(name, id))
        return false;
    // Runs later from the message loop, like a chosen menu item, after the caller has returned.
    PostMessageW(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

int CMainFrame::FindActionCommand(const CString& name)
{
    int id = 0;
    return LookupActionName(name, id) ? id : 0;
}

// The system menu's own items have no rows and stay as the system made them.
void CMainFrame::UpdateMenuCommandUI(HMENU menu) { UpdateMenuPopup(this, menu, FALSE); }
