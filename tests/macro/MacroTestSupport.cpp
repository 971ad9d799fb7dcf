#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"

#include <cstdio>

std::string Bytes(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    return std::string(bytes.GetString(), bytes.GetLength());
}

CStringA NumberedLines(const char* word, long long size)
{
    std::string bytes;
    char line[128];
    for (int i = 0; (long long)bytes.size() < size; i++) {
        snprintf(line, sizeof line, "%s%07d %.*s\r\n", word, i, 80,
                 "................................................................................");
        bytes += line;
    }
    return CStringA(bytes.c_str(), (int)bytes.size());
}

TIRCReceiveMessage MakeEvent(const CString& prefix, const CString& command, std::vector<CString> params)
{
    TIRCReceiveMessage message;
    message.prefix = prefix;
    int bang = prefix.Find(L'!'), at = prefix.Find(L'@');
    message.nick = bang < 0 ? prefix : prefix.Left(bang);
    if (bang >= 0 && at > bang) {
        message.user = prefix.Mid(bang + 1, at - bang - 1);
        message.host = prefix.Mid(at + 1);
    }
    message.command = command;
    message.params = std::move(params);
    return message;
}

void MacroTest::SetUp()
{
    ASSERT_TRUE(CreateDirectoryW(folder.path + L"macros", nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.path + L"files", nullptr));
    engine.SetListener(&listener);
    engine.SetMacroFolder(folder.path + L"macros\\");
    engine.SetFilesFolder(folder.path + L"files\\");
}

void MacroTest::WriteMacroFile(const CString& name, const std::vector<std::string>& lines)
{
    std::string bytes = "1\tEncoding=UTF-8\r\n";
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    ASSERT_TRUE(WriteFileBytes(folder.path + L"macros\\" + name + L".kmf", CStringA(bytes.c_str())));
}

void MacroTest::Enable(std::vector<CString> names)
{
    engine.SetFileNames(names);
    engine.UnloadAll();
}

std::string MacroTest::Rule(const std::string& user, const std::string& command, const std::string& channel,
                            const std::string& message, const std::string& action, const std::string& target,
                            const std::string& argument, int ownState, int senderState, bool stop)
{
    return "0\t\t\t" + user + "\t" + command + "\t" + channel + "\t" + message + "\t" + std::to_string(ownState) +
           "\t" + std::to_string(senderState) + "\t" + action + "\t" + target + "\t" + argument + "\t" +
           (stop ? "1" : "0");
}

bool MacroTest::Process(const CString& prefix, const CString& command, std::vector<CString> params)
{
    return engine.ProcessEvent(MakeEvent(prefix, command, std::move(params)), L"me");
}

CString MacroTest::Expanded(const CString& text)
{
    CString copy = text;
    engine.ExpandText(copy, true);
    return copy;
}

void MacroTest::RunAction(const char* action, const CString& target, const CString& argument)
{
    TMacroItem item;
    item.action = ConvertFromUtf8(action);
    item.target = target;
    item.argument = argument;
    engine.RunAction(&item, false);
}
