// The channel dialog and the mode dialog as a user meets them: filled from a record, edited
// with real keys and clicks, and the record they hand back after OK.

#include "dialogs/ChannelDialog.h"

#include "controls/UpdateDialog.h"
#include "dialogs/ModeDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

TChannelMode ModeOf(const wchar_t* text)
{
    TChannelMode mode;
    std::vector<TModeChange> changes;
    mode.ApplyModeChange(text, changes);
    return mode;
}

const CString kSplitsTheJoin = L"チャンネル名とパスワードには空白やカンマを使えません";

// Types the text, or pastes it when it holds decoration codes, which keys cannot type.
void Enter(HWND window, int id, const wchar_t* text)
{
    if (std::any_of(text, text + wcslen(text), [](wchar_t c) { return c < L' '; }))
        Repaste(window, id, text);
    else
        Retype(window, id, text);
}

// OK on a field that would split the JOIN warns and leaves the dialog open on that field, which
// is then cancelled; with no such field (0) OK warns of nothing.
void PressOkRefusingAt(HWND window, int field)
{
    EXPECT_EQ(field ? kSplitsTheJoin : CString(), PressOkAndReadWarning(window));
    if (!field)
        return;
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(Control(window, field), ::GetFocus());
    PressKey(VK_ESCAPE);
}

} // namespace

TEST(ChannelDialogTest, CaptionAndNameEditFollowTheOpeningMode)
{
    struct {
        bool adding, fromSettings;
        const wchar_t* caption;
        int focus;
    } rows[] = {
        {true, false, L"チャンネルを追加", IDC_CHANNEL_NAME},
        {true, true, L"チャンネルを新規作成", IDC_CHANNEL_NAME},
        {false, true, L"チャンネルを編集", IDC_CHANNEL_PASSWORD},
        {false, false, L"チャンネルのプロパティ", IDC_CHANNEL_PASSWORD},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.caption));
        TChannelDialog dialog;
        TChannelConfig record;
        record.Name = L"#kept";
        dialog.SetChannelConfig(record);
        dialog.adding = row.adding;
        dialog.fromSettings = row.fromSettings;
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(CString(row.caption), GetControlText(window));
            EXPECT_EQ(Control(window, row.focus), ::GetFocus());
            // An existing entry's name cannot be changed; a new one's can.
            Retype(window, IDC_CHANNEL_NAME, L"#typed");
            EXPECT_EQ(CString(row.adding ? L"#typed" : L"#kept"), Text(window, IDC_CHANNEL_NAME));
            PressKey(VK_RETURN);
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(CString(row.adding ? L"#typed" : L"#kept"), dialog.GetChannelConfig().Name);
    }
}

TEST(ChannelDialogTest, OkNeedsAChannelName)
{
    struct {
        const wchar_t* name;
        const wchar_t* password;
        bool enabled;
    } rows[] = {
        {L"", L"", false},    {L"abc", L"", false}, {L"#abc", L"", true}, {L"&abc", L"", true},
        {L"+abc", L"", true}, {L"!abc", L"", true}, {L"%abc", L"", true}, {L"#abc", L"secret", true},
    };
    TChannelDialog dialog;
    dialog.adding = true;
    RunDialog(dialog, [&](HWND window) {
        for (const auto& row : rows) {
            SCOPED_TRACE(Narrow(row.name) + " / " + Narrow(row.password));
            Retype(window, IDC_CHANNEL_NAME, row.name);
            Retype(window, IDC_CHANNEL_PASSWORD, row.password);
            EXPECT_EQ(row.enabled, Enabled(window, IDOK));
        }
        // Return on a disabled OK closes nothing.
        Retype(window, IDC_CHANNEL_NAME, L"abc");
        PressKey(VK_RETURN);
        EXPECT_TRUE(::IsWindowVisible(window));
        PressKey(VK_ESCAPE);
    });
}

// A blank or comma would make the JOIN name other channels or keys: OK says so and the dialog
// stays open on the field. Anything else is taken as it stands.
TEST(ChannelDialogTest, ANameOrKeyThatSplitsTheJoinIsRefusedWithAWord)
{
    struct {
        const wchar_t* name;
        const wchar_t* password;
        int focus; // 0: taken
    } rows[] = {
        {L"#a b", L"", IDC_CHANNEL_NAME},
        {L"#a,#b", L"", IDC_CHANNEL_NAME},
        {L"#abc", L"se cret", IDC_CHANNEL_PASSWORD},
        {L"#abc", L"k1,k2", IDC_CHANNEL_PASSWORD},
        {L"#abc", L"secret", 0},
        // Decoration codes the input line makes from its markup are part of the name or key.
        {L"#\x02test", L"", 0},
        {L"#abc", L"k\u00034ey", 0},
        {L"#a\u001fb", L"s\x0fk", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.name) + " / " + Narrow(row.password));
        TChannelDialog dialog;
        dialog.adding = true;
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            Enter(window, IDC_CHANNEL_NAME, row.name);
            Enter(window, IDC_CHANNEL_PASSWORD, row.password);
            EXPECT_TRUE(Enabled(window, IDOK));
            PressOkRefusingAt(window, row.focus);
        });
        EXPECT_EQ(row.focus ? IDCANCEL : IDOK, result);
        if (!row.focus) {
            EXPECT_EQ(CString(row.name), dialog.GetChannelConfig().Name);
            EXPECT_EQ(CString(row.password), dialog.GetChannelConfig().Password);
        }
    }
}

// The name of an entry that exists is read-only here: whatever it holds, the rest can be saved.
TEST(ChannelDialogTest, AnExistingEntrysNameNeverKeepsItFromBeingSaved)
{
    TChannelConfig record;
    record.Name = L"#a b,c";
    TChannelDialog dialog;
    dialog.SetChannelConfig(record);
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        EXPECT_TRUE(Enabled(window, IDOK));
        Retype(window, IDC_CHANNEL_PASSWORD, L"k 1");
        EXPECT_EQ(kSplitsTheJoin, PressOkAndReadWarning(window)) << "the key is still checked";
        Retype(window, IDC_CHANNEL_PASSWORD, L"k1");
        EXPECT_EQ(CString(), PressOkAndReadWarning(window));
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"k1"), dialog.GetChannelConfig().Password);
}

TEST(ChannelDialogTest, EditedFieldsComeBackAfterOkAndCancelKeepsTheRecord)
{
    TChannelConfig record;
    record.Name = L"#room";
    record.Password = L"old";
    record.Topic = L"hello";
    record.AutoOpMasks = {L"*!*@friend"};
    for (bool accept : {false, true}) {
        TChannelDialog dialog;
        dialog.SetChannelConfig(record);
        dialog.adding = true;
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(CString(L"#room"), Text(window, IDC_CHANNEL_NAME));
            EXPECT_EQ(CString(L"+sn"), Text(window, IDC_CHANNEL_MODE));
            for (int id : {IDC_CHANNEL_AUTO_JOIN, IDC_CHANNEL_CONSOLE, IDC_CHANNEL_UPDATE, IDC_CHANNEL_KEYWORD})
                EXPECT_TRUE(Checked(window, id));
            Retype(window, IDC_CHANNEL_NAME, L"#other");
            Retype(window, IDC_CHANNEL_PASSWORD, L"newkey");
            Retype(window, IDC_CHANNEL_MODE, L"+nt");
            Retype(window, IDC_CHANNEL_TOPIC, L"fresh topic");
            Click(window, IDC_CHANNEL_CONSOLE);
            Click(window, IDC_CHANNEL_KEYWORD);
            if (accept) {
                SaveWindowPng(window, ScreenshotPath(L"channel-dialog.png"));
                Click(window, IDOK);
            } else {
                Click(window, IDCANCEL);
            }
        });
        TChannelConfig out = dialog.GetChannelConfig();
        EXPECT_EQ(accept ? IDOK : IDCANCEL, result);
        EXPECT_EQ(CString(accept ? L"#other" : L"#room"), out.Name);
        EXPECT_EQ(CString(accept ? L"newkey" : L"old"), out.Password);
        EXPECT_EQ(CString(accept ? L"+nt" : L"+sn"), out.Mode);
        EXPECT_EQ(CString(accept ? L"fresh topic" : L"hello"), out.Topic);
        EXPECT_TRUE(out.AutoJoin);
        EXPECT_TRUE(out.Update);
        EXPECT_EQ(!accept, out.Console);
        EXPECT_EQ(!accept, out.Keyword);
        EXPECT_EQ(record.AutoOpMasks, out.AutoOpMasks);
    }
}

TEST(ChannelDialogTest, ModeButtonEditsTheCreationModeText)
{
    TChannelConfig record;
    record.Name = L"#room";
    record.Mode = L"+sntl 10";
    TChannelDialog dialog;
    dialog.SetChannelConfig(record);
    RunDialog(dialog, [&](HWND window) {
        for (bool accept : {false, true}) {
            WhenShown(HasControl(IDC_MODE_LIMIT_SPIN), [&](HWND mode) {
                EXPECT_EQ(CString(L"作成時のモード設定"), GetControlText(mode));
                for (int id : {IDC_MODE_S, IDC_MODE_N, IDC_MODE_T, IDC_MODE_L})
                    EXPECT_TRUE(Checked(mode, id)) << id;
                for (int id : {IDC_MODE_P, IDC_MODE_I, IDC_MODE_M, IDC_MODE_K})
                    EXPECT_FALSE(Checked(mode, id)) << id;
                EXPECT_EQ(CString(L"10"), Text(mode, IDC_MODE_LIMIT));
                Click(mode, IDC_MODE_S);
                Click(mode, IDC_MODE_N);
                Click(mode, IDC_MODE_L);
                if (accept) {
                    SaveWindowPng(mode, ScreenshotPath(L"mode-dialog-creation.png"));
                    Click(mode, IDOK);
                } else {
                    PressKey(VK_ESCAPE);
                }
            });
            int shown = ShownWindowCount();
            Click(window, IDC_CHANNEL_MODE_BUTTON);
            ASSERT_EQ(shown + 1, ShownWindowCount()) << "no mode dialog";
            EXPECT_EQ(CString(accept ? L"+t" : L"+sntl 10"), Text(window, IDC_CHANNEL_MODE));
        }
        Click(window, IDOK);
    });
    EXPECT_EQ(CString(L"+t"), dialog.GetChannelConfig().Mode);
}

TEST(ModeDialogTest, LoadsTheModeAndStoresTheCheckedFields)
{
    TModeDialog dialog;
    dialog.mode = ModeOf(L"+pqmk secret");
    dialog.SetChannelName(L"#room");
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        EXPECT_EQ(CString(L"#room のモード設定"), GetControlText(window));
        EXPECT_TRUE(Checked(window, IDC_MODE_P));
        EXPECT_TRUE(Checked(window, IDC_MODE_M));
        EXPECT_TRUE(Checked(window, IDC_MODE_K));
        EXPECT_EQ(CString(L"secret"), Text(window, IDC_MODE_KEY));
        // No limit: l starts unchecked with its number disabled.
        EXPECT_FALSE(Checked(window, IDC_MODE_L));
        EXPECT_FALSE(Enabled(window, IDC_MODE_LIMIT));
        EXPECT_FALSE(Enabled(window, IDC_MODE_LIMIT_SPIN));
        // s and p exclude each other.
        Click(window, IDC_MODE_S);
        EXPECT_FALSE(Checked(window, IDC_MODE_P));
        Click(window, IDC_MODE_P);
        EXPECT_FALSE(Checked(window, IDC_MODE_S));
        Click(window, IDC_MODE_S);
        // Checking l and leaving 0 means no limit.
        Click(window, IDC_MODE_L);
        EXPECT_TRUE(Enabled(window, IDC_MODE_LIMIT));
        EXPECT_EQ(CString(L"0"), Text(window, IDC_MODE_LIMIT));
        // Unchecking k drops the key though its text stays.
        Click(window, IDC_MODE_K);
        EXPECT_FALSE(Enabled(window, IDC_MODE_KEY));
        EXPECT_EQ(CString(L"secret"), Text(window, IDC_MODE_KEY));
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    TChannelMode mode = dialog.GetMode();
    EXPECT_TRUE(mode.secret);
    EXPECT_FALSE(mode.privateChannel);
    EXPECT_TRUE(mode.moderated);
    EXPECT_TRUE(mode.quiet) << "q has no control and passes through";
    EXPECT_EQ(0, mode.limit);
    EXPECT_EQ(CString(), mode.key);
}

TEST(ModeDialogTest, TheLimitIsClampedIntoItsRange)
{
    struct {
        const wchar_t* typed;
        int limit;
    } rows[] = {{L"25", 25}, {L"2147483647", 2147483647}, {L"99999999999", 2147483647}, {L"", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.typed));
        TModeDialog dialog;
        dialog.SetChannelName(L"#room");
        RunDialog(dialog, [&](HWND window) {
            Click(window, IDC_MODE_L);
            Retype(window, IDC_MODE_LIMIT, row.typed);
            Click(window, IDOK);
        });
        EXPECT_EQ(row.limit, dialog.GetMode().limit);
    }
    // A pasted sign cannot make the limit negative.
    TModeDialog dialog;
    RunDialog(dialog, [&](HWND window) {
        Click(window, IDC_MODE_L);
        ::SetWindowTextW(Control(window, IDC_MODE_LIMIT), L"-5");
        Click(window, IDOK);
    });
    EXPECT_EQ(0, dialog.GetMode().limit);
}

TEST(ModeDialogTest, AnonymousAndReopOnlyForTheChannelKindsThatHaveThem)
{
    struct {
        const wchar_t* name;
        bool a, r;
    } rows[] = {{L"!ABCDEroom", true, true}, {L"&room", true, false}, {L"#room", false, false}, {L"", false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.name));
        TModeDialog dialog;
        dialog.mode = ModeOf(L"+ar");
        dialog.SetChannelName(row.name);
        RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(row.a, Enabled(window, IDC_MODE_A));
            EXPECT_EQ(row.r, Enabled(window, IDC_MODE_R));
            Click(window, IDC_MODE_A);
            Click(window, IDC_MODE_R);
            Click(window, IDOK);
        });
        // A disabled box ignores the click and keeps what was loaded.
        EXPECT_EQ(!row.a, dialog.GetMode().anonymous);
        EXPECT_EQ(!row.r, dialog.GetMode().reop);
    }
}

TEST(ModeDialogTest, AKeyWithBlanksIsRefusedWithAWord)
{
    struct {
        const wchar_t* key;
        bool keyed, refused;
        const wchar_t* stored;
    } rows[] = {
        {L"two words", true, true, L""},
        {L"a,b", true, true, L""},
        {L"\u0002bold", true, false, L"\u0002bold"}, // a decoration code is part of the key
        {L"two words", false, false, L""},           // unchecked, the text is not sent
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.key) + (row.keyed ? "" : " unchecked"));
        TModeDialog dialog;
        dialog.SetChannelName(L"#room");
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            Click(window, IDC_MODE_K);
            Enter(window, IDC_MODE_KEY, row.key);
            if (!row.keyed)
                Click(window, IDC_MODE_K);
            PressOkRefusingAt(window, row.refused ? IDC_MODE_KEY : 0);
        });
        EXPECT_EQ(row.refused ? IDCANCEL : IDOK, result);
        EXPECT_EQ(CString(row.stored), dialog.GetMode().key);
    }
}
