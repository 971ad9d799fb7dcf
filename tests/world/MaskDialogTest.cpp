// A channel's mask-list window as a user meets it: filled from the server's list replies and
// MODE changes, edited with real keys and clicks, and OK sending the MODE lines of the changes.

#include "tests/world/UserInfoFixture.h"

#include "dialogs/MaskDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Screenshot.h"
#include "world/ChannelMaskList.h"

#include <algorithm>

namespace {

class MaskDialogTest : public LoggedInWindowTest {
protected:
    void SetUp() override
    {
        LoggedInWindowTest::SetUp();
        Feed(":kvnick!kvuser@me.example JOIN :#c");
        channel = unit->FindChannel(L"#c");
        ASSERT_TRUE(channel);
        TakeQueued();
    }
    // The ban list opened and filled by the server's replies to its Update button.
    void OpenBanList(std::initializer_list<const char*> listed)
    {
        channel->ShowBanList();
        ASSERT_TRUE(Dialog());
        window = Dialog()->m_hWnd;
        ClickButton(window, IDC_MASK_UPDATE);
        ASSERT_EQ(TakeQueued(), std::vector<std::string>{"MODE #c +b"});
        for (const char* mask : listed)
            Feed(std::string(":irc.example 367 kvnick #c ") + mask + " op!u@h 1700000000");
        Feed(":irc.example 368 kvnick #c :End of Channel Ban List");
    }
    TMaskDialog* Dialog()
    {
        IMaskList* list = channel->GetMaskList(TIRCChannel::BanList);
        return list ? &static_cast<TChannelMaskList*>(list)->GetDialog() : nullptr;
    }
    std::vector<CString> Listed() { return Dialog()->GetMasks(); }
    HWND Item(int id) { return ::GetDlgItem(window, id); }
    void ClickListItem(int index)
    {
        RECT rect = {};
        ::SendMessageW(Item(IDC_MASK_LIST), LB_GETITEMRECT, (WPARAM)index, (LPARAM)&rect);
        ClickAt(ScreenPointOf(Item(IDC_MASK_LIST), rect.left + 20, (rect.top + rect.bottom) / 2));
    }
    void ClickListText(const wchar_t* text)
    {
        int index = (int)::SendMessageW(Item(IDC_MASK_LIST), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
        ASSERT_GE(index, 0);
        ClickListItem(index);
    }
    void TypeIntoEdit(const wchar_t* text) { Retype(window, IDC_MASK_EDIT, text); }
    bool Enabled(int id) { return ::Enabled(window, id); }

    TIRCChannel* channel = nullptr;
    HWND window = nullptr;
};

} // namespace

TEST_F(MaskDialogTest, RepliesFillTheSortedListAndOkSendsTheChanges)
{
    OpenBanList({"zed!*@*", "amy!*@*", "bob!*@*"});
    EXPECT_EQ(GetControlText(window), CString(L"#c のバンリスト - testnet"));
    EXPECT_EQ(Listed(), (std::vector<CString>{L"amy!*@*", L"bob!*@*", L"zed!*@*"}));

    TypeIntoEdit(L"new!*@*");
    PressKey(VK_RETURN);
    EXPECT_EQ(Field(window, IDC_MASK_EDIT), CString());
    ClickListItem(1);
    EXPECT_EQ(Field(window, IDC_MASK_EDIT), CString(L"bob!*@*"));
    PressKey(VK_DELETE);
    EXPECT_EQ(Listed(), (std::vector<CString>{L"amy!*@*", L"new!*@*", L"zed!*@*"}));
    // The selected mask is in the edit: it can be deleted, not added again.
    EXPECT_TRUE(Enabled(IDC_MASK_DELETE));
    EXPECT_FALSE(Enabled(IDC_MASK_ADD));
    PumpPendingMessages();
    SaveWindowPng(window, ScreenshotPath(L"mask-dialog.png"));
    EXPECT_TRUE(TakeQueued().empty());

    ClickButton(window, IDOK);
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"MODE #c -b+b bob!*@* new!*@*"});
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(channel->GetMaskList(TIRCChannel::BanList));
}

TEST_F(MaskDialogTest, OkWithoutRealChangesSendsNothing)
{
    struct {
        const char* name;
        bool recase; // the listed mask deleted and typed again in other letters
    } cases[] = {{"untouched", false}, {"case only", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenBanList({"Amy!*@*", "{x}!*@*"});
        if (c.recase) {
            ClickListText(L"Amy!*@*");
            PressKey(VK_DELETE);
            TypeIntoEdit(L"amY!*@*");
            PressKey(VK_RETURN);
            ClickListText(L"{x}!*@*");
            PressKey(VK_DELETE);
            TypeIntoEdit(L"[X]!*@*");
            PressKey(VK_RETURN);
            std::vector<CString> listed = Listed();
            std::sort(listed.begin(), listed.end());
            EXPECT_EQ(listed, (std::vector<CString>{L"[X]!*@*", L"amY!*@*"}));
        }
        ClickButton(window, IDOK);
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_TRUE(TakeQueued().empty());
    }
}

TEST_F(MaskDialogTest, ModeChangesFollowInTheOpenList)
{
    OpenBanList({"amy!*@*"});
    Feed(":op!u@h MODE #c +bb bob!*@* AMY!*@*");
    EXPECT_EQ(Listed(), (std::vector<CString>{L"amy!*@*", L"bob!*@*"}));
    Feed(":op!u@h MODE #c -b Amy!*@*");
    EXPECT_EQ(Listed(), std::vector<CString>{L"bob!*@*"});
    EXPECT_EQ(Dialog()->GetFilledMasks(), std::vector<CString>{L"bob!*@*"});
    // What the server already did is not sent again.
    ClickButton(window, IDOK);
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(MaskDialogTest, UpdateEmptiesTheListAndAsksAgain)
{
    OpenBanList({"amy!*@*"});
    ClickButton(window, IDC_MASK_UPDATE);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"MODE #c +b"});
    Feed(":irc.example 367 kvnick #c cat!*@* op!u@h 1700000000");
    EXPECT_EQ(Listed(), std::vector<CString>{L"cat!*@*"});
    ClickButton(window, IDOK);
    EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(MaskDialogTest, ButtonsFollowTheEditAndTheSelection)
{
    OpenBanList({"amy!*@*", "bob!*@*"});
    EXPECT_FALSE(Enabled(IDC_MASK_ADD));
    EXPECT_FALSE(Enabled(IDC_MASK_DELETE));
    TypeIntoEdit(L"AMY!*@*");
    EXPECT_FALSE(Enabled(IDC_MASK_ADD)); // listed under IRC folding
    ClickListItem(1);
    TypeIntoEdit(L"amy!*@*");
    EXPECT_FALSE(Enabled(IDC_MASK_OVERWRITE)); // would equal another item
    EXPECT_TRUE(Enabled(IDC_MASK_DELETE));
    TypeIntoEdit(L"cat!*@*");
    ASSERT_TRUE(Enabled(IDC_MASK_OVERWRITE));
    ClickButton(window, IDC_MASK_OVERWRITE);
    EXPECT_EQ(Listed(), (std::vector<CString>{L"amy!*@*", L"cat!*@*"}));
    EXPECT_EQ(::SendMessageW(Item(IDC_MASK_LIST), LB_GETCURSEL, 0, 0), 1);
    ClickButton(window, IDC_MASK_DELETE);
    EXPECT_EQ(Listed(), std::vector<CString>{L"amy!*@*"});
    EXPECT_EQ(Field(window, IDC_MASK_EDIT), CString(L"amy!*@*")); // the item now selected
}

TEST_F(MaskDialogTest, KeysMoveBetweenEditAndList)
{
    OpenBanList({"amy!*@*", "bob!*@*"});
    TypeIntoEdit(L"");
    PressKey(VK_DOWN);
    EXPECT_EQ(::GetFocus(), Item(IDC_MASK_LIST));
    EXPECT_EQ(Field(window, IDC_MASK_EDIT), CString(L"amy!*@*"));
    PressKey(VK_DOWN);
    EXPECT_EQ(Field(window, IDC_MASK_EDIT), CString(L"bob!*@*"));
    PressKey(VK_UP);
    PressKey(VK_UP);
    EXPECT_EQ(::GetFocus(), Item(IDC_MASK_EDIT));
    EXPECT_EQ(::SendMessageW(Item(IDC_MASK_LIST), LB_GETCURSEL, 0, 0), LB_ERR);
    // Enter in the list deletes; the last one gone, the edit has the focus again.
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(::GetFocus(), Item(IDC_MASK_EDIT));
    // Enter in an empty edit is OK.
    TypeIntoEdit(L"");
    PressKey(VK_RETURN);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"MODE #c -bb amy!*@* bob!*@*"});
}

TEST_F(MaskDialogTest, EscapeClosesWithoutSending)
{
    OpenBanList({"amy!*@*"});
    ClickListItem(0);
    PressKey(VK_DELETE);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(channel->GetMaskList(TIRCChannel::BanList));
    EXPECT_TRUE(TakeQueued().empty());
}

// The owner's list keeps each mask as often as the owner added it after the user deleted it.
TEST_F(MaskDialogTest, RemoveMaskErasesTheFirstOfTwinMasks)
{
    OpenBanList({"amy!*@*"});
    ClickListItem(0);
    PressKey(VK_DELETE);
    EXPECT_GE(Dialog()->AddMask(L"amy!*@*"), 0);
    EXPECT_EQ(Dialog()->AddMask(L"AMY!*@*"), -1);
    EXPECT_EQ(Dialog()->GetFilledMasks(), (std::vector<CString>{L"amy!*@*", L"amy!*@*"}));
    Dialog()->RemoveMask(L"amy!*@*");
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(Dialog()->GetFilledMasks(), std::vector<CString>{L"amy!*@*"});
}

TEST_F(MaskDialogTest, ALongMaskWidensTheScrollRangeUntilItGoes)
{
    OpenBanList({"amy!*@*"});
    HWND list = Item(IDC_MASK_LIST);
    RECT client = {};
    ::GetClientRect(list, &client);
    auto extent = [&] { return (int)::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0); };
    int narrow = extent();
    EXPECT_LT(narrow, client.right);
    std::string longMask = "x!*@" + std::string(120, 'h') + ".example";
    Feed(":op!u@h MODE #c +b " + longMask);
    EXPECT_GT(extent(), client.right);
    Feed(":op!u@h MODE #c -b " + longMask);
    EXPECT_EQ(extent(), narrow);
}
