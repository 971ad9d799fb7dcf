#include "controls/Clipboard.h"
#include "controls/ComboBox.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(Clipboard, JapaneseTextGoesThroughUnchanged)
{
    const CString text = L"こんにちは、世界 ✓ 𠮷野家\r\n二行目";
    CopyTextToClipboard(text);
    EXPECT_EQ(GetClipboardText(), text);
    CopyTextToClipboard(L"");
    EXPECT_EQ(GetClipboardText(), CString());
}

TEST(Clipboard, OnlyABitmapGivesNoText)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
    EXPECT_EQ(GetClipboardText(), CString());
}

TEST(CharsetNames, NamedSetsAndTheRest)
{
    const struct {
        int charset;
        const wchar_t* name;
    } kCases[] = {
        {0, L"欧文"},  {128, L"日本語"}, {130, L"韓国古語"}, {186, L"バルト諸語"}, {238, L"東ヨーロッパ諸語"},
        {255, L"OEM"}, {100, L"その他"}, {1, L"その他"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(GetCharsetName(c.charset), CString(c.name)) << c.charset;
}

TEST(TFontComboBox, AFaceIsListedOnceWithItsCharsetsInTheOrderFound)
{
    TFontComboBox combo;
    ASSERT_TRUE(combo.Create(WS_POPUP | CBS_DROPDOWNLIST | CBS_SORT, RECT{0, 0, 200, 200}, nullptr, 0));
    combo.AddFace(L"Face", ANSI_CHARSET);
    combo.AddFace(L"Face", SHIFTJIS_CHARSET);
    combo.AddFace(L"Face", ANSI_CHARSET);
    combo.AddFace(L"@Face", SHIFTJIS_CHARSET);
    EXPECT_EQ(combo.GetCount(), 1);
    EXPECT_EQ(combo.GetCharsets(L"Face"), (std::vector<BYTE>{ANSI_CHARSET, SHIFTJIS_CHARSET}));
    EXPECT_TRUE(combo.GetCharsets(L"@Face").empty());
    EXPECT_TRUE(combo.GetCharsets(L"Unknown").empty());

    combo.LoadFonts();
    EXPECT_GE(combo.FindStringExact(-1, L"IPAPGothic"), 0);
    std::vector<BYTE> sets = combo.GetCharsets(L"IPAPGothic");
    EXPECT_NE(std::find(sets.begin(), sets.end(), (BYTE)SHIFTJIS_CHARSET), sets.end());
    EXPECT_EQ(combo.FindStringExact(-1, L"@IPAPGothic"), CB_ERR);
}
