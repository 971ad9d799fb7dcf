// The transfer window as a user meets it: opened from the main menu, its lists filled from the
// DCC manager, its context menus and keys driving the items, a real transfer over loopback,
// closing and reopening, and offers from a server calling attention only while it is not in front.
// Screenshots are kept for a person to look at.

#include "tests/mainframe/DCCWindowFixture.h"
#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/UpdateDialog.h"
#include "foundation/Path.h"
#include "tests/common/ControlText.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/PointerInput.h"
#include "tests/common/ShownWindow.h"
#include "tests/irc/IrcTestSupport.h"

#include <string>

namespace {

class DCCWindow : public DCCWindowFixture {
protected:
    // Answers the next "確認" box from inside its own loop.
    static void AnswerQuestion(int answer)
    {
        WhenShown(HasCaption(L"確認"), [answer](HWND box) { ::PostMessageW(box, WM_COMMAND, answer, 0); });
    }
    // A file offered by a send item of the manager and taken by a receive item, both started from
    // the window's context menus; returns the receive item once both ends are complete.
    TDCCReceiveItem* TransferThroughLoopback(const wchar_t* name, int size, bool watchCaption = false)
    {
        CString source = MakeFile(name, size);
        SetLoggedIn(true);
        TDCCSendItem* send = AddSend(L"kvpeer", source, 0, net);
        int sendRow = RowOf(SendList(), send);
        EXPECT_GE(sendRow, 0);
        SelectRows(SendList(), {sendRow});
        EXPECT_TRUE(ChooseOnRow(SendList(), sendRow, 'S')) << "送信: 開始(&S)";
        EXPECT_TRUE(PumpMessagesUntil([&] { return send->GetState() == 5; }, kWaitBoundMs)) << send->GetState();
        EXPECT_EQ(CString(TDCCSendItem::GetStateText(5)), ListViewCellText(SendList(), RowOf(SendList(), send), 2));

        Manager().AddReceiveItem(nullptr, 0, false, L"kvpeer", name, send->GetPort(), size,
                                 TInetAddress(htonl(INADDR_LOOPBACK)));
        TDCCReceiveItem* receive = Manager().GetReceiveItems().back();
        EXPECT_EQ(0, RowOf(ReceiveList(), receive)) << "a new offer comes in at the top";
        EXPECT_EQ(CString(TDCCReceiveItem::GetStateText(0)), ListViewCellText(ReceiveList(), 0, 2));
        SelectRows(ReceiveList(), {0});
        EXPECT_TRUE(ChooseOnRow(ReceiveList(), 0, 'S')) << "受信: 開始(&S)";
        if (watchCaption) {
            PumpMessagesUntil([&] { return GetControlText(Window()->m_hWnd) == L"DCC [受1/送1]"; }, 5000);
            EXPECT_EQ(CString(L"DCC [受1/送1]"), GetControlText(Window()->m_hWnd));
        }
        EXPECT_TRUE(PumpMessagesUntil([&] { return receive->GetState() == 7 && send->GetState() == 7; }, 20000))
            << receive->GetState() << " " << send->GetState() << " " << Narrow(receive->GetErrorMessage());
        EXPECT_EQ(ReadFileBytes(source), ReadFileBytes(receive->GetFullPath()));
        return receive;
    }
};

TEST_F(DCCWindow, ListsShowEveryStateWithTheirColumnsImagesAndTexts)
{
    const int receiveStates[] = {0, 3, 1, 2, 4, 5, 6, 7};
    const wchar_t* nicks[] = {L"alice", L"bob", L"carol", L"dave", L"erin", L"frank", L"gina", L"hank"};
    std::vector<TDCCReceiveItem*> receives;
    for (int i = 0; i < 8; i++)
        receives.push_back(AddReceive(nicks[i], L"photo.jpg", 1234567, receiveStates[i]));
    CString path = MakeFile(L"notes.txt", 2000);
    const int sendStates[] = {0, 3, 2, 4, 7};
    std::vector<TDCCSendItem*> sends;
    for (int state : sendStates)
        sends.push_back(AddSend(L"ivan", path, state));

    OpenFromMenu();
    ASSERT_TRUE(Window());
    EXPECT_TRUE(::IsWindowVisible(Window()->m_hWnd));
    EXPECT_EQ((std::vector<CString>{L"送信元", L"ファイル名", L"タスク", L"カウント", L"状況", L"残り時間", L"速度",
                                    L"アドレス", L"パス"}),
              ColumnHeadings(ReceiveList()));
    std::vector<CString> sendHeadings = ColumnHeadings(SendList());
    ASSERT_GE(sendHeadings.size(), 8u);
    EXPECT_EQ(CString(L"送信先"), sendHeadings[0]);
    EXPECT_EQ(CString(L"アドレス"), sendHeadings[7]);

    // Everything there before the window opened comes in the manager's order.
    ASSERT_EQ(8, RowCount(ReceiveList()));
    const int receiveImages[] = {0, 1, 3, 2, 4, 6, 4, 7};
    for (int row = 0; row < 8; row++) {
        EXPECT_EQ(row, RowOf(ReceiveList(), receives[row]));
        EXPECT_EQ(CString(nicks[row]), ListViewCellText(ReceiveList(), row, 0));
        EXPECT_EQ(CString(L"photo.jpg"), ListViewCellText(ReceiveList(), row, 1));
        CString task = receiveStates[row] == 1 ? receives[row]->GetErrorMessage()
                                               : TDCCReceiveItem::GetStateText(receiveStates[row]);
        EXPECT_EQ(task, ListViewCellText(ReceiveList(), row, 2)) << row;
        EXPECT_EQ(CString(L"0 / 1,234,567"), ListViewCellText(ReceiveList(), row, 3));
        EXPECT_EQ(CString(L"0%"), ListViewCellText(ReceiveList(), row, 4));
        // Nothing has moved yet, so no time or speed can be told even while transferring.
        EXPECT_EQ(CString(), ListViewCellText(ReceiveList(), row, 5));
        EXPECT_EQ(CString(), ListViewCellText(ReceiveList(), row, 6));
        EXPECT_EQ(CString(L"192.0.2.1:1096"), ListViewCellText(ReceiveList(), row, 7));
        EXPECT_EQ(downloads.path, ListViewCellText(ReceiveList(), row, 8));
        EXPECT_EQ(receiveImages[row], Image(ReceiveList(), row)) << row;
    }
    ASSERT_EQ(5, RowCount(SendList()));
    const int sendImages[] = {0, 1, 2, 6, 7};
    for (int row = 0; row < 5; row++) {
        EXPECT_EQ(CString(L"ivan"), ListViewCellText(SendList(), row, 0));
        EXPECT_EQ(CString(L"notes.txt"), ListViewCellText(SendList(), row, 1));
        EXPECT_EQ(CString(TDCCSendItem::GetStateText(sendStates[row])), ListViewCellText(SendList(), row, 2)) << row;
        EXPECT_EQ(sendImages[row], Image(SendList(), row)) << row;
    }
    // No address was offered before listening.
    for (int row : {0, 1, 2, 3})
        EXPECT_EQ(CString(), ListViewCellText(SendList(), row, 7)) << row;
    // The first receive row is selected and its list has the focus.
    EXPECT_EQ(0, (int)::SendMessageW(ReceiveList(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
    EXPECT_EQ(ReceiveList(), ::GetFocus());
    // The manager's next tick counts the one receive transferring into the title.
    PumpMessagesUntil([&] { return GetControlText(Window()->m_hWnd) != L"DCC"; }, 5000);
    EXPECT_EQ(CString(L"DCC [受1/送0]"), GetControlText(Window()->m_hWnd));
    SaveWindowPng(Window()->m_hWnd, ScreenshotPath(L"dcc-window-states.png"));
}

TEST_F(DCCWindow, NewItemsComeInAtTheTopAndRemovedOnesLeave)
{
    TDCCReceiveItem* first = AddReceive(L"alice", L"a.bin", 10, 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    TDCCReceiveItem* second = AddReceive(L"bob", L"b.bin", 10, 0);
    TDCCReceiveItem* third = AddReceive(L"carol", L"c.bin", 10, 0);
    // One at a time: newest first.
    EXPECT_EQ(0, RowOf(ReceiveList(), third));
    EXPECT_EQ(1, RowOf(ReceiveList(), second));
    EXPECT_EQ(2, RowOf(ReceiveList(), first));
    // Two found by one refresh: in the manager's order, above the rows already there.
    Manager().SetListener(nullptr);
    TDCCReceiveItem* fourth = AddReceive(L"dave", L"d.bin", 10, 0);
    TDCCReceiveItem* fifth = AddReceive(L"erin", L"e.bin", 10, 0);
    Manager().SetListener(Window());
    Window()->OnDCCItemChanged();
    EXPECT_EQ(0, RowOf(ReceiveList(), fourth));
    EXPECT_EQ(1, RowOf(ReceiveList(), fifth));
    EXPECT_EQ(2, RowOf(ReceiveList(), third));
    Manager().RemoveReceiveItem(second);
    EXPECT_EQ(4, RowCount(ReceiveList()));
    EXPECT_EQ(-1, RowOf(ReceiveList(), second));
}

TEST_F(DCCWindow, StopAndDeleteActOnlyOnTheSelectedItemsInTheirStates)
{
    TDCCReceiveItem* running = AddReceive(L"alice", L"a.bin", 100, 6);
    TDCCReceiveItem* done = AddReceive(L"bob", L"b.bin", 100, 7);
    TDCCReceiveItem* waiting = AddReceive(L"carol", L"c.bin", 100, 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    SelectRows(ReceiveList(), {RowOf(ReceiveList(), running), RowOf(ReceiveList(), done)});
    TShownMenu menu =
        ContextMenuOn(ReceiveList(), RowOf(ReceiveList(), done), ScreenshotPath(L"dcc-window-receive-menu.png"));
    ASSERT_TRUE(menu.shown);
    EXPECT_FALSE(menu.Grayed(ID_DCC_RECEIVE_STOP));
    EXPECT_FALSE(menu.Grayed(ID_DCC_RECEIVE_DELETE));
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_START));
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_QUEUE));
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_RUN)) << "two complete-or-not rows: nothing single to run";
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_FOLDER));
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_OPEN_FOLDER));
    // The tool bar follows the same rules once the main window's idle pass reaches the window.
    frame->SendMessageW(WM_IDLEUPDATECMDUI, TRUE, 0);
    HWND toolBar = Window()->GetReceiveToolBar();
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DCC_RECEIVE_STOP, 0));
    EXPECT_TRUE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DCC_RECEIVE_DELETE, 0));
    EXPECT_FALSE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DCC_RECEIVE_START, 0));
    EXPECT_FALSE(::SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_DCC_RECEIVE_RUN, 0));

    ASSERT_TRUE(ChooseOnRow(ReceiveList(), RowOf(ReceiveList(), done), 'D'));
    EXPECT_EQ(-1, Manager().FindReceiveItem(done)) << "the complete item is removed";
    ASSERT_GE(Manager().FindReceiveItem(running), 0) << "the running one stays";
    EXPECT_EQ(6, running->GetState());
    EXPECT_EQ(2, RowCount(ReceiveList()));

    SelectRows(ReceiveList(), {RowOf(ReceiveList(), running), RowOf(ReceiveList(), waiting)});
    ASSERT_TRUE(ChooseOnRow(ReceiveList(), RowOf(ReceiveList(), running), 'C'));
    EXPECT_EQ(2, running->GetState());
    EXPECT_EQ(0, waiting->GetState()) << "stop leaves a waiting item alone";
    EXPECT_EQ(CString(TDCCReceiveItem::GetStateText(2)),
              ListViewCellText(ReceiveList(), RowOf(ReceiveList(), running), 2));

    // Queueing a waiting item only changes its state text; nothing starts it without a free pass.
    SelectRows(ReceiveList(), {RowOf(ReceiveList(), waiting)});
    menu = ContextMenuOn(ReceiveList(), RowOf(ReceiveList(), waiting));
    EXPECT_FALSE(menu.Grayed(ID_DCC_RECEIVE_QUEUE));
    EXPECT_FALSE(menu.Grayed(ID_DCC_RECEIVE_FOLDER)) << "one waiting row can change its folder";
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_STOP));
    EXPECT_TRUE(menu.Grayed(ID_DCC_RECEIVE_RUN)) << "an incomplete item cannot run";
}

TEST_F(DCCWindow, QueueingFromTheMenuWaitsForTheNextTickEvenWhenNothingElseRuns)
{
    settings.preference.MaxDCCReceiveConnection = 1;
    settings.preference.MaxDCCSendConnection = 1;
    // The offering peer: a listening socket whose backlog shows when the receive connects.
    SOCKET offerer = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    ASSERT_EQ(0, bind(offerer, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
    listen(offerer, 1);
    getsockname(offerer, reinterpret_cast<sockaddr*>(&address), &length);
    auto contacted = [&] {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(offerer, &readable);
        timeval now = {0, 0};
        return select(0, &readable, nullptr, nullptr, &now) == 1;
    };
    Manager().AddReceiveItem(nullptr, 0, false, L"alice", L"q.bin", ntohs(address.sin_port), 1000,
                             TInetAddress(htonl(INADDR_LOOPBACK)));
    TDCCReceiveItem* receive = Manager().GetReceiveItems().back();
    TDCCSendItem* send = AddSend(L"bob", MakeFile(L"q.bin", 1000), 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    // Nothing runs, so the manager's tick stops.
    ASSERT_TRUE(PumpMessagesUntil([&] { return !Manager().IsTimerRunning(); }, kWaitBoundMs));

    SelectRows(ReceiveList(), {RowOf(ReceiveList(), receive)});
    ASSERT_TRUE(ChooseOnRow(ReceiveList(), RowOf(ReceiveList(), receive), 'Q')) << "受信: 受信予約(&Q)";
    EXPECT_EQ(3, receive->GetState());
    EXPECT_EQ(CString(L"受信予約"), ListViewCellText(ReceiveList(), RowOf(ReceiveList(), receive), 2));
    EXPECT_FALSE(contacted()) << "the peer is contacted at the click";
    EXPECT_TRUE(Manager().IsTimerRunning());
    SaveWindowPng(Window()->m_hWnd, ScreenshotPath(L"dcc-window-queued.png"));
    // The next tick starts it: the receive connects to the peer.
    EXPECT_TRUE(PumpMessagesUntil([&] { return receive->GetState() != 3; }, kWaitBoundMs));
    EXPECT_TRUE(IsDCCStateActive(receive->GetState())) << receive->GetState();
    EXPECT_TRUE(PumpMessagesUntil(contacted, kWaitBoundMs)) << "the started receive never reached the peer";

    // The peer goes away unanswered, so nothing runs and the tick stops again.
    closesocket(offerer);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !Manager().IsTimerRunning(); }, 5000)) << receive->GetState();
    SelectRows(SendList(), {RowOf(SendList(), send)});
    ASSERT_TRUE(ChooseOnRow(SendList(), RowOf(SendList(), send), 'Q')) << "送信: 送信予約(&Q)";
    EXPECT_EQ(3, send->GetState());
    EXPECT_EQ(CString(L"送信予約"), ListViewCellText(SendList(), RowOf(SendList(), send), 2));
    EXPECT_TRUE(Manager().IsTimerRunning());
    // The next tick starts it listening.
    EXPECT_TRUE(PumpMessagesUntil([&] { return send->GetState() != 3; }, kWaitBoundMs));
    EXPECT_EQ(5, send->GetState());
    EXPECT_EQ(CString(TDCCSendItem::GetStateText(5)), ListViewCellText(SendList(), RowOf(SendList(), send), 2));
}

TEST_F(DCCWindow, ClearingAPaneTakesFinishedAbortedAndFailedItemsWithoutASelection)
{
    std::vector<TDCCReceiveItem*> items;
    for (int state : {0, 1, 2, 3, 6, 7})
        items.push_back(AddReceive(L"alice", L"a.bin", 100, state));
    CString path = MakeFile(L"s.bin", 100);
    TDCCSendItem* sendDone = AddSend(L"bob", path, 7);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    ListView_SetItemState(ReceiveList(), -1, 0, LVIS_SELECTED);
    ChooseMenuItem(Window()->m_hWnd, 'M', 'R');
    std::vector<int> left;
    for (TDCCReceiveItem* item : Manager().GetReceiveItems())
        left.push_back(item->GetState());
    EXPECT_EQ((std::vector<int>{0, 3, 6}), left);
    EXPECT_EQ(3, RowCount(ReceiveList()));
    EXPECT_EQ(0, Manager().FindSendItem(sendDone)) << "the receive pane's command leaves sends alone";
    // The send pane's clear button, clicked.
    HWND toolBar = Window()->GetSendToolBar();
    RECT button = {};
    int index = (int)::SendMessageW(toolBar, TB_COMMANDTOINDEX, ID_DCC_CLEAR_SENDS, 0);
    ASSERT_TRUE(::SendMessageW(toolBar, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&button));
    frame->SendMessageW(WM_IDLEUPDATECMDUI, TRUE, 0);
    ClickAt(ScreenPointOf(toolBar, (button.left + button.right) / 2, (button.top + button.bottom) / 2));
    EXPECT_EQ(-1, Manager().FindSendItem(sendDone));
    EXPECT_EQ(0, RowCount(SendList()));
}

// A relative receive folder is the program folder's, wherever the last file chooser left the
// current folder.
TEST_F(DCCWindow, TheMainMenuOpensTheReceiveFolder)
{
    OpenFromMenu();
    ASSERT_TRUE(Window());
    RecordShellCalls();
    TTempFolder current;
    TCurrentFolderMoved moved(current.path);
    const struct {
        CString setting, opened;
    } rows[] = {{downloads.path, downloads.path}, {L"recv", GetProgramFolder() + L"recv\\"}};
    for (const auto& row : rows) {
        settings.preference.DCCRootDir = row.setting;
        shellCalls.clear();
        ChooseMenuItem(Window()->m_hWnd, 'M', 'F');
        ASSERT_TRUE(WaitUntil([&] { return !shellCalls.empty(); }, "the folder opened"));
        EXPECT_EQ(shellCalls, (std::vector<std::pair<CString, CString>>{{L"explore", row.opened}}));
    }
}

TEST_F(DCCWindow, EscapeMenuAndCloseBoxHideTheWindowWhichComesBackRefilledWithItsWidths)
{
    AddReceive(L"alice", L"a.bin", 100, 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    HWND window = Window()->m_hWnd;
    // Widen the file-name column by dragging its header divider.
    HWND header = ListView_GetHeader(ReceiveList());
    RECT column = {};
    Header_GetItemRect(header, 1, &column);
    int before = ListView_GetColumnWidth(ReceiveList(), 1);
    DragMouse(ScreenPointOf(header, column.right - 1, 8), ScreenPointOf(header, column.right + 60, 8));
    int widened = ListView_GetColumnWidth(ReceiveList(), 1);
    EXPECT_GT(widened, before + 30);

    FocusForInput(ReceiveList());
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_FALSE(frame->IsDCCDialogShown());
    EXPECT_EQ(nullptr, Manager().GetListener()) << "the manager stops reporting to the hidden window";
    ASSERT_EQ(9u, settings.geometry.dccReceiveHeader.size());
    EXPECT_EQ(widened, settings.geometry.dccReceiveHeader[1]);
    ASSERT_TRUE(settings.SaveWindowSettings());
    CStringA ini = ReadFileBytes(settings.GetSettingsFolder() + L"window.ini");
    EXPECT_NE(-1, ini.Find(("ReceiveHeader.1=" + std::to_string(widened)).c_str())) << ini.GetString();

    // An offer while hidden is there when the menu brings the same window back.
    TDCCReceiveItem* later = AddReceive(L"bob", L"b.bin", 100, 0);
    OpenFromMenu();
    EXPECT_EQ(window, Window()->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(2, RowCount(ReceiveList()));
    EXPECT_GE(RowOf(ReceiveList(), later), 0);
    EXPECT_EQ(widened, ListView_GetColumnWidth(ReceiveList(), 1));

    // The window's own close command, then Alt+F4.
    ChooseMenuItem(Window()->m_hWnd, 'M', 'C');
    EXPECT_FALSE(::IsWindowVisible(window));
    OpenFromMenu();
    EXPECT_TRUE(::IsWindowVisible(window));
    FocusForInput(ReceiveList());
    PressKey(VK_F4, {VK_MENU});
    WaitUntil([&] { return !::IsWindowVisible(window); }, "Alt+F4 hides the window");
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(::IsWindow(window)) << "closing only hides";
}

TEST_F(DCCWindow, TabMovesBetweenTheListsAndEnterDoesNothing)
{
    AddReceive(L"alice", L"a.bin", 100, 0);
    AddSend(L"bob", MakeFile(L"s.bin", 100), 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    FocusForInput(ReceiveList());
    PressKey(VK_TAB);
    EXPECT_EQ(SendList(), ::GetFocus());
    PressKey(VK_TAB);
    EXPECT_EQ(ReceiveList(), ::GetFocus());
    PressKey(VK_RETURN);
    EXPECT_EQ(0, Manager().GetReceiveItems()[0]->GetState());
    EXPECT_TRUE(::IsWindowVisible(Window()->m_hWnd));
}

TEST_F(DCCWindow, EveryToolBarButtonTellsWhatItDoesUnderThePointer)
{
    OpenFromMenu();
    ASSERT_TRUE(Window());
    struct TButtonTip {
        bool receive;
        int index;
        const wchar_t* tip;
    };
    const TButtonTip rows[] = {
        {true, 0, L"受信開始"},
        {true, 1, L"レジューム開始"},
        {true, 2, L"受信中止"},
        {true, 4, L"削除"},
        {true, 6, L"実行する"},
        {true, 8, L"中断・完了アイテムをクリア"},
        {true, 10, L"受信場所を開く"},
        {false, 0, L"送信開始"},
        {false, 1, L"送信中止"},
        {false, 3, L"削除"},
        {false, 5, L"中断・完了アイテムをクリア"},
    };
    FocusForInput(Window()->m_hWnd);
    for (const TButtonTip& row : rows) {
        HWND toolBar = row.receive ? Window()->GetReceiveToolBar() : Window()->GetSendToolBar();
        HWND tips = (HWND)::SendMessageW(toolBar, TB_GETTOOLTIPS, 0, 0);
        ASSERT_TRUE(tips);
        RECT rect = {};
        ASSERT_TRUE(::SendMessageW(toolBar, TB_GETITEMRECT, (WPARAM)row.index, (LPARAM)&rect));
        MoveMouseTo(ScreenPointOf(toolBar, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        EXPECT_TRUE(
            PumpMessagesUntil([&] { return ::IsWindowVisible(tips) && GetControlText(tips) == row.tip; }, 10000))
            << Narrow(row.tip) << " shows " << Narrow(GetControlText(tips));
        if (row.index == 0 && row.receive)
            SaveWindowPng(Window()->m_hWnd, ScreenshotPath(L"dcc-window-tool-tip.png"));
    }
}

TEST_F(DCCWindow, AnOfferBlinksTheShownWindowUntilTheUserActivatesIt)
{
    AddReceive(L"alice", L"a.bin", 100, 0);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    FocusForInput(frame->m_hWnd);
    world->BlinkDCCDialog();
    EXPECT_TRUE(Window()->GetFlasher().IsBlinking());
    FocusForInput(ReceiveList());
    WaitUntil([&] { return !Window()->GetFlasher().IsBlinking(); }, "the blinking stopped");
    EXPECT_FALSE(Window()->GetFlasher().IsBlinking()) << "activation stops the blinking";
    PressKey(VK_ESCAPE);
    ASSERT_FALSE(::IsWindowVisible(Window()->m_hWnd));
    world->BlinkDCCDialog();
    EXPECT_FALSE(Window()->GetFlasher().IsBlinking()) << "a hidden window does not blink";
}

TEST_F(DCCWindow, DoubleClickStartsAWaitingSendAndLeavesARunningOneAlone)
{
    CString path = MakeFile(L"s.bin", 1000);
    SetLoggedIn(true);
    TDCCSendItem* running = AddSend(L"alice", path, 6, net);
    TDCCSendItem* waiting = AddSend(L"bob", path, 0, net);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    RecordShellCalls();
    SelectRows(SendList(), {RowOf(SendList(), running)});
    DoubleClickAt(RowPoint(SendList(), RowOf(SendList(), running)));
    EXPECT_EQ(6, running->GetState());
    EXPECT_TRUE(shellCalls.empty());
    SelectRows(SendList(), {RowOf(SendList(), waiting)});
    DoubleClickAt(RowPoint(SendList(), RowOf(SendList(), waiting)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return waiting->GetState() == 5; }, kWaitBoundMs)) << waiting->GetState();
    EXPECT_EQ(CString(TDCCSendItem::GetStateText(5)), ListViewCellText(SendList(), RowOf(SendList(), waiting), 2));
    EXPECT_FALSE(ListViewCellText(SendList(), RowOf(SendList(), waiting), 7).IsEmpty()) << "listening shows its port";
}

// An offer through a server that is gone or not logged in would be dropped and the send would wait
// for ever: such a start is refused and told, by the menu and by a double-click alike. Logged in,
// the start offers the file through the server, whatever else was started with it.
TEST_F(DCCWindow, ASendStartsOnlyThroughALoggedInServer)
{
    CString path = MakeFile(L"s.bin", 1000);
    CString besidePath = MakeFile(L"t.bin", 1000);
    OpenFromMenu();
    ASSERT_TRUE(Window());
    // Lines wait in the queue of an open connection instead of going anywhere.
    net->GetConnection().transport.active = true;
    const struct {
        const char* name;
        bool loggedIn, gone, doubleClick;
        bool beside; // started together with a send through a server removed since
    } rows[] = {
        {"not logged in, from the menu", false, false, false, false},
        {"not logged in, by a double-click", false, false, true, false},
        {"the server removed", true, true, false, false},
        {"logged in", true, false, false, false},
        {"logged in, beside one through a removed server", true, false, false, true},
    };
    const CString told = L"サーバにログインしていないため、次の送信を開始できませんでした。\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool refused = !row.loggedIn || row.gone;
        SetLoggedIn(row.loggedIn);
        net->GetConnection().ResetFloodControl();
        TDCCSendItem* send = AddSend(L"bob", path, 0, net);
        if (row.gone)
            Manager().ForgetUnit(net);
        TDCCSendItem* beside = row.beside ? AddSend(L"carol", besidePath, 0) : nullptr;
        int sendRow = RowOf(SendList(), send);
        if (beside)
            SelectRows(SendList(), {RowOf(SendList(), beside), sendRow});
        else
            SelectRows(SendList(), {sendRow});
        CString warning;
        if (refused || beside)
            WhenDialogShown([&](HWND box) {
                warning = MessageBoxText(box);
                SaveWindowPng(box, ScreenshotPath(L"dcc-window-send-offline.png"));
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            });
        if (row.doubleClick)
            DoubleClickAt(RowPoint(SendList(), sendRow));
        else
            EXPECT_TRUE(ChooseOnRow(SendList(), sendRow, 'S')) << "送信: 開始(&S)";
        if (refused || beside) {
            EXPECT_TRUE(WaitUntil([&] { return !warning.IsEmpty(); }, "the refusal told"));
            StopWatching();
            TDCCSendItem* left = refused ? send : beside;
            EXPECT_EQ(warning, told + (refused ? L"s.bin \u2192 bob" : L"t.bin \u2192 carol"));
            EXPECT_EQ(0, left->GetState());
            EXPECT_EQ(CString(TDCCSendItem::GetStateText(0)), ListViewCellText(SendList(), RowOf(SendList(), left), 2));
        }
        if (!refused) {
            EXPECT_TRUE(PumpMessagesUntil([&] { return send->GetState() == 5; }, kWaitBoundMs)) << send->GetState();
            EXPECT_EQ(CString(TDCCSendItem::GetStateText(5)), ListViewCellText(SendList(), RowOf(SendList(), send), 2));
            int offers = 0;
            for (const std::string& line : QueuedLines(net->GetConnection()))
                offers += line.rfind("PRIVMSG bob :\1DCC SEND s.bin ", 0) == 0;
            EXPECT_EQ(1, offers) << "the offer went to the server";
            send->Stop();
        }
    }
    net->GetConnection().ResetFloodControl();
    net->GetConnection().transport.active = false;
    SetLoggedIn(false);
}

TEST_F(DCCWindow, AFileGoesThroughLoopbackStartedFromTheWindowAndRunsAfterAQuestion)
{
    // Slow enough to see both transfers counted in the caption.
    settings.preference.EnableMaxOutgoingBandwidth = true;
    settings.preference.MaxOutgoingBandwidth = 100;
    OpenFromMenu();
    ASSERT_TRUE(Window());
    RecordShellCalls();
    TDCCReceiveItem* receive = TransferThroughLoopback(L"setup.EXE", 250000, true);
    ASSERT_TRUE(receive);
    int row = RowOf(ReceiveList(), receive);
    ASSERT_GE(row, 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ListViewCellText(ReceiveList(), row, 4) == L"100%"; }, kWaitBoundMs));
    EXPECT_EQ(CString(L"250,000 / 250,000"), ListViewCellText(ReceiveList(), row, 3));
    EXPECT_EQ(CString(TDCCReceiveItem::GetStateText(7)), ListViewCellText(ReceiveList(), row, 2));
    EXPECT_EQ(7, Image(ReceiveList(), row));
    PumpMessagesUntil([&] { return GetControlText(Window()->m_hWnd) == L"DCC"; }, kWaitBoundMs);
    EXPECT_EQ(CString(L"DCC"), GetControlText(Window()->m_hWnd)) << "the caption goes back once nothing transfers";
    SaveWindowPng(Window()->m_hWnd, ScreenshotPath(L"dcc-window-complete.png"));

    // Running it asks first: an upper-case ".EXE" counts. Cancel runs nothing.
    SelectRows(ReceiveList(), {row});
    int asked = ShownWindowCount();
    AnswerQuestion(IDCANCEL);
    ASSERT_TRUE(ChooseOnRow(ReceiveList(), row, 'E'));
    EXPECT_TRUE(WaitUntil([&] { return ShownWindowCount() == asked + 1; }, "the question shown"));
    EXPECT_TRUE(shellCalls.empty());
    // A double-click asks the same; OK opens the file.
    AnswerQuestion(IDOK);
    DoubleClickAt(RowPoint(ReceiveList(), row));
    EXPECT_TRUE(WaitUntil([&] { return ShownWindowCount() == asked + 2 && !shellCalls.empty(); }, "the file opened"));
    ASSERT_EQ(1u, shellCalls.size());
    EXPECT_EQ(CString(L"open"), shellCalls[0].first);
    EXPECT_EQ(receive->GetFullPath(), shellCalls[0].second);

    // A plain text file opens without a question.
    settings.preference.EnableMaxOutgoingBandwidth = false;
    TDCCReceiveItem* text = TransferThroughLoopback(L"notes.txt", 5000);
    ASSERT_TRUE(text);
    shellCalls.clear();
    int textRow = RowOf(ReceiveList(), text);
    SelectRows(ReceiveList(), {textRow});
    EXPECT_FALSE(ContextMenuOn(ReceiveList(), textRow).Grayed(ID_DCC_RECEIVE_RUN)) << "one complete item can run";
    ASSERT_TRUE(ChooseOnRow(ReceiveList(), textRow, 'E'));
    ASSERT_EQ(1u, shellCalls.size());
    EXPECT_EQ(text->GetFullPath(), shellCalls[0].second);

    // The interpreter's own scripts and the old executables ask as .bat and .exe do.
    for (const wchar_t* name : {L"readme.cmd", L"SETUP.COM"}) {
        SCOPED_TRACE(Narrow(name));
        TDCCReceiveItem* risky = AddReceive(L"kvpeer", name, 100, DCC_STATE_COMPLETE);
        shellCalls.clear();
        int riskyRow = RowOf(ReceiveList(), risky);
        ASSERT_GE(riskyRow, 0);
        SelectRows(ReceiveList(), {riskyRow});
        int shown = ShownWindowCount();
        AnswerQuestion(IDCANCEL);
        ASSERT_TRUE(ChooseOnRow(ReceiveList(), riskyRow, 'E'));
        EXPECT_TRUE(WaitUntil([&] { return ShownWindowCount() == shown + 1; }, "the question shown"));
        EXPECT_TRUE(shellCalls.empty());
    }
}

// Offers from a server to the logged-in main window, as a peer sends them.
class DCCWindowOffer : public ServedFrameFixture {
protected:
    // Sends a file offer and waits until the DCC side has taken it.
    void Offer(const char* file)
    {
        size_t before = world->GetDCCManager().GetReceiveItems().size();
        peer->Send(std::string(":alice!al@alice.example PRIVMSG kvme :\1DCC SEND ") + file +
                   " 3232235777 5000 100\1\r\n");
        ASSERT_TRUE(
            PumpMessagesUntil([&] { return world->GetDCCManager().GetReceiveItems().size() == before + 1; }, 5000));
    }
};

TEST_F(DCCWindowOffer, AnOfferBlinksTheTransferWindowOnlyWhenItIsNotInFront)
{
    // The window comes up behind the main window, which keeps the input: the title calls.
    Offer("first.bin");
    TDCCDialog* window = frame->GetDCCDialog();
    ASSERT_TRUE(window && ::IsWindowVisible(window->m_hWnd));
    EXPECT_NE(window->m_hWnd, ::GetForegroundWindow());
    EXPECT_TRUE(window->GetFlasher().IsBlinking());

    // The user is looking at it: the next offer only adds its row.
    FocusForInput(window->GetReceiveList()->m_hWnd);
    WaitUntil([&] { return !window->GetFlasher().IsBlinking(); }, "the blinking stopped");
    ASSERT_EQ(window->m_hWnd, ::GetForegroundWindow());
    Offer("second.bin");
    EXPECT_EQ(window->m_hWnd, ::GetForegroundWindow());
    EXPECT_FALSE(window->GetFlasher().IsBlinking()) << "a window in front does not blink";
    SaveWindowPng(window->m_hWnd, ScreenshotPath(L"dcc-window-offers.png"));
}

} // namespace
