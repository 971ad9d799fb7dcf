// The input text and layout pages as a user meets them. The layout page's controls edited with
// real clicks and keys, OK, and every key read back from "preference.ini" (typed numbers clamped
// into their ranges). The input text page's buttons open the font and colour choosers, which are
// answered with real input; the preview follows at once, and OK writes "view.ini".

#include "dialogs/FontDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ShownWindow.h"
#include "tests/prefs/PreferenceSheetFixture.h"

namespace {

using E = TPageEdit;

class ViewPagesTest : public PreferenceSheetFixture {};

const wchar_t kLayout[] = L"Layout";
const wchar_t kEdit[] = L"Edit";
const wchar_t kView[] = L"view.ini";

enum TEditButton { kFont, kTextColor, kBackColor };

struct TEditRow {
    const char* name;
    TEditButton button;
    // The font chooser: size typed, style entry clicked (-1 none); the colour chooser: red, green
    // and blue typed. Cancel when false.
    const wchar_t* size;
    int style;
    int red, green, blue;
    bool confirm;
};

// What the user does in the chooser the button opened.
void AnswerChooser(const TEditRow& row, HWND box)
{
    if (row.button == kFont) {
        if (row.size)
            Retype(box, IDC_FONT_SIZE, row.size);
        if (row.style >= 0)
            ClickListItem(Control(box, IDC_FONT_STYLE), row.style);
    } else if (row.confirm) {
        AnswerColorChooser(box, RGB(row.red, row.green, row.blue));
        return;
    }
    ClickAt(ScreenPointOf(Control(box, row.confirm ? IDOK : IDCANCEL)));
}

int FontHeight(HWND window)
{
    LOGFONTW font = {};
    ::GetObjectW((HFONT)::SendMessageW(window, WM_GETFONT, 0, 0), sizeof font, &font);
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

// The layout page's table, run as every behaviour page's is.
const TPageTable kLayoutPage[] = {
    {"Layout",
     PageOf<&TPreferenceDialog::viewLayoutPage>,
     {{E::Click, IDC_LAYOUT_THREE_COLUMNS, L"", kLayout, L"ThreeColumnsLayout", L"true"},
      {E::Click, IDC_LAYOUT_LOG_RIGHT, L"", kLayout, L"InvertLogAndList", L"false"},
      {E::Click, IDC_LAYOUT_SWAP_TREE_LIST, L"", kLayout, L"InvertMemberAndTree", L"true"},
      {E::Click, IDC_LAYOUT_SORT_TREE, L"", kLayout, L"SortTree", L"true"},
      {E::Down, IDC_LAYOUT_MEMBER_SORT, L"3", kLayout, L"MemberSortMethod", L"3"},
      {E::Type, IDC_LAYOUT_LEADING, L"500", kLayout, L"LineLeading", L"100"},
      {E::Type, IDC_LAYOUT_INDENT, L"12", kLayout, L"Indent", L"12"},
      {E::Type, IDC_LAYOUT_BOTTOM, L"0", kLayout, L"BottomMargin", L"0"},
      {E::Type, IDC_LAYOUT_CHANNEL_LINES, L"0", kLayout, L"ChannelLogMaxLines", L"1"},
      {E::Type, IDC_LAYOUT_CONSOLE_LINES, L"2000000", kLayout, L"ConsoleLogMaxLines", L"1000000"}}},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(View, PreferencePageTable, ::testing::ValuesIn(kLayoutPage), PageTableName);

// The log text page takes the new spacing for its samples when either spacing field was edited.
TEST_F(ViewPagesTest, LayoutPageNotesSpacingEdits)
{
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::viewLayoutPage));
    TViewLayoutPage& page = dialog->viewLayoutPage;
    EXPECT_FALSE(page.TakeSpacingChanged()) << "loading is no edit";
    const struct {
        int control;
        bool noted;
    } rows[] = {{IDC_LAYOUT_BOTTOM, false},
                {IDC_LAYOUT_LEADING, true},
                {IDC_LAYOUT_CHANNEL_LINES, false},
                {IDC_LAYOUT_INDENT, true}};
    for (const auto& row : rows) {
        Apply({E::Type, row.control, L"7"});
        EXPECT_EQ(row.noted, page.TakeSpacingChanged()) << "control " << row.control;
        EXPECT_FALSE(page.TakeSpacingChanged()) << "taken once";
    }
}

TEST_F(ViewPagesTest, InputTextPage)
{
    // The fixture's view.ini: 11 points italic, text 0x203040 on 0xEEFFEE.
    const TEditRow rows[] = {
        {"a bigger bold font", kFont, L"14", 1, 0, 0, 0, true},
        {"a cancelled font changes nothing", kFont, L"30", 7, 0, 0, 0, false},
        {"the text colour", kTextColor, nullptr, -1, 200, 10, 20, true},
        {"the background colour", kBackColor, nullptr, -1, 10, 20, 200, true},
        {"a cancelled colour changes nothing", kBackColor, nullptr, -1, 1, 2, 3, false},
    };
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::viewEditPage));
    TViewEditPage& page = dialog->viewEditPage;
    HWND preview = Control(&page, IDC_EDIT_VIEW_PREVIEW);
    EXPECT_EQ(L"abcde あいうえお", GetControlText(preview));
    EXPECT_EQ((COLORREF)0x203040, page.GetPreview().textColor);
    EXPECT_EQ((COLORREF)0xEEFFEE, page.GetPreview().backgroundColor);
    int startHeight = FontHeight(preview);
    for (const TEditRow& row : rows) {
        SCOPED_TRACE(row.name);
        const int buttons[] = {IDC_EDIT_VIEW_FONT, IDC_EDIT_VIEW_TEXT_COLOR, IDC_EDIT_VIEW_BACK_COLOR};
        EXPECT_TRUE(ClickAndAnswer(Control(&page, buttons[row.button]),
                                   row.button == kFont ? HasControl(IDC_FONT_SAMPLE) : IsColorChooser(),
                                   [&](HWND box) { AnswerChooser(row, box); }))
            << "no chooser";
    }
    // The preview took the choices before OK.
    EXPECT_EQ(RGB(200, 10, 20), page.GetPreview().textColor);
    EXPECT_EQ(RGB(10, 20, 200), page.GetPreview().backgroundColor);
    EXPECT_GT(FontHeight(preview), startHeight);
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-input-text.png"));
    ClickOk();
    ASSERT_EQ(1, okCount);
    EXPECT_EQ(L"140", Stored(kEdit, L"Font.Size", kView));
    EXPECT_EQ(L"B", Stored(kEdit, L"Font.Style", kView));
    EXPECT_EQ(L"140ac8", Stored(kEdit, L"Font.Color", kView));
    EXPECT_EQ(L"c8140a", Stored(kEdit, L"BackColor", kView));
    EXPECT_EQ(golden, FileBytes()) << "the page writes nothing into preference.ini";
}
