#pragma once
// The real Ketroval2.exe, copied into a fresh program folder with prepared settings, started as
// a user starts it and looked at from outside: its windows, its files and its exit code.

#include "classlib/String.h"
#include "tests/common/IniText.h"
#include "tests/common/TempFolder.h"

#include <windows.h>

#include <string>
#include <vector>

class TProgramRun {
public:
    TProgramRun();
    ~TProgramRun();

    CString ProgramFolder() const { return folder.path; }
    // The settings folder of a profile; the default one is made with the run.
    CString SettingsFolder(const wchar_t* profile = L"default") const
    {
        return folder.path + L"users\\" + profile + L"\\settings\\";
    }
    CString LogFolder() const { return folder.path + L"logs\\"; }
    CString ScriptFolder() const { return folder.path + L"users\\default\\scripts\\"; }
    // Into the settings folder of that profile (the command line's "user"), made when missing.
    void WriteSettings(const wchar_t* name, const std::string& text, const wchar_t* profile = L"default");
    std::string ReadSettings(const wchar_t* name) const;

    // Starts another process of the program; false when it could not be started.
    bool Start(const wchar_t* arguments = L"");
    // The newest process's main window once it is shown; null when none came in time.
    HWND WaitMainWindow(DWORD timeoutMs = 15000);
    // A shown top-level window of the newest process with that title; null when none came in time.
    HWND WaitWindow(const CString& title, DWORD timeoutMs = 10000);
    // A top-level window of the newest process with that title, shown or hidden; null when none.
    HWND FindWindowTitled(const CString& title) const;
    // A shown top-level window of the newest process holding a control of that id; null when none
    // came in time.
    HWND WaitDialogWith(int controlId, DWORD timeoutMs = 15000);
    // The exit code once the newest process ended, or -1 when it still runs after the time.
    int WaitExit(DWORD timeoutMs);
    DWORD ProcessId() const { return info.dwProcessId; }
    // Ends every started process that still runs.
    void KillAll();

private:
    TTempFolder folder;
    CString program;
    PROCESS_INFORMATION info = {};
    std::vector<HANDLE> processes;
};

// Descendants of the window with this class name, in creation (z) order.
std::vector<HWND> FindChildren(HWND parent, const wchar_t* className);
// The text of a window of any process, asked of the window itself (an edit's contents).
CString WindowText(HWND window);
