#include "settings/ThemeFiles.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ThemeFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryW(programFolder, nullptr));
        ASSERT_TRUE(CreateDirectoryW(userFolder, nullptr));
        saved.SetDefaults();
        saved.formats.SetDefaults();
        saved.list.backColor = 0x123456;
        saved.logText.lineFonts[0].family = L"Theme Face 日本";
        saved.formats.Join = L"> %n joined";
    }
    // Defaults with marks of their own in both halves, to see which half a load replaced.
    static TViewSettings Working()
    {
        TViewSettings view;
        view.SetDefaults();
        view.formats.SetDefaults();
        view.list.backColor = 0x654321;
        view.formats.Join = L"working join";
        return view;
    }

    TTempFolder temp;
    CString programFolder = temp.File(L"program\\");
    CString userFolder = temp.File(L"user\\");
    TThemeFiles themes{programFolder, userFolder};
    TViewSettings saved;
};

TEST_F(ThemeFilesTest, SavedThemeLoadsWholeOrByHalves)
{
    ASSERT_TRUE(themes.Save(saved, L"mine.theme"));
    ASSERT_TRUE(CopyFileW(userFolder + L"mine.theme", programFolder + L"shipped.theme", TRUE));
    const struct {
        const char* name;
        const wchar_t* file;
        bool user;
        TThemePart part;
        COLORREF back;
        const wchar_t* join;
        const wchar_t* face;
    } rows[] = {
        {"whole", L"mine.theme", true, TThemePart::All, 0x123456, L"> %n joined", L"Theme Face 日本"},
        {"whole from the program's folder", L"shipped.theme", false, TThemePart::All, 0x123456, L"> %n joined",
         L"Theme Face 日本"},
        {"appearance keeps the formats", L"mine.theme", true, TThemePart::Appearance, 0x123456, L"working join",
         L"Theme Face 日本"},
        {"formats keep the appearance", L"mine.theme", true, TThemePart::Formats, 0x654321, L"> %n joined", nullptr},
        {"the defaults' formats keep the appearance", L"", true, TThemePart::Formats, 0x654321, L"*%n join %c (%u@%h)",
         nullptr},
        {"the defaults' appearance keeps the formats", L"", true, TThemePart::Appearance, 0xFFFFFF, L"working join",
         nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TViewSettings view = Working();
        const CString workingFace = view.logText.lineFonts[0].family;
        ASSERT_TRUE(themes.Load(view, row.file, row.user, false, row.part));
        EXPECT_EQ(view.list.backColor, row.back);
        EXPECT_EQ(view.formats.Join, CString(row.join));
        EXPECT_EQ(view.logText.lineFonts[0].family, row.face ? CString(row.face) : workingFace);
    }
}

TEST_F(ThemeFilesTest, FilesThatAreNoThemeChangeNothing)
{
    ASSERT_TRUE(WriteFileBytes(temp.File(L"outside.theme"), "[List]\r\nBackColor=000001\r\n"));
    ASSERT_TRUE(CreateDirectoryW(userFolder + L"folder.theme", nullptr));
    ASSERT_TRUE(WriteFileBytes(userFolder + L"old.kvf", "[List]\r\nBackColor=000001\r\n"));
    CStringA big = "[List]\r\nBackColor=000001\r\n";
    big += CStringA(' ', 1 << 20);
    ASSERT_TRUE(WriteFileBytes(userFolder + L"big.theme", big));
    const struct {
        const char* name;
        const wchar_t* file;
        bool oldViewFile;
    } rows[] = {
        {"missing", L"missing.theme", false},
        {"a name leading out", L"..\\outside.theme", false},
        {"a folder", L"folder.theme", false},
        {"over a megabyte", L"big.theme", false},
        {"an old view file with no reader for it", L"old.kvf", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TViewSettings view = Working();
        EXPECT_FALSE(themes.Load(view, row.file, true, row.oldViewFile, TThemePart::All));
        EXPECT_EQ(view.list.backColor, 0x654321u);
        EXPECT_EQ(view.formats.Join, CString(L"working join"));
    }
    EXPECT_FALSE(themes.Save(saved, L"..\\escape.theme"));
    EXPECT_EQ(GetFileAttributesW(temp.File(L"escape.theme")), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(themes.Delete(L"..\\outside.theme"));
    EXPECT_NE(GetFileAttributesW(temp.File(L"outside.theme")), INVALID_FILE_ATTRIBUTES);
    TThemeFiles none{CString(), CString()};
    EXPECT_FALSE(none.Save(saved, L"mine.theme")) << "no folder, no file in the current one";
    EXPECT_EQ(GetFileAttributesW(L"mine.theme"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ThemeFilesTest, MalformedThemeTakesWhatItCanAndBoundsTheRest)
{
    ASSERT_TRUE(WriteFileBytes(userFolder + L"bad.theme", "\xff\xfe\x01garbage without a section\r\n"
                                                          "[List\r\n=no key\r\n"
                                                          "[LogText]\r\nLineFont.00.Size=999999999\r\n"
                                                          "LineFont.01.Size=-5\r\nLineFont.02.Size=\r\n"
                                                          "[Format]\r\nJoin=taken\r\n"));
    TViewSettings view = Working();
    view.logText.lineFonts[2].size = 0;
    ASSERT_TRUE(themes.Load(view, L"bad.theme", true, false, TThemePart::All));
    EXPECT_EQ(view.logText.lineFonts[0].size, kLargestFontSize);
    EXPECT_EQ(view.logText.lineFonts[1].size, -5) << "a size below one is taken as read";
    EXPECT_EQ(view.logText.lineFonts[2].size, 0);
    EXPECT_EQ(view.list.backColor, 0x654321u) << "keys the file lacks keep their values";
    EXPECT_EQ(view.formats.Join, CString(L"taken"));

    ASSERT_TRUE(themes.Delete(L"bad.theme"));
    EXPECT_EQ(GetFileAttributesW(userFolder + L"bad.theme"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(themes.Delete(L"bad.theme"));
}

} // namespace
