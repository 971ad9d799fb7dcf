#pragma once
// CWinApp: the one application object, its start-up hook and the message loop.

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Returning FALSE ends the program before the message loop runs.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance() { return m_exitCode; }
    // Chance to handle a queued message before it is translated and dispatched; by default the
    // message's window and its parents see it (AfxPreTranslateMessage).
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called while the queue is empty, count 0 first; true asks for another call. The first
    // call lets the main window update its tool bar (WM_IDLEUPDATECMDUI); each runs the queued
    // idle work (classlib/IdleWork.h).
    virtual BOOL OnIdle(LONG count);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

protected:
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);

// Body of the program's wWinMain: runs the application object's start-up and message loop.
int AfxWinMain(HINSTANCE instance, LPWSTR cmdLine, int cmdShow);

// The colour dialog's sixteen saved custom colours, shared by every colour dialog of the process.
COLORREF* AfxGetCustomColors();
