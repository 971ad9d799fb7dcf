// The macro item dialog as a user meets it: a rule comes in and goes out unchanged, typed
// commands and actions switch the channel, target and browse controls, and browse fills the
// argument from the pickers.

#include "tests/common/ControlText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/macrowindows/MacroWindowSteps.h"

#include "macro/MacroFile.h"
#include "macrowindows/MacroItemDialog.h"
#include "res/windows/macro.h"

#include <gtest/gtest.h>

namespace {

// The rule as its file line: every field compared at once.
CString Line(const TMacroItem& item) { return FormatMacroLine(item); }

CString ComboSelection(HWND dialog, int id)
{
    int index = (int)::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    wchar_t text[128] = {};
    ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, (WPARAM)index, (LPARAM)text);
    return text;
}

} // namespace

TEST(MacroItemDialogTest, ARuleGoesOutAsItCameInAndTypedFieldsAreTakenAsTheyStand)
{
    TMacroItem full;
    full.disabled = true; // no control shows it: it passes through
    full.user = L"$NOT *!*@bad.host|*";
    full.command = L"PRIVMSG";
    full.channel = L"#kv-*";
    full.message = L"*hello*";
    full.ownState = 4;
    full.senderState = 2;
    full.action = L"Send";
    full.target = L"%c";
    full.argument = L"hi %n";
    full.stop = true;
    const struct {
        const char* name;
        TMacroItem in;
        std::function<void(HWND)> steps;
        INT_PTR end;
        CString line; // of the rule after the dialog
    } cases[] = {
        {"confirmed unchanged", full, [](HWND w) { Click(w, IDOK); }, IDOK, Line(full)},
        {"cancelled after typing", full,
         [](HWND w) {
             Retype(w, IDC_MACRO_ITEM_MESSAGE, L"typed");
             Click(w, IDCANCEL);
         },
         IDCANCEL, Line(full)},
        {"every field typed", TMacroItem(),
         [](HWND w) {
             Retype(w, IDC_MACRO_ITEM_USER, L"%g2");
             Retype(w, IDC_MACRO_ITEM_COMMAND, L"Notice");
             Retype(w, IDC_MACRO_ITEM_CHANNEL, L"#room");
             Retype(w, IDC_MACRO_ITEM_MESSAGE, L"*ping*");
             ::SendDlgItemMessageW(w, IDC_MACRO_ITEM_OWN_STATE, CB_SETCURSEL, 3, 0);
             ::SendDlgItemMessageW(w, IDC_MACRO_ITEM_SENDER_STATE, CB_SETCURSEL, 1, 0);
             Retype(w, IDC_MACRO_ITEM_ACTION, L"raw");
             Retype(w, IDC_MACRO_ITEM_ARGUMENT, L"PRIVMSG %c :pong");
             Click(w, IDC_MACRO_ITEM_STOP);
             Click(w, IDOK);
         },
         IDOK, L"0\t\t\t%g2\tNotice\t#room\t*ping*\t3\t1\traw\t\tPRIVMSG %c :pong\t1"},
        // A state the lists do not have shows as none and is stored so.
        {"unknown states",
         [] {
             TMacroItem item;
             item.ownState = 7;
             item.senderState = 3;
             return item;
         }(),
         [](HWND w) { Click(w, IDOK); }, IDOK, L"0\t\t\t\t\t\t\t0\t0\t\t\t\t0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMacroItemDialog dialog;
        dialog.item = c.in;
        INT_PTR end = RunDialog(dialog, [&](HWND window) {
            if (&c == &cases[0]) {
                EXPECT_EQ(::GetFocus(),
                          ::FindWindowExW(Control(window, IDC_MACRO_ITEM_USER), nullptr, L"Edit", nullptr));
                EXPECT_EQ(ComboSelection(window, IDC_MACRO_ITEM_OWN_STATE), CString(L"離席状態でない"));
                EXPECT_EQ(::SendDlgItemMessageW(window, IDC_MACRO_ITEM_SENDER_STATE, CB_GETCOUNT, 0, 0), 3);
                EXPECT_EQ(::SendDlgItemMessageW(window, IDC_MACRO_ITEM_ACTION, CB_GETCOUNT, 0, 0), 31);
                EXPECT_TRUE(::IsDlgButtonChecked(window, IDC_MACRO_ITEM_STOP));
                PumpPendingMessages();
                SaveWindowPng(window, ScreenshotPath(L"macro-item-dialog.png"));
            }
            c.steps(window);
        });
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(Line(dialog.item), c.line);
    }
}

TEST(MacroItemDialogTest, TypedCommandAndActionSwitchChannelTargetAndBrowse)
{
    const struct {
        const wchar_t* command;
        const wchar_t* action;
        bool channel, target, browse;
    } cases[] = {
        {L"NOTICE", L"Send", true, true, false},    // not offered, still a channel event
        {L"QUIT", L"OpenURL", false, false, false}, // no channel; the URL takes no target
        {L"nick", L"Join", false, false, false},
        {L"CTCP*", L"DllCall", true, true, false}, // a pattern may match channel events
        {L"a|b", L"DllHook", true, true, false},
        {L"", L"", true, false, false},              // no command: any event
        {L"invite", L"EXECUTE", false, false, true}, // actions compare in lower case
        {L"Privmsg", L"Menu", true, false, true},
        {L"join", L"channelcondition", true, true, true},
        {L"keyword", L"pushtoopqueue", true, true, false},
        {L"Quit", L"sound", false, false, true},
    };
    TMacroItemDialog dialog;
    RunDialog(dialog, [&](HWND window) {
        for (const auto& c : cases) {
            SCOPED_TRACE(Narrow(CString(c.command) + L" / " + c.action).c_str());
            Retype(window, IDC_MACRO_ITEM_COMMAND, c.command);
            Retype(window, IDC_MACRO_ITEM_ACTION, c.action);
            EXPECT_EQ(Enabled(window, IDC_MACRO_ITEM_CHANNEL), c.channel);
            EXPECT_EQ(Enabled(window, IDC_MACRO_ITEM_TARGET), c.target);
            EXPECT_EQ(Enabled(window, IDC_MACRO_ITEM_BROWSE), c.browse);
        }
        // Past the limit nothing more goes in.
        std::wstring longText(10005, L'x');
        ::SetFocus(Control(window, IDC_MACRO_ITEM_MESSAGE));
        ::SendDlgItemMessageW(window, IDC_MACRO_ITEM_MESSAGE, EM_REPLACESEL, TRUE, (LPARAM)longText.c_str());
        EXPECT_EQ(Text(window, IDC_MACRO_ITEM_MESSAGE).GetLength(), 10000);
        Click(window, IDCANCEL);
    });
}

TEST(MacroItemDialogTest, BrowseFillsTheArgumentFromThePickers)
{
    TTempSettings user;
    WriteFileBytes(user.config.soundsFolder + L"bell.wav", "RIFF");
    WriteFileBytes(user.config.soundsFolder + L"chime.wav", "RIFF");
    const struct {
        const wchar_t* action;
        const wchar_t* argument;
        const wchar_t* preselected; // in the picker's list
        bool pickSecondRow;         // else OK on the preselection
        bool cancel;
        const wchar_t* result;
    } cases[] = {
        {L"Menu", L"macro", L"Macro", false, false, L"Macro"}, // the search ignores case
        {L"window", L"", L"", true, false, L"Minimize"},
        {L"ChannelCondition", L"Update", L"Update", true, false, L"NewTalk"},
        {L"PlaySound", L"CHIME.WAV", L"chime.wav", false, false, L"chime.wav"},
        {L"sound", L"", L"", true, false, L"chime.wav"},
        {L"Window", L"Quit", L"Quit", true, true, L"Quit"},    // Cancel leaves it
        {L"menu", L"nothing-like-it", L"", false, false, L""}, // OK without a choice empties it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.action).c_str());
        TMacroItemDialog dialog;
        dialog.soundsFolder = user.config.soundsFolder;
        dialog.item.action = c.action;
        dialog.item.argument = c.argument;
        RunDialog(dialog, [&](HWND window) {
            // The picker the browse button opens.
            WhenDialogShown([&](HWND picker) {
                HWND list = Control(picker, IDC_SELECT_LIST);
                int selected = (int)::SendMessageW(list, LB_GETCURSEL, 0, 0);
                EXPECT_EQ(selected >= 0 ? ListBoxLines(list)[selected] : CString(), CString(c.preselected));
                if (c.action == CString(L"Menu"))
                    SaveWindowPng(picker, ScreenshotPath(L"macro-item-menu-picker.png"));
                if (c.pickSecondRow) {
                    ClickAt(ListBoxRowPoint(list, 1));
                    WaitUntil([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == 1; }, "the second row chosen");
                }
                Click(picker, c.cancel ? IDCANCEL : IDOK);
            });
            Click(window, IDC_MACRO_ITEM_BROWSE);
            PumpMessagesUntil([&] { return TopDialog() == window; }, 3000);
            EXPECT_EQ(Text(window, IDC_MACRO_ITEM_ARGUMENT), CString(c.result));
            Click(window, IDOK);
        });
        EXPECT_EQ(dialog.item.argument, CString(c.result));
    }
}
