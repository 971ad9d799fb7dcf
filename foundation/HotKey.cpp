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
    // Active only while the system holds the key for us: a combination another program took
    // stays inactive, and is neither unregistered later nor counted as ours.
    // No key (a cleared hot-key control) is no hot key, not the modifiers alone.
    if (newActive)
        active = key != 0 && RegisterHotKey(window, kHotKeyId, ToRegisterModifiers(modifiers), key) != FALSE;
    else {
        UnregisterHotKey(window, kHotKeyId);
        active = false;
    }
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
