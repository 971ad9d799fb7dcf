#include "prefs/PreferencePage.h"

#include "classlib/CmdUI.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"

#include <commctrl.h>

#include <cwchar>

LRESULT TPreferencePage::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    if (m_hWnd)
        UpdateControls();
    return 0;
}

namespace {

// An up-down control that sets its buddy's number puts its own last position back there when it
// is enabled or disabled, so a number typed outside the range would be lost; it is clamped first,
// as OK would store it.
void ClampBuddyNumber(HWND control)
{
    wchar_t name[16] = L"";
    ::GetClassNameW(control, name, 16);
    if (_wcsicmp(name, UPDOWN_CLASSW) != 0 || !(::GetWindowLongPtrW(control, GWL_STYLE) & UDS_SETBUDDYINT))
        return;
    HWND buddy = (HWND)::SendMessageW(control, UDM_GETBUDDY, 0, 0);
    if (!buddy)
        return;
    CString text = GetControlText(buddy);
    if (text.IsEmpty())
        return;
    int clamped = GetSpinEditValue(buddy, control);
    if (wcstol(text, nullptr, 10) == clamped)
        return;
    CString number;
    number.Format(L"%d", clamped);
    ::SetWindowTextW(buddy, number);
}

} // namespace

void TPreferencePage::Enable(std::initializer_list<int> ids, bool on)
{
    for (int id : ids)
        if (HWND control = Item(id); control && (::IsWindowEnabled(control) != FALSE) != on) {
            ClampBuddyNumber(control);
            ::EnableWindow(control, on);
        }
}

int TPreferencePage::CheckedIndex(std::initializer_list<int> ids) const
{
    int index = 0;
    for (int id : ids) {
        if (IsChecked(id))
            return index;
        index++;
    }
    return 0;
}

void TPreferencePage::BrowseFolderInto(int editId, UINT titleId)
{
    TFolderDialog dialog(::GetParent(m_hWnd));
    dialog.SetFolder(GetControlText(Item(editId)));
    dialog.SetTitle(LoadResourceString(titleId));
    if (dialog.DoModal() == IDOK)
        ::SetDlgItemTextW(m_hWnd, editId, dialog.GetFolder().Left(kTextLimit));
}

void TPreferencePage::ExchangeFolder(TDialogExchange& io, int editId, CString& folder, bool used)
{
    io.Edit(editId, folder, kTextLimit);
    // Stored trimmed: blanks around the text are no change.
    CString typed = GetControlText(Item(editId)), stored = folder;
    if (used && typed.Trim() != stored.Trim())
        io.Rule(IsUsableFolder, IDS_FOLDER_NOT_USABLE);
}

namespace {

// Whether the folders from `existing` down to `folder` can be made, as the writers make them;
// those made for the probe go again at once. A standard account may make folders where it may
// not make files (a drive's root), so the files are not probed here.
bool CanMakeFolder(const CString& folder, const CString& existing)
{
    const DWORD attributes = CreateFolderTree(folder) ? ::GetFileAttributesW(folder) : INVALID_FILE_ATTRIBUTES;
    const bool made = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    for (CString path = folder; path.GetLength() > existing.GetLength();) {
        ::RemoveDirectoryW(path);
        int slash = path.ReverseFind(L'\\');
        if (slash <= 0)
            break;
        path = path.Left(slash);
    }
    return made;
}

// "Q:\" or "\\server\share": nothing above it to walk to.
bool IsPathRoot(const CString& path)
{
    if (path.GetLength() == 3 && path[1] == L':' && path[2] == L'\\')
        return true;
    if (path.GetLength() < 3 || path[0] != L'\\' || path[1] != L'\\')
        return false;
    int share = path.Find(L'\\', 2);
    return share > 2 && path.Find(L'\\', share + 1) < 0;
}

} // namespace

bool IsUsableFolder(const CString& folder)
{
    CString path = folder;
    path.Trim();
    if (path.IsEmpty())
        return true;
    if (!IsAbsolutePath(path))
        path = GetProgramFolder() + path;
    // ".." resolved first, so the probe below removes exactly the folders it made.
    wchar_t full[MAX_PATH * 2] = L"";
    const DWORD length = ::GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    if (length > 0 && length < MAX_PATH * 2)
        path = full;
    TrimTrailingBackslashes(path);
    if (path.GetLength() == 2 && path[1] == L':')
        path += L'\\';
    // A folder there is taken: the logs and transfers write into subfolders they make
    // themselves and tell their own failures. One not there yet is made by whoever writes into
    // it, so it must be one that can be made.
    const CString folderPath = path;
    for (;;) {
        DWORD attributes = ::GetFileAttributesW(path);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                return false;
            return path == folderPath || CanMakeFolder(folderPath, path);
        }
        // A drive or share that is not there now (an unplugged stick): the folder is kept as
        // typed, and a transfer or log that cannot write there reports it then.
        if (IsPathRoot(path))
            return true;
        int slash = path.ReverseFind(L'\\');
        if (slash <= 0)
            return false;
        path = path.Left(slash);
        if (path.GetLength() == 2 && path[1] == L':')
            path += L'\\';
    }
}

void StoreFolder(CString& folder, const CString& standard)
{
    folder.Trim();
    if (folder.IsEmpty())
        folder = standard;
}
