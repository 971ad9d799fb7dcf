// The display theme, member list and server tree pages as a user meets them. The theme page lists
// the themes of both folders, loads them whole or in part with real clicks, saves the working
// settings under a typed name and deletes user themes after asking; names that would leave the
// themes folder and damaged theme files are refused or held in bounds. The list and tree pages'
// buttons open the choosers, answered with real input; the preview rows take each colour at once
// and OK writes every key. A golden view file and theme go through the window unchanged.

#include "dialogs/FontDialog.h"
#include "foundation/Path.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/prefs/ChooserSteps.h"
#include "tests/prefs/PreferenceSheetFixture.h"

#include <functional>

namespace {

using E = TPageEdit;

const wchar_t kView[] = L"view.ini";
const wchar_t kDefaults[] = L"**初期設定";
const wchar_t kDefaultJoin[] = L"*%n join %c (%u@%h)";

void WriteBytes(const CString& path, const std::string& bytes)
{
    ::CreateDirectoryW(path.Left(path.ReverseFind(L'\\')), nullptr);
    ASSERT_TRUE(WriteFileBytes(path, CStringA(bytes.data(), (int)bytes.size()))) << Narrow(path);
}

// A theme of the current format holding only a member-list font size and a join format.
std::string Theme(int listSize, const char* join)
{
    return std::string("Encoding=UTF-8\r\n[List]\r\nFont.Size=") + std::to_string(listSize) +
           "\r\n[Format]\r\nJoin=" + join + "\r\n";
}

// A colour button of a view page, the colour answered and where it shows.
struct TColorRow {
    const char* what;
    int button;
    COLORREF color;
    const wchar_t* key;
    int previewRow; // the preview row filled with it, -1 when only the file shows it
};

class ThemePagesTest : public PreferenceSheetFixture {
protected:
    CString Folder(bool user) { return user ? settings.GetUserThemeFolder() : settings.GetProgramThemeFolder(); }
    TViewPage& Page() { return dialog->viewPage; }
    HWND List() { return Control(&Page(), IDC_THEME_LIST); }
    std::wstring Entries()
    {
        std::wstring joined;
        int count = (int)::SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            wchar_t text[256] = L"";
            ::SendMessageW(List(), LB_GETTEXT, i, (LPARAM)text);
            joined += (i ? L"|" : L"") + std::wstring(text);
        }
        return joined;
    }
    int EntryIndex(const wchar_t* text)
    {
        return (int)::SendMessageW(List(), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    }
    void ClickEntry(const wchar_t* text, bool twice = false)
    {
        int index = EntryIndex(text);
        ASSERT_GE(index, 0) << Narrow(text);
        if (twice) {
            RECT item = {};
            ::SendMessageW(List(), LB_GETITEMRECT, index, (LPARAM)&item);
            DoubleClickAt(ScreenPointOf(List(), item.left + 8, (item.top + item.bottom) / 2));
        } else {
            ClickListItem(List(), index);
        }
        Idle();
    }
    // Answers the question the click raises with OK or Cancel.
    void ClickAnswering(TPropertyPage* page, int button, bool confirm)
    {
        EXPECT_TRUE(ClickAndAnswer(Control(page, button), HasCaption(L"確認"), [confirm](HWND box) {
            ClickAt(ScreenPointOf(::Control(box, confirm ? IDOK : IDCANCEL)));
        })) << "no question";
        Idle();
    }
    // Clicks the page's button and answers the colour or font chooser it opens.
    void ChooseFor(TPropertyPage* page, int button, COLORREF color, const wchar_t* fontSize = nullptr)
    {
        EXPECT_TRUE(ClickAndChoose(Control(page, button), color, fontSize)) << "no chooser";
    }
    bool DetailRowsHold(const wchar_t* text)
    {
        const TFormatDetailPage& details = dialog->formatDetailPage;
        for (int row = 0; row < details.GetList().GetItemCount(); row++) {
            bool channel = false, console = false;
            CString shown;
            details.GetRow(row, channel, console, shown);
            if (shown == text)
                return true;
        }
        return false;
    }
    // Each row's colour answered in the chooser its button opens; the preview checked at once.
    template <size_t N>
    void ChooseColors(TPropertyPage* page, const TColorRow (&rows)[N],
                      const std::function<void(const TColorRow&)>& shown)
    {
        for (const TColorRow& row : rows) {
            SCOPED_TRACE(row.what);
            ChooseFor(page, row.button, row.color);
            if (row.previewRow >= 0)
                shown(row);
        }
    }
    // OK, then every colour and the font size as "view.ini" holds them.
    template <size_t N>
    void ConfirmAndExpectStored(const wchar_t* screenshot, const wchar_t* section, const TColorRow (&rows)[N],
                                const wchar_t* fontSize)
    {
        SaveWindowPng(dialog->m_hWnd, ScreenshotPath(screenshot));
        ClickOk();
        ASSERT_EQ(1, okCount);
        for (const TColorRow& row : rows) {
            EXPECT_EQ(std::wstring(Hex(row.color)), Stored(section, row.key, kView)) << row.what;
        }
        EXPECT_EQ(fontSize, Stored(section, L"Font.Size", kView));
    }
    COLORREF PixelOf(HWND window, int x, int y)
    {
        ::UpdateWindow(window);
        HDC dc = ::GetDC(window);
        COLORREF color = ::GetPixel(dc, x, y);
        ::ReleaseDC(window, dc);
        return color;
    }
    CString Hex(COLORREF color)
    {
        CString text;
        text.Format(L"%06x", color);
        return text;
    }
};

// What the theme page shows and loads after each user step.
struct TThemeStep {
    const char* what;
    enum Kind { Select, DoubleClick, Press, Type, Delete, KeepOnCancel } kind;
    const wchar_t* text = nullptr; // the entry clicked, or the name typed
    int button = 0;
    const wchar_t* edit = nullptr;    // the name edit afterwards, or null
    const char* enabled = nullptr;    // save, load, delete: '1' on, '0' off, '-' not checked
    int listSize = 0;                 // the working member-list font size afterwards, 0 not checked
    const wchar_t* join = nullptr;    // the working join format afterwards, or null
    const wchar_t* entries = nullptr; // the list afterwards, or null
};

} // namespace

TEST_F(ThemePagesTest, ThemePage)
{
    WriteBytes(Folder(false) + L"a.theme", Theme(120, "prog-a join"));
    WriteBytes(Folder(false) + L"B.theme", Theme(125, "prog-B join"));
    WriteBytes(Folder(true) + L"a.theme", Theme(140, "user-a join"));
    WriteBytes(Folder(true) + L"zeta.theme", Theme(160, "zeta join"));
    WriteBytes(Folder(true) + L"a.kvf",
               "[Font_MemList]\r\nName=Tahoma\r\nSize=13\r\n[Format]\r\nMsgJoinFormat=old join\r\n");
    WriteBytes(Folder(true) + L"notes.txt", "not a theme");
    ::CreateDirectoryW(Folder(true) + L"folder.theme", nullptr);
    const std::string userA = ReadFileString(Folder(true) + L"a.theme");

    const TThemeStep steps[] = {
        {"the defaults entry empties the name", TThemeStep::Select, kDefaults, 0, L"", "010", 0, nullptr, nullptr},
        {"a program theme cannot be deleted", TThemeStep::Select, L"**a", 0, L"a", "110", 0, nullptr, nullptr},
        {"load all takes both parts", TThemeStep::Press, nullptr, IDC_THEME_LOAD_ALL, L"a", "110", 120, L"prog-a join"},
        {"an old view file can be deleted", TThemeStep::Select, L"*a", 0, L"a", "111", 0, nullptr, nullptr},
        {"its display settings alone", TThemeStep::Press, nullptr, IDC_THEME_LOAD_APPEARANCE, nullptr, nullptr, 130,
         L"prog-a join"},
        {"its messages alone", TThemeStep::Press, nullptr, IDC_THEME_LOAD_FORMATS, nullptr, nullptr, 130, L"old join"},
        {"a double click loads all", TThemeStep::DoubleClick, L"zeta", 0, L"zeta", "111", 160, L"zeta join"},
        {"the defaults' messages keep the display", TThemeStep::Select, kDefaults, 0, L"", "010", 160, L"zeta join"},
        {"", TThemeStep::Press, nullptr, IDC_THEME_LOAD_FORMATS, nullptr, nullptr, 160, kDefaultJoin},
        {"the defaults' display settings", TThemeStep::Press, nullptr, IDC_THEME_LOAD_APPEARANCE, nullptr, nullptr, 100,
         kDefaultJoin},
        {"two dots alone are refused", TThemeStep::Type, L"..", 0, nullptr, "0--"},
        {"a device name is refused", TThemeStep::Type, L"con", 0, nullptr, "0--"},
        {"a device name with a dot too", TThemeStep::Type, L"nul.txt", 0, nullptr, "0--"},
        {"a separator is refused", TThemeStep::Type, L"sub\\x", 0, nullptr, "0--"},
        {"a character Windows keeps for itself is refused", TThemeStep::Type, L"mi|ne", 0, nullptr, "0--"},
        {"a plain name can be saved", TThemeStep::Type, L"mine", 0, nullptr, "1--"},
        {"saving lists it", TThemeStep::Press, nullptr, IDC_THEME_SAVE, L"mine", nullptr, 100, kDefaultJoin,
         L"**初期設定|**B|**a|*a|a|mine|zeta"},
        {"saving over a theme keeps one entry", TThemeStep::Type, L"zeta", 0, nullptr, "1--"},
        {"", TThemeStep::Press, nullptr, IDC_THEME_SAVE, nullptr, nullptr, 0, nullptr,
         L"**初期設定|**B|**a|*a|a|mine|zeta"},
        // The theme file of a name ending in a dot is "night..theme", which the list shows by that name.
        {"a trailing dot is a name of its own", TThemeStep::DoubleClick, L"**a", 0, L"a", "110", 120, L"prog-a join"},
        {"", TThemeStep::Type, L"night.", 0, nullptr, "1--"},
        {"", TThemeStep::Press, nullptr, IDC_THEME_SAVE, nullptr, nullptr, 0, nullptr,
         L"**初期設定|**B|**a|*a|a|mine|night.|zeta"},
        {"it loads", TThemeStep::DoubleClick, kDefaults, 0, L"", "010", 100, kDefaultJoin},
        {"", TThemeStep::DoubleClick, L"night.", 0, L"night.", "111", 120, L"prog-a join"},
        {"and is deleted", TThemeStep::Delete, nullptr, IDC_THEME_DELETE, nullptr, nullptr, 0, nullptr,
         L"**初期設定|**B|**a|*a|a|mine|zeta"},
        {"cancelling the question deletes nothing", TThemeStep::Select, L"*a", 0, L"a", "111"},
        {"", TThemeStep::KeepOnCancel, nullptr, IDC_THEME_DELETE, nullptr, nullptr, 0, nullptr,
         L"**初期設定|**B|**a|*a|a|mine|zeta"},
        {"deleting *a takes the old file only", TThemeStep::Delete, nullptr, IDC_THEME_DELETE, nullptr, nullptr, 0,
         nullptr, L"**初期設定|**B|**a|a|mine|zeta"},
    };
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::formatDetailPage));
    ShowPage(&Page());
    EXPECT_EQ(L"**初期設定|**B|**a|*a|a|zeta", Entries()) << "program themes, old files, user themes; B before a";
    EXPECT_EQ(-1, (int)::SendMessageW(List(), LB_GETCURSEL, 0, 0));
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-theme.png"));
    for (const TThemeStep& step : steps) {
        SCOPED_TRACE(step.what);
        switch (step.kind) {
        case TThemeStep::Select:
        case TThemeStep::DoubleClick:
            ClickEntry(step.text, step.kind == TThemeStep::DoubleClick);
            break;
        case TThemeStep::Press:
            Apply({E::Click, step.button, L""});
            break;
        case TThemeStep::Type:
            Apply({E::Type, IDC_THEME_NAME, step.text});
            break;
        case TThemeStep::Delete:
        case TThemeStep::KeepOnCancel:
            ClickAnswering(&Page(), step.button, step.kind == TThemeStep::Delete);
            break;
        }
        if (step.edit) {
            EXPECT_EQ(CString(step.edit), Text(Page().m_hWnd, IDC_THEME_NAME));
        }
        const int buttons[] = {IDC_THEME_SAVE, IDC_THEME_LOAD_ALL, IDC_THEME_DELETE};
        for (int i = 0; step.enabled && i < 3; i++) {
            if (step.enabled[i] != '-') {
                EXPECT_EQ(step.enabled[i] == '1', Enabled(&Page(), buttons[i])) << "button " << buttons[i];
            }
        }
        if (step.enabled && step.enabled[1] == '1') {
            EXPECT_TRUE(Enabled(&Page(), IDC_THEME_LOAD_APPEARANCE));
            EXPECT_TRUE(Enabled(&Page(), IDC_THEME_LOAD_FORMATS));
        }
        if (step.listSize) {
            EXPECT_EQ(step.listSize, dialog->GetWorkingView().list.font.size);
        }
        if (step.join) {
            EXPECT_EQ(CString(step.join), dialog->GetWorkingView().formats.Join);
            EXPECT_TRUE(DetailRowsHold(step.join)) << "the message details page shows the loaded formats";
        }
        if (step.entries) {
            EXPECT_EQ(step.entries, Entries());
        }
    }
    EXPECT_FALSE(PathExists(Folder(true) + L"a.kvf"));
    EXPECT_EQ(userA, ReadFileString(Folder(true) + L"a.theme")) << "loading and deleting left the user theme a alone";
    TViewSettings saved;
    ASSERT_TRUE(saved.LoadFile(Folder(true) + L"mine.theme"));
    EXPECT_EQ(100, saved.list.font.size);
    EXPECT_EQ(kDefaultJoin, saved.formats.Join);
    EXPECT_FALSE(PathExists(settings.GetSettingsFolder() + kView) &&
                 ReadFileString(settings.GetSettingsFolder() + kView) != viewGolden)
        << "nothing reaches view.ini before OK";
}

// Names that would leave the themes folder are refused by the window itself, and a damaged
// theme loads within bounds without being written.
TEST_F(ThemePagesTest, DamagedThemesAndNamesLeadingOut)
{
    std::string big(2 << 20, 'x');
    static const char kJunk[] = "\xff\xfe\x00junk\r\n[List\r\n\x01\x02=\x03\r\nFont.Size=130\r\n=\r\n[\r\n";
    const struct {
        const char* what;
        const wchar_t* file;
        std::string bytes;
        int listSize; // what the working size is afterwards
    } themes[] = {
        {"a huge size is held to the largest", L"huge.theme", Theme(999999999, "x"), kLargestFontSize},
        {"a negative size is taken as read", L"negative.theme", Theme(-40, "x"), -40},
        {"binary junk around a good key", L"junk.theme", std::string(kJunk, sizeof kJunk - 1), 130},
        {"a file far too large is not read", L"big.theme", Theme(170, "x") + big, 130},
    };
    for (const auto& theme : themes)
        WriteBytes(Folder(true) + theme.file, theme.bytes);
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::viewListPage));
    ShowPage(&Page());
    for (const auto& theme : themes) {
        SCOPED_TRACE(theme.what);
        CString name(theme.file);
        ClickEntry(name.Left(name.GetLength() - 6), true);
        EXPECT_EQ(theme.listSize, dialog->GetWorkingView().list.font.size);
        LOGFONTW font = {};
        ::GetObjectW(dialog->viewListPage.GetPreviewFont(), sizeof font, &font);
        EXPECT_NE(0, font.lfHeight);
        EXPECT_EQ(theme.bytes, ReadFileString(Folder(true) + theme.file)) << "loading wrote the file";
    }

    WriteBytes(settings.GetSettingsFolder() + L"outside.theme", Theme(150, "outside"));
    WriteBytes(settings.GetSettingsFolder() + L"victim.txt", "keep me");
    const struct {
        const char* what;
        std::function<bool()> call;
    } refused[] = {
        {"save up and out", [&] { return dialog->SaveTheme(L"..\\escape.theme"); }},
        {"save to a device", [&] { return dialog->SaveTheme(L"con.theme"); }},
        {"save with a drive", [&] { return dialog->SaveTheme(L"C:escape.theme"); }},
        {"delete up and out", [&] { return dialog->DeleteTheme(L"..\\victim.txt"); }},
        {"delete the folder above", [&] { return dialog->DeleteTheme(L".."); }},
        {"load from above", [&] { return dialog->LoadTheme(L"..\\outside.theme", true, false); }},
        {"load an old file from above", [&] { return dialog->LoadThemeAppearance(L"..\\outside.theme", true, true); }},
        {"load a missing theme", [&] { return dialog->LoadThemeFormats(L"missing.theme", true, false); }},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(row.call());
        EXPECT_EQ(130, dialog->GetWorkingView().list.font.size) << "the working settings stay";
    }
    EXPECT_FALSE(PathExists(settings.GetSettingsFolder() + L"escape.theme"));
    EXPECT_EQ("keep me", ReadFileString(settings.GetSettingsFolder() + L"victim.txt"));
    EXPECT_TRUE(dialog->SaveTheme(L"inside.theme")) << "a plain name is taken";
    EXPECT_TRUE(PathExists(Folder(true) + L"inside.theme"));
}

TEST_F(ThemePagesTest, MemberListPage)
{
    const TColorRow rows[] = {
        {"normal text", IDC_VIEW_NORMAL_TEXT, RGB(20, 30, 40), L"Font.Color", -1},
        {"normal background", IDC_VIEW_NORMAL_BACK, RGB(250, 250, 220), L"BackColor", 0},
        {"selected text", IDC_VIEW_SELECTED_TEXT, RGB(255, 255, 0), L"SelectedColor.Text", -1},
        {"selected background", IDC_LIST_SELECTED_BACK, RGB(0, 0, 128), L"SelectedColor.Back", 1},
        {"own nick text", IDC_LIST_SELF_TEXT, RGB(128, 0, 0), L"SelfColor.Text", -1},
        {"own nick background", IDC_LIST_SELF_BACK, RGB(255, 220, 220), L"SelfColor.Back", 2},
        {"group 1 text", IDC_LIST_GROUP1_TEXT, RGB(1, 100, 1), L"GroupColor.00.Text", -1},
        {"group 1 background", IDC_LIST_GROUP1_BACK, RGB(200, 255, 200), L"GroupColor.00.Back", 3},
        {"group 2 text", IDC_LIST_GROUP2_TEXT, RGB(2, 100, 2), L"GroupColor.01.Text", -1},
        {"group 2 background", IDC_LIST_GROUP2_BACK, RGB(201, 255, 200), L"GroupColor.01.Back", 4},
        {"group 3 text", IDC_LIST_GROUP3_TEXT, RGB(3, 100, 3), L"GroupColor.02.Text", -1},
        {"group 3 background", IDC_LIST_GROUP3_BACK, RGB(202, 255, 200), L"GroupColor.02.Back", 5},
        {"group 4 text", IDC_LIST_GROUP4_TEXT, RGB(4, 100, 4), L"GroupColor.03.Text", -1},
        {"group 4 background", IDC_LIST_GROUP4_BACK, RGB(203, 255, 200), L"GroupColor.03.Back", 6},
        {"group 5 text", IDC_LIST_GROUP5_TEXT, RGB(5, 100, 5), L"GroupColor.04.Text", -1},
        {"group 5 background is the last pair", IDC_LIST_GROUP5_BACK, RGB(204, 255, 200), L"GroupColor.04.Back", 7},
    };
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::viewListPage));
    TViewListPage& page = dialog->viewListPage;
    HWND preview = page.GetPreview().m_hWnd;
    ASSERT_TRUE(preview);
    ASSERT_EQ(8, ListView_GetItemCount(preview));
    auto pixelOfRow = [&](int row) {
        RECT label = {LVIR_LABEL, 0, 0, 0};
        ::SendMessageW(preview, LVM_GETITEMRECT, row, (LPARAM)&label);
        return PixelOf(preview, label.left + 1, label.top + 1);
    };
    EXPECT_EQ((COLORREF)0xC0C0FF, pixelOfRow(2)) << "the own nick's default background";
    ChooseColors(&page, rows, [&](const TColorRow& row) {
        EXPECT_EQ(row.color, pixelOfRow(row.previewRow)) << "the preview row took it at once";
    });
    EXPECT_EQ(RGB(250, 250, 220), (COLORREF)ListView_GetBkColor(preview));
    LOGFONTW before = {}, after = {};
    ::GetObjectW(page.GetPreviewFont(), sizeof before, &before);
    ChooseFor(&page, IDC_VIEW_FONT, 0, L"16");
    ::GetObjectW(page.GetPreviewFont(), sizeof after, &after);
    EXPECT_GT(abs(after.lfHeight), abs(before.lfHeight));
    EXPECT_EQ(RGB(20, 30, 40), dialog->GetWorkingView().list.font.color) << "the font keeps its colour";
    ConfirmAndExpectStored(L"pref-member-list.png", L"List", rows, L"160");
    EXPECT_EQ(golden, FileBytes()) << "the page writes nothing into preference.ini";
}

TEST_F(ThemePagesTest, ServerTreePage)
{
    const TColorRow rows[] = {
        {"normal text", IDC_VIEW_NORMAL_TEXT, RGB(20, 30, 40), L"Font.Color", -1},
        {"normal background", IDC_VIEW_NORMAL_BACK, RGB(250, 250, 220), L"BackColor", 1},
        {"selected text", IDC_VIEW_SELECTED_TEXT, RGB(255, 255, 0), L"SelectedColor.Text", -1},
        {"selected background", IDC_TREE_SELECTED_BACK, RGB(0, 0, 128), L"SelectedColor.Back", 2},
        {"keyword text", IDC_TREE_KEYWORD_TEXT, RGB(128, 0, 0), L"KeywordColor.Text", -1},
        {"keyword background", IDC_TREE_KEYWORD_BACK, RGB(255, 220, 220), L"KeywordColor.Back", 3},
        {"new talk text", IDC_TREE_NEW_TALK_TEXT, RGB(1, 100, 1), L"NewTalkColor.Text", -1},
        {"new talk background", IDC_TREE_NEW_TALK_BACK, RGB(200, 255, 200), L"NewTalkColor.Back", 4},
        {"unread text", IDC_TREE_UPDATE_TEXT, RGB(2, 100, 2), L"UpdateColor.Text", -1},
        {"unread background", IDC_TREE_UPDATE_BACK, RGB(201, 201, 255), L"UpdateColor.Back", 5},
    };
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::viewTreePage));
    TViewTreePage& page = dialog->viewTreePage;
    HWND tree = page.GetPreview().m_hWnd;
    ASSERT_TRUE(tree);
    HTREEITEM server = TreeView_GetRoot(tree);
    ASSERT_TRUE(server);
    std::vector<HTREEITEM> items = {server};
    for (HTREEITEM child = TreeView_GetChild(tree, server); child; child = TreeView_GetNextSibling(tree, child))
        items.push_back(child);
    ASSERT_EQ(6u, items.size());
    EXPECT_TRUE(TreeView_GetItemState(tree, server, TVIS_EXPANDED) & TVIS_EXPANDED);
    // The label's right end, and the number box left of a channel's picture.
    auto pixelOfRow = [&](int row, bool numberBox) {
        RECT label = {};
        TreeView_GetItemRect(tree, items[row], &label, TRUE);
        return PixelOf(tree, numberBox ? 3 : label.right - 2, label.top + 1);
    };
    ChooseColors(&page, rows, [&](const TColorRow& row) {
        EXPECT_EQ(row.color, pixelOfRow(row.previewRow, false)) << "the preview row took it at once";
        EXPECT_EQ(row.color, pixelOfRow(row.previewRow, true)) << "its number box too";
    });
    EXPECT_NE(RGB(250, 250, 220), pixelOfRow(0, true)) << "the server row shows its picture, no number box";
    // Each channel row's number box holds its number: pixels other than the row's background.
    int indent = TreeView_GetIndent(tree);
    for (int row = 1; row < 6; row++) {
        RECT label = {};
        TreeView_GetItemRect(tree, items[row], &label, TRUE);
        RECT box = {2, label.top, 2 + indent, label.bottom};
        int inked = CountPixelsOtherThan(tree, box, pixelOfRow(row, true));
        EXPECT_GT(inked, 4) << "row " << row;
    }
    EXPECT_EQ(RGB(250, 250, 220), (COLORREF)TreeView_GetBkColor(tree));
    int height = TreeView_GetItemHeight(tree);
    ChooseFor(&page, IDC_VIEW_FONT, 0, L"18");
    EXPECT_GT(TreeView_GetItemHeight(tree), height) << "the rows grew with the font";
    EXPECT_EQ(RGB(20, 30, 40), dialog->GetWorkingView().tree.font.color) << "the font keeps its colour";
    ConfirmAndExpectStored(L"pref-server-tree.png", L"Tree", rows, L"180");
}

// A view file with every key off its default goes through the window unchanged: confirmed as it
// was, and loaded as a theme over the defaults and saved again, byte for byte.
TEST_F(ThemePagesTest, GoldenViewAndThemeRoundTrip)
{
    TViewSettings view;
    view.SetDefaults();
    view.formats.SetDefaults();
    TViewLogTextConfig& t = view.logText;
    for (int i = 0; i < kLineKindCount; i++) {
        t.lineFonts[i].size = 80 + i;
        t.lineFonts[i].color = RGB(i * 10, 255 - i, 7);
        t.lineFonts[i].italic = i % 3 == 0;
    }
    t.nickFonts[4].family = L"Tahoma";
    t.nickFonts[4].nFlag = true;
    t.timeFont.underline = true;
    t.keywordFont.charset = 0;
    t.shadowKind = 2;
    t.shadowColor = RGB(1, 2, 3);
    t.useUrlFont = t.useHostnameFont = true;
    t.hilightBackColor = RGB(9, 8, 7);
    view.channelLogBack = {RGB(240, 240, 250), L"sky.jpg", 101};
    view.allLogBack = {RGB(250, 240, 240), L"sub\\sea.bmp", 305};
    view.list.font = {L"Tahoma", 0, 115, false, true, false, false, RGB(5, 6, 7)};
    view.list.selfBack = RGB(11, 12, 13);
    for (int g = 0; g < kUserGroupCount; g++)
        view.list.groupText[g] = RGB(20 + g, 30, 40);
    view.list.backColor = RGB(14, 15, 16);
    view.tree.font.italic = view.tree.font.underline = true;
    view.tree.keywordText = RGB(17, 18, 19);
    view.tree.updateBack = RGB(21, 22, 23);
    view.tree.backColor = 0xFFFFFFFF;
    view.editFont.size = 135;
    view.editBackColor = RGB(24, 25, 26);
    view.formats.Join = L"→ %n が %c に";
    view.formats.Time = L"[%H:%M:%S] ";
    view.formats.EnableTime = false;
    const CString viewPath = settings.GetSettingsFolder() + kView;
    ASSERT_TRUE(view.SaveFile(viewPath));
    ASSERT_TRUE(view.SaveFile(Folder(true) + L"golden.theme"));
    const std::string bytes = ReadFileString(viewPath);
    ASSERT_EQ(bytes, ReadFileString(Folder(true) + L"golden.theme"));
    settings.view.Load(settings);

    Open();
    ASSERT_TRUE(dialog);
    const struct {
        TPropertyPage* page;
        const wchar_t* screenshot;
    } pages[] = {{&dialog->viewLogTextPage, L"pref-golden-log.png"},
                 {&dialog->viewTreePage, L"pref-golden-tree.png"},
                 {&dialog->viewListPage, L"pref-golden-list.png"},
                 {&dialog->viewEditPage, L"pref-golden-input.png"},
                 {&dialog->formatPage, L"pref-golden-messages.png"},
                 {&dialog->formatDetailPage, L"pref-golden-message-details.png"},
                 {&dialog->viewPage, L"pref-golden-theme.png"}};
    for (const auto& shown : pages) {
        ShowPage(shown.page);
        SaveWindowPng(dialog->m_hWnd, ScreenshotPath(shown.screenshot));
    }
    ClickEntry(kDefaults);
    Apply({E::Click, IDC_THEME_LOAD_ALL, L""});
    EXPECT_EQ(100, dialog->GetWorkingView().editFont.size) << "the defaults came first";
    ClickEntry(L"golden");
    Apply({E::Click, IDC_THEME_LOAD_ALL, L""});
    Apply({E::Type, IDC_THEME_NAME, L"again"});
    Apply({E::Click, IDC_THEME_SAVE, L""});
    EXPECT_EQ(bytes, ReadFileString(Folder(true) + L"again.theme"))
        << "loaded over the defaults and saved: the same bytes";
    ClickOk();
    ASSERT_EQ(1, okCount);
    EXPECT_EQ(bytes, ReadFileString(viewPath)) << "confirmed unchanged: the same bytes";
}
