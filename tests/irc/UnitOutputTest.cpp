// Where the unit's lines go: own view, all-channels log, log files, histories, and the marks.

#include "tests/irc/IrcTestSupport.h"

#include "log/LogLineData.h"

namespace {

using Lines = std::vector<std::string>;

class UnitOutputTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        format.SetDefaults();
        format.EnableTime = false;
        preference.LogRootDir = folder.path + L"logs\\";
        preference.EnableChannelLog = true;
        preference.EnableUnitLog = true;
        MakeUnit();
        unit->SetLogFormat(&format);
        channel = AddChannel(L"#chan");
    }
    TLogFormat format;
    TIRCChannel* channel = nullptr;
};

struct TRuleCase {
    const char* name;
    bool console;
    bool selected;
    bool scrolledBack;
    bool printAll;
    bool active;
    bool copied;
};

TEST_F(UnitOutputTest, ServerLinesAreCopiedToTheAllChannelsLogByTheRule)
{
    const TRuleCase cases[] = {
        {"not selected", true, false, false, false, true, true},
        {"selected, at the end, window active", true, true, false, false, true, false},
        {"selected but scrolled back", true, true, true, false, true, true},
        {"selected, print all, window inactive", true, true, false, true, false, true},
        {"selected, print all, window active", true, true, false, true, true, false},
        {"console off", false, false, false, false, false, false},
    };
    for (const TRuleCase& c : cases) {
        settings.Console = c.console;
        preference.PrintAllLogToConsole = c.printAll;
        MakeUnit();
        unit->SetLogFormat(&format);
        recorder.selected = c.selected;
        recorder.selectedChannel = nullptr;
        recorder.scrolledBack = c.scrolledBack;
        recorder.active = c.active;
        recorder.allLogLines.clear();
        unit->PrintReply(L"hello");
        EXPECT_EQ(recorder.allLogLines.size(), c.copied ? 1u : 0u) << c.name;
    }
}

TEST_F(UnitOutputTest, DisplaySwitchesDecideOwnLogAndAllChannelsLogApart)
{
    format.EnableJoinChannel = false;
    format.EnableJoinConsole = true;
    unit->PrintToChannel(channel, L"a", L"joined", EVENT_JOIN, 0, false);
    EXPECT_TRUE(recorder.ViewTexts(channel).empty());
    EXPECT_EQ(recorder.AllLogTexts(), (Lines{"<testnet:#chan> joined"}));

    format.EnableErrorReplyChannel = false;
    unit->PrintErrorReply(TIRCReceiveMessage());
    EXPECT_TRUE(recorder.ViewTexts(nullptr).empty());
    format.EnableErrorReplyChannel = true;
    TIRCReceiveMessage reply;
    reply.numeric = 433;
    reply.params = {L"kvnick", L"other", L"Nickname is already in use"};
    unit->PrintErrorReply(reply);
    EXPECT_EQ(recorder.ViewTexts(nullptr).size(), 1u);
}

// The window page's switches reach the server's node when the preferences are applied, as they
// reach a talk's: its lines' copies in the all-channels log, its unread and keyword marks.
TEST_F(UnitOutputTest, ServerAndTalkSwitchesTakeEffectWhenThePreferencesAreApplied)
{
    recorder.keywords.Like = {L"kvnick"};
    WelcomeOffline();
    Feed(":friend!u@h PRIVMSG kvnick :hello");
    ASSERT_NE(unit->FindChannel(L"friend"), nullptr);
    auto marksOf = [&](const std::string& node) {
        Lines found;
        for (const std::string& mark : recorder.marks)
            if (mark.size() > node.size() && mark.compare(mark.size() - node.size(), node.size(), node) == 0)
                found.push_back(mark.substr(0, mark.size() - node.size() - 1));
        return found;
    };
    for (bool on : {false, true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        preference.ServerAllLog = preference.ServerUpdate = preference.ServerKeyword = on;
        preference.TalkAllLog = preference.TalkUpdate = preference.TalkKeyword = on;
        unit->ApplyPreferences();
        recorder.allLogLines.clear();
        recorder.marks.clear();
        Feed(":peer!u@h PRIVMSG #elsewhere :news for kvnick");
        Feed(":friend!u@h PRIVMSG kvnick :hi kvnick");
        EXPECT_EQ(recorder.allLogLines.size(), on ? 2u : 0u);
        EXPECT_EQ(marksOf("server"), on ? (Lines{"keyword", "update"}) : Lines{});
        EXPECT_EQ(marksOf("friend"), on ? (Lines{"keyword", "update"}) : Lines{});
    }
}

TEST_F(UnitOutputTest, AllChannelsCopiesCarryEventDataExceptNickKillAndQuit)
{
    const int types[] = {EVENT_REPLY, EVENT_NICK, EVENT_KILL, EVENT_QUIT, EVENT_ERROR};
    for (int type : types)
        unit->PrintToServer(L"", L"", L"text", type, 0, false, L"");
    unit->PrintToChannel(channel, L"", L"text", EVENT_JOIN, 0, false);
    ASSERT_EQ(recorder.allLogLines.size(), 6u);
    CString unitTag;
    unitTag.Format(L"%08X", unit->GetSerial());
    CString channelTag;
    channelTag.Format(L"%08X", channel->GetSerial());
    EXPECT_EQ(recorder.allLogLines[0].eventData, unitTag + L" 0");
    EXPECT_TRUE(recorder.allLogLines[1].eventData.IsEmpty());
    EXPECT_TRUE(recorder.allLogLines[2].eventData.IsEmpty());
    EXPECT_TRUE(recorder.allLogLines[3].eventData.IsEmpty());
    EXPECT_EQ(recorder.allLogLines[4].eventData, unitTag + L" 0");
    EXPECT_EQ(recorder.allLogLines[5].eventData, unitTag + L" " + channelTag);
}

TEST_F(UnitOutputTest, MessagesGetTheNickPrefixAndReachViewAndFiles)
{
    WelcomeOffline();
    Feed(":friend!u@h PRIVMSG #chan :\x02hello\x02 there");
    EXPECT_EQ(recorder.ViewTexts(channel), (Lines{"(friend) hello there"}));
    EXPECT_EQ(recorder.marks, (Lines{"update #chan"}));
    std::string view;
    for (const std::string& line : recorder.ViewTexts(nullptr))
        view += line + "\n";
    EXPECT_NE(view.find("\xE6\x8E\xA5\xE7\xB6\x9A\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F"), std::string::npos)
        << "connected text: " << view;
    EXPECT_NE(view.find("\xE3\x83\xAD\xE3\x82\xB0\xE3\x82\xA4\xE3\x83\xB3"), std::string::npos) << "login text";
}

TEST_F(UnitOutputTest, KeywordHitsMarkTheNodeAlertAndReachTheHistory)
{
    recorder.keywords.Like = {L"kvnick"};
    preference.EnableKeywordSound = true;
    preference.KeywordSoundFile = L"ding.wav";
    bool hit = unit->PrintToChannel(channel, L"friend", L"hi kvnick", EVENT_MESSAGE, 0, true);
    EXPECT_TRUE(hit);
    EXPECT_EQ(recorder.marks, (Lines{"keyword #chan"}));
    EXPECT_EQ(recorder.alerts, (Lines{"highlight"}));
    ASSERT_EQ(recorder.sounds.size(), 1u);
    ASSERT_EQ(recorder.keywordHistory.size(), 1u);
    EXPECT_EQ(recorder.keywordHistory[0].placePrefix, CString(L"<testnet:#chan> "));
    CString data;
    data.Format(L"%x %x 1", unit->GetSerial(), channel->GetSerial());
    EXPECT_EQ(recorder.keywordHistory[0].eventData, data);

    TChannelConfig quiet;
    quiet.Name = L"#quiet";
    quiet.Keyword = false;
    TIRCChannel* other = unit->AddChannel(quiet, TIRCChannel::KindChannel);
    EXPECT_FALSE(unit->PrintToChannel(other, L"friend", L"hi kvnick", EVENT_MESSAGE, 0, true));
    EXPECT_EQ(recorder.keywordHistory.size(), 1u);
}

TEST_F(UnitOutputTest, OwnUrlsReachTheHistoryOnlyWhenAsked)
{
    preference.AutoClipUrl = true;
    for (bool record : {false, true}) {
        preference.RecordUrlInMyMessage = record;
        recorder.urlHistory.clear();
        recorder.clipboard.clear();
        unit->PrintToChannel(channel, L"me", L"see http://example.com/x", EVENT_MESSAGE, 1, false);
        EXPECT_EQ(recorder.urlHistory.size(), record ? 1u : 0u);
        EXPECT_EQ(recorder.clipboard.size(), record ? 1u : 0u);
    }
    EXPECT_EQ(recorder.clipboard[0], CString(L"http://example.com/x"));
    recorder.urlHistory.clear();
    unit->PrintToChannel(channel, L"friend", L"see http://example.com/y", EVENT_MESSAGE, 0, false);
    EXPECT_EQ(recorder.urlHistory.size(), 1u);
}

TEST_F(UnitOutputTest, ProtocolLinesShowBothDirectionsButNotDuringShutdown)
{
    StartOffline();
    Feed("PING :x");
    EXPECT_EQ(recorder.protocol, (Lines{"< PING :x"}));
    unit->GetSession().shutdown = true;
    Feed("PING :y");
    EXPECT_EQ(recorder.protocol.size(), 1u);
}

TEST_F(UnitOutputTest, LinesGoToTheDatedLogFiles)
{
    unit->PrintToChannel(channel, L"friend",
                         L"\x03"
                         "4red\x03 text",
                         EVENT_MESSAGE, 0, false);
    unit->PrintReply(L"server reply");
    channel->logger.Close();
    unit->GetServerLog().Close();
    CString channelPath = channel->logger.GetCurrentPath();
    CString serverPath = unit->GetServerLog().GetCurrentPath();
    ASSERT_FALSE(channelPath.IsEmpty());
    CStringA channelBytes = ReadFileBytes(channelPath);
    CStringA serverBytes = ReadFileBytes(serverPath);
    std::string channelText(channelBytes.GetString(), channelBytes.GetLength());
    std::string serverText(serverBytes.GetString(), serverBytes.GetLength());
    EXPECT_NE(channelText.find("(friend) red text\r\n"), std::string::npos) << channelText;
    EXPECT_NE(serverText.find("server reply\r\n"), std::string::npos) << serverText;
}

} // namespace
