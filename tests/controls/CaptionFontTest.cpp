#include "classlib/Wnd.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *(bool*)found = true;
    return 0;
}

} // namespace

// Wine draws the minimise, maximise and close buttons with the symbol font; without it they
// show as letters. The picture is kept to be looked at.
TEST(CaptionFont, SymbolFontOfTheCaptionButtonsIsThere)
{
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcscpy(wanted.lfFaceName, L"Marlett");
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFace, (LPARAM)&found, 0);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(found);

    CWnd window;
    ASSERT_TRUE(CreateTopmostWindow(window, L"キャプション", 500, 300, 300, 120));
    PumpPendingMessages();
    SaveWindowPng(window, L"screenshots\\caption_buttons.png");
}
