#pragma once
// The running Windows version reduced to one ordered code, so callers can ask "XP or later"
// with a single comparison.

#include <windows.h>

enum {
    WINDOWS_UNKNOWN = 0,
    WINDOWS_95 = 1,
    WINDOWS_98 = 2,
    WINDOWS_ME = 3,
    WINDOWS_9X_LATER = 4,
    WINDOWS_NT4 = 5,
    WINDOWS_2000 = 6,
    WINDOWS_XP = 7,
    WINDOWS_VISTA = 8,
    WINDOWS_NT_LATER = 9,
    WINDOWS_OTHER_PLATFORM = 10,
};

// The code for a version record's numbers; the record itself is only read through this.
int GetWindowsVersionCode(DWORD platformId, DWORD major, DWORD minor, DWORD build);

class TWindowsVersion {
public:
    TWindowsVersion(const TWindowsVersion&) = delete;
    TWindowsVersion& operator=(const TWindowsVersion&) = delete;
    virtual ~TWindowsVersion() = default;

    // Filled on the first call and kept until the process ends.
    static TWindowsVersion& GetInstance();

    int GetVersionCode() const;
    const OSVERSIONINFOW& GetVersionInfo() const { return info; }

private:
    TWindowsVersion();

    OSVERSIONINFOW info = {};
};
