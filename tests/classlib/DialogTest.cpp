#include "classlib/Dialog.h"
#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "classlib/Frame.h"
#include "classlib/MsgMap.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TestDialogIds.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what its map routes; the update handlers enable one button and disable another.
class TCommandDialog : public CDialog {
public:
    TCommandDialog() : CDialog(IDD_TEST_COMMANDS) {}

    BEGIN_MSG_MAP(TCommandDialog)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdle)
        COMMAND_ID_HANDLER(IDC_TEST_ENABLED, OnEnabled)
        COMMAND_RANGE_HANDLER(ID_TEST_FIRST, ID_TEST_SECOND, OnMenuRange)
        UPDATE_UI_HANDLER(IDC_TEST_ENABLED, OnUpdateEnabled)
        UPDATE_UI_HANDLER(IDC_TEST_DISABLED, OnUpdateDisabled)
        UPDATE_UI_HANDLER(IDC_TEST_CHECK, OnUpdateCheck)
        UPDATE_UI_HANDLER(ID_TEST_SECOND, OnUpdateDisabled)
    END_MSG_MAP()

    BOOL OnInitDialog() override
    {
        // Closes itself once the modal loop has gone idle a few times.
        SetTimer(m_hWnd, 1, 200, nullptr);
        return TRUE;
    }

    LRESULT OnKickIdle(WPARAM wParam, LPARAM)
    {
        kickIdleCalls++;
        flagOnIdle = wParam;
        UpdateDialogControls(this, FALSE);
        return 0;
    }
    void OnEnabled() { commands.push_back(IDC_TEST_ENABLED); }
    void OnMenuRange(UINT id) { commands.push_back(id); }
    void OnUpdateEnabled(CCmdUI* ui) { ui->Enable(TRUE); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateCheck(CCmdUI* ui) { ui->SetCheck(1); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 1) {
            KillTimer(m_hWnd, 1);
            if (onTimer)
                onTimer(this);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    std::function<void(TCommandDialog*)> onTimer;
    int kickIdleCalls = 0;
    WPARAM flagOnIdle = 0;
    std::vector<UINT> commands;
};

} // namespace

TEST(CDialog, ModalLoopKicksIdleUpdatesAndReturnsTheEndResult)
{
    TCommandDialog dialog;
    BOOL enabled = TRUE, disabled = TRUE, untouched = FALSE;
    LRESULT check = 0;
    dialog.onTimer = [&](TCommandDialog* d) {
        enabled = IsWindowEnabled(d->GetDlgItem(IDC_TEST_ENABLED));
        disabled = IsWindowEnabled(d->GetDlgItem(IDC_TEST_DISABLED));
        untouched = IsWindowEnabled(d->GetDlgItem(IDC_TEST_UNHANDLED));
        check = SendMessageW(d->GetDlgItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0);
        d->EndDialog(77);
    };
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_GT(dialog.kickIdleCalls, 0);
    EXPECT_EQ(dialog.flagOnIdle, (WPARAM)MSGF_DIALOGBOX);
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(disabled);
    EXPECT_TRUE(untouched) << "a control without an update handler keeps its state";
    EXPECT_EQ(check, BST_CHECKED);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(CDialog, EscapeCancelsAndOwnerIsDisabledOnlyMeanwhile)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                               nullptr, nullptr));
    TCommandDialog dialog;
    dialog.m_pParentWnd = &owner;
    BOOL ownerEnabledMeanwhile = TRUE;
    dialog.onTimer = [&](TCommandDialog* d) {
        ownerEnabledMeanwhile = owner.IsWindowEnabled();
        FocusForInput(d->GetDlgItem(IDC_TEST_UNHANDLED));
        PressKey(VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(CDialog, ButtonsAndMenuCommandsReachTheirMapEntries)
{
    TCommandDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_ENABLED, BN_CLICKED),
                       (LPARAM)dialog.GetDlgItem(IDC_TEST_ENABLED));
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_SECOND, 0), 0);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_FIRST, 1), 0); // from an accelerator
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_UNHANDLED, 0), 0);
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{IDC_TEST_ENABLED, ID_TEST_SECOND, ID_TEST_FIRST}));
    // A modeless dialog ended by OK only hides; its owner destroys it.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.IsWindow());
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

TEST(CCmdUI, MenuPopupUpdatesCommandItemsAndLeavesSeparatorsAndSubmenus)
{
    TCommandDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, ID_TEST_FIRST, L"first");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, ID_TEST_SECOND, L"second");
    AppendMenuW(popup, MF_STRING, ID_TEST_UNHANDLED, L"none");
    AppendMenuW(popup, MF_POPUP, (UINT_PTR)CreatePopupMenu(), L"sub");

    UpdateMenuPopup(&dialog, popup, FALSE);
    EXPECT_FALSE(GetMenuState(popup, ID_TEST_FIRST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, ID_TEST_SECOND, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);

    // A frame greys what nothing handles; items with a command handler stay.
    UpdateMenuPopup(&dialog, popup, TRUE);
    EXPECT_FALSE(GetMenuState(popup, ID_TEST_FIRST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, 4, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(popup);
}

namespace {

class TTestFrame : public CFrameWnd {
public:
    BEGIN_MSG_MAP(TTestFrame)
        COMMAND_ID_HANDLER(ID_TEST_FIRST, OnFirst)
    END_MSG_MAP()
    void OnFirst() { firstCount++; }
    int firstCount = 0;
};

} // namespace

TEST(CFrameWnd, LoadsMenuTitleAndAcceleratorsAndGreysUnhandledItems)
{
    TTestFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_TEST_FRAME, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(frame.GetWindowText(), CString(L"テストフレーム"));
    HMENU file = GetSubMenu(GetMenu(frame), 0);
    ASSERT_NE(file, nullptr);
    frame.SendMessage(WM_INITMENUPOPUP, (WPARAM)file, 0);
    EXPECT_FALSE(GetMenuState(file, ID_TEST_FIRST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);

    FocusForInput(frame);
    PressKey('Q', {VK_CONTROL});
    EXPECT_EQ(frame.firstCount, 1);
}
