// The world in a main window of real controls: the views a selected node shows, the title, the
// colours of tree items and member rows, the keys, and nodes that went while something still
// pointed at them.

#include "tests/common/DialogSteps.h"
#include "tests/common/ImportPatch.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/world/common/WorldWindowTest.h"

#include "world/MemberListView.h"

namespace {

// A key pressed with its modifiers, and the node selected after it.
struct TKeyStep {
    WORD key;
    std::initializer_list<WORD> modifiers;
    TIRCUnit* unit;
    TIRCChannel* channel;
};

// The key presses the input line's own window receives, each with the modifiers held then.
class TInputKeyTap {
public:
    explicit TInputKeyTap(HWND edit) : edit(edit)
    {
        tap = this;
        previous = (WNDPROC)::SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)&Receive);
    }
    ~TInputKeyTap()
    {
        ::SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)previous);
        tap = nullptr;
    }
    std::vector<std::string> keys;

private:
    static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_KEYDOWN && wParam != VK_CONTROL && wParam != VK_MENU)
            tap->keys.push_back(std::string(Down(VK_CONTROL) ? "ctrl+" : "") + (Down(VK_LMENU) ? "lalt+" : "") +
                                (Down(VK_RMENU) ? "ralt+" : "") + std::to_string(wParam));
        return ::CallWindowProcW(tap->previous, window, message, wParam, lParam);
    }
    static bool Down(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

    static TInputKeyTap* tap;
    HWND edit;
    WNDPROC previous;
};

TInputKeyTap* TInputKeyTap::tap = nullptr;

// A layout with AltGr, as the decision sees it: Ctrl+Alt with a digit types a character.
int WINAPI TypeWithAltGr(UINT key, UINT, const BYTE* state, LPWSTR typed, int size, UINT, HKL)
{
    if (key < '0' || key > '9' || !(state[VK_CONTROL] & 0x80) || !(state[VK_MENU] & 0x80) || size < 1)
        return 0;
    typed[0] = L'@';
    return 1;
}

class WorldViewsTest : public TTwoServersTest {
protected:
    COLORREF PixelOfItem(HTREEITEM item, int x = -1)
    {
        RECT rect;
        frame.tree.GetItemRect(item, &rect, TRUE);
        HDC dc = ::GetDC(frame.tree.m_hWnd);
        COLORREF color = ::GetPixel(dc, x >= 0 ? x : rect.right - 2, rect.top + 1);
        ::ReleaseDC(frame.tree.m_hWnd, dc);
        return color;
    }
    // Pixels of the channel's number box that are not its background: the drawn number.
    int InkedInNumberBox(HTREEITEM item, COLORREF back)
    {
        RECT rect;
        frame.tree.GetItemRect(item, &rect, TRUE);
        int indent = (int)frame.tree.SendMessage(TVM_GETINDENT);
        return CountPixelsOtherThan(frame.tree.m_hWnd, RECT{2, rect.top, 2 + indent, rect.bottom}, back);
    }
    void Redraw(CWnd& window)
    {
        window.RedrawWindow();
        PumpPendingMessages();
    }
    CString InputText() { return TEdit::GetText(frame.chat.input.m_hWnd); }
    void ExpectSelectionAfterEach(const std::vector<TKeyStep>& steps)
    {
        for (const TKeyStep& step : steps) {
            PressKey(step.key, step.modifiers);
            EXPECT_EQ(Selected(), TNode(step.unit, step.channel)) << step.key;
        }
    }
    void AddMember(TIRCChannel* channel, const wchar_t* nick)
    {
        channel->AddOrUpdateMember(nick, L"u", L"h", L"", L"", false, false, false, false, false);
    }
};

TEST_F(WorldViewsTest, WithoutServersTheEmptyViewsAndTheProgramTitleShow)
{
    config.world.Units.clear();
    Build();
    ASSERT_NE(ShownLog(), nullptr);
    ASSERT_NE(ShownMemberList(), nullptr);
    EXPECT_TRUE(ShownLog()->IsWindowVisible());
    EXPECT_EQ(frame.GetTitle(), CString(L"Ketroval 2.40"));
    EXPECT_EQ(GetAppTitle(), CString(L"Ketroval 2.40"));
}

TEST_F(WorldViewsTest, ClickingANodeShowsItsLogItsMembersAndItsTitle)
{
    Prepare();
    net->PrintSystemText(nullptr, L"server line");
    AddMember(alpha, L"kvself");
    AddMember(alpha, L"peer");
    net->PrintSystemText(alpha, L"alpha line");
    CWnd* emptyLog = frame.chat.cards.GetCard(1);
    CWnd* emptyList = frame.members.GetCard(1);
    const struct {
        TIRCUnit* unit;
        TIRCChannel* channel;
        CWnd* log;
        int members;
        const wchar_t* inTitle;
    } rows[] = {
        {net, alpha, alpha->logView, 2, L"#alpha"},
        {net, nullptr, net->logView, 0, L"net"},
        {net, beta, emptyLog, 0, L"#beta"},
        {home, nullptr, emptyLog, 0, L"home"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.inTitle);
        ClickItem(Item(row.unit, row.channel));
        EXPECT_EQ(Selected(), TNode(row.unit, row.channel));
        EXPECT_EQ(ShownLog(), row.log);
        EXPECT_TRUE(ShownLog()->IsWindowVisible());
        auto* list = static_cast<TListView*>(ShownMemberList());
        EXPECT_EQ(list == emptyList, row.members == 0);
        EXPECT_EQ(list->GetItemCount(), row.members);
        // The title follows within a frame of the last one shown.
        EXPECT_TRUE(PumpMessagesUntil([&] { return frame.GetTitle().Find(row.inTitle) != -1; }, kWaitBoundMs))
            << frame.GetTitle().GetString();
        EXPECT_EQ(frame.toolTips.back(), frame.GetTitle());
    }
}

TEST_F(WorldViewsTest, ANodeLeftBehindKeepsNoMarkedTextAndNoSelectedMembers)
{
    Prepare();
    AddMember(alpha, L"kvself");
    AddMember(alpha, L"peer");
    net->PrintSystemText(alpha, L"alpha line");
    ClickItem(Item(net, alpha));
    alpha->logView->SelectAll();
    auto* list = static_cast<TListView*>(ShownMemberList());
    LVITEMW state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    list->SendMessage(LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    ASSERT_TRUE(alpha->logView->HasSelection());
    ASSERT_EQ(list->SendMessage(LVM_GETSELECTEDCOUNT), 2);
    ClickItem(Item(net, beta));
    EXPECT_FALSE(alpha->logView->HasSelection());
    EXPECT_EQ(list->SendMessage(LVM_GETSELECTEDCOUNT), 0);
}

TEST_F(WorldViewsTest, AChannelShownTheFirstTimeIsAtItsEndLaterOnlyWhenAsked)
{
    Prepare();
    for (int i = 0; i < 200; i++)
        net->PrintToChannel(alpha, L"peer", L"a line to scroll past", 0, 0, false);
    alpha->logView->ScrollToTop();
    ClickItem(Item(net, alpha));
    EXPECT_TRUE(alpha->logView->IsAtEnd());
    const struct {
        bool bottomOnSelect;
        bool atEnd;
    } rows[] = {{false, false}, {true, true}};
    for (const auto& row : rows) {
        config.preference.ViewBottomOnSelect = row.bottomOnSelect;
        alpha->logView->ScrollToTop();
        ClickItem(Item(net));
        ClickItem(Item(net, alpha));
        EXPECT_EQ(alpha->logView->IsAtEnd(), row.atEnd) << row.bottomOnSelect;
    }
}

TEST_F(WorldViewsTest, TreeItemsTakeTheColoursOfTheirMarksAndChannelsShowTheirNumbers)
{
    TViewTreeConfig& colors = config.view.settings.tree;
    colors.selectedText = RGB(0, 0, 0);
    colors.selectedBack = RGB(255, 255, 0);
    colors.keywordBack = RGB(255, 0, 0);
    colors.newTalkBack = RGB(0, 0, 255);
    colors.updateBack = RGB(0, 160, 0);
    colors.backColor = RGB(255, 255, 255);
    config.preference.HideSelectionOnInactive = true;
    Prepare();
    TChannelConfig talk;
    talk.Name = L"friend";
    TIRCChannel* talkNode = world->AddChannelNode(home, talk, TIRCChannel::KindTalk);
    world->Select(net, nullptr);
    beta->keywordMark = true;
    gamma->updateMark = true;
    talkNode->newTalkMark = true;
    Redraw(frame.tree);
    const struct {
        HTREEITEM item;
        COLORREF back;
    } rows[] = {
        {Item(net), RGB(255, 255, 0)},       {Item(net, alpha), RGB(255, 255, 255)}, {Item(net, beta), RGB(255, 0, 0)},
        {Item(home, gamma), RGB(0, 160, 0)}, {Item(home, talkNode), RGB(0, 0, 255)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PixelOfItem(row.item), row.back) << frame.tree.GetItemText(row.item).GetString();
        // The number box left of a channel item has the item's background.
        if (frame.tree.GetParentItem(row.item)) {
            EXPECT_EQ(PixelOfItem(row.item, 3), row.back);
            EXPECT_GT(InkedInNumberBox(row.item, row.back), 4) << "the number shows over the painted row";
        }
    }
    // An inactive window hides the selection: the marked, selected item shows its mark.
    world->Select(net, beta);
    beta->keywordMark = true;
    frame.active = false;
    Redraw(frame.tree);
    EXPECT_EQ(PixelOfItem(Item(net, beta)), RGB(255, 0, 0));
    frame.active = true;
    Redraw(frame.tree);
    EXPECT_EQ(PixelOfItem(Item(net, beta)), RGB(255, 255, 0));
}

TEST_F(WorldViewsTest, MemberRowsAreDrawnInTheColoursOfTheirGroup)
{
    TViewListConfig& colors = config.view.settings.list;
    colors.selfBack = RGB(255, 0, 255);
    colors.groupBack[1] = RGB(0, 200, 200);
    colors.backColor = RGB(255, 255, 255);
    Prepare();
    AddMember(alpha, L"aaa");
    AddMember(alpha, L"bbb");
    AddMember(alpha, L"ccc");
    alpha->FindMember(L"aaa")->groupKind = 2;
    TIRCMember* grouped = alpha->FindMember(L"bbb");
    grouped->groupKind = 1;
    grouped->groupIndex = 1;
    alpha->ChangeMemberMode(L"ccc", L'o', true);
    ClickItem(Item(net, alpha));
    auto* list = static_cast<TMemberListView*>(ShownMemberList());
    WaitUntil([&] { return !list->IsRedrawHeld(); }, "the rows laid out after the burst");
    Redraw(*list);
    const struct {
        const wchar_t* nick;
        COLORREF back;
        int image;
    } rows[] = {{L"aaa", RGB(255, 0, 255), 3}, {L"bbb", RGB(0, 200, 200), 3}, {L"ccc", RGB(255, 255, 255), 0}};
    HDC dc = ::GetDC(list->m_hWnd);
    for (const auto& row : rows) {
        int item = list->FindItem(alpha->FindMember(row.nick));
        ASSERT_GE(item, 0);
        RECT label = {};
        label.left = LVIR_LABEL;
        list->SendMessage(LVM_GETITEMRECT, item, (LPARAM)&label);
        EXPECT_EQ(::GetPixel(dc, label.left + 1, label.top + 1), row.back) << row.nick;
        EXPECT_EQ(list->GetItemImage(item), row.image) << row.nick;
    }
    ::ReleaseDC(list->m_hWnd, dc);
}

TEST_F(WorldViewsTest, KeysMoveTheSelectionAndTypingAnywhereLandsInTheInputLine)
{
    Prepare();
    ClickItem(Item(net, alpha));
    PressKey('H');
    EXPECT_EQ(::GetFocus(), frame.chat.input.m_hWnd);
    EXPECT_EQ(InputText(), CString(L"h"));
    ExpectSelectionAfterEach({
        {'2', {VK_CONTROL}, net, beta},
        {'0', {VK_CONTROL}, net, nullptr},
        {VK_DOWN, {VK_MENU}, net, alpha},
        {VK_DOWN, {VK_MENU}, net, beta},
        {VK_RIGHT, {VK_MENU}, home, nullptr},
        {VK_UP, {VK_MENU}, net, beta},
        {'1', {VK_CONTROL, VK_MENU}, net, beta}, // there is no eleventh channel
    });
    // Ctrl+Alt+Down moves the selected channel below its neighbour; the selection stays.
    PressKey('1', {VK_CONTROL});
    PressKey(VK_DOWN, {VK_CONTROL, VK_MENU});
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#beta", L"#alpha"}));
    EXPECT_EQ(Selected().second, alpha);
    EXPECT_EQ(config.world.Units[0].Channels[0].Name, L"#beta");
}

TEST_F(WorldViewsTest, JoinedOnlyWalksWrapAndLoggedInOnlyWalksSkipServers)
{
    Prepare();
    alpha->OnJoined();
    gamma->OnJoined();
    ClickItem(Item(net, alpha));
    FocusForInput(frame.chat.input.m_hWnd);
    ExpectSelectionAfterEach({
        {VK_DOWN, {VK_CONTROL}, home, gamma},
        {VK_DOWN, {VK_CONTROL}, net, alpha},
        {VK_UP, {VK_CONTROL}, home, gamma},
        {VK_RIGHT, {VK_CONTROL}, home, gamma}, // nobody logged in
        {VK_RIGHT, {VK_MENU}, net, alpha},     // back to the channel last shown there
    });
}

// AltGr arrives as Ctrl+Alt: with Alt held the input line's Ctrl rows leave the key to the edit,
// which types the character the layout gives it. The Ctrl+Alt rows of their own still act.
TEST_F(WorldViewsTest, CtrlRowsLeaveCtrlAltKeysToTheEdit)
{
    Prepare();
    net->GetSession().state = TIRCUnit::StateLoggedIn;
    home->GetSession().state = TIRCUnit::StateLoggedIn;
    for (int i = 0; i < 200; i++)
        net->PrintSystemText(alpha, L"a line to scroll");
    ClickItem(Item(net, alpha));
    FocusForInput(frame.chat.input.m_hWnd);
    TypeText(L"abc");
    ASSERT_EQ(InputText(), CString(L"abc"));
    ASSERT_TRUE(alpha->logView->IsAtEnd());
    const WORD keys[] = {VK_OEM_4, VK_OEM_6, VK_LEFT, VK_RIGHT, 'A',     VK_TAB,
                         VK_HOME,  VK_PRIOR, VK_NEXT, VK_END,   VK_OEM_2};
    for (WORD key : keys) {
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << key);
        FocusForInput(frame.chat.input.m_hWnd);
        frame.chat.input.SendMessage(EM_SETSEL, 3, 3);
        PressKey(key, {VK_CONTROL, VK_MENU});
        EXPECT_EQ(Selected(), TNode(net, alpha));
        EXPECT_TRUE(frame.tree.GetItemState(Item(net), TVIS_EXPANDED) & TVIS_EXPANDED);
        EXPECT_TRUE(alpha->logView->IsAtEnd()) << "the log stays at its end";
        if (key == 'A') {
            EXPECT_EQ(frame.chat.input.SendMessage(EM_GETSEL), MAKELRESULT(3, 3)) << "the text stays unselected";
        }
    }
    // Without Alt the same keys act.
    PressKey('A', {VK_CONTROL});
    EXPECT_EQ(frame.chat.input.SendMessage(EM_GETSEL), MAKELRESULT(0, 3));
    PressKey(VK_HOME, {VK_CONTROL});
    EXPECT_FALSE(alpha->logView->IsAtEnd());
    ExpectSelectionAfterEach({
        {VK_OEM_6, {VK_CONTROL}, home, nullptr},
        {VK_OEM_4, {VK_CONTROL}, net, alpha},
    });
    PressKey(VK_DOWN, {VK_CONTROL, VK_MENU});
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#beta", L"#alpha"})) << "Ctrl+Alt+Down moves the channel";
}

// A log view keeps Ctrl+C and Ctrl+F for itself; with Alt held they are AltGr characters (Ctrl+Alt+F
// types "[" on Czech layouts), which go to the input line like any other key.
TEST_F(WorldViewsTest, ALogViewLeavesItsCtrlKeysToTheInputLineWhenAltIsHeld)
{
    Prepare();
    net->PrintSystemText(alpha, L"a line");
    ClickItem(Item(net, alpha));
    const HWND log = alpha->logView->m_hWnd, input = frame.chat.input.m_hWnd;
    const struct {
        WORD key;
        std::initializer_list<WORD> modifiers;
        HWND focusAfter;
    } rows[] = {
        {'F', {VK_CONTROL}, log},
        {'F', {VK_CONTROL, VK_MENU}, input},
        {'C', {VK_CONTROL}, log},
        {'C', {VK_CONTROL, VK_MENU}, input},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (char)row.key << " with " << row.modifiers.size() << " modifiers");
        FocusForInput(log);
        PressKey(row.key, row.modifiers);
        EXPECT_EQ(row.focusAfter, ::GetFocus());
    }
}

// Where the layout types nothing with Ctrl+Alt and a digit (the display's US layout, whose right
// Alt is a plain Alt), Ctrl with either Alt and a digit selects the channels from ten on; where it
// types a character (AltGr), the key is the input line's.
TEST_F(WorldViewsTest, CtrlAltDigitsSelectChannelsFromTenUnlessTheLayoutTypesWithThem)
{
    AddServer(L"wide",
              {L"#c1", L"#c2", L"#c3", L"#c4", L"#c5", L"#c6", L"#c7", L"#c8", L"#c9", L"#c10", L"#c11", L"#c12"});
    Prepare();
    TIRCUnit* wide = world->FindUnit(L"wide");
    ClickItem(Item(wide, wide->FindChannel(L"#c1")));
    FocusForInput(frame.chat.input.m_hWnd);
    TInputKeyTap tap(frame.chat.input.m_hWnd);
    ExpectSelectionAfterEach({
        {'2', {VK_CONTROL, VK_RMENU}, wide, wide->FindChannel(L"#c12")},
        {VK_NUMPAD0, {VK_CONTROL, VK_RMENU}, wide, wide->FindChannel(L"#c10")},
        {'1', {VK_CONTROL, VK_LMENU}, wide, wide->FindChannel(L"#c11")},
        {'3', {VK_CONTROL, VK_RMENU}, wide, wide->FindChannel(L"#c11")}, // no thirteenth channel
    });
    EXPECT_TRUE(tap.keys.empty()) << "no digit reached the input line";
    EXPECT_EQ(InputText(), CString());

    // The display's layout cannot be changed under Wine: the layout query answers as AltGr does.
    const ULONG_PTR system = ReplaceImport("user32.dll", "ToUnicodeEx", reinterpret_cast<ULONG_PTR>(&TypeWithAltGr));
    ASSERT_TRUE(system) << "the decision asks the layout through ToUnicodeEx";
    PressKey('2', {VK_CONTROL, VK_RMENU});
    PumpPendingMessages();
    ReplaceImport("user32.dll", "ToUnicodeEx", system);
    EXPECT_EQ(Selected().second, wide->FindChannel(L"#c11"));
    EXPECT_EQ(tap.keys, std::vector<std::string>{"ctrl+ralt+50"}) << "the digit reached the input line";
}

TEST_F(WorldViewsTest, TabWalksTreeLogInputAllLogMembersAndBack)
{
    config.preference.CompleteNickOnTab = false;
    Prepare();
    net->PrintSystemText(alpha, L"alpha line");
    ClickItem(Item(net, alpha));
    HWND order[] = {alpha->logView->m_hWnd, frame.chat.input.m_hWnd, frame.allLog.m_hWnd,
                    frame.members.GetCard(1)->m_hWnd, frame.tree.m_hWnd};
    for (HWND expected : order) {
        PressKey(VK_TAB);
        EXPECT_EQ(::GetFocus(), expected);
    }
    for (int i = 3; i >= 0; i--) {
        PressKey(VK_TAB, {VK_SHIFT});
        EXPECT_EQ(::GetFocus(), order[i]) << i;
    }
    // Enter in the tree only moves the focus.
    FocusForInput(frame.tree.m_hWnd);
    PressKey(VK_RETURN);
    EXPECT_EQ(::GetFocus(), frame.chat.input.m_hWnd);
    EXPECT_EQ(InputText(), CString());
}

TEST_F(WorldViewsTest, TheFocusFollowsToTheNewNodesViewOrFallsToTheInputLine)
{
    Prepare();
    net->PrintSystemText(alpha, L"alpha line");
    net->PrintSystemText(beta, L"beta line");
    AddMember(alpha, L"peer");
    AddMember(beta, L"peer");
    world->Select(net, alpha);
    const struct {
        HWND focused;
        TIRCChannel* next;
        HWND expected;
    } rows[] = {
        {alpha->logView->m_hWnd, beta, beta->logView->m_hWnd},
        {beta->logView->m_hWnd, gamma, frame.chat.input.m_hWnd},
        {frame.tree.m_hWnd, alpha, frame.tree.m_hWnd},
    };
    for (const auto& row : rows) {
        FocusForInput(row.focused);
        world->Select(row.next->GetUnit(), row.next);
        EXPECT_EQ(::GetFocus(), row.expected) << row.next->GetName().GetString();
    }
    world->Select(net, alpha);
    FocusForInput(ShownMemberList()->m_hWnd);
    world->Select(net, beta);
    EXPECT_EQ(::GetFocus(), ShownMemberList()->m_hWnd);
    EXPECT_EQ(ShownMemberList(), frame.members.GetCard((UINT)(UINT_PTR)beta));
}

// An empty log or list that has the focus gives it to the node's first view shown over it; a
// member list that goes while it has the focus leaves it to the input line, whatever ended the
// membership. Either way typed text lands in the input line.
TEST_F(WorldViewsTest, TheFocusLeavesAnEmptyViewThatIsCoveredAndAListThatGoes)
{
    config.preference.Reconnect = false;
    Prepare();
    LogInOffline(L"net");
    // #beta has neither a log nor members yet: the empty views stand in for them.
    world->Select(net, beta);
    const struct {
        const char* view;
        std::function<CWnd*()> shown;
        std::function<void()> fill;
        std::function<HWND()> own;
    } empties[] = {
        {"log", [&] { return ShownLog(); }, [&] { net->PrintSystemText(beta, L"first line"); },
         [&] { return beta->logView ? beta->logView->m_hWnd : nullptr; }},
        {"member list", [&] { return ShownMemberList(); }, [&] { FeedLine(*net, ":kvself!u@h JOIN :#beta"); },
         [&] { return beta->memberView ? frame.members.GetCard((UINT)(UINT_PTR)beta)->m_hWnd : nullptr; }},
    };
    for (const auto& empty : empties) {
        SCOPED_TRACE(empty.view);
        ASSERT_EQ(empty.own(), nullptr);
        FocusForInput(empty.shown()->m_hWnd);
        empty.fill();
        ASSERT_NE(empty.own(), nullptr);
        EXPECT_EQ(::GetFocus(), empty.own());
        frame.chat.input.SetWindowText(L"");
        TypeText(L"y");
        EXPECT_EQ(InputText(), CString(L"y"));
    }

    TIRCChannel* chat = net->AddDccChatChannel(TIRCMember(L"peer", L"pu", L"peer.example"));
    ASSERT_NE(chat, nullptr);
    const struct {
        const char* road;
        TIRCChannel* channel;
        std::function<void()> end;
    } roads[] = {
        {"a PART answered", alpha,
         [&] {
             net->PartChannelDefault(alpha);
             FeedLine(*net, ":kvself!u@h PART #alpha");
         }},
        {"a KICK", alpha, [&] { FeedLine(*net, ":op!u@h KICK #alpha kvself :out"); }},
        {"a DCC chat closed by its peer", chat, [&] { chat->OnChatClosed(static_cast<TDCCChatServer*>(nullptr)); }},
        {"a drop", alpha, [&] { net->OnClose(&net->GetConnection()); }},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.road);
        world->Select(net, road.channel);
        if (road.channel == chat) {
            chat->OnChatAccepted(nullptr);
        } else {
            FeedLine(*net, ":kvself!u@h JOIN :#alpha");
            FeedLine(*net, ":irc.example 353 kvself = #alpha :kvself peer");
        }
        ASSERT_TRUE(road.channel->memberView);
        FocusForInput(ShownMemberList()->m_hWnd);
        ASSERT_EQ(ShownMemberList(), frame.members.GetCard((UINT)(UINT_PTR)road.channel));
        road.end();
        ASSERT_FALSE(road.channel->memberView);
        EXPECT_EQ(::GetFocus(), frame.chat.input.m_hWnd);
        frame.chat.input.SetWindowText(L"");
        TypeText(L"x");
        EXPECT_EQ(InputText(), CString(L"x"));
    }
}

// The command words a unit queued since the last call, the queue emptied.
std::vector<std::string> TakeCommands(TIRCUnit* unit)
{
    TIRCConnection& connection = unit->GetConnection();
    std::vector<std::string> words;
    if (connection.writing)
        words.push_back(connection.current.command.GetString());
    for (const auto* queue : {&connection.high, &connection.normal, &connection.low})
        for (const TIRCSendMessage& message : *queue)
            words.push_back(message.command.GetString());
    connection.ClearQueues();
    connection.writing = false;
    return words;
}

TEST_F(WorldViewsTest, DoubleClicksOnChannelsJoinAndPartAsTheyAreSetTo)
{
    config.preference.JoinOnDoubleClick = true;
    config.preference.PartOnDoubleClick = false;
    Prepare();
    net->GetConnection().transport.active = true;
    DoubleClickAt(ItemPoint(Item(net, alpha)));
    EXPECT_EQ(TakeCommands(net), std::vector<std::string>{"JOIN"});
    alpha->OnJoined();
    DoubleClickAt(ItemPoint(Item(net, alpha)));
    EXPECT_EQ(TakeCommands(net), std::vector<std::string>{});
    config.preference.PartOnDoubleClick = true;
    DoubleClickAt(ItemPoint(Item(net, alpha)));
    EXPECT_EQ(TakeCommands(net), std::vector<std::string>{"PART"});

    // A talk's name is a nick, open or ended: the double click takes its log to the end instead.
    config.preference.ViewBottomOnSelect = false;
    TChannelConfig record;
    record.Name = L"bob";
    TIRCChannel* talk = world->AddChannelNode(net, record, TIRCChannel::KindTalk);
    talk->OnJoined();
    record.Name = L"=bob";
    TIRCChannel* chat = world->AddChannelNode(net, record, TIRCChannel::KindDccChat);
    for (TIRCChannel* node : {talk, chat}) {
        SCOPED_TRACE(Narrow(node->GetName()));
        ClickItem(Item(net, node));
        for (int i = 0; i < 200; i++)
            net->PrintToChannel(node, L"bob", L"a line to scroll past", 0, 0, false);
        node->logView->ScrollToTop();
        DoubleClickAt(ItemPoint(Item(net, node)));
        EXPECT_EQ(TakeCommands(net), std::vector<std::string>{});
        EXPECT_TRUE(node->logView->IsAtEnd());
    }
    EXPECT_TRUE(talk->IsJoined());
    EXPECT_FALSE(chat->IsJoined());
    net->GetConnection().transport.active = false;
}

// A server still connecting has nobody to send QUIT to: the double click ends the attempt at once;
// a logged-in one gets QUIT and a few seconds to close.
TEST_F(WorldViewsTest, ADoubleClickStopsAServerStillConnectingAtOnce)
{
    config.preference.DisconnectOnDoubleClick = true;
    Prepare();
    net->GetConnection().transport.active = true;
    net->BeginConnecting(true);
    DoubleClickAt(ItemPoint(Item(net)));
    EXPECT_EQ(net->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_FALSE(net->GetConnection().IsActive());
    EXPECT_FALSE(net->GetSession().quitSent);

    LogInOffline(L"net");
    TakeCommands(net);
    DoubleClickAt(ItemPoint(Item(net)));
    EXPECT_EQ(TakeCommands(net), std::vector<std::string>{"QUIT"});
    EXPECT_TRUE(net->GetSession().quitSent);
    EXPECT_EQ(net->GetState(), TIRCUnit::StateLoggedIn) << "the server closes the link";
    net->GetConnection().transport.active = false;
}

TEST_F(WorldViewsTest, MovesAndSortingKeepTheSelectedNode)
{
    config.preference.SortTree = false;
    Prepare();
    TChannelConfig talk;
    talk.Name = L"friend";
    world->AddChannelNode(home, talk, TIRCChannel::KindTalk);
    world->Select(net, nullptr);
    world->MoveSelectedNode(true);
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"net", L"home"}));
    world->Select(home, nullptr);
    world->MoveSelectedNode(true);
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"home", L"net"}));
    // The moved neighbour keeps its channels and its items still find their nodes.
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#alpha", L"#beta"}));
    EXPECT_NE(Item(net, beta), nullptr);
    world->Select(net, beta);
    world->MoveSelectedNode(false);
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#alpha", L"#beta"}));

    config.preference.SortTree = true;
    TChannelConfig record;
    record.Name = L"#b";
    world->AddChannelNode(home, record, TIRCChannel::KindChannel);
    record.Name = L"#A";
    world->AddChannelNode(home, record, TIRCChannel::KindChannel);
    world->SortTree();
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"home", L"net"}));
    EXPECT_EQ(Children(Item(home)), (std::vector<CString>{L"#A", L"#b", L"#gamma", L"friend"}));
    EXPECT_EQ(Selected().second, beta);
    world->RenameUnit(net, L"alpha");
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"alpha", L"home"}));

    TWorldConfig stored;
    world->StoreServerTree(stored);
    ASSERT_EQ(stored.Units.size(), 2u);
    EXPECT_EQ(stored.Units[0].Name, L"alpha");
    ASSERT_EQ(stored.Units[1].Channels.size(), 3u) << "talks are not stored";
    EXPECT_EQ(stored.Units[1].Channels[0].Name, L"#A");
    // The copies carry the connected and joined states for the dialogs' pictures.
    LogInOffline(L"home");
    FeedLine(*home, ":kvself!u@h JOIN :#gamma");
    world->StoreServerTree(stored);
    ASSERT_EQ(stored.Units.size(), 2u);
    EXPECT_FALSE(stored.Units[0].ExtraFlag);
    EXPECT_TRUE(stored.Units[1].ExtraFlag) << "home is logged in";
    ASSERT_EQ(stored.Units[1].Channels.size(), 3u);
    EXPECT_FALSE(stored.Units[1].Channels[0].ExtraFlag);
    EXPECT_TRUE(stored.Units[1].Channels[2].ExtraFlag) << "#gamma is joined";
    home->GetConnection().transport.active = false;
}

TEST_F(WorldViewsTest, EditedServerSettingsRebuildTheChannelItemsInTheirNewOrder)
{
    Prepare();
    TChannelConfig talk;
    talk.Name = L"friend";
    TIRCChannel* friendTalk = world->AddChannelNode(net, talk, TIRCChannel::KindTalk);
    world->Select(net, beta);
    // Removing the items must not select, and so clear the marks of, nodes the user did not choose:
    // the selection would pass to the talk after #beta.
    friendTalk->newTalkMark = true;
    TUnitConfig edited = config.world.Units[0];
    edited.Name = L"home";
    edited.Channels = {edited.Channels[1], TChannelConfig()};
    edited.Channels[1].Name = L"#new";
    world->ApplyServerSettings(net, config.world.Units[0], edited);
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<CString>{L"home_", L"home"}));
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#beta", L"#new", L"friend"}));
    EXPECT_EQ(net->FindChannel(L"#alpha"), nullptr);
    // The noted node stays selected under the new name.
    EXPECT_EQ(Selected(), TNode(net, beta));
    EXPECT_TRUE(friendTalk->newTalkMark);

    // The selected channel removed leaves its server selected; the selection would pass through
    // #new and the talk on the way.
    TIRCChannel* added = net->FindChannel(L"#new");
    ASSERT_NE(added, nullptr);
    added->updateMark = true;
    TUnitConfig now;
    static_cast<TUnitSetting&>(now) = net->GetSettings();
    world->StoreUnitChannels(net, now);
    TUnitConfig withoutBeta = now;
    withoutBeta.Channels.erase(withoutBeta.Channels.begin());
    world->ApplyServerSettings(net, now, withoutBeta);
    Redraw(frame.tree);
    EXPECT_EQ(Children(Item(net)), (std::vector<CString>{L"#new", L"friend"}));
    EXPECT_EQ(Selected(), TNode(net, nullptr));
    EXPECT_TRUE(friendTalk->newTalkMark);
    EXPECT_TRUE(added->updateMark);
}

TEST_F(WorldViewsTest, PreferencesReachTheTreeTheListsAndTheAllChannelsLog)
{
    Prepare();
    for (int i = 0; i < 5; i++)
        net->PrintToChannel(alpha, L"peer", L"line", 0, 0, false);
    ASSERT_EQ(frame.allLog.GetLineCount(), 5);
    config.preference.ConsoleLogMaxLines = 3;
    config.view.settings.tree.backColor = RGB(10, 20, 30);
    config.view.settings.list.backColor = RGB(40, 50, 60);
    world->ApplyPreferences();
    EXPECT_EQ(frame.allLog.GetLineCount(), 3);
    EXPECT_EQ(frame.tree.GetBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(static_cast<TListView*>(frame.members.GetCard(1))->GetBkColor(), RGB(40, 50, 60));
}

TEST_F(WorldViewsTest, NodesDeletedSinceAPopupOrALogLineDoNothing)
{
    config.preference.ServerAllLog = false;
    Prepare();
    net->PrintSystemText(nullptr, L"server line");
    home->PrintToChannel(gamma, L"peer", L"gamma line", 0, 0, false);
    ASSERT_NE(gamma->logView, nullptr);
    CWnd* gammaLog = gamma->logView;
    // The right click opens the channel menu in a loop of the system's own; close it from there.
    EXPECT_TRUE(ReadOpenedPopup([&] { ClickAt(ItemPoint(Item(home, gamma)), true); }).shown);
    TIRCUnit* unit;
    TIRCChannel* channel;
    world->GetPopupNode(unit, channel);
    EXPECT_EQ(unit, home);
    EXPECT_EQ(channel, gamma);

    world->RemoveChannelNode(home, gamma);
    EXPECT_EQ(Children(Item(home)), std::vector<CString>{});
    EXPECT_FALSE(frame.chat.cards.ContainsWindow(gammaLog));
    world->GetPopupNode(unit, channel);
    EXPECT_EQ(unit, home);
    EXPECT_EQ(channel, nullptr);

    // The all-channels log still holds the line of the gone channel: a double click selects its server.
    world->Select(net, alpha);
    ASSERT_EQ(frame.allLog.GetLineCount(), 1);
    POINT lastLine = ScreenPointOf(frame.allLog.m_hWnd, 40, 6);
    DoubleClickAt(lastLine);
    EXPECT_EQ(Selected(), TNode(home, nullptr));

    world->DeleteUnit(home);
    world->GetPopupNode(unit, channel);
    EXPECT_EQ(unit, nullptr);
    world->Select(net, alpha);
    DoubleClickAt(lastLine);
    EXPECT_EQ(Selected(), TNode(net, alpha));
}

// A talk whose peer takes the nick of another talk replaces it. The selection moves only when the
// item that goes held it, and then to the renamed talk: selecting another node for the user would
// send their next line there and clear that node's marks.
TEST_F(WorldViewsTest, ATalkWhosePeerTakesTheNickOfAnotherTalkReplacesItsItem)
{
    Prepare();
    TIRCChannel *bob = nullptr, *carl = nullptr, *dan = nullptr;
    auto openTalk = [&](const wchar_t* nick) {
        TChannelConfig record;
        record.Name = nick;
        return world->AddChannelNode(home, record, TIRCChannel::KindTalk);
    };
    // The nodes a row names are read once its talks are open.
    auto node = [](TIRCChannel* const* channel) { return TNode((*channel)->GetUnit(), *channel); };
    // dan takes back the nick bob: bob's talk goes and dan's takes its name.
    auto merge = [&] { FeedLine(*home, ":dan!u@h NICK :bob"); };
    const struct {
        const char* name;
        TIRCChannel* const* before;
        std::function<void()> action;
        TIRCChannel* const* after;
        std::vector<CString> homeItemsAfter;
    } rows[] = {
        {"a channel selected stays", &gamma, merge, &gamma, {L"#gamma", L"carl", L"bob"}},
        {"the talk that goes selected gives way to the renamed one", &bob, merge, &dan, {L"#gamma", L"carl", L"bob"}},
        {"the selected channel deleted gives way to its neighbour",
         &alpha,
         [&] { world->RemoveChannelNode(net, alpha); },
         &beta,
         {L"#gamma", L"bob", L"carl", L"dan"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bob = openTalk(L"bob");
        carl = openTalk(L"carl");
        dan = openTalk(L"dan");
        home->PrintSystemText(bob, L"a line of the talk that goes");
        CWnd* bobLog = bob->logView;
        world->Select(node(row.before).first, node(row.before).second);
        // Unread, between the talk that goes and the renamed one.
        carl->newTalkMark = true;
        row.action();
        // A gone talk's item would still carry it; drawing the tree would read freed memory.
        Redraw(frame.tree);
        EXPECT_EQ(Children(Item(home)), row.homeItemsAfter);
        EXPECT_EQ(Selected(), node(row.after));
        EXPECT_TRUE(carl->newTalkMark) << "a talk the user did not choose keeps its mark";
        EXPECT_EQ(home->HasChannel(bob), frame.chat.cards.ContainsWindow(bobLog)) << "a log goes with its talk";
        for (TIRCChannel* talk : std::vector<TIRCChannel*>(home->GetChannels()))
            if (talk->GetKind() == TIRCChannel::KindTalk)
                world->RemoveChannelNode(home, talk);
    }
}

TEST_F(WorldViewsTest, ControlsThatOutliveTheWorldNoLongerReportToIt)
{
    Prepare();
    world->Shutdown();
    world.reset();
    EXPECT_EQ(frame.tree.GetRootItem(), nullptr);
    FocusForInput(frame.tree.m_hWnd);
    PressKey('H');
    FocusForInput(frame.chat.input.m_hWnd);
    PressKey(VK_RETURN);
    DoubleClickAt(ScreenPointOf(frame.allLog.m_hWnd, 40, 6));
    // Nothing was forwarded: the letter stayed with the tree.
    EXPECT_EQ(InputText(), CString());
}

TEST_F(WorldViewsTest, TheBalloonIsClearedWhenItsCountdownEnds)
{
    Prepare();
    world->SetBalloonCountdown(2);
    SYSTEMTIME now;
    GetLocalTime(&now);
    world->TickOn(now.wDay);
    EXPECT_TRUE(frame.balloons.empty());
    world->TickOn(now.wDay);
    EXPECT_EQ(frame.balloons, std::vector<CString>{L"|"});
    world->TickOn(now.wDay);
    EXPECT_EQ(frame.balloons.size(), 1u);
}

} // namespace
