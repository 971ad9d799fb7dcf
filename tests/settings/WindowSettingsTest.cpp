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

// The default file with the values on some lines changed (numbers one up, flags flipped,
// colours one down): only lines whose number has a bit of linesToChange set.
CStringA ChangedFile(int linesToChange)
{
    CStringA rest = DefaultFile, out;
    for (int lineNumber = 0; !rest.IsEmpty(); lineNumber++) {
        int end = rest.Find('\n');
        CStringA line = rest.Left(end);
        rest = rest.Mid(end + 1);
        int equals = line.Find('=');
        CStringA key = line.Left(equals + 1), value = line.Mid(equals + 1);
        if (equals < 0 || key == "Encoding=" || !(lineNumber & linesToChange))
            out += line;
        else if (value == "true" || value == "false")
            out += key + (value == "true" ? "false" : "true");
        else if (value == "ffffff")
            out += key + "fffffe";
        else
            out.AppendFormat("%s%d", key.GetString(), atoi(value) + 1);
        out += "\n";
    }
    return out;
}

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
    for (int bit = -1; bit < 512; bit = bit < 0 ? 1 : bit << 1) {
        CStringA changed = ChangedFile(bit);
        CStringA body = changed.Mid(changed.Find('\n') + 1);
        body.Replace("\n", "\r\n");
        LoadFile(body);
        EXPECT_EQ(SavedText(), changed) << "lines with bit " << bit;
    }
    LoadFile("[Main]\r\nLeft=-50\r\nWidth=300\r\n[CustomColor]\r\nColor.03=123456\r\n");
    EXPECT_EQ(config.mainWindowRect.left, -50);
    EXPECT_EQ(config.mainWindowRect.right, 250);
    EXPECT_EQ(AfxGetCustomColors()[3], 0x123456u);
    DeleteFileW(config.settingsFolder + L"window.ini");
    config.LoadWindowSettings(); // every colour back to white for the other tests
    EXPECT_EQ(AfxGetCustomColors()[3], 0xFFFFFFu);
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
