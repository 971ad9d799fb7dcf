#include "dialogs/MessageBoxes.h"

#include "classlib/App.h"
#include "classlib/Wnd.h"
#include "foundation/ModalCounter.h"
#include "foundation/ResourceString.h"
#include "res/windows/prompts.h"

#include <shlobj.h>

namespace {

// The system's modal windows enable their owner when they end, even inside another modal run
// that still wants the main window disabled.
void KeepMainDisabledWhileNested()
{
    CWnd* main = AfxGetMainWnd();
    if (TModalManager::GetModalCount() > 1 && main && main->GetSafeHwnd())
        ::EnableWindow(main->GetSafeHwnd(), FALSE);
}

int ShowMessage(HWND owner, const CString& text, const CString& caption, UINT type)
{
    TModalManager modal;
    int result = ::MessageBoxW(owner, text, caption.IsEmpty() ? LoadResourceString(IDS_APP_NAME) : caption, type);
    KeepMainDisabledWhileNested();
    return result;
}

// The folder browser opens on the start folder. Wine's browser may stop at a parent while it
// still reads the folders below, so until the start folder has been reached once, and for a
// few seconds at most, the selection is asked for again while it rests on a parent.
struct TBrowseStart {
    CString folder;
    int retriesLeft = 20;
    bool reached = false;
};

const UINT_PTR kRetryTimer = 1;
const UINT kRetryMs = 250;
const wchar_t kStartProperty[] = L"KvBrowseStart";

CString WithBackslash(CString path)
{
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    return path;
}

bool IsParentFolderOf(const CString& parent, const CString& folder)
{
    CString prefix = WithBackslash(parent), full = WithBackslash(folder);
    return !parent.IsEmpty() && full.GetLength() > prefix.GetLength() &&
           prefix.CompareNoCase(full.Left(prefix.GetLength())) == 0;
}

void CALLBACK RetryStartFolder(HWND window, UINT, UINT_PTR, DWORD)
{
    auto* start = (TBrowseStart*)::GetPropW(window, kStartProperty);
    if (!start || --start->retriesLeft < 0) {
        ::KillTimer(window, kRetryTimer);
        return;
    }
    ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, (LPARAM)start->folder.GetString());
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM item, LPARAM data)
{
    auto* start = (TBrowseStart*)data;
    if (!start)
        return 0;
    if (message == BFFM_INITIALIZED) {
        ::SetPropW(window, kStartProperty, start);
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, (LPARAM)start->folder.GetString());
    } else if (message == BFFM_SELCHANGED) {
        wchar_t chosen[MAX_PATH] = L"";
        if (!item || !::SHGetPathFromIDListW((LPCITEMIDLIST)item, chosen))
            chosen[0] = 0;
        if (WithBackslash(chosen).CompareNoCase(WithBackslash(start->folder)) == 0)
            start->reached = true;
        if (!start->reached && start->retriesLeft > 0 && IsParentFolderOf(chosen, start->folder))
            ::SetTimer(window, kRetryTimer, kRetryMs, RetryStartFolder);
        else
            ::KillTimer(window, kRetryTimer);
    }
    return 0;
}

} // namespace

bool ShowConfirmMessage(HWND owner, const CString& text, const CString& caption)
{
    return ShowMessage(owner, text, caption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void ShowWarningMessage(HWND owner, const CString& text, const CString& caption)
{
    ShowMessage(owner, text, caption, MB_OK | MB_ICONWARNING);
}

TColorDialog::TColorDialog(COLORREF initial, DWORD flags, HWND owner)
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = owner;
    m_cc.rgbResult = initial;
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR TColorDialog::DoModal()
{
    m_cc.lpCustColors = AfxGetCustomColors();
    TModalManager modal;
    BOOL chosen = ::ChooseColorW(&m_cc);
    KeepMainDisabledWhileNested();
    return chosen ? IDOK : IDCANCEL;
}

TFileDialog::TFileDialog(bool open, const CString& defaultExtension, const CString& fileName, DWORD flags,
                         const CString& filterText, HWND owner)
    : open(open), defaultExtension(defaultExtension), filter(filterText.GetString()), path(32768, L'\0')
{
    // "desc|*.ext|" pairs; the closing '|' and the string's own end make the double NUL.
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    wcsncpy(path.data(), fileName, path.size() - 1);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = owner;
    m_ofn.Flags = flags;
}

INT_PTR TFileDialog::DoModal()
{
    // Room for any path the dialog can return, so a long one is never cut.
    m_ofn.lpstrFile = path.data();
    m_ofn.nMaxFile = (DWORD)path.size();
    m_ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    m_ofn.lpstrDefExt = defaultExtension.IsEmpty() ? nullptr : defaultExtension.GetString();
    m_ofn.lpstrTitle = title.IsEmpty() ? nullptr : title.GetString();
    TModalManager modal;
    BOOL chosen = open ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    KeepMainDisabledWhileNested();
    return chosen ? IDOK : IDCANCEL;
}

CString ChooseProgram(HWND owner, const CString& title, const CString& filter, const CString& folder,
                      const CString& fileName)
{
    TFileDialog dialog(true, L"exe", fileName, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       filter, owner);
    dialog.SetTitle(title);
    dialog.m_ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : folder.GetString();
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

INT_PTR TFolderDialog::DoModal()
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return IDCANCEL;
    INT_PTR result = IDCANCEL;
    {
        TModalManager modal;
        BROWSEINFOW info = {};
        info.hwndOwner = owner;
        info.lpszTitle = title;
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | (allowNewFolder ? 0 : BIF_NONEWFOLDERBUTTON);
        TBrowseStart start;
        start.folder = initialFolder;
        info.lpfn = BrowseCallback;
        info.lParam = initialFolder.IsEmpty() ? 0 : (LPARAM)&start;
        if (LPITEMIDLIST item = ::SHBrowseForFolderW(&info)) {
            wchar_t chosen[MAX_PATH] = L"";
            if (::SHGetPathFromIDListW(item, chosen)) {
                folder = chosen;
                result = IDOK;
            }
            allocator->Free(item);
        }
    }
    // The counting's end enables only the main window.
    if (owner && ::IsWindow(owner))
        ::EnableWindow(owner, TRUE);
    allocator->Release();
    return result;
}
