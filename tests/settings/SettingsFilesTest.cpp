#include "settings/Config.h"
#include "settings/ServerList.h"

#include "foundation/Path.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

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
