#pragma once
// Message boxes and the system's colour, file and folder choosers, each counted as an open
// modal dialog so the main window takes no input meanwhile.

#include "classlib/String.h"

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

// OK/Cancel with the question icon; true only for OK. An empty caption shows the program's name.
bool ShowConfirmMessage(HWND owner, const CString& text, const CString& caption);
// OK with the warning icon.
void ShowWarningMessage(HWND owner, const CString& text, const CString& caption);

class TColorDialog {
public:
    explicit TColorDialog(COLORREF initial = 0, DWORD flags = 0, HWND owner = nullptr);

    // The program's sixteen custom colours are offered and kept.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc = {};
};

class TFileDialog {
public:
    // filter: "description|pattern|" pairs.
    TFileDialog(bool open, const CString& defaultExtension = CString(), const CString& fileName = CString(),
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const CString& filter = CString(),
                HWND owner = nullptr);

    void SetTitle(const CString& value) { title = value; }
    INT_PTR DoModal();
    CString GetPathName() const { return CString(path.data()); }

    OPENFILENAMEW m_ofn = {};

private:
    bool open;
    CString defaultExtension;
    std::wstring filter;
    CString title;
    std::vector<wchar_t> path;
};

// The file chooser for a program to run: it opens in `folder` with `fileName` typed (either may be
// empty). The chosen path, or empty when the user cancelled.
CString ChooseProgram(HWND owner, const CString& title, const CString& filter, const CString& folder,
                      const CString& fileName);

class TFolderDialog {
public:
    explicit TFolderDialog(HWND owner) : owner(owner) {}

    void SetFolder(const CString& value) { initialFolder = value; }
    void SetTitle(const CString& value) { title = value; }
    CString GetFolder() const { return folder; }
    CString GetInitialFolder() const { return initialFolder; }
    INT_PTR DoModal();

    bool allowNewFolder = true;

private:
    HWND owner;
    CString initialFolder;
    CString title;
    CString folder;
};
