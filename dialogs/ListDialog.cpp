#include "dialogs/ListDialog.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "controls/ChildId.h"
#include "foundation/ResourceString.h"
#include "res/strings/lists.h"
#include "settings/WindowGeometry.h"

#include <algorithm>
#include <windowsx.h>

namespace {

const UINT kHeadings[TListDialog::kColumnCount] = {IDS_CHANNEL_LIST_NAME, IDS_CHANNEL_LIST_USERS,
                                                   IDS_CHANNEL_LIST_TOPIC};
const int kDefaultWidths[TListDialog::kColumnCount] = {200, 40, 220};

int CompareAsciiNoCase(const CString& a, const CString& b)
{
    const wchar_t* p = a.GetString();
    const wchar_t* q = b.GetString();
    for (;; p++, q++) {
        wchar_t c = *p >= L'A' && *p <= L'Z' ? *p + 32 : *p;
        wchar_t d = *q >= L'A' && *q <= L'Z' ? *q + 32 : *q;
        if (c != d)
            return c < d ? -1 : 1;
        if (!c)
            return 0;
    }
}

} // namespace

int CompareChannelRecords(const TListDialog::TRecord& a, const TListDialog::TRecord& b, int column)
{
    int result = 0;
    // Compared, not subtracted: counts a server sends can be anything an int holds.
    if (column == 1 && a.users != b.users)
        result = a.users > b.users ? -1 : 1;
    else if (column == 2)
        result = CompareAsciiNoCase(a.topic, b.topic);
    return result ? result : CompareAsciiNoCase(a.name, b.name);
}

int FindChannelRow(int count, int start, const CString& text, bool partial, bool wrap,
                   const std::function<const CString&(int row)>& nameOfRow)
{
    if (count <= 0)
        return -1;
    if (start < 0 || start >= count)
        start = 0;
    for (int i = 0; i < count; i++) {
        int row = start + i;
        if (row >= count) {
            if (!wrap)
                return -1;
            row -= count;
        }
        const CString& name = nameOfRow(row);
        if (CompareAsciiNoCase(partial ? name.Left(text.GetLength()) : name, text) == 0)
            return row;
    }
    return -1;
}

TListDialog::TListDialog() : TResizableDialog(IDD_LIST_DIALOG, {480, 160}) {}

TListDialog::~TListDialog()
{
    StoreGeometry();
    if (list) {
        list->DestroyWindow();
        delete list;
    }
    DestroyWindow();
}

void TListDialog::StoreGeometry()
{
    if (!geometry || !m_hWnd)
        return;
    if (list) {
        geometry->listHeader.resize(std::max<size_t>(geometry->listHeader.size(), kColumnCount));
        for (int i = 0; i < kColumnCount; i++)
            geometry->listHeader[i] = (int)list->SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)i);
    }
    GetStoredPlace(geometry->listRect);
}

bool TListDialog::CreateAndShow()
{
    if (!Create(IDD_LIST_DIALOG, nullptr))
        return false;
    ShowAtStoredPlace(geometry ? geometry->listRect : RECT{});
    return true;
}

BOOL TListDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    SetWindowText(title);
    CreateList();
    initialised = true;
    // The warning has a row of its own above the buttons, so the buttons never cover it however
    // narrow the window is made.
    layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, IDC_LIST_WARNING));
    for (UINT id : {IDC_LIST_JOIN, IDCANCEL, IDC_LIST_UPDATE})
        layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, id));
    layout.AddControl(LAYOUT_ANCHOR_ALL, list->m_hWnd);
    UpdateJoinButton();
    ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
    return FALSE; // the focus is set
}

void TListDialog::CreateList()
{
    RECT rect, warning;
    GetClientRect(&rect);
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_LIST_WARNING), &warning);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&warning), 2);
    rect.bottom = std::max(rect.top, warning.top - 8);
    listId = GetNextChildId();
    list = new TListView(this);
    list->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                     LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA,
                 rect, m_hWnd, listId);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    for (int column = 0; column < kColumnCount; column++) {
        int width = geometry && (size_t)column < geometry->listHeader.size() ? geometry->listHeader[column]
                                                                             : kDefaultWidths[column];
        list->InsertColumn(column, LoadResourceString(kHeadings[column]), width);
    }
    // The user count reads right-aligned.
    LVCOLUMNW format = {};
    format.mask = LVCF_FMT;
    format.fmt = LVCFMT_RIGHT;
    list->SendMessage(LVM_SETCOLUMNW, 1, (LPARAM)&format);
    list->MoveWindow(rect);
    list->ShowWindow(SW_SHOW);
}

void TListDialog::ClearItems()
{
    records.clear();
    order.clear();
    if (list)
        list->SendMessage(LVM_DELETEALLITEMS);
    UpdateJoinButton();
}

void TListDialog::AddChannel(const CString& name, int users, const CString& topic)
{
    order.push_back((int)records.size());
    records.push_back({name, users, topic});
    if (!syncPosted && m_hWnd) {
        syncPosted = true;
        PostMessage(kSyncMessage);
    }
}

LRESULT TListDialog::OnSync(WPARAM, LPARAM)
{
    syncPosted = false;
    SyncRowCount();
    return 0;
}

void TListDialog::SyncRowCount()
{
    if (!list)
        return;
    const int shown = list->GetItemCount();
    const int added = (int)order.size() - shown;
    if (!added)
        return;
    // New rows come in at the top: whatever is shown moved down. The list keeps its selection at
    // the same row number, so the selected and focused rows move down with their channels.
    const int selected = GetSelectedRow();
    const int focused = list->GetNextItem(-1, LVNI_FOCUSED);
    list->SendMessage(LVM_SETITEMCOUNT, (WPARAM)order.size(), LVSICF_NOSCROLL);
    if (added > 0 && (selected >= 0 || focused >= 0)) {
        list->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (focused >= 0)
            list->SetItemState(focused + added, LVIS_FOCUSED, LVIS_FOCUSED);
        if (selected >= 0) {
            list->SetItemState(selected + added, LVIS_SELECTED, LVIS_SELECTED);
            list->SendMessage(LVM_SETSELECTIONMARK, 0, (LPARAM)(selected + added));
        }
    }
    list->Invalidate();
}

void TListDialog::SortItems()
{
    int selected = GetSelectedRow();
    int record = selected >= 0 ? RowRecordIndex(selected) : -1;
    const int column = sortColumn;
    // Bottom row first, so the order is the reverse of what the rows show.
    std::stable_sort(order.begin(), order.end(), [this, column](int a, int b) {
        return CompareChannelRecords(records[a], records[b], column) > 0;
    });
    SyncRowCount();
    if (!list)
        return;
    if (record >= 0) {
        auto found = std::find(order.begin(), order.end(), record);
        int row = (int)(order.end() - found) - 1;
        list->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        list->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list->SendMessage(LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
    }
    list->Invalidate();
}

LRESULT TListDialog::OnGetDispInfo(NMHDR* header)
{
    NMLVDISPINFOW* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    LVITEMW& item = info->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || item.iItem >= list->GetItemCount())
        return 0;
    const TRecord& record = records[RowRecordIndex(item.iItem)];
    if (item.iSubItem == 0)
        cellText = record.name;
    else if (item.iSubItem == 1)
        cellText.Format(L"%d", record.users);
    else
        cellText = record.topic;
    // The list copies the text at once; a long topic is cut to its buffer.
    if (item.pszText && item.cchTextMax > 0) {
        int length = std::min(cellText.GetLength(), item.cchTextMax - 1);
        wmemcpy(item.pszText, cellText.GetString(), length);
        item.pszText[length] = 0;
    }
    return 0;
}

// The list holds no texts of its own, so typing a name to find a row is answered here.
LRESULT TListDialog::OnFindItem(NMHDR* header)
{
    const NMLVFINDITEMW* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
    if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz)
        return -1;
    const int count = list ? list->GetItemCount() : 0;
    return FindChannelRow(count, find->iStart, find->lvfi.psz, (find->lvfi.flags & LVFI_PARTIAL) != 0,
                          (find->lvfi.flags & LVFI_WRAP) != 0,
                          [this](int row) -> const CString& { return records[RowRecordIndex(row)].name; });
}

LRESULT TListDialog::OnItemChanged(NMHDR*)
{
    UpdateJoinButton();
    return 0;
}

void TListDialog::UpdateJoinButton() { ::EnableWindow(::GetDlgItem(m_hWnd, IDC_LIST_JOIN), GetSelectedRow() >= 0); }

int TListDialog::GetSelectedRow() const
{
    if (!list)
        return -1;
    int row = list->GetNextItem(-1, LVNI_SELECTED);
    return row >= 0 && row < std::min((int)order.size(), list->GetItemCount()) ? row : -1;
}

int TListDialog::RowRecordIndex(int row) const
{
    // Counted from the list's own row count: rows added since are not yet in it.
    return order[(list ? list->GetItemCount() : (int)order.size()) - 1 - row];
}

CString TListDialog::GetSelectedChannel() const
{
    int row = GetSelectedRow();
    return row >= 0 ? records[RowRecordIndex(row)].name : CString();
}

void TListDialog::Activate()
{
    if (::IsIconic(m_hWnd))
        SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    else
        ShowWindow(SW_SHOW);
    ::BringWindowToTop(m_hWnd);
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
}

void TListDialog::OnCancel()
{
    TResizableDialog::OnCancel();
    // The listener deletes this dialog.
    if (listener)
        listener->OnListDialogClose(this);
}

void TListDialog::OnUpdate()
{
    if (listener)
        listener->OnUpdateList(this);
}

void TListDialog::OnJoin()
{
    CString name = GetSelectedChannel();
    if (listener && GetSelectedRow() >= 0)
        listener->OnJoinChannel(this, name);
}

void TListDialog::OnMemberInfo()
{
    CString name = GetSelectedChannel();
    if (listener && GetSelectedRow() >= 0)
        listener->OnGetMemberInfo(this, name);
}

void TListDialog::OnDetailedMemberInfo()
{
    CString name = GetSelectedChannel();
    if (listener && GetSelectedRow() >= 0)
        listener->OnGetDetailedMemberInfo(this, name);
}

void TListDialog::OnUpdateSelection(CCmdUI* ui) { ui->Enable(GetSelectedRow() >= 0); }

void TListDialog::OnDoubleClick(TListView*, UINT, int, int) { OnJoin(); }

void TListDialog::OnContextMenu(TListView*, int x, int y)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_LIST_POPUP));
    if (!menu)
        return;
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void TListDialog::OnColumnClick(TListView*, int column)
{
    sortColumn = column;
    SortItems();
}
