#include "macrowindows/MacroSelectDialog.h"

#include "classlib/CmdUI.h"
#include "dialogs/InputPrompts.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "foundation/SafeFileName.h"
#include "irc/IRCUnit.h"
#include "macro/MacroFile.h"
#include "res/strings/macro.h"
#include "settings/Config.h"
#include "settings/IniExchange.h"
#include "world/IRCWorld.h"

#include <algorithm>

namespace {

const SIZE kMinimum = {472, 200};
const SIZE kDefaultSize = {480, 300};

// A stored width is taken as it is; only one no column can have is brought into range.
const TServerFileKind kMacroFiles = {IDS_MACRO_FILE_NAME_COLUMN,
                                     &TUnitSetting::MacroFiles,
                                     &TUnitSetting::MacroHeaderWidth,
                                     0,
                                     SHRT_MAX,
                                     &TIRCUnit::EnableMacroFile,
                                     &TIRCUnit::SetMacroHeaderWidth,
                                     &TWindowGeometry::macroSelectSize,
                                     &TWindowGeometry::macroSelectFileHeader};

CString FormatText(UINT id, const CString& name)
{
    CString text;
    text.Format(LoadResourceString(id), name.GetString());
    return text;
}

} // namespace

TMacroSelectDialog::TMacroSelectDialog(TConfig* config, TIRCWorld* world)
    : TServerFileListDialog(IDD_MACRO_SELECT, kMacroFiles, kMinimum, config, world)
{
}

TMacroSelectDialog::~TMacroSelectDialog()
{
    delete editor;
    DestroyWindow();
}

BOOL TMacroSelectDialog::OnInitDialog()
{
    TServerFileListDialog::OnInitDialog();
    for (UINT id : {IDC_MACRO_SELECT_RENAME, IDC_MACRO_SELECT_NEW, IDC_MACRO_SELECT_EDIT, IDC_MACRO_SELECT_DELETE,
                    IDC_MACRO_SELECT_COPY})
        layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_TOP, GetDlgItem(id));
    layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, GetDlgItem(IDCANCEL));
    layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM, GetDlgItem(IDC_MACRO_SELECT_HINT));
    SetUpList(IDC_MACRO_SELECT_LIST);
    layout.AddControl(LAYOUT_ANCHOR_ALL, list.m_hWnd);
    initialised = true;
    const TSize2& size = config->geometry.macroSelectSize;
    SizeAndCentre(size.width, size.height, kDefaultSize);
    // The focus was placed here.
    return FALSE;
}

std::vector<CString> TMacroSelectDialog::ListFiles() const
{
    CString extension = TMacroFile::GetFileExtension();
    std::vector<CString> names;
    FindFileNamesWithExtension(names, config->GetMacroFolder(), extension);
    for (CString& name : names)
        name = name.Left(name.GetLength() - extension.GetLength());
    return names;
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

bool TMacroSelectDialog::AskNameForSelected(UINT title, UINT prompt, CString& selected, CString& name)
{
    // The file ".kmf" is a row of an empty name.
    selected = SelectedName();
    name = selected;
    return Selected() >= 0 && AskFileName(title, prompt, name);
}

void TMacroSelectDialog::OnRightClick(TListView*)
{
    if (Selected() >= 0)
        SwitchCellAtPointer();
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
    if (Selected() < 0 || editor)
        return;
    editor = new TMacroEditorDialog(config);
    editor->listener = this;
    editor->SetFileName(name);
    if (!editor->Create(IDD_MACRO_EDITOR, nullptr)) {
        delete editor;
        editor = nullptr;
        return;
    }
    // A file there but not read whole would show cut, and OK would write the cut rows over it.
    DWORD readError = editor->GetReadError();
    if (IsUnreadableFileError(readError)) {
        delete editor;
        editor = nullptr;
        CString text;
        text.Format(LoadResourceString(IDS_MACRO_READ_FAILED), name.GetString(),
                    GetSystemErrorText(readError).GetString());
        ShowWarningMessage(m_hWnd, text, CString());
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
    CString source, name;
    if (!AskNameForSelected(IDS_MACRO_COPY_TITLE, IDS_MACRO_COPY_PROMPT, source, name))
        return;
    name = FreeName(name);
    CopyFileW(PathOf(source), PathOf(name), TRUE);
    RefreshList();
    SelectName(name);
}

void TMacroSelectDialog::OnRename()
{
    CString oldName, name;
    if (!AskNameForSelected(IDS_MACRO_RENAME_TITLE, IDS_MACRO_RENAME_PROMPT, oldName, name) || name == oldName)
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
    if (Selected() < 0)
        return;
    if (!ShowConfirmMessage(m_hWnd, FormatText(IDS_MACRO_DELETE_CONFIRM, name),
                            LoadResourceString(IDS_MACRO_CONFIRM_TITLE)))
        return;
    // A file that stays (read-only, in use) must stay enabled where it was, or its rules stop;
    // one already removed from outside is gone all the same.
    if (!DeleteFileW(PathOf(name)) && PathExists(PathOf(name))) {
        ShowWarningMessage(m_hWnd, FormatText(IDS_MACRO_DELETE_FAILED, name), CString());
        RefreshList();
        return SelectName(name);
    }
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
    return OnKickIdle(wParam, lParam);
}

void TMacroSelectDialog::OnMacroFileSaved(TMacroEditorDialog*, bool saved)
{
    if (saved && listener)
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

void TMacroSelectDialog::OnCancel()
{
    TServerFileListDialog::OnCancel();
    SaveLayout();
    // Last: the owner deletes this window here.
    if (listener)
        listener->OnMacroSelectDialogClosed(this);
}
