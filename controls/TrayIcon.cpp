#include "controls/TrayIcon.h"

#include "foundation/IrcMarkup.h"
#include "foundation/WindowHelpers.h"
#include "foundation/WindowsVersion.h"
#include "res/resource.h"

#include <algorithm>

namespace {

// Limits of the shell's fields, counted in UTF-16 units.
const int kTipLimitOnAdd = 62;
const int kTipLimitOnChange = 30;
const int kBalloonTitleLimit = 62;
const int kBalloonTextLimit = 254;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

} // namespace

void CopyCutText(wchar_t* field, size_t fieldSize, const CString& text, int limit)
{
    int n = std::min({text.GetLength(), limit, (int)fieldSize - 1});
    if (n > 0 && n < text.GetLength() && IsHighSurrogate(text[n - 1]))
        n--;
    std::copy(text.GetString(), text.GetString() + n, field);
    field[n] = 0;
}

TTrayIcon::TTrayIcon()
{
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.uID = 0;
    data.uCallbackMessage = WM_TRAYICON;
    data.uVersion = NOTIFYICON_VERSION;
    // The shell's answer does not matter: the callbacks are read the same way either way.
    Notify(NIM_SETVERSION, data);
}

TTrayIcon::~TTrayIcon()
{
    // Calls from here reach this class's Notify only.
    if (present)
        TTrayIcon::Notify(NIM_DELETE, data);
    for (HICON icon : icons)
        if (icon)
            ::DestroyIcon(icon);
}

void TTrayIcon::Create(HWND ownerWindow)
{
    owner = ownerWindow;
    newerIconSet = TWindowsVersion::GetInstance().GetVersionCode() >= WINDOWS_XP;
    const UINT kNewer[3] = {IDI_TRAY_NORMAL, IDI_TRAY_NEW_MESSAGE, IDI_TRAY_HIGHLIGHT};
    const UINT kOlder[3] = {IDI_TRAY_NORMAL_OLD, IDI_TRAY_NEW_MESSAGE_OLD, IDI_TRAY_HIGHLIGHT_OLD};
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < 3; i++)
        icons[i] =
            (HICON)::LoadImageW(module, MAKEINTRESOURCEW(newerIconSet ? kNewer[i] : kOlder[i]), IMAGE_ICON, 16, 16, 0);
    window.Create(this);
    data.hWnd = window.m_hWnd;
}

HICON TTrayIcon::GetCurrentIcon() const
{
    if (highlightAlert)
        return icons[2];
    return newMessageAlert ? icons[1] : icons[0];
}

BOOL TTrayIcon::Notify(DWORD message, NOTIFYICONDATAW& record) { return ::Shell_NotifyIconW(message, &record); }

void TTrayIcon::AddIcon()
{
    if (!enabled || present)
        return;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = GetCurrentIcon();
    CopyCutText(data.szTip, ARRAYSIZE(data.szTip), toolTip, kTipLimitOnAdd);
    data.szInfoTitle[0] = 0;
    data.szInfo[0] = 0;
    present = Notify(NIM_ADD, data) != FALSE;
}

void TTrayIcon::RemoveIcon()
{
    Notify(NIM_DELETE, data);
    present = false;
}

void TTrayIcon::SetEnabled(bool on)
{
    if (on == enabled)
        return;
    enabled = on;
    if (on) {
        if (!onlyWhenMinimized || ownerMinimized)
            AddIcon();
        return;
    }
    newMessageAlert = false;
    highlightAlert = false;
    RemoveIcon();
}

void TTrayIcon::SetShowOnlyWhenMinimized(bool on)
{
    if (on == onlyWhenMinimized)
        return;
    onlyWhenMinimized = on;
    if (on && !ownerMinimized)
        RemoveIcon();
    else if (on || !ownerMinimized)
        AddIcon();
}

void TTrayIcon::SetToolTip(const CString& text)
{
    if (text == toolTip)
        return;
    toolTip = text;
    if (!present)
        return;
    data.uFlags = NIF_TIP;
    CopyCutText(data.szTip, ARRAYSIZE(data.szTip), toolTip, kTipLimitOnChange);
    Notify(NIM_MODIFY, data);
}

void TTrayIcon::ShowBalloon(const CString& title, const CString& text)
{
    balloonTitle = title;
    balloonText = text;
    if (!present)
        return;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_NONE;
    // Both empty: the shell takes the balloon on screen away.
    CopyCutText(data.szInfoTitle, ARRAYSIZE(data.szInfoTitle), title, kBalloonTitleLimit);
    CopyCutText(data.szInfo, ARRAYSIZE(data.szInfo), text, kBalloonTextLimit);
    data.uTimeout = 1000;
    Notify(NIM_MODIFY, data);
}

void TTrayIcon::ShowNotice(const CString& title, const CString& text)
{
    BOOL saverRunning = FALSE;
    if (::SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &saverRunning, 0) && saverRunning)
        return;
    ShowBalloon(StripControlCodes(title), StripControlCodes(text));
}

void TTrayIcon::UpdateIcon()
{
    if (!present)
        return;
    data.uFlags = NIF_ICON;
    data.hIcon = GetCurrentIcon();
    Notify(NIM_MODIFY, data);
}

void TTrayIcon::OnTaskbarCreated()
{
    // The message also comes while the old icon is still there; adding it again would fail.
    RemoveIcon();
    if (enabled && (!onlyWhenMinimized || ownerMinimized))
        AddIcon();
}

void TTrayIcon::OnMessage(TWindowMessage& msg)
{
    if (msg.message == WM_TRAYICON && msg.wParam == 0) {
        switch ((UINT)msg.lParam) {
        case WM_LBUTTONUP:
            OnLeftButtonUp();
            break;
        case WM_RBUTTONUP:
            ShowMenu();
            break;
        case NIN_BALLOONUSERCLICK:
            BringOwnerToFront();
            PostRestore();
            break;
        }
    }
    msg.result = window.DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

void TTrayIcon::BringOwnerToFront()
{
    if (!::IsIconic(owner)) {
        ForceToFront(owner);
    } else {
        ::BringWindowToTop(owner);
        ::SetForegroundWindow(owner);
    }
}

// A window on screen is only brought forward: the system's restore would take a maximised one
// back to its normal size.
void TTrayIcon::PostRestore()
{
    if (::IsIconic(owner) || !::IsWindowVisible(owner))
        ::PostMessageW(owner, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TTrayIcon::OnLeftButtonUp()
{
    BringOwnerToFront();
    DWORD now = ::GetTickCount();
    // The difference, not the sum, so the test holds across the tick count's wrap.
    if (restoreOnSingleClick || (lastClickTime && now - lastClickTime < ::GetDoubleClickTime()))
        PostRestore();
    else
        lastClickTime = now;
}

void TTrayIcon::ShowMenu()
{
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_POPUP));
    if (!menu)
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    // The menu only closes on a click elsewhere when its owner is the foreground window.
    ::SetForegroundWindow(owner);
    MSG pending;
    while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
        if (pending.message == WM_QUIT) {
            ::PostQuitMessage((int)pending.wParam);
            break;
        }
        ::TranslateMessage(&pending);
        ::DispatchMessageW(&pending);
    }
    ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    ::DestroyMenu(menu);
    ::PostMessageW(owner, WM_NULL, 0, 0);
}
