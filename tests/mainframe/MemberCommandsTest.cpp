// The member list's popup as a user works it: rows picked with the mouse, a right click on them
// and an item chosen with its key; the server reads what the program sends. And the edit keys
// of the input line.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "controls/UpdateDialog.h"
#include "irc/IRCChannel.h"
#include "mainframe/MemberCommands.h"
#include "res/resource.h"
#include "res/windows/dialogs.h"
#include "settings/WindowGeometry.h"
#include "tests/common/ControlText.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "world/UserInfoDialogs.h"
#include "world/WhoDialog.h"

#include <algorithm>

namespace {

using MemberCommands = ServedFrameFixture;

// Lines the server got that contain the text.
int CountLinesWith(TLineSocket* peer, const std::string& text)
{
    int count = 0;
    for (const std::string& line : peer->Lines())
        count += line.find(text) != std::string::npos;
    return count;
}

TEST_F(MemberCommands, MenuOnSelectedRowsFollowsTheOwnOperatorStatus)
{
    SelectMembers({L"alice", L"bob"});
    TShownMenu menu =
        ReadOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, ScreenshotPath(L"mainframe-member-popup.png"));
    ASSERT_TRUE(menu.shown);
    for (UINT id : {ID_USER_INFO, ID_MEMBER_TALK, ID_INVITE_MEMBER, ID_GIVE_OP, ID_TAKE_OP, ID_KICK, ID_ADD_BAN,
                    ID_GIVE_VOICE, ID_TAKE_VOICE}) {
        EXPECT_FALSE(menu.Grayed(id)) << id;
    }
    ASSERT_TRUE(menu.Find(ID_GIVE_OP));
    EXPECT_STREQ(L"+o オペレータ権限を与える(&O)", menu.Find(ID_GIVE_OP)->text);
    // Two rows: no single address to copy.
    EXPECT_TRUE(menu.Grayed(ID_COPY_MEMBER_ADDRESS));
    EXPECT_EQ(2, SelectedRows()); // only looking leaves the rows picked

    // Without operator status the operator items are greyed, the others stay.
    peer->Send(":irc.test MODE #alpha -o kvme\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return !alpha->op; }, kWaitBoundMs));
    menu = ReadOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); });
    EXPECT_TRUE(menu.Grayed(ID_GIVE_OP));
    EXPECT_TRUE(menu.Grayed(ID_KICK));
    EXPECT_FALSE(menu.Grayed(ID_USER_INFO));
}

int textReads = 0;

LRESULT CALLBACK CountTextReads(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    textReads += message == LVM_GETITEMTEXTW;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// The enable rules count the picked rows; only a chosen command reads them.
TEST_F(MemberCommands, TheMenuCountsPickedRowsAndTheCommandReadsThem)
{
    SUBCLASSPROC countReads = &CountTextReads;
    SelectMembers({L"alice", L"bob"});
    POINT bob = RowPoint(L"bob");
    textReads = 0;
    ASSERT_TRUE(::SetWindowSubclass(MemberList(), countReads, 1, 0));
    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(bob, true); });
    EXPECT_FALSE(menu.Grayed(ID_USER_INFO));
    EXPECT_EQ(textReads, 0);
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(bob, true); }, {'W'}));
    ::RemoveWindowSubclass(MemberList(), countReads, 1);
    EXPECT_TRUE(peer->WaitFor("WHOIS alice", kWaitBoundMs));
    EXPECT_TRUE(peer->WaitFor("WHOIS bob", kWaitBoundMs));
}

TEST_F(MemberCommands, GivingOperatorStatusSkipsOperatorsAndSendsThreeNicksALine)
{
    SelectMembers({L"alice", L"bob", L"kvme"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"alice"), true); }, {'O'}));
    ASSERT_TRUE(peer->WaitFor("MODE #alpha +oo alice bob", kWaitBoundMs));
    EXPECT_EQ(0, SelectedRows()) << "the command clears the rows it read";

    // The server did not answer the first change, so all four still lack it; the nicks go in
    // the list's order.
    std::vector<std::pair<int, std::string>> rows;
    for (const wchar_t* nick : {L"alice", L"bob", L"carol", L"dave"})
        rows.emplace_back(RowOf(nick), Narrow(nick));
    std::sort(rows.begin(), rows.end());
    SelectMembers({L"alice", L"bob", L"carol", L"dave"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"dave"), true); }, {'O'}));
    const std::string last = "MODE #alpha +o " + rows[3].second;
    // Flood control spaces the lines out.
    ASSERT_TRUE(peer->WaitFor(last, 10000)) << peer->Received();
    std::vector<std::string> modes;
    for (const std::string& line : peer->Lines())
        if (line.rfind("MODE #alpha +o", 0) == 0)
            modes.push_back(line);
    ASSERT_EQ(3u, modes.size());
    EXPECT_EQ("MODE #alpha +ooo " + rows[0].second + " " + rows[1].second + " " + rows[2].second, modes[1]);
    EXPECT_EQ(last, modes[2]);

    // Taking voice leaves out those without it.
    SelectMembers({L"carol", L"dave"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"carol"), true); }, {'Q'}));
    ASSERT_TRUE(peer->WaitFor("MODE #alpha -v carol", 10000));
    EXPECT_EQ(0, CountLinesWith(peer, "-v carol dave"));
}

TEST_F(MemberCommands, QueriesTalkAndKickReachTheServerForThePickedNicks)
{
    SelectMembers({L"alice"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"alice"), true); }, {'W'}));
    EXPECT_TRUE(peer->WaitFor("WHOIS alice", kWaitBoundMs));

    // CTCP is a submenu: its key opens it, the next key picks the query.
    SelectMembers({L"alice", L"dave"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"dave"), true); }, {'P', 'V'}));
    EXPECT_TRUE(peer->WaitFor("PRIVMSG dave :\x01VERSION\x01", kWaitBoundMs));
    EXPECT_EQ(1, CountLinesWith(peer, "PRIVMSG alice :\x01VERSION\x01"));
    SelectMembers({L"bob"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'P', 'P'}));
    EXPECT_TRUE(peer->WaitFor("PRIVMSG bob :\x01PING ", kWaitBoundMs)) << "a ping carries the time it left";

    // Kick without the prompt uses the stored comment at once.
    settings.preference.PromptOnKick = false;
    settings.preference.KickMessage = L"Flooder";
    SelectMembers({L"bob"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'K'}));
    EXPECT_TRUE(peer->WaitFor("KICK #alpha bob :Flooder", kWaitBoundMs));

    // Talk opens the talk and shows it; a second time the same talk is shown again.
    for (int round = 0; round < 2; round++) {
        world->Select(net, alpha);
        PumpPendingMessages();
        SelectMembers({L"erin"});
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"erin"), true); }, {'T'}));
        TIRCChannel* channel = Channel(L"erin");
        ASSERT_TRUE(channel && world->IsSelected(net, channel)) << round;
        EXPECT_EQ(TIRCChannel::KindTalk, channel->GetKind());
        EXPECT_STREQ(L"erin", channel->GetName());
        EXPECT_STREQ(L"erin.example", channel->FindMember(L"erin")->host);
    }

    // A DCC chat listens and offers itself to the picked nick through the server; the talk is
    // shown. "-o" shares the DCC submenu's key, so the way leads through the CTCP submenu.
    world->Select(net, alpha);
    PumpPendingMessages();
    SelectMembers({L"erin"});
    ASSERT_TRUE(
        ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"erin"), true); }, {'P', VK_LEFT, VK_DOWN, VK_RIGHT, 'C'}));
    EXPECT_TRUE(peer->WaitFor("PRIVMSG erin :\x01"
                              "DCC CHAT chat ",
                              kWaitBoundMs));
    TIRCChannel* chat = Channel(L"=erin");
    ASSERT_TRUE(chat && world->IsSelected(net, chat));
    EXPECT_EQ(TIRCChannel::KindDccChat, chat->GetKind());
    EXPECT_STREQ(L"=erin", chat->GetName());
}

// The nick popup of a log line from someone no longer in the channel still opens the ban list,
// empty and without asking the server; a member's ban goes into the same window's edit box.
TEST_F(MemberCommands, BanForANickNotInTheChannelOpensTheBanListAndSendsNothing)
{
    peer->Send(":zed!z@zed.example PRIVMSG #alpha :hello from zed\r\n");
    TLogView* view = alpha->logView;
    ASSERT_TRUE(PumpMessagesUntil([&] { return HasLogLine(view, L"hello from zed"); }, kWaitBoundMs));
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"zed", L"hello from zed"), true); }, {'B'}));
    IMaskList* list = nullptr;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] {
            list = alpha->GetMaskList(TIRCChannel::BanList);
            return list && ::IsWindowVisible(list->GetWindowHandle());
        },
        kWaitBoundMs))
        << "the ban list did not open";
    HWND edit = ::GetDlgItem(list->GetWindowHandle(), IDC_MASK_EDIT);
    EXPECT_EQ(0, list->GetMaskCount());
    EXPECT_EQ(CString(), GetControlText(edit));
    RoundTrip();
    EXPECT_EQ(0, CountLinesWith(peer, "+b")) << "no list request, no ban";

    SelectMembers({L"bob"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'B'}));
    EXPECT_EQ(list, alpha->GetMaskList(TIRCChannel::BanList));
    EXPECT_EQ(CString(L"bob!*@*"), GetControlText(edit));
}

TEST_F(MemberCommands, CopyingAnAddressNeedsOneMemberWithAKnownHost)
{
    CopyTextToClipboard(L"before");
    SelectMembers({L"erin"});
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"erin"), true); }, {'A'}));
    EXPECT_STREQ(L"erin.example", GetClipboardText());
    EXPECT_EQ(0, SelectedRows());

    // NAMES gave no address for alice: the item is greyed and nothing is copied.
    CopyTextToClipboard(L"before");
    SelectMembers({L"alice"});
    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(RowPoint(L"alice"), true); });
    EXPECT_TRUE(menu.Grayed(ID_COPY_MEMBER_ADDRESS));
    EXPECT_STREQ(L"before", GetClipboardText());
}

TEST(BanMask, UnknownPartsAreWrittenAsWildcards)
{
    const struct {
        const wchar_t* user;
        const wchar_t* host;
        const wchar_t* mask;
    } cases[] = {
        {L"eu", L"erin.example", L"Erin!eu@erin.example"},
        {L"", L"erin.example", L"Erin!*@erin.example"},
        {L"eu", L"", L"Erin!eu@*"},
        {L"", L"", L"Erin!*@*"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.mask, MakeBanMask(L"Erin", TIRCMember(L"erin", c.user, c.host)));
}

TEST_F(MemberCommands, EditKeysInTheInputLine)
{
    HWND input = frame->GetInputLine()->m_hWnd;
    FocusForInput(input);
    TypeText(L"hello world");
    auto text = [&] { return TEdit::GetText(input); };

    PressKey('A', {VK_CONTROL});
    PressKey('C', {VK_CONTROL});
    EXPECT_STREQ(L"hello world", GetClipboardText());
    PressKey(VK_DELETE);
    EXPECT_STREQ(L"", text());
    PressKey('Z', {VK_CONTROL});
    EXPECT_STREQ(L"hello world", text());

    // Del with nothing selected still deletes the character after the caret.
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    EXPECT_STREQ(L"ello world", text());

    PressKey('A', {VK_CONTROL});
    PressKey('X', {VK_CONTROL});
    EXPECT_STREQ(L"", text());
    EXPECT_STREQ(L"ello world", GetClipboardText());
    PressKey('V', {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    EXPECT_STREQ(L"ello worldello world", text());

    // The own address replaces the selection.
    PressKey('A', {VK_CONTROL});
    ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetMyAddress().ToString() == L"192.0.2.7"; }, kWaitBoundMs));
    PressKey('Y', {VK_MENU});
    EXPECT_STREQ(L"192.0.2.7", text());
}

TEST_F(MemberCommands, PasteFromAnotherControlLandsAtTheEndOfTheInputLine)
{
    HWND input = frame->GetInputLine()->m_hWnd;
    FocusForInput(input);
    TypeText(L"say ");
    // With the server node selected, several lines go to the input line as they are; being one
    // line, it keeps the first.
    world->Select(net, nullptr);
    CopyTextToClipboard(L"one\r\ntwo");
    FocusForInput(frame->GetServerTree()->m_hWnd);
    PressKey('V', {VK_CONTROL});
    EXPECT_EQ(input, ::GetFocus());
    EXPECT_STREQ(L"say one", TEdit::GetText(input));

    // From a log view a single line goes to the end of the text, whatever was selected there.
    ::SendMessageW(input, EM_SETSEL, 0, 3);
    CopyTextToClipboard(L" more");
    world->Select(net, alpha);
    FocusForInput(alpha->logView->m_hWnd);
    PressKey('V', {VK_CONTROL});
    EXPECT_EQ(input, ::GetFocus());
    EXPECT_STREQ(L"say one more", TEdit::GetText(input));
}

} // namespace

namespace {

TEST_F(MemberCommands, RowsPickedInAWhoWindowAreTheTargetsWhateverTheTreeShows)
{
    TWindowGeometry geometry;
    TWorldFrameUserInfo frameSide(frame);
    TUserInfoDialogs dialogs(world.get(), &settings.preference, &geometry, &frameSide);
    world->SetUserInfoWindows(&dialogs);
    alpha->ShowWhoDialog();
    auto* who = dynamic_cast<TWhoDialog*>(alpha->GetWhoDialog());
    ASSERT_TRUE(who);
    HWND list = who->GetListView()->m_hWnd;
    // The tree shows the server, where no member command would be enabled.
    world->Select(net, nullptr);
    PumpPendingMessages();
    int row = -1;
    for (int i = 0; i < ListView_GetItemCount(list) && row < 0; i++)
        if (ListViewCellText(list, i, 1) == L"bob")
            row = i;
    ASSERT_GE(row, 0);
    RECT rect = {};
    ListView_GetItemRect(list, row, &rect, LVIR_BOUNDS);
    POINT at = ScreenPointOf(list, rect.left + 40, (rect.top + rect.bottom) / 2);
    ClickAt(at);
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1; }, kWaitBoundMs));
    EXPECT_TRUE(frame->IsCommandEnabled(ID_REGISTER_SELF)) << "registering follows the focused WHO window too";

    TShownMenu menu = ReadOpenedPopup([&] { ClickAt(at, true); });
    ASSERT_TRUE(menu.shown);
    EXPECT_FALSE(menu.Grayed(ID_GIVE_OP)) << "the WHO window's channel has us as operator";
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(at, true); }, {'V'}));
    EXPECT_TRUE(peer->WaitFor("MODE #alpha +v bob", 10000));
    EXPECT_EQ(0, (int)::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_FALSE(frame->IsCommandEnabled(ID_REGISTER_GROUP5)) << "no rows picked";

    alpha->CloseWhoDialog();
    world->SetUserInfoWindows(GetNullUserInfoWindows());
}

} // namespace

TEST_F(MemberCommands, TheBanListOpensFromItsKeyAndAsksTheServerOnce)
{
    // A list window asks the server once; its key again only brings it up.
    const CString title = L"#alpha のバンリスト - " + net->GetName();
    for (int round = 0; round < 2; round++) {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        PressKey('B', {VK_MENU});
        EXPECT_TRUE(PumpMessagesUntil([&] { return ::FindWindowW(nullptr, title) != nullptr; }, kWaitBoundMs)) << round;
        PumpPendingMessages();
    }
    EXPECT_TRUE(peer->WaitFor("MODE #alpha +b", kWaitBoundMs));
    EXPECT_EQ(1, CountLinesWith(peer, "MODE #alpha +b"));
}

// The bans Add ban puts in for several members wait in the ban list window, and its OK sends
// them: into a window the server had filled, and into one the command made.
TEST_F(MemberCommands, BansAddedForSeveralMembersAreSentByTheBanListsOK)
{
    const CString title = L"#alpha のバンリスト - " + net->GetName();
    FocusForInput(frame->GetInputLine()->m_hWnd);
    PressKey('B', {VK_MENU});
    ASSERT_TRUE(peer->WaitFor("MODE #alpha +b", kWaitBoundMs));
    peer->Send(":irc.test 367 kvme #alpha old!*@* irc.test 1700000000\r\n"
               ":irc.test 368 kvme #alpha :End of Channel Ban List\r\n");
    const struct {
        const wchar_t* first;
        const wchar_t* second;
        size_t listed;
        const char* line;
    } rows[] = {{L"alice", L"erin", 3, "MODE #alpha +bb alice!*@* erin!eu@erin.example"},
                {L"bob", L"dave", 2, "MODE #alpha +bb bob!*@* dave!*@*"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        SelectMembers({row.first, row.second});
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(row.second), true); }, {'B'}));
        HWND window = nullptr;
        ASSERT_TRUE(PumpMessagesUntil(
            [&] {
                window = ::FindWindowW(nullptr, title);
                return window && ListBoxLines(::GetDlgItem(window, IDC_MASK_LIST)).size() == row.listed;
            },
            kWaitBoundMs));
        // Here the main window does not own it, so it may lie behind: the user brings it up first.
        FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
        SaveWindowPng(window, ScreenshotPath(L"mainframe-ban-list-added.png"));
        Click(window, IDOK);
        EXPECT_TRUE(peer->WaitFor(row.line, kWaitBoundMs)) << peer->Received();
        EXPECT_FALSE(::IsWindow(window));
    }
    EXPECT_EQ(0, CountLinesWith(peer, "-b"));
}

// The nick dialog opens from its key with the current nick and sends the one typed over it. The
// server's own nick length (15 here, above the 9 the server announces) widens its field only
// while its box is checked; a longer NICKLEN the server announces is taken whole.
TEST_F(MemberCommands, TheNickDialogSendsTheTypedNickAndTakesTheServersOwnLengthOnlyWhileSwitchedOn)
{
    const CString seventy(L'n', 70);
    const struct {
        bool enabled;
        const wchar_t* typed;
        const wchar_t* kept;
        bool sent;
        const char* announced; // last: an announcement stays for the rows after it
    } rows[] = {{false, L"abcdefghijklmnopqrst", L"abcdefghi", false, nullptr},
                {true, L"abcdefghijklmnopqrst", L"abcdefghijklmno", false, nullptr},
                {false, L"kvnew", L"kvnew", true, nullptr},
                {true, seventy, seventy, false, "NICKLEN=100"}};
    const CString nickTitle = L"ニックネーム変更 - " + net->GetName();
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.typed) + (row.enabled ? ", the server's own length" : ""));
        if (row.announced) {
            peer->Send(std::string(":irc.test 005 kvme ") + row.announced + " :are supported by this server\r\n");
            ASSERT_TRUE(
                PumpMessagesUntil([&] { return net->GetSession().capabilities.GetNickLength() == 100; }, kWaitBoundMs));
        }
        TUnitSetting edited = net->GetSettings();
        edited.EnableNickLen = row.enabled;
        edited.NickLen = 15;
        net->ApplySettings(edited);
        CString shown, typed;
        WhenShown(HasCaption(nickTitle), [&](HWND dialog) {
            HWND edit = ::GetDlgItem(dialog, IDC_NICK_NEW);
            shown = GetControlText(edit);
            FocusForInput(edit);
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            TypeText(row.typed);
            typed = GetControlText(edit);
            PressKey(row.sent ? VK_RETURN : VK_ESCAPE);
        });
        FocusForInput(frame->GetInputLine()->m_hWnd);
        PressKey('N', {VK_MENU});
        EXPECT_TRUE(PumpMessagesUntil([&] { return !typed.IsEmpty(); }, kWaitBoundMs));
        EXPECT_EQ(CString(L"kvme"), shown);
        EXPECT_EQ(CString(row.kept), typed);
    }
    EXPECT_TRUE(peer->WaitFor("NICK kvnew", kWaitBoundMs));
    EXPECT_EQ(0, CountLinesWith(peer, "NICK abc")) << "Esc sends nothing";
}

// OK sends what the user changed in the nick dialog, and leaves what the server changed while it
// was open: an away state its 306 confirmed, a nick the services gave.
TEST_F(MemberCommands, TheNickDialogSendsOnlyWhatTheUserChanged)
{
    const struct {
        const char* name;
        bool awayFirst;        // Alt+A before the dialog opens
        const char* meanwhile; // the server's line while it is open
        const wchar_t* typed;  // null: the nick left as shown
        bool tickAway;
        std::vector<std::string> sent; // NICK and AWAY lines, an AWAY with a message as "AWAY :"
    } rows[] = {
        {"the away box ticked and a nick typed", false, nullptr, L"kvother", true, {"NICK kvother", "AWAY :"}},
        // The server confirms no nick change here: the nick is still kvme.
        {"the away state confirmed meanwhile",
         true,
         ":irc.test 306 kvme :You have been marked as being away",
         L"kvnew",
         false,
         {"NICK kvnew"}},
        {"a services rename meanwhile", false, ":kvme!me@my.host NICK :Guest42", nullptr, false, {}},
    };
    const CString nickTitle = L"ニックネーム変更 - " + net->GetName();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.awayFirst) {
            const int aways = CountStarting("AWAY :");
            FocusForInput(frame->GetInputLine()->m_hWnd);
            PressKey('A', {VK_MENU});
            ASSERT_TRUE(PumpMessagesUntil([&] { return CountStarting("AWAY :") > aways; }, kWaitBoundMs));
        }
        const size_t before = peer->Lines().size();
        bool done = false;
        WhenShown(HasCaption(nickTitle), [&](HWND dialog) {
            if (row.meanwhile) {
                const CString nick = net->GetSession().currentNick;
                const bool away = net->IsAway();
                peer->Send(std::string(row.meanwhile) + "\r\n");
                EXPECT_TRUE(PumpMessagesUntil(
                    [&] { return net->IsAway() != away || net->GetSession().currentNick != nick; }, kWaitBoundMs));
            }
            HWND edit = ::GetDlgItem(dialog, IDC_NICK_NEW);
            if (row.typed)
                Retype(edit, row.typed);
            if (row.tickAway)
                Click(dialog, IDC_NICK_AWAY);
            FocusForInput(edit);
            PressKey(VK_RETURN);
            done = true;
        });
        FocusForInput(frame->GetInputLine()->m_hWnd);
        PressKey('N', {VK_MENU});
        ASSERT_TRUE(PumpMessagesUntil([&] { return done; }, kWaitBoundMs));
        StopWatching();
        RoundTrip();
        std::vector<std::string> lines = peer->Lines(), sent;
        for (size_t i = before; i < lines.size(); i++)
            if (lines[i].rfind("NICK", 0) == 0 || lines[i].rfind("AWAY", 0) == 0)
                sent.push_back(lines[i].rfind("AWAY :", 0) == 0 ? "AWAY :" : lines[i]);
        EXPECT_EQ(row.sent, sent);
    }
}
