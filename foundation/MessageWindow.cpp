#include "foundation/MessageWindow.h"

TMessageWindow::~TMessageWindow()
{
    listener = nullptr;
    DestroyWindow();
}

void TMessageWindow::Create(IMessageWindowListener* newListener)
{
    listener = newListener;
    LPCWSTR cls = AfxRegisterWndClass(0);
    CreateEx(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr);
}

LRESULT TMessageWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!listener)
        return CWnd::WindowProc(message, wParam, lParam);
    TWindowMessage msg = {message, wParam, lParam, 0};
    listener->OnMessage(msg);
    return msg.result;
}

HWND THiddenWindow::Create()
{
    if (!window) {
        window = new TMessageWindow;
        window->Create(listener);
    }
    return window->m_hWnd;
}

void THiddenWindow::Destroy()
{
    if (!window)
        return;
    // Cleared first: a message sent while the window goes must not reach a closing owner.
    window->listener = nullptr;
    delete window;
    window = nullptr;
}

LRESULT THiddenWindow::Default(const TWindowMessage& msg) const
{
    return window ? window->DefWindowProc(msg.message, msg.wParam, msg.lParam) : 0;
}
