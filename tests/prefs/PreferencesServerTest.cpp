// The preference window over a main window whose server is the real IRC server of the engine
// tests: its OK reaches the open channel at once. The channel's log view drops lines past the new
// limit, its member list takes the new order, its log file moves to the new folder, and the new
// keyword marks the next line.

#include "tests/mainframe/MainFrameFixture.h"

#include "dialogs/FontDialog.h"
#include "foundation/Path.h"
#include "log/Formatter.h"
#include "logview/LogView.h"
#include "res/resource.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"
#include "tests/prefs/ChooserSteps.h"
#include "tests/prefs/PreferenceSteps.h"
#include "tests/prefs/SheetSteps.h"

#include <commctrl.h>

#include <algorithm>

#include <string>

namespace {

const wchar_t kChannel[] = L"#kvprefs";

class PreferencesServerTest : public MainFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig& unit) override
    {
        port = atoi(PeerValue("IRC_PORT").c_str());
        unit.Hostname = L"127.0.0.1";
        unit.Port = port;
        unit.Nick = L"kvprefme";
        unit.Username = L"kvpref";
        unit.Channels.emplace_back();
        unit.Channels.back().Name = kChannel;
        unit.Channels.back().AutoJoin = true;
        TPreference& p = settings.preference;
        p.LogRootDir = folder.path + L"first\\";
        p.EnableChannelLog = true;
        p.ChannelLogFile = L"%c.txt";
        p.ChannelLogMaxLines = 1000;
        p.MemberSortMethod = 1;
    }
    std::vector<CString> MemberRows() { return ListViewColumnTexts(world->GetCurrentMemberList()->m_hWnd); }
    bool FileHolds(const CString& path, const char* text)
    {
        return ReadFileString(path).find(text) != std::string::npos;
    }

    static int FontHeight(HWND window)
    {
        LOGFONTW font = {};
        ::GetObjectW((HFONT)::SendMessageW(window, WM_GETFONT, 0, 0), sizeof font, &font);
        return abs(font.lfHeight);
    }
    static COLORREF BottomRightPixel(HWND window)
    {
        RECT client;
        ::GetClientRect(window, &client);
        ::UpdateWindow(window);
        HDC dc = ::GetDC(window);
        COLORREF color = ::GetPixel(dc, client.right - 3, client.bottom - 3);
        ::ReleaseDC(window, dc);
        return color;
    }

    // The longest line the view holds and whether one begins with prefix.
    static int LongestLine(TLogView& view, const CString& prefix, bool& found)
    {
        int longest = 0;
        found = false;
        for (int i = 0; i < view.GetLineCount(); i++) {
            CString text = view.GetLine(i).GetText();
            longest = std::max(longest, text.GetLength());
            found = found || text.Find(prefix) >= 0;
        }
        return longest;
    }

    int port = 0;
};

} // namespace

TEST_F(PreferencesServerTest, OkReachesTheOpenChannelAtOnce)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PORT");
    net->Connect();
    TIRCChannel* channel = nullptr;
    ASSERT_TRUE(PumpMessagesUntil([&] { return (channel = Channel(kChannel)) && channel->IsJoined(); }, 15000));
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(ircPort, "aapeer");
    ASSERT_TRUE(peer);
    peer->Send("JOIN #kvprefs\r\n");
    ASSERT_TRUE(peer->WaitFor(" 366 "));
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->FindMember(L"aapeer") != nullptr; }, 5000));
    world->Select(net, channel);
    PumpPendingMessages();
    for (int i = 0; i < 12; i++)
        peer->Send("PRIVMSG #kvprefs :line " + std::to_string(i) + "\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->logView && channel->logView->GetLineCount() >= 12; }, 5000));
    EXPECT_EQ((std::vector<CString>{L"kvprefme", L"aapeer"}), MemberRows()) << "the operator first";
    CString firstFile = channel->logger.GetCurrentPath();
    EXPECT_EQ(0, firstFile.Find(folder.path + L"first\\"));

    // The preferences from the main window's key, then again: one window, brought forward.
    FocusForInput(frame->m_hWnd);
    PressKey('S', {VK_MENU});
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() != nullptr; }, 3000));
    TPreferenceDialog* dialog = frame->GetPreferenceDialog();
    frame->SendMessageW(WM_COMMAND, ID_PREFERENCES, 0);
    EXPECT_EQ(dialog, frame->GetPreferenceDialog());

    // The keyword list, the log folder, the line limit, the member order, the layout and the
    // input line's background, each through its page.
    auto show = [&](TPropertyPage* page) { return ShowPreferencePage(dialog, page); };
    auto type = [&](HWND edit, const wchar_t* text) {
        FocusForInput(edit);
        PressKey(VK_HOME, {VK_CONTROL});
        PressKey(VK_END, {VK_CONTROL, VK_SHIFT});
        PressKey(VK_DELETE);
        TypeText(text);
    };
    ASSERT_TRUE(show(&dialog->keywordPage));
    type(::GetDlgItem(dialog->keywordPage.m_hWnd, IDC_KEY_LIKE), L"needle");
    ASSERT_TRUE(show(&dialog->logPage));
    CString secondFolder = folder.path + L"second\\";
    type(::GetDlgItem(dialog->logPage.m_hWnd, IDC_LOG_FOLDER), secondFolder);
    ASSERT_EQ(secondFolder, GetControlText(::GetDlgItem(dialog->logPage.m_hWnd, IDC_LOG_FOLDER)));
    ASSERT_TRUE(show(&dialog->viewLayoutPage));
    HWND layout = dialog->viewLayoutPage.m_hWnd;
    type(::GetDlgItem(layout, IDC_LAYOUT_CHANNEL_LINES), L"5");
    FocusForInput(::GetDlgItem(layout, IDC_LAYOUT_MEMBER_SORT));
    PressKey(VK_HOME);
    ClickAt(ScreenPointOf(::GetDlgItem(layout, IDC_LAYOUT_THREE_COLUMNS), 6, 6));
    WaitUntil([&] { return ::IsDlgButtonChecked(layout, IDC_LAYOUT_THREE_COLUMNS) == BST_CHECKED; },
              "three columns chosen");
    ASSERT_TRUE(show(&dialog->viewEditPage));
    ASSERT_TRUE(
        ClickAndChoose(::GetDlgItem(dialog->viewEditPage.m_hWnd, IDC_EDIT_VIEW_BACK_COLOR), RGB(250, 240, 200)));
    // The member list's background and a bigger font, the server tree's background.
    auto choose = [&](TPropertyPage* page, int button, COLORREF color, const wchar_t* size) {
        EXPECT_TRUE(ClickAndChoose(::GetDlgItem(page->m_hWnd, button), color, size));
    };
    ASSERT_TRUE(show(&dialog->viewListPage));
    choose(&dialog->viewListPage, IDC_VIEW_NORMAL_BACK, RGB(230, 250, 210), nullptr);
    choose(&dialog->viewListPage, IDC_VIEW_FONT, 0, L"20");
    ASSERT_TRUE(show(&dialog->viewTreePage));
    choose(&dialog->viewTreePage, IDC_VIEW_NORMAL_BACK, RGB(210, 230, 250), nullptr);
    HWND members = world->GetCurrentMemberList()->m_hWnd;
    HWND tree = frame->GetContentPanel().GetServerTree()->m_hWnd;
    int memberFontHeight = FontHeight(members);
    TSplitter* root = frame->GetContentPanel().GetRootSplitter();
    EXPECT_NE(TSplitter::BOTH, root->mode) << "two columns until OK";
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, 3000));

    // At once, before any further line.
    EXPECT_EQ(5, channel->logView->GetLineCount());
    EXPECT_EQ(TSplitter::BOTH, root->mode) << "three columns";
    EXPECT_EQ(RGB(250, 240, 200), frame->GetInputLine()->backgroundColor);
    EXPECT_EQ(RGB(230, 250, 210), (COLORREF)ListView_GetBkColor(members));
    EXPECT_EQ(RGB(210, 230, 250), (COLORREF)TreeView_GetBkColor(tree));
    EXPECT_GT(FontHeight(members), memberFontHeight) << "the member list's new font";
    EXPECT_EQ(RGB(230, 250, 210), BottomRightPixel(members)) << "painted at once";
    EXPECT_EQ(RGB(210, 230, 250), BottomRightPixel(tree)) << "painted at once";
    RECT first = {LVIR_LABEL, 0, 0, 0}, second = {LVIR_LABEL, 0, 0, 0}, overlap;
    ListView_GetItemRect(members, 0, &first, LVIR_LABEL);
    ListView_GetItemRect(members, 1, &second, LVIR_LABEL);
    EXPECT_FALSE(::IntersectRect(&overlap, &first, &second)) << "the rows were laid out for the new font";
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"prefs-applied-frame.png"));
    EXPECT_EQ((std::vector<CString>{L"aapeer", L"kvprefme"}), MemberRows()) << "by nick alone now";
    CString secondFile = channel->logger.GetCurrentPath();
    EXPECT_EQ(0, secondFile.Find(secondFolder)) << Narrow(secondFile);
    EXPECT_TRUE(PathExists(secondFile));
    EXPECT_TRUE(FileHolds(firstFile, "line 11"));
    EXPECT_EQ(L"needle", settings.preference.keyword.Like.at(0));

    // The next line: the keyword marks the channel, and the line goes to the new file.
    world->Select(net, nullptr);
    peer->Send("PRIVMSG #kvprefs :a needle in the hay\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->keywordMark; }, 5000));
    EXPECT_TRUE(PumpMessagesUntil([&] { return FileHolds(secondFile, "a needle in the hay"); }, 3000));
    EXPECT_FALSE(FileHolds(firstFile, "a needle in the hay"));
    EXPECT_TRUE(FileHolds(settings.GetSettingsFolder() + L"preference.ini", "needle"));
    peer->Send("QUIT :bye\r\n");
}

// A shared theme whose join format pads its letter to the widest place thirty thousand times: the
// samples and the channel's join line are cut at the line bound, and the program goes on.
TEST_F(PreferencesServerTest, AThemeThatMultipliesItsLettersIsCutAtTheBound)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PORT");
    std::string join;
    for (int i = 0; i < 30000; i++)
        join += "%9999n";
    CString themes = settings.GetUserThemeFolder();
    CreateFolderTree(themes);
    std::string theme = "Encoding=UTF-8\r\n[Format]\r\nJoin=" + join + "\r\n";
    ASSERT_TRUE(WriteFileBytes(themes + L"hostile.theme", CStringA(theme.data(), (int)theme.size())));
    net->Connect();
    TIRCChannel* channel = nullptr;
    ASSERT_TRUE(PumpMessagesUntil([&] { return (channel = Channel(kChannel)) && channel->IsJoined(); }, 15000));
    world->Select(net, channel);

    frame->SendMessageW(WM_COMMAND, ID_PREFERENCES, 0);
    TPreferenceDialog* dialog = frame->GetPreferenceDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->viewPage));
    HWND list = ::GetDlgItem(dialog->viewPage.m_hWnd, IDC_THEME_LIST);
    int entry = (int)::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)L"hostile");
    ASSERT_GE(entry, 0);
    ClickListItem(list, entry);
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->viewPage.m_hWnd, IDC_THEME_LOAD_ALL)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return dialog->GetWorkingView().formats.Join.GetLength() > 9999; }, 5000))
        << "the theme was not loaded";
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->viewLogTextPage));
    bool found = false;
    TLogView& sample = dialog->viewLogTextPage.GetChannelSample();
    ASSERT_TRUE(
        PumpMessagesUntil([&] { return LongestLine(sample, L"Someone   ", found) >= kMaxFormattedLength; }, 5000))
        << "the samples show the join line";
    EXPECT_TRUE(found);
    EXPECT_LE(LongestLine(sample, L"Someone   ", found), kMaxFormattedLength + 32);
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"prefs-hostile-theme-samples.png"));
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, 5000));

    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(ircPort, "aajoiner");
    ASSERT_TRUE(peer);
    peer->Send("JOIN #kvprefs\r\n");
    ASSERT_TRUE(peer->WaitFor(" 366 "));
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return LongestLine(*channel->logView, L"aajoiner   ", found) >= kMaxFormattedLength && found; }, 5000))
        << "the join line is logged";
    EXPECT_LE(LongestLine(*channel->logView, L"aajoiner", found), kMaxFormattedLength + 32);
    EXPECT_TRUE(PumpMessagesUntil([&] { return FileHolds(channel->logger.GetCurrentPath(), "aajoiner   "); }, 3000));
    EXPECT_LT(ReadFileString(channel->logger.GetCurrentPath()).size(), (size_t)(4 * kMaxFormattedLength));
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"prefs-hostile-theme-join.png"));
    peer->Send("QUIT :bye\r\n");
}
