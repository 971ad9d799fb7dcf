#include "foundation/HotKey.h"

#include <commctrl.h>

THotKeyManager::~THotKeyManager()
{
    if (active)
        UnregisterHotKey(window, kHotKeyId);
}

void THotKeyManager::SetHotKey(HWND target, WORD hotKeyModifiers, WORD virtualKey)
{
    window = target;
    modifiers = hotKeyModifiers;
    key = virtualKey;
}

void THotKeyManager::SetActive(bool newActive)
{
    if (newActive == active)
        return;
    active = newActive;
    // A combination taken by another program is not reported; we still count as active.
    if (active)
        RegisterHotKey(window, kHotKeyId, ToRegisterModifiers(modifiers), key);
    else
        UnregisterHotKey(window, kHotKeyId);
}

UINT THotKeyManager::ToRegisterModifiers(WORD hotKeyModifiers)
{
    UINT mods = 0;
    if (hotKeyModifiers & HOTKEYF_SHIFT)
        mods |= MOD_SHIFT;
    if (hotKeyModifiers & HOTKEYF_CONTROL)
        mods |= MOD_CONTROL;
    if (hotKeyModifiers & HOTKEYF_ALT)
        mods |= MOD_ALT;
    return mods;
}
