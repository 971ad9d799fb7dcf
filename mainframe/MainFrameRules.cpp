// Enable rules of the server, channel, member-list and edit commands, read from the selected
// node every time, and the server commands that are plain calls of the engine.

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/Member.h"
#include "ircproto/IRCNames.h"
#include "mainframe/MainFrame.h"
#include "mainframe/NodeStates.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <commctrl.h>

namespace {

bool IsOpen(TIRCUnit* unit) { return unit && unit->GetConnection().IsActive(); }

bool IsReconnectPending(const TIRCUnit* unit)
{
    const TIRCUnitSession& session = unit->GetSession();
    return session.reconnectArmed && session.reconnectCountdown > 0;
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
    ui->Enable(IsLoggedIn(unit) && channel && !channel->IsJoined() && channel->GetKind() != TIRCChannel::KindDccChat);
}

void CMainFrame::OnUpdatePart(CCmdUI* ui) { OnUpdateJoinedChannelCommand(ui); }

void CMainFrame::OnUpdateToggleAway(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    ui->Enable(IsLoggedIn(unit));
    // Still ticked while the link is down: the unit goes back away when it returns.
    ui->SetCheck(unit && unit->GetSession().userMode.away ? 1 : 0);
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
    ui->Enable(channel && channel->GetKind() == TIRCChannel::KindChannel);
}

void CMainFrame::OnUpdatePartPrompt(CCmdUI* ui)
{
    auto [unit, channel] = GetSelectedNode();
    int kind = channel ? channel->GetKind() : TIRCChannel::KindChannel;
    ui->SetText(LoadResourceString(kind == TIRCChannel::KindTalk      ? IDS_MENU_CLOSE_TALK
                                   : kind == TIRCChannel::KindDccChat ? IDS_MENU_CLOSE_DCC_CHAT
                                                                      : IDS_MENU_PART_PROMPT));
    ui->Enable(channel && (kind != TIRCChannel::KindChannel || (IsLoggedIn(unit) && channel->IsJoined())));
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
    auto [unit, channel] = GetActiveNode();
    ui->Enable(IsLoggedIn(unit) && channel && channel->IsJoined() && HasMemberSelection());
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
        unit->CloseAtOnce();
    else if (IsReconnectPending(unit))
        unit->CancelReconnect();
}

void CMainFrame::OnForceDisconnect()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    if (IsOpen(unit))
        unit->CloseAtOnce();
    else if (IsReconnectPending(unit))
        unit->CancelReconnect();
}

void CMainFrame::OnJoin()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && channel && !channel->IsJoined() && channel->GetKind() != TIRCChannel::KindDccChat)
        unit->JoinChannel(channel);
}

void CMainFrame::OnPart()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && IsJoinedChannel(channel))
        unit->PartChannelDefault(channel);
}

void CMainFrame::OnProtocolLog()
{
    auto [unit, channel] = GetSelectedNode();
    if (unit && world)
        world->ShowProtocolLog(unit);
}

void CMainFrame::OnToggleAway()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    bool away = !unit->GetSession().userMode.away;
    unit->SetAway(away, away ? CurrentAwayMessage(unit) : CString());
}

void CMainFrame::OnChangeNick()
{
    TIRCUnit* unit = GetSelectedNode().unit;
    if (!world || !IsLoggedIn(unit))
        return;
    const TNickRequest opened = unit->MakeNickRequest(unit->GetNickLengthLimit());
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    TIRCChannel* none = nullptr;
    TNickRequest answer = opened;
    if (world->RunNickDialog(answer) && FindPromptTarget(asked, unit, none))
        unit->ApplyChosenNick(opened, answer);
}

// A list window already open is only brought up; a new one asks the server for the list.
void CMainFrame::ShowMaskList(int list)
{
    static const wchar_t* const kRequests[TIRCChannel::MaskListCount] = {L"+b", L"+e", L"+I", L"+R"};
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !IsJoinedChannel(channel) || !IsModeChannelName(channel->GetIRCName()))
        return;
    const bool open = channel->GetMaskList(list) != nullptr;
    channel->ShowMaskList(list);
    if (!open)
        unit->SendChannelMode(channel, kRequests[list]);
}

void CMainFrame::OnBanList() { ShowMaskList(TIRCChannel::BanList); }
void CMainFrame::OnBanExceptionList() { ShowMaskList(TIRCChannel::BanExceptionList); }
void CMainFrame::OnInviteList() { ShowMaskList(TIRCChannel::InviteList); }
void CMainFrame::OnReopList() { ShowMaskList(TIRCChannel::ReopList); }

// The channel's WHO window: opened, or brought back when it is open.
void CMainFrame::OnMemberInfo()
{
    auto [unit, channel] = GetSelectedNode();
    if (IsLoggedIn(unit) && IsJoinedChannel(channel))
        channel->ShowWhoDialog();
}
