// DCC chat talks of a logged-in unit, over real loopback chat connections: offers taken at
// once or through the request dialog, chats the user offers, the lines both ways in their code
// pages, and the ends of a chat.

#include "dcc/DCCChatClient.h"
#include "dcc/DCCChatServer.h"
#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "tests/common/MessagePump.h"
#include "tests/irc/SendSideSupport.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using Lines = std::vector<std::string>;

// The other user's end of a chat: a server for an offer we take, a client for one we make.
class TChatPeer : public IDCCChatClientListener, public IDCCChatServerListener {
public:
    void OnChatConnected(TDCCChatClient*) override { events.push_back("connected"); }
    void OnChatClosed(TDCCChatClient*) override { events.push_back("closed"); }
    void OnChatReceive(TDCCChatClient*, const CStringA& line) override { lines.push_back(Bytes(line)); }
    void OnChatError(TDCCChatClient*, const CString&) override { events.push_back("error"); }
    int GetChatPort(TDCCChatServer*) override { return port; }
    void OnChatListening(TDCCChatServer*) override { events.push_back("listening"); }
    void OnChatAccepted(TDCCChatServer*) override { events.push_back("accepted"); }
    void OnChatClosed(TDCCChatServer*) override { events.push_back("closed"); }
    void OnChatReceive(TDCCChatServer*, const CStringA& line) override { lines.push_back(Bytes(line)); }
    void OnChatError(TDCCChatServer*, const CString&) override { events.push_back("error"); }

    int port = 0;
    Lines events;
    Lines lines;
};

class UnitDccChatTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        TSendSideTest::SetUp();
        LogIn();
    }
    // Our peer listens and offers; the unit takes the offer.
    TIRCChannel* AcceptOfferFrom(TDCCChatServer& server)
    {
        peer.port = TPeer::UnusedPort();
        server.listener = &peer;
        server.Listen();
        preference.DCCChatAction = 2;
        Feed(":peer!pu@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(peer.port) + "\1");
        send.events.clear();
        return unit->FindChannel(L"=peer");
    }
    bool WaitJoined(TIRCChannel* talk)
    {
        return PumpMessagesUntil([&] { return talk->IsJoined(); }, 5000);
    }
    bool WaitPeerLines(size_t count)
    {
        return PumpMessagesUntil([&] { return peer.lines.size() >= count; }, 5000);
    }
    bool WaitView(TIRCChannel* talk, size_t count)
    {
        return PumpMessagesUntil([&] { return recorder.ViewTexts(talk).size() >= count; }, 5000);
    }
    // The talk's lines without their time stamps.
    Lines Shown(TIRCChannel* talk)
    {
        Lines texts = recorder.ViewTexts(talk);
        for (std::string& text : texts)
            if (text.size() > 6 && text[2] == ':' && text[5] == ' ')
                text.erase(0, 6);
        return texts;
    }
    // The same from the given line on.
    Lines ViewFrom(TIRCChannel* talk, size_t first)
    {
        Lines all = Shown(talk);
        return Lines(all.begin() + std::min(first, all.size()), all.end());
    }

    TChatPeer peer;
};

} // namespace

TEST_F(UnitDccChatTest, AnOfferTakenAtOnceConnectsAndLinesFlowBothWays)
{
    preference.SelectOnAutoAcceptChat = true;
    TDCCChatServer server;
    TIRCChannel* talk = AcceptOfferFrom(server);
    ASSERT_TRUE(talk);
    EXPECT_EQ(talk->GetKind(), TIRCChannel::KindDccChat);
    EXPECT_EQ(talk->GetPeerName(), CString(L"peer"));
    EXPECT_EQ(send.frame, Lines{"select =peer"});
    EXPECT_FALSE(unit->SendInput(talk, L"too early", false, false, true));
    ASSERT_TRUE(WaitJoined(talk));
    ASSERT_TRUE(WaitView(talk, 2));
    const std::string port = std::to_string(peer.port);
    EXPECT_EQ(Shown(talk), (Lines{"127.0.0.1:" + port + "へ接続を試みます", "接続しました"}));

    server.SendLine("hello there");
    ASSERT_TRUE(WaitView(talk, 3));
    EXPECT_EQ(ViewFrom(talk, 2), Lines{"(peer) hello there"});
    EXPECT_EQ(send.events, Lines{"onDccChatText =peer hello there"});
    EXPECT_EQ(recorder.macroEvents.back(), "DCCCHATMESSAGE =peer hello there");

    // Typed text goes to the chat, not to the server, even with the notice and action keys.
    send.events.clear();
    EXPECT_TRUE(unit->SendInput(talk, L"hi", false, false, true));
    EXPECT_TRUE(unit->SendInput(talk, L"as notice", true, true, true));
    unit->SendTextLines(talk, L"pasted one\r\n\r\npasted two", false);
    ASSERT_TRUE(WaitPeerLines(4));
    EXPECT_EQ(peer.lines, (Lines{"hi", "as notice", "pasted one", "pasted two"}));
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_EQ(ViewFrom(talk, 3),
              (Lines{"(kvnick) hi", "(kvnick) as notice", "(kvnick) pasted one", "(kvnick) pasted two"}));
    EXPECT_EQ(send.events, (Lines{"onDccChatText =peer hi", "onDccChatText =peer as notice",
                                  "onDccChatText =peer pasted one", "onDccChatText =peer pasted two"}));
    EXPECT_EQ(recorder.macroEvents.back(), "DCCCHATMESSAGE =peer pasted two");
}

TEST_F(UnitDccChatTest, ClosingEndsTheTalkAndTypedTextIsRefusedAfterwards)
{
    auto server = std::make_unique<TDCCChatServer>();
    TIRCChannel* talk = AcceptOfferFrom(*server);
    ASSERT_TRUE(talk && WaitJoined(talk));
    size_t shown = recorder.ViewTexts(talk).size();
    server.reset();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !talk->IsJoined(); }, 5000));
    EXPECT_EQ(ViewFrom(talk, shown), Lines{"切断されました"});
    EXPECT_FALSE(unit->SendInput(talk, L"anyone?", false, false, true));
    EXPECT_TRUE(unit->HasChannel(talk)); // the talk stays with its log
}

TEST_F(UnitDccChatTest, FailuresPrintTheirTextAndLeaveTheTalk)
{
    struct Case {
        const char* name;
        std::function<TIRCChannel*()> start;
        std::string text;
    };
    const Case cases[] = {
        {"nobody listens on the offered port",
         [&] {
             preference.DCCChatAction = 2;
             Feed(":peer!pu@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " +
                  std::to_string(TPeer::UnusedPort()) + "\1");
             return unit->FindChannel(L"=peer");
         },
         Narrow(GetSocketErrorText(WSAECONNREFUSED, SOCKET_ERROR_CONNECT))},
        {"no port in the chat range",
         [&] {
             preference.DCCChatPortStart = 2000;
             preference.DCCChatPortEnd = 1999;
             TIRCChannel* talk = unit->AddDccChatChannel(TIRCMember(L"other", CString(), CString()));
             unit->StartDccChatServer(talk);
             return talk;
         },
         "空きポートがありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TIRCChannel* talk = c.start();
        ASSERT_TRUE(talk);
        ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.ViewTexts(talk).size() >= 2; }, 5000));
        EXPECT_EQ(Shown(talk).back(), c.text);
        EXPECT_FALSE(talk->IsJoined());
        EXPECT_FALSE(unit->SendInput(talk, L"text", false, false, true));
    }
}

// A range of 0 to 0 lets the system choose the port, and the offer names the one bound.
TEST_F(UnitDccChatTest, AChatTheUserOffersListensSendsTheOfferAndTakesThePeer)
{
    for (int range : {TPeer::UnusedPort(), 0}) {
        const wchar_t* name = range ? L"friend" : L"chooser";
        const std::string nick = Narrow(name);
        SCOPED_TRACE(nick);
        preference.DCCChatPortStart = preference.DCCChatPortEnd = range;
        TIRCChannel* talk = unit->AddDccChatChannel(TIRCMember(name, L"fu", L"friend.example"));
        ASSERT_TRUE(talk);
        EXPECT_EQ(talk->GetName(), L"=" + CString(name));
        unit->StartDccChatServer(talk);
        // The own address is not known here: all ones.
        const Lines offer = TakeQueued();
        std::smatch port;
        ASSERT_EQ(offer.size(), 1u);
        ASSERT_TRUE(std::regex_match(offer[0], port,
                                     std::regex("PRIVMSG " + nick + " :\1DCC CHAT chat 4294967295 ([1-9]\\d*)\1")))
            << offer[0];
        const std::string text = port[1].str();
        EXPECT_TRUE(!range || text == std::to_string(range)) << text;
        EXPECT_EQ(Shown(talk),
                  (Lines{"サーバの準備を始めます", "ポート" + text + "を確保しました", "チャットの要求を送信します"}));

        TDCCChatClient client;
        client.listener = &peer;
        client.SetPeer(L"127.0.0.1", std::stoi(text));
        client.Connect();
        ASSERT_TRUE(WaitJoined(talk));
        EXPECT_EQ(Shown(talk).back(), "接続しました");
        client.SendLine(CStringA(("from " + nick).c_str()));
        ASSERT_TRUE(WaitView(talk, 5));
        EXPECT_EQ(Shown(talk).back(), "(" + nick + ") from " + nick);
        peer.lines.clear();
        EXPECT_TRUE(unit->SendInput(talk, L"back to you", false, false, true));
        ASSERT_TRUE(WaitPeerLines(1));
        EXPECT_EQ(peer.lines, Lines{"back to you"});
    }
}

TEST_F(UnitDccChatTest, ReceivedLinesChooseTheCodePageOfTheReplies)
{
    const CString japanese = L"\x65E5\x672C\x8A9E";
    struct Case {
        const char* name;
        bool adaptive;
        CStringA received;
        int encoding;
        CStringA reply;
    };
    const Case cases[] = {
        {"JIS detected", true, EncodeIso2022Jp(japanese, 0), 1, EncodeIso2022Jp(japanese, 0)},
        {"UTF-8 detected", true, ConvertToUtf8(japanese), 2, ConvertToUtf8(japanese)},
        {"the server's code page when not adaptive", false, EncodeIso2022Jp(japanese, 0), 0,
         EncodeIso2022Jp(japanese, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preference.DCCChatAdaptiveEncodingSelection = c.adaptive;
        peer.lines.clear();
        TDCCChatServer server;
        TIRCChannel* talk = AcceptOfferFrom(server);
        ASSERT_TRUE(talk && WaitJoined(talk));
        size_t shown = recorder.ViewTexts(talk).size();
        server.SendLine(c.received);
        ASSERT_TRUE(WaitView(talk, shown + 1));
        EXPECT_EQ(Shown(talk).back(), "(peer) " + Narrow(japanese));
        EXPECT_EQ(talk->chatEncoding, c.encoding);
        ASSERT_TRUE(unit->SendInput(talk, japanese, false, false, true));
        ASSERT_TRUE(WaitPeerLines(1));
        EXPECT_EQ(Hex(peer.lines[0]), Hex(Bytes(c.reply)));
        unit->DeleteChannel(talk);
    }
}

TEST_F(UnitDccChatTest, CommandTargetsNameChatTalksWithAnEqualsSign)
{
    TDCCChatServer server;
    TIRCChannel* talk = AcceptOfferFrom(server);
    ASSERT_TRUE(talk && WaitJoined(talk));
    TIRCChannel* channel = AddJoined(L"#chan");
    size_t shown = recorder.ViewTexts(talk).size();
    // The talk gets the whole text; the channel the usual PRIVMSG; a missing talk is skipped.
    EXPECT_EQ(Run(L"PRIVMSG =peer,#chan,=nobody both of you"), Lines{"PRIVMSG #chan :both of you"});
    EXPECT_EQ(Run(L"PRIVMSG =peer quietly", true), Lines{});
    // While the server connection starts again the chat still carries the talk's part.
    unit->GetSession().state = TIRCUnit::StateConnecting;
    const size_t channelLines = recorder.ViewTexts(channel).size();
    EXPECT_EQ(Run(L"PRIVMSG =peer,#chan reconnecting"), Lines{});
    ASSERT_TRUE(WaitPeerLines(3));
    EXPECT_EQ(peer.lines, (Lines{"both of you", "quietly", "reconnecting"}));
    EXPECT_EQ(ViewFrom(talk, shown), (Lines{"(kvnick) both of you", "(kvnick) quietly", "(kvnick) reconnecting"}));
    EXPECT_EQ(recorder.ViewTexts(channel).size(), channelLines) << "the channel got nothing";
    EXPECT_EQ(std::count(send.events.begin(), send.events.end(), "onDccChatText =peer both of you"), 1);
    EXPECT_EQ(std::count(send.events.begin(), send.events.end(), "onDccChatText =peer quietly"), 0);
}

TEST_F(UnitDccChatTest, ALineWithBreaksOrNulStaysOneLineOnTheChat)
{
    TDCCChatServer server;
    TIRCChannel* talk = AcceptOfferFrom(server);
    ASSERT_TRUE(talk && WaitJoined(talk));
    EXPECT_TRUE(unit->SendInput(talk, L"typed\rQUIT", false, false, true));
    talk->SendDCCChatLine(L"script\nline");
    talk->SendDCCChatLine(CString(L"nul\0inside", 10));
    unit->ExecuteCommand(L"PRIVMSG =peer cmd\r\nmore", false);
    ASSERT_TRUE(WaitPeerLines(4));
    PumpMessagesFor(200);
    // The text ends at a NUL on its way into the code page.
    EXPECT_EQ(peer.lines, (Lines{"typed", "script", "nul", "cmd"}));
}

TEST_F(UnitDccChatTest, APeerSendingAMegabyteWithoutALineFeedIsCutOff)
{
    TPeer raw;
    raw.Send("first\n").Send(std::string(TTCPClient::MaxReceiveBuffer + 4096, 'x')).Pause(2000).Run();
    preference.DCCChatAction = 2;
    Feed(":peer!pu@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(raw.Port()) + "\1");
    TIRCChannel* talk = unit->FindChannel(L"=peer");
    ASSERT_TRUE(talk);
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.ViewTexts(talk).size() >= 4; }, 5000));
    EXPECT_EQ(ViewFrom(talk, 1),
              (Lines{"接続しました", "(peer) first", Narrow(GetSocketErrorText(WSAENOBUFS, SOCKET_ERROR_RECEIVE))}));
    EXPECT_FALSE(talk->IsJoined());
}

TEST_F(UnitDccChatTest, OffersToAskAboutOpenRequestDialogsWithinTheLimit)
{
    preference.DCCChatAction = 1;
    send.dialogLimit = 1;
    TDCCChatServer server;
    peer.port = TPeer::UnusedPort();
    server.listener = &peer;
    server.Listen();
    const std::string port = std::to_string(peer.port);
    Feed(":peer!pu@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + port + "\1");
    Feed(":second!su@second.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 4000\1");
    EXPECT_EQ(send.dcc, (Lines{"chat ask peer 127.0.0.1 " + port, "chat ask second 127.0.0.1 4000"}));
    ASSERT_EQ(unit->GetDccChatDialogs().size(), 1u); // the limit refused the second
    EXPECT_FALSE(unit->FindChannel(L"=peer"));

    IDCCChatRequest* dialog = unit->GetDccChatDialogs()[0];
    unit->OnDCCChatAccepted(dialog);
    unit->OnDCCChatDialogClosed(dialog);
    EXPECT_EQ(send.liveDialogs, 0);
    EXPECT_TRUE(unit->GetDccChatDialogs().empty());
    EXPECT_EQ(send.dcc.back(), "chat dialog closed");
    EXPECT_EQ(send.frame, Lines{"select =peer"});
    TIRCChannel* talk = unit->FindChannel(L"=peer");
    ASSERT_TRUE(talk && WaitJoined(talk));
    server.SendLine("accepted");
    ASSERT_TRUE(WaitView(talk, 3));
    EXPECT_EQ(Shown(talk).back(), "(peer) accepted");
    // A dialog the unit does not hold is ignored.
    unit->OnDCCChatDialogClosed(dialog);
    EXPECT_EQ(std::count(send.dcc.begin(), send.dcc.end(), "chat dialog closed"), 1);
}

TEST_F(UnitDccChatTest, ChatTalksOfOneNickAreNumberedAndOnlyLiveChatsLimitTheOffersTaken)
{
    TIRCMember member(L"dup", CString(), CString());
    EXPECT_EQ(unit->AddDccChatChannel(member)->GetName(), CString(L"=dup"));
    EXPECT_EQ(unit->AddDccChatChannel(member)->GetName(), CString(L"=dup0"));
    EXPECT_EQ(unit->AddDccChatChannel(member)->GetName(), CString(L"=dup1"));

    auto talks = [&](bool liveOnly) {
        int count = 0;
        for (TIRCChannel* channel : unit->GetChannels())
            count += channel->GetKind() == TIRCChannel::KindDccChat && (!liveOnly || channel->IsDCCChatLive());
        return count;
    };
    const std::string refused = "接続中のDCCチャットが多すぎるため、flood からのチャットの要求を受け付けませんでした";
    auto refusals = [&] {
        Lines shown = recorder.ViewTexts(nullptr);
        return std::count_if(shown.begin(), shown.end(),
                             [&](const std::string& line) { return line.find(refused) != std::string::npos; });
    };
    // A peer whose listening socket takes every connection and never answers keeps them live.
    int port = 0;
    SOCKET listener = ListenOnLoopback(SOMAXCONN, port);
    ASSERT_NE(listener, INVALID_SOCKET);
    auto offer = [&] {
        Feed(":flood!f@f.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(port) + "\1");
    };
    preference.DCCChatAction = 2;
    const int base = talks(false);
    for (int i = 0; i < TIRCUnit::kMaxDccChatTalks + 10; i++)
        offer();
    EXPECT_EQ(talks(false), base + TIRCUnit::kMaxDccChatTalks);
    EXPECT_EQ(refusals(), 10);
    // Ended chats keep their talks but no longer count: the next offer is taken.
    closesocket(listener);
    ASSERT_TRUE(PumpMessagesUntil([&] { return talks(true) == 0; }, 20000));
    offer();
    EXPECT_EQ(talks(false), base + TIRCUnit::kMaxDccChatTalks + 1);
    EXPECT_EQ(refusals(), 10);
}

// An offer of an address or port nobody can chat from opens its talk like any other: the talk
// says where it connects and then why it could not.
TEST_F(UnitDccChatTest, OffersNobodyCanChatFromOpenTheTalkAndTellTheFailure)
{
    // The peer listens on the port a number past 16 bits would wrap to.
    TDCCChatServer server;
    peer.port = TPeer::UnusedPort();
    server.listener = &peer;
    server.Listen();
    const std::string wrapped = std::to_string(peer.port + 65536);
    const std::string refused = Narrow(GetSocketErrorText(-1, SOCKET_ERROR_CONNECT));
    const struct {
        std::string nick, offer, connecting, error;
    } cases[] = {
        {"bcast", "4294967295 4000", "255.255.255.255:4000",
         Narrow(GetSocketErrorText(SystemConnectError(0xFFFFFFFF, 4000), SOCKET_ERROR_CONNECT))},
        {"zero", "0 4000", "0.0.0.0:4000", Narrow(GetSocketErrorText(-1, SOCKET_ERROR_RESOLVE))},
        {"wrap", "2130706433 " + wrapped, "127.0.0.1:" + wrapped, refused},
        {"nil", "2130706433 0", "127.0.0.1:0", refused},
        {"minus", "2130706433 -1", "127.0.0.1:-1", refused},
        {"huge", "2130706433 99999999999999999999999", "127.0.0.1:2147483647", refused},
    };
    preference.DCCChatAction = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offer);
        Feed(":" + c.nick + "!u@peer.example PRIVMSG kvnick :\1DCC CHAT chat " + c.offer + "\1");
        TIRCChannel* talk = unit->FindChannel(L"=" + ConvertFromUtf8(c.nick.c_str()));
        ASSERT_TRUE(talk);
        ASSERT_TRUE(PumpMessagesUntil([&] { return !talk->IsDCCChatLive(); }, 10000));
        Lines shown = Shown(talk);
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0], c.connecting + "へ接続を試みます");
        EXPECT_EQ(shown[1], c.error);
        EXPECT_FALSE(talk->IsJoined());
    }
    // The chat server takes only its first peer: this offer's connection is that one.
    Feed(":peer!pu@peer.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(peer.port) + "\1");
    TIRCChannel* talk = unit->FindChannel(L"=peer");
    ASSERT_TRUE(talk && WaitJoined(talk));
    EXPECT_EQ(peer.events, (Lines{"listening", "accepted"}));
}
