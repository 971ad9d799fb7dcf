#include "world/ServerFileListDialog.h"

#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "res/strings/script.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

TServerFileListDialog::TServerFileListDialog(UINT templateId, const TServerFileKind& kind, SIZE minimum,
                                             TConfig* config, TIRCWorld* world)
    : TResizableDialog(templateId, minimum), config(config), world(world), kind(kind)
{
}

BOOL TServerFileListDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    markText = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);
    return TRUE;
}

void TServerFileListDialog::SetUpList(UINT listId)
{
    list.SubclassDlgItem(listId, m_hWnd);
    list.listener = this;
    RebuildColumns();
    RefreshList();
    list.SetFocus();
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TServerFileListDialog::RebuildColumns()
{
    LONG_PTR style = GetWindowLongPtrW(list.m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(list.m_hWnd, GWL_STYLE, style | LVS_SINGLESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    while (ListView_DeleteColumn(list.m_hWnd, 0)) {
    }
    // As stored, 0 too: the settings give the default when nothing was stored.
    list.InsertColumn(0, LoadResourceString(kind.fileHeading),
                      std::clamp(config->geometry.*kind.fileColumnWidth, 0, SHRT_MAX));
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
        info.cx = std::clamp(server->GetSettings().*kind.columnWidth, kind.narrowestColumn, kind.widestColumn);
        ListView_InsertColumn(list.m_hWnd, column, &info);
        columnServers.push_back(server);
    }
}

void TServerFileListDialog::RefreshList()
{
    list.DeleteAllItems();
    for (const CString& name : ListFiles()) {
        // A sorting list puts the row where it belongs.
        int row = list.InsertItem(list.GetItemCount(), name);
        for (size_t i = 0; i < columnServers.size(); i++) {
            const std::vector<CString>& files = columnServers[i]->GetSettings().*kind.files;
            bool used = world->HasUnit(columnServers[i]) && std::find(files.begin(), files.end(), name) != files.end();
            list.SetItemText(row, (int)i + 1, used ? markText.GetString() : L"");
        }
    }
}

TIRCUnit* TServerFileListDialog::ColumnServer(int column) const
{
    if (column < 1 || column > (int)columnServers.size())
        return nullptr;
    TIRCUnit* server = columnServers[column - 1];
    return world->HasUnit(server) ? server : nullptr;
}

bool TServerFileListDialog::SwitchCellAtPointer()
{
    LVHITTESTINFO hit = {};
    DWORD position = GetMessagePos();
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ScreenToClient(list.m_hWnd, &hit.pt);
    if (ListView_SubItemHitTest(list.m_hWnd, &hit) < 0 || hit.iItem < 0 || hit.iSubItem < 1)
        return false;
    // A server that left the world keeps its cell: the mark would tell of a change that did not
    // happen.
    TIRCUnit* server = ColumnServer(hit.iSubItem);
    if (!server)
        return false;
    bool use = list.GetItemText(hit.iItem, hit.iSubItem).IsEmpty();
    list.SetItemText(hit.iItem, hit.iSubItem, use ? markText.GetString() : L"");
    (server->*kind.enableFile)(list.GetItemText(hit.iItem, 0), use);
    return true;
}

void TServerFileListDialog::SaveLayout()
{
    config->geometry.*kind.windowSize = {width, height};
    config->geometry.*kind.fileColumnWidth = ListView_GetColumnWidth(list.m_hWnd, 0);
    for (size_t i = 0; i < columnServers.size(); i++) {
        if (world->HasUnit(columnServers[i]))
            (columnServers[i]->*kind.setColumnWidth)(ListView_GetColumnWidth(list.m_hWnd, (int)i + 1));
    }
}
