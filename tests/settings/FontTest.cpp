#include "settings/Font.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(FontTest, HeightIsNegativeAndFollowsTheDisplayResolution)
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(TFont::PointsToHeight(100), -MulDiv(100, dpi, 720));
    EXPECT_EQ(TFont::PointsToHeight(-100), -MulDiv(100, dpi, 720));
    EXPECT_EQ(TFont::PointsToHeight(0), 0);
}

TEST(FontTest, CreateHandleCutsTheFaceNameAndAsksForClearType)
{
    TFont font;
    font.SetFaceName(L"A face name that is much longer than thirty-one characters");
    font.size = 120;
    font.logFont.lfWeight = FW_BOLD;
    EXPECT_EQ(font.handle, nullptr);
    font.CreateHandle();
    ASSERT_NE(font.handle, nullptr);
    EXPECT_EQ(CString(font.logFont.lfFaceName), L"A face name that is much longer");
    EXPECT_EQ(font.logFont.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_EQ(font.logFont.lfHeight, TFont::PointsToHeight(120));
    LOGFONTW made = {};
    ASSERT_EQ(GetObjectW(font.handle, sizeof made, &made), (int)sizeof made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
}

TEST(FontTest, AssignCopiesSettingsWithAnExactBoldOrNormalWeight)
{
    TFont source;
    source.SetFaceName(L"Arial");
    source.size = 90;
    source.color = 0x123456;
    source.logFont.lfWeight = 600;
    source.logFont.lfItalic = 5;
    source.logFont.lfUnderline = 1;
    source.logFont.lfCharSet = ANSI_CHARSET;
    TFont target;
    target.CreateHandle();
    target.logFont.lfEscapement = 7;
    target.Assign(source);
    EXPECT_EQ(target.handle, nullptr);
    EXPECT_EQ(target.faceName, L"Arial");
    EXPECT_EQ(target.size, 90);
    EXPECT_EQ(target.color, 0x123456u);
    EXPECT_EQ(target.logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(target.logFont.lfItalic, 1);
    EXPECT_EQ(target.logFont.lfUnderline, 1);
    EXPECT_EQ(target.logFont.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(target.logFont.lfEscapement, 7);
    source.logFont.lfWeight = FW_BOLD;
    target.Assign(source);
    EXPECT_EQ(target.logFont.lfWeight, FW_BOLD);
}

} // namespace
