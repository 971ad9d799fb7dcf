// The font chooser as a user meets it: a family, a style, a size or a character set picked with
// real keys and clicks, OK, and the font the caller reads back; faces that are not installed come
// back unchanged, and sizes of 0 and below as the settings keep them.

#include "dialogs/FontDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const wchar_t kJapaneseFace[] = L"IPAPGothic";
// Stands for an installed face that offers one character set only, found on the desktop.
const wchar_t kSingleSetFace[] = L"(one set)";

enum TStep { kNothing, kFamily, kStyle, kTypeSize, kSizeDown, kCharset };

struct TFontRow {
    const char* name;
    // The size and style handed in (style: bit 1 bold, 2 italic, 4 underline).
    int size;
    int style;
    // What the user does.
    TStep step;
    const wchar_t* argument; // face, size text, or the entry's display text
    int index;               // style entry
    // The size, style and size field that come back.
    int size2;
    int style2;
    const wchar_t* sizeField;
    // The face and set handed in and back, when other than the Japanese face's.
    const wchar_t* face = kJapaneseFace;
    BYTE charset = 128;
    const wchar_t* face2 = kJapaneseFace;
    int charset2 = 128; // -1: the one set of the single-set face
    bool familySelected = true;
    bool charsetsEnabled = true;
};

int CALLBACK CollectSet(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param)
{
    auto* sets = (std::vector<BYTE>*)param;
    if (std::find(sets->begin(), sets->end(), font->lfCharSet) == sets->end())
        sets->push_back(font->lfCharSet);
    return 1;
}

// A face the desktop offers in one character set only, and that set.
bool FindSingleSetFace(CString& face, BYTE& set)
{
    TFontDialogEx probe;
    bool found = false;
    RunDialog(probe, [&](HWND dialog) {
        HWND combo = Control(dialog, IDC_FONT_FAMILY);
        HDC screen = ::GetDC(nullptr);
        int count = (int)::SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count && !found; i++) {
            LOGFONTW wanted = {};
            wanted.lfCharSet = DEFAULT_CHARSET;
            ::SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)wanted.lfFaceName);
            std::vector<BYTE> sets;
            ::EnumFontFamiliesExW(screen, &wanted, CollectSet, (LPARAM)&sets, 0);
            if (sets.size() == 1) {
                face = wanted.lfFaceName;
                set = sets[0];
                found = true;
            }
        }
        ::ReleaseDC(nullptr, screen);
        Click(dialog, IDCANCEL);
    });
    return found;
}

int ListIndexOf(HWND list, const wchar_t* text)
{
    return (int)::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
}

} // namespace

TEST(FontDialog, ChoicesLandInTheFontTheCallerReads)
{
    CString singleFace;
    BYTE singleSet = 0;
    ASSERT_TRUE(FindSingleSetFace(singleFace, singleSet)) << "no face with one character set";

    const TFontRow rows[] = {
        {"10.5 typed is 105 tenths", 120, 0, kTypeSize, L"10.5", 0, 105, 0, L"10.5"},
        {"10.7 typed is 107 tenths", 120, 0, kTypeSize, L"10.7", 0, 107, 0, L"10.7"},
        {"12 typed is 120 tenths", 90, 0, kTypeSize, L"12", 0, 120, 0, L"12"},
        {"letters give 0", 90, 0, kTypeSize, L"abc", 0, 0, 0, L"abc"},
        {"12pt typed is 120 tenths", 90, 0, kTypeSize, L"12pt", 0, 120, 0, L"12pt"},
        {"12 pt typed is 120 tenths", 90, 0, kTypeSize, L"12 pt", 0, 120, 0, L"12 pt"},
        {"10.5pt typed is 105 tenths", 90, 0, kTypeSize, L"10.5pt", 0, 105, 0, L"10.5pt"},
        {"10,5 reads its whole points", 90, 0, kTypeSize, L"10,5", 0, 100, 0, L"10,5"},
        {"zero gives 0", 90, 0, kTypeSize, L"0", 0, 0, 0, L"0"},
        {"-12.5 typed is -125 tenths", 90, 0, kTypeSize, L"-12.5", 0, -125, 0, L"-12.5"},
        {"-3 typed is -30 tenths", 90, 0, kTypeSize, L"-3", 0, -30, 0, L"-3"},
        {"a size past the largest is held to it", 90, 0, kTypeSize, L"99999", 0, kLargestFontSize, 0, L"99999"},
        {"Down in the size field takes the next size", 100, 0, kSizeDown, L"", 0, 105, 0, L"10.5"},
        {"a stored 0 opens and stays 0", 0, 0, kNothing, L"", 0, 0, 0, L"0"},
        {"a stored negative size stays through a style chosen", -120, 0, kStyle, L"", 1, -120, 1, L"-12"},
        {"the tenths of a negative size show as digits", -125, 0, kNothing, L"", 0, -125, 0, L"-12.5"},
        {"a negative size below one point", -5, 0, kNothing, L"", 0, -5, 0, L"-0.5"},
        {"a size in tenths opens as points and tenths", 105, 0, kNothing, L"", 0, 105, 0, L"10.5"},
        {"bold underline clears italic", 100, 2, kStyle, L"", 5, 100, 1 | 4, L"10"},
        {"plain clears every style", 100, 7, kStyle, L"", 0, 100, 0, L"10"},
        {"all three styles", 100, 0, kStyle, L"", 7, 100, 7, L"10"},
        {"a character set picked", 100, 0, kCharset, L"欧文", 0, 100, 0, L"10", kJapaneseFace, 128, kJapaneseFace, 0},
        {"a one-set family takes its set and greys the list", 100, 0, kFamily, kSingleSetFace, 0, 100, 0, L"10",
         kJapaneseFace, 128, kSingleSetFace, -1, true, false},
        {"a face not installed comes back unchanged", 100, 1, kNothing, L"", 0, 100, 1, L"10", L"No Such Face", 0,
         L"No Such Face", 0, false},
        {"a face not installed gives way to a chosen family", 100, 0, kFamily, kJapaneseFace, 0, 100, 0, L"10",
         L"No Such Face"},
    };
    for (const TFontRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto resolve = [&](const wchar_t* face) { return face == kSingleSetFace ? singleFace : CString(face); };
        TFontDialogEx dialog;
        dialog.SetFaceName(row.face);
        dialog.charset = row.charset;
        dialog.size = row.size;
        dialog.bold = row.style & 1;
        dialog.italic = row.style & 2;
        dialog.underline = row.style & 4;
        bool familySelected = false, charsetsEnabled = false;
        CString sizeField;
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            switch (row.step) {
            case kNothing:
                break;
            case kFamily: {
                HWND combo = Control(window, IDC_FONT_FAMILY);
                int index = (int)::SendMessageW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                                (LPARAM)(const wchar_t*)resolve(row.argument));
                ASSERT_GE(index, 0);
                ChooseComboEntry(combo, index);
                break;
            }
            case kStyle:
                ClickListItem(Control(window, IDC_FONT_STYLE), row.index);
                break;
            case kTypeSize:
                Retype(window, IDC_FONT_SIZE, row.argument);
                break;
            case kSizeDown:
                FocusForInput(::FindWindowExW(Control(window, IDC_FONT_SIZE), nullptr, L"Edit", nullptr));
                PressKey(VK_DOWN);
                break;
            case kCharset: {
                HWND list = Control(window, IDC_FONT_CHARSET);
                int index = ListIndexOf(list, row.argument);
                ASSERT_GE(index, 0);
                ClickListItem(list, index);
                break;
            }
            }
            familySelected = ::SendMessageW(Control(window, IDC_FONT_FAMILY), CB_GETCURSEL, 0, 0) >= 0;
            charsetsEnabled = ::IsWindowEnabled(Control(window, IDC_FONT_CHARSET)) != FALSE;
            sizeField = Text(window, IDC_FONT_SIZE);
            if (row.step == kStyle && row.index == 5) {
                SaveWindowPng(window, ScreenshotPath(L"font-dialog.png"));
            }
            if (row.size == -125)
                SaveWindowPng(window, ScreenshotPath(L"font-dialog-negative-size.png"));
            Click(window, IDOK);
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(resolve(row.face2), dialog.GetFaceName());
        EXPECT_EQ(row.charset2 < 0 ? singleSet : row.charset2, dialog.charset);
        EXPECT_EQ(row.size2, dialog.size);
        EXPECT_EQ((row.style2 & 1) != 0, dialog.bold);
        EXPECT_EQ((row.style2 & 2) != 0, dialog.italic);
        EXPECT_EQ((row.style2 & 4) != 0, dialog.underline);
        EXPECT_EQ(CString(row.sizeField), sizeField);
        EXPECT_EQ(row.familySelected, familySelected);
        EXPECT_EQ(row.charsetsEnabled, charsetsEnabled);
    }
}
