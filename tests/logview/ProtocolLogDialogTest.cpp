#include "logview/ProtocolLogDialog.h"
#include "controls/Clipboard.h"
#include "settings/Preference.h"
#include "settings/ViewConfig.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

struct ProtocolLogDialogTest : testing::Test, IProtocolLogDialogListener {
    TViewSettings settings;
    TLogTheme theme;
    TPreference preference;
    TProtocolLogDialog dialog;
    int closed = 0;

    void SetUp() override
    {
        settings.SetDefaults();
        theme.text.Apply(settings.logText);
        preference.Load(L"C:\\no such folder\\"); // every default
        dialog.SetAppearance(&theme.text, &theme.channelLogBack, &preference);
        dialog.listener = this;
        ASSERT_TRUE(dialog.Create());
        dialog.SetNormalRect(RECT{60, 60, 660, 360});
    }
    void OnProtocolLogDialogClose(TProtocolLogDialog* closing) override { closed += closing == &dialog; }

    TLogLine& Line(int index) { return dialog.GetLogView().GetLine(index); }
    // "hh:mm:ss " and the rest.
    static bool StartsWithTime(const CString& text)
    {
        const wchar_t* t = text;
        for (int i : {0, 1, 3, 4, 6, 7})
            if (!iswdigit(t[i]))
                return false;
        return text.GetLength() >= 9 && t[2] == L':' && t[5] == L':' && t[8] == L' ';
    }
};

TEST_F(ProtocolLogDialogTest, ProtocolLinesCarryTheTimeAndTheirDirection)
{
    dialog.AddProtocolLine(L"PING :x", false);
    dialog.AddProtocolLine(L"PONG :x", true);
    dialog.AddProtocolLine(L"PRIVMSG #a :\x02"
                           L"bold\x03"
                           L"4red",
                           false);
    ASSERT_EQ(3, dialog.GetLogView().GetLineCount());
    EXPECT_TRUE(StartsWithTime(Line(0).model.text));
    EXPECT_STREQ(L"PING :x", Line(0).model.text.Mid(9));
    EXPECT_EQ(19, Line(0).model.lineType);
    EXPECT_EQ(18, Line(1).model.lineType);
    // control codes stay in the text as they came
    EXPECT_STREQ(L"PRIVMSG #a :\x02"
                 L"bold\x03"
                 L"4red",
                 Line(2).model.text.Mid(9));
}

TEST_F(ProtocolLogDialogTest, ScriptLinesShowServerAndScriptOnlyWhereAsked)
{
    dialog.AddScriptLog(L"irc.example.net", L"hello.js", L"first line", true);
    dialog.AddScriptLog(L"irc.example.net", L"hello.js", L"second line", false);
    dialog.AddScriptError(L"irc.example.net", L"hello.js", L"ReferenceError");
    EXPECT_STREQ(L"<irc.example.net> (hello.js) first line", Line(0).model.text.Mid(9));
    EXPECT_TRUE(StartsWithTime(Line(0).model.text));
    EXPECT_STREQ(L"second line", Line(1).model.text);
    EXPECT_EQ(0, Line(1).model.lineType);
    EXPECT_STREQ(L"<irc.example.net> (hello.js) ReferenceError", Line(2).model.text.Mid(9));
    EXPECT_EQ(14, Line(2).model.lineType);
}

TEST_F(ProtocolLogDialogTest, CaptionNamesTheServerOrTheScriptConsole)
{
    dialog.SetServerName(L"irc.example.net");
    dialog.ShowDialog();
    EXPECT_STREQ(L"プロトコルログ - irc.example.net", dialog.GetWindowText());
    dialog.SetServerName(CString());
    dialog.ShowDialog();
    EXPECT_STREQ(L"スクリプトコンソール", dialog.GetWindowText());
}

TEST_F(ProtocolLogDialogTest, LineLimitComesFromThePreferences)
{
    for (int i = 0; i < 1001; i++)
        dialog.AddProtocolLine(L"line", false);
    EXPECT_EQ(1000, dialog.GetLogView().GetLineCount());
    EXPECT_EQ(2, Line(0).model.lineNumber);
    preference.ChannelLogMaxLines = 10;
    dialog.ApplySettings();
    EXPECT_EQ(10, dialog.GetLogView().GetLineCount());
    EXPECT_EQ(992, Line(0).model.lineNumber);
}

TEST_F(ProtocolLogDialogTest, EscOrEnterHidesTheWindowTellsTheOwnerAndKeepsTheLines)
{
    dialog.SetServerName(L"irc.example.net");
    for (int i = 0; i < 100; i++)
        dialog.AddProtocolLine(i % 2 ? L":irc.example.net 001 me :Welcome to the network, 日本語も" : L"PING :12345",
                               i % 3 == 0);
    dialog.ShowDialog();
    EXPECT_TRUE(dialog.GetLogView().IsAtEnd());
    FocusForInput(dialog.GetLogView());
    PumpPendingMessages();
    SaveWindowPng(dialog, ScreenshotPath(L"protocol-log.png"));

    // Enter as Escape: the window has no OK button.
    for (WORD key : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(key);
        int before = closed;
        FocusForInput(dialog.GetLogView());
        PressKey(key);
        EXPECT_FALSE(dialog.IsWindowVisible());
        EXPECT_EQ(before + 1, closed);
        dialog.ShowDialog();
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(100, dialog.GetLogView().GetLineCount());
    }
}

TEST_F(ProtocolLogDialogTest, CtrlCAndThePopupsCopyItemCopyAndClearTheSelection)
{
    dialog.AddProtocolLine(L"NOTICE me :copy this", false);
    dialog.ShowDialog();
    TLogView& view = dialog.GetLogView();
    FocusForInput(view);
    PressKey('A', {VK_CONTROL});
    EXPECT_TRUE(view.HasSelection());
    PressKey('C', {VK_CONTROL});
    EXPECT_FALSE(view.HasSelection());
    EXPECT_STREQ(Line(0).model.text + L"\r\n", GetClipboardText());

    CopyTextToClipboard(L"");
    FocusForInput(view);
    PressKey('A', {VK_CONTROL});
    RightClickThenKey(ScreenPointOf(view, 40, 8), 'C');
    EXPECT_FALSE(view.HasSelection());
    EXPECT_STREQ(Line(0).model.text + L"\r\n", GetClipboardText());
}

} // namespace
