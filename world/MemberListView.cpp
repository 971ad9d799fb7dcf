#include "world/MemberListView.h"

#include "classlib/MsgMap.h"
#include "irc/Member.h"
#include "irc/MemberManager.h"

#include <algorithm>
#include <utility>

namespace {

// Started by the list's first change and ticking while changes come: the burst is over at the
// first tick that finds no change for kQuietMs. Timers come after the queue's other messages,
// so a burst read in many pieces ends first; laying out half a burst and painting it would cost
// as much again. Endless churn still shows every kMaxHoldMs.
const UINT_PTR kReleaseTimerId = 0x4B56;
const UINT kReleaseMs = 10;
const DWORD kQuietMs = 20;
const DWORD kMaxHoldMs = 250;
// Labels this close to the widest are measured by the control itself.
const int kWidthSlack = 8;

} // namespace

int GetMemberImage(const TIRCMember& member)
{
    return member.q ? 5 : member.a ? 4 : member.o ? 0 : member.h ? 2 : member.v ? 1 : 3;
}

TMemberListView::~TMemberListView() { ForgetFont(); }

int TMemberListView::FindItem(const TIRCMember* member)
{
    PlaceRows();
    return FindMember(member);
}

int TMemberListView::FindMember(const TIRCMember* member) const
{
    for (size_t i = 0; i < rows.size(); i++)
        if (rows[i].member == member)
            return (int)i;
    return -1;
}

// A row placed or removed moves the others by one at most.
int TMemberListView::FindItemNear(const TIRCMember* member, int row) const
{
    for (int i = row - 1; i <= row + 1; i++)
        if (MemberAt(i) == member)
            return i;
    return FindMember(member);
}

// A row shows its member's nick, which is the text the manager gives.
int TMemberListView::InsertItem(const TIRCMember* member, const CString&, int item)
{
    HoldRedraw();
    if (item < 0 || item > (int)rows.size())
        item = (int)rows.size();
    TKeptState kept;
    KeepState(kept);
    rows.insert(rows.begin() + item, TRow{member, false});
    SendMessage(LVM_SETITEMCOUNT, (WPARAM)rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    RestoreState(kept);
    return item;
}

// The manager sets the nick again whenever the member's record changed.
void TMemberListView::SetItemText(int, int, const CString&) { HoldRedraw(); }

void TMemberListView::DeleteItem(int item)
{
    if (item < 0 || item >= (int)rows.size())
        return;
    HoldRedraw();
    TKeptState kept;
    KeepState(kept);
    if (rows[item].selected)
        selectedRows--;
    rows.erase(rows.begin() + item);
    SendMessage(LVM_SETITEMCOUNT, (WPARAM)rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    RestoreState(kept);
}

void TMemberListView::DeleteAllItems()
{
    waitingFor = nullptr;
    HoldRedraw();
    rows.clear();
    selectedRows = 0;
    focusedRow = -1;
    TListView::DeleteAllItems();
}

void TMemberListView::MoveItem(int from, int to)
{
    if (from < 0 || from >= (int)rows.size())
        return;
    HoldRedraw();
    TKeptState kept;
    KeepState(kept);
    TRow row = rows[from];
    rows.erase(rows.begin() + from);
    to = std::min(std::max(to, 0), (int)rows.size());
    rows.insert(rows.begin() + to, row);
    RestoreState(kept);
}

// A mode change shows in the item's image; many of them in a row are painted once.
void TMemberListView::RedrawItem(int) { HoldRedraw(); }

void TMemberListView::SortItems(TMemberCompare compare, int param)
{
    HoldRedraw();
    sortCount++;
    TKeptState kept;
    KeepState(kept);
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const TRow& a, const TRow& b) { return compare(a.member, b.member, param) < 0; });
    RestoreState(kept);
}

// A row keeps its selection when it moves; the focus and the selection mark follow their members.
void TMemberListView::SetRows(const std::vector<TIRCMember*>& members)
{
    waitingFor = nullptr;
    HoldRedraw();
    placeCount++;
    TKeptState kept;
    KeepState(kept);
    std::vector<const TIRCMember*> picked;
    for (int i : kept.selected)
        picked.push_back(rows[i].member);
    std::sort(picked.begin(), picked.end());
    rows.resize(members.size());
    selectedRows = 0;
    for (size_t i = 0; i < members.size(); i++) {
        bool selected = !picked.empty() && std::binary_search(picked.begin(), picked.end(), members[i]);
        rows[i] = TRow{members[i], selected};
        selectedRows += selected;
    }
    SendMessage(LVM_SETITEMCOUNT, (WPARAM)rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    RestoreState(kept);
}

bool TMemberListView::WaitForRows(TIRCMemberManager* members)
{
    if (!m_hWnd)
        return false;
    HoldRedraw();
    waitingFor = members;
    return true;
}

void TMemberListView::PlaceRows()
{
    if (TIRCMemberManager* members = std::exchange(waitingFor, nullptr))
        members->PlaceWaitingRows();
}

// The control keeps selection and focus by index; rows carry their own selection, so after rows
// move the control is told the difference.
void TMemberListView::KeepState(TKeptState& kept) const
{
    if (!m_hWnd)
        return;
    if (selectedRows > 0)
        for (int i = 0; i < (int)rows.size(); i++)
            if (rows[i].selected)
                kept.selected.push_back(i);
    // Asking the control for its focused row would walk every row.
    if (focusedRow >= 0 && (GetItemState(focusedRow, LVIS_FOCUSED) & LVIS_FOCUSED))
        kept.focusedRow = focusedRow;
    kept.focused = MemberAt(kept.focusedRow);
    kept.markRow = (int)SendMessage(LVM_GETSELECTIONMARK);
    kept.mark = MemberAt(kept.markRow);
}

void TMemberListView::RestoreState(const TKeptState& kept)
{
    if (!m_hWnd)
        return;
    restoringState = true;
    std::vector<int> now;
    if (selectedRows > 0)
        for (int i = 0; i < (int)rows.size(); i++)
            if (rows[i].selected)
                now.push_back(i);
    for (int i : kept.selected)
        if (i < (int)rows.size() && !std::binary_search(now.begin(), now.end(), i))
            SetItemState(i, 0, LVIS_SELECTED);
    for (int i : now)
        if (!std::binary_search(kept.selected.begin(), kept.selected.end(), i))
            SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    if (kept.focused) {
        int row = FindItemNear(kept.focused, kept.focusedRow);
        if (row >= 0 && row != kept.focusedRow)
            SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        else if (row < 0 && kept.focusedRow < (int)rows.size())
            SetItemState(kept.focusedRow, 0, LVIS_FOCUSED);
        focusedRow = row;
    }
    if (kept.mark) {
        int row = FindItemNear(kept.mark, kept.markRow);
        if (row != kept.markRow)
            SendMessage(LVM_SETSELECTIONMARK, 0, row);
    }
    restoringState = false;
}

// Selection changed by the user or by a caller of the control.
void TMemberListView::NoteStateChange(const NMHDR* header)
{
    auto setRow = [&](int i, bool selected) {
        if (i < 0 || i >= (int)rows.size() || rows[i].selected == selected)
            return;
        rows[i].selected = selected;
        selectedRows += selected ? 1 : -1;
    };
    if (header->code == LVN_ODSTATECHANGED) {
        auto* change = (const NMLVODSTATECHANGE*)header;
        for (int i = change->iFrom; i <= change->iTo; i++)
            setRow(i, (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) != 0);
        return;
    }
    auto* change = (const NMLISTVIEW*)header;
    if (!(change->uChanged & LVIF_STATE))
        return;
    UINT changed = change->uNewState ^ change->uOldState;
    if (changed & LVIS_FOCUSED) {
        if (change->uNewState & LVIS_FOCUSED)
            focusedRow = change->iItem;
        else if (change->iItem < 0 || change->iItem == focusedRow)
            focusedRow = -1;
    }
    if (!(changed & LVIS_SELECTED))
        return;
    bool selected = (change->uNewState & LVIS_SELECTED) != 0;
    if (change->iItem >= 0) {
        setRow(change->iItem, selected);
        return;
    }
    for (int i = 0; i < (int)rows.size(); i++)
        setRow(i, selected);
}

// While the control measures every label for the width of its cells, only the widest few are
// worth its measuring; the others answer no text.
void TMemberListView::AnswerDisplayInfo(NMLVDISPINFOW* info)
{
    LVITEMW& item = info->item;
    if (item.iItem < 0 || item.iItem >= (int)rows.size())
        return;
    const TRow& row = rows[item.iItem];
    if (item.mask & LVIF_TEXT) {
        if (measuring && item.iSubItem == 0 && LabelWidth(row.member->nick) < widestLabel - kWidthSlack)
            item.pszText = nullptr;
        else if (item.pszText && item.cchTextMax > 0)
            lstrcpynW(item.pszText, item.iSubItem == 0 ? row.member->nick.GetString() : L"", item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = GetMemberImage(*row.member);
}

// The sum of the characters' advances: close to what the control measures, and cheap enough
// for every row of a big channel.
int TMemberListView::LabelWidth(const CString& text)
{
    if (!m_hWnd || text.IsEmpty())
        return 0;
    if (!measureDc) {
        measureDc = ::CreateCompatibleDC(nullptr);
        measureOldFont = ::SelectObject(measureDc, (HFONT)SendMessage(WM_GETFONT));
        charWidths.assign(0x10000, -1);
    }
    int width = 0;
    for (int i = 0; i < text.GetLength(); i++) {
        wchar_t c = text[i];
        if (charWidths[c] < 0) {
            INT advance = 0;
            ::GetCharWidth32W(measureDc, c, c, &advance);
            charWidths[c] = (short)advance;
        }
        width += charWidths[c];
    }
    return width;
}

void TMemberListView::ForgetFont()
{
    if (!measureDc)
        return;
    ::SelectObject(measureDc, measureOldFont);
    ::DeleteDC(measureDc);
    measureDc = nullptr;
}

void TMemberListView::HoldRedraw()
{
    lastChangeAt = ::GetTickCount();
    if (redrawHeld || !m_hWnd)
        return;
    redrawHeld = true;
    heldAt = lastChangeAt;
    SendMessage(WM_SETREDRAW, FALSE);
    ::SetTimer(m_hWnd, kReleaseTimerId, kReleaseMs, nullptr);
}

void TMemberListView::OnReleaseTimer()
{
    DWORD now = ::GetTickCount();
    if (redrawHeld && now - lastChangeAt < kQuietMs && now - heldAt < kMaxHoldMs)
        return;
    ReleaseRedraw();
}

// Laid out while painting is still off, the rows invalidate nothing one by one; turning it on
// invalidates the list once.
void TMemberListView::ReleaseRedraw()
{
    PlaceRows();
    ::KillTimer(m_hWnd, kReleaseTimerId);
    if (!redrawHeld)
        return;
    redrawHeld = false;
    layoutCount++;
    if ((GetStyle() & LVS_TYPEMASK) == LVS_SMALLICON || (GetStyle() & LVS_TYPEMASK) == LVS_ICON)
        SendMessage(LVM_ARRANGE, LVA_DEFAULT);
    SendMessage(WM_SETREDRAW, TRUE);
}

LRESULT TMemberListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Whatever reaches the control may show or read rows: they are placed first. The release
    // timer's ticks while the burst lasts are the exception.
    if (waitingFor && !(message == WM_TIMER && wParam == kReleaseTimerId))
        PlaceRows();
    switch (message) {
    case WM_TIMER:
        if (wParam != kReleaseTimerId)
            break;
        OnReleaseTimer();
        return 0;
    case WM_PAINT:
        // The control's first paint with rows measures every label for the width of its
        // cells, once (it keeps that width while rows come and go, as it does for its own rows).
        if (!paintedRows && !redrawHeld && !rows.empty()) {
            UINT view = GetStyle() & LVS_TYPEMASK;
            measuring = view == LVS_SMALLICON || view == LVS_LIST;
            widestLabel = 0;
            for (const TRow& row : rows)
                widestLabel = std::max(widestLabel, LabelWidth(row.member->nick));
            paintedRows = true;
        }
        {
            LRESULT result = TDoubleBufferedListView::WindowProc(message, wParam, lParam);
            measuring = false;
            return result;
        }
    case WM_SETFONT:
        ForgetFont();
        break;
    case LVM_GETITEMW:
        // The control keeps no item data; callers asking for it get the row's member.
        if (LRESULT result = TDoubleBufferedListView::WindowProc(message, wParam, lParam)) {
            auto* item = (LVITEMW*)lParam;
            if (item->mask & LVIF_PARAM)
                item->lParam = (LPARAM)MemberAt(item->iItem);
            return result;
        }
        return FALSE;
    }
    return TDoubleBufferedListView::WindowProc(message, wParam, lParam);
}

BOOL TMemberListView::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == KV_REFLECTED(WM_NOTIFY)) {
        auto* header = (NMHDR*)lParam;
        switch (header->code) {
        case LVN_GETDISPINFOW:
            AnswerDisplayInfo((NMLVDISPINFOW*)lParam);
            result = 0;
            return TRUE;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            if (!restoringState)
                NoteStateChange(header);
            break;
        case NM_CUSTOMDRAW: {
            auto* draw = (NMCUSTOMDRAW*)lParam;
            measuring = false; // drawing starts after the control's measuring
            if (draw->dwDrawStage & CDDS_ITEM)
                draw->lItemlParam = (LPARAM)MemberAt((int)draw->dwItemSpec);
            break;
        }
        }
    }
    return TDoubleBufferedListView::ProcessWindowMessage(message, wParam, lParam, result);
}

namespace {

RECT ItemRect(TListView* list, int item, int code)
{
    RECT rect = {};
    rect.left = code;
    list->SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)&rect);
    return rect;
}

void DrawCell(HDC dc, RECT rect, const CString& text, COLORREF back, UINT format)
{
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
    if (format & DT_END_ELLIPSIS)
        rect.left += 2, rect.right -= 2;
    ::DrawTextW(dc, text, -1, &rect, format | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

} // namespace

void DrawMemberRow(TListView* list, HDC dc, int item, COLORREF text, COLORREF back, bool report)
{
    COLORREF oldText = ::SetTextColor(dc, text);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, (HFONT)list->SendMessage(WM_GETFONT));
    RECT label = ItemRect(list, item, LVIR_LABEL);
    RECT icon = ItemRect(list, item, LVIR_ICON);
    RECT focus = label;
    DrawCell(dc, label, list->GetItemText(item, 0), back, report ? DT_END_ELLIPSIS : DT_CENTER);
    if (HIMAGELIST images = (HIMAGELIST)list->SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))
        ImageList_Draw(images, GetMemberImage(*(const TIRCMember*)list->GetItemData(item)), dc, icon.left, icon.top,
                       ILD_TRANSPARENT);
    if (report) {
        HWND headerWindow = list->GetHeader();
        int columns = headerWindow ? (int)::SendMessageW(headerWindow, HDM_GETITEMCOUNT, 0, 0) : 1;
        for (int column = 1; column < columns; column++) {
            RECT cell = {};
            cell.top = column;
            cell.left = LVIR_BOUNDS;
            list->SendMessage(LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)&cell);
            DrawCell(dc, cell, list->GetItemText(item, column), back, DT_END_ELLIPSIS);
            ::UnionRect(&focus, &focus, &cell);
        }
        ::UnionRect(&focus, &focus, &icon);
    }
    if (list->GetItemState(item, LVIS_FOCUSED) & LVIS_FOCUSED)
        ::DrawFocusRect(dc, &focus);
    ::SelectObject(dc, oldFont);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
}
