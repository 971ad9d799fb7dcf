// The member-list commands: who they act on (the rows selected in the focused member list, the
// nick of a log view's popup, or the rows of a focused WHO window), their enable rules and what
// each sends through the unit.

#include "classlib/CmdUI.h"
#include "irc/IRCChannel.h"
#include "irc/Member.h"
#include "mainframe/MainFrame.h"
#include "mainframe/MemberCommands.h"
#include "mainframe/NodeStates.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <commctrl.h>

namespace {

bool IsDccChat(const TIRCChannel* channel) { return channel && channel->GetKind() == TIRCChannel::KindDccChat; }

CString GetListText(HWND list, int item, int column)
{
    wchar_t text[512] = L"";
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)item, (LPARAM)&cell);
    return text;
}

std::vector<CString> GetSelectedTexts(HWND list, int column)
{
    std::vector<CString> texts;
    int item = -1;
    while ((item = (int)::SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)item, LVNI_SELECTED)) >= 0)
        texts.push_back(GetListText(list, item, column));
    return texts;
}

void DeselectRows(HWND list)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
}

// The member record a talk or a DCC chat starts from: the channel's, so the address is known.
TIRCMember PeerRecord(const TIRCChannel* channel, const CString& nick)
{
    const TIRCMember* member = channel ? channel->FindMember(nick) : nullptr;
    return member ? *member : TIRCMember(nick, CString(), CString());
}

} // namespace

CString MakeBanMask(const CString& nick, const TIRCMember& member)
{
    return nick + L"!" + (member.user.IsEmpty() ? CString(L"*") : member.user) + L"@" +
           (member.host.IsEmpty() ? CString(L"*") : member.host);
}

void SplitModeTargets(const TIRCChannel* channel, const std::vector<CString>& nicks, wchar_t letter, bool give,
                      std::vector<CString>& changed)
{
    for (const CString& nick : nicks) {
        const TIRCMember* member = channel->FindMember(nick);
        if (!member)
            continue;
        bool has = letter == L'o' ? member->o : member->v;
        if (has != give)
            changed.push_back(nick);
    }
}

CMainFrame::TSelectedNode CMainFrame::GetActiveNode()
{
    TSelectedNode node;
    if (world)
        world->GetActiveSelection(node.unit, node.channel);
    return node;
}

// Where the main window's targets come from: the focused log view (its popup's nick) or the
// focused member list (its selected rows, first column); neither when no unit is selected.
void CMainFrame::FindMainTargetSource(TLogView*& view, HWND& list)
{
    view = nullptr;
    list = nullptr;
    if (!GetSelectedNode().unit)
        return;
    HWND focus = ::GetFocus();
    TLogView* log = GetSelectedLogView();
    HWND members = GetMemberList();
    if (log && focus == log->m_hWnd)
        view = log;
    else if (members && focus == members)
        list = members;
}

std::vector<CString> CMainFrame::CollectMainTargets(bool deselect)
{
    std::vector<CString> nicks;
    TLogView* view;
    HWND list;
    FindMainTargetSource(view, list);
    if (view && !view->GetContextMenuText().IsEmpty()) {
        nicks.push_back(view->GetContextMenuText());
    } else if (list) {
        nicks = GetSelectedTexts(list, 0);
        if (deselect)
            DeselectRows(list);
    }
    return nicks;
}

// Counted, not read: a menu's enable rules ask often, and thousands of rows may be selected.
int CMainFrame::CountTargets(bool mainOnly)
{
    bool inMain = true;
    HWND list = mainOnly ? nullptr : FindFocusedWhoList(inMain);
    if (inMain) {
        TLogView* view;
        FindMainTargetSource(view, list);
        if (view)
            return view->GetContextMenuText().IsEmpty() ? 0 : 1;
    }
    return list ? (int)::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) : 0;
}

// A focused WHO window gives its selected rows (the nick is its second column); any other
// window outside the main one gives none.
std::vector<CString> CMainFrame::CollectTargets(bool deselect)
{
    bool inMain = false;
    HWND list = FindFocusedWhoList(inMain);
    if (inMain)
        return CollectMainTargets(deselect);
    if (!list)
        return {};
    std::vector<CString> nicks = GetSelectedTexts(list, 1);
    if (deselect)
        DeselectRows(list);
    return nicks;
}

// The list of the WHO window that holds the focus; null for any other window. inMain tells that
// the focus is in the main window, or nowhere.
HWND CMainFrame::FindFocusedWhoList(bool& inMain)
{
    HWND focus = ::GetFocus();
    HWND top = focus ? ::GetAncestor(focus, GA_ROOT) : nullptr;
    inMain = !world || !top || top == m_hWnd;
    if (inMain)
        return nullptr;
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    world->FindChannelByWindow(top, &unit, &channel);
    return world->GetWhoListWindow(channel);
}

// Rows selected in the member list of the focused top-level window: the main window's own list,
// or a focused WHO window's.
bool CMainFrame::HasMemberSelection()
{
    bool inMain = false;
    HWND list = FindFocusedWhoList(inMain);
    if (inMain)
        list = GetMemberList();
    return list && ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
}

bool CMainFrame::HasTargetNicks() { return CountTargets(false) > 0; }
std::vector<CString> CMainFrame::GetTargetNicks() { return CollectTargets(true); }
std::vector<CString> CMainFrame::GetMainTargetNicks() { return CollectMainTargets(false); }

bool CMainFrame::CanRunNickCommand(TIRCUnit* unit, TIRCChannel* channel)
{
    return IsLoggedIn(unit) && !IsDccChat(channel) && HasTargetNicks();
}

bool CMainFrame::CanRunOperatorCommand(TIRCUnit* unit, TIRCChannel* channel)
{
    return IsLoggedIn(unit) && channel && channel->IsJoined() && channel->op && HasTargetNicks();
}

bool CMainFrame::CanRunMemberCommand(TIRCUnit* unit, TIRCChannel* channel)
{
    return IsLoggedIn(unit) && channel && channel->IsJoined() && HasTargetNicks();
}

// The one main-window target as a member with a known host, or null.
const TIRCMember* CMainFrame::FindAddressTarget(TIRCUnit* unit, TIRCChannel* channel)
{
    if (!IsLoggedIn(unit) || !channel || !channel->IsJoined() || IsDccChat(channel))
        return nullptr;
    if (CountTargets(true) != 1)
        return nullptr;
    std::vector<CString> nicks = GetMainTargetNicks();
    const TIRCMember* member = nicks.size() == 1 ? channel->FindMember(nicks[0]) : nullptr;
    return member && !member->host.IsEmpty() ? member : nullptr;
}

void CMainFrame::OnUpdateNickCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetActiveNode();
    ui->Enable(CanRunNickCommand(unit, channel));
}

void CMainFrame::OnUpdateOperatorCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetActiveNode();
    ui->Enable(CanRunOperatorCommand(unit, channel));
}

void CMainFrame::OnUpdateMemberCommand(CCmdUI* ui)
{
    auto [unit, channel] = GetActiveNode();
    ui->Enable(CanRunMemberCommand(unit, channel));
}

void CMainFrame::OnUpdateCopyMemberAddress(CCmdUI* ui)
{
    auto [unit, channel] = GetActiveNode();
    ui->Enable(FindAddressTarget(unit, channel) != nullptr);
}

// WHOIS of each target nick; the world's member-list double click and the WHO window come here too.
void CMainFrame::OnUserInfo()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunNickCommand(unit, channel))
        return;
    for (const CString& nick : GetTargetNicks())
        unit->SendWhois(nick);
}

// A talk that is already open is shown rather than opened twice.
TIRCChannel* CMainFrame::OpenTalkWith(TIRCUnit* unit, const TIRCMember& peer)
{
    if (TIRCChannel* talk = unit->OpenTalk(peer))
        return talk;
    TIRCChannel* open = unit->FindChannel(peer.nick);
    return open && open->GetKind() == TIRCChannel::KindTalk ? open : nullptr;
}

void CMainFrame::OnTalk()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunNickCommand(unit, channel))
        return;
    TIRCChannel* last = nullptr;
    for (const CString& nick : GetTargetNicks())
        if (TIRCChannel* talk = OpenTalkWith(unit, PeerRecord(channel, nick)))
            last = talk;
    if (last)
        world->Select(unit, last);
}

// Each nick gets a DCC chat talk of its own that listens and offers the chat; the last is shown.
void CMainFrame::OnDccChat()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunMemberCommand(unit, channel))
        return;
    TIRCChannel* last = nullptr;
    for (const CString& nick : GetTargetNicks()) {
        TIRCChannel* talk = unit->AddDccChatChannel(PeerRecord(channel, nick));
        if (!talk)
            continue;
        unit->StartDccChatServer(talk);
        last = talk;
    }
    if (last)
        world->Select(unit, last);
}

void CMainFrame::SendCtcpToTargets(const CString& word)
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunNickCommand(unit, channel))
        return;
    for (const CString& nick : GetTargetNicks())
        unit->SendCtcpQuery(nick, word);
}

void CMainFrame::OnCtcpPing() { SendCtcpToTargets(L"PING"); }
void CMainFrame::OnCtcpTime() { SendCtcpToTargets(L"TIME"); }
void CMainFrame::OnCtcpVersion() { SendCtcpToTargets(L"VERSION"); }
void CMainFrame::OnCtcpUserinfo() { SendCtcpToTargets(L"USERINFO"); }
void CMainFrame::OnCtcpClientinfo() { SendCtcpToTargets(L"CLIENTINFO"); }

// Members already in the wanted state and nicks that are not members are left out.
void CMainFrame::ChangeMemberModes(wchar_t letter, bool give)
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunOperatorCommand(unit, channel))
        return;
    std::vector<CString> changed;
    SplitModeTargets(channel, GetTargetNicks(), letter, give, changed);
    if (changed.empty())
        return;
    std::vector<CString> none;
    unit->SendModeChanges(channel, letter, give ? none : changed, give ? changed : none);
}

void CMainFrame::OnGiveOp() { ChangeMemberModes(L'o', true); }
void CMainFrame::OnTakeOp() { ChangeMemberModes(L'o', false); }
void CMainFrame::OnGiveVoice() { ChangeMemberModes(L'v', true); }
void CMainFrame::OnTakeVoice() { ChangeMemberModes(L'v', false); }

// With the prompt on, the user sees and may change the comment first; the channel may have
// changed while the prompt was open.
void CMainFrame::OnKick()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunOperatorCommand(unit, channel))
        return;
    const TPreference& preference = settings->preference;
    CString comment = unit->ExpandText(preference.KickMessage);
    std::vector<CString> nicks = GetTargetNicks();
    if (preference.PromptOnKick) {
        const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
        if (!AskKickComment(unit, channel, comment) || !FindPromptTarget(asked, unit, channel) || !channel->IsJoined())
            return;
    }
    std::vector<CString> members;
    for (const CString& nick : nicks)
        if (channel->FindMember(nick))
            members.push_back(nick);
    if (!members.empty())
        unit->KickMembers(channel, members, comment);
}

// Nothing is sent: the masks wait in the ban list window for the user to apply them. Without a
// member to ban the window still opens, empty until the user asks for the list.
void CMainFrame::OnAddBan()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunOperatorCommand(unit, channel))
        return;
    std::vector<CString> masks;
    for (const CString& nick : GetTargetNicks())
        if (const TIRCMember* member = channel->FindMember(nick))
            masks.push_back(MakeBanMask(nick, *member));
    IMaskList* list = channel->GetMaskList(TIRCChannel::BanList);
    if (!list) {
        channel->ShowMaskList(TIRCChannel::BanList);
        list = channel->GetMaskList(TIRCChannel::BanList);
    }
    if (!list || masks.empty())
        return;
    if (masks.size() == 1)
        list->SetMaskText(masks[0]);
    else
        for (const CString& mask : masks)
            list->AddShownMask(mask);
}

void CMainFrame::OnCopyMemberAddress()
{
    auto [unit, channel] = GetActiveNode();
    const TIRCMember* member = FindAddressTarget(unit, channel);
    if (!member)
        return;
    CString host = member->host;
    GetTargetNicks();
    CopyTextToClipboard(host);
}
