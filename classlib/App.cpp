#include "classlib/App.h"

#include "classlib/IdleWork.h"
#include "classlib/MsgMap.h"
#include "classlib/Wnd.h"

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;

} // namespace

CWinApp::CWinApp()
{
    g_app = this;
    m_hInstance = GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) { return AfxPreTranslateMessage(msg); }

BOOL CWinApp::OnIdle(LONG count)
{
    CWnd* main = m_pMainWnd;
    if (count == 0 && main && main->m_hWnd)
        main->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    return RunIdleWork();
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        LONG idleCount = 0;
        while (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = (int)msg.wParam;
            break;
        }
        if (got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_resources ? g_resources : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE instance) { g_resources = instance; }

int AfxWinMain(HINSTANCE instance, LPWSTR cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

COLORREF* AfxGetCustomColors()
{
    static COLORREF colors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                  0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return colors;
}
