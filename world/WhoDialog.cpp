#include "world/WhoDialog.h"

#include "classlib/App.h"
#include "controls/ChildId.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "irc/Member.h"
#include "irc/WhoListFile.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"
#include "settings/WindowGeometry.h"

#include <commdlg.h>
#include <windowsx.h>

#include <string>
#include <vector>

namespace {

const UINT kColumnHeadings[TWhoDialog::kColumnCount] = {
    0, IDS_WHO_COLUMN_NICK, IDS_WHO_COLUMN_USER, IDS_WHO_COLUMN_HOST, IDS_WHO_COLUMN_REAL_NAME, IDS_WHO_COLUMN_SERVER};

struct TSortCall {
    TMemberCompare compare;
    int param;
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM call)
{
    const TSortCall* sort = reinterpret_cast<const TSortCall*>(call);
    return sort->compare(reinterpret_cast<const TIRCMember*>(a), reinterpret_cast<const TIRCMember*>(b), sort->param);
}

} // namespace

TWhoDialog::TWhoDialog() : TResizableDialog(IDD_WHO_DIALOG, {300, 160}) {}

TWhoDialog::~TWhoDialog()
{
    StoreGeometry();
    if (list) {
        list->DestroyWindow();
        delete list;
    }
    DestroyWindow();
}

void TWhoDialog::StoreGeometry()
{
    if (!geometry || !m_hWnd)
        return;
    if (list)
        for (size_t i = 0; i < geometry->whoHeader.size(); i++)
            geometry->whoHeader[i] = (int)list->SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)i);
    GetStoredPlace(geometry->whoRect);
}

void TWhoDialog::SetListLook(HFONT font, COLORREF backColor)
{
    listFont = font;
    listBackColor = backColor;
    ApplyListLook();
}

// Also for an open window, when the preferences change.
void TWhoDialog::ApplyListLook()
{
    if (!list || !list->m_hWnd)
        return;
    if (listFont)
        list->SendMessage(WM_SETFONT, (WPARAM)listFont, TRUE);
    if (listBackColor != CLR_NONE) {
        list->SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)listBackColor);
        list->SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)listBackColor);
    }
    list->Invalidate();
}

bool TWhoDialog::CreateAndShow()
{
    if (!Create(IDD_WHO_DIALOG, nullptr))
        return false;
    ShowAtStoredPlace(geometry ? geometry->whoRect : RECT{});
    return true;
}

BOOL TWhoDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    title = FormatStringResourceWithTwo(IDS_WHO_TITLE, channelName, unitName);
    SetWindowText(title);
    CreateList();
    initialised = true;
    for (UINT id : {IDCANCEL, IDC_WHO_UPDATE, IDC_WHO_SAVE})
        layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, id));
    layout.AddControl(LAYOUT_ANCHOR_ALL, list->m_hWnd);
    return TRUE;
}

void TWhoDialog::CreateList()
{
    RECT rect, button;
    GetClientRect(&rect);
    HWND close = ::GetDlgItem(m_hWnd, IDCANCEL);
    ::GetWindowRect(close, &button);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&button), 2);
    rect.bottom = button.top - 8;
    list = new TListView(this);
    list->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | LVS_REPORT |
                     LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                 rect, m_hWnd, GetNextChildId());
    // Stored widths: at least six are kept, so the columns always have one each.
    std::vector<int> fallback = {24, 100, 80, 160, 120, 120};
    if (geometry && geometry->whoHeader.size() < (size_t)kColumnCount)
        geometry->whoHeader.resize(kColumnCount, 100);
    const std::vector<int>& widths = geometry ? geometry->whoHeader : fallback;
    for (int column = 0; column < kColumnCount; column++) {
        CString heading = kColumnHeadings[column] ? LoadResourceString(kColumnHeadings[column]) : CString();
        list->InsertColumn(column, heading, widths[column]);
    }
    list->SetImageList(imageList, LVSIL_SMALL);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    ApplyListLook();
    list->MoveWindow(rect);
    list->ShowWindow(SW_SHOW);
}

void TWhoDialog::OnUpdate()
{
    if (listener)
        listener->OnRefresh(this);
}

void TWhoDialog::OnCancel()
{
    TResizableDialog::OnCancel();
    // The listener deletes this dialog.
    if (listener)
        listener->OnClose(this);
}

void TWhoDialog::Activate()
{
    if (::IsIconic(m_hWnd))
        SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    else
        ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    ::BringWindowToTop(m_hWnd);
    SetFocus();
}

int TWhoDialog::InsertItem(const TIRCMember* member, const CString& text, int item)
{
    if (!list)
        return -1;
    item = list->InsertItem(item, text);
    if (item >= 0)
        list->SetItemData(item, reinterpret_cast<LPARAM>(member));
    return item;
}

void TWhoDialog::SetItemText(int item, int column, const CString& text)
{
    if (list)
        list->SetItemText(item, column, text);
}

void TWhoDialog::DeleteItem(int item)
{
    if (list)
        list->SendMessage(LVM_DELETEITEM, (WPARAM)item);
}

void TWhoDialog::DeleteAllItems()
{
    if (list)
        list->DeleteAllItems();
}

void TWhoDialog::MoveItem(int from, int to)
{
    if (list)
        list->MoveItem(from, to);
}

void TWhoDialog::RedrawItem(int item)
{
    if (!list)
        return;
    if (item < 0)
        list->Invalidate();
    else
        list->SendMessage(LVM_REDRAWITEMS, (WPARAM)item, (LPARAM)item);
}

void TWhoDialog::SortItems(TMemberCompare compare, int param)
{
    TSortCall call = {compare, param};
    if (list)
        list->SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&call), reinterpret_cast<LPARAM>(&CompareRows));
}

void TWhoDialog::OnDoubleClick(TListView*, UINT, int, int)
{
    if (frame)
        frame->OnUserInfo();
}

void TWhoDialog::OnContextMenu(TListView*, int x, int y)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MEMBER_POPUP));
    if (!menu)
        return;
    // Its commands go to the main window, which acts on the selected nicks.
    HWND owner = frame ? frame->GetFrameWindow() : m_hWnd;
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    ::DestroyMenu(menu);
}

void TWhoDialog::OnCustomDraw(TListView* view, NMHDR* header, LRESULT* result)
{
    if (rowPainter)
        rowPainter->OnCustomDraw(view, header, result);
}

void TWhoDialog::OnColumnClick(TListView*, int column)
{
    if (listener)
        listener->OnColumnClick(this, column);
}

// Counted as modal like every dialog, so the main window stays disabled while it is open.
CString TWhoDialog::AskSavePath()
{
    TFileDialog dialog(false, L"txt", MakeWhoListFileName(channelName),
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER, LoadResourceString(IDS_WHO_SAVE_FILTER),
                       m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_WHO_SAVE_TITLE));
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

void TWhoDialog::SaveMembers()
{
    CString path = AskSavePath();
    if (path.IsEmpty())
        return;
    if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES &&
        !ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_CONFIRM_OVERWRITE), LoadResourceString(IDS_CONFIRM_CAPTION)))
        return;
    if (!WriteMembers(path))
        ShowWarningMessage(m_hWnd, LoadResourceString(IDS_FILE_OPEN_FAILED), LoadResourceString(IDS_FAILURE_CAPTION));
}

bool TWhoDialog::WriteMembers(const CString& path)
{
    std::vector<const TIRCMember*> rows;
    int count = list ? list->GetItemCount() : 0;
    for (int item = 0; item < count; item++)
        if (const TIRCMember* member = reinterpret_cast<const TIRCMember*>(list->GetItemData(item)))
            rows.push_back(member);
    return SaveWhoList(path, rows, preference ? (unsigned)preference->LogCodepage : CP_UTF8);
}
