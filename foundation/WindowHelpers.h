#pragma once
// Pulling a window forward past another program's foreground, flashing captions, and the two
// visual-style calls bound at run time so the program runs where the theme library is absent.

#include <windows.h>

// Each makes its platform call, attached to the foreground thread's input when another thread
// owns the foreground, and returns the call's result.
BOOL ForceBringWindowToTop(HWND window);
BOOL ForceSetForegroundWindow(HWND window);
HWND ForceSetActiveWindow(HWND window);
// To the top and into the foreground, the two calls above.
void ForceToFront(HWND window);
// Brings back a kept modeless window: restored when minimised, else shown normally; then to the
// top with the focus.
void BringBackWindow(HWND window);
// Moves the window, keeping its size, so that its centre is the owner's.
void CentreWindowOn(HWND window, HWND owner);
// The same on the work area of the primary screen, for a window whose owner is not on screen
// (minimised, hidden or not there).
void CentreWindowOnWorkArea(HWND window);

class TWindowFlasher {
public:
    explicit TWindowFlasher(HWND window = nullptr) : window(window) {}

    void SetWindow(HWND newWindow) { window = newWindow; }
    // A short flash; nothing while a flash or blinking is under way.
    void FlashTitle();
    // Blinks until RestoreTitle.
    void BlinkTitle();
    void RestoreTitle();

    bool IsBlinking() const { return blinking; }

private:
    HWND window;
    bool flashing = false;
    bool blinking = false;
};

typedef HANDLE HTHEME_HANDLE;

// Closes the held theme handle, if any, and clears it.
void CloseThemeHandle(HTHEME_HANDLE* theme);
// Gives a property-sheet page the tab-control background; E_FAIL without the theme library.
HRESULT EnableTabDialogTexture(HWND window);
