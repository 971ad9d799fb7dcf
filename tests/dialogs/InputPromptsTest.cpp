// The one-value prompts and the colour-effect dialog as a user meets them: text typed with real
// keys, OK or Cancel pressed, and what the caller reads afterwards.

#include "dialogs/ColorEffectDialog.h"

#include "controls/UpdateDialog.h"
#include "dialogs/InputPrompts.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

TEST(InputPrompts, MessagePromptShowsCallersTextsAndAcceptsAnEmptyLine)
{
    TInputMessageDialog dialog;
    dialog.SetTitle(L"サーバから切断 - net");
    dialog.SetPrompt(L"切断メッセージを入力してください");
    dialog.SetText(L"Leaving...");
    INT_PTR result = RunDialog(dialog, [](HWND window) {
        EXPECT_EQ(CString(L"サーバから切断 - net"), GetControlText(window));
        EXPECT_EQ(CString(L"切断メッセージを入力してください"), Text(window, IDC_INPUT_MESSAGE_PROMPT));
        EXPECT_EQ(CString(L"Leaving..."), Text(window, IDC_INPUT_MESSAGE_TEXT));
        SaveWindowPng(window, ScreenshotPath(L"input-message-prompt.png"));
        Retype(Control(window, IDC_INPUT_MESSAGE_TEXT), L"");
        EXPECT_TRUE(Enabled(window, IDOK));
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(), dialog.GetText());
}

TEST(InputPrompts, TextIsLimitedAndCancelKeepsTheOldText)
{
    TInputMessageDialog dialog;
    dialog.SetText(L"before");
    INT_PTR result = RunDialog(dialog, [](HWND window) {
        EXPECT_EQ(10000, (int)::SendMessageW(Control(window, IDC_INPUT_MESSAGE_TEXT), EM_GETLIMITTEXT, 0, 0));
        Retype(Control(window, IDC_INPUT_MESSAGE_TEXT), L"typed");
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(CString(L"before"), dialog.GetText());
}

TEST(InputPrompts, NickPromptWantsANonEmptyNick)
{
    TInputNickDialog dialog;
    dialog.SetTitle(L"トーク - net");
    dialog.SetPrompt(L"トークする相手を入力してください");
    INT_PTR result = RunDialog(dialog, [](HWND window) {
        EXPECT_EQ(CString(L"トーク - net"), GetControlText(window));
        EXPECT_EQ(CString(L"トークする相手を入力してください"), Text(window, IDC_INPUT_NICK_PROMPT));
        EXPECT_FALSE(Enabled(window, IDOK));
        // Enter on the greyed button closes nothing.
        FocusForInput(Control(window, IDC_INPUT_NICK_TEXT));
        PressKey(VK_RETURN);
        EXPECT_TRUE(::IsWindowVisible(window));
        Retype(Control(window, IDC_INPUT_NICK_TEXT), L"zed[1]");
        EXPECT_TRUE(Enabled(window, IDOK));
        PumpPendingMessages();
        SaveWindowPng(window, ScreenshotPath(L"input-nick-prompt.png"));
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"zed[1]"), dialog.GetText());
}

TEST(InputPrompts, InvitePromptOffersTheChannelsAndWantsAChannelName)
{
    TInputInviteDialog dialog;
    dialog.SetServerName(L"net");
    dialog.channels = {L"#beta", L"&local"};
    dialog.channel = L"unchanged";
    struct {
        const wchar_t* text;
        bool enabled;
    } const cases[] = {{L"beta", false}, {L"#beta", true},  {L"%alias", true}, {L"!ABCDEchan", true},
                       {L"+plus", true}, {L"&local", true}, {L"", false}};
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        HWND box = Control(window, IDC_INPUT_INVITE_CHANNEL);
        EXPECT_EQ(CString(L"招待 - net"), GetControlText(window));
        ASSERT_EQ(2, (int)::SendMessageW(box, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(CString(), GetControlText(box)) << "the list only offers";
        for (const auto& row : cases) {
            Retype(box, row.text);
            EXPECT_EQ(row.enabled, Enabled(window, IDOK)) << Narrow(row.text);
        }
        // A channel picked from the list with the keys.
        FocusForInput(::FindWindowExW(box, nullptr, L"Edit", nullptr));
        PressKey(VK_DOWN);
        PressKey(VK_DOWN);
        EXPECT_EQ(CString(L"&local"), GetControlText(box));
        KickIdle(window);
        PumpPendingMessages();
        SaveWindowPng(window, ScreenshotPath(L"input-invite-prompt.png"));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(CString(L"unchanged"), dialog.channel);

    result = RunDialog(dialog, [](HWND window) {
        Retype(Control(window, IDC_INPUT_INVITE_CHANNEL), L"#gamma");
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"#gamma"), dialog.GetChannelName());
}

TEST(ColorEffectDialog, FirstEntriesGiveNoColourAndTheBackgroundFollowsTheText)
{
    TColorEffectDialog dialog;
    INT_PTR result = RunDialog(dialog, [](HWND window) {
        HWND text = Control(window, IDC_COLOR_EFFECT_TEXT);
        EXPECT_EQ(17, (int)::SendMessageW(text, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(0, (int)::SendMessageW(text, CB_GETCURSEL, 0, 0));
        EXPECT_FALSE(Enabled(window, IDC_COLOR_EFFECT_BACK));
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(-1, dialog.textColor);
    EXPECT_EQ(-1, dialog.backColor);
}

TEST(ColorEffectDialog, PickedColoursAreTheirPaletteNumbers)
{
    TColorEffectDialog dialog;
    INT_PTR result = RunDialog(dialog, [](HWND window) {
        HWND text = Control(window, IDC_COLOR_EFFECT_TEXT);
        HWND back = Control(window, IDC_COLOR_EFFECT_BACK);
        FocusForInput(text);
        for (int i = 0; i < 5; i++)
            PressKey(VK_DOWN);
        wchar_t name[32] = L"";
        ::SendMessageW(text, CB_GETLBTEXT, ::SendMessageW(text, CB_GETCURSEL, 0, 0), (LPARAM)name);
        EXPECT_STREQ(L"赤", name);
        ASSERT_TRUE(Enabled(window, IDC_COLOR_EFFECT_BACK));
        FocusForInput(back);
        for (int i = 0; i < 3; i++)
            PressKey(VK_DOWN);
        SaveWindowPng(window, ScreenshotPath(L"color-effect-dialog.png"));
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(4, dialog.textColor);
    EXPECT_EQ(2, dialog.backColor);
}
