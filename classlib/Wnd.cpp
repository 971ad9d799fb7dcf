#include "classlib/Wnd.h"

#include "classlib/App.h"
#include "classlib/MsgMap.h"

#include <functional>

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Windows belong to the thread that made them, so the handle map is per thread.
thread_local std::unordered_map<HWND, CWnd*> t_windows;
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_hook = nullptr;

// The handlers running now, outermost first; each call has a number of its own, so a handler that
// returned is not taken for a later one at the same depth.
struct TRunningCall {
    HWND hwnd;
    unsigned long long call;
};
thread_local std::vector<TRunningCall> t_running;
thread_local unsigned long long t_calls = 0;

} // namespace

// Whether the window is the top one or inside it: its child, or a window it owns, at any depth.
static bool IsWithin(HWND inner, HWND top)
{
    for (HWND up = inner; up;
         up = (::GetWindowLongPtrW(up, GWL_STYLE) & WS_CHILD) ? ::GetParent(up) : ::GetWindow(up, GW_OWNER))
        if (up == top)
            return true;
    return false;
}

TRunningHandler AfxFindRunningHandler(HWND window)
{
    for (size_t i = 0; i < t_running.size(); i++)
        if (IsWithin(t_running[i].hwnd, window))
            return {i + 1, t_running[i].call};
    return {};
}

bool AfxIsHandlerRunning(const TRunningHandler& handler)
{
    return handler.depth && handler.depth <= t_running.size() && t_running[handler.depth - 1].call == handler.call;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    auto it = t_windows.find(hwnd);
    return it == t_windows.end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    t_windows[hwnd] = this;
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc != AfxWndProc)
        m_superProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
}

// Catches the window before its first message, also for system classes (edit, list view).
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd && t_creating) {
        wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(hwnd);
    }
    if (!wnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    t_running.push_back({hwnd, ++t_calls});
    LRESULT result = wnd->Dispatch(message, wParam, lParam);
    t_running.pop_back();
    return result;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        HWND hwnd = m_hWnd;
        t_windows.erase(hwnd);
        if (m_superProc)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
        m_hWnd = nullptr;
        m_superProc = nullptr;
        PostNcDestroy();
    }
    return result;
}

CWnd::~CWnd()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param)
{
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = (LONG)style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hwnd = AfxCreateAttached(this, [&] {
        return CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                               cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    });
    if (hwnd)
        return TRUE;
    // Refused after the object was attached. If WM_NCDESTROY already came, PostNcDestroy may have
    // deleted this object, so touch it only while a window still maps to it.
    for (auto it = t_windows.begin(); it != t_windows.end(); ++it)
        if (it->second == this) {
            t_windows.erase(it);
            m_hWnd = nullptr;
            break;
        }
    return FALSE;
}

HWND AfxCreateAttached(CWnd* wnd, const std::function<HWND()>& create)
{
    CWnd* outer = t_creating;
    HHOOK outerHook = t_hook;
    t_creating = wnd;
    t_hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    HWND hwnd = create();
    if (t_hook)
        UnhookWindowsHookEx(t_hook);
    t_hook = outerHook;
    t_creating = outer;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return FALSE;
    Attach(hwnd);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND hwnd = m_hWnd;
    bool mapped = FromHandlePermanent(hwnd) == this;
    BOOL ok = ::DestroyWindow(hwnd);
    // PostNcDestroy may have deleted this object: touch it only while the window still maps to it.
    // A window of another thread cannot be destroyed from here; forget it all the same.
    if (!mapped || FromHandlePermanent(hwnd) == this) {
        t_windows.erase(hwnd);
        m_hWnd = nullptr;
    }
    return ok;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result))
        return result;
    if (ProcessWindowMessage(message, wParam, lParam, result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

// The control's own object sees its notification first, so a control class keeps its
// behaviour whichever parent it is put in.
BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = (HWND)lParam;
        break;
    case WM_NOTIFY:
        child = ((NMHDR*)lParam)->hwndFrom;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = (HWND)lParam;
        break;
    case WM_DRAWITEM:
        if (((DRAWITEMSTRUCT*)lParam)->CtlType != ODT_MENU)
            child = ((DRAWITEMSTRUCT*)lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (((MEASUREITEMSTRUCT*)lParam)->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, (int)((MEASUREITEMSTRUCT*)lParam)->CtlID);
        break;
    default:
        return FALSE;
    }
    CWnd* wnd = child && child != m_hWnd ? FromHandlePermanent(child) : nullptr;
    return wnd && wnd->ProcessWindowMessage(KV_REFLECTED(message), wParam, lParam, result);
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

CString CWindow::GetWindowText() const
{
    CString text;
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0)
        return text;
    int got = ::GetWindowTextW(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer(got > 0 ? got : 0);
    return text;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

namespace {

bool RegisterClassOnce(LPCWSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSW wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

BOOL AfxRegisterNamedClass(LPCWSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background)
{
    WNDCLASSW known = {};
    if (GetClassInfoW(AfxGetInstanceHandle(), name, &known))
        return TRUE;
    return RegisterClassOnce(name, classStyle, cursor, background, nullptr);
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::set<std::wstring> registered;
    wchar_t name[96];
    wsprintfW(name, L"Kv2:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), classStyle, (void*)cursor, (void*)background,
              (void*)icon);
    auto it = registered.find(name);
    if (it != registered.end())
        return it->c_str();
    if (!RegisterClassOnce(name, classStyle, cursor, background, icon))
        return nullptr;
    return registered.insert(name).first->c_str();
}
