#include "macrowindows/MacroSelectDialog.h"

#include "classlib/CmdUI.h"
#include "dialogs/InputPrompts.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "macro/MacroFile.h"
#include "res/strings/macro.h"
#include "res/strings/script.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const int kMinWidth = 472;
const int kMinHeight = 200;
const int kDefaultWidth = 480;
const int kDefaultHeight = 300;

CString FormatText(UINT id, const CString& name)
{
    CString text;
    text.Format(LoadResourceString(id), name.GetString());
    return text;
}

} // namespace

TMacroSelectDialog::TMacroSelectDialog(TConfig* config, TIRCWorld* world)
    : TUpdateDialog(IDD_MACRO_SELECT), config(config), world(world)
{
}

TMacroSelectDialog::~TMacroSelectDialog()
{
    delete editor;
    DestroyWindow();
}

BOOL TMacroSelectDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    markText = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);
    list.SubclassDlgItem(IDC_MACRO_SELECT_LIST, m_hWnd);
    list.listener = this;
    layout.parent = m_hWnd;
    for (UINT id : {IDC_MACRO_SELECT_RENAME, IDC_MACRO_SELECT_NEW, IDC_MACRO_SELECT_EDIT, IDC_MACRO_SELECT_DELETE,
                    IDC_MACRO_SELECT_COPY})
        layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_TOP, GetDlgItem(id));
    layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, GetDlgItem(IDCANCEL));
    layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM, GetDlgItem(IDC_MACRO_SELECT_HINT));
    layout.AddControl(LAYOUT_ANCHOR_ALL, list.m_hWnd);
    RebuildColumns();
    RefreshList();
    list.SetFocus();
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    initialised = true;
    const TSize2& size = config->geometry.macroSelectSize;
    width = std::max(size.width > 0 ? size.width : kDefaultWidth, kMinWidth);
    height = std::max(size.height > 0 ? size.height : kDefaultHeight, kMinHeight);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    layout.Relayout();
    // The focus was placed here.
    return FALSE;
}

void TMacroSelectDialog::RebuildColumns()
{
    LONG_PTR style = GetWindowLongPtrW(list.m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(list.m_hWnd, GWL_STYLE, style | LVS_SINGLESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    while (ListView_DeleteColumn(list.m_hWnd, 0)) {
    }
    int fileWidth = config->geometry.macroSelectFileHeader;
    list.InsertColumn(0, LoadResourceString(IDS_MACRO_FILE_NAME_COLUMN), fileWidth > 0 ? fileWidth : 100);
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
        info.cx = std::clamp(server->GetSettings().MacroHeaderWidth, 10, 400);
        ListView_InsertColumn(list.m_hWnd, column, &info);
        columnServers.push_back(server);
    }
}

void TMacroSelectDialog::RefreshList()
{
    list.DeleteAllItems();
    CString extension = TMacroFile::GetFileExtension();
    std::vector<CString> found;
    FindFileNames(found, config->GetMacroFolder() + L"*" + extension);
    for (const CString& entry : found) {
        CString name = entry.Left(entry.GetLength() - extension.GetLength());
        // The list sorts its rows: the row lands where it belongs.
        int row = list.InsertItem(list.GetItemCount(), name);
        for (size_t i = 0; i < columnServers.size(); i++) {
            const auto& files = columnServers[i]->GetSettings().MacroFiles;
            bool enabled = world->HasUnit(columnServers[i]) && std::find(files.begin(), files.end(), name) != files.end();
            list.SetItemText(row, (int)i + 1, enabled ? markText.GetString() : L"");
        }
    }
}

TIRCUnit* TMacroSelectDialog::ColumnServer(int column) const
{
    if (column < 1 || column > (int)columnServers.size())
        return nullptr;
    TIRCUnit* server = columnServers[column - 1];
    return world->HasUnit(server) ? server : nullptr;
}

CString TMacroSelectDialog::SelectedName() const
{
    int selected = Selected();
    return selected >= 0 ? list.GetItemText(selected, 0) : CString();
}

void TMacroSelectDialog::SelectName(const CString& name)
{
    int row = list.FindItemByText(name);
    if (row < 0) {
        list.ClearSelectionAndFocus();
        return;
    }
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list.m_hWnd, row, FALSE);
}

CString TMacroSelectDialog::PathOf(const CString& name) const
{
    return TMacroFile(config->GetMacroFolder(), name).GetFilePath(name);
}

CString TMacroSelectDialog::FreeName(CString name) const
{
    while (PathExists(PathOf(name)))
        name += L"_";
    return name;
}

bool TMacroSelectDialog::AskFileName(UINT title, UINT prompt, CString& name)
{
    for (;;) {
        TInputMessageDialog dialog;
        dialog.m_pParentWnd = this;
        dialog.SetTitle(LoadResourceString(title));
        dialog.SetPrompt(LoadResourceString(prompt));
        dialog.SetText(name);
        if (dialog.DoModal() != IDOK)
            return false;
        name = dialog.GetText();
        if (!PathOf(name).IsEmpty())
            return true;
        ShowWarningMessage(m_hWnd, FormatText(IDS_MACRO_BAD_FILE_NAME, name), CString());
    }
}

void TMacroSelectDialog::OnRightClick(TListView*)
{
    if (Selected() < 0)
        return;
    LVHITTESTINFO hit = {};
    DWORD position = GetMessagePos();
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ScreenToClient(list.m_hWnd, &hit.pt);
    if (ListView_SubItemHitTest(list.m_hWnd, &hit) < 0 || hit.iItem < 0 || hit.iSubItem < 1)
        return;
    // A server that left the world keeps its cell: the mark would tell of a change that did not happen.
    TIRCUnit* server = ColumnServer(hit.iSubItem);
    if (!server)
        return;
    bool enable = list.GetItemText(hit.iItem, hit.iSubItem).IsEmpty();
    list.SetItemText(hit.iItem, hit.iSubItem, enable ? markText.GetString() : L"");
    server->EnableMacroFile(list.GetItemText(hit.iItem, 0), enable);
}

bool TMacroSelectDialog::OnKeyDown(UINT key)
{
    if (key != VK_RETURN)
        return false;
    OnEdit();
    return true;
}

void TMacroSelectDialog::OnDoubleClick(TListView*, UINT, int, int)
{
    // As a click on Edit.
    HWND button = GetDlgItem(IDC_MACRO_SELECT_EDIT);
    ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::PostMessageW(button, WM_LBUTTONUP, 0, 0);
}

void TMacroSelectDialog::OnEdit()
{
    CString name = SelectedName();
    if (name.IsEmpty() || editor)
        return;
    editor = new TMacroEditorDialog(config);
    editor->listener = this;
    editor->SetFileName(name);
    if (!editor->Create(IDD_MACRO_EDITOR, nullptr)) {
        delete editor;
        editor = nullptr;
        return;
    }
    editor->ShowWindow(SW_SHOWNORMAL);
    editor->SetTopMost(topMost);
    ShowWindow(SW_HIDE);
}

void TMacroSelectDialog::OnNew()
{
    CString name;
    if (!AskFileName(IDS_MACRO_NEW_TITLE, IDS_MACRO_NEW_PROMPT, name))
        return;
    name = FreeName(name);
    CreateFolderTree(config->GetMacroFolder());
    // CREATE_NEW: whatever appeared there meanwhile is left alone.
    HANDLE file = CreateFileW(PathOf(name), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    RefreshList();
    SelectName(name);
    OnEdit();
}

void TMacroSelectDialog::OnCopy()
{
    CString source = SelectedName();
    if (source.IsEmpty())
        return;
    CString name = source;
    if (!AskFileName(IDS_MACRO_COPY_TITLE, IDS_MACRO_COPY_PROMPT, name))
        return;
    name = FreeName(name);
    CopyFileW(PathOf(source), PathOf(name), TRUE);
    RefreshList();
    SelectName(name);
}

void TMacroSelectDialog::OnRename()
{
    CString oldName = SelectedName();
    if (oldName.IsEmpty())
        return;
    CString name = oldName;
    if (!AskFileName(IDS_MACRO_RENAME_TITLE, IDS_MACRO_RENAME_PROMPT, name) || name == oldName)
        return;
    // Another file's name gets "_" appended; a change of letter case alone is the same file.
    if (name.CompareNoCase(oldName) != 0)
        name = FreeName(name);
    // No replacing flag: a file that appeared under the name meanwhile is never overwritten.
    if (!MoveFileExW(PathOf(oldName), PathOf(name), 0))
        return RefreshList();
    if (listener)
        listener->OnMacroFileRenamed(this, oldName, name);
    RefreshList();
    SelectName(name);
}

void TMacroSelectDialog::OnDelete()
{
    CString name = SelectedName();
    if (name.IsEmpty())
        return;
    if (!ShowConfirmMessage(m_hWnd, FormatText(IDS_MACRO_DELETE_CONFIRM, name),
                            LoadResourceString(IDS_MACRO_CONFIRM_TITLE)))
        return;
    DeleteFileW(PathOf(name));
    if (listener) {
        listener->OnMacroFileDeleted(this, name);
        listener->OnMacroFilesChanged(this);
    }
    int selected = Selected();
    RefreshList();
    int row = std::min(selected, list.GetItemCount() - 1);
    if (row < 0) {
        list.ClearSelectionAndFocus();
        return;
    }
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list.m_hWnd, row, FALSE);
}

void TMacroSelectDialog::OnUpdateSelected(CCmdUI* ui) { ui->Enable(Selected() >= 0); }

LRESULT TMacroSelectDialog::OnIdle(WPARAM wParam, LPARAM lParam)
{
    if (editor && editor->m_hWnd)
        editor->SendMessage(WM_KICKIDLE, wParam, lParam);
    return TUpdateDialog::OnKickIdle(wParam, lParam);
}

void TMacroSelectDialog::OnMacroFileSaved(TMacroEditorDialog*, bool)
{
    if (listener)
        listener->OnMacroFilesChanged(this);
}

void TMacroSelectDialog::OnMacroEditorClosed(TMacroEditorDialog* closed)
{
    if (closed != editor)
        return;
    delete editor;
    editor = nullptr;
    ShowWindow(SW_SHOW);
    list.SetFocus();
}

void TMacroSelectDialog::SetTopMost(bool value)
{
    topMost = value;
    SetWindowPos(value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (editor)
        editor->SetTopMost(value);
}

LRESULT TMacroSelectDialog::OnSize(WPARAM, LPARAM lParam)
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

LRESULT TMacroSelectDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
}

void TMacroSelectDialog::SaveLayout()
{
    config->geometry.macroSelectSize = {width, height};
    config->geometry.macroSelectFileHeader = ListView_GetColumnWidth(list.m_hWnd, 0);
    for (size_t i = 0; i < columnServers.size(); i++) {
        if (world->HasUnit(columnServers[i]))
            columnServers[i]->SetMacroHeaderWidth(ListView_GetColumnWidth(list.m_hWnd, (int)i + 1));
    }
}

void TMacroSelectDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    SaveLayout();
    // Last: the owner deletes this window here.
    if (listener)
        listener->OnMacroSelectDialogClosed(this);
}
