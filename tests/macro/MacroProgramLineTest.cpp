// The command lines exec actions build from received values, read back the way the programs read
// them: by the usual rules, and by the system's own command interpreter running a batch file.

#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"

#include <shellapi.h>

namespace {

std::vector<std::string> SplitLikeAProgram(const CString& arguments)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(L"program " + arguments, &count);
    std::vector<std::string> words;
    for (int i = 1; argv && i < count; i++)
        words.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return words;
}

// The arguments of a line that begins with its quoted program.
CString ArgumentsOf(const std::string& call, CString& program)
{
    CString line = ConvertFromUtf8(call.substr(call.find(' ') + 1).c_str());
    int close = line.Find(L'"', 1);
    program = line.Mid(1, close - 1);
    CString arguments = line.Mid(close + 1);
    return arguments.TrimLeft();
}

// Runs the program as the unit does, through the shell, and waits for it to end.
bool RunToEnd(const CString& program, const CString& arguments, const CString& folder)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = program;
    info.lpParameters = arguments;
    info.lpDirectory = folder;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess)
        return false;
    bool ended = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(info.hProcess);
    return ended;
}

} // namespace

class MacroProgramLine : public MacroTest {
protected:
    // The exec call a rule with this argument makes on a channel message from bob; empty when
    // the action was refused.
    std::string ExecCall(const std::string& argument, const wchar_t* message)
    {
        WriteMacroFile(L"rule", {Rule("*", "PRIVMSG", "", "", "exec", "", argument)});
        Enable({L"rule"});
        Process(L"bob!b@h", L"PRIVMSG", {L"#a", message});
        std::vector<std::string> calls = listener.Take();
        EXPECT_EQ(1u, calls.size()) << argument;
        if (calls.empty() || calls[0].rfind("print  | " + Narrow(refusal), 0) == 0)
            return std::string();
        return calls[0];
    }

    const CString refusal = LoadResourceString(IDS_MACRO_ACTION_REFUSED).Left(8);
};

// A value after a backslash, or anywhere in a word the rule left unquoted, stays inside that one
// word, which keeps its meaning.
TEST_F(MacroProgramLine, ValuesStayInTheirWordByTheUsualRules)
{
    const struct {
        const char* argument;
        const wchar_t* message;
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {"D:\\logs\\%c.txt", L"-", "\"D:\\logs\\#a.txt\"", {"D:\\logs\\#a.txt"}},
        {"%c.log -x", L"-", "\"#a.log\" -x", {"#a.log", "-x"}},
        {"D:\\logs\\old-%c-1.txt", L"-", "\"D:\\logs\\old-#a-1.txt\"", {"D:\\logs\\old-#a-1.txt"}},
        {"D:\\IRC\\Log\\%c\\", L"-", "\"D:\\IRC\\Log\\#a\\\\\"", {"D:\\IRC\\Log\\#a\\"}},
        {"D:\\x\\%m", L"a\"b c", "\"D:\\x\\a\\\"b c\"", {"D:\\x\\a\"b c"}},
        {"--out=\"D:\\logs\"\\%c.txt", L"-", "--out=\"D:\\logs\"\\\\\"#a\".txt", {"--out=D:\\logs\\#a.txt"}},
        {"\"D:\\x\\%m\"", L"\"b", "\"D:\\x\\\\\\\"b\"", {"D:\\x\\\"b"}},
    };
    for (const auto& c : cases) {
        std::string call = ExecCall("\"C:\\Windows\\notepad.exe\" " + std::string(c.argument), c.message);
        EXPECT_EQ("exec \"C:\\Windows\\notepad.exe\" " + std::string(c.line), call);
        CString program;
        EXPECT_EQ(c.words, SplitLikeAProgram(ArgumentsOf(call, program))) << call;
    }
}

// A batch file gets a received quote doubled inside its one argument; what the interpreter would
// read as a variable is refused. The interpreter under the tests reads each line: the batch file
// writes its arguments, and no peer's command leaves its marker.
TEST_F(MacroProgramLine, BatchFilesGetValuesAsOneArgumentAndRunNothingElse)
{
    // One argument a line: the interpreter under the tests reads what an argument brought again
    // for variables, up to the line's end (so a "%" is seen as the interpreter's own reading of
    // the command line through "cmd" rows).
    ASSERT_TRUE(WriteFileBytes(Files(L"say.bat"),
                               "@echo off\r\n>\"%~dp0args.txt\" echo [%1]\r\n"
                               ">>\"%~dp0args.txt\" echo [%2]\r\n>>\"%~dp0args.txt\" echo [%3]\r\n"));
    const std::string say = "\"" + Narrow(Files(L"say.bat")) + "\" ";
    const struct {
        const char* argument;
        const wchar_t* message;
        const char* written; // null: refused
    } cases[] = {
        {"%m", L"I said \"yes\"", "[\"I said \"\"yes\"\"\"][][]"},
        {"%m", L"the file is \"a b.txt\"", "[\"the file is \"\"a b.txt\"\"\"][][]"},
        {"\"%m\" two", L"one & \"x\"", "[\"one & \"\"x\"\"\"][two][]"},
        {"%m", L"a,b;c=d e\\", "[\"a,b;c=d e\\\"][][]"},
        {"D:\\logs\\%c.txt", L"-", "[\"D:\\logs\\#a.txt\"][][]"},
        {"%m", L"\" & echo x>marker.txt & \"", "[\"\"\" & echo x>marker.txt & \"\"\"][][]"},
        {"-t\"%m\"", L"a\"&echo x>marker.txt&\"", "[-t\"a\"\"&echo x>marker.txt&\"\"\"][][]"},
        {"\"cmd\" /c >args.txt echo %m", L"50% off", "\"50% off\""},
        {"\"cmd\" /c >args.txt echo %m", L"a\" & echo x>marker.txt & \"", "\"a\"\" & echo x>marker.txt & \"\"\""},
        {"%m", L"x%CMDCMDLINE:~-1%&echo x>marker.txt&rem ", nullptr},
        {"%m %%", L"50% off", nullptr},
        {"\"-t\"^%m", L"a&echo x>marker.txt", nullptr},
        {"\"-t\"%m", L"a&echo x>marker.txt", "[\"-t\"\"a&echo x>marker.txt\"][][]"},
    };
    for (const auto& c : cases) {
        std::string argument = c.argument;
        std::string call = ExecCall(argument.rfind("\"cmd\"", 0) == 0 ? argument : say + argument, c.message);
        if (!c.written) {
            EXPECT_EQ("", call) << Narrow(c.message);
            continue;
        }
        CString program, arguments = ArgumentsOf(call, program);
        DeleteFileW(Files(L"args.txt"));
        DeleteFileW(Files(L"marker.txt"));
        ASSERT_TRUE(RunToEnd(program, arguments, folder.path + L"files")) << call;
        CString written = ConvertFromUtf8(Bytes(Files(L"args.txt")).c_str());
        written.Remove(L'\r');
        written.Remove(L'\n');
        EXPECT_EQ(c.written, Narrow(written)) << call;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Files(L"marker.txt"))) << call;
    }
}

// The interpreter itself, and a name the system completes to a batch file, read the line by the
// interpreter's rules too.
TEST_F(MacroProgramLine, InterpreterRulesHoldForTheInterpreterAndCompletedNames)
{
    ASSERT_TRUE(WriteFileBytes(Files(L"say.bat"), ""));
    ASSERT_TRUE(WriteFileBytes(Files(L"tool.exe"), ""));
    ASSERT_TRUE(WriteFileBytes(Files(L"tool.cmd"), ""));
    const std::string say = Narrow(Files(L"say")), tool = Narrow(Files(L"tool"));
    const wchar_t* attack = L"x%CMDCMDLINE:~-1%&calc.exe&rem ";
    EXPECT_EQ("", ExecCall("\"" + say + "\" %m", attack));
    EXPECT_EQ("exec \"" + say + "\" \"50% off\"", ExecCall("\"" + say + "\" %m", L"50% off"));
    EXPECT_EQ("exec \"" + say + "\" \"a\"\"b\"", ExecCall("\"" + say + "\" %m", L"a\"b"));
    // The rule's "%" would open the variable that the value's closes.
    EXPECT_EQ("", ExecCall("\"" + say + "\" %%%m", L"CMDCMDLINE:~-1%&calc.exe&rem "));
    EXPECT_EQ("exec \"" + say + "\" \"%50 off\"", ExecCall("\"" + say + "\" %%%m", L"50 off"));
    // The program file comes first.
    EXPECT_EQ("exec \"" + tool + "\" \"a\\\"b\"", ExecCall("\"" + tool + "\" %m", L"a\"b"));
    EXPECT_EQ("exec \"" + tool + "\" \"" + Narrow(attack) + "\"", ExecCall("\"" + tool + "\" %m", attack));

    // The interpreter drops the first quote after /c and the line's last one.
    EXPECT_EQ("", ExecCall("\"cmd\" /c \"\"C:\\tools\\say.bat\" %m\"", L"a & calc"));
    EXPECT_EQ("", ExecCall("\"CMD.exe\" /C \"echo %m", L"a & calc"));
    EXPECT_EQ("exec \"cmd\" /c echo \"a & calc\"", ExecCall("\"cmd\" /c echo %m", L"a & calc"));
}
