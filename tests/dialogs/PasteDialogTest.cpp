// The paste confirmation and the server tree order dialogs on their own: the text clean-ups
// clicked on real buttons, what Cancel keeps, where a dragged item really lands, and the
// names-only world the tree order returns.

#include "dialogs/PasteDialog.h"
#include "classlib/ToolBar.h"
#include "controls/UpdateDialog.h"
#include "dialogs/TreeDialog.h"
#include "res/resource.h"
#include "res/windows/paste.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

void Open(TPasteDialog& dialog, const wchar_t* text, const wchar_t* quote)
{
    dialog.SetText(text);
    dialog.SetQuote(quote);
    dialog.notice = false;
    ASSERT_TRUE(dialog.Create(IDD_PASTE_DIALOG, nullptr));
    dialog.ShowWindow(SW_SHOWNORMAL);
    ::SetForegroundWindow(dialog.m_hWnd);
    PumpPendingMessages();
}

} // namespace

TEST(PasteDialog, CleanUpButtonsRewriteTheText)
{
    const struct {
        const char* name;
        const wchar_t *text, *quote;
        int button;
        const wchar_t* expected;
    } rows[] = {
        {"blank lines go", L"a\r\n\r\n  \r\nb", L">", IDC_PASTE_REMOVE_BLANK, L"a\r\nb\r\n"},
        {"only blank lines", L" \r\n\t\r\n\r\n", L">", IDC_PASTE_REMOVE_BLANK, L""},
        {"one line gets its break", L"a", L">", IDC_PASTE_REMOVE_BLANK, L"a\r\n"},
        {"empty lines get the quote alone", L"a\r\n\r\nb", L"> ", IDC_PASTE_ADD_QUOTE, L"> a\r\n> \r\n> b"},
        {"an empty quote changes nothing", L"a\r\nb", L"", IDC_PASTE_ADD_QUOTE, L"a\r\nb"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TPasteDialog dialog;
        ASSERT_NO_FATAL_FAILURE(Open(dialog, row.text, row.quote));
        EXPECT_EQ(CString(row.text), Text(dialog.m_hWnd, IDC_PASTE_TEXT));
        Click(dialog.m_hWnd, row.button);
        EXPECT_EQ(CString(row.expected), Text(dialog.m_hWnd, IDC_PASTE_TEXT));
        Click(dialog.m_hWnd, IDOK);
        EXPECT_EQ(CString(row.expected), dialog.GetText());
    }
}

TEST(PasteDialog, CancelKeepsTheEditedTextQuoteAndNoticeChoice)
{
    TPasteDialog dialog;
    ASSERT_NO_FATAL_FAILURE(Open(dialog, L"one\r\ntwo", L">"));
    HWND quote = ::GetDlgItem(dialog.m_hWnd, IDC_PASTE_QUOTE);
    FocusForInput(quote);
    PressKey('A', {VK_CONTROL});
    TypeText(L"#");
    Click(dialog.m_hWnd, IDC_PASTE_ADD_QUOTE);
    Click(dialog.m_hWnd, IDC_PASTE_NOTICE);
    Click(dialog.m_hWnd, IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(dialog.m_hWnd));
    EXPECT_EQ(CString(L"#"), dialog.GetQuote());
    EXPECT_TRUE(dialog.notice);
    EXPECT_EQ(CString(L"#one\r\n#two"), dialog.GetText());
}

namespace {

// Servers A (#a1, #a2), B (#b1) and C (#c1), each with settings of their own.
class TreeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* server : {L"A", L"B", L"C"}) {
            TUnitConfig unit;
            unit.Name = server;
            unit.Port = 7000;
            unit.Nick = L"someone";
            dialog.world.Units.push_back(unit);
        }
        dialog.world.AutoOpMasks.push_back(L"*!*@op.example");
        for (auto [server, channel] : {std::pair{0, L"#a1"}, {0, L"#a2"}, {1, L"#b1"}, {2, L"#c1"}}) {
            TChannelConfig record;
            record.Name = channel;
            record.AutoJoin = false;
            dialog.world.Units[server].Channels.push_back(record);
        }
        // Drag images are made from the items' pictures: the main window always lends its own.
        images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 1);
        HICON icon =
            (HICON)::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0);
        for (int i = 0; i < 8; i++)
            images.Add(icon);
        dialog.imageList = &images;
        ASSERT_TRUE(dialog.Create(IDD_TREE_DIALOG, nullptr));
        dialog.ShowWindow(SW_SHOWNORMAL);
        ::SetForegroundWindow(dialog.m_hWnd);
        PumpPendingMessages();
    }
    HTREEITEM Item(const wchar_t* path)
    {
        TTreeView& tree = dialog.GetTree();
        CString text(path);
        int slash = text.Find(L'/');
        CString server = slash < 0 ? text : text.Left(slash);
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemText(item) != server)
                continue;
            if (slash < 0)
                return item;
            for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
                if (tree.GetItemText(child) == text.Mid(slash + 1))
                    return child;
        }
        ADD_FAILURE() << "no item " << Narrow(text);
        return nullptr;
    }
    POINT Centre(const wchar_t* path)
    {
        RECT rect = {};
        dialog.GetTree().GetItemRect(Item(path), &rect, TRUE);
        return ScreenPointOf(dialog.GetTree().m_hWnd, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    // Servers and channels in tree order, a channel as "server/channel", spaced.
    CString Order()
    {
        TTreeView& tree = dialog.GetTree();
        CString order;
        for (HTREEITEM server = tree.GetRootItem(); server; server = tree.GetNextSiblingItem(server)) {
            order += (order.IsEmpty() ? L"" : L" ") + tree.GetItemText(server);
            for (HTREEITEM channel = tree.GetChildItem(server); channel; channel = tree.GetNextSiblingItem(channel))
                order += L" " + tree.GetItemText(server) + L"/" + tree.GetItemText(channel);
        }
        return order;
    }
    CImageList images;
    TTreeDialog dialog;
};

} // namespace

TEST_F(TreeDialogTest, DropTargetsKeepChannelsInTheirOwnServer)
{
    const struct {
        const wchar_t *dragged, *under, *resolved;
    } rows[] = {
        {L"A", L"B", L"B"},
        {L"A", L"C/#c1", L"C"},
        {L"C", L"A/#a2", L"A"},
        {L"A/#a2", L"A/#a1", L"A/#a1"},
        {L"A/#a1", L"A", L"A/#a1"},
        {L"A/#a2", L"A", L"A/#a1"},
        {L"A/#a1", L"C", L"A/#a2"},
        {L"A/#a1", L"B/#b1", L"A/#a2"},
        {L"C/#c1", L"A/#a1", L"C/#c1"},
        {L"B/#b1", L"A", L"B/#b1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(CString(row.dragged) + L" onto " + row.under));
        EXPECT_EQ(Item(row.resolved), dialog.ResolveTarget(Item(row.dragged), Item(row.under)));
    }
}

TEST_F(TreeDialogTest, OkReturnsTheOrderAsNamesWithDefaultSettings)
{
    TTreeView& tree = dialog.GetTree();
    // The second server with its channel moves up above the first.
    ClickAt(ScreenPointOf(tree.m_hWnd, 0, 0));
    ClickAt(Centre(L"B"));
    ASSERT_EQ(Item(L"B"), tree.GetSelectedItem());
    Click(dialog.m_hWnd, IDC_TREE_UP);
    EXPECT_EQ(Item(L"B"), tree.GetSelectedItem());
    Click(dialog.m_hWnd, IDOK);

    const TWorldConfig& world = dialog.world;
    ASSERT_EQ(3u, world.Units.size());
    EXPECT_TRUE(world.AutoOpMasks.empty());
    const wchar_t* names[] = {L"B", L"A", L"C"};
    const TUnitConfig defaults;
    const TChannelConfig channelDefaults;
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(CString(names[i]), world.Units[i].Name);
        EXPECT_EQ(defaults.Port, world.Units[i].Port);
        EXPECT_EQ(defaults.Nick, world.Units[i].Nick);
        for (const TChannelConfig& channel : world.Units[i].Channels)
            EXPECT_EQ(channelDefaults.AutoJoin, channel.AutoJoin);
    }
    ASSERT_EQ(2u, world.Units[1].Channels.size());
    EXPECT_EQ(CString(L"#a1"), world.Units[1].Channels[0].Name);
    EXPECT_EQ(CString(L"#a2"), world.Units[1].Channels[1].Name);
    ASSERT_EQ(1u, world.Units[0].Channels.size());
    EXPECT_EQ(CString(L"#b1"), world.Units[0].Channels[0].Name);
}

// Each row drags on the tree the row before left.
TEST_F(TreeDialogTest, DraggedItemsLandBeforeOrAfterTheirTargetWithinTheirLevel)
{
    const struct {
        const char* name;
        const wchar_t *dragged, *under, *order;
    } rows[] = {
        {"a channel onto a server below ends its own server", L"A/#a1", L"C", L"A A/#a2 A/#a1 B B/#b1 C C/#c1"},
        {"a server onto a server below goes after it", L"A", L"B", L"B B/#b1 A A/#a2 A/#a1 C C/#c1"},
        {"a server onto a channel of a server above goes before that server", L"C", L"A/#a1",
         L"B B/#b1 C C/#c1 A A/#a2 A/#a1"},
        {"a channel onto a server above starts its own server", L"A/#a1", L"B", L"B B/#b1 C C/#c1 A A/#a1 A/#a2"},
    };
    TTreeView& tree = dialog.GetTree();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FocusForInput(tree.m_hWnd);
        DragMouse(Centre(row.dragged), Centre(row.under));
        EXPECT_EQ(CString(row.order), Order());
        HTREEITEM selected = tree.GetSelectedItem();
        ASSERT_EQ(Item(row.dragged), selected);
        // Up is off on the first item of its level, Down on the last.
        EXPECT_EQ(tree.GetPrevSiblingItem(selected) != nullptr, Enabled(dialog.m_hWnd, IDC_TREE_UP));
        EXPECT_EQ(tree.GetNextSiblingItem(selected) != nullptr, Enabled(dialog.m_hWnd, IDC_TREE_DOWN));
    }
}
