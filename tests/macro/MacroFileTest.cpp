// Macro files on disk: the UTF-8 and the older Shift-JIS form, comments, odd lines, and a
// round trip through writing.

#include "tests/macro/MacroTestSupport.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"

namespace {

class MacroFiles : public MacroTest {
protected:
    CString Path(const wchar_t* name) { return folder.path + L"macros\\" + name + L".kmf"; }
    bool Read(TMacroFile& file, const wchar_t* name, const CStringA& bytes)
    {
        file.folder = folder.path + L"macros\\";
        file.name = name;
        return WriteFileBytes(Path(name), bytes) && file.Read();
    }
};

std::string Describe(const TMacroItem& item)
{
    return std::to_string(item.disabled) + "|" + Narrow(item.user) + "|" + Narrow(item.command) + "|" +
           Narrow(item.channel) + "|" + Narrow(item.message) + "|" + std::to_string(item.ownState) + "|" +
           std::to_string(item.senderState) + "|" + Narrow(item.action) + "|" + Narrow(item.target) + "|" +
           Narrow(item.argument) + "|" + std::to_string(item.stop);
}

std::vector<std::string> DescribeAll(const TMacroFile& file)
{
    std::vector<std::string> items;
    for (const TMacroItem* item : file.items)
        items.push_back(Describe(*item));
    return items;
}

} // namespace

TEST_F(MacroFiles, ReadsTheFieldsOfEachLine)
{
    TMacroFile file;
    ASSERT_TRUE(Read(file, L"a",
                     "1\tEncoding=UTF-8\r\n"
                     "0\t\t\t%me\tPRIVMSG\t#a\t*hello*\t0\t0\tsend\t%c\thi\t1\r\n"
                     "0\r\n"
                     "\r\n"
                     "# a comment\r\n"
                     "2x\tskip\tskip\tu\tc\t\xE6\x97\xA5\tm\t3\t2\ta\tt\targ\t0\textra\r\n"
                     "0\t\t\t\t\t\t\t\t\tprint\t\tone\ttwo\t1\r\n"));
    EXPECT_EQ(DescribeAll(file),
              (std::vector<std::string>{"0|%me|PRIVMSG|#a|*hello*|0|0|send|%c|hi|1", "0|||||0|0||||0",
                                        "1|u|c|日|m|3|2|a|t|arg|0", "0|||||0|0|print||one|0"}));
}

TEST_F(MacroFiles, OlderFilesAreShiftJisAndTheMarkCountsOnlyFirstAfterAnyByteOrderMark)
{
    TMacroFile file;
    CStringA sjis = ConvertToShiftJis(L"0\t\t\t*\tPRIVMSG\t#日本\t*こんにちは*\t0\t0\tsend\t%c\tやあ\t0");
    ASSERT_TRUE(Read(file, L"old", sjis + "\r\n"));
    EXPECT_EQ(DescribeAll(file), std::vector<std::string>{"0|*|PRIVMSG|#日本|*こんにちは*|0|0|send|%c|やあ|0"});

    ASSERT_TRUE(Read(file, L"late", "# first\r\n1\tEncoding=UTF-8\r\n" + sjis + "\r\n"));
    EXPECT_EQ(DescribeAll(file),
              (std::vector<std::string>{"1|||||0|0||||0", "0|*|PRIVMSG|#日本|*こんにちは*|0|0|send|%c|やあ|0"}));

    // An editor's byte-order mark before the marker line still makes the file UTF-8.
    CStringA utf8 = ConvertToUtf8(L"0\t\t\t*\tPRIVMSG\t#日本\t*こんにちは*\t0\t0\tsend\t%c\tやあ\t0");
    ASSERT_TRUE(Read(file, L"marked",
                     "\xEF\xBB\xBF"
                     "1\tEncoding=UTF-8\r\n" +
                         utf8 + "\r\n"));
    EXPECT_EQ(DescribeAll(file), std::vector<std::string>{"0|*|PRIVMSG|#日本|*こんにちは*|0|0|send|%c|やあ|0"});
}

TEST_F(MacroFiles, WriteAndReadBack)
{
    TMacroFile out(folder.path + L"new\\macros\\", L"round");
    const TMacroItem items[] = {
        {false, L"%me", L"PRIVMSG", L"#a", L"*hello*", 0, 0, L"send", L"%c", L"hi", true},
        {true, L"*!*@日本.jp", L"JOIN|PART", L"#日本", L"", 1, 2, L"print", L"", L"%n さん", false},
        {false, L"", L"", L"", L"", 0, 0, L"", L"", L"", false},
    };
    for (const TMacroItem& item : items)
        out.items.push_back(new TMacroItem(item));
    ASSERT_TRUE(out.Write());
    TMacroFile in(out.folder, L"round");
    ASSERT_TRUE(in.Read());
    EXPECT_EQ(DescribeAll(out), DescribeAll(in));
    CStringA bytes = ReadFileBytes(out.GetFilePath(L"round"));
    EXPECT_EQ(0, bytes.Find("1\tEncoding=UTF-8\r\n0\t\t\t%me\tPRIVMSG\t#a\t*hello*\t0\t0\tsend\t%c\thi\t1\r\n"));

    // A TAB inside a field is written as a blank: the later fields stay in their places.
    out.items[0]->argument = L"a\tb";
    out.items[0]->message = L"\t*hello*";
    ASSERT_TRUE(out.Write());
    ASSERT_TRUE(in.Read());
    EXPECT_EQ(L"a b", in.items[0]->argument);
    EXPECT_EQ(L" *hello*", in.items[0]->message);
    EXPECT_EQ(L"send", in.items[0]->action);
    EXPECT_TRUE(in.items[0]->stop);

    // A shorter list cuts the file; an empty list leaves the first line alone.
    for (TMacroItem* item : out.items)
        delete item;
    out.items.clear();
    ASSERT_TRUE(out.Write());
    EXPECT_STREQ("1\tEncoding=UTF-8\r\n", ReadFileBytes(out.GetFilePath(L"round")));
    ASSERT_TRUE(in.Read());
    EXPECT_TRUE(in.items.empty());
}

TEST_F(MacroFiles, AFailedWriteLeavesTheOldFile)
{
    TMacroFile file(folder.path + L"macros\\", L"kept");
    file.items.push_back(new TMacroItem{false, L"*", L"JOIN", L"#a", L"", 0, 0, L"print", L"", L"old", false});
    ASSERT_TRUE(file.Write());
    CStringA before = ReadFileBytes(Path(L"kept"));
    file.items[0]->argument = L"new";
    file.items.push_back(new TMacroItem{false, L"*", L"PART", L"#a", L"", 0, 0, L"print", L"", L"more", false});
    SimulateWriteFailureAfter(20);
    EXPECT_FALSE(file.Write());
    SimulateWriteFailureAfter(-1);
    EXPECT_STREQ(before, ReadFileBytes(Path(L"kept")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"kept") + L".tmp"));
}

TEST_F(MacroFiles, NamesMustBeBareAndPresent)
{
    TMacroFile file(folder.path + L"macros\\", L"");
    EXPECT_FALSE(file.Read());
    EXPECT_FALSE(file.Write());
    // Files the escaping names would reach are there to be read.
    const CStringA rule = "0\t\t\t*\t\t\t\t0\t0\tprint\t\tout\t0\r\n";
    ASSERT_TRUE(WriteFileBytes(folder.path + L"x.kmf", rule));
    ASSERT_TRUE(CreateDirectoryW(folder.path + L"macros\\sub", nullptr));
    ASSERT_TRUE(WriteFileBytes(folder.path + L"macros\\sub\\x.kmf", rule));
    for (const wchar_t* name : {L"..\\x", L"sub/x", L"C:x", L"..", L"missing", L"con", L"nul.x", L"COM1"}) {
        file.name = name;
        EXPECT_FALSE(file.Read()) << Narrow(name);
        EXPECT_TRUE(file.items.empty());
    }
    file.name = L"..\\escape";
    EXPECT_FALSE(file.Write());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.path + L"escape.kmf"));
    EXPECT_EQ(L".kmf", TMacroFile::GetFileExtension());
}
