// What the input line, the log views, the member lists and the tree's mouse report to the world:
// Enter, completion, popup menus, double clicks and clicks on event lines.
#include "world/IRCWorld.h"

#include "controls/Edit.h"
#include "foundation/Decimal.h"
#include "foundation/StringUtils.h"
#include "logview/LogView.h"
#include "settings/Config.h"
#include "settings/PopupFile.h"
#include "world/MemberListView.h"
#include "world/WorldFrame.h"

namespace {

// A node's serial number written as hexadecimal text; 0 for none.
unsigned ReadHexWord(CString& text)
{
    CString word = CutFirstWord(text);
    unsigned value = 0;
    for (int i = 0; i < word.GetLength(); i++) {
        int digit = HexDigitValue(word[i]);
        if (digit < 0)
            return 0;
        value = value * 16 + digit;
    }
    return value;
}

int ClampLevel(int level) { return level < 0 ? 0 : level > 2 ? 2 : level; }

bool Down(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

} // namespace

bool TIRCWorld::SendInputLine(const CString& text, bool ctrl, bool shift, bool alt, bool returnKey)
{
    completer.Reset();
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (text.IsEmpty() || !unit)
        return false;
    bool notice = returnKey && ctrl && !shift && !alt;
    bool action = returnKey && ctrl && shift && !alt;
    return unit->SendInput(channel, text, notice, action, true);
}

bool TIRCWorld::CompleteNick(const CString& text, int selStart, int selEnd, bool forward, TNickCompletionEdit& edit)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!channel)
        return false;
    return completer.Complete(text, selStart, selEnd, channel->GetMembers().GetMembers(),
                              unit->GetSession().currentNick, forward, edit);
}

void TIRCWorld::OnEventLineClick(bool allChannelsLog, const CString& eventData)
{
    CString rest = eventData;
    if (allChannelsLog) {
        TIRCUnit* unit = FindUnitBySerial(ReadHexWord(rest));
        unsigned channel = ReadHexWord(rest);
        if (unit)
            Select(unit, unit->FindChannelBySerial(channel));
        return;
    }
    CString word = CutFirstWord(rest);
    if (word.CompareNoCase(L"INVITE") != 0)
        return;
    TIRCUnit* unit = FindUnitBySerial(ReadHexWord(rest));
    // The rest is the invited name as the server sent it; the unit refuses one that is no single
    // channel rather than join its first word.
    if (unit)
        unit->JoinChannelByName(rest, CString());
}

void TIRCWorld::BuildUserPopupMenu(HMENU menu, const std::vector<TPopupItem*>& items)
{
    HMENU levels[3] = {menu, menu, menu};
    HMENU current = menu;
    int previous = 0;
    for (size_t i = 0; i < items.size(); i++) {
        const TPopupItem& item = *items[i];
        CString text = item.name;
        text.Replace(L"\\t", L"\t");
        CString action = item.action;
        action.MakeLower();
        int level = ClampLevel(item.level);
        if (level < previous)
            current = levels[level];
        previous = level;
        int next = i + 1 < items.size() ? ClampLevel(items[i + 1]->level) : 0;
        if (next > level) {
            HMENU sub = ::CreatePopupMenu();
            ::AppendMenuW(current, MF_POPUP, (UINT_PTR)sub, text);
            current = sub;
            for (int l = level + 1; l <= next; l++)
                levels[l] = sub;
        } else if (item.name == L"-") {
            ::AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
        } else if (action == L"menu") {
            if (int command = host->FindActionCommand(item.actionInfo))
                ::AppendMenuW(current, MF_STRING, command, text);
        } else {
            ::AppendMenuW(current, MF_STRING, item.commandId, text);
        }
    }
}

bool TIRCWorld::OnEnter(TEdit* edit, UINT key)
{
    if (frame) {
        frame->RestoreTitle();
    }
    CString text = TEdit::GetText(edit->m_hWnd);
    if (text.IsEmpty()) {
        completer.Reset();
        if (preference->MinimizeOnSendEmptyLine && frame)
            ::ShowWindow(frame->GetFrameWindow(), SW_MINIMIZE);
        return true;
    }
    bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT), alt = Down(VK_MENU);
    if (SendInputLine(text, ctrl, shift, alt, key == VK_RETURN) && edit == inputLine)
        inputLine->PushHistoryAndClear();
    return true;
}

void TIRCWorld::CompleteNick(bool forward)
{
    DWORD start = 0, end = 0;
    inputLine->SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    TNickCompletionEdit edit;
    if (!CompleteNick(TEdit::GetText(inputLine->m_hWnd), (int)start, (int)end, forward, edit))
        return;
    inputLine->SendMessage(EM_SETSEL, edit.from, edit.to);
    inputLine->SendMessage(EM_REPLACESEL, FALSE, (LPARAM)edit.insert.GetString());
}

bool TIRCWorld::OnContextMenu(TEdit* edit, int x, int y)
{
    // The menu's edit commands act on the focused control: the edit right-clicked, as its own
    // menu would.
    if (::GetFocus() != edit->m_hWnd)
        edit->SetFocus();
    TrackResourceMenu(173, x, y);
    return true;
}

void TIRCWorld::OnEventLineClick(TLogView* view, const CString& eventData)
{
    OnEventLineClick(view == allLog, eventData);
}

void TIRCWorld::OnUrlDoubleClick(TLogView*, const CString& url) { OpenUrl(url, false); }

void TIRCWorld::OnContextPopup(TLogView*, int x, int y)
{
    NotePopupNode();
    HMENU bar = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(299));
    HMENU menu = bar ? ::GetSubMenu(bar, 0) : ::CreatePopupMenu();
    if (bar)
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    BuildUserPopupMenu(menu, config->popup.items);
    TrackMenu(menu, x, y);
    ::DestroyMenu(bar ? bar : menu);
}

void TIRCWorld::OnUrlContextPopup(TLogView*, int x, int y) { TrackResourceMenu(175, x, y); }

void TIRCWorld::OnAddressContextPopup(TLogView*, int x, int y) { TrackResourceMenu(176, x, y); }

void TIRCWorld::OnNickContextPopup(TLogView* view, int x, int y)
{
    NotePopupNode();
    HMENU bar = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(163));
    if (!bar)
        return;
    HMENU menu = ::GetSubMenu(bar, 0);
    ::InsertMenuW(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    ::InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, 0, view->GetContextMenuText());
    TrackMenu(menu, x, y);
    ::DestroyMenu(bar);
}

void TIRCWorld::OnContextMenu(TTreeView* tree, HTREEITEM item, int x, int y)
{
    if (!item) {
        TrackResourceMenu(130, x, y);
        return;
    }
    tree->SelectItem(item);
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    NotePopupNode();
    if (channel && channel->GetKind() != TIRCChannel::KindChannel) {
        TrackResourceMenu(309, x, y);
        return;
    }
    HMENU bar = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
    if (HMENU menu = bar ? ::GetSubMenu(bar, channel ? 2 : 1) : nullptr)
        TrackMenu(menu, x, y);
    if (bar)
        ::DestroyMenu(bar);
}

void TIRCWorld::OnDoubleClick(TTreeView* tree, HTREEITEM item, int, int)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!unit || !item)
        return;
    if (!channel) {
        bool open = unit->GetState() != TIRCUnit::StateDisconnected;
        if (!open && preference->ConnectOnDoubleClick) {
            unit->Connect();
            tree->Expand(item, TVE_EXPAND);
        } else if (open && preference->DisconnectOnDoubleClick) {
            unit->QuitDefault(false);
            tree->Expand(item, TVE_COLLAPSE);
        } else {
            tree->Expand(item, TVE_TOGGLE);
        }
        return;
    }
    // A talk's name is a nick: a JOIN or PART of it would only earn an error from the server.
    bool isChannel = channel->GetKind() == TIRCChannel::KindChannel;
    if (isChannel && !channel->IsJoined() && preference->JoinOnDoubleClick)
        unit->JoinChannel(channel);
    else if (isChannel && channel->IsJoined() && preference->PartOnDoubleClick)
        unit->PartChannelDefault(channel);
    else if (channel->logView)
        channel->logView->ScrollToEnd();
}

void TIRCWorld::OnMemberListDoubleClick(TListView* list)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (frame && channel && list == GetCurrentMemberList() && list != (TListView*)emptyMemberList &&
        list->GetNextItem(-1, LVNI_SELECTED) >= 0)
        frame->OnUserInfo();
}

void TIRCWorld::OnMemberListContextMenu(int x, int y)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!unit)
        return;
    NotePopupNode();
    TrackResourceMenu(163, x, y);
}

// Commands chosen from a popup come back to the frame later; the node it was opened for may be
// gone by then.
void TIRCWorld::NotePopupNode() { GetSelection(popupUnit, popupChannel); }

void TIRCWorld::GetPopupNode(TIRCUnit*& unit, TIRCChannel*& channel) const
{
    unit = HasUnit(popupUnit) ? popupUnit : nullptr;
    channel = unit && unit->HasChannel(popupChannel) ? popupChannel : nullptr;
}

void TIRCWorld::TrackMenu(HMENU menu, int x, int y)
{
    HWND owner = frame ? frame->GetFrameWindow() : nullptr;
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

void TIRCWorld::TrackResourceMenu(int resourceId, int x, int y)
{
    HMENU bar = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    if (!bar)
        return;
    TrackMenu(::GetSubMenu(bar, 0), x, y);
    ::DestroyMenu(bar);
}

void TIRCWorld::OnMemberListCustomDraw(TListView* list, NMHDR* header, LRESULT* result)
{
    auto* draw = (NMLVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    *result = 0;
    auto* member = (const TIRCMember*)draw->nmcd.lItemlParam;
    int view = list->GetViewIndex();
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !member || (view != 1 && view != 3))
        return;
    int item = (int)draw->nmcd.dwItemSpec;
    TRowColors colors = MemberRowColors(config->view.settings.list, list->GetItemState(item, LVIS_SELECTED) != 0,
                                        member->groupKind == 2, member->groupKind == 1 ? member->groupIndex : -1);
    DrawMemberRow(list, draw->nmcd.hdc, item, colors.text, colors.back, view == 3);
    draw->nmcd.uItemState &= ~CDIS_SELECTED;
    *result = CDRF_SKIPDEFAULT;
}
