// Every event of the script manager reaches a real JScript handler with its arguments.

#include "ScriptFakes.h"

#include <functional>

namespace {
const TScriptSender kBob = {L"bob!bu@bh.example", L"bob", L"bu", L"bh.example"};
const TScriptSender kServer = {L"irc.example.net", L"irc.example.net", L"", L""};

struct TEventCase {
    const char* name;
    const char* params; // the handler's parameter list; "p" is the prefix
    std::function<void(TScriptManager&)> fire;
    const wchar_t* expected;
};

const TEventCase kEvents[] = {
    {"onConnect", "", [](TScriptManager& m) { m.FireOnConnect(); }, L"onConnect"},
    {"onDisconnect", "", [](TScriptManager& m) { m.FireOnDisconnect(); }, L"onDisconnect"},
    {"onChannelText", "p,c,t", [](TScriptManager& m) { m.FireOnChannelText(kBob, L"#a", L"hi"); },
     L"onChannelText|bob!bu@bh.example|#a|hi"},
    {"onChannelNotice", "p,c,t", [](TScriptManager& m) { m.FireOnChannelNotice(kBob, L"#a", L"n"); },
     L"onChannelNotice|bob!bu@bh.example|#a|n"},
    {"onChannelAction", "p,c,t", [](TScriptManager& m) { m.FireOnChannelAction(kBob, L"#a", L"waves"); },
     L"onChannelAction|bob!bu@bh.example|#a|waves"},
    {"onTalkText", "p,n,t", [](TScriptManager& m) { m.FireOnTalkText(kBob, L"me", L"psst"); },
     L"onTalkText|bob!bu@bh.example|me|psst"},
    {"onTalkNotice", "p,n,t", [](TScriptManager& m) { m.FireOnTalkNotice(kBob, L"me", L"note"); },
     L"onTalkNotice|bob!bu@bh.example|me|note"},
    {"onTalkAction", "p,n,t", [](TScriptManager& m) { m.FireOnTalkAction(kBob, L"me", L"nods"); },
     L"onTalkAction|bob!bu@bh.example|me|nods"},
    {"onDccChatText", "f,n,t", [](TScriptManager& m) { m.FireOnDccChatText(L"=bob", L"bob", L"yo"); },
     L"onDccChatText|=bob|bob|yo"},
    {"onJoin", "p,c", [](TScriptManager& m) { m.FireOnJoin(kBob, L"#a"); }, L"onJoin|bob!bu@bh.example|#a"},
    {"onPart", "p,c,t", [](TScriptManager& m) { m.FireOnPart(kBob, L"#a", L"bye"); },
     L"onPart|bob!bu@bh.example|#a|bye"},
    {"onQuit", "p,t", [](TScriptManager& m) { m.FireOnQuit(kBob, L"gone"); }, L"onQuit|bob!bu@bh.example|gone"},
    {"onKick", "p,c,n,t", [](TScriptManager& m) { m.FireOnKick(kBob, L"#a", L"carol", L"out"); },
     L"onKick|bob!bu@bh.example|#a|carol|out"},
    {"onNick", "p,n", [](TScriptManager& m) { m.FireOnNick(kBob, L"bobby"); }, L"onNick|bob!bu@bh.example|bobby"},
    {"onMode", "p,c,t", [](TScriptManager& m) { m.FireOnMode(kServer, L"#a", L"+o bob"); },
     L"onMode|irc.example.net|#a|+o bob"},
    {"onTopic", "p,c,t", [](TScriptManager& m) { m.FireOnTopic(kBob, L"#a", L"news"); },
     L"onTopic|bob!bu@bh.example|#a|news"},
    {"onInvite", "p,c", [](TScriptManager& m) { m.FireOnInvite(kBob, L"#b"); }, L"onInvite|bob!bu@bh.example|#b"},
    {"onError", "t", [](TScriptManager& m) { m.FireOnError(L"Closing link"); }, L"onError|Closing link"},
    {"onNumericReply", "n,t", [](TScriptManager& m) { m.FireOnNumericReply(433, L"bob :Nickname is already in use"); },
     L"onNumericReply|433|bob :Nickname is already in use"},
    {"onCtcp", "p,n,c,t", [](TScriptManager& m) { m.FireOnCtcp(kBob, L"me", L"PING", L"123"); },
     L"onCtcp|bob!bu@bh.example|me|PING|123"},
    {"onCtcpReply", "p,n,c,t", [](TScriptManager& m) { m.FireOnCtcpReply(kBob, L"me", L"VERSION", L"x 1.0"); },
     L"onCtcpReply|bob!bu@bh.example|me|VERSION|x 1.0"},
    {"onDccSend", "p,n,f,s,a,o",
     [](TScriptManager& m) { m.FireOnDccSend(kBob, L"me", L"big.iso", 5368709121ull, L"192.0.2.1", 5000); },
     L"onDccSend|bob!bu@bh.example|me|big.iso|5368709121|192.0.2.1|5000"},
    {"onDccChat", "p,n,a,o", [](TScriptManager& m) { m.FireOnDccChat(kBob, L"me", L"192.0.2.1", 5001); },
     L"onDccChat|bob!bu@bh.example|me|192.0.2.1|5001"},
    {"onModeChange", "p,c,o,t", [](TScriptManager& m) { m.FireOnModeChange(kBob, L"#a", L"+o", L"carol"); },
     L"onModeChange|bob!bu@bh.example|#a|+o|carol"},
    {"onHighlight", "p,c,h,t", [](TScriptManager& m) { m.FireOnHighlight(kBob, L"PRIVMSG", L"#a", L"me?"); },
     L"onHighlight|bob!bu@bh.example|PRIVMSG|#a|me?"},
    {"onNewTalk", "p,c,t", [](TScriptManager& m) { m.FireOnNewTalk(kBob, L"NOTICE", L"hello"); },
     L"onNewTalk|bob!bu@bh.example|NOTICE|hello"},
    {"onSendingCommand", "c,t,x", [](TScriptManager& m) { EXPECT_FALSE(m.FireOnSendingCommand(L"FOO", L"bar baz")); },
     L"onSendingCommand|FOO|bar baz|false"},
};

// One handler per event that logs its name and its arguments joined by "|".
CStringA MakeEventScript()
{
    CStringA text = "function who(p) { return p.server ? p.server : p.nick + '!' + p.username + '@' + p.address; }\r\n"
                    "function arg(v) { return typeof v == 'object' && v != null ? "
                    "(v.handled !== undefined ? String(v.handled) : who(v)) : String(v); }\r\n"
                    "function event::onLoad() { log('onLoad'); }\r\n"
                    "function event::onUnload() { log('onUnload'); }\r\n";
    for (const TEventCase& event : kEvents) {
        CStringA line;
        line.Format("function event::%s(%s) { var logged = ['%s']; for (var i = 0; i < arguments.length; i++) "
                    "logged.push(arg(arguments[i])); log(logged.join('|')); }\r\n",
                    event.name, event.params, event.name);
        text += line;
    }
    return text;
}
} // namespace

TEST_F(ScriptFixture, EveryEventReachesItsHandlerWithItsArguments)
{
    WriteScript(L"events.js", MakeEventScript());
    Load({L"events.js"});
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"onLoad"), LastLog());
    for (const TEventCase& event : kEvents) {
        SCOPED_TRACE(event.name);
        frame.logs.clear();
        event.fire(manager);
        EXPECT_EQ((std::vector<CString>{event.expected}), Logged());
    }
    frame.logs.clear();
    manager.UnloadAll(true);
    EXPECT_EQ((std::vector<CString>{L"onUnload"}), Logged());
    EXPECT_TRUE(frame.errors.empty());
}
