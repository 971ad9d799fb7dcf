#include "legacy/LegacyView.h"

#include "foundation/CodePage.h"
#include "legacy/LegacyImport.h"
#include "settings/Config.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(LegacyColor, NamesAndTheLastSixHexDigits)
{
    const COLORREF fallback = 0x123456;
    EXPECT_EQ(ParseLegacyColor(L"clRed", fallback), 0x0000FFu);
    EXPECT_EQ(ParseLegacyColor(L"000000FF", fallback), 0x0000FFu);
    EXPECT_EQ(ParseLegacyColor(L"0000FF", fallback), 0x0000FFu);
    EXPECT_EQ(ParseLegacyColor(L"clKetro", fallback), 0x00FF00u);
    EXPECT_EQ(ParseLegacyColor(L"clred", fallback), fallback);
    EXPECT_EQ(ParseLegacyColor(L"", fallback), fallback);
    EXPECT_EQ(ParseLegacyColor(L"clRedish", fallback), 0u);    // misspelt: "Redish" starts with no digit
    EXPECT_EQ(ParseLegacyColor(L"xx12G456", fallback), 0x12u); // reading stops at G
}

class LegacyViewTest : public ::testing::Test {
protected:
    LegacyViewTest()
    {
        settings.SetDefaults();
        settings.formats.SetDefaults();
        defaults = settings;
        preference.Load(temp.path + L"none\\");
    }

    void WriteView(CString body)
    {
        body.Replace(L"\n", L"\r\n");
        ASSERT_TRUE(WriteFileBytes(path, ConvertToCodePage(body, CP_SHIFT_JIS)));
    }

    TTempFolder temp;
    CString path = temp.File(L"テーマ.kvf");
    TViewSettings settings;
    TViewSettings defaults;
    TPreference preference;
};

const wchar_t kDarkView[] = L"[LogBackground]\nTextType=1\nLineMargin=5\n"
                            L"[BkColor]\nLogBkColor=clBlack\nMemBkSelColor=\"00E0E0E0\"\nMemBkSpecialColor=clNavy\n"
                            L"ChBkActiveColor=E0E0E0\nInputBkColor=clSilver\n"
                            L"[ChImageFile]\nCount=3\nChanName0=チャンネルログ\nDrawType0=9\nImageFile0=夜.jpg\n"
                            L"ChanName1=全チャンネルログ\nDrawType1=10\nImageFile1=all.bmp\n"
                            L"ChanName2=トーク\nDrawType2=1\nImageFile2=no.bmp\n"
                            L"[Format]\nSortWithOp=0\nSortWithMask=1\nInvertPanel=1\nEnableTime=false\n"
                            L"MsgJoinChEnabled=false\nTimeFormat=hh:nn:ss\nReplyModeFormat=%c は %m\n"
                            L"MsgJoinFormat=%n が参加\n"
                            L"[Font_Text]\nName=ＭＳ ゴシック\nSize=9\nColor=clRed\nStyle=BU\nCharset=1\n"
                            L"[Font_Reply]\nSize=12\nStyle=I\n"
                            L"[Font_Debug]\nColor=00FF00\nStyle=N\n"
                            L"[Font_PreNick2]\nColor=clBlue\nStyle=B\n"
                            L"[Font_ChListActive]\nColor=clYellow\n";

TEST_F(LegacyViewTest, OldViewFileFillsFontsColoursImagesAndFormats)
{
    WriteView(kDarkView);
    ASSERT_TRUE(ImportLegacyViewFile(path, settings, &preference));

    const TViewLogTextConfig& t = settings.logText;
    EXPECT_EQ(t.shadowKind, 3);
    EXPECT_EQ(t.shadowColor, 0u);
    EXPECT_EQ(settings.channelLogBack.color, 0u);
    EXPECT_EQ(settings.allLogBack.color, 0u);
    EXPECT_EQ(settings.editBackColor, 0xC0C0C0u);
    EXPECT_EQ(settings.channelLogBack.style, 207);
    EXPECT_EQ(settings.channelLogBack.imageFile, L"夜.jpg");
    EXPECT_EQ(settings.allLogBack.style, 206);
    EXPECT_EQ(settings.allLogBack.imageFile, L"all.bmp");

    const TViewFont& text = t.lineFonts[0];
    EXPECT_EQ(text.family, L"ＭＳ ゴシック");
    EXPECT_EQ(text.size, 90);
    EXPECT_EQ(text.color, 0x0000FFu);
    EXPECT_TRUE(text.bold && text.underline && !text.italic && !text.nFlag);
    EXPECT_EQ(text.charset, 1);
    // Missing entries keep face, size and colour but lose their style; invite was bold.
    EXPECT_TRUE(defaults.logText.lineFonts[7].bold);
    EXPECT_FALSE(t.lineFonts[7].bold);
    EXPECT_EQ(t.lineFonts[7].color, defaults.logText.lineFonts[7].color);
    EXPECT_EQ(t.lineFonts[7].charset, 128);
    // Kinds the old files lacked borrow from their relatives.
    for (int kind : {11, 15, 17}) {
        EXPECT_EQ(t.lineFonts[kind].size, 120) << kind;
        EXPECT_TRUE(t.lineFonts[kind].italic) << kind;
    }
    EXPECT_EQ(t.lineFonts[18].color, 0x00FF00u);
    EXPECT_TRUE(t.lineFonts[18].nFlag);
    for (int group = 2; group <= 6; group++) {
        EXPECT_EQ(t.nickFonts[group].color, 0xFF0000u) << group;
        EXPECT_TRUE(t.nickFonts[group].bold) << group;
    }
    EXPECT_EQ(settings.tree.selectedText, 0xFFFFFFu); // grey selection turned blue on white
    EXPECT_EQ(settings.tree.selectedBack, 0xE16941u);
    EXPECT_EQ(settings.list.selectedText, 0xFFFFFFu);
    EXPECT_EQ(settings.list.selectedBack, 0xE16941u);

    // The dark log background switches the selection colours.
    EXPECT_EQ(t.selectTextColor, 0xFFFFFFu);
    EXPECT_EQ(t.selectBackColor, 0xE16941u);
    EXPECT_EQ(t.hilightBackColor, 0x852F13u);
    // A dark group-0 back colour moves the other groups' colours into their text.
    for (int g = 1; g <= 4; g++) {
        EXPECT_EQ(settings.list.groupText[g], defaults.list.groupBack[g]) << g;
        EXPECT_EQ(settings.list.groupBack[g], 0x800000u) << g;
    }

    EXPECT_EQ(preference.LineLeading, 5);
    EXPECT_EQ(preference.MemberSortMethod, 2);
    EXPECT_TRUE(preference.InvertLogAndList);
    EXPECT_FALSE(preference.InvertMemberAndTree);

    const TLogFormat& f = settings.formats;
    EXPECT_FALSE(f.EnableTime);
    EXPECT_FALSE(f.EnableJoinChannel);
    EXPECT_EQ(f.EnableJoinConsole, defaults.formats.EnableJoinConsole);
    EXPECT_EQ(f.Time, L"%H:%M:%S");
    EXPECT_EQ(f.ModeReply, L"%c は %m");
    EXPECT_EQ(f.UserMode, L"%n は %m");
    EXPECT_EQ(f.Join, L"%n が参加");
    EXPECT_EQ(f.Part, defaults.formats.Part);
}

TEST_F(LegacyViewTest, LightViewWithoutPreferencesKeepsSelectionAndLayout)
{
    WriteView(L"[LogBackground]\nLineMargin=9\n[BkColor]\nLogBkColor=FFFFFF\nMemBkSpecialColor=clWhite\n"
              L"[Format]\nSortWithOp=0\nSortWithMask=0\n");
    settings.logText.shadowKind = 2;
    preference.LineLeading = 1;
    ASSERT_TRUE(ImportLegacyViewAppearance(path, settings, nullptr));
    EXPECT_EQ(settings.logText.shadowKind, 0);
    EXPECT_EQ(settings.logText.selectBackColor, defaults.logText.selectBackColor);
    EXPECT_EQ(settings.logText.hilightBackColor, defaults.logText.hilightBackColor);
    EXPECT_EQ(settings.list.groupText[1], defaults.list.groupText[1]);
    EXPECT_EQ(preference.LineLeading, 1);
}

TEST_F(LegacyViewTest, UnreadableFileLeavesEverythingAlone)
{
    settings.logText.shadowKind = 2;
    settings.formats.Time = L"mine";
    EXPECT_FALSE(ImportLegacyViewFile(temp.File(L"missing.kvf"), settings, &preference));
    EXPECT_FALSE(ImportLegacyViewFormats(temp.File(L"missing.kvf"), settings));
    EXPECT_EQ(settings.logText.shadowKind, 2);
    EXPECT_EQ(settings.formats.Time, L"mine");
}

TEST_F(LegacyViewTest, OutOfRangeValuesStayBounded)
{
    WriteView(L"[Font_Text]\nSize=2147483647\n[Font_Notice]\nSize=-2147483648\nCharset=65601\n"
              L"[ChImageFile]\nCount=2147483647\nChanName0=チャンネルログ\nDrawType0=99\n");
    ASSERT_TRUE(ImportLegacyViewFile(path, settings, &preference));
    EXPECT_EQ(settings.logText.lineFonts[0].size, kLargestFontSize);
    EXPECT_EQ(settings.logText.lineFonts[1].size, -kLargestFontSize);
    EXPECT_EQ(settings.logText.lineFonts[1].charset, 65);
    EXPECT_EQ(settings.channelLogBack.style, 0);
}

// As a theme the file gives only the part asked for, never the layout, and sizes come out
// bounded as any theme's do.
TEST_F(LegacyViewTest, OldViewFileAsThemeGivesThePartAskedFor)
{
    WriteView(CString(kDarkView) + L"[Font_Notice]\nSize=-2147483648\n");
    const TThemeFiles themes(CString(), temp.path, ReadLegacyViewTheme);
    const struct {
        const char* name;
        TThemePart part;
        bool appearance;
        bool formats;
    } rows[] = {
        {"whole", TThemePart::All, true, true},
        {"appearance", TThemePart::Appearance, true, false},
        {"formats", TThemePart::Formats, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TViewSettings view = defaults;
        ASSERT_TRUE(themes.Load(view, L"テーマ.kvf", true, true, row.part));
        EXPECT_EQ(view.logText.lineFonts[0].family == L"ＭＳ ゴシック", row.appearance);
        EXPECT_EQ(view.logText.lineFonts[1].size,
                  row.appearance ? -kLargestFontSize : defaults.logText.lineFonts[1].size);
        EXPECT_EQ(view.formats.Join == L"%n が参加", row.formats);
    }
}

TEST_F(LegacyViewTest, TakeOverReadsTheProfilesViewFile)
{
    TConfig config;
    config.SetLegacyFolder(temp.path);
    config.legacyProfileName = L"ジム";
    config.preference.Load(temp.path + L"none\\");
    config.view.settings = defaults;
    CreateDirectoryW(temp.path + L"Config", nullptr);
    path = temp.path + L"Config\\ジム-view.ini";
    WriteView(L"[LogBackground]\nTextType=2\n[Format]\nInvertList=1\nTimeFormat=hh時\n");
    ImportLegacyView(config);
    EXPECT_EQ(config.view.settings.logText.shadowKind, 1);
    EXPECT_EQ(config.view.settings.formats.Time, L"%H時");
    EXPECT_TRUE(config.preference.InvertMemberAndTree);
}

} // namespace
