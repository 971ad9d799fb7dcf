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
    // The font handed in.
    const wchar_t* face;
    BYTE charset;
    int size;
    int style; // bit 1 bold, 2 italic, 4 underline
    // What the user does.
    TStep step;
    const wchar_t* argument; // face, size text, or the entry's display text
    int index;               // style entry
    // What comes back.
    const wchar_t* face2;
    int charset2; // -1: the one set of the single-set face
    int size2;
    int style2;
    const wchar_t* sizeField;
    bool familySelected;
    bool charsetsEnabled;
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
        {"10.5 typed is 105 tenths", kJapaneseFace, 128, 120, 0, kTypeSize, L"10.5", 0, kJapaneseFace, 128, 105, 0,
         L"10.5", true, true},
        {"10.7 typed is 107 tenths", kJapaneseFace, 128, 120, 0, kTypeSize, L"10.7", 0, kJapaneseFace, 128, 107, 0,
         L"10.7", true, true},
        {"12 typed is 120 tenths", kJapaneseFace, 128, 90, 0, kTypeSize, L"12", 0, kJapaneseFace, 128, 120, 0, L"12",
         true, true},
        {"letters give 0", kJapaneseFace, 128, 90, 0, kTypeSize, L"abc", 0, kJapaneseFace, 128, 0, 0, L"abc", true,
         true},
        {"zero gives 0", kJapaneseFace, 128, 90, 0, kTypeSize, L"0", 0, kJapaneseFace, 128, 0, 0, L"0", true, true},
        {"-12.5 typed is -125 tenths", kJapaneseFace, 128, 90, 0, kTypeSize, L"-12.5", 0, kJapaneseFace, 128, -125, 0,
         L"-12.5", true, true},
        {"-3 typed is -30 tenths", kJapaneseFace, 128, 90, 0, kTypeSize, L"-3", 0, kJapaneseFace, 128, -30, 0, L"-3",
         true, true},
        {"a size past the largest is held to it", kJapaneseFace, 128, 90, 0, kTypeSize, L"99999", 0, kJapaneseFace, 128,
         kLargestFontSize, 0, L"99999", true, true},
        {"Down in the size field takes the next size", kJapaneseFace, 128, 100, 0, kSizeDown, L"", 0, kJapaneseFace,
         128, 105, 0, L"10.5", true, true},
        {"a stored 0 opens and stays 0", kJapaneseFace, 128, 0, 0, kNothing, L"", 0, kJapaneseFace, 128, 0, 0, L"0",
         true, true},
        {"a stored negative size stays through a style chosen", kJapaneseFace, 128, -120, 0, kStyle, L"", 1,
         kJapaneseFace, 128, -120, 1, L"-12", true, true},
        {"the tenths of a negative size show as digits", kJapaneseFace, 128, -125, 0, kNothing, L"", 0, kJapaneseFace,
         128, -125, 0, L"-12.5", true, true},
        {"a negative size below one point", kJapaneseFace, 128, -5, 0, kNothing, L"", 0, kJapaneseFace, 128, -5, 0,
         L"-0.5", true, true},
        {"a size in tenths opens as points and tenths", kJapaneseFace, 128, 105, 0, kNothing, L"", 0, kJapaneseFace,
         128, 105, 0, L"10.5", true, true},
        {"bold underline clears italic", kJapaneseFace, 128, 100, 2, kStyle, L"", 5, kJapaneseFace, 128, 100, 1 | 4,
         L"10", true, true},
        {"plain clears every style", kJapaneseFace, 128, 100, 7, kStyle, L"", 0, kJapaneseFace, 128, 100, 0, L"10",
         true, true},
        {"all three styles", kJapaneseFace, 128, 100, 0, kStyle, L"", 7, kJapaneseFace, 128, 100, 7, L"10", true, true},
        {"a character set picked", kJapaneseFace, 128, 100, 0, kCharset, L"欧文", 0, kJapaneseFace, 0, 100, 0, L"10",
         true, true},
        {"a one-set family takes its set and greys the list", kJapaneseFace, 128, 100, 0, kFamily, kSingleSetFace, 0,
         kSingleSetFace, -1, 100, 0, L"10", true, false},
        {"a face not installed comes back unchanged", L"No Such Face", 0, 100, 1, kNothing, L"", 0, L"No Such Face", 0,
         100, 1, L"10", false, true},
        {"a face not installed gives way to a chosen family", L"No Such Face", 128, 100, 0, kFamily, kJapaneseFace, 0,
         kJapaneseFace, 128, 100, 0, L"10", true, true},
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
