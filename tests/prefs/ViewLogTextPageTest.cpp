// The log text page as a user meets it: items picked in its tree with the mouse, the font,
// colour and picture choosers answered with real input, lists and checks clicked. Every edit
// shows at once in the sample log on screen, and OK writes each key into "view.ini". Pictures
// that do not decode, or that the loaders refuse as too large, never become a background; a font
// that does not exist still draws text of some height. Repeated keys that redraw the samples on
// every press are read without waiting long; the layout page's spacing and the message page's
// prefixes show in the samples when the page is shown again.

#include "dialogs/FontDialog.h"
#include "dialogs/PictureListDialog.h"
#include "foundation/Path.h"
#include "log/AddressFinder.h"
#include "log/LogFormatter.h"
#include "res/windows/formatpages.h"
#include "res/windows/preference.h"
#include "res/windows/themepages.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/InputWaits.h"
#include "tests/common/JpegEncoder.h"
#include "tests/common/LogViewRows.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PictureFiles.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/prefs/PreferenceSheetFixture.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace {

const wchar_t kLogText[] = L"LogText";
const wchar_t kChannelBack[] = L"ChannelLogBack";
const wchar_t kAllBack[] = L"AllLogBack";

enum TStep { kFont, kColor, kClick, kCombo, kPicture };
// What the row's edit shows before OK: the sample log on screen changed, paints the colour, or
// draws text in about that colour; the label's text or background colour; nothing changed at all.
enum TShows { kChanged, kPaints, kInks, kLabelText, kLabelBack, kUnchanged };

struct TKey {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* stored;
};

struct TLogTextRow {
    const char* name;
    int item;
    TStep step;
    int control;
    // Font chooser: the size typed and the style entry clicked. Colour chooser: the colour.
    // Lists: the entry. Pictures: the file clicked, none for OK without a choice.
    const wchar_t* size;
    int entry;
    COLORREF color;
    const wchar_t* picture;
    TShows shows;
    std::vector<TKey> keys;
    // The text a control of the page shows afterwards, when given.
    int textControl = 0;
    const wchar_t* text = nullptr;
};

class ViewLogTextPageTest : public PreferenceSheetFixture {
protected:
    void SetUp() override
    {
        PreferenceSheetFixture::SetUp();
        // The samples show every prefix and the time, as the program's own formats have them.
        settings.view.settings.formats.SetDefaults();
        addressFinder = &finder;
        images = settings.GetUserImageFolder();
        ASSERT_TRUE(CreateFolderTree(images));
        WriteBmp(images + L"red.bmp", 8, 8, [](int, int) { return RGB(255, 0, 0); });
        std::string jpeg = EncodeJpeg(16, 16, JCS_RGB, 3, false, [](int, JSAMPLE* row) {
            for (int x = 0; x < 16; x++) {
                row[x * 3] = 0;
                row[x * 3 + 1] = 0;
                row[x * 3 + 2] = 255;
            }
        });
        ASSERT_TRUE(WriteFileBytes(images + L"blue.jpg", CStringA(jpeg.data(), (int)jpeg.size())));
        ASSERT_TRUE(WriteFileBytes(images + L"broken.bmp", CStringA("BM this is no picture at all, only text")));
        // A header that asks for 40000 by 40000 pixels in a file of a few bytes.
        std::string huge(54 + 64, '\0');
        BITMAPFILEHEADER file = {0x4D42, (DWORD)huge.size(), 0, 0, 54};
        BITMAPINFOHEADER info = {40, 40000, 40000, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        memcpy(&huge[0], &file, 14);
        memcpy(&huge[14], &info, 40);
        ASSERT_TRUE(WriteFileBytes(images + L"huge.bmp", CStringA(huge.data(), (int)huge.size())));
    }
    void TearDown() override
    {
        std::printf("longest input wait: %lu ms over %d input messages\n", (unsigned long)waits.Longest(),
                    waits.Count());
        RecordProperty("longest_input_wait_ms", (int)waits.Longest());
        PreferenceSheetFixture::TearDown();
    }
    TViewLogTextPage& Page() { return dialog->viewLogTextPage; }
    void OpenPage()
    {
        Open();
        ASSERT_TRUE(dialog);
        ShowPage(&dialog->viewLogTextPage);
        ASSERT_TRUE(Page().m_hWnd);
    }
    HWND PageControl(int id) { return Control(&Page(), id); }
    void PickItem(int code)
    {
        HWND tree = PageControl(IDC_LOG_TEXT_ITEMS);
        HTREEITEM item = Page().FindItem(code);
        ASSERT_TRUE(item) << code;
        TreeView_EnsureVisible(tree, item);
        ClickAt(ItemPoint(tree, item));
        ASSERT_TRUE(PumpMessagesUntil([&] { return TreeView_GetSelection(tree) == item; }, 3000)) << code;
        Idle();
    }
    TLogView& VisibleSample()
    {
        return Page().GetChannelSample().IsWindowVisible() ? Page().GetChannelSample() : Page().GetAllSample();
    }
    // A hidden sample paints only once shown again.
    void Settle()
    {
        WaitUntil([&] { return !VisibleSample().IsPaintDue(); }, "the sample painted");
        PumpPendingMessages();
    }
    // Opens the chooser with the button and answers it; false when the chooser refused its OK.
    bool UseChooser(const TLogTextRow& row)
    {
        bool confirmed = true;
        auto answer = [&](HWND box) {
            if (row.step == kFont) {
                ::Retype(box, IDC_FONT_SIZE, row.size);
                if (row.entry >= 0)
                    ClickListItem(::Control(box, IDC_FONT_STYLE), row.entry);
            } else if (row.step == kColor) {
                AnswerColorChooser(box, row.color);
                return;
            } else {
                HWND list = ::Control(box, IDC_PICTURE_LIST);
                if (row.picture)
                    ClickListItem(list, (int)::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)row.picture));
                KickIdle(box);
                confirmed = ::Enabled(box, IDOK);
                // A refused picture is named in a warning after the chooser closes.
                if (confirmed && row.shows == kUnchanged)
                    WhenDialogShown([this](HWND warning) {
                        warningText = MessageBoxText(warning);
                        SaveWindowPng(warning, ScreenshotPath(L"pref-log-text-refused.png"));
                        ClickAt(ScreenPointOf(::Control(warning, IDOK)));
                    });
            }
            ClickAt(ScreenPointOf(::Control(box, confirmed ? IDOK : IDCANCEL)));
        };
        EXPECT_TRUE(ClickAndAnswer(PageControl(row.control),
                                   row.step == kFont    ? HasControl(IDC_FONT_SAMPLE)
                                   : row.step == kColor ? IsColorChooser()
                                                        : HasControl(IDC_PICTURE_LIST),
                                   answer))
            << "no chooser";
        return confirmed;
    }
    void RunRow(const TLogTextRow& row)
    {
        PickItem(row.item);
        Settle();
        auto before = CaptureClient(VisibleSample().m_hWnd);
        bool confirmed = true;
        switch (row.step) {
        case kFont:
        case kColor:
        case kPicture:
            confirmed = UseChooser(row);
            break;
        case kClick:
            ClickAt(ScreenPointOf(PageControl(row.control)));
            break;
        case kCombo:
            ChooseComboEntry(PageControl(row.control), row.entry);
            break;
        }
        Idle();
        Settle();
        auto after = CaptureClient(VisibleSample().m_hWnd);
        RECT all = {0, 0, after->width, after->height};
        switch (row.shows) {
        case kChanged:
            EXPECT_GT(after->Differing(*before), 0) << "the sample did not follow";
            break;
        case kPaints:
            EXPECT_GT(after->Count(all, row.color), 20) << "the sample does not show the colour";
            break;
        case kInks:
            EXPECT_GT(after->CountNear(all, row.color, 40), 20) << "the sample's text is not in that colour";
            break;
        case kLabelText:
            EXPECT_EQ(row.color, Page().GetSampleTextColor());
            break;
        case kLabelBack:
            EXPECT_EQ(row.color, Page().GetSampleBackColor());
            break;
        case kUnchanged:
            EXPECT_TRUE(confirmed) << "the chooser did not offer the picture: the page's own refusal went untried";
            EXPECT_NE(-1, warningText.Find(row.picture)) << "the refusal was not told: " << Narrow(warningText);
            EXPECT_EQ(0, after->Differing(*before));
            break;
        }
        if (row.textControl) {
            EXPECT_EQ(CString(row.text), GetControlText(PageControl(row.textControl)));
        }
    }

    int RedPixels()
    {
        Settle();
        auto shown = CaptureClient(VisibleSample().m_hWnd);
        return shown->Count(RECT{0, 0, shown->width, shown->height}, RGB(255, 0, 0));
    }
    // The page opened on the channel-log background, which names the picture file in tiles.
    void OpenOnChannelPicture(const wchar_t* file)
    {
        settings.view.settings.channelLogBack.imageFile = file;
        settings.view.settings.channelLogBack.style = 100;
        OpenPage();
        PickItem(1001);
    }
    // Picks the red picture through "..." and sees it in the sample.
    void PickRedPicture(const char* name, const wchar_t* file, int textControl, const wchar_t* text)
    {
        const TLogTextRow row = {name,    1001, kPicture,       IDC_LOG_TEXT_CHOOSE_IMAGE,
                                 nullptr, -1,   RGB(255, 0, 0), file,
                                 kPaints, {},   textControl,    text};
        RunRow(row);
    }
    bool ListOpen(HWND combo) { return ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

    TLogAddressFinder finder;
    CString images;
    CString warningText;
    TInputWaitMeter waits;
};

} // namespace

TEST_F(ViewLogTextPageTest, EachControlLandsItsKeyAndShowsInTheSample)
{
    // clang-format off
    const TLogTextRow rows[] = {
        {"a bigger bold Privmsg font", 12000, kFont, IDC_LOG_TEXT_FONT, L"14", 1, 0, nullptr, kChanged,
         {{kLogText, L"LineFont.00.Size", L"140"}}},
        {"the Privmsg colour", 12000, kColor, IDC_LOG_TEXT_FONT_COLOR, nullptr, -1, RGB(200, 10, 20), nullptr, kInks,
         {{kLogText, L"LineFont.00.Color", L"140ac8"}}},
        {"the root's font goes to all 32 fonts, their colours kept", 1, kFont, IDC_LOG_TEXT_FONT, L"9", 0, 0, nullptr,
         kChanged, {{kLogText, L"LineFont.00.Size", L"90"}, {kLogText, L"LineFont.00.Style", L""},
                    {kLogText, L"LineFont.19.Size", L"90"}, {kLogText, L"NickFont.06.Size", L"90"},
                    {kLogText, L"TimeFont.Size", L"90"}, {kLogText, L"HostnameFont.Size", L"90"},
                    {kLogText, L"HostnameFont.Style", L""}, {kLogText, L"LineFont.00.Color", L"140ac8"}}},
        {"a group's colour goes to its nick fonts", 11001, kColor, IDC_LOG_TEXT_FONT_COLOR, nullptr, -1,
         RGB(20, 120, 220), nullptr, kInks,
         {{kLogText, L"NickFont.00.Color", L"dc7814"}, {kLogText, L"NickFont.06.Color", L"dc7814"}}},
        {"URLs in their own font", 10004, kClick, IDC_LOG_TEXT_URL_UNDERLINE, nullptr, -1, 0xE01010, nullptr, kInks,
         {{kLogText, L"UseURLFont", L"true"}}},
        {"host names in their own font", 10005, kClick, IDC_LOG_TEXT_HOST_UNDERLINE, nullptr, -1, 0, nullptr, kChanged,
         {{kLogText, L"UseHostnameFont", L"true"}}},
        {"the selection's text colour", 10006, kColor, IDC_LOG_TEXT_SELECT_TEXT_COLOR, nullptr, -1, RGB(250, 250, 10),
         nullptr, kLabelText, {{kLogText, L"SelectTextColor", L"0afafa"}}},
        {"the selection's background", 10006, kColor, IDC_LOG_TEXT_SELECT_BACK_COLOR, nullptr, -1, RGB(30, 60, 90),
         nullptr, kLabelBack, {{kLogText, L"SelectBackColor", L"5a3c1e"}}},
        {"the search highlight", 10007, kColor, IDC_LOG_TEXT_HILIGHT_COLOR, nullptr, -1, RGB(240, 200, 40), nullptr,
         kPaints, {{kLogText, L"HilightBackColor", L"28c8f0"}}},
        {"outlined text", 1003, kCombo, IDC_LOG_TEXT_SHADOW_KIND, nullptr, 2, 0, nullptr, kChanged,
         {{kLogText, L"ShadowKind", L"2"}}},
        {"the shadow colour", 1003, kColor, IDC_LOG_TEXT_SHADOW_COLOR, nullptr, -1, RGB(0, 200, 0), nullptr, kInks,
         {{kLogText, L"ShadowColor", L"00c800"}}},
        {"the channel log's colour", 1001, kColor, IDC_LOG_TEXT_BACK_COLOR, nullptr, -1, RGB(230, 240, 250), nullptr,
         kPaints, {{kChannelBack, L"BackColor", L"faf0e6"}}},
        {"a first picture is tiled", 1001, kPicture, IDC_LOG_TEXT_CHOOSE_IMAGE, nullptr, -1, RGB(255, 0, 0),
         L"red.bmp", kPaints, {{kChannelBack, L"BackImageFile", L"red.bmp"}}, IDC_LOG_TEXT_STYLE, L"タイル"},
        {"enlarged to the right is stored as 304", 1001, kCombo, IDC_LOG_TEXT_STYLE, nullptr, 16, 0, nullptr,
         kChanged, {{kChannelBack, L"BackStyle", L"304"}}, IDC_LOG_TEXT_STYLE, L"拡大右"},
        {"the all-channels log's colour", 1002, kColor, IDC_LOG_TEXT_BACK_COLOR, nullptr, -1, RGB(40, 40, 60), nullptr,
         kPaints, {{kAllBack, L"BackColor", L"3c2828"}}},
        {"a JPEG picture", 1002, kPicture, IDC_LOG_TEXT_CHOOSE_IMAGE, nullptr, -1, 0, L"blue.jpg", kChanged, {},
         IDC_LOG_TEXT_IMAGE_FILE, L"blue.jpg"},
        {"a picture that does not decode is refused", 1002, kPicture, IDC_LOG_TEXT_CHOOSE_IMAGE, nullptr, -1, 0,
         L"broken.bmp", kUnchanged, {}, IDC_LOG_TEXT_IMAGE_FILE, L"blue.jpg"},
        {"a picture too large for the loaders is refused", 1002, kPicture, IDC_LOG_TEXT_CHOOSE_IMAGE, nullptr, -1, 0,
         L"huge.bmp", kUnchanged, {}, IDC_LOG_TEXT_IMAGE_FILE, L"blue.jpg"},
        {"no picture goes back to the colour alone", 1002, kPicture, IDC_LOG_TEXT_CHOOSE_IMAGE, nullptr, -1,
         RGB(40, 40, 60), nullptr, kPaints, {{kAllBack, L"BackImageFile", L""}, {kAllBack, L"BackStyle", L"0"}},
         IDC_LOG_TEXT_STYLE, L"背景色のみ"},
    };
    // clang-format on
    OpenPage();
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> expected;
    for (const TLogTextRow& row : rows) {
        SCOPED_TRACE(row.name);
        // The last picture row finds the picture gone from the folder, so nothing is selected.
        if (row.step == kPicture && !row.picture) {
            ASSERT_TRUE(::DeleteFileW(images + L"blue.jpg"));
        }
        RunRow(row);
        for (const TKey& key : row.keys)
            expected[{key.section, key.key}] = key.stored;
    }
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text.png"));
    ClickOk();
    ASSERT_EQ(1, okCount);
    for (const auto& [where, stored] : expected)
        EXPECT_EQ(stored, Stored(where.first.c_str(), where.second.c_str(), L"view.ini"))
            << Narrow(where.first.c_str()) << " " << Narrow(where.second.c_str());
    EXPECT_EQ(golden, FileBytes()) << "the page writes nothing into preference.ini";
}

TEST_F(ViewLogTextPageTest, OpensOnTheTimeFontOverSamplesOfEveryLineKind)
{
    TViewSettings& stored = settings.view.settings;
    stored.allLogBack.style = 303;
    // A face no system has, at a size no font has.
    stored.logText.lineFonts[16].family = L"No Such Face Anywhere";
    stored.logText.lineFonts[16].size = 0;
    OpenPage();
    HWND tree = PageControl(IDC_LOG_TEXT_ITEMS);
    HTREEITEM fonts = Page().FindItem(1), backgrounds = Page().FindItem(2);
    EXPECT_TRUE(TreeView_GetItemState(tree, fonts, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(TreeView_GetItemState(tree, backgrounds, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_FALSE(TreeView_GetItemState(tree, Page().FindItem(11001), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(Page().FindItem(10001), TreeView_GetSelection(tree));
    EXPECT_EQ(stored.logText.timeFont.color, Page().GetSampleTextColor());
    EXPECT_EQ(stored.channelLogBack.color, Page().GetSampleBackColor());

    TLogView& sample = Page().GetChannelSample();
    ASSERT_EQ(24, sample.GetLineCount());
    const CString time = TLogFormatter(stored.formats).FormatTime();
    ASSERT_FALSE(time.IsEmpty());
    for (int line = 0; line < 24; line++)
        EXPECT_EQ(line >= 3, sample.GetLine(line).GetText().Find(time) == 0) << "line " << line;
    EXPECT_NE(-1, sample.GetLine(0).GetText().Find(L"<Server:#Channel> (Nick) テキスト/Privmsg"));
    EXPECT_NE(-1, sample.GetLine(8).GetText().Find(L"Closing Link"));
    EXPECT_NE(-1, sample.GetLine(23).GetText().Find(L"プロトコル受信"));
    EXPECT_EQ(24, Page().GetAllSample().GetLineCount());

    PickItem(11001);
    EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT), Page().GetSampleTextColor()) << "a group shows its first font greyed";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), Page().GetSampleBackColor());

    PickItem(12016);
    HFONT shown = (HFONT)::SendMessageW(PageControl(IDC_LOG_TEXT_SAMPLE), WM_GETFONT, 0, 0);
    ASSERT_TRUE(shown) << "the missing font still gives the label a font";
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, shown);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    EXPECT_GT(metrics.tmHeight, 4);
    EXPECT_GT(sample.GetBottomPosition().line, 0) << "the sample's rows have a height";

    PickItem(1002);
    EXPECT_TRUE(Page().GetAllSample().IsWindowVisible()) << "the all-channels sample comes to the front";
    EXPECT_FALSE(sample.IsWindowVisible());
    EXPECT_EQ(L"拡大上", GetControlText(PageControl(IDC_LOG_TEXT_STYLE))) << "a stored 303 is enlarging to the top";
    HWND tab = PageControl(IDC_LOG_TEXT_SAMPLES);
    RECT first = {};
    TabCtrl_GetItemRect(tab, 0, &first);
    ClickAt(ScreenPointOf(tab, (first.left + first.right) / 2, (first.top + first.bottom) / 2));
    EXPECT_TRUE(PumpMessagesUntil([&] { return sample.IsWindowVisible() != FALSE; }, 2000));
    EXPECT_FALSE(Page().GetAllSample().IsWindowVisible());
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-open.png"));
}

TEST_F(ViewLogTextPageTest, OtherPagesEditsAndRepeatedKeysRedrawAtOnce)
{
    settings.view.settings.channelLogBack.imageFile = L"red.bmp";
    settings.view.settings.channelLogBack.style = 100;
    OpenPage();
    TLogView& sample = Page().GetChannelSample();
    Settle();
    int spaced = LineTop(sample, 4);
    ASSERT_GT(spaced, 0);
    ShowPage(&dialog->viewLayoutPage);
    Apply({TPageEdit::Type, IDC_LAYOUT_LEADING, L"9"});
    ShowPage(&dialog->formatPage);
    Apply({TPageEdit::Type, IDC_FORMAT_NICK, L"[%n] "});
    ShowPage(&dialog->viewLogTextPage);
    Settle();
    EXPECT_EQ(spaced + 4 * (9 - 3), LineTop(sample, 4)) << "four lines, each 6 pixels further apart";
    EXPECT_NE(-1, sample.GetLine(0).GetText().Find(L"[Nick] テキスト/Privmsg")) << "the new nick prefix";
    EXPECT_NE(-1, Page().GetAllSample().GetLine(6).GetText().Find(L"[G5Nick]"));

    // Keys held down in the style list, the shadow list and on the URL check: each press
    // redraws a sample, and one press more than the back and forth leaves a change to see.
    struct {
        int item;
        int control;
        WORD forward, back;
        int presses;
    } held[] = {
        {1001, IDC_LOG_TEXT_STYLE, VK_DOWN, VK_UP, 10},
        {1003, IDC_LOG_TEXT_SHADOW_KIND, VK_DOWN, VK_UP, 3},
        {10004, IDC_LOG_TEXT_URL_UNDERLINE, VK_SPACE, VK_SPACE, 1},
    };
    TInputWaitMeter keyWaits;
    for (const auto& keys : held) {
        PickItem(keys.item);
        FocusForInput(PageControl(keys.control));
        std::vector<WORD> presses;
        for (int round = 0; presses.size() < 40; round++)
            presses.insert(presses.end(), keys.presses, round % 2 ? keys.back : keys.forward);
        presses.push_back(keys.forward);
        Settle();
        auto before = CaptureClient(sample.m_hWnd);
        int read = keyWaits.Count();
        RepeatKeysFromThread(presses.data(), (int)presses.size(), 33);
        EXPECT_GE(keyWaits.Count() - read, (int)presses.size()) << "every press was read";
        Settle();
        EXPECT_GT(CaptureClient(sample.m_hWnd)->Differing(*before), 0) << "the sample followed the keys";
    }
    Settle();
    std::printf("longest wait of a held key: %lu ms over %d input messages\n", (unsigned long)keyWaits.Longest(),
                keyWaits.Count());
    // A figure to read, not a limit: the test runs beside others on a shared machine.
    RecordProperty("longest_held_key_wait_ms", (int)keyWaits.Longest());
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-keys.png"));
}

// Saving a theme stores the message pages' edits, which then no longer count as unsaved: the
// samples still show them when the page comes back.
TEST_F(ViewLogTextPageTest, AFormatSavedWithAThemeShowsInTheSamples)
{
    OpenPage();
    ShowPage(&dialog->formatPage);
    Apply({TPageEdit::Type, IDC_FORMAT_NICK, L"<%n> "});
    ShowPage(&dialog->viewPage);
    Apply({TPageEdit::Type, IDC_THEME_NAME, L"saved"});
    Apply({TPageEdit::Click, IDC_THEME_SAVE, L""});
    ASSERT_FALSE(dialog->formatPage.IsModified()) << "the save took the edit";
    ShowPage(&dialog->viewLogTextPage);
    Settle();
    TLogView& sample = Page().GetChannelSample();
    EXPECT_NE(-1, sample.GetLine(0).GetText().Find(L"<Nick> テキスト/Privmsg")) << Narrow(sample.GetLine(0).GetText());
    EXPECT_NE(-1, Page().GetAllSample().GetLine(6).GetText().Find(L"<G5Nick>"));
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-theme-saved.png"));
}

// A loaded theme rebuilds the backgrounds behind the page's back: the picture it held before
// shows again when the user picks it again.
TEST_F(ViewLogTextPageTest, APicturePickedAgainAfterLoadingTheDefaultsShows)
{
    OpenOnChannelPicture(L"red.bmp");
    EXPECT_GT(RedPixels(), 20) << "the picture shows at first";
    ShowPage(&dialog->viewPage);
    HWND themes = Control(&dialog->viewPage, IDC_THEME_LIST);
    ClickListItem(themes, (int)::SendMessageW(themes, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)L"**初期設定"));
    Idle();
    Apply({TPageEdit::Click, IDC_THEME_LOAD_ALL, L""});
    ShowPage(&Page());
    PickItem(1001);
    ASSERT_EQ(0, RedPixels()) << "the defaults have no picture";
    PickRedPicture("the same picture again", L"red.bmp", IDC_LOG_TEXT_STYLE, L"タイル");
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-picture-again.png"));
}

// A picture missing when the page opened, put in place and then picked under its name, shows.
TEST_F(ViewLogTextPageTest, APictureMissingAtFirstShowsOncePicked)
{
    OpenOnChannelPicture(L"bg.bmp");
    ASSERT_EQ(0, RedPixels()) << "no picture to show yet";
    WriteBmp(images + L"bg.bmp", 8, 8, [](int, int) { return RGB(255, 0, 0); });
    PickRedPicture("the picture now in place", L"bg.bmp", IDC_LOG_TEXT_IMAGE_FILE, L"bg.bmp");
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-picture-in-place.png"));
}

// "No picture" drops the picture the sample showed: a picture style chosen next shows none, and
// a picture picked after that shows again.
TEST_F(ViewLogTextPageTest, NoPictureThenAPictureStyleShowsNoPicture)
{
    OpenOnChannelPicture(L"red.bmp");
    ASSERT_GT(RedPixels(), 20) << "the picture shows at first";
    // With its file gone the chooser selects nothing, and its OK means no picture.
    ASSERT_TRUE(::DeleteFileW(images + L"red.bmp"));
    RunRow({"no picture",
            1001,
            kPicture,
            IDC_LOG_TEXT_CHOOSE_IMAGE,
            nullptr,
            -1,
            0,
            nullptr,
            kChanged,
            {},
            IDC_LOG_TEXT_STYLE,
            L"背景色のみ"});
    ChooseComboEntry(PageControl(IDC_LOG_TEXT_STYLE), 1);
    Idle();
    ASSERT_EQ(CString(L"タイル"), GetControlText(PageControl(IDC_LOG_TEXT_STYLE)));
    EXPECT_EQ(0, RedPixels()) << "the dropped picture came back with the style";
    WriteBmp(images + L"red.bmp", 8, 8, [](int, int) { return RGB(255, 0, 0); });
    PickRedPicture("the picture again", L"red.bmp", IDC_LOG_TEXT_STYLE, L"タイル");
}

// F4 or Alt+Down opens the list and arrows move in it. Enter or a click on the entry picks it:
// the pick shows in the sample at once and OK stores it. Every other way the list closes (F4,
// Alt+Up, Tab, Esc, a click beside it) picks nothing: the box shows the stored entry again, the
// sample stays, the window stays open and OK stores what was there.
TEST_F(ViewLogTextPageTest, StylesAndShadowsPickedWithKeysInTheOpenListAreStored)
{
    const struct {
        int item, control;
        std::initializer_list<WORD> modifiers;
        WORD open;
        const wchar_t *before, *picked;
        TKey key;
        const wchar_t* kept;
    } lists[] = {
        {1001, IDC_LOG_TEXT_STYLE, {}, VK_F4, L"タイル", L"縦に繰り返し", {kChannelBack, L"BackStyle", L"102"}, L"100"},
        {1003, IDC_LOG_TEXT_SHADOW_KIND, {VK_MENU}, VK_DOWN, L"なし", L"縁取り", {kLogText, L"ShadowKind", L"2"}, L"0"},
    };
    const struct {
        const char* name;
        std::function<void(HWND)> close;
        bool picks;
    } closes[] = {
        {"Enter", [](HWND) { PressKey(VK_RETURN); }, true},
        {"a click on the entry",
         [](HWND combo) {
             COMBOBOXINFO info = {};
             info.cbSize = sizeof info;
             ::GetComboBoxInfo(combo, &info);
             ClickListItem(info.hwndList, (int)::SendMessageW(combo, CB_GETCURSEL, 0, 0));
         },
         true},
        {"F4", [](HWND) { PressKey(VK_F4); }, false},
        {"Alt+Up", [](HWND) { PressKey(VK_UP, {VK_MENU}); }, false},
        {"Tab", [](HWND) { PressKey(VK_TAB); }, false},
        {"Esc", [](HWND) { PressKey(VK_ESCAPE); }, false},
        {"a click on the banner", [&](HWND) { ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDC_SHEET_BANNER))); },
         false},
    };
    for (const auto& way : closes) {
        SCOPED_TRACE(way.name);
        settings.view.settings.channelLogBack.imageFile = L"red.bmp";
        settings.view.settings.channelLogBack.style = 100;
        settings.view.settings.logText.shadowKind = 0;
        OpenPage();
        for (const auto& list : lists) {
            SCOPED_TRACE(Narrow(list.key.key));
            PickItem(list.item);
            Settle();
            auto before = CaptureClient(VisibleSample().m_hWnd);
            HWND combo = PageControl(list.control);
            EXPECT_EQ(CString(list.before), GetControlText(combo));
            FocusForInput(combo);
            PressKey(list.open, list.modifiers);
            ASSERT_TRUE(PumpMessagesUntil([&] { return ListOpen(combo); }, 3000)) << "the list did not open";
            PressKey(VK_DOWN);
            PressKey(VK_DOWN);
            ASSERT_TRUE(PumpMessagesUntil([&] { return GetControlText(combo) == list.picked; }, 3000))
                << "the arrows did not move in the list";
            way.close(combo);
            ASSERT_TRUE(PumpMessagesUntil([&] { return !ListOpen(combo); }, 3000)) << "the list did not close";
            ASSERT_TRUE(dialog) << "the window closed";
            Idle();
            Settle();
            EXPECT_EQ(CString(way.picks ? list.picked : list.before), GetControlText(combo));
            // The sample repaints after the box settles; on a loaded machine that can take a while.
            int changed = 0;
            PumpMessagesUntil(
                [&] {
                    changed = CaptureClient(VisibleSample().m_hWnd)->Differing(*before);
                    return way.picks == (changed > 0);
                },
                kWaitBoundMs);
            if (way.picks)
                EXPECT_GT(changed, 0) << "the sample did not follow";
            else
                EXPECT_EQ(0, changed) << "the sample shows what was not picked";
        }
        if (way.picks)
            SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-log-text-list-keys.png"));
        okCount = closeCount = 0;
        ClickOk();
        ASSERT_EQ(1, okCount);
        for (const auto& list : lists)
            EXPECT_EQ(way.picks ? list.key.stored : list.kept, Stored(list.key.section, list.key.key, L"view.ini"))
                << Narrow(list.key.key);
    }
}
