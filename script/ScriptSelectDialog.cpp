#include "script/ScriptSelectDialog.h"

#include "foundation/ResourceString.h"
#include "world/IRCWorld.h"
#include "res/strings/script.h"
#include "settings/Config.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace {

const int kMinWidth = 400;
const int kMinHeight = 200;

// The "*.js" files of the folder, in the order the file system gives them.
std::vector<CString> ListScriptFiles(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"*.js", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

TScriptSelectDialog::TScriptSelectDialog(TConfig* config, TIRCWorld* world)
    : TUpdateDialog(IDD_SCRIPT_SELECT), config(config), world(world)
{
}

TScriptSelectDialog::~TScriptSelectDialog() { DestroyWindow(); }

BOOL TScriptSelectDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    enabledText = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);
    list.SubclassDlgItem(IDC_SCRIPT_LIST, m_hWnd);
    list.listener = this;
    layout.parent = m_hWnd;
    const struct {
        UINT id;
        UINT anchors;
    } kAnchors[] = {
        {IDC_SCRIPT_LIST, LAYOUT_ANCHOR_ALL},
        {IDC_SCRIPT_SHOW_CONSOLE, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM},
        {IDC_SCRIPT_OPEN_FOLDER, LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM},
        {IDC_SCRIPT_HINT, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM},
        {IDCANCEL, LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM},
    };
    for (const auto& entry : kAnchors)
        layout.AddControl(entry.anchors, GetDlgItem(entry.id));
    RebuildColumns();
    RefreshList();
    list.SetFocus();
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    const TSize2& size = config->geometry.scriptSelectSize;
    width = std::max(size.width, kMinWidth);
    height = std::max(size.height, kMinHeight);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    initialised = true;
    layout.Relayout();
    // The focus was placed here.
    return FALSE;
}

void TScriptSelectDialog::RebuildColumns()
{
    LONG_PTR style = GetWindowLongPtrW(list.m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(list.m_hWnd, GWL_STYLE, style | LVS_SINGLESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    while (ListView_DeleteColumn(list.m_hWnd, 0)) {
    }
    list.InsertColumn(0, LoadResourceString(IDS_SCRIPT_FILE_NAME_COLUMN), config->geometry.scriptSelectFileHeader);
    columnServers.clear();
    for (TIRCUnit* server : servers) {
        if (!world->HasUnit(server))
            continue;
        int column = (int)columnServers.size() + 1;
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        info.fmt = LVCFMT_CENTER;
        CString name = server->GetName();
        info.pszText = const_cast<LPWSTR>(name.GetString());
        info.cx = std::clamp(server->GetSettings().ScriptHeaderWidth, 10, 200);
        ListView_InsertColumn(list.m_hWnd, column, &info);
        columnServers.push_back(server);
    }
}

void TScriptSelectDialog::RefreshList()
{
    list.DeleteAllItems();
    int row = 0;
    for (const CString& name : ListScriptFiles(config->GetScriptFolder())) {
        list.InsertItem(row, name);
        for (size_t i = 0; i < columnServers.size(); i++) {
            bool enabled =
                world->HasUnit(columnServers[i]) && columnServers[i]->GetSettings().FindScriptFile(name) >= 0;
            list.SetItemText(row, (int)i + 1, enabled ? enabledText.GetString() : L"");
        }
        row++;
    }
}

TIRCUnit* TScriptSelectDialog::ColumnServer(int column) const
{
    if (column < 1 || column > (int)columnServers.size())
        return nullptr;
    TIRCUnit* server = columnServers[column - 1];
    return world->HasUnit(server) ? server : nullptr;
}

void TScriptSelectDialog::OnRightClick(TListView*)
{
    LVHITTESTINFO hit = {};
    DWORD position = GetMessagePos();
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ScreenToClient(list.m_hWnd, &hit.pt);
    if (ListView_SubItemHitTest(list.m_hWnd, &hit) < 0 || hit.iItem < 0 || hit.iSubItem < 1)
        return;
    // A server that left the world keeps its cell as it is: showing a change that did not
    // happen would tell the user a script runs that does not.
    TIRCUnit* server = ColumnServer(hit.iSubItem);
    if (!server)
        return;
    bool enable = list.GetItemText(hit.iItem, hit.iSubItem).IsEmpty();
    list.SetItemText(hit.iItem, hit.iSubItem, enable ? enabledText.GetString() : L"");
    server->EnableScriptFile(list.GetItemText(hit.iItem, 0), enable);
    if (listener)
        listener->OnScriptSelectionChanged(this);
}

void TScriptSelectDialog::OnOpenFolder()
{
    ShellExecuteW(m_hWnd, L"explore", config->GetScriptFolder(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TScriptSelectDialog::OnShowConsole()
{
    if (listener)
        listener->OnShowScriptConsole(this);
}

LRESULT TScriptSelectDialog::OnSize(WPARAM, LPARAM lParam)
{
    if (initialised && GET_X_LPARAM(lParam) > 0 && GET_Y_LPARAM(lParam) > 0) {
        RECT outer;
        GetWindowRect(&outer);
        width = outer.right - outer.left;
        height = outer.bottom - outer.top;
        layout.Relayout();
    }
    return 0;
}

LRESULT TScriptSelectDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
}

void TScriptSelectDialog::SaveLayout()
{
    config->geometry.scriptSelectSize = {width, height};
    config->geometry.scriptSelectFileHeader = ListView_GetColumnWidth(list.m_hWnd, 0);
    for (size_t i = 0; i < columnServers.size(); i++) {
        if (world->HasUnit(columnServers[i]))
            columnServers[i]->SetScriptHeaderWidth(ListView_GetColumnWidth(list.m_hWnd, (int)i + 1));
    }
}

void TScriptSelectDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    SaveLayout();
    // Last: the owner deletes this window here.
    if (listener)
        listener->OnScriptSelectDialogClosed(this);
}
