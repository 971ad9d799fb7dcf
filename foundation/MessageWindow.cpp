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
