#include "foundation/WindowHelpers.h"

#include "foundation/WindowsVersion.h"

namespace {
const DWORD kFlashAll = 3;   // FLASHW_ALL: caption and task-bar button
const DWORD kFlashTimer = 4; // FLASHW_TIMER
const DWORD kFlashStop = 0;  // FLASHW_STOP
const DWORD kTabTexture = 6; // ETDT_ENABLE | ETDT_USETABTEXTURE

template <typename Result, typename Call> Result CallAttached(HWND window, Call call)
{
    DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (windowThread == foregroundThread)
        return call(window);
    AttachThreadInput(windowThread, foregroundThread, TRUE);
    Result result = call(window);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
    return result;
}

void Flash(HWND window, DWORD flags, UINT count, DWORD timeout)
{
    FLASHWINFO info = {sizeof(FLASHWINFO), window, flags, count, timeout};
    FlashWindowEx(&info);
}

HMODULE ThemeLibrary()
{
    // One attempt per process; the library stays loaded.
    static bool tried = false;
    static HMODULE lib = nullptr;
    if (!tried) {
        tried = true;
        lib = LoadLibraryW(L"UxTheme.dll");
    }
    return lib;
}

typedef HRESULT(WINAPI* CloseThemeDataProc)(HANDLE);
typedef HRESULT(WINAPI* EnableThemeDialogTextureProc)(HWND, DWORD);

HRESULT WINAPI CloseThemeDataMissing(HANDLE) { return E_FAIL; }
HRESULT WINAPI EnableThemeDialogTextureMissing(HWND, DWORD) { return E_FAIL; }

template <typename Proc> Proc BindTheme(const char* name, Proc fallBack)
{
    HMODULE lib = ThemeLibrary();
    FARPROC found = lib ? GetProcAddress(lib, name) : nullptr;
    return found ? reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found)) : fallBack;
}
} // namespace

BOOL ForceBringWindowToTop(HWND window) { return CallAttached<BOOL>(window, BringWindowToTop); }

BOOL ForceSetForegroundWindow(HWND window) { return CallAttached<BOOL>(window, SetForegroundWindow); }

HWND ForceSetActiveWindow(HWND window) { return CallAttached<HWND>(window, SetActiveWindow); }

void ForceToFront(HWND window)
{
    ForceBringWindowToTop(window);
    ForceSetForegroundWindow(window);
}

void TWindowFlasher::FlashTitle()
{
    if (flashing || blinking)
        return;
    DWORD timeout = TWindowsVersion::GetInstance().GetVersionCode() < WINDOWS_XP ? 1 : 1000;
    Flash(window, kFlashAll | kFlashTimer, 1, timeout);
    flashing = true;
}

void TWindowFlasher::BlinkTitle()
{
    if (blinking)
        return;
    Flash(window, kFlashAll | kFlashTimer, 0, 1000);
    flashing = false;
    blinking = true;
}

void TWindowFlasher::RestoreTitle()
{
    Flash(window, kFlashStop, 0, 1);
    flashing = false;
    blinking = false;
}

void CloseThemeHandle(HTHEME_HANDLE* theme)
{
    static CloseThemeDataProc closeTheme = nullptr;
    if (!theme || !*theme)
        return;
    if (!closeTheme)
        closeTheme = BindTheme<CloseThemeDataProc>("CloseThemeData", &CloseThemeDataMissing);
    closeTheme(*theme);
    *theme = nullptr;
}

HRESULT EnableTabDialogTexture(HWND window)
{
    static EnableThemeDialogTextureProc enableTexture = nullptr;
    if (!enableTexture)
        enableTexture =
            BindTheme<EnableThemeDialogTextureProc>("EnableThemeDialogTexture", &EnableThemeDialogTextureMissing);
    return enableTexture(window, kTabTexture);
}

void BringBackWindow(HWND window)
{
    if (::IsIconic(window))
        ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    else
        ::ShowWindow(window, SW_SHOWNORMAL);
    ::BringWindowToTop(window);
    ::SetFocus(window);
}

namespace {

void CentreWindowIn(HWND window, const RECT& outer)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    int x = outer.left + ((outer.right - outer.left) - (rect.right - rect.left)) / 2;
    int y = outer.top + ((outer.bottom - outer.top) - (rect.bottom - rect.top)) / 2;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void CentreWindowOn(HWND window, HWND owner)
{
    RECT outer = {};
    ::GetWindowRect(owner, &outer);
    CentreWindowIn(window, outer);
}

void CentreWindowOnWorkArea(HWND window)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CentreWindowIn(window, work);
}
