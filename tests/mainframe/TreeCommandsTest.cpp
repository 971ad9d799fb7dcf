// Copying and deleting servers and channels from the main window: the question asked, what
// Cancel keeps, and what the tree and tree.ini hold afterwards; a double click on a server.

#include "tests/mainframe/MainFrameFixture.h"

#include "controls/DoubleBufferedView.h"
#include "tests/common/BoxAnswerer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

namespace {

class TreeCommands : public MainFrameFixture {
protected:
    // Runs the action and answers the one question box it opens with OK or Cancel; what the box
    // said.
    CString RunAnswering(const wchar_t* action, int answer)
    {
        TBoxAnswerer answerer(answer == IDOK ? VK_RETURN : VK_ESCAPE);
        EXPECT_TRUE(frame->ExecuteAction(action)) << Narrow(action);
        PumpPendingMessages();
        EXPECT_EQ(answerer.texts.size(), 1u) << Narrow(action);
        return answerer.texts.empty() ? CString() : answerer.texts[0];
    }
    static std::vector<CString> Names(const std::vector<TUnitConfig>& units)
    {
        std::vector<CString> names;
        for (const TUnitConfig& unit : units) {
            names.push_back(unit.Name);
            for (const TChannelConfig& channel : unit.Channels)
                names.push_back(L"  " + channel.Name);
        }
        return names;
    }
};

TEST_F(TreeCommands, CopyDeleteChannelAndDeleteServerAskFirstAndWriteTheTree)
{
    using Names_ = std::vector<CString>;
    world->Select(net, nullptr);
    ASSERT_TRUE(frame->ExecuteAction(L"copyserver"));
    PumpPendingMessages();
    TIRCUnit* copy = world->FindUnit(L"net_");
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ((Names_{L"net", L"  #alpha", L"  #beta", L"net_", L"  #alpha", L"  #beta"}), Names(StoredUnits()));
    ASSERT_TRUE(frame->ExecuteAction(L"copyserver"));
    PumpPendingMessages();
    EXPECT_NE(nullptr, world->FindUnit(L"net__")) << "a taken name gets one more underscore";

    // A channel asks first; Cancel keeps it.
    world->Select(copy, copy->FindChannel(L"#beta"));
    EXPECT_STREQ(L"チャンネルを削除します", RunAnswering(L"deletechannel", IDCANCEL));
    EXPECT_NE(nullptr, copy->FindChannel(L"#beta"));
    world->Select(copy, copy->FindChannel(L"#beta"));
    EXPECT_STREQ(L"チャンネルを削除します", RunAnswering(L"deletechannel", IDOK));
    EXPECT_EQ(nullptr, copy->FindChannel(L"#beta"));

    // A server asks too, and goes with its channels.
    world->Select(copy, nullptr);
    EXPECT_STREQ(L"サーバを削除します", RunAnswering(L"deleteserver", IDCANCEL));
    EXPECT_TRUE(world->HasUnit(copy));
    EXPECT_STREQ(L"サーバを削除します", RunAnswering(L"deleteserver", IDOK));
    EXPECT_FALSE(world->HasUnit(copy));
    EXPECT_EQ((Names_{L"net", L"  #alpha", L"  #beta", L"net__", L"  #alpha", L"  #beta"}), Names(StoredUnits()));
}

// The world's rule alone opens or closes the branch: the control does not toggle it back.
TEST_F(TreeCommands, DoubleClickOnAServerTogglesItsBranchOnce)
{
    HWND tree = frame->GetServerTree()->m_hWnd;
    HTREEITEM item = world->FindUnitTreeItem(net);
    ASSERT_TRUE(item);
    // What the control asks its parent before it would toggle on its own.
    NMHDR asked = {tree, (UINT_PTR)::GetDlgCtrlID(tree), (UINT)NM_DBLCLK};
    EXPECT_EQ(1, ::SendMessageW(::GetParent(tree), WM_NOTIFY, asked.idFrom, (LPARAM)&asked));
    auto expanded = [&] { return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; };
    for (int round = 0; round < 2; round++) {
        bool before = expanded();
        RECT rect = {};
        TreeView_GetItemRect(tree, item, &rect, TRUE);
        DoubleClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        PumpPendingMessages();
        EXPECT_NE(before, expanded()) << "round " << round;
    }
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"mainframe-tree-double-clicked.png"));
}

} // namespace
