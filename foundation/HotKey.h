#pragma once
// The one system-wide hot key that brings the main window forward.

#include <windows.h>

class THotKeyManager {
public:
    THotKeyManager() = default;
    THotKeyManager(const THotKeyManager&) = delete;
    THotKeyManager& operator=(const THotKeyManager&) = delete;
    virtual ~THotKeyManager();

    // modifiers as a hot-key control reports them (1 Shift, 2 Ctrl, 4 Alt); set while inactive.
    void SetHotKey(HWND target, WORD hotKeyModifiers, WORD virtualKey);
    void SetActive(bool newActive);
    bool IsActive() const { return active; }

    // Hot-key-control modifier bits to RegisterHotKey's MOD_ bits.
    static UINT ToRegisterModifiers(WORD hotKeyModifiers);

    static const int kHotKeyId = 1;

private:
    HWND window = nullptr;
    WORD modifiers = 0;
    WORD key = 0;
    bool active = false;
};
