// The two message pages and the item dialogs of their events as a user meets them: controls
// edited with real clicks and keys, OK, and every key read back from "view.ini"; an unchanged
// window writes the formats back byte for byte, a long event text included.

#include "prefs/FormatItemDialogs.h"
#include "settings/LogFormat.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ShownWindow.h"
#include "tests/prefs/PreferenceSheetFixture.h"

namespace {

const wchar_t kFormat[] = L"Format";
const wchar_t kView[] = L"view.ini";

class FormatPagesTest : public PreferenceSheetFixture {
protected:
    void SetUp() override
    {
        PreferenceSheetFixture::SetUp();
        // Formats off their defaults wherever a step below changes them back, and one text
        // longer than any control's typing limit.
        TViewSettings view;
        view.SetDefaults();
        TLogFormat& f = view.formats;
        f.SetDefaults();
        f.Time = L"[%H:%M:%S] ";
        f.PreNick = L"<%n> ";
        f.Channel = L"{%c} ";
        f.UnitTitle = L"Ketroval - %s";
        f.EnableChannelInChannelLog = true;
        f.EnablePrivmsgConsole = false;
        f.Quit = CString(L'q', 12000);
        ASSERT_TRUE(view.SaveFile(settings.GetSettingsFolder() + kView));
        viewGolden = FileBytes(kView);
        settings.view.Load(settings);
    }

    void ClickCancel()
    {
        ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDCANCEL)));
        PumpMessagesUntil([&] { return closeCount > 0; }, kWaitBoundMs);
    }
};

// The limit of what can be typed into an edit, or into a drop-down box's own edit.
int TypingLimit(HWND control)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    HWND edit = ::GetComboBoxInfo(control, &info) ? info.hwndItem : control;
    return (int)::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
}

// What the user does in an event's item dialog: the boxes clicked, the text typed (null: none),
// then OK or Cancel.
struct TItemAnswer {
    bool clickChannel, clickAll;
    const wchar_t* typed;
    bool confirm;
};

void AnswerItemBox(HWND box, const TItemAnswer& answer)
{
    if (answer.clickChannel)
        ClickAt(ScreenPointOf(Control(box, IDC_FORMAT_ITEM_CHANNEL_LOG), 6, 5));
    if (answer.clickAll)
        ClickAt(ScreenPointOf(Control(box, IDC_FORMAT_ITEM_ALL_LOG), 6, 5));
    if (answer.typed)
        Retype(box, IDC_FORMAT_ITEM_TEXT, answer.typed);
    ClickAt(ScreenPointOf(Control(box, answer.confirm ? IDOK : IDCANCEL)));
}

// The caption names the event; the channel box is disabled for the private message event.
void ExpectItemBox(HWND box, const wchar_t* event, bool channelUsable, bool channel, bool console)
{
    EXPECT_EQ(std::wstring(L"メッセージ設定 - ") + event, std::wstring(GetControlText(box)));
    EXPECT_EQ(channelUsable, ::IsWindowEnabled(Control(box, IDC_FORMAT_ITEM_CHANNEL_LOG)) != FALSE);
    EXPECT_EQ(channel, Checked(box, IDC_FORMAT_ITEM_CHANNEL_LOG));
    EXPECT_EQ(console, Checked(box, IDC_FORMAT_ITEM_ALL_LOG));
}

struct TFormatStep {
    enum Kind { Click, Type, Choose, Disabled };
    Kind kind;
    int control;
    const wchar_t* text; // typed; for Choose the list entry's index
    const wchar_t* key;
    const wchar_t* stored;
};

} // namespace

TEST_F(FormatPagesTest, FormatPage)
{
    using S = TFormatStep;
    const TFormatStep steps[] = {
        {S::Type, IDC_FORMAT_TIME, L"%H%M> ", L"Time", L"%H%M> "},
        // Off, the time box is disabled, and its text is still stored.
        {S::Click, IDC_FORMAT_ENABLE_TIME, nullptr, L"EnableTime", L"false"},
        {S::Disabled, IDC_FORMAT_TIME, nullptr, nullptr, nullptr},
        {S::Choose, IDC_FORMAT_NICK, L"0", L"PreNick", L"(%n) "},
        {S::Type, IDC_FORMAT_UNIT_CHANNEL, L"[%s/%c] ", L"UnitChannel", L"[%s/%c] "},
        {S::Type, IDC_FORMAT_UNIT, L"[%s] ", L"Unit", L"[%s] "},
        {S::Choose, IDC_FORMAT_CHANNEL, L"0", L"Channel", L"<%c> "},
        {S::Click, IDC_FORMAT_SHOW_CHANNEL, nullptr, L"EnableChannelInChannelLog", L"false"},
        {S::Type, IDC_FORMAT_UNIT_TITLE, L"Server %s", L"UnitTitle", L"Server %s"},
        {S::Type, IDC_FORMAT_CHANNEL_TITLE, L"Channel %c", L"ChannelTitle", L"Channel %c"},
        {S::Type, IDC_FORMAT_TALK_TITLE, L"Talk %n", L"TalkTitle", L"Talk %n"},
        {S::Type, IDC_FORMAT_DCC_CHAT_TITLE, L"Chat %n", L"DCCChatTitle", L"Chat %n"},
    };
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::formatPage));
    TFormatPage& page = dialog->formatPage;
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-format.png"));
    HWND window = page.m_hWnd;
    EXPECT_EQ(L"[%H:%M:%S] ", Text(window, IDC_FORMAT_TIME)) << "a value not in the list shows as it is";
    EXPECT_TRUE(::Enabled(window, IDC_FORMAT_TIME));
    EXPECT_FALSE(page.IsModified()) << "loading is no edit";

    // An edit taken back by reloading the working formats (a theme loaded) is no edit any more.
    Apply({TPageEdit::Type, IDC_FORMAT_UNIT_TITLE, L"thrown away"});
    EXPECT_TRUE(page.IsModified());
    page.Load();
    EXPECT_EQ(L"Ketroval - %s", Text(window, IDC_FORMAT_UNIT_TITLE));
    EXPECT_FALSE(page.IsModified());

    for (const TFormatStep& step : steps) {
        SCOPED_TRACE(step.key ? step.key : L"disabled time");
        if (step.kind == S::Type || step.kind == S::Choose) {
            EXPECT_EQ(10000, TypingLimit(::Control(window, step.control)));
        }
        switch (step.kind) {
        case S::Click:
            Apply({TPageEdit::Click, step.control, L""});
            break;
        case S::Type:
            Apply({TPageEdit::Type, step.control, step.text});
            break;
        case S::Choose:
            ChooseComboEntry(::Control(window, step.control), _wtoi(step.text));
            Idle();
            break;
        case S::Disabled:
            EXPECT_FALSE(::Enabled(window, step.control));
            break;
        }
        if (step.kind != S::Disabled) {
            EXPECT_TRUE(page.IsModified());
        }
    }
    // Only the fixed entries are listed, whatever was typed or chosen.
    const int combos[] = {IDC_FORMAT_TIME, IDC_FORMAT_NICK, IDC_FORMAT_UNIT_CHANNEL, IDC_FORMAT_UNIT,
                          IDC_FORMAT_CHANNEL};
    for (int combo : combos)
        EXPECT_EQ(combo == IDC_FORMAT_TIME ? 3 : 1, (int)::SendMessageW(::Control(window, combo), CB_GETCOUNT, 0, 0));
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-format-edited.png"));
    // Another page asking for the edits takes them, and the page has none left.
    page.Save();
    EXPECT_FALSE(page.IsModified());

    ClickOk();
    ASSERT_EQ(1, okCount);
    for (const TFormatStep& step : steps)
        if (step.key) {
            EXPECT_EQ(std::wstring(step.stored), Stored(kFormat, step.key, kView)) << step.key;
        }
    EXPECT_EQ(golden, FileBytes()) << "the page writes nothing into preference.ini";
}

namespace {

const int kOn = 1, kOff = 0, kKeep = -1;

// One step on the details list and what it leaves in the row and, after OK, in the file.
struct TDetailStep {
    const char* name;
    enum Kind { RightClick, DoubleClick, Enter, Button, NoEdit } kind;
    int row;
    int column; // the cell right-clicked
    // The event the item dialog names (null: none opens), whether its channel box can be used,
    // and what the user does there.
    const wchar_t* caption;
    bool channelUsable;
    TItemAnswer answer;
    // The row afterwards (kKeep: not checked) and the keys it lands in.
    int channel, console;
    const wchar_t* key1;
    const wchar_t* stored1;
    const wchar_t* key2 = nullptr;
    const wchar_t* stored2 = nullptr;
};

POINT CellPoint(HWND list, int row, int column)
{
    ListView_EnsureVisible(list, row, FALSE);
    RECT rect = {};
    ListView_GetSubItemRect(list, row, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &rect);
    return ScreenPointOf(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

} // namespace

TEST_F(FormatPagesTest, FormatDetailPage)
{
    using D = TDetailStep;
    // clang-format off
    const TDetailStep steps[] = {
        {"with no row selected nothing opens", D::NoEdit, -1, 0, nullptr, false, {false, false, nullptr, false}, kKeep,
         kKeep, nullptr, nullptr},
        {"the private message channel cell stays empty", D::RightClick, 0, 1, nullptr, false, {false, false, nullptr, false},
         kOff, kOff, nullptr, nullptr},
        {"its all-log cell flips", D::RightClick, 0, 2, nullptr, false, {false, false, nullptr, false}, kOff, kOn,
         L"EnablePrivmsgConsole", L"true"},
        {"a channel cell flips", D::RightClick, 4, 1, nullptr, false, {false, false, nullptr, false}, kOff, kOn,
         L"EnableJoinChannel", L"false"},
        {"the text cell does not flip", D::RightClick, 5, 3, nullptr, false, {false, false, nullptr, false}, kOn, kOn,
         L"Part", L"*%n part (%m)"},
        {"a double click edits the text", D::DoubleClick, 13, 0, L"Topic", true, {false, true, L"Topic: %m", true},
         kOn, kOff, L"Topic", L"Topic: %m", L"EnableTopicConsole", L"false"},
        {"Enter edits a message event", D::Enter, 1, 0, L"Notice", true, {true, false, nullptr, true}, kOff, kOn,
         L"EnableNoticeChannel", L"false"},
        {"the private message has no channel box", D::Button, 0, 0, L"Privmsg", false, {true, false, nullptr, true},
         kOff, kOn, nullptr, nullptr},
        {"Cancel changes nothing", D::Button, 29, 0, L"ファイル受信失敗", true, {true, true, L"lost", false}, kOn, kOn,
         L"EnableDCCReceiveFailChannel", L"true"},
        {"a DCC event by the button", D::Button, 22, 0, L"DCCファイル受信", true, {true, false, nullptr, true}, kOff,
         kOn, L"EnableDCCSendChannel", L"false", L"EnableDCCSendConsole", L"true"},
    };
    // clang-format on
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::formatDetailPage));
    TFormatDetailPage& page = dialog->formatDetailPage;
    HWND list = Control(&page, IDC_FORMAT_DETAIL_LIST);
    ASSERT_EQ(30, ListView_GetItemCount(list));
    EXPECT_FALSE(page.IsModified());
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-format-detail.png"));
    bool shotItem = false, shotText = false;

    for (const TDetailStep& step : steps) {
        SCOPED_TRACE(step.name);
        int opened = ShownWindowCount();
        WhenShown(HasControl(IDC_FORMAT_ITEM_ALL_LOG), [&](HWND box) {
            EXPECT_EQ(std::wstring(L"メッセージ設定 - ") + step.caption, std::wstring(GetControlText(box)));
            EXPECT_EQ(step.channelUsable, ::IsWindowEnabled(::Control(box, IDC_FORMAT_ITEM_CHANNEL_LOG)) != FALSE);
            bool hasText = ::Control(box, IDC_FORMAT_ITEM_TEXT) != nullptr;
            if (hasText ? !shotItem : !shotText) {
                SaveWindowPng(box, ScreenshotPath(hasText ? L"format-item.png" : L"format-text-item.png"));
            }
            (hasText ? shotItem : shotText) = true;
            AnswerItemBox(box, step.answer);
        });
        switch (step.kind) {
        case D::NoEdit:
            EXPECT_FALSE(Enabled(&page, IDC_FORMAT_DETAIL_EDIT));
            FocusForInput(list);
            PressKey(VK_RETURN);
            break;
        case D::RightClick:
            ClickAt(CellPoint(list, step.row, step.column), true);
            break;
        case D::DoubleClick:
            DoubleClickAt(CellPoint(list, step.row, 0));
            break;
        case D::Enter:
            ClickAt(CellPoint(list, step.row, 0));
            PressKey(VK_RETURN);
            break;
        case D::Button:
            ClickAt(CellPoint(list, step.row, 0));
            Idle();
            EXPECT_TRUE(Enabled(&page, IDC_FORMAT_DETAIL_EDIT));
            ClickAt(ScreenPointOf(Control(&page, IDC_FORMAT_DETAIL_EDIT)));
            break;
        }
        bool expectsDialog = step.caption != nullptr;
        EXPECT_EQ(expectsDialog,
                  PumpMessagesUntil([&] { return ShownWindowCount() > opened; }, expectsDialog ? 5000 : 300));
        StopWatching();
        Idle();
        if (step.row >= 0 && step.channel != kKeep) {
            bool channel = false, console = false;
            CString text;
            page.GetRow(step.row, channel, console, text);
            EXPECT_EQ(step.channel == kOn, channel);
            EXPECT_EQ(step.console == kOn, console);
        }
    }
    EXPECT_TRUE(page.IsModified());
    EXPECT_TRUE(shotItem && shotText);

    ClickOk();
    ASSERT_EQ(1, okCount);
    for (const TDetailStep& step : steps) {
        if (step.key1) {
            EXPECT_EQ(std::wstring(step.stored1), Stored(kFormat, step.key1, kView)) << step.name;
        }
        if (step.key2) {
            EXPECT_EQ(std::wstring(step.stored2), Stored(kFormat, step.key2, kView)) << step.name;
        }
    }
    EXPECT_EQ(L"*ERROR %m", Stored(kFormat, L"Error", kView)) << "rows stay with their events";
}

// An unchanged window writes the formats it read, whether the pages were opened or not.
TEST_F(FormatPagesTest, UnchangedFormatsRoundTrip)
{
    for (bool visit : {false, true}) {
        SCOPED_TRACE(visit ? "pages opened" : "pages never opened");
        okCount = closeCount = 0;
        Open();
        ASSERT_TRUE(dialog);
        if (visit) {
            ShowPage(&dialog->formatPage);
            ShowPage(&dialog->formatDetailPage);
        }
        ClickOk();
        ASSERT_EQ(1, okCount);
        EXPECT_EQ(viewGolden, FileBytes(kView));
        settings.view.Load(settings);
    }
}

// A column the user widened keeps its width, after OK and after Cancel alike.
TEST_F(FormatPagesTest, ColumnWidthsKept)
{
    for (bool confirm : {true, false}) {
        SCOPED_TRACE(confirm ? "OK" : "Cancel");
        okCount = closeCount = 0;
        Open();
        ASSERT_TRUE(dialog);
        ShowPage(&dialog->formatDetailPage);
        HWND list = Control(&dialog->formatDetailPage, IDC_FORMAT_DETAIL_LIST);
        int before = ListView_GetColumnWidth(list, 0);
        HWND header = ListView_GetHeader(list);
        RECT item = {};
        Header_GetItemRect(header, 0, &item);
        int middle = (item.top + item.bottom) / 2;
        DragMouse(ScreenPointOf(header, item.right - 1, middle), ScreenPointOf(header, item.right + 29, middle));
        int after = ListView_GetColumnWidth(list, 0);
        EXPECT_GT(after, before + 20);
        confirm ? ClickOk() : ClickCancel();
        ASSERT_EQ(1, closeCount);
        ASSERT_EQ(4u, settings.geometry.preferenceFormatHeader.size());
        EXPECT_EQ(after, settings.geometry.preferenceFormatHeader[0]);
        EXPECT_EQ(80, settings.geometry.preferenceFormatHeader[1]);
    }
}

namespace {

struct TItemCase {
    const char* name;
    bool channelUsable, channel, console;
    const wchar_t* format; // null: the dialog without a text
    TItemAnswer answer;
    bool channelAfter, consoleAfter;
    const wchar_t* formatAfter = nullptr;
};

} // namespace

TEST(FormatItemDialogTest, TakesTheEventsSettings)
{
    const wchar_t* join = L"*%n join %c";
    // clang-format off
    const TItemCase cases[] = {
        {"OK keeps what was given", true, true, false, join, {false, false, nullptr, true}, true, false, join},
        {"both boxes and the text changed", true, true, false, join, {true, true, L">> %n [%u@%h]", true}, false,
         true, L">> %n [%u@%h]"},
        {"an emptied text is taken", true, false, true, join, {false, false, L"", true}, false, true, L""},
        {"Cancel keeps the fields", true, false, false, join, {true, true, L"gone", false}, false, false, join},
    };
    // clang-format on
    for (const TItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFormatItemDialog dialog;
        dialog.channel = c.channel;
        dialog.console = c.console;
        dialog.format = c.format;
        dialog.SetItemName(L"Join");
        INT_PTR result = RunDialog(dialog, [&](HWND box) {
            ExpectItemBox(box, L"Join", c.channelUsable, c.channel, c.console);
            EXPECT_EQ(std::wstring(c.format), std::wstring(Text(box, IDC_FORMAT_ITEM_TEXT)));
            EXPECT_EQ(10000, TypingLimit(Control(box, IDC_FORMAT_ITEM_TEXT)));
            AnswerItemBox(box, c.answer);
        });
        EXPECT_EQ(c.answer.confirm ? IDOK : IDCANCEL, result);
        EXPECT_EQ(c.channelAfter, dialog.channel);
        EXPECT_EQ(c.consoleAfter, dialog.console);
        EXPECT_EQ(std::wstring(c.formatAfter), std::wstring(dialog.GetFormat()));
    }
}

TEST(FormatTextItemDialogTest, TakesTheTwoMarks)
{
    // clang-format off
    const TItemCase cases[] = {
        {"OK keeps what was given", true, true, false, nullptr, {false, false, nullptr, true}, true, false},
        {"both boxes flipped", true, true, false, nullptr, {true, true, nullptr, true}, false, true},
        {"a disabled channel box does not flip", false, false, true, nullptr, {true, true, nullptr, true}, false,
         false},
        {"Cancel keeps the marks", true, false, false, nullptr, {true, true, nullptr, false}, false, false},
    };
    // clang-format on
    for (const TItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFormatTextItemDialog dialog;
        dialog.channelEnabled = c.channelUsable;
        dialog.channel = c.channel;
        dialog.console = c.console;
        dialog.SetItemName(L"Notice");
        INT_PTR result = RunDialog(dialog, [&](HWND box) {
            ExpectItemBox(box, L"Notice", c.channelUsable, c.channel, c.console);
            AnswerItemBox(box, c.answer);
        });
        EXPECT_EQ(c.answer.confirm ? IDOK : IDCANCEL, result);
        EXPECT_EQ(c.channelAfter, dialog.channel);
        EXPECT_EQ(c.consoleAfter, dialog.console);
    }
}
