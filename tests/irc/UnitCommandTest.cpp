// The command interpreter and typed text: the exact lines each command sends with normal,
// missing and extra arguments, their flood weights, and what scripts and macros are told.

#include "tests/irc/SendSideSupport.h"

#include "foundation/CodePage.h"
#include "ircproto/IRCNames.h"

namespace {

using Lines = std::vector<std::string>;

struct TCommandCase {
    const wchar_t* line;
    Lines sent;
    int penalty; // of the first line; 0 when not checked
};

class UnitCommandTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        TSendSideTest::SetUp();
        LogIn();
        AddJoined(L"#a");
        TIRCChannel* alias = AddJoined(L"%jp");
        alias->SetIRCName(ExpandChannelAlias(L"%jp"));
    }
    int FirstPenalty()
    {
        TIRCConnection& connection = unit->GetConnection();
        if (connection.writing)
            return connection.current.penalty;
        return connection.normal.empty() ? -1 : connection.normal.front().penalty;
    }
    bool HasChannel(const wchar_t* name) { return unit->FindChannel(name) != nullptr; }
};

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

} // namespace

TEST_F(UnitCommandTest, EveryCommandWithNormalMissingAndExtraArguments)
{
    const std::string jp = Narrow(ExpandChannelAlias(L"%jp"));
    const TCommandCase cases[] = {
        {L"msg nick hello", {"PRIVMSG nick :hello"}, 0},
        {L"msg nick hello there  again", {"PRIVMSG nick :hello there  again"}, 0},
        {L"msg nick", {}, 0},
        {L"msg", {}, 0},
        {L"MSG #a,#b,nick hi", {"PRIVMSG #a,#b,nick :hi"}, 0},
        {L"privmsg #a,,#b :hi", {"PRIVMSG #a,#b :hi"}, 0},
        {L"notice nick hi", {"NOTICE nick :hi"}, 2},
        {L"notice", {}, 0},
        {L"action nick waves", {"PRIVMSG nick :\1ACTION waves\1"}, 0},
        {L"me waves", {}, 0}, // the server node is current
        {L"ctcp version nick", {"PRIVMSG nick :\1version\1"}, 2},
        {L"ctcp version nick extra words", {"PRIVMSG nick :\1version extra words\1"}, 0},
        {L"ctcp version", {"PRIVMSG :\1version\1"}, 0},
        {L"ctcpquery ACTION #a dances", {"PRIVMSG #a :\1ACTION dances\1"}, 0},
        {L"privmsg nick :\1VERSION\1", {"PRIVMSG nick :\1VERSION\1"}, 0},
        {L"privmsg nick :\1ACTION x\1", {"PRIVMSG nick :\1ACTION x\1"}, 0},
        {L"ctcpreply nick VERSION test", {"NOTICE nick :\1VERSION test\1"}, 2},
        {L"notice nick :\1PING 5\1", {"NOTICE nick :\1PING 5\1"}, 0},
        {L"nick newnick", {"NICK newnick"}, 2},
        {L"nick", {}, 0},
        {L"mode #a +ooo a b c", {"MODE #a +ooo a b c"}, 10},
        {L"mode #a +o nick", {"MODE #a +o nick"}, 4},
        {L"mode #a b", {"MODE #a b"}, 1},
        {L"mode kvnick +i", {"MODE kvnick +i"}, 2},
        {L"mode", {"MODE"}, 0},
        {L"kick #a x,y,z bye", {"KICK #a x,y,z :bye"}, 10},
        {L"kick #a x", {"KICK #a x :"}, 4},
        {L"kick #a x :long reason here", {"KICK #a x :long reason here"}, 4},
        {L"quit bye all", {"QUIT :bye all"}, 2},
        {L"quit", {"QUIT :"}, 0},
        {L"topic #a", {"TOPIC #a"}, 2},
        {L"topic #a :", {"TOPIC #a"}, 0},
        {L"topic #a new topic", {"TOPIC #a :new topic"}, 0},
        {L"topic #a ::", {"TOPIC #a :"}, 0},
        {L"part #a", {"PART #a :"}, 4},
        {L"part #a see you", {"PART #a :see you"}, 4},
        {L"part", {"PART :"}, 0},
        {L"part %jp", {"PART " + jp + " :"}, 0},
        {L"join #b", {"JOIN #b"}, 2},
        {L"join #b,%jp k1", {"JOIN #b," + jp + " k1"}, 0},
        {L"join", {"JOIN"}, 2},
        {L"away", {"AWAY"}, 2},
        {L"away :gone for now", {"AWAY :gone for now"}, 0},
        {L"whois nick", {"WHOIS nick"}, 2},
        {L"invite nick %jp", {"INVITE nick " + jp}, 0},
        {L"foo bar baz", {"FOO bar baz"}, 2},
        {L"   ", {}, 0},
        {L"privmsg #a :hello\r\nQUIT :x", {"PRIVMSG #a :hello"}, 0},
        {L"join #b\nPART #a", {"JOIN #b"}, 0},
    };
    for (const TCommandCase& c : cases) {
        unit->ExecuteCommand(c.line, false);
        int penalty = FirstPenalty();
        EXPECT_EQ(TakeQueued(), c.sent) << Narrow(c.line);
        if (c.penalty) {
            EXPECT_EQ(penalty, c.penalty) << Narrow(c.line);
        }
    }
}

TEST_F(UnitCommandTest, PingQueriesCarryTheTickCount)
{
    for (const wchar_t* line : {L"ctcpping nick", L"ctcpping nick ignored", L"ctcp ping nick"}) {
        Lines sent = Run(line);
        ASSERT_EQ(sent.size(), 1u) << Narrow(line);
        EXPECT_TRUE(StartsWith(sent[0], "PRIVMSG nick :\1PING ")) << sent[0];
        unsigned long tick = strtoul(sent[0].c_str() + 20, nullptr, 10);
        EXPECT_LE(GetTickCount() - tick, 5000ul);
    }
    EXPECT_EQ(Run(L"ctcp ping nick 123"), Lines{"PRIVMSG nick :\1ping 123\1"});
}

TEST_F(UnitCommandTest, MessagesOpenTalksExceptForServicesAndChannels)
{
    Run(L"msg someone hello");
    EXPECT_TRUE(HasChannel(L"someone"));
    Run(L"msg NickServ identify secret");
    Run(L"msg chanserv op #a");
    EXPECT_FALSE(HasChannel(L"NickServ") || HasChannel(L"chanserv"));
    Run(L"msg #a,#unjoined,other hi");
    EXPECT_TRUE(HasChannel(L"other"));
    EXPECT_FALSE(HasChannel(L"#unjoined"));
    EXPECT_EQ(send.events,
              (Lines{"onTalkText someone hello", "onTalkText NickServ identify secret", "onTalkText chanserv op #a",
                     "onChannelText #a hi", "onChannelText #unjoined hi", "onTalkText other hi"}));
    EXPECT_EQ(recorder.macroEvents.back(), "PRIVMSG #a,#unjoined,other hi");
}

TEST_F(UnitCommandTest, MeGoesToTheCurrentTalkOfThisUnit)
{
    send.selected = AddJoined(L"peer", TIRCChannel::KindTalk);
    EXPECT_EQ(Run(L"me waves :)"), Lines{"PRIVMSG peer :\1ACTION waves :)\1"});
    EXPECT_EQ(send.events, Lines{"onTalkAction peer waves :)"});
}

TEST_F(UnitCommandTest, LongActionsGoOutAsCompleteActionsWithinTheLineLimit)
{
    CString text;
    for (int i = 0; i < 1000; i++)
        text += (wchar_t)(L'a' + i % 26);
    Lines sent = Run(L"action #a " + text);
    ASSERT_GE(sent.size(), 3u);
    std::string joined;
    const std::string relayPrefix = ":kvnick!kvuser@host.example ";
    for (const std::string& line : sent) {
        ASSERT_TRUE(StartsWith(line, "PRIVMSG #a :\1ACTION ")) << line;
        ASSERT_EQ(line.back(), '\1');
        EXPECT_LE(relayPrefix.size() + line.size(), 510u);
        joined += line.substr(20, line.size() - 21);
    }
    EXPECT_EQ(joined, Narrow(text));
}

TEST_F(UnitCommandTest, QuietCallsEchoButTellNoScriptOrMacro)
{
    Run(L"msg #a hi", true);
    Run(L"foo bar", true);
    EXPECT_TRUE(send.events.empty());
    EXPECT_TRUE(recorder.macroEvents.empty());

    EXPECT_EQ(Run(L"foo bar"), Lines{"FOO bar"});
    EXPECT_EQ(send.events, Lines{"onSendingCommand FOO bar"});
    EXPECT_EQ(recorder.macroEvents, Lines{"FOO  bar"});
    send.takeCommands = true;
    EXPECT_EQ(Run(L"foo bar"), Lines{});
    EXPECT_EQ(Run(L"whois nick"), Lines{"WHOIS nick"}); // IRC words are not offered to scripts
}

// Offline only macros see a word; from the connect request on the commands run, scripts see their
// words too, and the lines are dropped until the server has the connection.
TEST_F(UnitCommandTest, OfflineOnlyMacroWordsGetThroughWhileConnectingScriptsToo)
{
    unit->CloseByUser();
    recorder.macroEvents.clear();
    EXPECT_EQ(Run(L"join #a"), Lines{});
    EXPECT_EQ(Run(L"mycmd x y"), Lines{});
    EXPECT_EQ(Run(L"ctcp action bob waves"), Lines{});
    EXPECT_EQ(recorder.macroEvents, (Lines{"MYCMD  x y", "ACTION bob waves"}));
    EXPECT_TRUE(send.events.empty());
    unit->GetConnection().transport.active = true;
    unit->BeginConnecting(true);
    recorder.macroEvents.clear();
    EXPECT_EQ(Run(L"join #a"), Lines{});
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateConnecting);
    EXPECT_EQ(Run(L"mycmd x y"), Lines{});
    // An action goes to the macros as offline; like every message it is not shown as sent.
    EXPECT_EQ(Run(L"ctcp action bob waves"), Lines{});
    EXPECT_EQ(send.events, Lines{"onSendingCommand MYCMD x y"});
    EXPECT_EQ(recorder.macroEvents, (Lines{"MYCMD  x y", "ACTION bob waves"}));
    EXPECT_FALSE(HasChannel(L"bob"));
    unit->CloseByUser();
}

TEST_F(UnitCommandTest, TypedLinesAreCommandsOnlyWithTheWholePrefix)
{
    TIRCChannel* channel = unit->FindChannel(L"#a");
    struct TInputCase {
        const wchar_t* prefix;
        bool enabled;
        CString text;
        Lines sent;
    };
    const TInputCase cases[] = {
        {L"/", true, L"/join #b", {"JOIN #b"}},
        {L"/", true, L"//join #b", {"/JOIN #b"}},
        {L"/", false, L"/join #b", {"PRIVMSG #a :/join #b"}},
        {L"!!", true, L"!!join #b", {"JOIN #b"}},
        {L"!!", true, L"!", {"PRIVMSG #a :!"}},
        {L"", true, L"/join #b", {"PRIVMSG #a :/join #b"}},
        {L"/", true, L"hello\r\nQUIT :x", {"PRIVMSG #a :hello"}},
        {L"/", true, CString(L"a\0QUIT", 6), {"PRIVMSG #a :a"}},
    };
    for (const TInputCase& c : cases) {
        preference.CommandPrefix = c.prefix;
        preference.EnableCommand = c.enabled;
        EXPECT_TRUE(unit->SendInput(channel, c.text, false, false, true));
        EXPECT_EQ(TakeQueued(), c.sent) << Narrow(c.text);
    }
    preference.CommandPrefix = L"/";
    EXPECT_FALSE(unit->SendInput(channel, L"", false, false, true));
    EXPECT_FALSE(unit->SendInput(nullptr, L"hello", false, false, true));
    EXPECT_TRUE(unit->SendInput(nullptr, L"/away", false, false, true));
    EXPECT_EQ(TakeQueued(), Lines{"AWAY"});
    channel->OnLeft();
    EXPECT_FALSE(unit->SendInput(channel, L"hello", false, false, true));
}

TEST_F(UnitCommandTest, TypedTextKindsAndAutoUnaway)
{
    TIRCChannel* channel = unit->FindChannel(L"#a");
    TIRCChannel* talk = AddJoined(L"peer", TIRCChannel::KindTalk);
    unit->SendInput(channel, L"n", true, false, true);
    unit->SendInput(channel, L"a", false, true, true);
    unit->SendInput(channel, L"both", true, true, true);
    EXPECT_EQ(TakeQueued(), (Lines{"NOTICE #a :n", "PRIVMSG #a :\1ACTION a\1", "NOTICE #a :both"}));
    EXPECT_EQ(send.events, (Lines{"onChannelNotice #a n", "onChannelAction #a a", "onChannelNotice #a both"}));

    unit->GetSession().userMode.away = true;
    preference.UnawayOnSendTalk = true;
    unit->SendInput(channel, L"c", false, false, true);
    unit->SendInput(talk, L"t", false, false, true);
    EXPECT_EQ(TakeQueued(), (Lines{"PRIVMSG #a :c", "AWAY", "PRIVMSG peer :t"}));

    unit->GetSession().state = TIRCUnit::StateRegistering;
    EXPECT_FALSE(unit->SendInput(channel, L"x", false, false, true));
}

TEST_F(UnitCommandTest, PastedLinesGoOutOneByOneWithoutCommands)
{
    TIRCChannel* channel = unit->FindChannel(L"#a");
    unit->SendTextLines(channel, L"one\r\n\r\n/quit\ntwo", false);
    EXPECT_EQ(TakeQueued(), (Lines{"PRIVMSG #a :one", "PRIVMSG #a :/quit", "PRIVMSG #a :two"}));
    unit->SendTextLines(channel, L"n", true);
    EXPECT_EQ(TakeQueued(), Lines{"NOTICE #a :n"});
    unit->SendTextLines(nullptr, L"x", false);
    EXPECT_EQ(TakeQueued(), Lines{});
}

TEST_F(UnitCommandTest, JapaneseIsSplitBetweenCharactersAndArrivesWhole)
{
    // ISO-2022-JP has no room for characters beyond the BMP; UTF-8 gets a surrogate pair.
    const struct {
        int codePage;
        const wchar_t* piece;
    } cases[] = {{CP_UTF8, L"\x65E5\x672C\x8A9E\xD842\xDFB7\x306E"}, {50221, L"\x65E5\x672C\x8A9E\x30C6\x306E"}};
    for (const auto& c : cases) {
        unit->GetSession().codePage = c.codePage;
        CString text;
        for (int i = 0; i < 120; i++)
            text += c.piece;
        unit->SendInput(unit->FindChannel(L"#a"), text, false, false, true);
        TIRCConnection& connection = unit->GetConnection();
        std::vector<TIRCSendMessage> messages;
        if (connection.writing)
            messages.push_back(connection.current);
        messages.insert(messages.end(), connection.normal.begin(), connection.normal.end());
        ASSERT_GE(messages.size(), 2u) << c.codePage;
        CString joined;
        for (TIRCSendMessage& message : messages) {
            message.Build();
            // ":kvnick!kvuser@host.example " is 28 bytes ahead of the line a server relays.
            EXPECT_LE(28 + message.line.GetLength() - 2, 510) << c.codePage;
            joined += unit->Decode(message.secondParam.Mid(1));
        }
        EXPECT_EQ(joined, text) << c.codePage;
        TakeQueued();
    }
}

TEST_F(UnitCommandTest, BuildersWeighAndRememberAsTheyShould)
{
    TIRCUnitSession& session = unit->GetSession();
    session.wantedNick = L"old";
    unit->SendNick(L"tryme", false);
    EXPECT_EQ(session.wantedNick, L"old");
    unit->SendNick(L"keepme", true);
    EXPECT_EQ(session.wantedNick, L"keepme");
    EXPECT_EQ(session.secondNick, L"old");
    TakeQueued();

    unit->CloseByUser();
    session.reconnectArmed = true;
    unit->SendQuit(L"bye");
    EXPECT_FALSE(session.reconnectArmed);
    EXPECT_FALSE(session.quitSent) << "no link to wait for";
    EXPECT_EQ(TakeQueued(), Lines{});
}

TEST_F(UnitCommandTest, JoinRemembersKeysAndSafeChannels)
{
    preference.RejoinOnError437 = true;
    unit->SendJoin(L"#k,%jp,!safe,!!new", L"k1");
    Lines sent = TakeQueued();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "JOIN #k," + Narrow(ExpandChannelAlias(L"%jp")) + ",!safe,!!new k1");
    EXPECT_EQ(unit->GetRejoinManager().GetRecordCount(), 4u) << "keyed or not, the alias as sent";
    EXPECT_TRUE(unit->GetSafeJoinManager().Contains(L"!SAFE"));
    EXPECT_FALSE(unit->GetSafeJoinManager().Contains(L"!!new"));
}

TEST_F(UnitCommandTest, AddressedMembersGainActivityFromPlainTextOnly)
{
    TIRCChannel* channel = unit->FindChannel(L"#a");
    for (const wchar_t* nick : {L"Nick", L"at", L"arrow", L"quiet"})
        channel->AddOrUpdateMember(nick, L"u", L"h", L"", L"", false, false, false, false, false);
    unit->SendInput(channel, L"nick: hello", false, false, true);
    unit->SendInput(channel, L"@at hello", false, false, true);
    unit->SendInput(channel, L"hello > arrow", false, false, true);
    unit->SendInput(channel, L"quiet: hi", true, false, true);
    unit->SendInput(channel, L"quiet: hi", false, true, true);
    EXPECT_GT(channel->FindMember(L"Nick")->activity, 0);
    EXPECT_GT(channel->FindMember(L"at")->activity, 0);
    EXPECT_GT(channel->FindMember(L"arrow")->activity, 0);
    EXPECT_EQ(channel->FindMember(L"quiet")->activity, 0);
}

TEST_F(UnitCommandTest, KicksGoOneByOneAndAPendingReconnectCanBeCancelled)
{
    unit->KickMembers(unit->FindChannel(L"#a"), {L"x", L"y"}, L"bye");
    EXPECT_EQ(TakeQueued(), (Lines{"KICK #a x :bye", "KICK #a y :bye"}));

    TIRCUnitSession& session = unit->GetSession();
    session.reconnectArmed = true;
    session.reconnectCountdown = 5;
    unit->CancelReconnect(); // still connected
    EXPECT_TRUE(session.reconnectArmed);
    session.state = TIRCUnit::StateDisconnected;
    unit->CancelReconnect();
    EXPECT_FALSE(session.reconnectArmed);
}
