// The WHO and WHOIS windows on a real ngircd: a second client with a Japanese real name shares a
// channel with the unit; the WHO window fills, refreshes and saves, the WHOIS window shows the
// real reply. Screenshots of both are kept for a person to look at.

#include "tests/world/UserInfoFixture.h"
#include "tests/world/WhoWindowDriver.h"

#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/net/NetTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"

namespace {

const wchar_t kPeerRealName[] = L"\x65E5\x672C\x8A9E\x306E\x540D\x524D";

class UserInfoServerTest : public UserInfoWindowTest {
protected:
    std::unique_ptr<TLineSocket> Peer(int port, const std::string& nick)
    {
        std::unique_ptr<TLineSocket> peer = ConnectLineSocket(port);
        if (!peer)
            return nullptr;
        CStringA realName = ConvertToUtf8(kPeerRealName);
        peer->Send("NICK " + nick + "\r\nUSER " + nick + "u 0 * :" + realName.GetString() + "\r\n");
        if (!peer->WaitFor(" 001 " + nick))
            return nullptr;
        peer->Send("JOIN #kv-who\r\n");
        return peer->WaitFor(" 366 ") ? std::move(peer) : nullptr;
    }
    TIRCChannel* JoinedChannel()
    {
        TIRCChannel* channel = unit->FindChannel(L"#kv-who");
        bool ready = PumpMessagesUntil(
            [&] {
                return channel && channel->IsJoined() && channel->whoComplete && channel->GetMembers().GetCount() == 2;
            },
            15000);
        return ready ? channel : nullptr;
    }
    int RowOf(TWhoWindowDriver& driver, const CString& nick)
    {
        std::vector<CString> nicks = driver.Nicks();
        for (size_t i = 0; i < nicks.size(); i++)
            if (nicks[i] == nick)
                return (int)i;
        return -1;
    }
};

TEST_F(UserInfoServerTest, WhoWindowFillsRefreshesAndSavesAndWhoisWindowShowsTheReply)
{
    REQUIRE_PEER_PORT(port, "IRC_PORT");
    std::unique_ptr<TLineSocket> peer = Peer(port, "kvwhopeer");
    ASSERT_TRUE(peer);
    tree.Units[0].Nick = L"kvwho";
    tree.Units[0].Channels.emplace_back();
    tree.Units[0].Channels.back().Name = L"#kv-who";
    preference.LogCodepage = CP_UTF8;
    Build(port, CP_UTF8);
    unit->Connect();
    TIRCChannel* channel = JoinedChannel();
    ASSERT_NE(channel, nullptr);

    channel->ShowWhoDialog();
    TWhoDialog* window = static_cast<TWhoDialog*>(channel->GetWhoDialog());
    ASSERT_NE(window, nullptr);
    TWhoWindowDriver driver(window);
    ASSERT_EQ(driver.Nicks(), (std::vector<CString>{L"kvwho", L"kvwhopeer"}));
    TListView* list = window->GetListView();
    int row = RowOf(driver, L"kvwhopeer");
    EXPECT_EQ(list->GetItemText(row, 4), kPeerRealName);
    EXPECT_EQ(list->GetItemText(row, 5), L"irc.test.local");
    CString peerUser = list->GetItemText(row, 2), peerHost = list->GetItemText(row, 3);
    EXPECT_NE(peerUser.Find(L"kvwhopeeru"), -1);

    // A third user joins: the JOIN brings a row without server and real name; Update fills them.
    std::unique_ptr<TLineSocket> third = Peer(port, "kvwhothird");
    ASSERT_TRUE(third);
    ASSERT_TRUE(PumpMessagesUntil([&] { return RowOf(driver, L"kvwhothird") >= 0; }, 10000));
    EXPECT_EQ(list->GetItemText(RowOf(driver, L"kvwhothird"), 5), L"");
    FocusForInput(list->m_hWnd);
    ClickButton(window->m_hWnd, IDC_WHO_UPDATE);
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return channel->whoComplete && list->GetItemText(RowOf(driver, L"kvwhothird"), 5) == L"irc.test.local"; },
        10000));
    SaveWindowPng(window->m_hWnd, ScreenshotPath(L"who-window.png"));

    CString path = folder.path + L"\\kv-who.txt";
    TFileDialogAnswer answer = driver.SaveThroughDialog(path, true);
    EXPECT_EQ(answer.defaultName, L"#kv-who-members.txt");
    CStringA saved = ReadFileBytes(path);
    CString peerLine = L"kvwhopeer\t" + peerUser + L"\t" + peerHost + L"\tirc.test.local\t" + kPeerRealName + L"\r\n";
    EXPECT_NE(saved.Find(ConvertToUtf8(peerLine)), -1) << saved.GetString();
    int lines = 0;
    for (int i = 0; i < saved.GetLength(); i++)
        lines += saved[i] == '\n';
    EXPECT_EQ(lines, 3);

    unit->SendWhois(L"kvwhopeer");
    // Idle time comes late in the reply; the window is filled when it is there.
    ASSERT_TRUE(PumpMessagesUntil(
        [&] {
            return WhoisWindow(L"kvwhopeer") && !Field(WhoisWindow(L"kvwhopeer")->m_hWnd, IDC_WHOIS_IDLE).IsEmpty();
        },
        10000));
    HWND whois = WhoisWindow(L"kvwhopeer")->m_hWnd;
    EXPECT_EQ(Field(whois, IDC_WHOIS_NICK), L"kvwhopeer");
    EXPECT_EQ(Field(whois, IDC_WHOIS_USER), peerUser);
    EXPECT_EQ(Field(whois, IDC_WHOIS_HOST), peerHost);
    EXPECT_EQ(Field(whois, IDC_WHOIS_REAL_NAME), kPeerRealName);
    EXPECT_EQ(Field(whois, IDC_WHOIS_SERVER), L"irc.test.local / Ketroval test server");
    EXPECT_NE(GetControlText(::GetDlgItem(whois, IDC_WHOIS_CHANNELS)).Find(L"#kv-who"), -1);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !Field(whois, IDC_WHOIS_ADDRESS).IsEmpty(); }, 5000));
    SaveWindowPng(whois, ScreenshotPath(L"whois-window.png"));

    unit->SendQuit(L"done");
    PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateDisconnected; }, 10000);
}

} // namespace
