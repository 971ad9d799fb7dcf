#include "foundation/WindowHelpers.h"

#include "classlib/Wnd.h"

#include <gtest/gtest.h>

namespace {
class WindowFlasherTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        window.CreateEx(0, AfxRegisterWndClass(0), L"flash", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
        ASSERT_NE(nullptr, window.GetSafeHwnd());
        flasher.SetWindow(window);
    }

    CWnd window;
    TWindowFlasher flasher;
};
} // namespace

TEST_F(WindowFlasherTest, ShortFlashTurnsIntoBlinkingAndRestoreEndsBoth)
{
    flasher.FlashTitle();
    EXPECT_TRUE(flasher.IsFlashing());
    flasher.BlinkTitle();
    EXPECT_FALSE(flasher.IsFlashing());
    EXPECT_TRUE(flasher.IsBlinking());
    // A short flash does not interrupt blinking.
    flasher.FlashTitle();
    EXPECT_FALSE(flasher.IsFlashing());
    flasher.RestoreTitle();
    EXPECT_FALSE(flasher.IsFlashing());
    EXPECT_FALSE(flasher.IsBlinking());
    flasher.FlashTitle();
    EXPECT_TRUE(flasher.IsFlashing());
}
