#include "app/MainApp.h"

#include <commctrl.h>

CMainApp theApp;

BOOL CMainWindow::Create()
{
    LPCWSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW),
                                      (HBRUSH)(COLOR_WINDOW + 1), LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION));
    return CreateEx(0, cls, L"Ketroval", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr,
                    nullptr);
}

LRESULT CMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CMainApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    m_mainWindow = new CMainWindow;
    if (!m_mainWindow->Create())
        return FALSE;
    m_pMainWnd = m_mainWindow;
    m_mainWindow->ShowWindow(m_nCmdShow);
    m_mainWindow->UpdateWindow();
    return TRUE;
}

int CMainApp::ExitInstance()
{
    m_pMainWnd = nullptr;
    delete m_mainWindow;
    m_mainWindow = nullptr;
    return CWinApp::ExitInstance();
}
