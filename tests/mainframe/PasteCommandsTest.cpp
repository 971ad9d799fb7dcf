// Several lines pasted or sent from the menu, the about box and the server tree order, as a
// user meets them: the dialog opens over the main window, is answered with real input, and
// the scripted server reads what was sent; the settings files keep what the dialogs left.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "controls/UpdateDialog.h"
#include "dialogs/AutoOpDialog.h"
#include "foundation/CodePage.h"
#include "res/resource.h"
#include "res/windows/autoop.h"
#include "res/windows/dialogs.h"
#include "settings/Preference.h"
#include "tests/common/ControlText.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/FreedMemory.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/TempFolder.h"

#include <commctrl.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

HTREEITEM ItemOf(HWND tree, HTREEITEM parent, const wchar_t* text)
{
    std::vector<CString> texts = ChildTexts(tree, parent);
    HTREEITEM item = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree);
    for (const CString& each : texts) {
        if (each == text)
            return item;
        item = TreeView_GetNextSibling(tree, item);
    }
    ADD_FAILURE() << "no item " << Narrow(text);
    return nullptr;
}

std::vector<CString> Names(const std::vector<TUnitConfig>& units)
{
    std::vector<CString> names;
    for (const TUnitConfig& unit : units)
        names.push_back(unit.Name);
    return names;
}

std::vector<CString> Names(const std::vector<TChannelConfig>& channels)
{
    std::vector<CString> names;
    for (const TChannelConfig& channel : channels)
        names.push_back(channel.Name);
    return names;
}

class PasteCommands : public ServedFrameFixture {
protected:
    void TearDown() override
    {
        StopWatching();
        ServedFrameFixture::TearDown();
    }
    std::vector<std::string> LinesStarting(const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& line : peer->Lines())
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    void PasteIntoInputLine()
    {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        PressKey('V', {VK_CONTROL});
    }
    // The bottom right corner dragged to near the top left, as far as the window lets it go.
    static void DragCornerInwards(HWND window)
    {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        DragMouse(POINT{rect.right - 3, rect.bottom - 3}, POINT{rect.left + 20, rect.top + 20});
    }
    // The step runs in the window once it shows, inside the window's own loop.
    void Watch(std::function<bool(HWND)> match, std::function<void(HWND)> step)
    {
        shown = false;
        WhenShown(match, [this, step](HWND dialog) {
            shown = true;
            step(dialog);
        });
    }
    // Waits for the watched window's step to have run, then stops watching. A dialog only shows
    // once its own loop first runs dry, which a loaded machine may put off for seconds.
    bool WaitWatched()
    {
        bool ran = PumpMessagesUntil([&] { return shown; }, 10000);
        StopWatching();
        return ran;
    }
    // Nothing went to the server, and the quote and the notice choice are kept, in memory and in
    // the file.
    void ExpectNothingSentAndChoicesKept(const wchar_t* quote, bool notice)
    {
        RoundTrip();
        EXPECT_TRUE(LinesStarting("PRIVMSG").empty()) << peer->Received();
        EXPECT_TRUE(LinesStarting("NOTICE").empty()) << peer->Received();
        EXPECT_EQ(CString(quote), settings.preference.ReferenceMark);
        EXPECT_EQ(notice, settings.preference.SendMultiLineByNotice);
        EXPECT_EQ(CString(quote), SavedPreference().ReferenceMark) << "in the file";
        EXPECT_EQ(notice, SavedPreference().SendMultiLineByNotice) << "in the file";
    }
    TPreference SavedPreference()
    {
        TPreference saved;
        saved.Load(settings.GetSettingsFolder());
        return saved;
    }
    bool shown = false;
};

} // namespace

TEST_F(PasteCommands, ConfirmedPasteSendsEachLineAndCancelSendsNothing)
{
    settings.preference.SendMultiLineByNotice = false;
    settings.preference.ReferenceMark = L">";
    const wchar_t* text = L"first line\r\nsecond line\r\n\r\nthird line";
    CopyTextToClipboard(text);

    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        EXPECT_EQ(CString(L"貼り付け確認"), GetControlText(dialog));
        EXPECT_EQ(CString(text), Text(dialog, IDC_PASTE_TEXT));
        EXPECT_EQ(CString(L">"), Text(dialog, IDC_PASTE_QUOTE));
        EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dialog, IDC_PASTE_NOTICE));
        Retype(::GetDlgItem(dialog, IDC_PASTE_QUOTE), L"| ");
        Click(dialog, IDC_PASTE_NOTICE);
        SaveWindowPng(dialog, ScreenshotPath(L"paste-dialog.png"));
        Click(dialog, IDCANCEL);
    });
    PasteIntoInputLine();
    ASSERT_TRUE(WaitWatched());
    // Cancel still keeps the quote and the notice choice.
    ExpectNothingSentAndChoicesKept(L"| ", true);
    EXPECT_EQ(CString(), GetControlText(frame->GetInputLine()->m_hWnd));

    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        EXPECT_EQ(CString(L"| "), Text(dialog, IDC_PASTE_QUOTE));
        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(dialog, IDC_PASTE_NOTICE));
        Click(dialog, IDC_PASTE_NOTICE);
        Click(dialog, IDOK);
    });
    PasteIntoInputLine();
    ASSERT_TRUE(WaitWatched());
    ASSERT_TRUE(peer->WaitFor("PRIVMSG #alpha :third line", 3000)) << peer->Received();
    RoundTrip();
    EXPECT_EQ((std::vector<std::string>{"PRIVMSG #alpha :first line", "PRIVMSG #alpha :second line",
                                        "PRIVMSG #alpha :third line"}),
              LinesStarting("PRIVMSG"));
    EXPECT_TRUE(LinesStarting("NOTICE").empty());
    EXPECT_FALSE(SavedPreference().SendMultiLineByNotice);
}

// The talk closes while its paste waits in the dialog and a talk opened then takes its memory:
// OK sends the lines to no one.
TEST_F(PasteCommands, ConfirmedPasteForATalkClosedMeanwhileGoesNowhere)
{
    TIRCChannel* talk = net->OpenTalk(TIRCMember(L"bob", L"b", L"h.example"));
    ASSERT_NE(talk, nullptr);
    world->Select(net, talk);
    CopyTextToClipboard(L"first line\r\nsecond line");
    TFreedMemoryTrap trap(talk);
    TIRCChannel* later = nullptr;
    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        world->RemoveChannelNode(net, talk);
        later = net->OpenTalk(TIRCMember(L"dan", L"d", L"h.example"));
        Click(dialog, IDOK);
    });
    PasteIntoInputLine();
    ASSERT_TRUE(WaitWatched());
    ASSERT_EQ((void*)later, (void*)talk) << "the talk in the freed memory";
    // A line typed to the new talk afterwards comes after anything the paste queued.
    net->SendInput(later, L"typed after", false, false, false);
    ASSERT_TRUE(peer->WaitFor("PRIVMSG dan :typed after", kWaitBoundMs)) << peer->Received();
    EXPECT_EQ((std::vector<std::string>{"PRIVMSG dan :typed after"}), LinesStarting("PRIVMSG"));
    EXPECT_TRUE(LinesStarting("NOTICE").empty()) << peer->Received();
}

TEST_F(PasteCommands, OnlyTextWithoutALineBreakGoesStraightToTheInputLine)
{
    HWND input = frame->GetInputLine()->m_hWnd;
    CopyTextToClipboard(L"just one");
    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) { Click(dialog, IDCANCEL); });
    PasteIntoInputLine();
    // The question is modal: had the paste asked it, it would have come and gone inside the key.
    StopWatching();
    EXPECT_FALSE(shown);
    EXPECT_EQ(CString(L"just one"), GetControlText(input));

    // A line break at the end is a line to send too: the dialog shows the text first.
    settings.preference.SendMultiLineByNotice = false;
    Retype(input, L"");
    CopyTextToClipboard(L"just one\r\n");
    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        EXPECT_EQ(CString(L"just one\r\n"), Text(dialog, IDC_PASTE_TEXT));
        Click(dialog, IDOK);
    });
    PasteIntoInputLine();
    ASSERT_TRUE(WaitWatched());
    ASSERT_TRUE(peer->WaitFor("PRIVMSG #alpha :just one", 3000)) << peer->Received();
    RoundTrip();
    EXPECT_EQ(std::vector<std::string>{"PRIVMSG #alpha :just one"}, LinesStarting("PRIVMSG"));
    EXPECT_EQ(CString(), GetControlText(input));
}

TEST_F(PasteCommands, SendMultiLineCleansQuotesAndSendsNoticesAtTheKeptSize)
{
    settings.preference.SendMultiLineByNotice = true;
    settings.preference.ReferenceMark = L"> ";
    settings.geometry.pasteSize = {520, 330};
    CopyTextToClipboard(L"alpha\r\n \t\r\n\r\nbeta");

    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        EXPECT_EQ(CString(L"複数行を送信"), GetControlText(dialog));
        EXPECT_EQ(::GetDlgItem(dialog, IDC_PASTE_TEXT), ::GetFocus());
        RECT rect = {};
        ::GetWindowRect(dialog, &rect);
        EXPECT_EQ(520, rect.right - rect.left);
        EXPECT_EQ(330, rect.bottom - rect.top);

        Click(dialog, IDC_PASTE_REMOVE_BLANK);
        EXPECT_EQ(CString(L"alpha\r\nbeta\r\n"), Text(dialog, IDC_PASTE_TEXT));
        Click(dialog, IDC_PASTE_ADD_QUOTE);
        EXPECT_EQ(CString(L"> alpha\r\n> beta"), Text(dialog, IDC_PASTE_TEXT));

        // Dragging the corner far inwards stops at the smallest size.
        DragCornerInwards(dialog);
        ::GetWindowRect(dialog, &rect);
        EXPECT_EQ(400, rect.right - rect.left);
        EXPECT_EQ(160, rect.bottom - rect.top);
        // Cancel keeps to the bottom right corner, the notice box to the bottom left.
        RECT client = {}, cancel = WindowRectIn(::GetDlgItem(dialog, IDCANCEL), dialog);
        RECT box = WindowRectIn(::GetDlgItem(dialog, IDC_PASTE_NOTICE), dialog);
        ::GetClientRect(dialog, &client);
        EXPECT_LT(client.right - cancel.right, 20);
        EXPECT_LT(client.bottom - cancel.bottom, 20);
        EXPECT_LT(box.left, 20);
        EXPECT_LT(client.bottom - box.bottom, 20);
        SaveWindowPng(dialog, ScreenshotPath(L"paste-dialog-small.png"));
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(frame->ExecuteAction(L"sendmultiline"));
    ASSERT_TRUE(WaitWatched());
    ASSERT_TRUE(peer->WaitFor("NOTICE #alpha :> beta", 3000)) << peer->Received();
    RoundTrip();
    EXPECT_EQ((std::vector<std::string>{"NOTICE #alpha :> alpha", "NOTICE #alpha :> beta"}), LinesStarting("NOTICE"));
    EXPECT_EQ(400, settings.geometry.pasteSize.width);
    EXPECT_EQ(160, settings.geometry.pasteSize.height);
}

TEST_F(PasteCommands, SendMultiLineWithItsTextEmptiedSendsNothingAndStillKeepsTheChoices)
{
    settings.preference.SendMultiLineByNotice = true;
    settings.preference.ReferenceMark = L">";
    settings.geometry.pasteSize = {520, 330};
    CopyTextToClipboard(L"alpha\r\nbeta");

    // The menu's own steps take the one later step, so the dialog is watched for.
    Watch(HasControl(IDC_PASTE_NOTICE), [&](HWND dialog) {
        Retype(::GetDlgItem(dialog, IDC_PASTE_TEXT), L"");
        EXPECT_EQ(CString(), Text(dialog, IDC_PASTE_TEXT));
        Retype(::GetDlgItem(dialog, IDC_PASTE_QUOTE), L"| ");
        Click(dialog, IDC_PASTE_NOTICE);
        DragCornerInwards(dialog);
        Click(dialog, IDOK);
    });
    // "複数行を送信(&M)..." is the Edit menu's, the fourth of the bar, with its key shown.
    RECT edit = {};
    ::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), 3, &edit);
    TShownMenu editMenu = ReadOpenedPopup(
        [&] {
            ClickAt(POINT{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2});
        },
        ScreenshotPath(L"edit-menu.png"));
    ASSERT_TRUE(editMenu.Find(ID_SEND_MULTI_LINE)) << "not in the Edit menu";
    EXPECT_EQ(CString(L"複数行を送信(&M)...\tCtrl+D"), editMenu.Find(ID_SEND_MULTI_LINE)->text);
    EXPECT_FALSE(editMenu.Grayed(ID_SEND_MULTI_LINE)) << "the channel is joined";
    ChooseFromMenuBar(3, {'M'});
    ASSERT_TRUE(WaitWatched());
    ExpectNothingSentAndChoicesKept(L"| ", false);
    EXPECT_EQ(400, settings.geometry.pasteSize.width);
    EXPECT_EQ(160, settings.geometry.pasteSize.height);

    // The File menu's &M is minimising's alone.
    ChooseFromMenuBar(0, {'M'});
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) != FALSE; }, 3000))
        << "File, M did not minimise the window";
    EXPECT_FALSE(FindShownWindow(HasControl(IDC_PASTE_NOTICE))) << "File, M opened the send window";
}

// The first copyright line of a licence file the build took the about box's texts from.
CString CopyrightLineOf(const char* unixPath)
{
    CString path = L"Z:" + ConvertFromUtf8(unixPath);
    path.Replace(L'/', L'\\');
    std::istringstream lines(ReadFileString(path));
    for (std::string line; std::getline(lines, line);)
        if (line.find("opyright (") != std::string::npos)
            return ConvertFromUtf8(line.substr(0, line.find_last_not_of('\r') + 1).c_str());
    return CString();
}

TEST_F(PasteCommands, AboutBoxShowsTheVersionAndTheCreditsFromTheTop)
{
    // Each linked library's licence under its title, with the copyright line of the source built.
    const struct {
        const wchar_t* title;
        const char* file;
    } licences[] = {
        {L"The Modified (3-clause) BSD License", KV_JPEG_LICENSE},
        {L"LEGAL ISSUES", KV_JPEG_IJG_README},
        {L"Oniguruma LICENSE", KV_ONIG_LICENSE},
        {L"Apache License", KV_OPENSSL_README},
    };
    Watch(HasControl(IDC_ABOUT_AUTHOR), [&](HWND dialog) {
        EXPECT_EQ(CString(L"Ketroval について"), GetControlText(dialog));
        EXPECT_EQ(CString(L"2.40"), Text(dialog, IDC_ABOUT_VERSION));
        HWND credits = ::GetDlgItem(dialog, IDC_ABOUT_CREDITS);
        CString text = GetControlText(credits);
        EXPECT_GE(text.Find(L"This software is based in part on the work of the Independent JPEG Group."), 0);
        for (const auto& licence : licences) {
            EXPECT_GE(text.Find(licence.title), 0) << Narrow(licence.title);
            const CString copyright = CopyrightLineOf(licence.file);
            EXPECT_FALSE(copyright.IsEmpty()) << licence.file;
            EXPECT_GE(text.Find(copyright), 0) << Narrow(copyright);
        }
        EXPECT_GE(text.Find(L"Version 2.0, January 2004"), 0);
        EXPECT_EQ(-1, text.Find(L"SSLeay")) << "OpenSSL 3 is under the Apache License alone";
        EXPECT_EQ(0, ::SendMessageW(credits, EM_GETFIRSTVISIBLELINE, 0, 0));
        EXPECT_GT(::SendMessageW(credits, EM_GETLINECOUNT, 0, 0), 100);
        SaveWindowPng(dialog, ScreenshotPath(L"about-box.png"));
        PressKey(VK_ESCAPE);
    });
    // The help menu is the menu bar's last.
    ChooseFromMenuBar(::GetMenuItemCount(::GetMenu(frame->m_hWnd)) - 1, {'A'});
    EXPECT_TRUE(WaitWatched());
    WaitUntil([&] { return !FindShownWindow(HasControl(IDC_ABOUT_AUTHOR)); }, "the box closed");
}

// Two more servers come before "net" in the settings: "south" and "west", one channel each.
class TreeOrderCommands : public PasteCommands {
protected:
    void SetUp() override
    {
        for (const wchar_t* name : {L"south", L"west"}) {
            TUnitConfig unit;
            unit.Name = name;
            unit.Nick = L"other";
            unit.Channels.emplace_back();
            unit.Channels.back().Name = CString(L"#") + name;
            settings.world.Units.push_back(unit);
        }
        PasteCommands::SetUp();
    }
};

// Moving each server and channel to its place leaves the node selected where it was and the
// marks of nodes the user did not choose as they were.
TEST_F(TreeOrderCommands, TheEditorsOkKeepsTheSelectionAndTheMarksOfOtherNodes)
{
    TIRCUnit* south = world->FindUnit(L"south");
    TIRCUnit* west = world->FindUnit(L"west");
    ASSERT_TRUE(south && west);
    TIRCChannel* southChannel = south->FindChannel(L"#south");
    world->Select(south, southChannel);
    PumpPendingMessages();
    west->updateMark = net->updateMark = alpha->keywordMark = true;
    Watch(HasControl(IDC_TREE_UP), [&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_TRUE(frame->ExecuteAction(L"tree"));
    ASSERT_TRUE(WaitWatched());
    PumpPendingMessages();
    EXPECT_TRUE(world->IsSelected(south, southChannel));
    EXPECT_TRUE(west->updateMark) << "the server after the selected one's";
    EXPECT_TRUE(net->updateMark);
    EXPECT_TRUE(alpha->keywordMark);
}

TEST_F(TreeOrderCommands, ServerTreeOrderMovesServersAndChannelsAndSavesTheTree)
{
    world->Select(net, alpha);
    PumpPendingMessages();

    // Cancel leaves everything as it was.
    Watch(HasControl(IDC_TREE_UP), [&](HWND dialog) {
        Click(dialog, IDC_TREE_DOWN);
        Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(frame->ExecuteAction(L"tree"));
    ASSERT_TRUE(WaitWatched());
    TWorldConfig now;
    world->StoreServerTree(now);
    EXPECT_EQ((std::vector<CString>{L"south", L"west", L"net"}), Names(now.Units));

    // An open auto-op window on the channel, with a mask added but not yet confirmed.
    EXPECT_TRUE(frame->ExecuteAction(L"channeloperatorlist"));
    WaitUntil([&] { return frame->GetAutoOpDialog() != nullptr; }, "the auto-op window open");
    TAutoOpDialog* autoOp = frame->GetAutoOpDialog();
    ASSERT_TRUE(autoOp);
    autoOp->AddMask(L"kept!*@*");
    // And the macro settings window, a column per server.
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    ASSERT_TRUE(frame->GetMacroSettings());
    HWND macroList = frame->GetMacroSettings()->GetList().m_hWnd;
    std::vector<CString> headings = ColumnHeadings(macroList);
    ASSERT_EQ(4u, headings.size());
    EXPECT_EQ((std::vector<CString>{L"south", L"west", L"net"}),
              std::vector<CString>(headings.begin() + 1, headings.end()));

    Watch(HasControl(IDC_TREE_UP), [&](HWND dialog) {
        EXPECT_EQ(CString(L"サーバツリーの編集"), GetControlText(dialog));
        HWND tree = ::GetDlgItem(dialog, IDC_TREE_VIEW);
        EXPECT_EQ((std::vector<CString>{L"south", L"west", L"net"}), ChildTexts(tree, nullptr));
        EXPECT_EQ(TreeView_GetRoot(tree), TreeView_GetSelection(tree));
        EXPECT_EQ((std::vector<CString>{L"#alpha", L"#beta"}), ChildTexts(tree, ItemOf(tree, nullptr, L"net")));
        EXPECT_FALSE(Enabled(dialog, IDC_TREE_UP));
        EXPECT_TRUE(Enabled(dialog, IDC_TREE_DOWN));

        // Down twice takes "south" with its channel to the end, where Down is off.
        Click(dialog, IDC_TREE_DOWN);
        Click(dialog, IDC_TREE_DOWN);
        EXPECT_EQ((std::vector<CString>{L"west", L"net", L"south"}), ChildTexts(tree, nullptr));
        EXPECT_EQ((std::vector<CString>{L"#south"}), ChildTexts(tree, ItemOf(tree, nullptr, L"south")));
        EXPECT_FALSE(Enabled(dialog, IDC_TREE_DOWN));
        EXPECT_TRUE(Enabled(dialog, IDC_TREE_UP));

        // A channel dropped on a server above its own goes first in its own server.
        HTREEITEM netItem = ItemOf(tree, nullptr, L"net");
        DragMouse(ItemPoint(tree, ItemOf(tree, netItem, L"#beta")), ItemPoint(tree, ItemOf(tree, nullptr, L"west")));
        netItem = ItemOf(tree, nullptr, L"net");
        EXPECT_EQ((std::vector<CString>{L"#beta", L"#alpha"}), ChildTexts(tree, netItem));
        EXPECT_EQ((std::vector<CString>{L"west", L"net", L"south"}), ChildTexts(tree, nullptr));

        // A server dropped on a channel of a server above goes before that server.
        DragMouse(ItemPoint(tree, ItemOf(tree, nullptr, L"south")), ItemPoint(tree, ItemOf(tree, netItem, L"#alpha")));
        EXPECT_EQ((std::vector<CString>{L"west", L"south", L"net"}), ChildTexts(tree, nullptr));
        SaveWindowPng(dialog, ScreenshotPath(L"server-tree-order.png"));
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(frame->ExecuteAction(L"tree"));
    ASSERT_TRUE(WaitWatched());
    PumpPendingMessages();

    world->StoreServerTree(now);
    EXPECT_EQ((std::vector<CString>{L"west", L"south", L"net"}), Names(now.Units));
    EXPECT_EQ((std::vector<CString>{L"#beta", L"#alpha"}), Names(now.Units[2].Channels));
    // The selected channel stays selected, and the servers keep their settings.
    EXPECT_TRUE(world->IsSelected(net, alpha));
    EXPECT_EQ(CString(L"other"), now.Units[0].Nick);
    EXPECT_EQ(CString(L"kvme"), now.Units[2].Nick);
    EXPECT_EQ(TIRCUnit::StateLoggedIn, net->GetState());

    // The auto-op window follows the new order and keeps its place and its unconfirmed mask.
    HWND autoOpTree = ::GetDlgItem(autoOp->m_hWnd, IDC_MASK_TREE);
    HTREEITEM worldItem = TreeView_GetRoot(autoOpTree);
    EXPECT_EQ((std::vector<CString>{L"west", L"south", L"net"}), ChildTexts(autoOpTree, worldItem));
    EXPECT_EQ((std::vector<CString>{L"#beta", L"#alpha"}),
              ChildTexts(autoOpTree, ItemOf(autoOpTree, worldItem, L"net")));
    HTREEITEM picked = TreeView_GetSelection(autoOpTree);
    EXPECT_EQ(CString(L"#alpha"), TreeItemText(autoOpTree, picked));
    EXPECT_EQ(CString(L"net"), TreeItemText(autoOpTree, TreeView_GetParent(autoOpTree, picked)));
    EXPECT_EQ(std::vector<CString>{L"kept!*@*"}, ListBoxLines(::GetDlgItem(autoOp->m_hWnd, IDC_MASK_LIST)));
    ::PostMessageW(autoOp->m_hWnd, WM_COMMAND, IDOK, 0);
    PumpMessagesUntil([&] { return frame->GetAutoOpDialog() == nullptr; }, 3000);
    EXPECT_EQ(std::vector<CString>{L"kept!*@*"}, alpha->GetConfig().AutoOpMasks);
    headings = ColumnHeadings(macroList);
    EXPECT_EQ((std::vector<CString>{L"west", L"south", L"net"}),
              std::vector<CString>(headings.begin() + 1, headings.end()))
        << "the macro settings window follows the new order";

    const std::vector<TUnitConfig> reread = StoredUnits();
    EXPECT_EQ((std::vector<CString>{L"west", L"south", L"net"}), Names(reread));
    ASSERT_EQ(3u, reread.size());
    EXPECT_EQ((std::vector<CString>{L"#beta", L"#alpha"}), Names(reread[2].Channels));
}
