#pragma once
// CWnd: a window handle plus the object that receives its messages.

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The object is attached before WM_NCCREATE, so messages sent during creation reach it.
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    // The object that owns a window, or null for windows we did not create.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND m_hWnd = nullptr;

protected:
    // Called after the window is gone (WM_NCDESTROY); windows that own themselves delete here.
    virtual void PostNcDestroy() {}

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK CreationHook(int, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superProc = nullptr; // the class's own procedure when we subclassed a system class
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class served by CWnd objects and returns its name.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
