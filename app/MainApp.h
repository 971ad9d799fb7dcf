#pragma once
// The application object: for now an empty main window titled "Ketroval".

#include "classlib/App.h"
#include "classlib/Wnd.h"

class CMainWindow : public CWnd {
public:
    BOOL Create();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CMainApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CMainWindow* m_mainWindow = nullptr;
};
