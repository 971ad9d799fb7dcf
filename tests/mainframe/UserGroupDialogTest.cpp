// The user group window as a user meets it: opened from the tools menu and from picked members,
// groups renamed and their masks edited, OK storing them in the preferences and Cancel not.

#include "tests/mainframe/AutoOpWindowsFixture.h"

#include "world/MemberListView.h"

#include <algorithm>

namespace {

class UserGroupDialogTest : public AutoOpWindowsFixture {
protected:
    void SetUp() override
    {
        AutoOpWindowsFixture::SetUp();
        TUserGroupList& groups = settings.preference.userGroups;
        groups.groups[0].name = L"Self";
        for (int i = 1; i < TUserGroupList::GroupCount; i++) {
            groups.groups[i].name.Format(L"Group%d", i);
            groups.groups[i].masks.clear();
        }
        groups.groups[0].masks = {L"me!*@home.example"};
        groups.groups[2].masks = {L"b!*@*", L"a!*@*"};
    }
    // Tools menu: the first of its two "U" items is the group settings.
    void OpenFromToolsMenu() { ChooseFromMenuBar(5, {'U', VK_RETURN}); }
    HWND NameEdit(HWND window) { return ::GetDlgItem(window, IDC_GROUP_NAME); }
};

} // namespace

TEST_F(UserGroupDialogTest, RenamingAndMasksSurviveGroupChangesAndOkStoresThem)
{
    OpenFromToolsMenu();
    TUserGroupDialog* dialog = frame->GetUserGroupDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    HWND tree = ::GetDlgItem(window, IDC_MASK_TREE);
    EXPECT_EQ(L"グループの設定", GetControlText(window));
    std::vector<CString> items;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
        items.push_back(TreeItemText(tree, item));
    EXPECT_EQ((std::vector<CString>{L"Group1", L"Group2", L"Group3", L"Group4", L"Group5", L"Self"}), items);
    EXPECT_EQ(L"Group1", SelectedText(window));
    EXPECT_EQ(L"Group1", GetControlText(NameEdit(window)));

    // Group 2: its masks sorted, renamed while typing, a mask added.
    ClickItem(window, {L"Group2"});
    EXPECT_EQ((std::vector<CString>{L"a!*@*", L"b!*@*"}), Listed(window));
    FocusForInput(NameEdit(window));
    PressKey(VK_END);
    TypeText(L"x");
    EXPECT_TRUE(FindItem(tree, {L"Group2x"})) << "the tree follows the name as it is typed";
    AddTyped(window, L"c!*@*");
    ClickItem(window, {L"Group3"});
    EXPECT_TRUE(Listed(window).empty());
    ClickItem(window, {L"Group2x"});
    EXPECT_EQ(L"Group2x", GetControlText(NameEdit(window)));
    EXPECT_EQ((std::vector<CString>{L"a!*@*", L"b!*@*", L"c!*@*"}), Listed(window));

    // The own group: its name stays, its masks can change.
    ClickItem(window, {L"Self"});
    EXPECT_FALSE(::IsWindowEnabled(NameEdit(window)));
    EXPECT_EQ(std::vector<CString>{L"me!*@home.example"}, Listed(window));
    AddTyped(window, L"me!*@work.example");
    SaveWindowPng(window, ScreenshotPath(L"mainframe-user-groups.png"));

    // A second command brings the same window back; a mask added by the owner is kept by OK.
    OpenFromToolsMenu();
    EXPECT_EQ(dialog, frame->GetUserGroupDialog());
    dialog->AddMask(L"late!*@*");
    ClickButton(window, IDOK);
    EXPECT_EQ(nullptr, frame->GetUserGroupDialog());
    const TUserGroupList& groups = settings.preference.userGroups;
    EXPECT_EQ(L"Group2x", groups.groups[2].name);
    EXPECT_EQ((std::vector<CString>{L"a!*@*", L"b!*@*", L"c!*@*"}), groups.groups[2].masks);
    EXPECT_EQ(L"Self", groups.groups[0].name);
    EXPECT_EQ((std::vector<CString>{L"late!*@*", L"me!*@home.example", L"me!*@work.example"}), groups.groups[0].masks);
    EXPECT_NE(std::string::npos, ReadSettingsFile(L"preference.ini").find("me!*@work.example"));

    // The member menu is named after the groups, access keys unchanged.
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MEMBER_POPUP));
    ASSERT_TRUE(menu);
    HMENU popup = ::GetSubMenu(menu, 0), registerMenu = nullptr;
    for (int i = 0; i < ::GetMenuItemCount(popup); i++) {
        HMENU sub = ::GetSubMenu(popup, i);
        if (sub && ::GetMenuState(sub, 32859, MF_BYCOMMAND) != (UINT)-1)
            registerMenu = sub;
    }
    ASSERT_TRUE(registerMenu);
    frame->UpdateMenuCommandUI(registerMenu);
    wchar_t text[128] = L"";
    ::GetMenuStringW(registerMenu, 32859, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(L"Group2xに登録(&B)...", text);
    ::DestroyMenu(menu);
}

TEST_F(UserGroupDialogTest, CancelLeavesThePreferencesAlone)
{
    OpenFromToolsMenu();
    TUserGroupDialog* dialog = frame->GetUserGroupDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    ClickItem(window, {L"Group2"});
    FocusForInput(NameEdit(window));
    TypeText(L"Renamed");
    FocusForInput(::GetDlgItem(window, IDC_MASK_LIST));
    PressKey(VK_DOWN);
    PressKey(VK_DELETE);
    EXPECT_EQ(1u, Listed(window).size());
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return frame->GetUserGroupDialog() == nullptr; }, "Esc closes the window");
    EXPECT_EQ(nullptr, frame->GetUserGroupDialog());
    EXPECT_EQ(L"Group2", settings.preference.userGroups.groups[2].name);
    EXPECT_EQ((std::vector<CString>{L"b!*@*", L"a!*@*"}), settings.preference.userGroups.groups[2].masks);
}

TEST_F(UserGroupDialogTest, PickedMembersGoToTheChosenGroup)
{
    // One member into group 3: the mask waits in the edit.
    ChooseFromMemberMenu({L"erin"}, {'R', 'C'});
    TUserGroupDialog* dialog = frame->GetUserGroupDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_EQ(L"Group3", SelectedText(window));
    EXPECT_EQ(MaskOf(L"erin"), GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    EXPECT_TRUE(Listed(window).empty());

    // Several into the own group: added at once, the one already there not twice.
    ChooseFromMemberMenu({L"alice", L"erin"}, {'R', 'S'});
    EXPECT_EQ(dialog, frame->GetUserGroupDialog());
    EXPECT_EQ(L"Self", SelectedText(window));
    std::vector<CString> masks = Listed(window);
    EXPECT_EQ(3u, masks.size());
    EXPECT_EQ(1, (int)std::count(masks.begin(), masks.end(), MaskOf(L"erin")));
    ClickButton(window, IDOK);
    EXPECT_EQ(3u, settings.preference.userGroups.groups[0].masks.size());

    // The own group's masks now mark erin as the user's own connection in the member list.
    const TIRCMember* erin = alpha->FindMember(L"erin");
    ASSERT_TRUE(erin);
    EXPECT_EQ(2, erin->groupKind);
}

// OK classifies every member again; the member list the user was working in keeps the row they
// picked and the place they had scrolled to.
TEST_F(UserGroupDialogTest, OkKeepsTheMemberListsPickedRowAndScrollPosition)
{
    std::string joins;
    for (int i = 0; i < 80; i++) {
        char line[64];
        snprintf(line, sizeof line, ":m%02d!u@crowd.example JOIN :#alpha\r\n", i);
        joins += line;
    }
    peer->Send(joins);
    WaitUntil([&] { return alpha->GetMembers().GetCount() == 86; }, "the crowd joined");
    PumpPendingMessages();
    HWND list = MemberList();
    auto scrolled = [&] { return ::GetScrollPos(list, SB_VERT); };
    auto view = static_cast<TMemberListView*>(world->GetCurrentMemberList());
    WaitUntil([&] { return !view->IsRedrawHeld(); }, "the joins laid out");
    RECT last = {}, client = {};
    ListView_GetItemRect(list, ListView_GetItemCount(list) - 1, &last, LVIR_BOUNDS);
    ::GetClientRect(list, &client);
    ASSERT_GT(last.bottom, client.bottom) << "the list must scroll";
    SelectMembers({L"bob"});
    ASSERT_EQ(1, SelectedRows());
    TurnWheel(ScreenPointOf(list), -3);
    WaitUntil([&] { return scrolled() > 0; }, "the list scrolled");
    const int top = scrolled();

    OpenFromToolsMenu();
    TUserGroupDialog* dialog = frame->GetUserGroupDialog();
    ASSERT_TRUE(dialog);
    ClickItem(dialog->m_hWnd, {L"Group4"});
    AddTyped(dialog->m_hWnd, L"m5*!*@*");
    ClickButton(dialog->m_hWnd, IDOK);
    WaitUntil([&] { return frame->GetUserGroupDialog() == nullptr; }, "OK closes the window");
    WaitUntil([&] { return !view->IsRedrawHeld(); }, "the list laid out again");

    const TIRCMember* m50 = alpha->FindMember(L"m50");
    ASSERT_TRUE(m50);
    EXPECT_EQ(1, m50->groupKind) << "the members were classified again";
    EXPECT_EQ(1, SelectedRows());
    EXPECT_EQ(LVIS_SELECTED, (int)ListView_GetItemState(list, RowOf(L"bob"), LVIS_SELECTED));
    EXPECT_EQ(top, scrolled());
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-member-list-after-groups.png"));
}
