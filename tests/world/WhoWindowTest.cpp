// The WHO window of a channel as a user works it: rows from the members, sorting by a clicked
// column, a fresh WHO, saving through the file dialog, and its place and column widths kept.

#include "tests/world/UserInfoFixture.h"
#include "tests/world/WhoWindowDriver.h"

#include "tests/common/StringPrinter.h"

#include "foundation/File.h"

namespace {

class WhoWindowTest : public UserInfoWindowTest {
protected:
    void SetUp() override
    {
        UserInfoWindowTest::SetUp();
        preference.LogCodepage = CP_UTF8;
        Build();
        LogInOffline();
        Feed(":kvnick!kvuser@me.example JOIN #kv-who");
        Feed(":irc.example 353 kvnick = #kv-who :@kvnick bob Carol");
        Feed(":irc.example 366 kvnick #kv-who :End of NAMES list");
        TakeQueued();
        Feed(":irc.example 352 kvnick #kv-who kvuser me.example irc.example kvnick H@ :0 Ketroval Test");
        Feed(":irc.example 352 kvnick #kv-who zed b.example irc.example bob H :0 Bob B");
        Feed(":irc.example 352 kvnick #kv-who amy c.example irc2.example Carol G+ :1 "
             "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
        Feed(":irc.example 315 kvnick #kv-who :End of WHO list");
        channel = unit->FindChannel(L"#kv-who");
        ASSERT_NE(channel, nullptr);
        channel->ShowWhoDialog();
        window = static_cast<TWhoDialog*>(channel->GetWhoDialog());
        ASSERT_NE(window, nullptr);
        driver = std::make_unique<TWhoWindowDriver>(window);
        PumpPendingMessages();
    }

    TIRCChannel* channel = nullptr;
    TWhoDialog* window = nullptr;
    std::unique_ptr<TWhoWindowDriver> driver;
};

TEST_F(WhoWindowTest, RowsShowEveryMemberByNickAndFollowTheChannel)
{
    EXPECT_EQ(window->GetWindowText(), L"#kv-who のメンバ情報 - testnet");
    EXPECT_EQ(driver->Rows(), (std::vector<CString>{L"bob zed b.example Bob B irc.example",
                                                    L"Carol amy c.example \x65E5\x672C\x8A9E irc2.example",
                                                    L"kvnick kvuser me.example Ketroval Test irc.example"}));
    // Joins, nick changes and parts after the window opened reach it too.
    Feed(":dan!dd@d.example JOIN #kv-who");
    Feed(":bob!zed@b.example NICK :bobby");
    Feed(":Carol!amy@c.example PART #kv-who :bye");
    EXPECT_EQ(driver->Rows(), (std::vector<CString>{L"bobby zed b.example Bob B irc.example", L"dan dd d.example  ",
                                                    L"kvnick kvuser me.example Ketroval Test irc.example"}));
}

TEST_F(WhoWindowTest, HeaderClickSortsByThatColumnAndUpdateAsksForAFreshWho)
{
    driver->ClickHeading(2);
    EXPECT_EQ(driver->Nicks(), (std::vector<CString>{L"Carol", L"kvnick", L"bob"})) << "by login name";
    driver->ClickHeading(5);
    EXPECT_EQ(driver->Nicks(), (std::vector<CString>{L"bob", L"kvnick", L"Carol"})) << "by server, then nick";

    ClickButton(window->m_hWnd, IDC_WHO_UPDATE);
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"WHO #kv-who"}));
    EXPECT_FALSE(channel->whoComplete);
    Feed(":irc.example 352 kvnick #kv-who zed b.example irc3.example bob H :0 Bob Again");
    Feed(":irc.example 315 kvnick #kv-who :End of WHO list");
    EXPECT_TRUE(channel->whoComplete);
    EXPECT_EQ(driver->Rows()[2], L"bob zed b.example Bob Again irc3.example");

    // Outside the channel there is nothing to ask.
    Feed(":kvnick!kvuser@me.example PART #kv-who :bye");
    ClickButton(window->m_hWnd, IDC_WHO_UPDATE);
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(WhoWindowTest, SaveWritesTheRowsInListOrderThroughTheFileDialog)
{
    driver->ClickHeading(2);
    CString path = folder.path + L"\\saved.txt";
    TFileDialogAnswer answer = driver->SaveThroughDialog(path, true);
    EXPECT_EQ(answer.defaultName, L"#kv-who-members.txt");
    EXPECT_FALSE(answer.confirmShown) << "a new file needs no confirmation";
    EXPECT_EQ(ReadFileBytes(path),
              CStringA("Carol\tamy\tc.example\tirc2.example\t\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n"
                       "kvnick\tkvuser\tme.example\tirc.example\tKetroval Test\r\n"
                       "bob\tzed\tb.example\tirc.example\tBob B\r\n"));

    // Over an existing file only after the user agrees.
    Feed(":Carol!amy@c.example PART #kv-who :bye");
    CStringA before = ReadFileBytes(path);
    answer = driver->SaveThroughDialog(path, false);
    EXPECT_TRUE(answer.confirmShown);
    // Both are counted, so the main window takes no input while either is open.
    EXPECT_EQ(answer.modalCountInDialog, 1);
    EXPECT_EQ(answer.modalCountAtConfirm, 1);
    EXPECT_EQ(ReadFileBytes(path), before) << "refused: the old file stays";
    answer = driver->SaveThroughDialog(path, true);
    EXPECT_TRUE(answer.confirmShown);
    EXPECT_EQ(ReadFileBytes(path), CStringA("kvnick\tkvuser\tme.example\tirc.example\tKetroval Test\r\n"
                                            "bob\tzed\tb.example\tirc.example\tBob B\r\n"));

    // Leaving the channel empties the list; saving it empties the file.
    Feed(":kvnick!kvuser@me.example PART #kv-who :bye");
    EXPECT_TRUE(driver->Rows().empty());
    driver->SaveThroughDialog(path, true);
    EXPECT_EQ(ReadFileBytes(path), CStringA(""));
}

TEST_F(WhoWindowTest, EscapeOrEnterClosesItAndTheNextOneOpensWhereItWasWithItsWidths)
{
    EXPECT_EQ(channel->GetWhoDialog(), window) << "shown again, not made twice";
    HWND list = window->GetListView()->m_hWnd;
    ListView_SetColumnWidth(list, 3, 150);
    ::SetWindowPos(window->m_hWnd, nullptr, 40, 50, 520, 300, SWP_NOZORDER);
    FocusForInput(list);
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return channel->GetWhoDialog() == nullptr; }, "Esc closes the window");
    EXPECT_EQ(channel->GetWhoDialog(), nullptr);
    EXPECT_EQ(channel->GetMembers().GetWhoList(), nullptr);
    ASSERT_EQ(geometry.whoHeader.size(), 6u);
    EXPECT_EQ(geometry.whoHeader[3], 150);
    EXPECT_EQ(geometry.whoRect.right - geometry.whoRect.left, 520);

    channel->ShowWhoDialog();
    TWhoDialog* again = static_cast<TWhoDialog*>(channel->GetWhoDialog());
    ASSERT_NE(again, nullptr);
    RECT rect;
    again->GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.bottom - rect.top, 300);
    EXPECT_EQ(ListView_GetColumnWidth(again->GetListView()->m_hWnd, 3), 150);
    EXPECT_EQ(again->GetListView()->GetItemCount(), 3) << "filled from the members";

    // Enter closes it the same way.
    FocusForInput(again->GetListView()->m_hWnd);
    PressKey(VK_RETURN);
    WaitUntil([&] { return channel->GetWhoDialog() == nullptr; }, "Enter closes the window");
    EXPECT_EQ(channel->GetMembers().GetWhoList(), nullptr);
}

TEST_F(WhoWindowTest, ControlsFollowTheEdgesButAZeroSizeLeavesThem)
{
    HWND close = ::GetDlgItem(window->m_hWnd, IDCANCEL);
    RECT before = WindowRectIn(close, window->m_hWnd);
    RECT window0;
    window->GetWindowRect(&window0);
    ::SetWindowPos(window->m_hWnd, nullptr, 0, 0, window0.right - window0.left + 40, window0.bottom - window0.top + 30,
                   SWP_NOMOVE | SWP_NOZORDER);
    RECT after = WindowRectIn(close, window->m_hWnd);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);

    window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    EXPECT_EQ(WindowRectIn(close, window->m_hWnd).left, after.left);

    ::SetWindowPos(window->m_hWnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT small;
    window->GetWindowRect(&small);
    EXPECT_GE(small.right - small.left, 300);
    EXPECT_GE(small.bottom - small.top, 160);
}

// Stands for the world's member-row drawing.
class TRowPainter : public IListViewListener {
public:
    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override {}
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView* list, NMHDR* header, LRESULT*) override
    {
        if (reinterpret_cast<NMLVCUSTOMDRAW*>(header)->nmcd.dwDrawStage == CDDS_PREPAINT)
            lists.push_back(list);
    }
    void OnColumnClick(TListView*, int) override {}
    std::vector<TListView*> lists;
};

TEST_F(WhoWindowTest, DoubleClickAsksForUserInformationAndTheWorldDrawsTheRows)
{
    driver->DoubleClickRow(1);
    EXPECT_EQ(frame.userInfoCalls, 1);

    channel->CloseWhoDialog();
    TRowPainter painter;
    dialogs->SetMemberLook(nullptr, &painter, nullptr, CLR_NONE);
    channel->ShowWhoDialog();
    TWhoDialog* again = static_cast<TWhoDialog*>(channel->GetWhoDialog());
    ASSERT_NE(again, nullptr);
    ::UpdateWindow(again->GetListView()->m_hWnd);
    PumpPendingMessages();
    ASSERT_FALSE(painter.lists.empty());
    EXPECT_EQ(painter.lists.back(), again->GetListView());
}

} // namespace
