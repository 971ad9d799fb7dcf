// Which rules an event meets: the event kinds the engine makes of received lines, the four text
// conditions with their alternatives, masks, negation, user keywords and list files, the states,
// and the order of files and rules.

#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"

namespace {

struct TMatchCase {
    const char* name;
    std::string user, command, channel, message;
    int ownState, senderState;
    const wchar_t* prefix;
    const wchar_t* eventCommand;
    std::vector<CString> params;
    const char* printed; // what the rule "print %c %m" shows; null when the rule must not run
};

// One case a line, to read down the columns.
// clang-format off
const TMatchCase kCases[] = {
    {"own message meets %me", "%me", "", "", "", 0, 0, L"me!u@h", L"PRIVMSG", {L"#a", L"hi"}, "print #a | hi"},
    {"other sender misses %me", "%me", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"hi"}, nullptr},
    {"%me|* takes everyone", "%me|*", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"hi"}, "print #a | hi"},
    {"%me|* takes me too", "%me|*", "", "", "", 0, 0, L"me!u@h", L"PRIVMSG", {L"#a", L"hi"}, "print #a | hi"},
    {"empty user takes others", "", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"hi"}, "print #a | hi"},
    {"empty user never takes me", "", "", "", "", 0, 0, L"me!u@h", L"PRIVMSG", {L"#a", L"hi"}, nullptr},
    {"$NOT mask|* lets others in", "$NOT *!*@bad.host|*", "", "", "", 0, 0, L"alice!a@good.host", L"PRIVMSG",
     {L"#a", L"x"}, "print #a | x"},
    {"$NOT mask|* keeps the mask out", "$NOT *!*@bad.host|*", "", "", "", 0, 0, L"bob!b@BAD.host", L"PRIVMSG",
     {L"#a", L"x"}, nullptr},
    {"$NOT mask alone takes nobody", "$NOT *!*@bad.host", "", "", "", 0, 0, L"alice!a@good.host", L"PRIVMSG",
     {L"#a", L"x"}, nullptr},
    {"$NOT %g2 takes who is not in group 2", "$NOT %g2", "", "", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"x"},
     "print #a | x"},
    {"$NOT %g2 keeps group 2 out", "$NOT %g2", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"$NOT %g2 never takes me", "$NOT %g2", "", "", "", 0, 0, L"me!u@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"%su is group 1", "%su", "", "", "", 0, 0, L"friend!f@h", L"PRIVMSG", {L"#a", L"x"}, "print #a | x"},
    {"%g1 misses others", "%g1", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"%mu is a mask of the user's own", "%mu", "", "", "", 0, 0, L"twin!t@h", L"PRIVMSG", {L"#a", L"x"},
     "print #a | x"},
    {"%nu misses a group member", "%nu", "", "", "", 0, 0, L"alice!a@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"%nu misses the own masks", "%nu", "", "", "", 0, 0, L"twin!t@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"%nu takes a stranger", "%NU", "", "", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"x"}, "print #a | x"},
    {"event masks ignore case", "*", "privmsg", "", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"x"}, "print #a | x"},
    {"CTCP* meets a query", "*", "CTCP*", "", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"me", L"\x01VERSION\x01"},
     "print me | VERSION"},
    {"CTCP* meets a reply", "*", "CTCP*", "", "", 0, 0, L"bob!b@h", L"NOTICE", {L"me", L"\x01PING 12\x01"},
     "print me | PING 12"},
    {"a query is no PRIVMSG", "*", "PRIVMSG", "", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"me", L"\x01VERSION\x01"},
     nullptr},
    {"ACTION takes the text after the word", "*", "ACTION", "#a", "waves", 0, 0, L"bob!b@h", L"PRIVMSG",
     {L"#a", L"\x01" L"action waves\x01"}, "print #a | waves"},
    {"JOIN drops the mode flags", "*", "JOIN", "#chan", "", 0, 0, L"bob!b@h", L"join", {L"#chan\x07o"},
     "print #chan | "},
    {"NICK: %me when I changed nick", "%me", "NICK", "", "", 0, 0, L"old!u@h", L"NICK", {L"me"}, "print  | me"},
    {"NICK: someone else", "%me", "NICK", "", "", 0, 0, L"me!u@h", L"NICK", {L"other"}, nullptr},
    {"numeric: own nick is the channel", "*", "0*", "*", "", 0, 0, L"irc.test", L"001", {L"me", L"Welcome", L"home"},
     "print me | Welcome home"},
    {"DCCCHATMES stands for the chat line", "*", "x|dccchatmes", "", "", 0, 0, L"bob!b@h", L"DCCCHATMESSAGE",
     {L"=bob", L"hello"}, "print =bob | hello"},
    {"QUIT has no channel to test", "*", "QUIT", "#nowhere", "bye*", 0, 0, L"bob!b@h", L"QUIT", {L"bye all"},
     "print  | bye all"},
    {"message masks ignore case", "*", "", "", "*hello*", 0, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"Say HELLO there"},
     "print #a | Say HELLO there"},
    {"message mask must cover the whole text", "*", "", "", "hello", 0, 0, L"bob!b@h", L"PRIVMSG",
     {L"#a", L"hello there"}, nullptr},
    {"channel condition with variables", "*", "", "%u", "", 0, 0, L"bob!b@h", L"PRIVMSG", {L"me", L"psst"},
     "print me | psst"},
    {"escaped star is literal", "*", "", "", "a\\*", 0, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"ab"}, nullptr},
    {"I am operator", "*", "", "", "", 1, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"x"}, "print #a | x"},
    {"I am not operator", "*", "", "", "", 2, 0, L"bob!b@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"I am not away", "*", "", "", "", 4, 0, L"bob!b@h", L"PRIVMSG", {L"#b", L"x"}, "print #b | x"},
    {"I am away", "*", "", "", "", 3, 0, L"bob!b@h", L"PRIVMSG", {L"#b", L"x"}, nullptr},
    {"sender is operator", "*", "", "", "", 0, 1, L"opper!o@h", L"PRIVMSG", {L"#a", L"x"}, "print #a | x"},
    {"sender is not operator", "*", "", "", "", 0, 2, L"opper!o@h", L"PRIVMSG", {L"#a", L"x"}, nullptr},
    {"unknown states hold", "*", "", "", "", 9, 7, L"bob!b@h", L"PRIVMSG", {L"#b", L"x"}, "print #b | x"},
};
// clang-format on

class MacroMatch : public MacroTest {
protected:
    void SetUp() override
    {
        MacroTest::SetUp();
        listener.self = {"me", "twin"};
        listener.groups = {"0:friend", "1:alice"};
        listener.operators = {"#a:me", "#a:opper"};
    }
};

} // namespace

TEST_F(MacroMatch, EventsMeetTheirRules)
{
    for (const TMatchCase& c : kCases) {
        WriteMacroFile(L"case",
                       {Rule(c.user, c.command, c.channel, c.message, "print", "%c", "%m", c.ownState, c.senderState)});
        Enable({L"case"});
        bool ran = Process(c.prefix, c.eventCommand, c.params);
        std::vector<std::string> expected;
        if (c.printed)
            expected.push_back(c.printed);
        EXPECT_EQ(expected, listener.Take()) << c.name;
        EXPECT_EQ(c.printed != nullptr, ran) << c.name;
    }
}

TEST_F(MacroMatch, ListFilesAreAlternativesInShiftJis)
{
    // Two users by mask and a Japanese greeting, as a user's editor saves them.
    ASSERT_TRUE(WriteFileBytes(Files(L"users.txt"), "*!*@bad.host\r\nbob!*@*\r\n"));
    ASSERT_TRUE(WriteFileBytes(Files(L"words.txt"), ConvertToShiftJis(L"こんにちは*\r\n")));
    ASSERT_TRUE(WriteFileBytes(folder.path + L"outside.txt", "dave!*@*\r\n"));
    WriteMacroFile(L"lists", {Rule("$list(users.txt)", "", "", "", "print", "users", "%n"),
                              Rule("*", "", "", "$LIST(words.txt)", "print", "words", "%n"),
                              Rule("$LIST(missing.txt)|$LIST users.txt|$LIST(users.txt|carol!*", "", "", "", "print",
                                   "fallback", "%n"),
                              // The rule's own name may point outside the files folder.
                              Rule("$LIST(..\\outside.txt)", "", "", "", "print", "outside", "%n")});
    Enable({L"lists"});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"こんにちは world"});
    Process(L"eve!e@bad.host", L"PRIVMSG", {L"#a", L"hi"});
    Process(L"carol!c@h", L"PRIVMSG", {L"#a", L"hi"});
    Process(L"dave!d@h", L"PRIVMSG", {L"#a", L"hi"});
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"print users | bob", "print words | bob", "print users | eve",
                                                         "print fallback | carol", "print outside | dave"}));
}

TEST_F(MacroMatch, StopEndsOnlyItsOwnFileAndDisabledRulesSleep)
{
    WriteMacroFile(
        L"first", {Rule("*", "", "", "", "print", "1a", "%m", 0, 0, true), Rule("*", "", "", "", "print", "1b", "%m")});
    WriteMacroFile(L"second", {"1" + Rule("*", "", "", "", "print", "2a", "%m").substr(1),
                               Rule("*", "", "", "", "print", "2b", "%m")});
    Enable({L"first", L"second"});
    EXPECT_TRUE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"go"}));
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"print 1a | go", "print 2b | go"}));
}

TEST_F(MacroMatch, AnActionThatExpandsUnitTextsKeepsTheEventForLaterRules)
{
    // A part without a message makes the unit expand its own part text meanwhile.
    listener.onCommand = [&] { engine.ExpandVariables(L"bye %u", L"other"); };
    WriteMacroFile(L"two",
                   {Rule("*", "", "", "", "part", "%c", ""), Rule("bob!*", "", "#a", "", "print", "%c", "%n %m")});
    Enable({L"two"});
    EXPECT_TRUE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"text"}));
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"command PART #a :", "print #a | bob text"}));
}

TEST_F(MacroMatch, AnActionThatReloadsTheFilesEndsTheEvent)
{
    WriteMacroFile(L"one",
                   {Rule("*", "PRIVMSG", "", "", "join", "", "#b"), Rule("*", "PRIVMSG", "", "", "print", "", "%m")});
    Enable({L"one"});
    // The unit reloads while it acts. Nothing else allocates in between, so the new file may
    // well take the old one's place in memory; a few rounds make that likely.
    TIRCReceiveMessage event = MakeEvent(L"bob!b@h", L"PRIVMSG", {L"#a", L"text"});
    TIRCReceiveMessage other = MakeEvent(L"bob!b@h", L"NEVER", {});
    for (int round = 0; round < 8; round++) {
        listener.onCommand = [&] {
            listener.onCommand = nullptr;
            engine.UnloadAll();
            engine.ProcessEvent(other, L"me");
        };
        // The rule after the action belongs to the file that is gone.
        EXPECT_TRUE(engine.ProcessEvent(event, L"me"));
        EXPECT_EQ(listener.Take(), std::vector<std::string>{"command JOIN #b"}) << round;
    }
    EXPECT_TRUE(engine.ProcessEvent(event, L"me"));
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"command JOIN #b", "print  | text"}));
}

TEST_F(MacroMatch, UnreadableFilesAreDroppedOnceAndTheOthersWork)
{
    WriteMacroFile(L"good", {Rule("*", "", "", "", "print", "ok", "%m")});
    // A file the escaping name would reach.
    WriteMacroFile(L"..\\good", {Rule("*", "", "", "", "print", "escaped", "%m")});
    Enable({L"missing", L"good", L"..\\good", L"C:good"});
    EXPECT_TRUE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"one"}));
    EXPECT_TRUE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"two"}));
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"loadError missing", "loadError ..\\good", "loadError C:good",
                                                         "print ok | one", "print ok | two"}));
    EXPECT_EQ(engine.GetFileNames(), std::vector<CString>{L"good"});

    // An engine whose folder is not set yet keeps its names.
    engine.SetMacroFolder(L"");
    Enable({L"good"});
    EXPECT_FALSE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"one"}));
    EXPECT_EQ(engine.GetFileNames(), std::vector<CString>{L"good"});
    engine.SetMacroFolder(folder.path + L"macros\\");

    // Nothing enabled, or nothing readable: no event reaches a rule.
    Enable({});
    EXPECT_FALSE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"three"}));
    Enable({L"missing"});
    EXPECT_FALSE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"three"}));
    EXPECT_EQ(listener.Take(), std::vector<std::string>{"loadError missing"});
}

TEST_F(MacroMatch, FilesAreReadOnceUntilUnloaded)
{
    WriteMacroFile(L"live", {Rule("*", "", "", "", "print", "old", "%m")});
    Enable({L"live"});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"1"});
    WriteMacroFile(L"live", {Rule("*", "", "", "", "print", "new", "%m")});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"2"});
    engine.UnloadAll();
    EXPECT_FALSE(engine.IsLoaded());
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"3"});
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"print old | 1", "print old | 2", "print new | 3"}));
}
