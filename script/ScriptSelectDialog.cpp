#include "script/ScriptSelectDialog.h"

#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "res/strings/script.h"
#include "settings/Config.h"

#include <shellapi.h>

#include <algorithm>

namespace {

const SIZE kMinimum = {400, 200};

const TServerFileKind kScriptFiles = {IDS_SCRIPT_FILE_NAME_COLUMN,
                                      &TUnitSetting::ScriptFiles,
                                      &TUnitSetting::ScriptHeaderWidth,
                                      10,
                                      200,
                                      &TIRCUnit::EnableScriptFile,
                                      &TIRCUnit::SetScriptHeaderWidth,
                                      &TWindowGeometry::scriptSelectSize,
                                      &TWindowGeometry::scriptSelectFileHeader};

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
    : TServerFileListDialog(IDD_SCRIPT_SELECT, kScriptFiles, kMinimum, config, world)
{
}

TScriptSelectDialog::~TScriptSelectDialog() { DestroyWindow(); }

BOOL TScriptSelectDialog::OnInitDialog()
{
    TServerFileListDialog::OnInitDialog();
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
    SetUpList(IDC_SCRIPT_LIST);
    for (const auto& entry : kAnchors)
        layout.AddControl(entry.anchors, GetDlgItem(entry.id));
    const TSize2& size = config->geometry.scriptSelectSize;
    width = std::max(size.width, (int)kMinimum.cx);
    height = std::max(size.height, (int)kMinimum.cy);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    initialised = true;
    layout.Relayout();
    // The focus was placed here.
    return FALSE;
}

std::vector<CString> TScriptSelectDialog::ListFiles() const { return ListScriptFiles(config->GetScriptFolder()); }

void TScriptSelectDialog::OnRightClick(TListView*)
{
    if (SwitchCellAtPointer() && listener)
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

void TScriptSelectDialog::OnCancel()
{
    TServerFileListDialog::OnCancel();
    SaveLayout();
    // Last: the owner deletes this window here.
    if (listener)
        listener->OnScriptSelectDialogClosed(this);
}
