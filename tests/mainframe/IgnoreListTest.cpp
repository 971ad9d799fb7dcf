// The ignore list as a user meets it: opened from the tools menu or filled from picked members
// of the member list, and written to the server tree on OK.

#include "tests/mainframe/AutoOpWindowsFixture.h"

#include <algorithm>

namespace {

// The mask window's steps serve the ignore list too.
class IgnoreList : public AutoOpWindowsFixture {
protected:
    void OpenFromToolsMenu() { ChooseFromMenuBar(5, {'G'}); }
};

} // namespace

TEST_F(IgnoreList, OpensOnceWithTheWorldsMasksAndOkWritesThemToTheTree)
{
    settings.world.IgnoreMasks = {L"*!*@spam.example", L"bot*!*@*"};
    OpenFromToolsMenu();
    TMaskDialog* dialog = frame->GetIgnoreListDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(L"無視リストの設定", GetControlText(window));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDC_MASK_UPDATE)));
    EXPECT_EQ(2u, Listed(window).size());
    SaveWindowPng(window, ScreenshotPath(L"mainframe-ignore-list.png"));

    // A second time the same window comes back.
    OpenFromToolsMenu();
    EXPECT_EQ(dialog, frame->GetIgnoreListDialog());

    // A mask typed and added, then OK.
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    TypeText(L"troll!*@*");
    ::SendMessageW(window, WM_KICKIDLE, 0, 0);
    ClickAt(ScreenPointOf(::GetDlgItem(window, IDC_MASK_ADD)));
    ASSERT_EQ(3u, Listed(window).size());
    std::vector<CString> listed = Listed(window);
    ClickAt(ScreenPointOf(::GetDlgItem(window, IDOK)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame->GetIgnoreListDialog() == nullptr; }, 3000));
    EXPECT_EQ(listed, settings.world.IgnoreMasks) << "in the list's order";
    EXPECT_NE(std::string::npos, ReadSettingsFile(L"tree.ini").find("troll!*@*"));
}

TEST_F(IgnoreList, OneMemberFillsTheEditAndSeveralAreAddedOnce)
{
    // One member: its mask waits in the edit; nothing is added yet.
    ChooseFromMemberMenu({L"erin"}, {'R', 'G'});
    TMaskDialog* dialog = frame->GetIgnoreListDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_EQ(MaskOf(L"erin"), GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    EXPECT_TRUE(Listed(window).empty());

    // Three members: three masks, one of them already listed and not added twice.
    dialog->AddMask(MaskOf(L"bob"));
    ChooseFromMemberMenu({L"alice", L"bob", L"erin"}, {'R', 'G'});
    EXPECT_EQ(dialog, frame->GetIgnoreListDialog());
    std::vector<CString> masks = Listed(window);
    EXPECT_EQ(3u, masks.size());
    for (const wchar_t* nick : {L"alice", L"bob", L"erin"})
        EXPECT_EQ(1, (int)std::count(masks.begin(), masks.end(), MaskOf(nick))) << Narrow(nick);

    // Cancel leaves the world's list alone.
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame->GetIgnoreListDialog() == nullptr; }, 3000));
    EXPECT_TRUE(settings.world.IgnoreMasks.empty());
}

// The WHOIS windows' mask slot of a server reaches the same window through the world.
TEST_F(IgnoreList, TheServersMaskSlotOpensTheListWithTheMaskWaitingInItsEdit)
{
    settings.world.IgnoreMasks = {L"*!*@spam.example"};
    IWhoisDialogListener& server = *net;
    server.OnAddMask(nullptr, L"erin", L"eu", L"erin.example");
    TMaskDialog* dialog = frame->GetIgnoreListDialog();
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(MaskOf(L"erin"), GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
    EXPECT_EQ(std::vector<CString>{L"*!*@spam.example"}, Listed(window)) << "nothing is added yet";

    // Again with the window open: the same window, the new mask in its edit.
    server.OnAddMask(nullptr, L"bob", L"", L"bob.example");
    EXPECT_EQ(dialog, frame->GetIgnoreListDialog());
    EXPECT_EQ(settings.preference.MakeMask(L"bob", L"", L"bob.example"),
              GetControlText(::GetDlgItem(window, IDC_MASK_EDIT)));
}
