#include "settings/Config.h"
#include "settings/ServerList.h"

#include "foundation/Path.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(ServerList, MissingFileIsSeededAndEmptyFileStaysEmpty)
{
    TTempFolder temp;
    TStringList list;
    LoadServerList(temp.path, list);
    ASSERT_EQ(list.GetCount(), 17);
    int separators = 0;
    for (const CString& line : list.items) {
        if (line == L"-") {
            separators++;
            continue;
        }
        EXPECT_EQ(line.Right(1), L")");
        EXPECT_GT(line.Find(L" ("), 0);
    }
    EXPECT_EQ(separators, 2);
    EXPECT_EQ(list.GetAt(1), L"-");
    EXPECT_EQ(list.GetAt(9), L"-");
    TStringList saved;
    ASSERT_TRUE(saved.LoadFromFile(temp.File(L"servers.txt")));
    EXPECT_EQ(saved.items, list.items);

    ASSERT_TRUE(WriteFileBytes(temp.File(L"servers.txt"), ""));
    TStringList empty;
    LoadServerList(temp.path, empty);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(ServerList, DamagedFilesAreReadWithinBoundsAndNeverRewritten)
{
    TTempFolder temp;
    CString path = temp.File(L"servers.txt");
    CStringA manyLines;
    for (int i = 0; i < 50000; i++)
        manyLines += "irc.example.net (Net)\r\n";
    CStringA longLine(std::string(100000, 'x').c_str());
    CStringA binary;
    for (int i = 0; i < 70000; i++)
        binary += (char)((i * 7919) % 256);
    const struct {
        const char* name;
        CStringA bytes;
        int minLines;
        int maxLines;
    } cases[] = {
        {"a huge file gives the line bound", manyLines, kServerListLines, kServerListLines},
        {"an overlong line is cut", longLine + "\r\nnext.example\r\n", 2, 2},
        {"binary bytes give no control characters", binary, 0, kServerListLines},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        TStringList list;
        LoadServerList(temp.path, list);
        EXPECT_GE(list.GetCount(), c.minLines);
        EXPECT_LE(list.GetCount(), c.maxLines);
        for (const CString& line : list.items) {
            EXPECT_LE(line.GetLength(), kServerListLineLength);
            for (int i = 0; i < line.GetLength(); i++)
                ASSERT_GE(line[i], 0x20);
        }
        EXPECT_EQ(ReadFileBytes(path), c.bytes) << "the file is left as it was";
    }

    // One that exists but cannot be read offers the built-in lines and stays as it was.
    ASSERT_TRUE(WriteFileBytes(path, "own.example\r\n"));
    HANDLE lock = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    TStringList list;
    LoadServerList(temp.path, list);
    CloseHandle(lock);
    EXPECT_EQ(list.GetCount(), 17);
    EXPECT_EQ(ReadFileBytes(path), "own.example\r\n");
}

TEST(PopupSettings, DefaultMenuOnlyWhenTheFileIsMissing)
{
    TTempFolder temp;
    TConfig config;
    config.settingsFolder = temp.path + L"settings\\";
    config.LoadPopupMenu();
    EXPECT_EQ(config.popup.items.size(), 9u);
    EXPECT_FALSE(PathExists(config.settingsFolder + L"popupmenu.kcf"));
    config.popup.Clear();
    ASSERT_TRUE(config.SavePopupMenu());
    config.LoadPopupMenu();
    EXPECT_TRUE(config.popup.items.empty());
}
