#include "dcc/DCCDialogChoosers.h"

#include "foundation/ModalCounter.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

bool ChooseDCCFile(HWND owner, TDCCFileChoice& choice)
{
    // Room for any path the dialog can return, so a long one is never cut.
    std::vector<wchar_t> name(32768, L'\0');
    wcsncpy(name.data(), choice.fileName, name.size() - 1);
    // "desc|pattern|": the closing bar and the string's own end make the double NUL.
    std::wstring filter = choice.filter.GetString();
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = (DWORD)name.size();
    ofn.lpstrInitialDir = choice.folder.IsEmpty() ? nullptr : (LPCWSTR)choice.folder;
    ofn.lpstrTitle = choice.title;
    ofn.Flags = choice.flags;
    TModalManager modal;
    BOOL ok = choice.save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (!ok)
        return false;
    choice.fileName = name.data();
    return true;
}

namespace {

int CALLBACK StartInFolder(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

bool ChooseDCCFolder(HWND owner, const CString& title, const CString& startFolder, CString& folder)
{
    wchar_t display[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = StartInFolder;
    info.lParam = (LPARAM)(LPCWSTR)startFolder;
    TModalManager modal;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen)
        return false;
    wchar_t path[MAX_PATH] = L"";
    BOOL ok = ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    if (!ok || !path[0])
        return false;
    folder = path;
    if (folder.Right(1) != L"\\")
        folder += L"\\";
    return true;
}

bool ConfirmDCC(HWND owner, const CString& text, const CString& caption)
{
    TModalManager modal;
    return ::MessageBoxW(owner, text, caption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}
