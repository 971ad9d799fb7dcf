#include "foundation/WindowsVersion.h"

int GetWindowsVersionCode(DWORD platformId, DWORD major, DWORD minor, DWORD build)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32s:
        return build == 1381 ? WINDOWS_NT4 : WINDOWS_UNKNOWN;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major < 4)
            return WINDOWS_UNKNOWN;
        if (major > 4)
            return WINDOWS_9X_LATER;
        if (minor == 0)
            return WINDOWS_95;
        return minor <= 10 ? WINDOWS_98 : WINDOWS_ME;
    case VER_PLATFORM_WIN32_NT:
        if (major == 0)
            return build == 1381 ? WINDOWS_NT4 : WINDOWS_UNKNOWN;
        if (major < 4)
            return WINDOWS_UNKNOWN;
        if (major == 4)
            return WINDOWS_NT4;
        if (major == 5)
            return minor == 0 ? WINDOWS_2000 : minor == 1 ? WINDOWS_XP : WINDOWS_NT_LATER;
        if (major == 6 && minor == 0)
            return WINDOWS_VISTA;
        return WINDOWS_NT_LATER;
    default:
        return WINDOWS_OTHER_PLATFORM;
    }
}

TWindowsVersion::TWindowsVersion()
{
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) {
        info = {};
        info.dwOSVersionInfoSize = sizeof info;
    }
}

TWindowsVersion& TWindowsVersion::GetInstance()
{
    static TWindowsVersion instance;
    return instance;
}

int TWindowsVersion::GetVersionCode() const
{
    return GetWindowsVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
}
