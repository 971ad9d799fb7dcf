// The preference window over a main window whose server is the real IRC server of the engine
// tests: its OK reaches the open channel at once. The channel's log view drops lines past the new
// limit, its member list takes the new order, its log file moves to the new folder, and the new
// keyword marks the next line.

#include "tests/mainframe/MainFrameFixture.h"

#include "foundation/Path.h"
#include "logview/LogView.h"
#include "res/resource.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <commctrl.h>

#include <cstdio>
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
    std::vector<CString> MemberRows()
    {
        HWND list = world->GetCurrentMemberList()->m_hWnd;
        std::vector<CString> rows;
        for (int row = 0; row < ListView_GetItemCount(list); row++) {
            wchar_t text[64] = L"";
            ListView_GetItemText(list, row, 0, text, 64);
            rows.push_back(text);
        }
        return rows;
    }
    bool FileHolds(const CString& path, const char* text)
    {
        FILE* file = _wfopen(path, L"rb");
        if (!file)
            return false;
        std::string bytes;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        fclose(file);
        return bytes.find(text) != std::string::npos;
    }

    int port = 0;
};

} // namespace

TEST_F(PreferencesServerTest, OkReachesTheOpenChannelAtOnce)
{
    REQUIRE_PEER_PORT(ircPort, "IRC_PORT");
    net->Connect();
    TIRCChannel* channel = nullptr;
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return (channel = Channel(kChannel)) && channel->IsJoined(); }, 15000));
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(ircPort, "aapeer");
    ASSERT_TRUE(peer);
    peer->Send("JOIN #kvprefs\r\n");
    ASSERT_TRUE(peer->WaitFor(" 366 "));
    ASSERT_TRUE(PumpMessagesUntil([&] { return channel->FindMember(L"aapeer") != nullptr; }, 5000));
    world->Select(net, channel);
    PumpMessagesFor(100);
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

    // The keyword list and the log folder through their pages; the line limit and the member
    // order, whose pages come with the appearance pages, straight into the block meanwhile.
    auto show = [&](TPropertyPage* page) {
        HWND tree = dialog->GetTree();
        HTREEITEM item = dialog->FindItem(page);
        TreeView_EnsureVisible(tree, item);
        RECT rect = {};
        TreeView_GetItemRect(tree, item, &rect, TRUE);
        ClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        return PumpMessagesUntil([&] { return dialog->GetCurrentPage() == page; }, 3000);
    };
    auto type = [&](HWND edit, const wchar_t* text) {
        FocusForInput(edit);
        PressKey(VK_HOME, {VK_CONTROL});
        PressKey(VK_END, {VK_CONTROL, VK_SHIFT});
        PressKey(VK_DELETE);
        TypeText(text);
        PumpMessagesFor(20);
    };
    ASSERT_TRUE(show(&dialog->keywordPage));
    type(::GetDlgItem(dialog->keywordPage.m_hWnd, IDC_KEY_LIKE), L"needle");
    ASSERT_TRUE(show(&dialog->logPage));
    CString secondFolder = folder.path + L"second\\";
    type(::GetDlgItem(dialog->logPage.m_hWnd, IDC_LOG_FOLDER), secondFolder);
    ASSERT_EQ(secondFolder, GetControlText(::GetDlgItem(dialog->logPage.m_hWnd, IDC_LOG_FOLDER)));
    settings.preference.ChannelLogMaxLines = 5;
    settings.preference.MemberSortMethod = 0;
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, 3000));

    // At once, before any further line.
    EXPECT_EQ(5, channel->logView->GetLineCount());
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
