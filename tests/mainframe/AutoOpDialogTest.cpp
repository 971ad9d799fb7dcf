// The auto-op window as a user meets it: opened from the tools, server and channel menus and from
// picked members, masks edited per level, and OK handing them to the servers and channels.

#include "tests/mainframe/AutoOpWindowsFixture.h"

#include "irc/IRCChannel.h"
#include "tests/common/SheetInput.h"
#include "tests/common/ShownWindow.h"

#include <algorithm>

namespace {

using AutoOpDialogTest = AutoOpWindowsFixture;

} // namespace

TEST_F(AutoOpDialogTest, LevelsKeepTheirEditsAndOkHandsThemToTheWorld)
{
    settings.world.AutoOpMasks = {L"*!*@world.example"};
    ChooseFromMenuBar(5, {'O'});
    TAutoOpDialog* dialog = frame->GetAutoOpDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    HWND tree = ::GetDlgItem(window, IDC_MASK_TREE);
    EXPECT_EQ(L"自動オペレータの設定", GetControlText(window));
    ASSERT_TRUE(FindItem(tree, {L"全体", L"net", L"#alpha"}));
    ASSERT_TRUE(FindItem(tree, {L"全体", L"net", L"#beta"}));
    EXPECT_EQ(L"全体", SelectedText(window));
    EXPECT_EQ(std::vector<CString>{L"*!*@world.example"}, Listed(window));

    // A mask for the server, one for #alpha, then back to the server: each level kept its own.
    ClickItem(window, {L"全体", L"net"});
    EXPECT_TRUE(Listed(window).empty());
    AddTyped(window, L"srv!*@*");
    ClickItem(window, {L"全体", L"net", L"#alpha"});
    EXPECT_TRUE(Listed(window).empty());
    AddTyped(window, L"frank!*@frank.example");
    AddTyped(window, L"FRANK!*@FRANK.EXAMPLE"); // the same under IRC case folding
    EXPECT_EQ(std::vector<CString>{L"frank!*@frank.example"}, Listed(window));
    ClickItem(window, {L"全体", L"net"});
    EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, Listed(window));
    ClickItem(window, {L"全体", L"net", L"#alpha"});
    EXPECT_EQ(std::vector<CString>{L"frank!*@frank.example"}, Listed(window));
    SaveWindowPng(window, ScreenshotPath(L"mainframe-auto-op.png"));

    // A second command brings the same window back.
    ChooseFromMenuBar(5, {'O'});
    EXPECT_EQ(dialog, frame->GetAutoOpDialog());

    // Typing while the tree has the focus types into the mask edit; Enter there only moves on.
    // The refused duplicate is still in the edit: the typing goes after it.
    ClickItem(window, {L"全体"});
    TypeText(L"w");
    EXPECT_EQ(::GetDlgItem(window, IDC_MASK_EDIT), ::GetFocus());
    EXPECT_EQ(L"FRANK!*@FRANK.EXAMPLEw", GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    ::SetWindowTextW(::GetDlgItem(window, IDC_MASK_EDIT), L"");
    ClickItem(window, {L"全体"});
    PressKey(VK_RETURN);
    EXPECT_EQ(::GetDlgItem(window, IDC_MASK_EDIT), ::GetFocus());
    EXPECT_EQ(frame->GetAutoOpDialog(), dialog) << "Enter from the tree is not OK";
    EXPECT_EQ(L"", GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));

    // Added through the owner's side and OK'd without leaving the level.
    dialog->AddMask(L"late!*@*");
    ClickButton(window, IDOK);
    EXPECT_EQ(nullptr, frame->GetAutoOpDialog());
    EXPECT_EQ((std::vector<CString>{L"*!*@world.example", L"late!*@*"}), settings.world.AutoOpMasks);
    EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, net->GetSettings().AutoOpMasks);
    EXPECT_EQ(std::vector<CString>{L"frank!*@frank.example"}, alpha->GetConfig().AutoOpMasks);
    EXPECT_TRUE(Channel(L"#beta")->GetConfig().AutoOpMasks.empty());
    std::string tree_ini = ReadSettingsFile(L"tree.ini");
    EXPECT_NE(std::string::npos, tree_ini.find("frank!*@frank.example"));
    EXPECT_NE(std::string::npos, tree_ini.find("srv!*@*"));

    // The channel's new mask makes a joining user wait for operator status.
    peer->Send(":frank!fu@frank.example JOIN :#alpha\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->FindMember(L"frank") != nullptr; }, 5000));
    PumpPendingMessages();
    const std::deque<CString>& queue = alpha->GetAutoOpQueue();
    bool opped = std::find(queue.begin(), queue.end(), CString(L"frank")) != queue.end() ||
                 peer->WaitFor("MODE #alpha +o frank", 2000);
    EXPECT_TRUE(opped);
}

// An added mask leaves the caret on it with nothing selected: Up in the list goes on from there,
// and only from the first item back to the edit.
TEST_F(AutoOpDialogTest, UpInTheListAfterAnAddMovesUpFromTheAddedMask)
{
    settings.world.AutoOpMasks = {L"amy!*@*", L"bob!*@*"};
    ChooseFromMenuBar(5, {'O'});
    ASSERT_TRUE(frame->GetAutoOpDialog());
    HWND window = frame->GetAutoOpDialog()->m_hWnd;
    HWND list = ::GetDlgItem(window, IDC_MASK_LIST), edit = ::GetDlgItem(window, IDC_MASK_EDIT);
    AddTyped(window, L"zed!*@*");
    ASSERT_EQ((std::vector<CString>{L"amy!*@*", L"bob!*@*", L"zed!*@*"}), Listed(window));
    ASSERT_EQ(LB_ERR, ::SendMessageW(list, LB_GETCURSEL, 0, 0));
    // The list box moves its own way from the caret; each step shows the mask it reached.
    FocusForInput(list);
    PressKey(VK_UP);
    EXPECT_EQ(list, ::GetFocus()) << "the list moved instead of giving the focus back";
    int reached = (int)::SendMessageW(list, LB_GETCURSEL, 0, 0);
    ASSERT_GE(reached, 0);
    EXPECT_EQ(Listed(window)[reached], GetControlText(edit));
    for (int presses = 0; presses < 3 && ::GetFocus() == list; presses++) {
        reached = (int)::SendMessageW(list, LB_GETCURSEL, 0, 0);
        PressKey(presses % 2 ? VK_PRIOR : VK_UP);
    }
    EXPECT_EQ(0, reached) << "back to the edit from the first item only";
    EXPECT_EQ(edit, ::GetFocus());
    EXPECT_EQ(LB_ERR, ::SendMessageW(list, LB_GETCURSEL, 0, 0));
}

TEST_F(AutoOpDialogTest, CancelKeepsTheOldMasks)
{
    settings.world.AutoOpMasks = {L"keep!*@*"};
    alpha->GetConfig().AutoOpMasks = {L"a!*@*", L"b!*@*"};
    ChooseFromMenuBar(2, {'O'});
    TAutoOpDialog* dialog = frame->GetAutoOpDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_EQ(L"#alpha", SelectedText(window)) << "the channel menu opens on the channel";
    EXPECT_EQ((std::vector<CString>{L"a!*@*", L"b!*@*"}), Listed(window));

    // Delete from the list with its key, overwrite the other with the edit's text.
    HWND list = ::GetDlgItem(window, IDC_MASK_LIST);
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_DOWN);
    EXPECT_EQ(list, ::GetFocus());
    PressKey(VK_DELETE);
    EXPECT_EQ(std::vector<CString>{L"b!*@*"}, Listed(window));
    EXPECT_EQ(L"b!*@*", GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_END);
    TypeText(L"x");
    ClickButton(window, IDC_MASK_OVERWRITE);
    EXPECT_EQ(std::vector<CString>{L"b!*@*x"}, Listed(window));

    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame->GetAutoOpDialog() == nullptr; }, 3000));
    EXPECT_EQ((std::vector<CString>{L"a!*@*", L"b!*@*"}), alpha->GetConfig().AutoOpMasks);
    EXPECT_EQ(std::vector<CString>{L"keep!*@*"}, settings.world.AutoOpMasks);

    // The server menu opens it on the server.
    ChooseFromMenuBar(1, {'O'});
    ASSERT_TRUE(frame->GetAutoOpDialog());
    EXPECT_EQ(L"net", SelectedText(frame->GetAutoOpDialog()->m_hWnd));
}

TEST_F(AutoOpDialogTest, PickedMembersFillTheEditOrTheChannelsList)
{
    ChooseFromMemberMenu({L"erin"}, {'R', 'O'});
    TAutoOpDialog* dialog = frame->GetAutoOpDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_EQ(L"#alpha", SelectedText(window));
    EXPECT_EQ(MaskOf(L"erin"), GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    EXPECT_TRUE(Listed(window).empty());

    dialog->AddMask(MaskOf(L"bob"));
    ChooseFromMemberMenu({L"alice", L"bob", L"erin"}, {'R', 'O'});
    EXPECT_EQ(dialog, frame->GetAutoOpDialog());
    std::vector<CString> masks = Listed(window);
    EXPECT_EQ(3u, masks.size());
    for (const wchar_t* nick : {L"alice", L"bob", L"erin"})
        EXPECT_EQ(1, (int)std::count(masks.begin(), masks.end(), MaskOf(nick))) << Narrow(nick);
    ClickButton(window, IDOK);
    EXPECT_EQ(3u, alpha->GetConfig().AutoOpMasks.size());
}

// The window follows the server tree: a channel joined after it opened is a level of its own,
// drawn joined; a talk is none, and its members go to its server: one member's mask waits in the
// edit, several are added there.
TEST_F(AutoOpDialogTest, MembersOfANewChannelGoToItAndThoseOfATalkToItsServer)
{
    // Open from the tools menu, on the level of every server.
    ChooseFromMenuBar(5, {'O'});
    TAutoOpDialog* dialog = frame->GetAutoOpDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    peer->Send(":bob!bu@bob.example PRIVMSG kvme :hi\r\n"
               ":kvme!me@my.host JOIN :#gamma\r\n"
               ":irc.test 353 kvme = #gamma :@kvme frank\r\n"
               ":irc.test 366 kvme #gamma :End of NAMES list\r\n");
    TIRCChannel* gamma = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            gamma = Channel(L"#gamma");
            return Channel(L"bob") && gamma && gamma->FindMember(L"frank");
        },
        "the talk and the new channel"));
    HWND tree = ::GetDlgItem(window, IDC_MASK_TREE);
    HTREEITEM gammaItem = FindItem(tree, {L"全体", L"net", L"#gamma"});
    ASSERT_TRUE(gammaItem);
    TVITEMW image = {};
    image.mask = TVIF_IMAGE;
    image.hItem = gammaItem;
    TreeView_GetItem(tree, &image);
    EXPECT_EQ(2, image.iImage) << "the joined channel's picture";
    EXPECT_FALSE(FindItem(::GetDlgItem(window, IDC_MASK_TREE), {L"全体", L"net", L"bob"}));
    TIRCChannel* talk = Channel(L"bob");
    const struct {
        TIRCChannel* node;
        const wchar_t* nick;
        const wchar_t* second; // null: one member picked
        const wchar_t* selected;
    } cases[] = {
        {gamma, L"frank", nullptr, L"#gamma"}, {talk, L"bob", nullptr, L"net"}, {talk, L"bob", L"kvme", L"net"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.nick) + (c.second ? " and another" : ""));
        // Another level selected before: a channel of the same server.
        ClickItem(window, {L"全体", L"net", L"#alpha"});
        ASSERT_EQ(L"#alpha", SelectedText(window));
        ::SetWindowTextW(::GetDlgItem(window, IDC_MASK_EDIT), L"");
        world->Select(net, c.node);
        PumpPendingMessages();
        if (c.second)
            ChooseFromMemberMenu({c.nick, c.second}, {'R', 'O'});
        else
            ChooseFromMemberMenu({c.nick}, {'R', 'O'});
        EXPECT_EQ(dialog, frame->GetAutoOpDialog());
        EXPECT_EQ(c.selected, SelectedText(window));
        const TIRCMember* member = c.node->FindMember(c.nick);
        ASSERT_TRUE(member);
        EXPECT_EQ(c.second ? CString() : settings.preference.MakeMask(c.nick, member->user, member->host),
                  GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
        // Nothing was listed at the channel or the server before.
        std::vector<CString> added;
        for (const wchar_t* nick : {c.nick, c.second}) {
            const TIRCMember* picked = nick && c.second ? c.node->FindMember(nick) : nullptr;
            if (picked)
                added.push_back(settings.preference.MakeMask(nick, picked->user, picked->host));
        }
        std::vector<CString> shown = Listed(window);
        std::sort(added.begin(), added.end());
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(added, shown);
        EXPECT_EQ(c.second ? 2u : 0u, added.size());
    }
    SaveWindowPng(window, ScreenshotPath(L"mainframe-auto-op-talk-member.png"));
}

// A server renamed while the window is open keeps the masks edited for it there, and OK gives
// them to it under its new name; a channel removed meanwhile leaves the tree.
TEST_F(AutoOpDialogTest, TheOpenWindowFollowsARenamedServerAndARemovedChannel)
{
    ChooseFromMenuBar(1, {'O'});
    TAutoOpDialog* dialog = frame->GetAutoOpDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd, tree = ::GetDlgItem(window, IDC_MASK_TREE);
    ASSERT_EQ(L"net", SelectedText(window));
    AddTyped(window, L"srv!*@*");
    WhenShown(HasControl(IDC_PROPERTY_TAB), [](HWND sheet) {
        TSheetInput input(sheet);
        input.Idle();
        input.Retype(IDC_SERVER_NAME, L"home");
        input.ShowTab(2);
        input.ClickRow(IDC_SERVER_CHANNEL_LIST, 1);
        input.Click(IDC_SERVER_CHANNEL_DELETE);
        input.ClickOk();
    });
    EXPECT_TRUE(frame->ExecuteAction(L"serverproperty"));
    PumpPendingMessages();
    StopWatching();
    ASSERT_EQ(net, world->FindUnit(L"home"));
    EXPECT_TRUE(FindItem(tree, {L"全体", L"home", L"#alpha"}));
    EXPECT_FALSE(FindItem(tree, {L"全体", L"home", L"#beta"}));
    EXPECT_EQ(L"home", SelectedText(window));
    EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, Listed(window));
    // Under Wine the main window ends up over it when the property dialog closes.
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    ClickButton(window, IDOK);
    WaitUntil([&] { return frame->GetAutoOpDialog() == nullptr; }, "the auto-op window confirmed");
    EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, net->GetSettings().AutoOpMasks);
}
