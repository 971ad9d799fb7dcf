// The request dialog of an offered DCC chat as a user meets it: opened by the offer, filled,
// "接続" connects the chat talk, "閉じる" only closes, and the limit on open dialogs.

#include "tests/world/UserInfoFixture.h"

#include "dcc/DCCChatServer.h"
#include "dccwindows/DCCChatDialog.h"
#include "res/windows/dcc.h"
#include "tests/common/Screenshot.h"
#include "tests/net/NetTestSupport.h"

namespace {

// The recorder for everything else; the request dialogs are the world's real ones.
class TDialogFrame : public TSendRecorder {
public:
    IDCCChatRequest* OpenDCCChatDialog(IDCCChatDialogListener* listener, const CString& nick, const CString& address,
                                       int port, bool activate) override
    {
        return world->OpenDCCChatDialog(listener, nick, address, port, activate);
    }
    void OnDCCChatDialogClosed() override
    {
        world->OnDCCChatDialogClosed();
        TSendRecorder::OnDCCChatDialogClosed();
    }
    TIRCWorld* world = nullptr;
};

class TOfferingPeer : public IDCCChatServerListener {
public:
    int GetChatPort(TDCCChatServer*) override { return port; }
    void OnChatListening(TDCCChatServer*) override {}
    void OnChatAccepted(TDCCChatServer*) override { accepted = true; }
    void OnChatClosed(TDCCChatServer*) override {}
    void OnChatReceive(TDCCChatServer*, const CStringA&) override {}
    void OnChatError(TDCCChatServer*, const CString&) override {}
    int port = 0;
    bool accepted = false;
};

class DccChatDialogTest : public LoggedInWindowTest {
protected:
    void SetUp() override
    {
        LoggedInWindowTest::SetUp();
        frame.world = world.get();
        unit->SetFrame(&frame);
        preference.DCCChatAction = 1;
        peer.port = TPeer::UnusedPort();
        server.listener = &peer;
        server.Listen();
    }
    void Offer(const char* nick, int port)
    {
        Feed(std::string(":") + nick + "!u@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " +
             std::to_string(port) + "\1");
    }
    TDCCChatDialog* Dialog(size_t i)
    {
        const auto& open = unit->GetDccChatDialogs();
        return i < open.size() ? static_cast<TDCCChatDialog*>(open[i]) : nullptr;
    }

    TDialogFrame frame;
    TOfferingPeer peer;
    TDCCChatServer server;
};

} // namespace

TEST_F(DccChatDialogTest, ConnectOpensTheChatTalkAndConnects)
{
    Offer("peer", peer.port);
    TDCCChatDialog* dialog = Dialog(0);
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(Field(window, IDC_DCC_CHAT_NICK), CString(L"peer"));
    EXPECT_EQ(Field(window, IDC_DCC_CHAT_ADDRESS),
              CString(L"127.0.0.1:") + CString(std::to_wstring(peer.port).c_str()));
    ExpectRequestWindow(window, L"DCCチャット要求", IDC_DCC_CHAT_TIME, dialog->GetTimeText(), L"接続", L"閉じる");
    PumpPendingMessages();
    SaveWindowPng(window, ScreenshotPath(L"dcc-chat-request.png"));
    EXPECT_FALSE(unit->FindChannel(L"=peer"));

    ClickButton(window, IDOK);
    EXPECT_TRUE(unit->GetDccChatDialogs().empty());
    EXPECT_FALSE(::IsWindow(window));
    TIRCChannel* talk = unit->FindChannel(L"=peer");
    ASSERT_TRUE(talk);
    EXPECT_EQ(frame.frame, std::vector<std::string>{"select =peer"});
    ASSERT_TRUE(PumpMessagesUntil([&] { return talk->IsJoined() && peer.accepted; }, 5000));
}

// A peer that does not know its own address offers all ones: "接続" opens the talk, which tells
// where it connects and why that failed.
TEST_F(DccChatDialogTest, ConnectToAnAddressNobodyChatsFromShowsTheFailureInTheTalk)
{
    Feed(":lost!u@peer.example PRIVMSG kvnick :\1DCC CHAT chat 4294967295 4000\1");
    TDCCChatDialog* dialog = Dialog(0);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Field(dialog->m_hWnd, IDC_DCC_CHAT_ADDRESS), CString(L"255.255.255.255:4000"));
    ClickButton(dialog->m_hWnd, IDOK);
    TIRCChannel* talk = unit->FindChannel(L"=lost");
    ASSERT_TRUE(talk);
    EXPECT_EQ(frame.frame, std::vector<std::string>{"select =lost"});
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.ViewTexts(talk).size() >= 2; }, 10000));
    std::vector<std::string> shown = recorder.ViewTexts(talk);
    EXPECT_NE(shown[0].find("255.255.255.255:4000へ接続を試みます"), std::string::npos) << shown[0];
    EXPECT_NE(shown[1].find(Narrow(GetSocketErrorText(SystemConnectError(0xFFFFFFFF, 4000), SOCKET_ERROR_CONNECT))),
              std::string::npos)
        << shown[1];
    EXPECT_FALSE(talk->IsDCCChatLive());
    EXPECT_FALSE(talk->IsJoined());
}

TEST_F(DccChatDialogTest, CloseLeavesTheOfferUntaken)
{
    Offer("peer", peer.port);
    TDCCChatDialog* dialog = Dialog(0);
    ASSERT_TRUE(dialog);
    HWND window = dialog->m_hWnd;
    ClickButton(window, IDCANCEL);
    EXPECT_TRUE(unit->GetDccChatDialogs().empty());
    EXPECT_FALSE(::IsWindow(window));
    PumpMessagesFor(300);
    EXPECT_FALSE(unit->FindChannel(L"=peer"));
    EXPECT_FALSE(peer.accepted);
}

TEST_F(DccChatDialogTest, TheLimitCountsOpenDialogsOverTheWorld)
{
    preference.EnableMaxDCCChatRequestDialog = true;
    preference.MaxDCCChatRequestDialog = 1;
    Offer("peer", peer.port);
    Offer("second", peer.port);
    ASSERT_EQ(unit->GetDccChatDialogs().size(), 1u);
    EXPECT_EQ(Dialog(0)->GetNick(), CString(L"peer"));
    ClickButton(Dialog(0)->m_hWnd, IDCANCEL);
    Offer("third", peer.port);
    ASSERT_EQ(unit->GetDccChatDialogs().size(), 1u);
    EXPECT_EQ(Dialog(0)->GetNick(), CString(L"third"));
    // The unit's end closes what is still open.
    HWND window = Dialog(0)->m_hWnd;
    world->DeleteUnit(unit);
    unit = nullptr;
    EXPECT_FALSE(::IsWindow(window));
}
