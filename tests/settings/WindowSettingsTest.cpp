#include "settings/Config.h"

#include "classlib/App.h"
#include "foundation/CodePage.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const char DefaultFile[] =
#include "data/WindowDefault.inc"
    ;

class WindowSettingsTest : public ::testing::Test {
protected:
    WindowSettingsTest() { config.settingsFolder = temp.path + L"settings\\"; }

    void LoadFile(const char* body)
    {
        CreateDirectoryW(config.settingsFolder, nullptr);
        ASSERT_TRUE(WriteFileBytes(config.settingsFolder + L"window.ini", CStringA("Encoding=UTF-8\r\n") + body));
        config.LoadWindowSettings();
    }

    CStringA SavedText()
    {
        EXPECT_TRUE(config.SaveWindowSettings());
        CStringA text = ReadFileBytes(config.settingsFolder + L"window.ini");
        text.Remove('\r');
        return text;
    }

    TTempFolder temp;
    TConfig config;
};

} // namespace

TEST_F(WindowSettingsTest, NoFileGivesTheDefaultsInFileOrder)
{
    config.LoadWindowSettings();
    EXPECT_EQ(config.mainWindowRect.left, 100);
    EXPECT_EQ(config.mainWindowRect.bottom, 600);
    EXPECT_TRUE(config.menuVisible);
    EXPECT_EQ(config.geometry.dccReceiveHeader.size(), 9u);
    EXPECT_EQ(AfxGetCustomColors()[15], 0xFFFFFFu);
    EXPECT_EQ(SavedText(), DefaultFile);
}

TEST_F(WindowSettingsTest, SaveThenLoadGivesBackEveryField)
{
    config.LoadWindowSettings();
    config.mainWindowRect = {-50, 10, 250, 410};
    config.maximized = true;
    config.splitterInfo = 77;
    config.enableToolBar = false;
    config.geometry.dccRect = {1, 2, 3, 4};
    config.geometry.whoHeader[5] = 12;
    config.geometry.macroSelectSize.height = 33;
    config.geometry.findRing = false;
    AfxGetCustomColors()[3] = 0x123456;
    CStringA saved = SavedText();
    AfxGetCustomColors()[3] = 0xFFFFFF;

    TConfig reloaded;
    reloaded.settingsFolder = config.settingsFolder;
    reloaded.LoadWindowSettings();
    EXPECT_EQ(reloaded.mainWindowRect.left, -50);
    EXPECT_EQ(reloaded.mainWindowRect.right, 250);
    EXPECT_EQ(reloaded.mainWindowRect.bottom, 410);
    EXPECT_TRUE(reloaded.maximized);
    EXPECT_EQ(reloaded.splitterInfo, 77);
    EXPECT_FALSE(reloaded.enableToolBar);
    EXPECT_EQ(reloaded.geometry.dccRect.right, 3);
    EXPECT_EQ(reloaded.geometry.whoHeader[5], 12);
    EXPECT_EQ(reloaded.geometry.macroSelectSize.height, 33);
    EXPECT_FALSE(reloaded.geometry.findRing);
    EXPECT_EQ(AfxGetCustomColors()[3], 0x123456u);
    config.settingsFolder = temp.path + L"again\\";
    EXPECT_EQ(SavedText(), saved); // every field, not only the ones looked at above
    AfxGetCustomColors()[3] = 0xFFFFFF;
}

TEST_F(WindowSettingsTest, HeaderListsHaveTheirFixedLength)
{
    LoadFile("[Who]\r\nHeader.0=30\r\nHeader.7=99\r\n[List]\r\nHeader.00=5\r\n");
    std::vector<int> expected = {30, 80, 80, 190, 100, 120};
    EXPECT_EQ(config.geometry.whoHeader, expected);
    EXPECT_EQ(config.geometry.listHeader[0], 200);
    config.geometry.listHeader.resize(11, 7);
    CStringA saved = SavedText();
    EXPECT_NE(saved.Find("Header.10=7\n"), -1);
    config.LoadWindowSettings();
    EXPECT_EQ(config.geometry.listHeader.size(), 3u);
}
