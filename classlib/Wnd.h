#pragma once
// CWnd: a window handle plus the object that receives its messages.

#include "classlib/Window.h"

#include <functional>

class CWnd : public CWindow {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The object is attached before WM_NCCREATE, so messages sent during creation reach it.
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, HWND parent,
                  UINT id)
    {
        return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, (HMENU)(UINT_PTR)id);
    }
    virtual BOOL DestroyWindow();
    // Takes over a window made elsewhere (a dialog's control); given back when it is destroyed.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

    // Runs the message map, gives notifications to the child they come from, then the default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Written by the macros of classlib/MsgMap.h; true when an entry handled the message.
    virtual BOOL ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return FALSE; }
    // Sees a queued message before it is dispatched; true drops it.
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }
    // May change the creation styles and class before the window is made.
    virtual BOOL PreCreateWindow(CREATESTRUCTW&) { return TRUE; }

    // The object that owns a window, or null for windows we did not create.
    static CWnd* FromHandlePermanent(HWND hwnd);

protected:
    // Called after the window is gone (WM_NCDESTROY); windows that own themselves delete here.
    virtual void PostNcDestroy() {}

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK CreationHook(int, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    WNDPROC m_superProc = nullptr; // the class's own procedure when we subclassed a system class
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class served by CWnd objects and returns its name.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
// Registers a named class like AfxRegisterWndClass's; false when the system refuses the name.
BOOL AfxRegisterNamedClass(LPCWSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background);

// Runs create() with wnd attached to the first window it makes, as CreateEx does; for windows
// the system makes for us (dialogs from templates).
HWND AfxCreateAttached(CWnd* wnd, const std::function<HWND()>& create);

// One running window handler of this thread: where it sits among the handlers running one inside
// another, and which call it is there.
struct TRunningHandler {
    size_t depth = 0; // 0: none
    unsigned long long call = 0;
};
// The outermost handler now running of the window or of a window inside it, a child or a window
// it owns (a page's chooser runs in the page), so an owner can tell whether freeing the object
// would pull it from under code still to return; depth 0 when none runs.
TRunningHandler AfxFindRunningHandler(HWND window);
// Whether that handler has not returned yet.
bool AfxIsHandlerRunning(const TRunningHandler& handler);

// Offers a queued message to the PreTranslateMessage of its window and of each parent up to
// the top-level window; true when one of them took it.
BOOL AfxPreTranslateMessage(MSG* msg);
