// The auto-op window alone, on a world's tree or on one handed to it: which list an item edits,
// how the owner selects a level, and what OK and Cancel report.

#include "tests/world/common/WorldWindowTest.h"

#include "dialogs/AutoOpDialog.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "tests/common/ControlText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/StringPrinter.h"

#include <algorithm>

#include <commctrl.h>

namespace {

class TAppliedResult : public IAutoOpDialogListener {
public:
    void OnAutoOpDialogOK(TAutoOpDialog* dialog) override
    {
        ok++;
        if (world)
            world->ApplyAutoOpSettings(dialog->GetWorldConfig());
    }
    void OnAutoOpDialogClose(TAutoOpDialog*) override { closed++; }
    TIRCWorld* world = nullptr;
    int ok = 0;
    int closed = 0;
};

class AutoOpDialogWorldTest : public TWorldWindowTest {
protected:
    void Open(const TWorldConfig* given = nullptr)
    {
        TWorldConfig copy;
        if (given)
            copy = *given;
        else
            world->StoreServerTree(copy);
        dialog = std::make_unique<TAutoOpDialog>();
        dialog->SetWorldConfig(copy);
        dialog->SetListener(&result);
        dialog->SetImageList(frame.treeImages.m_hImageList);
        ASSERT_TRUE(dialog->Create(IDD_AUTO_OP_DIALOG, &frame));
        dialog->ShowWindow(SW_SHOWNORMAL);
        PumpPendingMessages();
        window = dialog->m_hWnd;
        tree = ::GetDlgItem(window, IDC_MASK_TREE);
    }
    // The n-th server item (from 0) under the root, or its channel.
    HTREEITEM ServerItem(int n, const wchar_t* channel = nullptr)
    {
        HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
        while (item && n-- > 0)
            item = TreeView_GetNextSibling(tree, item);
        if (item && channel) {
            for (item = TreeView_GetChild(tree, item); item; item = TreeView_GetNextSibling(tree, item))
                if (TreeItemText(tree, item) == channel)
                    break;
        }
        return item;
    }
    void Click(HTREEITEM target)
    {
        ASSERT_TRUE(target);
        RECT rect = {};
        TreeView_GetItemRect(tree, target, &rect, TRUE);
        ClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    std::vector<CString> Listed() { return dialog->GetListedMasks(); }
    void AddTyped(const wchar_t* mask)
    {
        FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
        TypeText(mask);
        PressKey(VK_RETURN);
    }

    TAppliedResult result;
    std::unique_ptr<TAutoOpDialog> dialog;
    HWND window = nullptr;
    HWND tree = nullptr;
};

} // namespace

TEST_F(AutoOpDialogWorldTest, ServersOfOneNameEditTheFirstsList)
{
    // The world renames a taken name, but a tree handed over as it stands may repeat one.
    Build();
    TWorldConfig copy;
    for (const wchar_t* masks : {L"first!*@*", L"second!*@*"}) {
        copy.Units.emplace_back();
        copy.Units.back().Name = L"dup";
        copy.Units.back().AutoOpMasks = {masks};
        copy.Units.back().Channels.emplace_back();
        copy.Units.back().Channels.back().Name = L"#c";
    }
    Open(&copy);

    // The second server's item shows the first one's list, and so do their channels.
    Click(ServerItem(1));
    EXPECT_EQ(std::vector<CString>{L"first!*@*"}, Listed());
    AddTyped(L"added!*@*");
    Click(ServerItem(0));
    EXPECT_EQ((std::vector<CString>{L"added!*@*", L"first!*@*"}), Listed());
    Click(ServerItem(1, L"#c"));
    AddTyped(L"chan!*@*");
    Click(ServerItem(0, L"#c"));
    EXPECT_EQ(std::vector<CString>{L"chan!*@*"}, Listed());

    ClickAt(ScreenPointOf(::GetDlgItem(window, IDOK)));
    WaitUntil([&] { return result.closed > 0; }, "the dialog closed");
    EXPECT_EQ(1, result.ok);
    EXPECT_EQ(1, result.closed);
    const TWorldConfig& edited = dialog->GetWorldConfig();
    EXPECT_EQ((std::vector<CString>{L"added!*@*", L"first!*@*"}), edited.Units[0].AutoOpMasks);
    EXPECT_EQ(std::vector<CString>{L"chan!*@*"}, edited.Units[0].Channels[0].AutoOpMasks);
    EXPECT_EQ(std::vector<CString>{L"second!*@*"}, edited.Units[1].AutoOpMasks);
    EXPECT_TRUE(edited.Units[1].Channels[0].AutoOpMasks.empty());
}

TEST_F(AutoOpDialogWorldTest, SelectNodeMatchesNamesExactlyAndCancelReportsOnlyClose)
{
    AddServer(L"Net", {L"#Room"});
    Build();
    Open();
    auto selected = [&] {
        HTREEITEM item = TreeView_GetSelection(tree);
        return item == ServerItem(0, L"#Room")  ? 2
               : item == ServerItem(0)          ? 1
               : item == TreeView_GetRoot(tree) ? 0
                                                : -1;
    };
    EXPECT_EQ(0, selected());
    EXPECT_TRUE(dialog->SelectNode(L"Net", L"#Room"));
    EXPECT_EQ(2, selected());
    EXPECT_FALSE(dialog->SelectNode(L"net", L""));
    EXPECT_EQ(2, selected()) << "names compare exactly";
    EXPECT_FALSE(dialog->SelectNode(L"Other", L"#Room"));
    EXPECT_EQ(2, selected()) << "no such server: no other level";
    EXPECT_TRUE(dialog->SelectNode(L"Net", L"bob"));
    EXPECT_EQ(1, selected()) << "a talk's masks go to its server";
    dialog->SelectNode(L"", L"#Room");
    EXPECT_EQ(0, selected());
    dialog->SelectNode(L"Net", L"");
    EXPECT_EQ(1, selected());

    AddTyped(L"x!*@*");
    FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return result.closed > 0; }, "the dialog closed");
    EXPECT_EQ(0, result.ok);
    EXPECT_EQ(1, result.closed);
    EXPECT_TRUE(dialog->GetWorldConfig().AutoOpMasks.empty());
}

// Masks the owner adds are listed once under IRC folding; the list scrolls as far as its widest
// mask until that one is deleted, and a level left and come back to lists what it held.
TEST_F(AutoOpDialogWorldTest, AddedMasksAreListedOnceAndScrollAsFarAsTheWidest)
{
    AddServer(L"Net", {L"#Room"});
    Build();
    Open();
    ASSERT_TRUE(dialog->SelectNode(L"Net", L""));
    HWND list = ::GetDlgItem(window, IDC_MASK_LIST);
    RECT client = {};
    ::GetClientRect(list, &client);
    auto extent = [&] { return (int)::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0); };
    auto sorted = [&] {
        std::vector<CString> masks = Listed();
        std::sort(masks.begin(), masks.end());
        return masks;
    };
    CString wide = L"x!*@" + CString(L'h', 120) + L".example";
    for (const CString& mask :
         {CString(L"amy!*@*"), CString(L"[bob]!*@*"), wide, CString(L"AMY!*@*"), CString(L"{BOB}!*@*")})
        dialog->AddMask(mask);
    EXPECT_EQ((std::vector<CString>{L"[bob]!*@*", L"amy!*@*", wide}), sorted());
    EXPECT_GT(extent(), client.right);

    int index = (int)::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(LPCWSTR)wide);
    ASSERT_GE(index, 0);
    ::SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
    FocusForInput(list);
    PressKey(VK_DELETE);
    EXPECT_EQ((std::vector<CString>{L"[bob]!*@*", L"amy!*@*"}), sorted());
    EXPECT_GT(extent(), 0);
    EXPECT_LT(extent(), client.right);

    Click(ServerItem(0, L"#Room"));
    EXPECT_TRUE(Listed().empty());
    Click(ServerItem(0));
    EXPECT_EQ((std::vector<CString>{L"[bob]!*@*", L"amy!*@*"}), sorted());
    EXPECT_EQ(dialog->AddMask(L"AMY!*@*"), -1) << "still found after coming back";
}
