// Enable rules of the server, channel, member-list and edit commands, read from the selected
// node every time, and the server commands that are plain calls of the engine.

#include "app/MainFrame.h"
#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCNames.h"
#include "irc/Member.h"
#include "irc/WhoDialog.h"
#include "res/resource.h"
#include "settings/Config.h"

#include <commctrl.h>

namespace {

bool IsLoggedIn(const TIRCUnit* unit) { return unit && unit->GetState() == TIRCUnit::StateLoggedIn; }

bool IsOpen(TIRCUnit* unit) { return unit && unit->GetConnection().IsActive(); }

bool IsReconnectPending(const TIRCUnit* unit)
{
    const TIRCUnitSession& session = unit->GetSession();
    return session.reconnectArmed && session.reconnectCountdown > 0;
}

bool IsJoinedChannel(const TIRCChannel* channel) { return channel && channel->GetKind() == 0 && channel->IsJoined(); }

bool HoldsOperator(const TIRCUnit* unit, const TIRCChannel* channel)
{
    const TIRCMember* self = channel->FindMember(unit->GetSession().currentNick);
    return self && self->o;
}

} // namespace

void CMainFrame::OnUpdateUnitSelected(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(unit != nullptr);
}

void CMainFrame::OnUpdateLoggedIn(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit));
}

void CMainFrame::OnUpdateConnect(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(unit && !IsOpen(unit));
}

void CMainFrame::OnUpdateDisconnect(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    bool cancel = unit && !IsOpen(unit) && IsReconnectPending(unit);
    ui->SetText(LoadResourceString(cancel ? IDS_MENU_CANCEL_RECONNECT : IDS_MENU_DISCONNECT));
    ui->Enable(IsOpen(unit) || cancel);
}

void CMainFrame::OnUpdateForceDisconnect(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(unit && (IsOpen(unit) || IsReconnectPending(unit)));
}

void CMainFrame::OnUpdateJoin(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && channel && !channel->IsJoined() && channel->GetKind() != 2);
}

void CMainFrame::OnUpdatePart(CCmdUI* ui) { OnUpdateJoinedChannelCommand(ui); }

void CMainFrame::OnUpdateToggleAway(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit));
    ui->SetCheck(IsLoggedIn(unit) && unit->GetSession().userMode.away ? 1 : 0);
}

void CMainFrame::OnUpdateJoinedChannelCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && IsJoinedChannel(channel));
}

void CMainFrame::OnUpdateModeChannelCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && IsJoinedChannel(channel) && IsModeChannelName(channel->GetIRCName()));
}

void CMainFrame::OnUpdateDeleteChannel(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(channel != nullptr);
}

void CMainFrame::OnUpdateChannelProperties(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(channel && channel->GetKind() == 0);
}

void CMainFrame::OnUpdatePartPrompt(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    int kind = channel ? channel->GetKind() : 0;
    ui->SetText(LoadResourceString(kind == 1   ? IDS_MENU_CLOSE_TALK
                                   : kind == 2 ? IDS_MENU_CLOSE_DCC_CHAT
                                               : IDS_MENU_PART_PROMPT));
    ui->Enable(channel && (kind != 0 || (IsLoggedIn(unit) && channel->IsJoined())));
}

void CMainFrame::OnUpdateSendAction(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && channel && channel->IsJoined());
}

void CMainFrame::OnUpdatePasteMyAddress(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(unit && unit->GetMyAddress().ToString() != L"255.255.255.255");
}

// The history windows come with the dialogs; until they exist there is nothing to show.
void CMainFrame::OnUpdateHistory(CCmdUI* ui) { ui->Enable(FALSE); }

// Target nicks in the main window: the nick of the focused log view's popup, or the rows
// selected in the focused member list, first column, in list order.
std::vector<CString> CMainFrame::GetMainTargetNicks()
{
    std::vector<CString> nicks;
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return nicks;
    HWND focus = ::GetFocus();
    TLogView* view = GetSelectedLogView();
    HWND list = GetMemberList();
    if (view && focus == view->m_hWnd) {
        if (!view->GetContextMenuText().IsEmpty())
            nicks.push_back(view->GetContextMenuText());
    } else if (list && focus == list) {
        nicks = GetSelectedListNicks(list);
    }
    return nicks;
}

bool CMainFrame::HasTargetNicks() { return !GetMainTargetNicks().empty(); }

// The channel's WHO window when it holds the focus, with its server and channel.
TWhoDialog* CMainFrame::FindFocusedWhoWindow(TIRCUnit*& unit, TIRCChannel*& channel)
{
    HWND focus = ::GetFocus();
    HWND top = focus ? ::GetAncestor(focus, GA_ROOT) : nullptr;
    if (!world || !top || top == m_hWnd)
        return nullptr;
    for (TIRCUnit* server : world->GetUnits()) {
        for (TIRCChannel* node : server->GetChannels()) {
            auto* who = dynamic_cast<TWhoDialog*>(node->GetWhoDialog());
            if (who && who->m_hWnd == top) {
                unit = server;
                channel = node;
                return who;
            }
        }
    }
    return nullptr;
}

// The nicks of the rows selected in a focused WHO window, with the window's node; else those
// of the main window with the tree's node. Taken rows of a WHO window are deselected.
std::vector<CString> CMainFrame::GetTargetNicks(TIRCUnit*& unit, TIRCChannel*& channel, bool take)
{
    unit = nullptr;
    channel = nullptr;
    TWhoDialog* who = FindFocusedWhoWindow(unit, channel);
    if (!who) {
        TSelectedNode node = GetSelectedNode();
        unit = node.unit;
        channel = node.channel;
        return GetMainTargetNicks();
    }
    std::vector<CString> nicks;
    TListView* list = who->GetListView();
    if (!list)
        return nicks;
    std::vector<int> rows;
    list->GetSelectedItemIndexes(rows);
    for (int row : rows)
        nicks.push_back(list->GetItemText(row, 1));
    if (take)
        list->DeselectAll();
    return nicks;
}

void CMainFrame::OnUpdateNickCommand(CCmdUI* ui)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    bool targets = !GetTargetNicks(unit, channel, false).empty();
    ui->Enable(IsLoggedIn(unit) && (!channel || channel->GetKind() != 2) && targets);
}

void CMainFrame::OnUpdateOperatorCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && channel && channel->IsJoined() && HoldsOperator(unit, channel) && HasTargetNicks());
}

void CMainFrame::OnUpdateMemberCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit) && channel && channel->IsJoined() && HasTargetNicks());
}

// Named after the user's groups; the access keys stay A to E whatever the names are.
void CMainFrame::OnUpdateRegisterToGroup(CCmdUI* ui)
{
    const TUserGroupList& groups = settings->preference.userGroups;
    int group = (int)(ui->m_nID - ID_REGISTER_SELF);
    CString text;
    if (group == 0) {
        text = FormatStringResourceWithText(IDS_MENU_REGISTER_SELF, groups.groups[0].name);
    } else {
        CString pattern = LoadResourceString(IDS_MENU_REGISTER_GROUP);
        pattern.Replace(L"(&A)", CString(L"(&") + (wchar_t)(L'A' + group - 1) + L")");
        text = pattern;
        text.Replace(L"%s", groups.groups[group].name);
    }
    ui->SetText(text);
    auto [unit, channel] = GetSelectedNode();
    HWND list = GetMemberList();
    ui->Enable(IsLoggedIn(unit) && channel && channel->IsJoined() && list &&
               ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0);
}

void CMainFrame::OnUpdateCopyMemberAddress(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    bool enable = IsLoggedIn(unit) && channel && channel->IsJoined() && channel->GetKind() != 2;
    if (enable) {
        std::vector<CString> nicks = GetMainTargetNicks();
        const TIRCMember* member = nicks.size() == 1 ? channel->FindMember(nicks[0]) : nullptr;
        enable = member && !member->host.IsEmpty();
    }
    ui->Enable(enable);
}

void CMainFrame::OnConnect()
{
    auto [unit, channel] = GetSelectedNode();
    if (unit && !IsOpen(unit))
        unit->Connect();
}

void CMainFrame::OnDisconnect()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    if (IsOpen(unit) && IsLoggedIn(unit))
        unit->QuitDefault(false);
    else if (IsOpen(unit))
        CloseAtOnce(unit);
    else if (IsReconnectPending(unit))
        unit->CancelReconnect();
}

void CMainFrame::OnForceDisconnect()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    if (IsOpen(unit))
        CloseAtOnce(unit);
    else if (IsReconnectPending(unit))
        unit->CancelReconnect();
}

// Dropped by the user without QUIT: the next connect starts again with the server's own address.
void CMainFrame::CloseAtOnce(TIRCUnit* unit)
{
    unit->GetSession().altServerIndex = -1;
    unit->CloseByUser();
    unit->GetSession().quitSent = false;
}

void CMainFrame::OnJoin()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && channel && !channel->IsJoined() && channel->GetKind() != 2)
        unit->JoinChannel(channel);
}

void CMainFrame::OnPart()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && IsJoinedChannel(channel))
        unit->PartChannelDefault(channel);
}

void CMainFrame::OnToggleAway()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    bool away = !unit->GetSession().userMode.away;
    CString message;
    if (away) {
        message = unit->GetSession().awayMessage;
        if (message.IsEmpty())
            message = unit->ExpandText(unit->GetSettings().AwayMessage);
    }
    unit->SetAway(away, message);
}

// The channel's WHO window: opened, or brought back when it is open.
void CMainFrame::OnMemberInfo()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && IsJoinedChannel(channel))
        channel->ShowWhoDialog();
}

// WHOIS of each target nick; the double clicks of the member lists and WHO windows come here too.
void CMainFrame::OnUserInfo()
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetTargetNicks(unit, channel, false);
    if (!IsLoggedIn(unit) || (channel && channel->GetKind() == 2))
        return;
    for (const CString& nick : GetTargetNicks(unit, channel, true))
        unit->SendWhois(nick);
}
