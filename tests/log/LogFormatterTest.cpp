#include "log/LogFormatter.h"
#include "ircproto/ReceiveMessage.h"
#include "log/LogLineData.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class LogFormatterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        format.SetDefaults();
        msg.nick = L"alice";
        msg.user = L"al";
        msg.host = L"host.example";
    }

    TLogFormat format;
    TLogFormatter formatter{format};
    TIRCReceiveMessage msg;
};

TEST_F(LogFormatterTest, EveryEventFormatsWithTheDefaultTemplates)
{
    const TLogFormatter& f = formatter;
    struct {
        const wchar_t* expected;
        std::function<CString()> format;
    } cases[] = {
        {L"<srv> ", [&] { return f.FormatUnitPrefix(L"srv"); }},
        {L"<#c> ", [&] { return f.FormatChannelPrefix(L"#c"); }},
        {L"<srv:#c> ", [&] { return f.FormatUnitChannelPrefix(L"srv", L"#c"); }},
        {L"(bob) ", [&] { return f.FormatNickPrefix(L"bob"); }},
        {L"*alice join #c (al@host.example)", [&] { return f.FormatJoin(msg, L"#c"); }},
        {L"*alice part (bye)", [&] { return f.FormatPart(msg, L"#c", L"bye"); }},
        {L"*nick alice \u2192 alicia", [&] { return f.FormatNick(msg, L"alicia"); }},
        {L"*alice kill bob (flood)", [&] { return f.FormatKill(msg, L"bob", L"flood"); }},
        {L"*alice kick bob (out)", [&] { return f.FormatKick(msg, L"#c", L"bob", L"out"); }},
        {L"*alice mode +o bob", [&] { return f.FormatMode(msg, L"#c", L"+o bob"); }},
        {L"*bob mode +i", [&] { return f.FormatUserMode(L"bob", L"+i"); }},
        {L"*alice quit (gone)", [&] { return f.FormatQuit(msg, L"gone"); }},
        {L"*inviting bob to #c", [&] { return f.FormatInviting(L"bob", L"#c"); }},
        {L"*alice invite you to #c", [&] { return f.FormatInvite(msg, L"#c"); }},
        {L"*alice topic : news", [&] { return f.FormatTopic(msg, L"#c", L"news"); }},
        {L"*CTCP-query(VERSION) from alice", [&] { return f.FormatCTCPQuery(msg, L"VERSION"); }},
        {L"*CTCP-reply(PING) from alice : 5s", [&] { return f.FormatCTCPReply(msg, L"PING", L"5s"); }},
        {L"*DCC(SEND) from alice : a.zip 10.0.0.1:5000 5000000000",
         [&] { return f.FormatDCCSend(msg, L"a.zip", L"10.0.0.1", 5000, 5000000000LL); }},
        {L"*DCC(CHAT) from alice : 10.0.0.1:5001", [&] { return f.FormatDCCChat(msg, L"10.0.0.1", 5001); }},
        {L"*DCC(RESUME) from alice : port=5000 size=1024", [&] { return f.FormatDCCResume(msg, 5000, 1024); }},
        {L"*DCC(ACCEPT) from alice : port=5000 size=-1", [&] { return f.FormatDCCAccept(msg, 5000, -1); }},
        {L"*ERROR Closing link", [&] { return f.FormatError(msg, L"Closing link"); }},
        {L"*mode +nt", [&] { return f.FormatModeReply(L"#c", L"+nt"); }},
        {L"*topic : news", [&] { return f.FormatTopicReply(L"#c", L"news"); }},
        {L"*bob is away (lunch)", [&] { return f.FormatAwayReply(L"bob", L"lunch"); }},
        {L"*names : @a b", [&] { return f.FormatNamesReply(L"#c", L"@a b"); }},
        {L"*Error(5) No such nick", [&] { return f.FormatErrorReply(5, L"No such nick"); }},
        {L"*\u9001\u4fe1\u5b8c\u4e86 a.zip to bob", [&] { return f.FormatDCCSendComplete(L"bob", L"a.zip", 9); }},
        {L"*\u9001\u4fe1\u5931\u6557 a.zip to bob : reset",
         [&] { return f.FormatDCCSendFail(L"bob", L"a.zip", 9, 3, 33, L"reset"); }},
        {L"*\u53d7\u4fe1\u5b8c\u4e86 a.zip from bob", [&] { return f.FormatDCCReceiveComplete(L"bob", L"a.zip", 9); }},
        {L"*\u53d7\u4fe1\u5931\u6557 a.zip from bob : reset",
         [&] { return f.FormatDCCReceiveFail(L"bob", L"a.zip", L"10.0.0.1", 5000, 9, 3, 33, L"reset"); }},
        {L"(me)[+i] srv", [&] { return f.FormatUnitTitle(L"me", L"srv", L"+i"); }},
        {L"(me) @#c(12\u4eba)[+nt] news",
         [&] { return f.FormatChannelTitle(L"me", L"srv", L"#c", L"+i", L"+nt", L"news", 12, L"@"); }},
        {L"(me) bob", [&] { return f.FormatTalkTitle(L"me", L"srv", L"bob", L"+i"); }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.format(), CString(c.expected));
}

TEST_F(LogFormatterTest, TemplatesSeeOnlyTheLettersTheirEventBinds)
{
    format.Join = L"%m|%s|%k";
    format.PreNick = L"%s>";
    format.Error = L"%s!";
    format.DCCReceiveFail = L"%a:%p %z/%s %x%%";
    EXPECT_EQ(formatter.FormatJoin(msg, L"#c"), CString(L"m|s|k"));
    EXPECT_EQ(formatter.FormatNickPrefix(L"bob"), CString(L"bob>"));
    EXPECT_EQ(formatter.FormatError(msg, L"bad"), CString(L"bad!"));
    EXPECT_EQ(formatter.FormatDCCReceiveFail(L"b", L"f", L"1.2.3.4", 80, 200, 50, 25, L""),
              CString(L"1.2.3.4:80 50/200 25%"));
    format.Kick = L"changed";
    EXPECT_EQ(formatter.FormatKill(msg, L"bob", L"x"), CString(L"*alice kill bob (x)"));
}

TEST_F(LogFormatterTest, TimeStampFollowsTheSwitchAndThePattern)
{
    time_t when = 1700000000;
    tm local = *localtime(&when);
    CString expected;
    expected.Format(L"%02d:%02d ", local.tm_hour, local.tm_min);
    EXPECT_EQ(formatter.FormatTimeAt(when), expected);
    format.Time = L"[%H\u6642%Q]";
    expected.Format(L"[%02d\u6642%%Q]", local.tm_hour);
    EXPECT_EQ(formatter.FormatTimeAt(when), expected);
    format.Time = L"";
    EXPECT_EQ(formatter.FormatTimeAt(when), CString());
    format.Time = L"%H";
    format.EnableTime = false;
    EXPECT_EQ(formatter.FormatTime(), CString());
}

TEST_F(LogFormatterTest, EachSwitchGatesItsOwnEventKindOnly)
{
    struct {
        int kind;
        bool TLogFormat::*console;
        bool TLogFormat::*channel;
    } cases[] = {
        {EVENT_MESSAGE, &TLogFormat::EnablePrivmsgConsole, nullptr},
        {EVENT_KILL, &TLogFormat::EnableQuitConsole, &TLogFormat::EnableQuitChannel},
        {EVENT_INVITING, &TLogFormat::EnableInviteingConsole, &TLogFormat::EnableInviteingChannel},
        {EVENT_DCC_RESUME, &TLogFormat::EnableDCCResumeConsole, &TLogFormat::EnableDCCResumeChannel},
        {EVENT_DCC_CHAT, &TLogFormat::EnableDCCChatConsole, &TLogFormat::EnableDCCChatChannel},
        {EVENT_REPLY, &TLogFormat::EnableReplyConsole, &TLogFormat::EnableReplyChannel},
        {EVENT_ERROR_REPLY, &TLogFormat::EnableErrorReplyConsole, &TLogFormat::EnableErrorReplyChannel},
        {EVENT_DCC_RECEIVE_FAIL, &TLogFormat::EnableDCCReceiveFailConsole, &TLogFormat::EnableDCCReceiveFailChannel},
    };
    for (const auto& c : cases) {
        format.SetDefaults();
        format.*c.console = false;
        if (c.channel)
            format.*c.channel = false;
        for (int kind = -1; kind <= LOG_EVENT_KIND_COUNT; kind++) {
            bool gated = kind == c.kind || (c.kind == EVENT_KILL && kind == EVENT_QUIT);
            EXPECT_EQ(IsConsoleEventEnabled(format, kind), !gated) << c.kind << " " << kind;
            EXPECT_EQ(IsChannelEventEnabled(format, kind), !(gated && c.channel)) << c.kind << " " << kind;
        }
    }
}

TEST(LogLineTypeTest, UnknownEventKindsShowAsReplies)
{
    EXPECT_EQ(GetLineTypeOfEvent(35), 15);
    EXPECT_EQ(GetLineTypeOfEvent(-1), 15);
    EXPECT_TRUE(IsMessageLineType(GetLineTypeOfEvent(EVENT_ACTION)));
    EXPECT_FALSE(IsMessageLineType(GetLineTypeOfEvent(EVENT_JOIN)));
}

} // namespace
