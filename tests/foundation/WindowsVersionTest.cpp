#include "foundation/WindowsVersion.h"

#include <gtest/gtest.h>

TEST(WindowsVersion, CodesFollowTheReleaseOrder)
{
    struct Case {
        DWORD platform, major, minor, build;
        int code;
    } cases[] = {
        {0, 3, 10, 0, 0},    {0, 3, 10, 1381, 5}, {1, 3, 0, 0, 0},      {1, 4, 0, 950, 1},  {1, 4, 10, 1998, 2},
        {1, 4, 1, 0, 2},     {1, 4, 90, 3000, 3}, {1, 5, 0, 0, 4},      {2, 0, 0, 1381, 5}, {2, 0, 0, 1057, 0},
        {2, 3, 51, 1057, 0}, {2, 4, 0, 1381, 5},  {2, 5, 0, 2195, 6},   {2, 5, 1, 2600, 7}, {2, 5, 2, 3790, 9},
        {2, 6, 0, 6000, 8},  {2, 6, 1, 7601, 9},  {2, 10, 0, 19045, 9}, {3, 5, 1, 0, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetWindowsVersionCode(c.platform, c.major, c.minor, c.build), c.code)
            << c.platform << " " << c.major << "." << c.minor << " build " << c.build;
}

TEST(WindowsVersion, RunningSystemIsReadOnce)
{
    TWindowsVersion& version = TWindowsVersion::GetInstance();
    EXPECT_EQ(&version, &TWindowsVersion::GetInstance());
    const OSVERSIONINFOW& info = version.GetVersionInfo();
    EXPECT_EQ(info.dwPlatformId, (DWORD)VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(version.GetVersionCode(),
              GetWindowsVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber));
    EXPECT_GE(version.GetVersionCode(), WINDOWS_XP);
}
