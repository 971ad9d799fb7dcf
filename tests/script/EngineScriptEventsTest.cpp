// The engine's events reach real JScript handlers through the script manager wired to a unit.

#include "../irc/ReceiveTestSupport.h"
#include "ScriptFakes.h"

namespace {

const char* const kEventNames[] = {
    "onConnect",    "onDisconnect",    "onChannelText", "onChannelNotice", "onChannelAction", "onTalkText",
    "onTalkNotice", "onTalkAction",    "onJoin",        "onPart",          "onQuit",          "onKick",
    "onNick",       "onMode",          "onTopic",       "onInvite",        "onError",         "onNumericReply",
    "onCtcp",       "onCtcpReply",     "onDccSend",     "onDccChat",       "onModeChange",    "onHighlight",
    "onNewTalk",    "onSendingCommand"};

// One handler per event that logs its name and its arguments joined by "|".
CStringA MakeLoggingScript()
{
    CStringA text = "function arg(v) { return typeof v == 'object' && v != null ? (v.handled !== undefined ? "
                    "String(v.handled) : (v.server ? v.server : v.nick + '!' + v.username + '@' + v.address)) : "
                    "String(v); }\r\n";
    for (const char* name : kEventNames) {
        CStringA line;
        line.Format("function event::%s() { var logged = ['%s']; for (var i = 0; i < arguments.length; i++) "
                    "logged.push(arg(arguments[i])); log(logged.join('|')); }\r\n",
                    name, name);
        text += line;
    }
    return text;
}

struct TLineCase {
    const char* line;
    std::vector<CString> expected;
};

const TLineCase kLines[] = {
    {":bob!bu@bh.example JOIN :#b", {L"onJoin|bob!bu@bh.example|#b"}},
    {":bob!bu@bh.example PART #a :bye", {L"onPart|bob!bu@bh.example|#a|bye"}},
    {":bob!bu@bh.example NICK :bobby", {L"onNick|bob!bu@bh.example|bobby"}},
    {":bob!bu@bh.example QUIT :gone", {L"onQuit|bob!bu@bh.example|gone"}},
    {":op!ou@oh.example MODE #a +o-v carol bob",
     {L"onMode|op!ou@oh.example|#a|+o-v carol bob", L"onModeChange|op!ou@oh.example|#a|+o|carol",
      L"onModeChange|op!ou@oh.example|#a|-v|bob"}},
    {":bob!bu@bh.example TOPIC #a :news", {L"onTopic|bob!bu@bh.example|#a|news"}},
    {":bob!bu@bh.example KICK #a carol :out", {L"onKick|bob!bu@bh.example|#a|carol|out"}},
    {":bob!bu@bh.example INVITE kvnick :#c", {L"onInvite|bob!bu@bh.example|#c"}},
    {":bob!bu@bh.example PRIVMSG #a :hi", {L"onChannelText|bob!bu@bh.example|#a|hi"}},
    {":bob!bu@bh.example NOTICE #a :n", {L"onChannelNotice|bob!bu@bh.example|#a|n"}},
    {":bob!bu@bh.example PRIVMSG #a :\x01"
     "ACTION waves\x01",
     {L"onChannelAction|bob!bu@bh.example|#a|waves"}},
    {":bob!bu@bh.example PRIVMSG kvnick :psst",
     {L"onTalkText|bob!bu@bh.example|kvnick|psst", L"onNewTalk|bob!bu@bh.example|PRIVMSG|psst"}},
    {":bob!bu@bh.example NOTICE kvnick :note", {L"onTalkNotice|bob!bu@bh.example|kvnick|note"}},
    {":bob!bu@bh.example PRIVMSG kvnick :\x01"
     "ACTION nods\x01",
     {L"onTalkAction|bob!bu@bh.example|kvnick|nods"}},
    {":bob!bu@bh.example PRIVMSG #a :\x01PING 123\x01", {L"onCtcp|bob!bu@bh.example|#a|PING|123"}},
    {":bob!bu@bh.example NOTICE kvnick :\x01VERSION x 1.0\x01",
     {L"onCtcpReply|bob!bu@bh.example|kvnick|VERSION|x 1.0"}},
    // The unit's own address query, which no rule may hold back, is a query like any other.
    {":kvnick!kvuser@my.host PRIVMSG kvnick :\x01GETADDRESS\x01", {L"onCtcp|kvnick!kvuser@my.host|kvnick|GETADDRESS|"}},
    // A DCC offer is its own event, not a CTCP query; its size above 4 GiB arrives whole.
    {":bob!bu@bh.example PRIVMSG kvnick :\x01"
     "DCC SEND big.iso 3221225985 5000 5368709121\x01",
     {L"onDccSend|bob!bu@bh.example|kvnick|big.iso|5368709121|192.0.2.1|5000"}},
    {":bob!bu@bh.example PRIVMSG kvnick :\x01"
     "DCC CHAT chat 3221225985 5001\x01",
     {L"onDccChat|bob!bu@bh.example|kvnick|192.0.2.1|5001"}},
    // Offers nobody could be connected to are still reported, with the name as offered.
    {":bob!bu@bh.example PRIVMSG kvnick :\x01"
     "DCC SEND dir/a?b.txt 0 70000 10\x01",
     {L"onDccSend|bob!bu@bh.example|kvnick|dir/a?b.txt|10|0.0.0.0|70000"}},
    {":bob!bu@bh.example PRIVMSG kvnick :\x01"
     "DCC CHAT chat 0 5001\x01",
     {L"onDccChat|bob!bu@bh.example|kvnick|0.0.0.0|5001"}},
    {":irc.example 433 kvnick bob :Nickname is already in use", {L"onNumericReply|433|bob Nickname is already in use"}},
    {"ERROR :Closing link", {L"onError|Closing link"}},
};

class EngineScriptEventsTest : public TReceiveTest {
protected:
    EngineScriptEventsTest() : manager(&server, &frame) { frame.scriptFolder = frame.filesFolder = folder.path; }
    void SetUp() override
    {
        LogIn({"#a"}, "bob carol");
        unit->SetScripts(&manager);
        ASSERT_TRUE(WriteFileBytes(folder.File(L"events.js"), MakeLoggingScript()));
        manager.LoadScripts({L"events.js"});
        ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    }
    void TearDown() override { unit.reset(); }
    std::vector<CString> Logged()
    {
        std::vector<CString> texts;
        for (const CString& line : frame.logs)
            texts.push_back(line.Mid(line.Find(L": ") + 2));
        frame.logs.clear();
        return texts;
    }

    TComApartment apartment;
    TTempFolder folder;
    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TScriptManager manager;
};

} // namespace

TEST_F(EngineScriptEventsTest, ReceivedLinesReachTheHandlersWithTheirArguments)
{
    for (const TLineCase& row : kLines) {
        SCOPED_TRACE(row.line);
        Feed(row.line);
        EXPECT_EQ(row.expected, Logged());
    }
    EXPECT_TRUE(frame.errors.empty());
}

TEST_F(EngineScriptEventsTest, TypedLinesReachTheHandlers)
{
    unit->ExecuteCommand(L"msg #a hello all", false);
    EXPECT_EQ((std::vector<CString>{L"onChannelText|kvnick!kvuser@my.host|#a|hello all"}), Logged());
    unit->ExecuteCommand(L"frob some thing", false);
    EXPECT_EQ((std::vector<CString>{L"onSendingCommand|FROB|some thing|false"}), Logged());
    // The interpreter's own IRC commands are not offered to scripts.
    unit->ExecuteCommand(L"join #z", false);
    EXPECT_EQ((std::vector<CString>{}), Logged());
    EXPECT_TRUE(frame.errors.empty());
}

TEST_F(EngineScriptEventsTest, AKeywordInAMessageIsAHighlightAfterItsTextEvent)
{
    recorder.keywords.Like = {L"kvnick"};
    Feed(":bob!bu@bh.example PRIVMSG #a :hey kvnick");
    EXPECT_EQ((std::vector<CString>{L"onChannelText|bob!bu@bh.example|#a|hey kvnick",
                                    L"onHighlight|bob!bu@bh.example|PRIVMSG|#a|hey kvnick"}),
              Logged());
    Feed(":bob!bu@bh.example PRIVMSG #a :nothing to see");
    EXPECT_EQ((std::vector<CString>{L"onChannelText|bob!bu@bh.example|#a|nothing to see"}), Logged());
}
