// The transfer window's commands: the menu bar, the two tool bars, the lists' context menus and
// the double-click on a row. Each acts on the selected rows whose items the manager still holds,
// and only on those in the states its enabling rule names.

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "dccwindows/DCCDialog.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "res/strings/dcc.h"
#include "res/strings/foundation.h"
#include "settings/Config.h"

#include <shellapi.h>

#include <algorithm>

namespace {

bool IsIn(int state, std::initializer_list<int> states)
{
    return std::find(states.begin(), states.end(), state) != states.end();
}

// Finished, aborted or failed: what the clear commands take away.
const std::initializer_list<int> kClearable = {DCC_STATE_COMPLETE, DCC_STATE_ABORTED, DCC_STATE_ERROR};

// Files that may run code when opened; the extension compares in lower case.
bool IsDangerousExtension(CString extension)
{
    extension.MakeLower();
    for (const wchar_t* risky :
         {L".exe", L".com", L".scr", L".pif", L".bat", L".cmd", L".vbs", L".js", L".doc", L".xls"})
        if (extension == risky)
            return true;
    return false;
}

} // namespace

void OpenWithShell(const CString& verb, const CString& path)
{
    ::ShellExecuteW(nullptr, verb, path, nullptr, nullptr, SW_SHOWNORMAL);
}

std::vector<TDCCReceiveItem*> TDCCDialog::SelectedReceives() const
{
    std::vector<TDCCReceiveItem*> items;
    if (!manager || !receiveList)
        return items;
    std::vector<LPARAM> data;
    receiveList->GetSelectedItemData(data);
    for (LPARAM value : data)
        if (manager->FindReceiveItem((TDCCReceiveItem*)value) >= 0)
            items.push_back((TDCCReceiveItem*)value);
    return items;
}

std::vector<TDCCSendItem*> TDCCDialog::SelectedSends() const
{
    std::vector<TDCCSendItem*> items;
    if (!manager || !sendList)
        return items;
    std::vector<LPARAM> data;
    sendList->GetSelectedItemData(data);
    for (LPARAM value : data)
        if (manager->FindSendItem((TDCCSendItem*)value) >= 0)
            items.push_back((TDCCSendItem*)value);
    return items;
}

TDCCReceiveItem* TDCCDialog::SingleSelectedReceive() const
{
    std::vector<TDCCReceiveItem*> items = SelectedReceives();
    return items.size() == 1 && receiveList->SendMessage(LVM_GETSELECTEDCOUNT) == 1 ? items[0] : nullptr;
}

TDCCSendItem* TDCCDialog::SingleSelectedSend() const
{
    std::vector<TDCCSendItem*> items = SelectedSends();
    return items.size() == 1 && sendList->SendMessage(LVM_GETSELECTEDCOUNT) == 1 ? items[0] : nullptr;
}

bool TDCCDialog::AnySelectedReceiveIn(std::initializer_list<int> states) const
{
    for (TDCCReceiveItem* item : SelectedReceives())
        if (IsIn(item->GetState(), states))
            return true;
    return false;
}

bool TDCCDialog::AnySelectedSendIn(std::initializer_list<int> states) const
{
    for (TDCCSendItem* item : SelectedSends())
        if (IsIn(item->GetState(), states))
            return true;
    return false;
}

// ---- Enabling rules ----

void TDCCDialog::OnUpdateClearReceives(CCmdUI* ui)
{
    bool any = false;
    if (manager)
        for (const TDCCReceiveItem* item : manager->GetReceiveItems())
            any = any || IsIn(item->GetState(), kClearable);
    ui->Enable(any);
}

void TDCCDialog::OnUpdateClearSends(CCmdUI* ui)
{
    bool any = false;
    if (manager)
        for (const TDCCSendItem* item : manager->GetSendItems())
            any = any || IsIn(item->GetState(), kClearable);
    ui->Enable(any);
}

void TDCCDialog::OnUpdateReceiveStart(CCmdUI* ui)
{
    ui->Enable(AnySelectedReceiveIn({DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_RESUMING}));
}

void TDCCDialog::OnUpdateReceiveQueue(CCmdUI* ui)
{
    ui->Enable(AnySelectedReceiveIn({DCC_STATE_WAITING, DCC_STATE_ERROR}));
}

void TDCCDialog::OnUpdateReceiveResume(CCmdUI* ui)
{
    ui->Enable(AnySelectedReceiveIn({DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR}));
}

void TDCCDialog::OnUpdateReceiveRename(CCmdUI* ui)
{
    TDCCReceiveItem* item = SingleSelectedReceive();
    ui->Enable(item && IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR}));
}

void TDCCDialog::OnUpdateReceiveStop(CCmdUI* ui)
{
    ui->Enable(
        AnySelectedReceiveIn({DCC_STATE_QUEUED, DCC_STATE_CONNECTING, DCC_STATE_RESUMING, DCC_STATE_TRANSFERRING}));
}

void TDCCDialog::OnUpdateReceiveDelete(CCmdUI* ui)
{
    ui->Enable(AnySelectedReceiveIn(
        {DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED, DCC_STATE_QUEUED, DCC_STATE_COMPLETE}));
}

void TDCCDialog::OnUpdateReceiveOpenFolder(CCmdUI* ui) { ui->Enable(SingleSelectedReceive() != nullptr); }

void TDCCDialog::OnUpdateReceiveRun(CCmdUI* ui)
{
    TDCCReceiveItem* item = SingleSelectedReceive();
    ui->Enable(item && item->GetState() == DCC_STATE_COMPLETE);
}

void TDCCDialog::OnUpdateSendStart(CCmdUI* ui)
{
    ui->Enable(AnySelectedSendIn({DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_ABORTED}));
}

void TDCCDialog::OnUpdateSendQueue(CCmdUI* ui)
{
    ui->Enable(AnySelectedSendIn({DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED}));
}

void TDCCDialog::OnUpdateSendChangeFile(CCmdUI* ui)
{
    TDCCSendItem* item = SingleSelectedSend();
    ui->Enable(item &&
               IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_ABORTED}));
}

void TDCCDialog::OnUpdateSendStop(CCmdUI* ui)
{
    ui->Enable(AnySelectedSendIn({DCC_STATE_QUEUED, DCC_STATE_CONNECTING, DCC_STATE_RESUMING, DCC_STATE_TRANSFERRING}));
}

void TDCCDialog::OnUpdateSendDelete(CCmdUI* ui)
{
    ui->Enable(AnySelectedSendIn(
        {DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED, DCC_STATE_QUEUED, DCC_STATE_COMPLETE}));
}

void TDCCDialog::OnUpdateSendRun(CCmdUI* ui) { ui->Enable(SingleSelectedSend() != nullptr); }

// ---- Main menu ----

void TDCCDialog::OpenFolder(const CString& folder) { openWithShell(L"explore", folder); }

void TDCCDialog::OnOpenRootFolder()
{
    if (manager && settings)
        OpenFolder(manager->GetReceiveRootFolder());
}

void TDCCDialog::OnClearReceives()
{
    if (!manager)
        return;
    for (int i = (int)manager->GetReceiveItems().size() - 1; i >= 0; i--) {
        // Each removal refreshes the window; the list may have shrunk by more than one meanwhile.
        if (i >= (int)manager->GetReceiveItems().size())
            continue;
        TDCCReceiveItem* item = manager->GetReceiveItems()[i];
        if (IsIn(item->GetState(), kClearable))
            manager->RemoveReceiveItem(item);
    }
}

void TDCCDialog::OnClearSends()
{
    if (!manager)
        return;
    for (int i = (int)manager->GetSendItems().size() - 1; i >= 0; i--) {
        if (i >= (int)manager->GetSendItems().size())
            continue;
        TDCCSendItem* item = manager->GetSendItems()[i];
        if (IsIn(item->GetState(), kClearable))
            manager->RemoveSendItem(item);
    }
}

// ---- Receive side ----
// A start or a removal may change the manager's lists: each item is checked again before use.

void TDCCDialog::OnReceiveStart()
{
    if (!manager)
        return;
    for (TDCCReceiveItem* item : SelectedReceives())
        if (manager->FindReceiveItem(item) >= 0 &&
            IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_RESUMING}))
            item->StartReceive();
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveQueue()
{
    if (!manager)
        return;
    for (TDCCReceiveItem* item : SelectedReceives())
        if (manager->FindReceiveItem(item) >= 0 && IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_ERROR}))
            manager->QueueReceive(item);
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveResume()
{
    if (!manager)
        return;
    for (TDCCReceiveItem* item : SelectedReceives())
        if (manager->FindReceiveItem(item) >= 0 &&
            IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR}))
            item->TryResume();
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveFolder()
{
    TDCCReceiveItem* item = manager ? SingleSelectedReceive() : nullptr;
    if (!item)
        return;
    TFolderDialog dialog(m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_DCC_CHOOSE_FOLDER));
    dialog.SetFolder(ExtractFolder(item->GetFullPath()));
    if (dialog.DoModal() == IDOK && manager->FindReceiveItem(item) >= 0) {
        CString chosen = dialog.GetFolder();
        if (chosen.Right(1) != L"\\")
            chosen += L"\\";
        item->SetFolder(chosen);
    }
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveFileName()
{
    TDCCReceiveItem* item = manager ? SingleSelectedReceive() : nullptr;
    if (!item)
        return;
    CString folder = ExtractFolder(item->GetFullPath());
    TFileDialog dialog(false, CString(), ExtractFileName(item->GetFullPath()), OFN_EXPLORER | OFN_HIDEREADONLY,
                       LoadResourceString(IDS_FILTER_ALL_FILES), m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_DCC_CHANGE_FILE_NAME));
    dialog.m_ofn.lpstrInitialDir = folder;
    if (dialog.DoModal() == IDOK && manager->FindReceiveItem(item) >= 0) {
        item->SetFolder(ExtractFolder(dialog.GetPathName()));
        item->SetFileName(ExtractFileName(dialog.GetPathName()));
    }
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveStop()
{
    if (!manager)
        return;
    for (TDCCReceiveItem* item : SelectedReceives())
        if (manager->FindReceiveItem(item) >= 0 && IsIn(item->GetState(), {DCC_STATE_QUEUED, DCC_STATE_CONNECTING,
                                                                           DCC_STATE_RESUMING, DCC_STATE_TRANSFERRING}))
            item->Abort();
    UpdateReceiveList(true);
}

void TDCCDialog::OnReceiveDelete()
{
    if (!manager)
        return;
    for (TDCCReceiveItem* item : SelectedReceives())
        if (manager->FindReceiveItem(item) >= 0 &&
            IsIn(item->GetState(),
                 {DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED, DCC_STATE_QUEUED, DCC_STATE_COMPLETE}))
            manager->RemoveReceiveItem(item);
}

void TDCCDialog::OnReceiveOpenFolder()
{
    if (TDCCReceiveItem* item = manager ? SingleSelectedReceive() : nullptr)
        OpenFolder(item->GetFolder());
}

void TDCCDialog::OnReceiveRun()
{
    TDCCReceiveItem* item = manager ? SingleSelectedReceive() : nullptr;
    if (item && item->GetState() == DCC_STATE_COMPLETE)
        RunReceivedFile(item);
}

void TDCCDialog::RunReceivedFile(TDCCReceiveItem* item)
{
    CString path = item->GetFullPath();
    if (IsDangerousExtension(ExtractFileExtension(path)) &&
        !ShowConfirmMessage(m_hWnd, FormatStringResourceWithText(IDS_DCC_RUN_WARNING, item->GetDiskFileName()),
                            LoadResourceString(IDS_DCC_RUN_CAPTION)))
        return;
    openWithShell(L"open", path);
}

// ---- Send side ----

void TDCCDialog::OnSendStart()
{
    if (manager)
        StartSends(SelectedSends());
}

// An offer through a server that is gone or not logged in is dropped, and the item would wait for
// a peer that never hears of it; such items stay as they are and the user is told.
void TDCCDialog::StartSends(const std::vector<TDCCSendItem*>& items)
{
    CString refused;
    for (TDCCSendItem* item : items) {
        if (manager->FindSendItem(item) < 0 ||
            !IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_ABORTED}))
            continue;
        if (manager->CanOffer(item))
            item->Start();
        else
            refused += L"\n" + item->GetFileName() + L" \u2192 " + item->GetNick();
    }
    UpdateSendList(true);
    if (!refused.IsEmpty())
        ShowWarningMessage(m_hWnd, FormatStringResourceWithText(IDS_DCC_SEND_OFFLINE, refused), CString());
}

void TDCCDialog::OnSendQueue()
{
    if (!manager)
        return;
    for (TDCCSendItem* item : SelectedSends())
        if (manager->FindSendItem(item) >= 0 &&
            IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED}))
            manager->QueueSend(item);
    UpdateSendList(true);
}

void TDCCDialog::OnSendChangeFile()
{
    TDCCSendItem* item = manager ? SingleSelectedSend() : nullptr;
    if (!item)
        return;
    CString folder = ExtractFolder(item->GetFilePath());
    TFileDialog dialog(true, CString(), ExtractFileName(item->GetFilePath()),
                       OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       LoadResourceString(IDS_FILTER_ALL_FILES), m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_DCC_CHANGE_SEND_FILE));
    dialog.m_ofn.lpstrInitialDir = folder;
    if (dialog.DoModal() == IDOK && manager->FindSendItem(item) >= 0)
        item->SetFilePath(dialog.GetPathName());
}

void TDCCDialog::OnSendStop()
{
    if (!manager)
        return;
    for (TDCCSendItem* item : SelectedSends())
        if (manager->FindSendItem(item) >= 0 && IsIn(item->GetState(), {DCC_STATE_QUEUED, DCC_STATE_CONNECTING,
                                                                        DCC_STATE_RESUMING, DCC_STATE_TRANSFERRING}))
            item->Stop();
    UpdateSendList(true);
}

void TDCCDialog::OnSendDelete()
{
    if (!manager)
        return;
    for (TDCCSendItem* item : SelectedSends())
        if (manager->FindSendItem(item) >= 0 &&
            IsIn(item->GetState(),
                 {DCC_STATE_WAITING, DCC_STATE_ERROR, DCC_STATE_ABORTED, DCC_STATE_QUEUED, DCC_STATE_COMPLETE}))
            manager->RemoveSendItem(item);
}

void TDCCDialog::OnSendRun()
{
    if (TDCCSendItem* item = manager ? SingleSelectedSend() : nullptr)
        openWithShell(L"open", item->GetFilePath());
}

// ---- Lists ----

void TDCCDialog::OnContextMenu(TListView* list, int x, int y)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_DCC_WINDOW));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu, list == receiveList ? 1 : 2);
    if (popup)
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void TDCCDialog::OnDoubleClick(TListView* list, UINT, int, int)
{
    if (!manager)
        return;
    if (list == receiveList) {
        TDCCReceiveItem* item = SingleSelectedReceive();
        if (!item)
            return;
        if (IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED})) {
            item->StartReceive();
            UpdateReceiveList(true);
        } else if (item->GetState() == DCC_STATE_COMPLETE) {
            RunReceivedFile(item);
        }
    } else if (list == sendList) {
        TDCCSendItem* item = SingleSelectedSend();
        if (!item)
            return;
        if (IsIn(item->GetState(), {DCC_STATE_WAITING, DCC_STATE_QUEUED, DCC_STATE_ERROR, DCC_STATE_ABORTED})) {
            StartSends({item});
        } else if (item->GetState() == DCC_STATE_COMPLETE) {
            openWithShell(L"open", item->GetFilePath());
        }
    }
}
