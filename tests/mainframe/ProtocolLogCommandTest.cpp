// The protocol log command of the server menu: the selected server's window, placed where it was
// left, and the main window's input line back in charge when it closes.

#include "tests/mainframe/MainFrameFixture.h"

#include "controls/UpdateDialog.h"
#include "logview/ProtocolLogDialog.h"
#include "res/resource.h"
#include "settings/WindowGeometry.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"
#include "world/IRCWorld.h"

namespace {

using ProtocolLogCommand = MainFrameFixture;

TEST_F(ProtocolLogCommand, ShowsTheSelectedServersLogWhereItWasLeftAndClosingReturnsToTheInputLine)
{
    world->Select(net, Channel(L"#alpha"));
    settings.geometry.protocolLogRect = RECT{150, 120, 650, 470};
    // A line the server sent before the window was ever shown.
    world->AddProtocolLine(net, L":irc.example NOTICE * :*** Looking up your hostname", 0);
    world->AddProtocolLine(net, L"NICK kvself", 1);

    ChooseFromMenuBar(1, {'P'}); // the server menu's item
    TProtocolLogDialog* dialog = world->FindProtocolLog(net);
    ASSERT_NE(nullptr, dialog);
    WaitUntil([&] { return ::IsWindowVisible(dialog->m_hWnd) != FALSE; }, "the window shown");
    EXPECT_STREQ(L"プロトコルログ - net", GetControlText(dialog->m_hWnd));
    // Stays on top only as the main window does.
    EXPECT_FALSE(::GetWindowLongW(dialog->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect;
    dialog->GetNormalRect(rect);
    EXPECT_EQ((std::vector<LONG>{150, 120, 650, 470}),
              (std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}));
    EXPECT_EQ(2, dialog->GetLogView().GetLineCount());
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"protocol-log-window.png"));

    // Moved, then closed with Escape: only hidden, its place kept, the input line focused.
    dialog->SetWindowPos(nullptr, 200, 160, 480, 320, SWP_NOZORDER);
    FocusForInput(dialog->GetLogView().m_hWnd);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog->m_hWnd); }, "Esc hides the window"));
    EXPECT_EQ(dialog, world->FindProtocolLog(net));
    const RECT& stored = settings.geometry.protocolLogRect;
    EXPECT_EQ((std::vector<LONG>{200, 160, 680, 480}),
              (std::vector<LONG>{stored.left, stored.top, stored.right, stored.bottom}));
    EXPECT_EQ(frame->GetInputLine()->m_hWnd, ::GetFocus());

    // Chosen again: the same window with its lines, in front with the focus.
    ChooseFromMenuBar(1, {'P'});
    WaitUntil([&] { return ::IsWindowVisible(dialog->m_hWnd) != FALSE; }, "the window shown");
    EXPECT_EQ(2, dialog->GetLogView().GetLineCount());
    EXPECT_EQ(dialog->m_hWnd, ::GetAncestor(::GetFocus(), GA_ROOT));

    // Another time while it is shown: brought back to the front and focused.
    FocusForInput(frame->GetInputLine()->m_hWnd);
    ChooseFromMenuBar(1, {'P'});
    EXPECT_EQ(dialog->m_hWnd, ::GetAncestor(::GetFocus(), GA_ROOT));
}

} // namespace
