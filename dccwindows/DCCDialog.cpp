#include "dccwindows/DCCDialog.h"

#include "classlib/App.h"
#include "controls/CardLayoutPanel.h"
#include "dccwindows/DCCDialogRows.h"
#include "foundation/ResourceString.h"
#include "settings/Config.h"

namespace {

const UINT kSplitterId = 1001;
const UINT kReceiveListId = 1002;
const UINT kSendListId = 1003;
const UINT kReceivePaneId = 1004;
const UINT kSendPaneId = 1005;
const UINT kToolBarId = 1006;
const wchar_t* const kToolBarResourceType = MAKEINTRESOURCEW(241);

// Icon resources in image-list order.
const UINT kStateIcons[] = {IDI_DCC_WAITING,        IDI_DCC_QUEUED,  IDI_DCC_ABORTED,   IDI_DCC_ERROR,
                            IDI_DCC_RECEIVING,      IDI_DCC_SENDING, IDI_DCC_WAIT_PEER, IDI_DCC_COMPLETE,
                            IDI_DCC_COMPLETE_SPARE, IDI_DCC_SPARE};

// The right-aligned columns: count, progress, time left, speed.
bool IsNumberColumn(int column) { return column >= 3 && column <= 6; }

// Buttons from a tool-bar resource (version, width, height, count, commands; 0 a separator).
void AddToolBarButtons(CToolBarCtrl& toolBar, UINT resourceId)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), kToolBarResourceType);
    const WORD* data = found ? (const WORD*)::LockResource(::LoadResource(module, found)) : nullptr;
    DWORD bytes = found ? ::SizeofResource(module, found) : 0;
    if (!data || bytes < 8 || (DWORD)(8 + data[3] * 2) > bytes)
        return;
    int image = 0;
    for (int i = 0; i < data[3]; i++) {
        TBBUTTON button = {};
        button.idCommand = data[4 + i];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = button.idCommand ? BTNS_BUTTON : BTNS_SEP;
        button.iBitmap = button.idCommand ? image++ : 0;
        button.iString = -1;
        toolBar.AddButtons(1, &button);
    }
}

template <class TItem> int FindRowOf(TListView* list, TItem* item) { return list->FindItemByData((LPARAM)item); }

} // namespace

TDCCDialog::TDCCDialog() = default;

TDCCDialog::~TDCCDialog()
{
    if (manager && manager->GetListener() == this)
        manager->SetListener(nullptr);
    if (m_hWnd)
        DestroyWindow();
}

BOOL TDCCDialog::PreCreateWindow(CREATESTRUCTW& cs)
{
    HICON icon = (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_DCC_WINDOW), IMAGE_ICON, 0, 0,
                                     LR_DEFAULTSIZE | LR_SHARED);
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, icon);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL TDCCDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        OnClose();
        return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT TDCCDialog::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    SetWindowText(title);
    flasher.SetWindow(m_hWnd);
    if (!splitter.Create(m_hWnd, kSplitterId, false))
        return -1;
    // The send pane sits at the bottom and keeps its height when the window is resized.
    splitter.farSide = true;
    stateImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 10, 10);
    for (UINT id : kStateIcons)
        stateImages.Add(
            (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_SHARED));
    TWindowGeometry* geometry = settings ? &settings->geometry : nullptr;
    if (!CreateList(receiveList, IDS_DCC_HEADER_SENDER, ReceiveColumns,
                    geometry ? &geometry->dccReceiveHeader : nullptr) ||
        !CreateList(sendList, IDS_DCC_HEADER_DESTINATION, SendColumns, geometry ? &geometry->dccSendHeader : nullptr))
        return -1;
    if (!CreatePane(receivePane, receiveToolBar, receiveToolImages, IDR_DCC_RECEIVE_TOOLBAR, IDB_DCC_RECEIVE_TOOLBAR,
                    receiveList) ||
        !CreatePane(sendPane, sendToolBar, sendToolImages, IDR_DCC_SEND_TOOLBAR, IDB_DCC_SEND_TOOLBAR, sendList))
        return -1;
    splitter.first = sendPane;
    splitter.second = receivePane;
    splitter.RecalcLayout();
    receiveList->SetFocus();
    SelectFirstRow(receiveList);
    return 0;
}

bool TDCCDialog::CreateList(TDoubleBufferedListView*& list, UINT firstHeading, int columns,
                            const std::vector<int>* widths)
{
    list = new TDoubleBufferedListView(this);
    // Until a pane takes it, the list is a child of the frame.
    DWORD style = WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER | WS_TABSTOP |
                  WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    UINT id = firstHeading == IDS_DCC_HEADER_SENDER ? kReceiveListId : kSendListId;
    if (!list->Create(style, RECT{}, m_hWnd, id))
        return false;
    for (int i = 0; i < columns; i++) {
        // The send list's first heading is its own; the others are shared with the receive list.
        CString heading = LoadResourceString(i == 0 ? firstHeading : IDS_DCC_HEADER_SENDER + i);
        int width = widths && i < (int)widths->size() ? (*widths)[i] : 100;
        list->InsertColumn(i, heading, width);
        if (IsNumberColumn(i)) {
            LVCOLUMNW format = {};
            format.mask = LVCF_FMT;
            format.fmt = LVCFMT_RIGHT;
            list->SendMessage(LVM_SETCOLUMNW, (WPARAM)i, (LPARAM)&format);
        }
    }
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list->SetImageList(stateImages, LVSIL_SMALL);
    list->ShowWindow(SW_SHOW);
    return true;
}

bool TDCCDialog::CreatePane(TToolBarPanel*& pane, CToolBarCtrl*& toolBar, CImageList& images, UINT toolBarId,
                            UINT bitmapId, TDoubleBufferedListView* list)
{
    pane = new TToolBarPanel;
    toolBar = new CToolBarCtrl;
    pane->toolBar = toolBar;
    pane->content = list;
    if (!pane->Create(splitter.m_hWnd, toolBarId == IDR_DCC_RECEIVE_TOOLBAR ? kReceivePaneId : kSendPaneId,
                      WS_CHILD | WS_VISIBLE | WS_BORDER))
        return false;
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE |
                  CCS_NOPARENTALIGN;
    if (!toolBar->Create(style, RECT{}, pane->m_hWnd, kToolBarId))
        return false;
    toolBar->SetButtonStructSize();
    toolBar->SetBitmapSize(16, 15);
    images.Create(16, 15, ILC_COLOR32 | ILC_MASK, 4, 4);
    HBITMAP bitmap = (HBITMAP)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION);
    if (bitmap) {
        ImageList_AddMasked(images, bitmap, RGB(255, 0, 255));
        ::DeleteObject(bitmap);
    }
    toolBar->SetImageList(images);
    AddToolBarButtons(*toolBar, toolBarId);
    // The buttons' commands come to this window, not to the pane.
    toolBar->SendMessage(TB_SETPARENT, (WPARAM)m_hWnd);
    ::SetParent(list->m_hWnd, pane->m_hWnd);
    pane->RecalcLayout();
    return true;
}

LRESULT TDCCDialog::OnSize(WPARAM wParam, LPARAM lParam)
{
    int width = LOWORD(lParam), height = HIWORD(lParam);
    if (width >= 1 && height >= 1 && splitter.m_hWnd)
        splitter.MoveWindow(0, 0, width, height);
    return DefWindowProc(WM_SIZE, wParam, lParam);
}

LRESULT TDCCDialog::OnActivate(WPARAM wParam, LPARAM lParam)
{
    // The default handling puts the focus on the frame itself; the list takes it after.
    LRESULT result = DefWindowProc(WM_ACTIVATE, wParam, lParam);
    UINT state = LOWORD(wParam);
    if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && receiveList && sendList) {
        HWND focus = ::GetFocus();
        if (focus != receiveList->m_hWnd && focus != sendList->m_hWnd) {
            receiveList->SetFocus();
            receiveList->Invalidate();
        }
    }
    flasher.RestoreTitle();
    return result;
}

// The tool bars' tips ask their notify window, which is this one: the text after the line break
// of the button command's string.
LRESULT TDCCDialog::OnNotify(WPARAM wParam, LPARAM lParam)
{
    NMHDR* header = (NMHDR*)lParam;
    if (header->code != TTN_GETDISPINFOW || !IsToolBarTip(header->hwndFrom))
        return DefWindowProc(WM_NOTIFY, wParam, lParam);
    CString text = LoadResourceString((UINT)header->idFrom);
    int lineBreak = text.Find(L'\n');
    tipText = lineBreak >= 0 ? text.Mid(lineBreak + 1) : CString();
    auto* info = (NMTTDISPINFOW*)lParam;
    info->hinst = nullptr;
    info->szText[0] = L'\0';
    info->lpszText = const_cast<wchar_t*>(tipText.GetString());
    return 0;
}

bool TDCCDialog::IsToolBarTip(HWND window) const
{
    for (CToolBarCtrl* toolBar : {receiveToolBar, sendToolBar})
        if (window && toolBar && toolBar->m_hWnd && (HWND)toolBar->SendMessage(TB_GETTOOLTIPS) == window)
            return true;
    return false;
}

LRESULT TDCCDialog::OnCloseMessage(WPARAM, LPARAM)
{
    OnClose();
    return 0;
}

void TDCCDialog::OnClose()
{
    SaveState();
    flasher.RestoreTitle();
    if (listener)
        listener->OnDCCDialogClosed(this);
    ShowWindow(SW_HIDE);
}

void TDCCDialog::SaveState()
{
    if (!settings || !m_hWnd)
        return;
    TWindowGeometry& geometry = settings->geometry;
    for (int i = 0; i < (int)geometry.dccReceiveHeader.size() && i < ReceiveColumns; i++)
        geometry.dccReceiveHeader[i] = (int)receiveList->SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)i);
    for (int i = 0; i < (int)geometry.dccSendHeader.size() && i < SendColumns; i++)
        geometry.dccSendHeader[i] = (int)sendList->SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)i);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (::GetWindowPlacement(m_hWnd, &placement))
        geometry.dccRect = placement.rcNormalPosition;
    geometry.dccSplitter = splitter.position;
}

void TDCCDialog::RestorePlacement(bool minimized)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(m_hWnd, &placement);
    if (settings)
        placement.rcNormalPosition = settings->geometry.dccRect;
    placement.showCmd = minimized ? SW_SHOWMINIMIZED : SW_SHOW;
    ::SetWindowPlacement(m_hWnd, &placement);
    if (settings)
        splitter.position = settings->geometry.dccSplitter;
    splitter.RecalcLayout();
}

void TDCCDialog::SelectFirstRow(TDoubleBufferedListView* list)
{
    if (list->GetItemCount() > 0)
        list->SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TDCCDialog::RefreshAndSelectFirst()
{
    if (!receiveList || !sendList)
        return;
    UpdateReceiveList(false);
    UpdateSendList(false);
    // While hidden it heard no ticks, and the manager's tick stops with the last transfer.
    UpdateCaption();
    receiveList->ClearSelectionAndFocus();
    sendList->ClearSelectionAndFocus();
    TDoubleBufferedListView* list = receiveList->GetItemCount() > 0 ? receiveList
                                    : sendList->GetItemCount() > 0  ? sendList
                                                                    : nullptr;
    if (!list)
        return;
    SelectFirstRow(list);
    list->SetFocus();
}

void TDCCDialog::UpdateReceiveList(bool progressOnly)
{
    if (!manager || !receiveList)
        return;
    if (!progressOnly)
        for (int row = receiveList->GetItemCount() - 1; row >= 0; row--)
            if (manager->FindReceiveItem((TDCCReceiveItem*)receiveList->GetItemData(row)) < 0)
                receiveList->SendMessage(LVM_DELETEITEM, (WPARAM)row);
    for (int row = 0; row < receiveList->GetItemCount(); row++) {
        auto* item = (TDCCReceiveItem*)receiveList->GetItemData(row);
        // A progress refresh adds and removes nothing, and never touches a removed item.
        if (manager->FindReceiveItem(item) >= 0)
            UpdateReceiveRow(item, row);
    }
    if (progressOnly)
        return;
    const std::vector<TDCCReceiveItem*>& items = manager->GetReceiveItems();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (FindRowOf(receiveList, *it) < 0) {
            int row = receiveList->InsertItem(0, (*it)->GetNick());
            receiveList->SetItemData(row, (LPARAM)*it);
            UpdateReceiveRow(*it, row);
        }
}

void TDCCDialog::UpdateSendList(bool progressOnly)
{
    if (!manager || !sendList)
        return;
    if (!progressOnly)
        for (int row = sendList->GetItemCount() - 1; row >= 0; row--)
            if (manager->FindSendItem((TDCCSendItem*)sendList->GetItemData(row)) < 0)
                sendList->SendMessage(LVM_DELETEITEM, (WPARAM)row);
    for (int row = 0; row < sendList->GetItemCount(); row++) {
        auto* item = (TDCCSendItem*)sendList->GetItemData(row);
        if (manager->FindSendItem(item) >= 0)
            UpdateSendRow(item, row);
    }
    if (progressOnly)
        return;
    const std::vector<TDCCSendItem*>& items = manager->GetSendItems();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (FindRowOf(sendList, *it) < 0) {
            int row = sendList->InsertItem(0, (*it)->GetNick());
            sendList->SetItemData(row, (LPARAM)*it);
            UpdateSendRow(*it, row);
        }
}

void TDCCDialog::UpdateReceiveRow(TDCCReceiveItem* item, int row)
{
    if (!manager || !receiveList)
        return;
    int state = item->GetState();
    TDCCReceiveTask task;
    task.state = state;
    task.stateText = TDCCReceiveItem::GetStateText(state);
    task.errorText = item->GetErrorMessage();
    task.resumeWait = item->GetResumeWait();
    task.timerRunning = item->IsTimerRunning();
    task.resumeTimeout = manager->GetResumeTimeout(item);
    task.remainingTemplate = TDCCReceiveItem::GetRemainingText();
    CString timeLeft, speed;
    if (state == DCC_STATE_TRANSFERRING) {
        int seconds = item->GetRemainingSeconds();
        if (seconds >= 0) {
            timeLeft = FormatDCCTimeLeft(seconds);
            speed = FormatDCCSpeed(item->GetSpeed());
        }
    }
    const CString texts[ReceiveColumns] = {item->GetNick(),
                                           item->GetFileName(),
                                           FormatDCCReceiveTask(task),
                                           FormatDCCCount(item->GetPosition(), item->GetSize()),
                                           FormatDCCProgress(item->GetPosition(), item->GetSize()),
                                           timeLeft,
                                           speed,
                                           FormatDCCAddress(item->GetAddress().ToString(), item->GetPort()),
                                           item->GetFolder()};
    for (int column = 0; column < ReceiveColumns; column++)
        receiveList->SetItemText(row, column, texts[column]);
    receiveList->SetItemImage(row, GetDCCReceiveImage(state));
}

void TDCCDialog::UpdateSendRow(TDCCSendItem* item, int row)
{
    if (!manager || !sendList)
        return;
    int state = item->GetState();
    CString timeLeft, speed, address;
    if (state == DCC_STATE_TRANSFERRING) {
        int seconds = item->GetRemainingSeconds();
        if (seconds >= 0) {
            timeLeft = FormatDCCTimeLeft(seconds);
            speed = FormatDCCSpeed(item->GetSpeed());
        }
    }
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ABORTED && state != DCC_STATE_QUEUED &&
        state != DCC_STATE_CONNECTING)
        address = FormatDCCAddress(item->GetAddress().ToString(), item->GetPort());
    const CString texts[SendColumns] = {item->GetNick(),
                                        item->GetFileName(),
                                        state == DCC_STATE_ERROR ? item->GetErrorMessage()
                                                                 : TDCCSendItem::GetStateText(state),
                                        FormatDCCCount(item->GetPosition(), item->GetSize()),
                                        FormatDCCProgress(item->GetPosition(), item->GetSize()),
                                        timeLeft,
                                        speed,
                                        address};
    for (int column = 0; column < SendColumns; column++)
        sendList->SetItemText(row, column, texts[column]);
    sendList->SetItemImage(row, GetDCCSendImage(state));
}

void TDCCDialog::UpdateCaption()
{
    if (!manager)
        return;
    int receiving = 0, sending = 0;
    for (const TDCCReceiveItem* item : manager->GetReceiveItems())
        receiving += item->GetState() == DCC_STATE_TRANSFERRING;
    for (const TDCCSendItem* item : manager->GetSendItems())
        sending += item->GetState() == DCC_STATE_TRANSFERRING;
    CString wanted = title;
    if (receiving || sending)
        wanted += FormatTransferCounts(receiving, sending);
    if (GetWindowText() != wanted)
        SetWindowText(wanted);
}

void TDCCDialog::OnDCCItemChanged()
{
    UpdateReceiveList(false);
    UpdateSendList(false);
}

void TDCCDialog::OnDCCAllFinished() { OnClose(); }

void TDCCDialog::OnDCCTimer()
{
    UpdateReceiveList(true);
    UpdateSendList(true);
    UpdateCaption();
}

bool TDCCDialog::OnKeyDown(UINT key)
{
    if (key == VK_TAB) {
        HWND focus = ::GetFocus();
        if (focus == receiveList->m_hWnd)
            sendList->SetFocus();
        else if (focus == sendList->m_hWnd)
            receiveList->SetFocus();
        return true;
    }
    return key == VK_RETURN;
}

LRESULT TDCCDialog::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    // The frame's own pass serves one tool bar; this window has two.
    for (CToolBarCtrl* toolBar : {receiveToolBar, sendToolBar})
        if (toolBar && toolBar->m_hWnd) {
            SetToolBar(toolBar->m_hWnd);
            UpdateToolBar();
        }
    SetToolBar(nullptr);
    return 0;
}
