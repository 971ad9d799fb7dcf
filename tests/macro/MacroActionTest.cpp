// What the actions of rules and popup items hand to the unit, and the file edits and DLL calls
// the engine does itself.

#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"
#include "settings/PopupFile.h"

#include <tuple>

namespace {

struct TActionCase {
    const char* action;
    const char* target;
    const char* argument;
    const char* expected;
};

// Every keyword with the target "#t" and the argument "arg": the exact calls of the unit.
const TActionCase kActions[] = {
    {"print", "#t", "arg", "print #t | arg"},
    {"Exec", "#t", "arg", "exec arg"},
    {"execute", "#t", "arg", "exec arg"},
    {"execmin", "#t", "arg", "execmin arg"},
    {"ExecuteMinimize", "#t", "arg", "execmin arg"},
    {"openurl", "#t", "arg", "url arg | #t"},
    {"Send", "#chan", "hello", "command NOTICE #chan :hello [lines]"},
    {"raw", "#t", "PRIVMSG #x :y", "command PRIVMSG #x :y [lines]"},
    {"action", "#t", "arg", "command ACTION #t :arg"},
    {"join", "#a", "#b", "command JOIN #b"},
    {"part", "#t", "arg", "command PART #t :arg"},
    {"quit", "#t", "arg", "command QUIT :arg"},
    {"mode", "#t", "+o bob", "command MODE #t +o bob"},
    {"nick", "#t", "arg", "command NICK arg"},
    {"topic", "#t", "arg", "command TOPIC #t :arg"},
    {"kick", "#t", "bob", "command KICK #t bob"},
    {"away", "#t", "arg", "command AWAY :arg"},
    {"invite", "#t", "arg", "command INVITE #t :arg"},
    {"ctcpping", "alice", "arg", "command CTCPPING alice"},
    {"ctcpquery", "alice", "VERSION", "command CTCP VERSION alice"},
    {"ctcpreply", "alice", "arg", "command CTCPREPLY alice :arg"},
    {"pushtoopqueue", "#t", "bob", "giveop #t | bob"},
    {"giveop", "#t", "bob", "giveop #t | bob"},
    {"showballoon", "#t", "arg", "balloon #t | arg"},
    {"showbaloon", "#t", "arg", "balloon #t | arg"},
    {"sound", "#t", "ding.wav", "sound ding.wav"},
    {"playsound", "#t", "ding.wav", "sound ding.wav"},
    {"selectchannel", "#t", "#s", "select #s"},
    {"channelcondition", "#t", "keyword", "mark #t | keyword"},
    {"window", "#t", "flashtitle", "window flashtitle"},
    {"menu", "#t", "connect", "menu connect"},
    {"dance", "#t", "arg", nullptr},
    {"", "#t", "arg", nullptr},
};

using MacroActions = MacroTest;

// The system's own number for a file, which a copy put in its place does not keep.
unsigned long long FileId(const CString& path)
{
    HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    bool known = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return known ? ((unsigned long long)info.nFileIndexHigh << 32 | info.nFileIndexLow) : 0;
}

} // namespace

TEST_F(MacroActions, EveryKeywordReachesTheUnitAsItsCommandLine)
{
    for (const TActionCase& c : kActions) {
        RunAction(c.action, ConvertFromUtf8(c.target), ConvertFromUtf8(c.argument));
        std::vector<std::string> expected;
        if (c.expected)
            expected.push_back(c.expected);
        EXPECT_EQ(expected, listener.Take()) << c.action;
    }
    engine.RunAction(nullptr, false);
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(MacroActions, TargetGetsVariablesAndArgumentGetsFunctionsToo)
{
    ASSERT_TRUE(WriteFileBytes(Files(L"one.txt"), "only %n\r\n"));
    WriteMacroFile(L"reply", {Rule("*", "PRIVMSG", "", "", "send", "%n$FILE(one.txt)", "%1 $FILE(one.txt)")});
    Enable({L"reply"});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"first second"});
    EXPECT_EQ(listener.Take(), std::vector<std::string>{"command NOTICE bob$FILE(one.txt) :second only bob [lines]"});
}

TEST_F(MacroActions, PopupItemsRunAsTheUserWithAnEmptyEvent)
{
    // An earlier event must not show through.
    WriteMacroFile(L"never", {Rule("*", "NEVER", "", "", "print", "", "")});
    Enable({L"never"});
    EXPECT_FALSE(Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"left over"}));
    TPopupItem item;
    item.action = L"Raw";
    item.target = L"%n";
    item.actionInfo = L"PRIVMSG %n :[%c][%m][%f][%u]";
    engine.ExecuteMenuItem(item, L"kv");
    item.action = L"part";
    engine.ExecuteMenuItem(item, L"kv");
    EXPECT_EQ(listener.Take(), (std::vector<std::string>{"command PRIVMSG kv :[][][kv][kv] [menu] [lines]",
                                                         "command PART kv :PRIVMSG kv :[][][kv][kv] [menu]"}));
}

// A popup item runs on what the user chose: the selection, the current channel, the own nick and
// the program's own values are no received text.
TEST_F(MacroActions, PopupItemsUseTheUsersSelectionAndOwnValues)
{
    listener.selectedText = L"www.example.com";
    listener.currentChannel = L"#chan";
    const CString today = Expanded(L"%d");
    for (const auto& [action, argument, call] :
         {std::make_tuple(L"openurl", L"%s", std::string("url www.example.com | ")),
          std::make_tuple(L"exec", L"notepad %s", std::string("exec notepad www.example.com")),
          std::make_tuple(L"Execute", L"C:\\Logs\\%d.txt", "exec C:\\Logs\\" + Narrow(today) + ".txt"),
          std::make_tuple(L"exec", L"D:\\IRC\\Log\\%a\\", std::string("exec D:\\IRC\\Log\\#chan\\")),
          std::make_tuple(L"exec", L"\"notepad.exe\" %n-%f.txt", std::string("exec \"notepad.exe\" kv-kv.txt"))}) {
        TPopupItem item;
        item.action = action;
        item.actionInfo = argument;
        engine.ExecuteMenuItem(item, L"kv");
        EXPECT_EQ(listener.Take(), std::vector<std::string>{call});
    }
}

TEST_F(MacroActions, FileEditsAddLinesInShiftJis)
{
    RunAction("appendfiler", L"new.txt", L"first");
    EXPECT_EQ("first\r\n", Bytes(Files(L"new.txt")));
    ASSERT_TRUE(WriteFileBytes(Files(L"log.txt"), "one\r\ntwo"));
    RunAction("addtailline", L"log.txt", L"日本");
    RunAction("AddHeadLine", L"log.txt", L"zero");
    RunAction("appendfile", L"log.txt", L"end");
    EXPECT_EQ("zero\r\none\r\ntwo\r\n" + std::string(ConvertToShiftJis(L"日本").GetString()) + "\r\nend\r\n",
              Bytes(Files(L"log.txt")));

    RunAction("deletefile", L"", L"new.txt");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"new.txt")));
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(MacroActions, LinesGoOnEitherEndOfLargeFiles)
{
    // With a lone LF and no line end at the very end: a line at the head rewrites every old line
    // with CR LF, as the whole list would be written back.
    CStringA big = NumberedLines("x", 5 * 1024 * 1024);
    ASSERT_TRUE(WriteFileBytes(Files(L"big.txt"), big + "lone\nlast"));
    const std::string old = std::string(big.GetString(), big.GetLength()) + "lone\r\nlast\r\n";
    for (const char* action : {"addheadline", "appendfiler"})
        RunAction(action, L"big.txt", ConvertFromUtf8(action));
    std::string expected = "appendfiler\r\naddheadline\r\n" + old;
    std::string bytes = Bytes(Files(L"big.txt"));
    EXPECT_TRUE(bytes == expected) << bytes.size() << " bytes, " << expected.size() << " expected";
    RunAction("appendfile", L"big.txt", L"end");
    expected += "end\r\n";
    bytes = Bytes(Files(L"big.txt"));
    EXPECT_TRUE(bytes == expected) << bytes.size() << " bytes, " << expected.size() << " expected";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"big.txt.tmp")));
}

TEST_F(MacroActions, LinesAtTheEndWriteTheOldLinesBackWithCrLf)
{
    ASSERT_TRUE(WriteFileBytes(Files(L"ends.txt"), "lf\ncr\rcrlf\r\n\r\nlast\r"));
    RunAction("appendfile", L"ends.txt", L"new");
    EXPECT_EQ("lf\r\ncr\r\ncrlf\r\n\r\nlast\r\nnew\r\n", Bytes(Files(L"ends.txt")));
    ASSERT_TRUE(WriteFileBytes(Files(L"lf.txt"), "one\ntwo\n"));
    RunAction("addtailline", L"lf.txt", L"three");
    EXPECT_EQ("one\r\ntwo\r\nthree\r\n", Bytes(Files(L"lf.txt")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"lf.txt.tmp")));

    // A file already in CR LF, as the macros' own logs are, takes the line in place: the same file
    // goes on growing, not a copy put in its place.
    const unsigned long long id = FileId(Files(L"lf.txt"));
    ASSERT_NE(0u, id);
    RunAction("appendfile", L"lf.txt", L"four");
    RunAction("addtailline", L"lf.txt", L"five");
    EXPECT_EQ("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n", Bytes(Files(L"lf.txt")));
    EXPECT_EQ(id, FileId(Files(L"lf.txt")));

    // Another program changes the file between two lines: a line it added, and one it changed in
    // place without changing the size, are written back with CR LF all the same.
    auto writeAt = [&](bool atEnd, const char* bytes) {
        HANDLE file = CreateFileW(Files(L"lf.txt"), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, atEnd ? FILE_END : FILE_BEGIN);
        WriteFile(file, bytes, (DWORD)strlen(bytes), &written, nullptr);
        CloseHandle(file);
    };
    writeAt(false, "one\n\n");
    RunAction("appendfile", L"lf.txt", L"six");
    EXPECT_EQ("one\r\n\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\n", Bytes(Files(L"lf.txt")));
    writeAt(true, "seven\n");
    RunAction("appendfile", L"lf.txt", L"eight");
    EXPECT_EQ("one\r\n\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven\r\neight\r\n", Bytes(Files(L"lf.txt")));

    // A line with a lone CR or LF of its own (a chat line keeps them) goes on as it is; the next
    // line writes the file back with CR LF all through.
    ASSERT_TRUE(WriteFileBytes(Files(L"own.txt"), "one\r\n"));
    RunAction("appendfile", L"own.txt", L"a\rb");
    RunAction("appendfile", L"own.txt", L"c\nd");
    EXPECT_EQ("one\r\na\r\nb\r\nc\nd\r\n", Bytes(Files(L"own.txt")));
    RunAction("appendfile", L"own.txt", L"e");
    EXPECT_EQ("one\r\na\r\nb\r\nc\r\nd\r\ne\r\n", Bytes(Files(L"own.txt")));
}

// A read that fails partway leaves the file as it was, with no copy beside it; once reads work
// again the line goes in.
TEST_F(MacroActions, AReadThatFailsPartwayLeavesTheFile)
{
    // The lone LF at the start makes a line at the end rewrite the file as well.
    const struct {
        const wchar_t* name;
        CStringA bytes;
    } files[] = {{L"mixed.txt", "lone\n" + NumberedLines("x", 256 * 1024)},
                 {L"clean.txt", NumberedLines("y", 256 * 1024)}};
    for (const auto& f : files) {
        const CString path = Files(f.name);
        ASSERT_TRUE(WriteFileBytes(path, f.bytes));
        for (const char* action : {"addheadline", "appendfiler", "addtailline", "appendfile"}) {
            SimulateReadFailureAfter(200000);
            RunAction(action, f.name, ConvertFromUtf8(action));
            SimulateReadFailureAfter(-1);
        }
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path + L".tmp")) << Narrow(f.name);
        const std::string bytes = Bytes(path);
        EXPECT_TRUE(bytes == std::string(f.bytes.GetString(), f.bytes.GetLength()))
            << Narrow(f.name) << ": " << bytes.size() << " bytes, " << f.bytes.GetLength() << " before";

        RunAction("addheadline", f.name, L"head");
        CStringA expected = "head\r\n" + f.bytes;
        expected.Replace("lone\n", "lone\r\n");
        EXPECT_TRUE(Bytes(path) == std::string(expected.GetString(), expected.GetLength())) << Narrow(f.name);
    }
}

// The copy beside a file that the rewrites go through has a longer name than the file: every
// action and function that changes a file works on every path the engine takes.
TEST_F(MacroActions, FileChangesWorkUpToTheLongestPath)
{
    std::vector<CString> paths;
    for (int length = MAX_PATH - 5; length < MAX_PATH; length++)
        paths.push_back(Files(CString(L'n', length - Files(L"").GetLength())));
    // A name of 253 characters, whose copy's name would pass the limit for one step, in a folder
    // of its own on the drive's root (two characters, so the path stays under the limit).
    const TTempFolder root(L"C:\\", 2);
    const CString shortFolder = root.path;
    ASSERT_FALSE(shortFolder.IsEmpty());
    paths.push_back(shortFolder + CString(L'm', 253));
    const struct {
        const wchar_t* text;
        const char* lines;
        const wchar_t* given;
    } once[] = {{L"$FILEONCE(%s)", "only\r\n", L"only"},
                {L"$FILEOT(%s)", "one\r\n", L"one"},
                {L"$DICONCE(%s,k)", "k v\r\n", L"v"},
                {L"$REPLACEOT(%s,k)", "k w\r\n", L"w"}};
    for (const CString& path : paths) {
        const CString name =
            path.Left(shortFolder.GetLength()) == shortFolder ? path : path.Mid(Files(L"").GetLength());
        ASSERT_TRUE(WriteFileBytes(path, "a\nb\r\n"));
        RunAction("addheadline", name, L"h");
        RunAction("appendfiler", name, L"r");
        RunAction("addtailline", name, L"t");
        RunAction("appendfile", name, L"u");
        EXPECT_EQ("r\r\nh\r\na\r\nb\r\nt\r\nu\r\n", Bytes(path)) << path.GetLength();
        for (const auto& o : once) {
            ASSERT_TRUE(WriteFileBytes(path, o.lines));
            CString text;
            text.Format(o.text, name.GetString());
            EXPECT_EQ(o.given, Expanded(text)) << Narrow(o.text) << " " << path.GetLength();
            EXPECT_EQ("", Bytes(path)) << Narrow(o.text) << " " << path.GetLength();
            EXPECT_EQ(L"", Expanded(text)) << Narrow(o.text) << " " << path.GetLength();
        }
        EXPECT_TRUE(DeleteFileW(path));
    }
}

TEST_F(MacroActions, PathsPastTheSystemLimitAreNotTried)
{
    // Without the long-path prefix the system takes MAX_PATH - 1 characters.
    const int room = MAX_PATH - 1 - Files(L"").GetLength();
    const CString longest(L'n', room), tooLong(L'n', room + 1);
    RunAction("appendfile", longest, L"line");
    EXPECT_EQ("line\r\n", Bytes(Files(longest)));
    RunAction("appendfile", tooLong, L"line");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\\\\?\\" + Files(tooLong)));
    // With it, longer paths are the rule's to name.
    const CString prefixed = L"\\\\?\\" + Files(L"") + CString(L'p', 250);
    RunAction("appendfile", prefixed, L"line");
    EXPECT_EQ("line\r\n", Bytes(prefixed));
    EXPECT_TRUE(DeleteFileW(prefixed));
    const CString drive = L"\\\\?\\C:\\";
    EXPECT_TRUE(engine.ResolveFilePath(drive + CString(L'x', 32767 - drive.GetLength())).IsEmpty());
    EXPECT_EQ(32766, engine.ResolveFilePath(drive + CString(L'x', 32766 - drive.GetLength())).GetLength());
}

TEST_F(MacroActions, NamesTheRuleWritesMayPointAnywhere)
{
    ASSERT_TRUE(CreateDirectoryW(folder.path + L"logs", nullptr));
    const std::string logs = Narrow(folder.path) + "logs\\";
    WriteMacroFile(L"own", {Rule("*", "PRIVMSG", "", "", "appendfile", logs + "all.txt", "%n: %m"),
                            Rule("*", "PRIVMSG", "", "", "addheadline", logs + "%n-%d.txt", "%m"),
                            Rule("*", "PRIVMSG", "", "", "print", "", "[$FILE(" + logs + "all.txt)]"),
                            Rule("*", "NOTICE", "", "", "deletefile", "", logs + "all.txt")});
    Enable({L"own"});
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"hello"});
    EXPECT_EQ("bob: hello\r\n", Bytes(folder.path + L"logs\\all.txt"));
    CString dated = Expanded(L"logs\\bob-%d.txt");
    EXPECT_EQ("hello\r\n", Bytes(folder.path + dated));
    EXPECT_EQ(listener.Take(), std::vector<std::string>{"print  | [bob: hello]"});
    EXPECT_TRUE(engine.MatchCondition(L"bob: hello", L"$LIST(" + folder.path + L"logs\\all.txt)", false, false, false));
    Process(L"bob!b@h", L"NOTICE", {L"#a", L"done"});
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.path + L"logs\\all.txt"));
}

TEST_F(MacroActions, NamesFilledByOthersStayInTheFolderTheRuleChose)
{
    // What other users write reaches names through the variables: no way out by "..", a drive
    // or a root, and no device in any step.
    ASSERT_TRUE(WriteFileBytes(folder.path + L"keep.txt", "* kept\r\n"));
    ASSERT_TRUE(CreateDirectoryW(Files(L"sub"), nullptr));
    const CString outside = folder.path + L"keep.txt";
    const std::string below = Narrow(Files(L"sub\\"));
    WriteMacroFile(L"evil", {Rule("*", "", "", "", "appendfile", "%m", "evil"),
                             Rule("*", "", "", "", "deletefile", "", "sub\\%m"),
                             Rule("*", "", "", "", "appendfile", below + "%m", "evil"),
                             Rule("*", "", "", "", "deletefile", "", below + "%m"),
                             Rule("*", "", "", "", "print", "", "[$FILE(%m)][$DIC(" + below + "%m,x)]")});
    Enable({L"evil"});
    for (const CString& name :
         {CString(L"..\\keep.txt"), CString(L"..\\..\\keep.txt"), CString(L"x\\..\\..\\..\\keep.txt"), outside,
          CString(L"\\") + outside.Mid(3), CString(L"\\\\?\\") + outside, CString(L"C:keep.txt"),
          CString(L"../../keep.txt"), CString(L"x\\ .. \\..\\..\\keep.txt"), CString(L"con"), CString(L"CON.txt"),
          CString(L"x\\nul"), CString(L"com1 .log"), CString(L"lpt1\\x.txt")}) {
        EXPECT_EQ(L"", engine.ResolveFilePath(name, std::vector<bool>(name.GetLength(), true))) << Narrow(name);
        Process(L"bob!b@h", L"PRIVMSG", {L"#a", name});
        EXPECT_EQ(listener.Take(), std::vector<std::string>{"print  | [][]"}) << Narrow(name);
        EXPECT_EQ("* kept\r\n", Bytes(outside)) << Narrow(name);
    }
    // A plain name, or steps of them, stays where the rule put it.
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"a..b.txt"});
    EXPECT_EQ("evil\r\n", Bytes(Files(L"a..b.txt")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"sub\\a..b.txt")));
    EXPECT_EQ(listener.Take(), std::vector<std::string>{"print  | [evil][]"});
    EXPECT_EQ(Files(L"x\\y.txt"), engine.ResolveFilePath(L"x\\y.txt", {true, true, true, true, true, true, true}));

    // The current channel's name is whoever made the channel's.
    ASSERT_TRUE(WriteFileBytes(folder.path + L"y.txt", "* kept\r\n"));
    ASSERT_TRUE(WriteFileBytes(Files(L"#chan.txt"), "old\r\n"));
    WriteMacroFile(L"current", {Rule("*", "", "", "", "appendfile", "%a.log", "evil"),
                                Rule("*", "", "", "", "deletefile", "", "%a.txt")});
    Enable({L"current"});
    listener.currentChannel = L"#x/../../y";
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"hi"});
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.path + L"y.log"));
    EXPECT_EQ("* kept\r\n", Bytes(folder.path + L"y.txt"));
    listener.currentChannel = L"#chan";
    Process(L"bob!b@h", L"PRIVMSG", {L"#a", L"hi"});
    EXPECT_EQ("evil\r\n", Bytes(Files(L"#chan.log")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"#chan.txt")));
}

#ifdef KV_MACRO_TEST_DLL
// The user's DLL is built beside the tests; it writes what it was given where the test can see.
class MacroDll : public MacroTest {
protected:
    void SetUp() override
    {
        MacroTest::SetUp();
        // The build path is a Unix one; Wine's Z: drive reaches it.
        CString built = ConvertFromUtf8(KV_MACRO_TEST_DLL);
        built.Replace(L'/', L'\\');
        ASSERT_TRUE(CopyFileW(built, Files(L"user.dll"), FALSE));
    }
};

TEST_F(MacroDll, CallRunsTheProcedureInTheFilesFolder)
{
    CString before = GetCurrentFolder();
    RunAction("dllcall", L"user.dll", L"Touch");
    EXPECT_EQ("touched", Bytes(Files(L"touched.txt")));
    EXPECT_EQ(before, GetCurrentFolder());
    // A name the DLL exports only with a leading underscore.
    RunAction("dllcall", L"user.dll", L"Plain");
    EXPECT_EQ("plain", Bytes(Files(L"plain.txt")));
    // Missing procedures and libraries do nothing.
    RunAction("dllcall", L"user.dll", L"Nothing");
    RunAction("dllcall", L"none.dll", L"Touch");
    EXPECT_EQ(before, GetCurrentFolder());
    // A library the rule names by its whole path.
    ASSERT_TRUE(DeleteFileW(Files(L"touched.txt")));
    RunAction("dllcall", Files(L"user.dll"), L"Touch");
    EXPECT_EQ("touched", Bytes(Files(L"touched.txt")));
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(MacroDll, HookGetsTheEventAndItsReplyRunsAsCommands)
{
    WriteMacroFile(L"hook", {Rule("*", "", "", "", "dllhook", "user.dll", "Hook")});
    Enable({L"hook"});
    Process(L"bob!bu@bh", L"PRIVMSG", {L"#a", L"日本 two"});
    Process(L"bob!bu@bh", L"PRIVMSG", {L"#a", L"empty"});
    // The reply's variables are expanded; its two lines run as two commands.
    EXPECT_EQ(listener.Take(),
              std::vector<std::string>{"command PRIVMSG #out :bob|bu|bh|PRIVMSG|#a|日本 two|bob\r\nJOIN #two [lines]"});
}

TEST_F(MacroDll, DllStringRepliesAreBounded)
{
    WriteMacroFile(L"hook", {Rule("*", "", "", "", "print", "", "$DLLSTRING(user.dll,Echo,%m)"),
                             Rule("*", "", "", "", "print", "", "$dllfunc(user.dll,Fill,x)"),
                             Rule("*", "", "", "", "print", "", "[$DLLSTRING(none.dll,Echo,x)]")});
    Enable({L"hook"});
    Process(L"bob!bu@bh", L"PRIVMSG", {L"#a", L"日本"});
    std::vector<std::string> calls = listener.Take();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("print  | <日本> bob", calls[0]);
    EXPECT_EQ("print  | " + std::string(4096, 'x'), calls[1]);
    EXPECT_EQ("print  | []", calls[2]);
}
#endif

// What other users write, through the variables, fills one parameter of a command, stays inside
// arguments of the program the rule names (by a batch file's rules for one), names a sound in
// the rule's folder and opens only after a web address; otherwise the action is refused and told in
// the server log.
TEST_F(MacroActions, ValuesFromOthersFillOneParameterArgumentOrName)
{
    const struct {
        const char* action;
        const char* target;
        const char* argument;
        const wchar_t* message;
        const char* call; // null: refused
    } cases[] = {
        {"join", "", "%1", L"!join #x", "command JOIN #x"},
        {"join", "", "%1", L"!join 0", nullptr},
        {"join", "", "%1", L"!join #x,0", nullptr},
        {"join", "", "#own,#two", L"-", "command JOIN #own,#two"},
        {"join", "", "%c mykey", L"-", "command JOIN #a mykey"},
        {"join", "", "%1 %2", L"!join #chan key", "command JOIN #chan key"},
        {"join", "", "%c %1", L"!join 0", "command JOIN #a 0"},
        {"join", "", "%m", L"#room secret", "command JOIN #room secret"},
        {"join", "", "%1", L"!join #a,#b", "command JOIN #a,#b"},
        {"join", "", "%m", L"0 key", nullptr},
        {"join", "", "#own,%1", L"!join #b", "command JOIN #own,#b"},
        {"join", "", "#own,%1", L"!join 0", nullptr},
        {"join", "", "$FILE(chans.txt)", L"!join #b", "command JOIN #a,#b,#b"},
        {"join", "", "$FILE(chans.txt)", L"!join 0", nullptr},
        {"mode", "%0", "+o %n", L"#x +b", "command MODE #x +o bob"},
        {"mode", "%m", "+o %n", L"#x +b", nullptr},
        {"kick", "%0", "%n", L"#x,#y", nullptr},
        {"send", "%n", "got: %m", L"a, b", "command NOTICE bob :got: a, b [lines]"},
        {"send", "%m", "hi", L"#a,#b", nullptr},
        {"ctcpquery", "%n", "%1", L"x VERSION", "command CTCP VERSION bob"},
        {"ctcpquery", "%n", "%m", L"VERSION x", nullptr},
        {"action", "%c", "waves at %m", L"a, b", "command ACTION #a :waves at a, b"},
        {"action", "%m", "waves", L"#a,#b", nullptr},
        {"part", "%c", "%m", L"bye now", "command PART #a :bye now"},
        {"part", "%m", "bye", L"#a #b", nullptr},
        {"topic", "%c", "%m", L"new, topic", "command TOPIC #a :new, topic"},
        {"topic", "%m", "x", L"#a,#b", nullptr},
        {"invite", "%n", "%c", L"-", "command INVITE bob :#a"},
        {"invite", "%m", "#a", L"carol,dave", nullptr},
        {"ctcpping", "%n", "", L"-", "command CTCPPING bob"},
        {"ctcpping", "%m", "", L"a b", nullptr},
        {"ctcpreply", "%n", "PING %m", L"1 2", "command CTCPREPLY bob :PING 1 2"},
        {"ctcpreply", "%m", "PING", L"a,b", nullptr},
        {"nick", "", "%m", L"two words", nullptr},
        {"exec", "", "\"notify.exe\" %m", L"hi \" /evil", "exec \"notify.exe\" \"hi \\\" /evil\""},
        {"exec", "", "\"notify.exe\" \"-t=%m\"", L"a\\\" b\\", "exec \"notify.exe\" \"-t=a\\\\\\\" b\\\\\""},
        {"exec", "", "\"C:\\bin\\%1.exe\"", L"x calc", nullptr},
        {"exec", "", "%m", L"calc.exe", nullptr},
        {"exec", "", "notepad C:\\Logs\\%u.txt", L"-", "exec notepad C:\\Logs\\me.txt"},
        {"exec", "", "notepad %s", L"-", nullptr},
        {"exec", "", "\"C:\\tools\\say.bat\" %m", L"\" & calc & \"",
         "exec \"C:\\tools\\say.bat\" \"\"\" & calc & \"\"\""},
        {"exec", "", "\"C:\\tools\\say.bat\" %m", L"x%CMDCMDLINE:~-1%&calc.exe&rem ", nullptr},
        {"exec", "", "\"C:\\tools\\say.bat\" %m", L"hello there", "exec \"C:\\tools\\say.bat\" \"hello there\""},
        {"execmin", "", "\"C:\\tools\\Say.CMD.\" \"%m\"", L"a\"b", "execmin \"C:\\tools\\Say.CMD.\" \"a\"\"b\""},
        {"exec", "", "\"cmd\" /c echo %m", L"\"x", "exec \"cmd\" /c echo \"\"\"x\""},
        {"exec", "", "D:\\IRC\\Log\\%a\\", L"-", nullptr},
        {"openurl", "", "http://example.com/?q=%1", L"x a", "url http://example.com/?q=a | "},
        {"openurl", "", "%1", L"x https://example.com/", "url https://example.com/ | "},
        {"openurl", "", "%1", L"x C:\\Windows\\calc.exe", nullptr},
        {"openurl", "", "%1", L"x ttp://example.com/", "url ttp://example.com/ | "},
        {"openurl", "", "%1", L"x ttps://example.com/", "url ttps://example.com/ | "},
        {"openurl", "", "%1", L"x mms://example.com/a", "url mms://example.com/a | "},
        {"openurl", "", "%1", L"x ttp:///calc.exe", nullptr},
        {"openurl", "", "%1", L"x www.example.com", nullptr},
        {"sound", "", "%1.wav", L"x ding", "sound ding.wav"},
        {"sound", "", "%1", L"x \\\\host\\share\\a.wav", nullptr},
        {"sound", "", "%1", L"x ..\\..\\a.wav", nullptr},
    };
    const std::string refused = "print  | " + Narrow(LoadResourceString(IDS_MACRO_ACTION_REFUSED).Left(8));
    // The user's own file: its line is the rule's text, the variables in it are still received.
    ASSERT_TRUE(WriteFileBytes(Files(L"chans.txt"), "#a,#b,%1\r\n"));
    listener.selectedText = L"www.example.com";
    listener.currentChannel = L"#chan";
    for (const auto& c : cases) {
        WriteMacroFile(L"rule", {Rule("*", "PRIVMSG", "", "", c.action, c.target, c.argument)});
        Enable({L"rule"});
        Process(L"bob!b@h", L"PRIVMSG", {L"#a", c.message});
        std::vector<std::string> calls = listener.Take();
        ASSERT_EQ(calls.size(), 1u) << c.action << " " << Narrow(c.message);
        if (c.call)
            EXPECT_EQ(calls[0], c.call) << Narrow(c.message);
        else
            EXPECT_EQ(calls[0].rfind(refused, 0), 0u) << calls[0];
    }
}
