#include "settings/PopupFile.h"

#include "foundation/CodePage.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class PopupFileTest : public ::testing::Test {
protected:
    bool LoadBytes(const CStringA& bytes)
    {
        EXPECT_TRUE(WriteFileBytes(Path(), bytes));
        return popup.Load(Path());
    }
    CString Path() const { return temp.File(L"popupmenu.kcf"); }

    TTempFolder temp;
    TPopupFile popup;
};

TPopupItem* Item(int level, const wchar_t* name, const wchar_t* action, const wchar_t* target, const wchar_t* info)
{
    TPopupItem* item = new TPopupItem;
    item->level = level;
    item->name = name;
    item->action = action;
    item->target = target;
    item->actionInfo = info;
    item->commandId = 45056;
    return item;
}

} // namespace

TEST(PopupText, EscapesBackslashesTabsAndLineEnds)
{
    EXPECT_EQ(EscapePopupText(L"a\\b\tc\r\n"), L"a\\\\b\\tc\\r\\n");
    EXPECT_EQ(UnescapePopupText(L"a\\\\b\\tc\\xd\\"), L"a\\b\tcxd\\");
    EXPECT_EQ(UnescapePopupText(EscapePopupText(L"\\t")), L"\\t");
}

TEST_F(PopupFileTest, DefaultMenuHasNineFlatItems)
{
    popup.SetDefault();
    ASSERT_EQ(popup.items.size(), 9u);
    EXPECT_EQ(popup.items[0]->name, L"ニックネーム変更(&N)...\\tAlt+N");
    EXPECT_EQ(popup.items[0]->actionInfo, L"Nick");
    EXPECT_EQ(popup.items[2]->name, L"-");
    EXPECT_EQ(popup.items[5]->name, L"-");
    EXPECT_EQ(popup.items[3]->target, L"%a");
    EXPECT_EQ(popup.items[4]->action, L"OpenURL");
    EXPECT_EQ(popup.items[4]->actionInfo.GetLength(), 54);
    EXPECT_EQ(popup.items[4]->actionInfo.Right(33), L"/search?ie=utf-8&q=$encodeurl(%s)");
    EXPECT_EQ(popup.items[8]->actionInfo, L"SelectAll");
    for (const TPopupItem* item : popup.items)
        EXPECT_EQ(item->level, 0);
}

TEST_F(PopupFileTest, SaveThenLoadKeepsLevelsAndTexts)
{
    popup.items.push_back(Item(2, L"tab\\t\there", L"Send", L"#ch\\", L"line\r\nnext 日本"));
    popup.items.push_back(Item(-1, L"-", L"", L"", L""));
    ASSERT_TRUE(popup.Save(temp.path + L"sub\\dir\\popupmenu.kcf"));
    CStringA bytes = ReadFileBytes(temp.path + L"sub\\dir\\popupmenu.kcf");
    EXPECT_EQ(bytes.Left(17), "#Encoding=UTF-8\r\n");
    TPopupFile loaded;
    ASSERT_TRUE(loaded.Load(temp.path + L"sub\\dir\\popupmenu.kcf"));
    ASSERT_EQ(loaded.items.size(), 2u);
    EXPECT_EQ(loaded.items[0]->level, 2);
    EXPECT_EQ(loaded.items[0]->name, L"tab\\t\there");
    EXPECT_EQ(loaded.items[0]->target, L"#ch\\");
    EXPECT_EQ(loaded.items[0]->commandId, 0);
    EXPECT_EQ(loaded.items[0]->actionInfo, L"line\r\nnext 日本"); // kept as escapes, so it cannot start a new item
    EXPECT_EQ(loaded.items[1]->level, -1);
    TPopupFile copy;
    copy.CopyFrom(loaded);
    ASSERT_EQ(copy.items.size(), 2u);
    EXPECT_NE(copy.items[0], loaded.items[0]);
    EXPECT_EQ(copy.items[0]->name, loaded.items[0]->name);
}

TEST_F(PopupFileTest, ReadsOldFilesAndOddLines)
{
    // Without the UTF-8 line the whole file is Shift_JIS, and its first line is an item.
    ASSERT_TRUE(
        LoadBytes(ConvertToShiftJis(L"0\t日本\tMenu\r\n#comment\r\n\r\n1\r\n  -3x\tn\ta\tt\ti\textra\r\nabc\tn\r\n")));
    ASSERT_EQ(popup.items.size(), 4u);
    EXPECT_EQ(popup.items[0]->name, L"日本");
    EXPECT_EQ(popup.items[1]->level, 1);
    EXPECT_EQ(popup.items[1]->name, L"");
    EXPECT_EQ(popup.items[2]->level, -3);
    EXPECT_EQ(popup.items[2]->actionInfo, L"i");
    EXPECT_EQ(popup.items[3]->level, 0);
    EXPECT_EQ(popup.items[3]->name, L"n");

    ASSERT_TRUE(LoadBytes(ConvertToUtf8(L"#encoding=utf-8\r\n0\t日本\r\n#Encoding=UTF-8\r\n")));
    ASSERT_EQ(popup.items.size(), 1u);
    EXPECT_EQ(popup.items[0]->name, L"日本");
}

TEST_F(PopupFileTest, OldSearchItemsAreBroughtUpToDate)
{
    CString prefix = CString(PopupSearchAddress).Left(CString(PopupSearchAddress).Find(L'?') + 1);
    CString old = prefix + L"ie=Shift_JIS&q=%s";
    ASSERT_TRUE(
        LoadBytes(ConvertToUtf8(L"#Encoding=UTF-8\r\n0\tS\topenurl\tUTF-8\t" + old + L"\r\n0\tS\tOpenURL\tShift_JIS\t" +
                                old + L"\r\n0\tS\tOpenURL\tUTF-8\thttp://example.com/?q=%s&e=Shift_JIS\r\n")));
    ASSERT_EQ(popup.items.size(), 3u);
    EXPECT_EQ(popup.items[0]->target, L"");
    EXPECT_EQ(popup.items[0]->actionInfo, prefix + L"ie=utf-8&q=$encodeurl(%s)");
    EXPECT_EQ(popup.items[1]->target, L"Shift_JIS");
    EXPECT_EQ(popup.items[1]->actionInfo, prefix + L"ie=utf-8&q=%s");
    EXPECT_EQ(popup.items[2]->actionInfo, L"http://example.com/?q=%s&e=Shift_JIS");
}

TEST_F(PopupFileTest, MissingFileFailsAndEmptyFileGivesNoItems)
{
    popup.SetDefault();
    EXPECT_FALSE(popup.Load(temp.File(L"none.kcf")));
    EXPECT_TRUE(popup.items.empty());
    popup.SetDefault();
    EXPECT_TRUE(LoadBytes(""));
    EXPECT_TRUE(popup.items.empty());
}
