// The channel list window as a user meets it: LIST replies of a logged-in unit fill it, the end
// of the list sorts it, headings re-sort it, and its buttons, double-clicks and popup send the
// unit's requests. Counts are read as numbers whatever the server sends.

#include "tests/world/UserInfoFixture.h"

#include "dialogs/ListDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/Screenshot.h"

#include <climits>

namespace {

class ChannelListWindowTest : public LoggedInWindowTest {
protected:
    TListDialog* Open()
    {
        window = static_cast<TListDialog*>(unit->ShowChannelListDialog());
        if (window)
            FocusForInput(window->GetListView()->m_hWnd);
        return window;
    }
    // Name, count and topic of each row, as the list shows them.
    std::vector<CString> Rows()
    {
        PumpPendingMessages();
        TListView* list = window->GetListView();
        std::vector<CString> rows;
        for (int row = 0; row < list->GetItemCount(); row++)
            rows.push_back(list->GetItemText(row, 0) + L"|" + list->GetItemText(row, 1) + L"|" +
                           list->GetItemText(row, 2));
        return rows;
    }
    std::vector<CString> Names()
    {
        std::vector<CString> names;
        for (const CString& row : Rows())
            names.push_back(row.Left(row.Find(L'|')));
        return names;
    }
    POINT RowPoint(int row)
    {
        HWND list = window->GetListView()->m_hWnd;
        RECT rect;
        ListView_GetItemRect(list, row, &rect, LVIR_LABEL);
        return ScreenPointOf(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void ClickHeading(int column)
    {
        HWND header = ListView_GetHeader(window->GetListView()->m_hWnd);
        RECT rect;
        Header_GetItemRect(header, column, &rect);
        ClickAt(ScreenPointOf(header, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    bool Enabled(int id) { return ::Enabled(window->m_hWnd, id); }
    void KickIdle()
    {
        world->KickIdleAllDialogs(0, 0);
        PumpPendingMessages();
    }
    void FeedList(std::initializer_list<const char*> replies)
    {
        for (const char* reply : replies)
            Feed(std::string(":irc.example 322 kvnick ") + reply);
    }

    TListDialog* window = nullptr;
};

TEST_F(ChannelListWindowTest, RepliesArriveUnsortedAndTheEndSortsByUsersThenName)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(window->GetWindowText(), L"チャンネル一覧 - testnet");
    Feed(":irc.example 321 kvnick Channel :Users  Name");
    FeedList({"#small 3 :quiet place", "#Big 40 :the big one", "#abc 3 :", "#mid 12 :[+nt] middle"});
    EXPECT_EQ(Rows(), (std::vector<CString>{L"#mid|12|[+nt] middle", L"#abc|3|", L"#Big|40|the big one",
                                            L"#small|3|quiet place"}))
        << "newest at the top while the list runs";
    Feed(":irc.example 323 kvnick :End of LIST");
    EXPECT_EQ(Names(), (std::vector<CString>{L"#Big", L"#mid", L"#abc", L"#small"}));
    PumpPendingMessages();
    SaveWindowPng(window->m_hWnd, ScreenshotPath(L"channel-list.png"));
    // A window fills instead of the server log.
    EXPECT_FALSE(ServerLogHas("*list"));

    // The next listing starts from an empty window.
    FeedList({"#fresh 1 :new"});
    EXPECT_EQ(Rows(), (std::vector<CString>{L"#fresh|1|new"}));
}

TEST_F(ChannelListWindowTest, HostileCountsReadAsNumbersAndSortWithoutWrapping)
{
    ASSERT_TRUE(Open());
    const std::string longTopic(5000, 'x');
    FeedList({"#huge 99999999999 :more than an int", "#neg -99999999999 :less than an int", "#text abc :not a number",
              "#mixed 12abc :digits first", "#max 2147483647 :",
              "#plain 5 :\x03"
              "4red\x02 bold"});
    Feed(":irc.example 322 kvnick #long 1 :" + longTopic);
    Feed(":irc.example 323 kvnick :End of LIST");
    std::vector<CString> rows = Rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], L"#huge|2147483647|more than an int");
    EXPECT_EQ(rows[1], L"#max|2147483647|");
    EXPECT_EQ(rows[2], L"#mixed|12|digits first");
    EXPECT_EQ(rows[3], L"#plain|5|\x03"
                       L"4red\x02 bold");
    EXPECT_EQ(rows[4], L"#long|1|" + CString(L'x', 5000));
    EXPECT_EQ(rows[5], L"#text|0|not a number");
    EXPECT_EQ(rows[6], L"#neg|-2147483648|less than an int") << "the lowest count sorts last, not first";

    // A second window is never made: the command brings the same one back.
    EXPECT_EQ(unit->ShowChannelListDialog(), window);
}

TEST_F(ChannelListWindowTest, HeadingsSortByTopicIgnoringCaseAndByName)
{
    ASSERT_TRUE(Open());
    FeedList({"#b 7 :beta", "#C 9 :", "#a 1 :Alpha", "#d 2 :alpha"});
    Feed(":irc.example 323 kvnick :End of LIST");
    ClickHeading(2);
    EXPECT_EQ(window->GetSortColumn(), 2);
    EXPECT_EQ(Names(), (std::vector<CString>{L"#C", L"#a", L"#d", L"#b"})) << "no topic first, then A/a by name";
    ClickHeading(0);
    EXPECT_EQ(Names(), (std::vector<CString>{L"#a", L"#b", L"#C", L"#d"}));
    ClickHeading(1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"#C", L"#b", L"#d", L"#a"}));
    ClickHeading(1);
    EXPECT_EQ(Names(), (std::vector<CString>{L"#C", L"#b", L"#d", L"#a"})) << "no reverse order";
}

TEST_F(ChannelListWindowTest, JoinAndPopupCommandsNeedASelectedRow)
{
    ASSERT_TRUE(Open());
    FeedList({"#one 2 :first", "#two 1 :second"});
    Feed(":irc.example 323 kvnick :End of LIST");
    EXPECT_FALSE(Enabled(IDC_LIST_JOIN));
    KickIdle();
    EXPECT_FALSE(Enabled(IDC_LIST_JOIN));
    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_JOIN)));
    EXPECT_TRUE(TakeQueued().empty());
    window->SendMessage(WM_COMMAND, ID_LIST_MEMBER_INFO);
    EXPECT_TRUE(TakeQueued().empty()) << "no row, no request";

    DoubleClickAt(RowPoint(1));
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"JOIN #two"}));
    EXPECT_TRUE(Enabled(IDC_LIST_JOIN));
    KickIdle();
    EXPECT_TRUE(Enabled(IDC_LIST_JOIN));

    ClickAt(RowPoint(0));
    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_JOIN)));
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"JOIN #one"}));

    RightClickThenKey(RowPoint(0), 'I');
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"NAMES #one"}));
    RightClickThenKey(RowPoint(1), 'W');
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"WHO #two"}));

    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_UPDATE)));
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"LIST"}));

    // Logged out, the window asks for nothing.
    unit->GetSession().state = TIRCUnit::StateDisconnected;
    DoubleClickAt(RowPoint(0));
    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_UPDATE)));
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(ChannelListWindowTest, APickedRowKeepsItsChannelWhileRepliesArriveAtTheTop)
{
    ASSERT_TRUE(Open());
    FeedList({"#one 2 :first", "#two 1 :second", "#three 5 :third"});
    EXPECT_EQ(Names(), (std::vector<CString>{L"#three", L"#two", L"#one"}));
    ClickAt(RowPoint(1));
    ASSERT_EQ(window->GetSelectedChannel(), L"#two");

    // Before the list learns of the new rows, the pick still reads as the same channel.
    FeedList({"#four 3 :fourth", "#five 7 :fifth"});
    EXPECT_EQ(window->GetSelectedChannel(), L"#two");
    EXPECT_EQ(Names(), (std::vector<CString>{L"#five", L"#four", L"#three", L"#two", L"#one"}));
    HWND list = window->GetListView()->m_hWnd;
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 3);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 3);
    EXPECT_EQ(window->GetSelectedChannel(), L"#two");
    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDC_LIST_JOIN)));
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"JOIN #two"}));

    // The end of the list sorts and keeps the same channel picked.
    Feed(":irc.example 323 kvnick :End of LIST");
    EXPECT_EQ(Names(), (std::vector<CString>{L"#five", L"#three", L"#four", L"#one", L"#two"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 4);
    EXPECT_EQ(window->GetSelectedChannel(), L"#two");
}

// The list shows rows it does not hold, so typing finds a name only because the window answers
// the list's question; a text no name starts with leaves the selection where it was.
TEST_F(ChannelListWindowTest, TypingTheStartOfANameSelectsThatChannel)
{
    ASSERT_TRUE(Open());
    FeedList({"#alpha 20 :a", "#beta 9 :b", "#Java 7 :j", "#jazz 3 :z"});
    Feed(":irc.example 323 kvnick :End of LIST");
    ASSERT_EQ(Names(), (std::vector<CString>{L"#alpha", L"#beta", L"#Java", L"#jazz"}));
    HWND list = window->GetListView()->m_hWnd;
    FocusForInput(list);
    auto selected = [&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED); };
    TypeTextAtOnce(L"#j");
    EXPECT_TRUE(WaitUntil([&] { return selected() == 2; }, "#Java selected")) << selected();
    EXPECT_TRUE(Enabled(IDC_LIST_JOIN));
    // "#" on its own would move on to another channel; "#j#" names none.
    TypeTextAtOnce(L"#j#");
    EXPECT_EQ(2, selected()) << "nothing starts with #j#";
}

TEST(ChannelRowSearch, FromTheStartRowRoundTheEndIgnoringAsciiCase)
{
    const std::vector<CString> names = {L"#alpha", L"#Java", L"#beta", L"#jazz", L"&local"};
    auto nameOf = [&](int row) -> const CString& { return names[row]; };
    const struct {
        int start;
        const wchar_t* text;
        bool partial, wrap;
        int row;
    } cases[] = {
        {0, L"#j", true, true, 1},         {2, L"#j", true, true, 3},     {4, L"#J", true, true, 1},
        {4, L"#j", true, false, -1},       {0, L"#JAVA", false, true, 1}, {0, L"#jav", false, true, -1},
        {0, L"#x", true, true, -1},        {-1, L"&", true, true, 4},     {9, L"#b", true, true, 2},
        {0, L"#alphabet", true, true, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.row, FindChannelRow((int)names.size(), c.start, c.text, c.partial, c.wrap, nameOf))
            << c.start << " " << Narrow(c.text);
    EXPECT_EQ(-1, FindChannelRow(0, 0, L"#", true, true, nameOf)) << "an empty list";
}

TEST_F(ChannelListWindowTest, TheWarningStaysWholeAndUncoveredAtEveryWidth)
{
    ASSERT_TRUE(Open());
    HWND label = ::GetDlgItem(window->m_hWnd, IDC_LIST_WARNING);
    const struct {
        int width, height;
        const wchar_t* screenshot;
    } sizes[] = {{480, 160, L"channel-list-narrowest.png"}, {560, 300, nullptr}, {1000, 240, L"channel-list-wide.png"}};
    // Held at the left and the bottom, the text keeps its width and place from the left.
    const RECT made = WindowRectIn(label, window->m_hWnd);
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        window->SetWindowPos(nullptr, 40, 40, size.width, size.height, SWP_NOZORDER);
        PumpPendingMessages();
        RECT text = WindowRectIn(label, window->m_hWnd);
        EXPECT_EQ(made.left, text.left);
        EXPECT_EQ(made.right - made.left, text.right - text.left);
        for (int id : {IDC_LIST_JOIN, IDC_LIST_UPDATE, IDCANCEL}) {
            RECT button = WindowRectIn(::GetDlgItem(window->m_hWnd, id), window->m_hWnd), overlap;
            EXPECT_FALSE(::IntersectRect(&overlap, &text, &button)) << id;
        }
        RECT list = WindowRectIn(window->GetListView()->m_hWnd, window->m_hWnd);
        EXPECT_LE(list.bottom, text.top);
        // The wrapped text fits the label's height: no line is cut off.
        HDC dc = ::GetDC(label);
        HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageW(label, WM_GETFONT, 0, 0));
        CString words = GetControlText(label);
        RECT needed = {0, 0, text.right - text.left, 0};
        ::DrawTextW(dc, words, words.GetLength(), &needed, DT_CALCRECT | DT_WORDBREAK);
        ::SelectObject(dc, old);
        ::ReleaseDC(label, dc);
        EXPECT_LE(needed.bottom, text.bottom - text.top);
        if (size.screenshot) {
            PumpPendingMessages();
            SaveWindowPng(window->m_hWnd, ScreenshotPath(size.screenshot));
        }
    }
}

// Enter after a name typed to find its row keeps the window and the fetched list. Every way that
// closes the window ends it in the unit too, so the next replies are printed.
TEST_F(ChannelListWindowTest, EnterKeepsTheListWhileEscTheCloseButtonAndAltF4EndIt)
{
    ASSERT_TRUE(Open());
    FeedList({"#shown 3 :topic", "#kept 5 :topic"});
    Feed(":irc.example 323 kvnick :End of LIST");
    TypeTextAtOnce(L"#k");
    PressKey(VK_RETURN);
    EXPECT_EQ(unit->GetChannelListDialog(), window) << "Enter ended the window";
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ(Names(), (std::vector<CString>{L"#kept", L"#shown"}));

    const struct {
        const char* way;
        WORD key; // none: the close button is clicked
        std::initializer_list<WORD> modifiers;
    } ways[] = {{"Esc", VK_ESCAPE, {}}, {"Close", 0, {}}, {"Alt+F4", VK_F4, {VK_MENU}}};
    for (const auto& way : ways) {
        if (!unit->GetChannelListDialog()) {
            ASSERT_TRUE(Open()) << way.way;
        }
        if (way.key)
            PressKey(way.key, way.modifiers);
        else
            ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDCANCEL)));
        WaitUntil([&] { return unit->GetChannelListDialog() == nullptr; }, way.way);
        std::string after = std::string("#after-") + way.way;
        Feed(":irc.example 322 kvnick " + after + " 4 :topic");
        EXPECT_TRUE(ServerLogHas("*list " + after + " (4) : topic")) << way.way;
    }
}

TEST_F(ChannelListWindowTest, CloseKeepsPlaceAndColumnsForTheNextWindow)
{
    ASSERT_TRUE(Open());
    MINMAXINFO limits = {};
    window->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&limits);
    EXPECT_EQ(limits.ptMinTrackSize.x, 480);
    EXPECT_EQ(limits.ptMinTrackSize.y, 160);
    window->SetWindowPos(nullptr, 120, 90, 640, 420, SWP_NOZORDER);
    ListView_SetColumnWidth(window->GetListView()->m_hWnd, 2, 300);
    PumpPendingMessages();
    // Resizing keeps the buttons at the bottom right and the list above the warning.
    RECT client, close, list, warning;
    window->GetClientRect(&client);
    close = WindowRectIn(::GetDlgItem(window->m_hWnd, IDCANCEL), window->m_hWnd);
    warning = WindowRectIn(::GetDlgItem(window->m_hWnd, IDC_LIST_WARNING), window->m_hWnd);
    list = WindowRectIn(window->GetListView()->m_hWnd, window->m_hWnd);
    EXPECT_LT(client.right - close.right, 20);
    EXPECT_LT(client.bottom - close.bottom, 20);
    EXPECT_EQ(list.right - list.left, client.right - client.left);
    EXPECT_EQ(list.bottom, warning.top - 8);

    ClickAt(ScreenPointOf(::GetDlgItem(window->m_hWnd, IDCANCEL)));
    WaitUntil([&] { return unit->GetChannelListDialog() == nullptr; }, "the window closed");
    EXPECT_EQ(unit->GetChannelListDialog(), nullptr);
    EXPECT_EQ(config.geometry.listHeader[2], 300);
    EXPECT_EQ(config.geometry.listRect.left, 120);
    EXPECT_EQ(config.geometry.listRect.right - config.geometry.listRect.left, 640);

    // Without a window the replies are printed.
    FeedList({"#gone 4 :topic"});
    EXPECT_TRUE(ServerLogHas("*list #gone (4) : topic"));

    ASSERT_TRUE(Open());
    RECT rect;
    window->GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 420);
    EXPECT_EQ(ListView_GetColumnWidth(window->GetListView()->m_hWnd, 2), 300);
    EXPECT_EQ(window->GetChannelCount(), 0);
}

} // namespace
