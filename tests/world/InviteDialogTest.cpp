// The invitation window as a user meets it: opened by an INVITE when the preferences ask for
// it, one per invitation, "入る" joins, "キャンセル" only closes, and the limit on open ones.

#include "tests/world/UserInfoFixture.h"

#include "dialogs/InviteDialog.h"
#include "res/windows/dialogs.h"
#include "tests/common/Screenshot.h"

namespace {

class InviteDialogTest : public UserInfoWindowTest {
protected:
    void SetUp() override
    {
        UserInfoWindowTest::SetUp();
        preference.InviteAction = 1;
        preference.ActivateInviteDialog = false;
        preference.LimitInviteDialog = false;
        Build();
        LogInOffline();
    }
    void Invite(const char* nick, const char* channel)
    {
        Feed(std::string(":") + nick + "!u@inviter.example INVITE kvnick :" + channel);
    }
    TInviteDialog* Dialog(size_t i)
    {
        const auto& open = unit->GetInviteDialogs();
        return i < open.size() ? static_cast<TInviteDialog*>(open[i]) : nullptr;
    }
};

} // namespace

TEST_F(InviteDialogTest, EachInvitationHasItsWindowAndJoinJoinsItsChannel)
{
    Invite("alice", "#one");
    Invite("bob", "#two");
    ASSERT_EQ(unit->GetInviteDialogs().size(), 2u);
    HWND first = Dialog(0)->m_hWnd, second = Dialog(1)->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(first) && ::IsWindowVisible(second));
    EXPECT_EQ(Field(first, IDC_INVITE_NICK), CString(L"alice"));
    EXPECT_EQ(Field(first, IDC_INVITE_CHANNEL), CString(L"#one"));
    EXPECT_EQ(Field(second, IDC_INVITE_NICK), CString(L"bob"));
    EXPECT_EQ(Field(second, IDC_INVITE_CHANNEL), CString(L"#two"));
    ExpectRequestWindow(second, L"チャンネルへの招待", IDC_INVITE_TIME, Dialog(1)->GetTimeText(), L"入る",
                        L"キャンセル");
    PumpPendingMessages();
    SaveWindowPng(second, ScreenshotPath(L"invite-dialog.png"));
    TakeQueued();

    ClickButton(second, IDOK);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"JOIN #two"});
    ASSERT_EQ(unit->GetInviteDialogs().size(), 1u);
    EXPECT_EQ(Dialog(0)->GetChannel(), CString(L"#one"));

    ClickButton(first, IDCANCEL);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_TRUE(unit->GetInviteDialogs().empty());
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(InviteDialogTest, TheLimitCountsOpenWindowsAndTheUnitsEndClosesThem)
{
    preference.LimitInviteDialog = true;
    preference.InviteDialogMax = 1;
    Invite("alice", "#one");
    Invite("bob", "#two");
    ASSERT_EQ(unit->GetInviteDialogs().size(), 1u);
    EXPECT_EQ(Dialog(0)->GetNick(), CString(L"alice"));
    ::SetFocus(::GetDlgItem(Dialog(0)->m_hWnd, IDCANCEL));
    FocusForInput(::GetDlgItem(Dialog(0)->m_hWnd, IDCANCEL));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(unit->GetInviteDialogs().empty());
    Invite("carol", "#three");
    ASSERT_EQ(unit->GetInviteDialogs().size(), 1u);
    EXPECT_EQ(Dialog(0)->GetChannel(), CString(L"#three"));
    HWND window = Dialog(0)->m_hWnd;
    world->DeleteUnit(unit);
    unit = nullptr;
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(world->TryOpenInviteDialog());
}

TEST_F(InviteDialogTest, OtherActionsOpenNoWindow)
{
    struct {
        int action;
        const char* channel;
        std::vector<std::string> sent;
    } cases[] = {{0, "#c", {}}, {2, "#c", {"JOIN #c"}}, {1, "nochannel", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        preference.InviteAction = c.action;
        TakeQueued();
        Invite("alice", c.channel);
        EXPECT_TRUE(unit->GetInviteDialogs().empty());
        EXPECT_EQ(TakeQueued(), c.sent);
    }
}
