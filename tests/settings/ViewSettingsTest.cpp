#include "settings/ViewSettings.h"
#include "settings/Config.h"
#include "settings/ViewConfig.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<TViewFont*> AllFonts(TViewSettings& s)
{
    std::vector<TViewFont*> fonts;
    for (TViewFont& font : s.logText.lineFonts)
        fonts.push_back(&font);
    for (TViewFont& font : s.logText.nickFonts)
        fonts.push_back(&font);
    for (TViewFont* font : {&s.logText.timeFont, &s.logText.channelFont, &s.logText.urlFont, &s.logText.hostnameFont,
                            &s.logText.keywordFont, &s.list.font, &s.tree.font, &s.editFont})
        fonts.push_back(font);
    return fonts;
}

void ExpectSameFont(const TViewFont& a, const TViewFont& b, size_t index)
{
    EXPECT_EQ(a.family, b.family) << "font " << index;
    EXPECT_EQ(a.charset, b.charset) << "font " << index;
    EXPECT_EQ(a.size, b.size) << "font " << index;
    EXPECT_EQ(a.color, b.color) << "font " << index;
    EXPECT_EQ(a.nFlag, b.nFlag) << "font " << index;
    EXPECT_EQ(a.bold, b.bold) << "font " << index;
    EXPECT_EQ(a.italic, b.italic) << "font " << index;
    EXPECT_EQ(a.underline, b.underline) << "font " << index;
}

class ViewSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { defaults.SetDefaults(); }
    // Defaults, then the file's text read over them.
    TViewSettings LoadOverDefaults(const std::string& text)
    {
        EXPECT_TRUE(WriteFileBytes(path, CStringA(text.c_str())));
        TViewSettings s;
        s.SetDefaults();
        s.formats.SetDefaults();
        EXPECT_TRUE(s.LoadFile(path));
        return s;
    }

    TTempFolder temp;
    CString path = temp.File(L"view.ini");
    TViewSettings defaults;
};

TEST_F(ViewSettingsTest, OneColourKeyOverDefaultsClearsEveryMissingStyle)
{
    TViewSettings s = LoadOverDefaults("Encoding=UTF-8\r\n[LogText]\r\nLineFont.03.Color=ff0000\r\n");
    EXPECT_EQ(s.logText.lineFonts[3].color, 0xFF0000u);
    std::vector<TViewFont*> loaded = AllFonts(s), before = AllFonts(defaults);
    for (size_t i = 0; i < loaded.size(); i++) {
        EXPECT_FALSE(loaded[i]->bold || loaded[i]->italic || loaded[i]->underline || loaded[i]->nFlag) << i;
        EXPECT_EQ(loaded[i]->family, before[i]->family);
        if (i != 3) {
            EXPECT_EQ(loaded[i]->color, before[i]->color) << i;
        }
    }
    EXPECT_EQ(s.logText.selectBackColor, 0xE16941u);
    EXPECT_EQ(s.list.groupBack[0], 0xFFC0C0u);
    EXPECT_EQ(s.formats.Join, L"*%n join %c (%u@%h)");
}

TEST_F(ViewSettingsTest, StyleLettersAndCharsetRules)
{
    TViewSettings s = LoadOverDefaults("[LogText]\r\nLineFont.00.Style=\r\nLineFont.01.Style=ib\r\n"
                                       "LineFont.02.Style=IB\r\nLineFont.03.Style=xBxI\r\nLineFont.04.Style=UN\r\n"
                                       "LineFont.05.Charset=384\r\nLineFont.6.Color=123456\r\n");
    const TViewFont* f = s.logText.lineFonts;
    EXPECT_FALSE(f[0].bold || f[0].italic || f[0].underline || f[0].nFlag);
    EXPECT_FALSE(f[1].bold || f[1].italic);
    EXPECT_TRUE(f[2].bold && f[2].italic && !f[2].underline);
    EXPECT_TRUE(f[3].bold && f[3].italic);
    EXPECT_TRUE(f[4].nFlag && f[4].underline && !f[4].bold);
    EXPECT_EQ(f[5].charset, 128);
    EXPECT_EQ(f[6].color, defaults.logText.lineFonts[6].color);

    ASSERT_TRUE(s.SaveFile(path));
    CStringA saved = ReadFileBytes(path);
    EXPECT_GE(saved.Find("LineFont.02.Style=BI\r\n"), 0);
    EXPECT_GE(saved.Find("LineFont.03.Style=BI\r\n"), 0);
    EXPECT_GE(saved.Find("LineFont.04.Style=NU\r\n"), 0);
    EXPECT_GE(saved.Find("LineFont.00.Style=\r\n"), 0);
    EXPECT_GE(saved.Find("LineFont.05.Charset=128\r\n"), 0);
}

// Sizes of 0 or less stay as the file has them, and make fonts: the default height for 0, the
// absolute value below it. Sizes beyond the largest, of either sign, are capped.
TEST_F(ViewSettingsTest, SizesOfZeroOrLessAreKeptAndTooLargeOnesCapped)
{
    TViewSettings s = LoadOverDefaults("[LogText]\r\nLineFont.00.Size=0\r\nLineFont.01.Size=-120\r\n"
                                       "LineFont.02.Size=99999999\r\nLineFont.03.Size=-99999999\r\n"
                                       "[Edit]\r\nFont.Size=-1\r\n");
    const TViewFont* f = s.logText.lineFonts;
    EXPECT_EQ(f[0].size, 0);
    EXPECT_EQ(f[1].size, -120);
    EXPECT_EQ(f[2].size, kLargestFontSize);
    EXPECT_EQ(f[3].size, -kLargestFontSize);
    EXPECT_EQ(s.editFont.size, -1);
    ASSERT_TRUE(s.SaveFile(path));
    CStringA saved = ReadFileBytes(path);
    EXPECT_GE(saved.Find("LineFont.00.Size=0\r\n"), 0) << "kept when written back";
    EXPECT_GE(saved.Find("LineFont.01.Size=-120\r\n"), 0);
    EXPECT_GE(saved.Find("Font.Size=-1\r\n"), 0);

    TFont zero, negative, positive;
    for (auto [font, size] : {std::pair<TFont*, int>{&zero, 0}, {&negative, -120}, {&positive, 120}}) {
        TViewFont setting = f[0];
        setting.size = size;
        ApplyFontSetting(*font, setting);
        ASSERT_TRUE(font->handle) << size;
    }
    EXPECT_EQ(zero.logFont.lfHeight, 0) << "the system's default height";
    EXPECT_EQ(negative.logFont.lfHeight, positive.logFont.lfHeight);
}

TEST_F(ViewSettingsTest, EveryFieldRoundTripsThroughTheFile)
{
    TViewSettings s;
    s.SetDefaults();
    s.formats.SetDefaults();
    std::vector<TViewFont*> fonts = AllFonts(s);
    for (size_t i = 0; i < fonts.size(); i++) {
        TViewFont& f = *fonts[i];
        f.family.Format(L"Face %d 日本", (int)i);
        f.charset = (BYTE)(i * 7);
        f.size = 80 + (int)i;
        f.color = 0x010203 * (COLORREF)(i + 1);
        f.nFlag = i % 2 == 0;
        f.bold = i % 3 == 0;
        f.italic = i % 5 == 0;
        f.underline = i % 7 == 0;
    }
    s.logText.shadowKind = 2;
    s.logText.shadowColor = 0x123456;
    s.logText.useUrlFont = true;
    s.logText.useHostnameFont = true;
    s.logText.selectTextColor = 0x010101;
    s.logText.selectBackColor = 0x020202;
    s.logText.hilightBackColor = 0x030303;
    s.channelLogBack = {0x111111, L"sky.jpg", 301};
    s.allLogBack = {0x222222, L"sub\\sea.bmp", 100};
    COLORREF* listColors[] = {&s.list.selectedText, &s.list.selectedBack, &s.list.selfText,     &s.list.selfBack,
                              &s.list.backColor,    &s.tree.selectedText, &s.tree.selectedBack, &s.tree.keywordText,
                              &s.tree.keywordBack,  &s.tree.newTalkText,  &s.tree.newTalkBack,  &s.tree.updateText,
                              &s.tree.updateBack,   &s.tree.backColor,    &s.editBackColor};
    COLORREF next = 0x100001;
    for (COLORREF* c : listColors)
        *c = next++;
    for (int g = 0; g < kUserGroupCount; g++) {
        s.list.groupText[g] = next++;
        s.list.groupBack[g] = next++;
    }
    s.formats.Kick = L"kick %t";
    s.formats.EnableTopicConsole = false;
    ASSERT_TRUE(s.SaveFile(temp.File(L"themes\\new\\my.theme")));

    TViewSettings back;
    ASSERT_TRUE(back.LoadFile(temp.File(L"themes\\new\\my.theme")));
    std::vector<TViewFont*> loaded = AllFonts(back);
    for (size_t i = 0; i < fonts.size(); i++)
        ExpectSameFont(*loaded[i], *fonts[i], i);
    EXPECT_EQ(back.logText.shadowKind, 2);
    EXPECT_EQ(back.logText.shadowColor, 0x123456u);
    EXPECT_TRUE(back.logText.useUrlFont && back.logText.useHostnameFont);
    EXPECT_EQ(back.logText.hilightBackColor, 0x030303u);
    EXPECT_EQ(back.channelLogBack.imageFile, L"sky.jpg");
    EXPECT_EQ(back.channelLogBack.style, 301);
    EXPECT_EQ(back.allLogBack.color, 0x222222u);
    EXPECT_EQ(back.allLogBack.imageFile, L"sub\\sea.bmp");
    COLORREF* backColors[] = {&back.list.selectedText, &back.list.selectedBack, &back.list.selfText,
                              &back.list.selfBack,     &back.list.backColor,    &back.tree.selectedText,
                              &back.tree.selectedBack, &back.tree.keywordText,  &back.tree.keywordBack,
                              &back.tree.newTalkText,  &back.tree.newTalkBack,  &back.tree.updateText,
                              &back.tree.updateBack,   &back.tree.backColor,    &back.editBackColor};
    for (size_t i = 0; i < sizeof backColors / sizeof backColors[0]; i++)
        EXPECT_EQ(*backColors[i], *listColors[i]) << i;
    for (int g = 0; g < kUserGroupCount; g++) {
        EXPECT_EQ(back.list.groupText[g], s.list.groupText[g]);
        EXPECT_EQ(back.list.groupBack[g], s.list.groupBack[g]);
    }
    EXPECT_EQ(back.formats.Kick, L"kick %t");
    EXPECT_FALSE(back.formats.EnableTopicConsole);
    EXPECT_EQ(back.formats.UserMode, L"*%n mode %m");

    // A second save of what was read gives the same bytes.
    CStringA first = ReadFileBytes(temp.File(L"themes\\new\\my.theme"));
    ASSERT_TRUE(back.SaveFile(path));
    EXPECT_EQ(ReadFileBytes(path), first);
    int families = 0;
    for (int at = first.Find("Family="); at >= 0; at = first.Find("Family=", at + 1))
        families++;
    EXPECT_EQ(families, 35);
}

TEST_F(ViewSettingsTest, PartialLoadsTouchOnlyTheirPart)
{
    const char* file = "[LogText]\r\nShadowKind=3\r\n[Edit]\r\nBackColor=abcdef\r\n[Format]\r\nJoin=in %n\r\n";
    ASSERT_TRUE(WriteFileBytes(path, file));
    TViewSettings s;
    s.SetDefaults();
    s.formats.SetDefaults();
    ASSERT_TRUE(s.LoadFormats(path));
    EXPECT_EQ(s.formats.Join, L"in %n");
    EXPECT_EQ(s.logText.shadowKind, 0);
    EXPECT_TRUE(s.logText.lineFonts[7].bold);

    ASSERT_TRUE(s.LoadAppearance(path));
    EXPECT_EQ(s.logText.shadowKind, 3);
    EXPECT_EQ(s.editBackColor, 0xABCDEFu);

    ASSERT_TRUE(WriteFileBytes(path, "[LogText]\r\nShadowKind=1\r\n"));
    s.formats.Join = L"kept";
    ASSERT_TRUE(s.LoadFormats(path));
    EXPECT_EQ(s.formats.Join, L"kept");
    EXPECT_EQ(s.logText.shadowKind, 3);

    EXPECT_FALSE(s.LoadFile(temp.File(L"missing.ini")));
    EXPECT_EQ(s.logText.shadowKind, 3);
}

TEST_F(ViewSettingsTest, ViewConfigLoadsDefaultsWithoutAFileAndSavesViewIni)
{
    TConfig config;
    config.settingsFolder = temp.path;
    config.view.Load(config);
    EXPECT_TRUE(config.view.settings.logText.lineFonts[7].bold);
    EXPECT_TRUE(config.view.settings.logText.urlFont.underline);
    EXPECT_EQ(config.view.settings.formats.Time, L"%H:%M ");

    config.view.settings.logText.shadowKind = 1;
    config.view.Save(config);
    TConfig again;
    again.settingsFolder = temp.path;
    again.view.Load(again);
    EXPECT_EQ(again.view.settings.logText.shadowKind, 1);
    EXPECT_TRUE(again.view.settings.logText.lineFonts[7].bold);
}

TEST_F(ViewSettingsTest, UnwritableTargetFailsAndKeepsTheOldFile)
{
    ASSERT_TRUE(WriteFileBytes(path, "old"));
    HANDLE locked = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(defaults.SaveFile(path));
    CloseHandle(locked);
    EXPECT_EQ(ReadFileBytes(path), "old");
    CreateDirectoryW(temp.File(L"folder.ini"), nullptr);
    EXPECT_FALSE(defaults.SaveFile(temp.File(L"folder.ini")));
}

} // namespace

namespace {

// Every field a colour of its own, and one of each pair left to the system.
TViewListConfig MarkedList()
{
    TViewListConfig list;
    list.font.color = 0x01;
    list.backColor = 0x02;
    list.selectedText = 0x11;
    list.selfText = 0x21;
    list.selfBack = 0x22;
    for (int g = 0; g < kUserGroupCount; g++) {
        list.groupText[g] = 0x30 + g;
        list.groupBack[g] = 0x40 + g;
    }
    list.groupText[2] = kSystemColor;
    return list;
}

} // namespace

TEST(ViewRowColors, MemberRowsTakeTheirHighestMarkAndUnsetColoursFromTheSystem)
{
    const TViewListConfig list = MarkedList();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), windowText = GetSysColor(COLOR_WINDOWTEXT);
    const struct {
        const char* name;
        bool selected, self;
        int group;
        COLORREF text, back;
    } rows[] = {
        {"plain", false, false, -1, 0x01, 0x02},
        {"selected beats self and group", true, true, 1, 0x11, highlight},
        {"self beats group", false, true, 1, 0x21, 0x22},
        {"first group", false, false, 0, 0x30, 0x40},
        {"last group", false, false, kUserGroupCount - 1, 0x30 + kUserGroupCount - 1, 0x40 + kUserGroupCount - 1},
        {"unset group text", false, false, 2, windowText, 0x42},
        {"group past the last is plain", false, false, kUserGroupCount, 0x01, 0x02},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TRowColors colors = MemberRowColors(list, row.selected, row.self, row.group);
        EXPECT_EQ(colors.text, row.text);
        EXPECT_EQ(colors.back, row.back);
    }
    TViewListConfig unset;
    EXPECT_EQ(MemberRowColors(unset, false, false, -1).back, GetSysColor(COLOR_WINDOW));
}

TEST(ViewRowColors, TreeRowsTakeTheirHighestMark)
{
    TViewTreeConfig tree;
    tree.font.color = 0x01;
    tree.backColor = 0x02;
    tree.selectedText = 0x11;
    tree.selectedBack = 0x12;
    tree.keywordText = 0x21;
    tree.keywordBack = 0x22;
    tree.newTalkText = 0x31;
    tree.newTalkBack = 0x32;
    tree.updateBack = 0x42;
    const struct {
        const char* name;
        bool selected, keyword, newTalk, update;
        COLORREF text, back;
    } rows[] = {
        {"plain", false, false, false, false, 0x01, 0x02},
        {"selected beats every mark", true, true, true, true, 0x11, 0x12},
        {"keyword beats new talk", false, true, true, true, 0x21, 0x22},
        {"new talk beats update", false, false, true, true, 0x31, 0x32},
        {"update with its text unset", false, false, false, true, GetSysColor(COLOR_WINDOWTEXT), 0x42},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TRowColors colors = TreeRowColors(tree, row.selected, row.keyword, row.newTalk, row.update);
        EXPECT_EQ(colors.text, row.text);
        EXPECT_EQ(colors.back, row.back);
    }
}
