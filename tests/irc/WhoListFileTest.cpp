// The saved WHO list: its default name stays a single file name, its lines keep the saved
// column order, and a failed save leaves the old file whole.

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "irc/Member.h"
#include "irc/WhoListFile.h"

#include <gtest/gtest.h>

namespace {

std::string ReadBytes(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    return std::string(bytes.GetString(), bytes.GetLength());
}

TEST(WhoListFile, DefaultNameIsOneFileNameWhateverTheChannel)
{
    const struct {
        const wchar_t* channel;
        const wchar_t* name;
    } cases[] = {
        {L"#kv", L"#kv-members.txt"},
        {L"#a/b", L"#a_b-members.txt"},
        {L"#..\\..\\x", L"#.._.._x-members.txt"},
        {L"&c:d*e?f|g\"h<i>", L"&c_d_e_f_g_h_i_-members.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeWhoListFileName(c.channel), c.name) << c.name;
}

TEST(WhoListFile, RowsSaveNickLoginAddressServerRealName)
{
    TTempFolder folder;
    TIRCMember a(L"nick", L"user", L"host.example"), b(L"other", L"u2", L"h2");
    a.server = L"irc.example", a.fullName = L"Real Name";
    CString path = folder.path + MakeWhoListFileName(L"#kv");
    ASSERT_TRUE(SaveWhoList(path, {&a, &b}, CP_UTF8));
    EXPECT_EQ(ReadBytes(path), "nick\tuser\thost.example\tirc.example\tReal Name\r\nother\tu2\th2\t\t\r\n");
    ASSERT_TRUE(SaveWhoList(path, {}, CP_UTF8));
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(WhoListFile, FailedSaveKeepsTheOldFile)
{
    TTempFolder folder;
    TIRCMember a(L"nick", L"user", L"host");
    CString path = folder.path + L"list.txt";
    ASSERT_TRUE(SaveWhoList(path, {&a}, CP_UTF8));
    SimulateWriteFailureAfter(3);
    TIRCMember b(L"longer", L"login", L"address");
    EXPECT_FALSE(SaveWhoList(path, {&b, &b}, CP_UTF8));
    SimulateWriteFailureAfter(-1);
    EXPECT_EQ(ReadBytes(path), "nick\tuser\thost\t\t\r\n");
}

} // namespace
