// Macro texts: the %-variables of the current event and the $-functions over the user's files.

#include "tests/common/RepeatText.h"
#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/StringUtils.h"

namespace {

class MacroExpand : public MacroTest {
protected:
    void SetUp() override
    {
        MacroTest::SetUp();
        listener.currentChannel = L"#cur";
        listener.selectedText = L"sel";
        // The rule only makes the engine take the event as its current one.
        WriteMacroFile(L"never", {Rule("*", "NEVER", "", "", "print", "", "")});
        Enable({L"never"});
    }
    // The event becomes the engine's current one.
    void Event(const CString& prefix, const CString& command, std::vector<CString> params)
    {
        Process(prefix, command, std::move(params));
    }
    CString Variables(const CString& text)
    {
        CString copy = text;
        engine.ExpandPercentVariables(copy);
        return copy;
    }
};

} // namespace

TEST_F(MacroExpand, PercentVariablesOfTheEvent)
{
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11"});
    const struct {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"%n %l %h %c %u", L"bob bu b.host #a me"},
        {L"%a %s %y", L"#cur sel 192.0.2.1"},
        {L"%f", L"#a"},
        {L"%1|%9", L"w1|w9 w10 w11"},
        {L"100%% sure%", L"100% sure"},
        {L"%x %N %", L"%x %N "},
        {L"%m", L"w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11"},
        {L"no variables", L"no variables"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), Variables(c.text)) << Narrow(c.text);
    // Values are not scanned again.
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"%n"});
    EXPECT_EQ(L"%n", Variables(L"%m"));

    // A line break a value brings is a blank; the rule's own stay for the actions that split.
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"hi\rQUIT :bye\nx"});
    EXPECT_EQ(L"got: hi QUIT :bye x\r\nhi QUIT|:bye x", Variables(L"got: %m\r\n%0|%1"));

    Event(L"bob!bu@b.host", L"PRIVMSG", {L"me", L"a b c"});
    EXPECT_EQ(L"bob b ", Variables(L"%f %1 %5"));

    CString date = Variables(L"%d"), time = Variables(L"%t");
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString today;
    today.Format(L"%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(today, date);
    ASSERT_EQ(8, time.GetLength());
    EXPECT_TRUE(time[2] == L':' && time[5] == L':');
}

TEST_F(MacroExpand, FunctionsAndTheirArguments)
{
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"hello"});
    ASSERT_TRUE(WriteFileBytes(Files(L"one.txt"), ConvertToShiftJis(L"こんにちは %n\r\n")));
    ASSERT_TRUE(WriteFileBytes(Files(L"dic.txt"), "hel* hi there, %n\r\ndefault what?\r\n"));
    const struct {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"$$FILE(x)", L"$FILE(x)"},
        {L"[$file(one.txt)]", L"[こんにちは bob]"},
        {L"$FILE one.txt)", L" one.txt)"},
        {L"a$FILE(one.txt", L"aone.txt"},
        {L"$FILE(missing.txt)end", L"end"},
        {L"$DIC(dic.txt,%m)", L"hi there, bob"},
        {L"$REPLACE(dic.txt,bye)", L"what?"},
        {L"$DIC(dic.txt)", L"dic.txt)"},
        {L"$US$ $x", L"$US$ $x"},
        {L"$ENCODEURL(a b/日本)", L"a+b%2F%E6%97%A5%E6%9C%AC"},
        {L"$ENCODEURL(日本,sjis)", L"%93%FA%96%7B"},
        {L"$encodeurl(\x00e9,1252)", L"%E9"},
        {L"$ENCODEURL(a) b,utf-8)", L"a%29+b"},
        {L"%n $$ %m", L"bob $ hello"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), Expanded(c.text)) << Narrow(c.text);

    // Without variable expansion only the function output has its variables filled.
    CString text = L"%n $FILE(one.txt)";
    engine.ExpandText(text, false);
    EXPECT_EQ(L"%n こんにちは bob", text);
    // The unit's entry runs against an empty event of the given nick.
    EXPECT_EQ(L"[%m] こんにちは kv", engine.ExpandVariables(L"[%m] $FILE(one.txt)", L"kv"));
}

TEST_F(MacroExpand, OnceFunctionsUseUpTheirLines)
{
    ASSERT_TRUE(WriteFileBytes(Files(L"once.txt"), "only\r\n"));
    EXPECT_EQ(L"only", Expanded(L"$FILEONCE(once.txt)"));
    EXPECT_EQ("", Bytes(Files(L"once.txt")));
    EXPECT_EQ(L"", Expanded(L"$FILEONCE(once.txt)"));

    ASSERT_TRUE(WriteFileBytes(Files(L"ot.txt"), "a\r\nb\r\nc\r\n"));
    std::set<std::string> seen;
    for (int i = 0; i < 3; i++)
        seen.insert(Narrow(Expanded(L"$FILEOT(ot.txt)")));
    EXPECT_EQ((std::set<std::string>{"a", "b", "c"}), seen);

    ASSERT_TRUE(WriteFileBytes(Files(L"d.txt"), "x* one\r\nx* two\r\ndefault none\r\n"));
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"xy"});
    EXPECT_EQ(L"one two none none",
              Expanded(L"$DICONCE(d.txt,%m) $REPLACEOT(d.txt,%m) $DICONCE(d.txt,%m) $DIC(d.txt,x)"));
    EXPECT_EQ("default none\r\n", Bytes(Files(L"d.txt")));
}

TEST_F(MacroExpand, HostileTextsStayBounded)
{
    // A long message in a template that repeats it stays limited.
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", CString(L'x', 5000)});
    CString many;
    for (int i = 0; i < 200; i++)
        many += L"%m$$";
    EXPECT_EQ(TMacroManager::MaxTextLength, Expanded(many).GetLength());
    // Escapes by names the sender fills give nothing.
    ASSERT_TRUE(WriteFileBytes(folder.path + L"secret.txt", "* secret\r\n"));
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", L"..\\secret.txt"});
    EXPECT_EQ(L"[][]", Expanded(L"[$FILE(%m)][$DIC(%m,x)]"));
    Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", folder.path + L"secret.txt"});
    EXPECT_EQ(L"[][]", Expanded(L"[$FILE(%m)][$DIC(%m,x)]"));
}

// Functions that never find their comma or parenthesis must not each read the rest of the text.
TEST_F(MacroExpand, UnfinishedFunctionsAreReadOnce)
{
    const int n = 16000;
    const struct {
        const wchar_t* piece;
        const wchar_t* left;
    } cases[] = {
        {L"$DIC(x)", L"x)"},     {L"$REPLACE(x)", L"x)"},   {L"$ENCODEURL(x", L"x"},
        {L"$ENCODEURL(x,", L""}, {L"$DLLSTRING(a)", L"a)"}, {L"$FILE(x", L"x"},
    };
    for (const auto& c : cases) {
        CString text = Repeat(c.piece, n);
        EXPECT_EQ(Expanded(text), Repeat(c.left, n)) << Narrow(c.piece);
        EXPECT_LE(engine.GetLastScanCount(), 2LL * text.GetLength()) << Narrow(c.piece);
    }
}

// The user's quote files, dictionaries and lists are read whatever their size, and as often as
// a text names them.
TEST_F(MacroExpand, LargeFilesAreReadOnEveryUse)
{
    const long long megabyte = 1024 * 1024;
    ASSERT_TRUE(WriteFileBytes(Files(L"quotes.txt"), NumberedLines("quote", 5 * megabyte)));
    WriteMacroFile(L"quote", {Rule("*", "PRIVMSG", "", "!quote", "send", "%n", "$FILE(quotes.txt)")});
    Enable({L"quote"});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"!quote"});
    std::vector<std::string> calls = listener.Take();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(0u, calls[0].find("command NOTICE bob :quote")) << calls[0];
    EXPECT_EQ(calls[0].size(), std::string("command NOTICE bob : [lines]").size() + 93)
        << calls[0]; // "quote", seven digits, a blank and 80 dots

    // The entry that decides is the last of the file.
    ASSERT_TRUE(WriteFileBytes(Files(L"users.txt"), NumberedLines("nobody", 5 * megabyte) + "bob!*@*\r\n"));
    EXPECT_TRUE(engine.MatchCondition(L"bob!b@h", L"$LIST(users.txt)", false, false, false));
    EXPECT_FALSE(engine.MatchCondition(L"eve!e@h", L"$LIST(users.txt)", false, false, false));

    ASSERT_TRUE(WriteFileBytes(Files(L"dic.txt"), NumberedLines("key", 3 * megabyte) + "x* found\r\n"));
    EXPECT_EQ(L"found found found", Expanded(L"$DIC(dic.txt,xa) $DIC(dic.txt,xb) $DIC(dic.txt,xc)"));
    CStringA padding('#', (int)(2 * megabyte));
    ASSERT_TRUE(WriteFileBytes(Files(L"half.txt"), "x answer\r\n" + padding + "\r\n"));
    EXPECT_EQ(Expanded(Repeat(L"[$DIC(half.txt,x)]", 6)), Repeat(L"[answer]", 6));
}

// A text naming files again and again opens them only up to a bound.
TEST_F(MacroExpand, RepeatedFileFunctionsAreBounded)
{
    ASSERT_TRUE(WriteFileBytes(Files(L"one.txt"), "1\r\n"));
    EXPECT_EQ(Expanded(Repeat(L"$FILE(one.txt)$DIC(none.txt,x)", TMacroManager::MaxFileOpens)),
              Repeat(L"1", TMacroManager::MaxFileOpens / 2));
    ASSERT_TRUE(WriteFileBytes(Files(L"list.txt"), "nomatch\r\n"));
    ASSERT_TRUE(WriteFileBytes(Files(L"hit.txt"), "*\r\n"));
    CString lists = Repeat(L"$LIST(list.txt)|", TMacroManager::MaxFileOpens - 1);
    EXPECT_TRUE(engine.MatchCondition(L"x", lists + L"$LIST(hit.txt)", false, false, false));
    EXPECT_FALSE(engine.MatchCondition(L"x", lists + L"$LIST(list.txt)|$LIST(hit.txt)", false, false, false));
}

// A text cut at a bound never ends in the first half of a pair: that half alone is no character
// a server or a file can take.
TEST_F(MacroExpand, CutsNeverPartAPair)
{
    const CString pair = L"\xD83D\xDE00";
    const int bound = TMacroManager::MaxTextLength;
    // Four arguments use up the variables' room until the last value is cut inside its pair.
    listener.selectedText = CString(L's', 50000);
    const int room = TMacroManager::MaxVariableRoom - 4 * 50000;
    const struct {
        CString message;
        CString text;
        bool variablesOnly;
        CString expected;
    } cases[] = {
        {CString(L'x', bound - 1) + pair, L"%m", true, CString(L'x', bound - 1)},
        {CString(L'x', bound - 2) + pair, L"$$%m", false, L"$" + CString(L'x', bound - 2)},
        {L"bob", L"%m" + CString(L'y', bound - 4) + pair, true, L"bob" + CString(L'y', bound - 4)},
        {CString(L'x', room - 1) + pair + L"x", Repeat(L"$DIC(none.txt,%s)", 4) + L"%m%n", false,
         CString(L'x', room - 1)},
    };
    for (const auto& c : cases) {
        Event(L"bob!bu@b.host", L"PRIVMSG", {L"#a", c.message});
        CString result = c.variablesOnly ? Variables(c.text) : Expanded(c.text);
        EXPECT_EQ(c.expected.GetLength(), result.GetLength()) << Narrow(c.text.Left(20));
        EXPECT_TRUE(result == c.expected) << Narrow(c.text.Left(20));
    }
}

// An encoding whose result passes the bound gives what encoding the whole argument would give up
// to the bound, whatever follows in the argument.
TEST_F(MacroExpand, EncodingsPastTheBoundGiveTheirFirstPart)
{
    const int bound = TMacroManager::MaxTextLength;
    const CString argument = Repeat(L"日本語\xD83D\xDE00 a", bound / 4);
    const struct {
        const wchar_t* encoding;
        UINT codePage;
    } cases[] = {{L"", CP_UTF8}, {L",sjis", 932}, {L",1252", 1252}};
    for (const auto& c : cases) {
        for (const CString& lead : {CString(), CString(L'x', bound - 100), CString(L'x', bound - 1)}) {
            CString expected = lead + EncodeUrl(ConvertToCodePage(argument, c.codePage));
            expected = expected.Left(bound);
            CString result = Expanded(lead + L"$ENCODEURL(" + argument + c.encoding + L")");
            EXPECT_EQ(expected.GetLength(), result.GetLength()) << Narrow(c.encoding) << " " << lead.GetLength();
            EXPECT_TRUE(result == expected) << Narrow(c.encoding) << " " << lead.GetLength();
        }
    }
}
