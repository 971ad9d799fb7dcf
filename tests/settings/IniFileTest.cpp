#include "settings/IniFile.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    // Loads the bytes as a settings file and selects the section.
    TIniFile& Load(const CStringA& bytes, const wchar_t* section = L"", bool stripQuotes = false)
    {
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        ini.reset(new TIniFile(stripQuotes));
        EXPECT_TRUE(ini->Load(path));
        ini->SetSection(section);
        return *ini;
    }

    TTempFolder temp;
    CString path = temp.File(L"test.ini");
    std::unique_ptr<TIniFile> ini;
};

} // namespace

TEST_F(IniFileTest, EncodingMarkerOnlyAsTheVeryFirstLine)
{
    EXPECT_EQ(Load("encoding=utf-8\r\nk=\xE6\x97\xA5\r\n").ReadString(L"k", L""), L"日");
    EXPECT_EQ(ini->ReadString(L"encoding", L"-"), L"-");
    TIniFile& late = Load("\r\nEncoding=UTF-8\r\nk=\x82\xA0\r\n"); // Shift_JIS
    EXPECT_EQ(late.ReadString(L"Encoding", L"-"), L"UTF-8");
    EXPECT_EQ(late.ReadString(L"k", L""), L"あ");
    // An editor's byte-order mark before the marker belongs to nothing; before anything else
    // it is read as ever.
    EXPECT_EQ(Load("\xEF\xBB\xBF"
                   "Encoding=UTF-8\nk=\xE6\x97\xA5\n")
                  .ReadString(L"k", L""),
              L"日");
    EXPECT_EQ(Load("\xEF\xBB\xBF\nk=\x82\xA0\n").ReadString(L"k", L""), L"あ");
}

TEST_F(IniFileTest, LineRulesForSectionsAndEntries)
{
    TIniFile& ini = Load("top=1\n[Main\na=b=c\n=empty key\n; x=y\nno equals\n Left = 5 \nLeft=1\nLeft=2\n"
                         "[ Other ]\nv=o\n[Main]\nlater=3\n",
                         L"Main");
    EXPECT_EQ(ini.ReadString(L"a", L""), L"b=c");
    EXPECT_EQ(ini.ReadString(L"", L""), L"empty key");
    EXPECT_EQ(ini.ReadString(L"; x", L""), L"y");
    EXPECT_EQ(ini.ReadString(L" Left ", L""), L" 5 ");
    EXPECT_EQ(ini.ReadString(L"Left", L""), L"2");
    EXPECT_EQ(ini.ReadString(L"later", L""), L"3");
    EXPECT_EQ(ini.ReadString(L"left", L"-"), L"-");
    ini.SetSection(L" Other ");
    EXPECT_EQ(ini.ReadString(L"v", L""), L"o");
    ini.SetSection(L"");
    EXPECT_EQ(ini.ReadString(L"top", L""), L"1");
}

TEST_F(IniFileTest, TypedReadsAndTheirDefaults)
{
    TIniFile& ini =
        Load("empty=\nneg=-7\nlead=  42abc\nbig=99999999999\nsmall=-99999999999\nsentinel=*****DEFAULT*****\n"
             "True=True\none=1\nno=false\nblue=ff0000\nhex=0X00ABCDEF\nhuge=123456789a\nminus=-1\n");
    EXPECT_EQ(ini.ReadInt(L"empty", 5), 0);
    EXPECT_EQ(ini.ReadInt(L"missing", 5), 5);
    EXPECT_EQ(ini.ReadInt(L"neg", 5), -7);
    EXPECT_EQ(ini.ReadInt(L"lead", 5), 42);
    EXPECT_EQ(ini.ReadInt(L"big", 5), INT_MAX);
    EXPECT_EQ(ini.ReadInt(L"small", 5), INT_MIN);
    EXPECT_EQ(ini.ReadInt(L"sentinel", 5), 5);
    EXPECT_FALSE(ini.ReadBool(L"True", false));
    EXPECT_FALSE(ini.ReadBool(L"empty", false));
    EXPECT_TRUE(ini.ReadBool(L"one", false));
    EXPECT_FALSE(ini.ReadBool(L"no", true));
    EXPECT_EQ(ini.ReadColor(L"blue", 1), 0x00FF0000u);
    EXPECT_EQ(ini.ReadColor(L"hex", 1), 0x00ABCDEFu);
    EXPECT_EQ(ini.ReadColor(L"huge", 1), 0xFFFFFFFFu);
    EXPECT_EQ(ini.ReadColor(L"minus", 1), 0xFFFFFFFFu);
    EXPECT_EQ(ini.ReadColor(L"empty", 1), 0u);
}

TEST_F(IniFileTest, StripQuotesRemovesOnePairOnly)
{
    CStringA bytes = "a=\"abc\"\nb=\"\nc=\"lead\n";
    EXPECT_EQ(Load(bytes, L"", true).ReadString(L"a", L""), L"abc");
    EXPECT_EQ(ini->ReadString(L"b", L""), L"\"");
    EXPECT_EQ(ini->ReadString(L"c", L""), L"\"lead");
    EXPECT_EQ(Load(bytes).ReadString(L"a", L""), L"\"abc\"");
}

TEST_F(IniFileTest, DamagedFilesLoadWithDefaultsForWhatIsMissing)
{
    // Invalid UTF-8, a NUL, a one-megabyte line, a repeated section, a truncated last line.
    static const char head[] = "Encoding=UTF-8\r\n[S]\r\nbad=\xC3\x28\xFF\r\nnul=a\0b\r\nlong=";
    CStringA bytes(head, sizeof head - 1);
    bytes += CStringA('x', 1 << 20) + "\r\nafter=7\r\n[S]\r\nafter=8\r\ntrunc=12";
    TIniFile& ini = Load(bytes, L"S");
    EXPECT_EQ(ini.ReadInt(L"after", 0), 8);
    EXPECT_EQ(ini.ReadInt(L"trunc", 0), 12);
    EXPECT_EQ(ini.ReadString(L"nul", L""), L"a");
    EXPECT_EQ(ini.ReadString(L"long", L"").GetLength(), 1 << 20);
    EXPECT_FALSE(TIniFile(false).Load(temp.File(L"missing.ini")));

    std::mt19937 random(4);
    for (int round = 0; round < 20; round++) {
        CStringA garbage;
        for (int i = (int)(random() % 20000); i > 0; i--)
            garbage.AppendChar((char)(random() % 7 == 0 ? "[]=\r\n"[random() % 5] : random()));
        EXPECT_TRUE(Load(garbage, L"S").ReadBool(L"surely not a key", true));
    }
}

TEST_F(IniFileTest, WriterOutputIsByteExact)
{
    ASSERT_TRUE(WriteFileBytes(path, CStringA('z', 500)));
    {
        TIniFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        writer.WriteSection(L"A");
        writer.WriteInt(L"k", 1);
        writer.WriteSection(L"B");
    }
    EXPECT_EQ(ReadFileBytes(path), "Encoding=UTF-8\r\n\r\n[A]\r\n\r\nk=1\r\n\r\n[B]\r\n\r\n");

    TIniFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    writer.WriteSection(L"日");
    writer.WriteColor(L"red", 0x000000FF);
    writer.WriteBool(L"off", false);
    writer.WriteString(L"quit\n", L"bye\r\nPort=1\rx");
    EXPECT_TRUE(writer.Close());
    // Line breaks become blanks, so a value cannot inject keys.
    EXPECT_EQ(ReadFileBytes(path), "Encoding=UTF-8\r\n\r\n[\xE6\x97\xA5]\r\n\r\nred=0000ff\r\noff=false\r\n"
                                   "quit =bye  Port=1 x\r\n");
}

TEST_F(IniFileTest, InterruptedSaveKeepsThePreviousFile)
{
    ASSERT_TRUE(WriteFileBytes(path, "previous"));
    auto save = [this]() {
        TIniFileWriter writer;
        if (!writer.Open(path))
            return false;
        writer.WriteSection(L"A");
        writer.WriteString(L"key", L"value");
        return writer.Close();
    };
    const int fullSize = 36;
    for (int budget = 0; budget < fullSize; budget++) {
        SimulateWriteFailureAfter(budget);
        EXPECT_FALSE(save()) << budget;
        EXPECT_EQ(ReadFileBytes(path), "previous") << budget;
    }
    SimulateWriteFailureAfter(fullSize);
    EXPECT_TRUE(save());
    SimulateWriteFailureAfter(-1);
    EXPECT_EQ(ReadFileBytes(path).GetLength(), fullSize);
    EXPECT_EQ(CountEntries(temp.path), 1);
    TIniFileWriter writer;
    EXPECT_FALSE(writer.Open(temp.File(L"missing\\x.ini")));
    EXPECT_FALSE(writer.Close());
}

TEST_F(IniFileTest, CountsAreHeldToWhatTheNamesPresentCanStandFor)
{
    struct {
        const char* keys;
        int expected;
    } cases[] = {
        {"N=3\r\nI.0=a\r\nI.1=b\r\nI.2=c\r\n", 3},
        {"N=-4\r\nI.0=a\r\n", 0},
        {"N=2000000000\r\nI.00=a\r\n", 1 + 16},
        {"N=60\r\nI.59=far\r\n", 60}, // a gap in the numbering loses nothing behind it
        {"N=2000000000\r\nI.x=a\r\nI.y=b\r\nI.z=c\r\n", 3 + 16},
        {"N=12\r\n", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Load(CStringA("[S]\r\n") + c.keys, L"S").ReadCount(L"N", L"I."), c.expected) << c.keys;

    TIniFile& ini = Load("[S]\r\nUnit.Count=2000000000\r\n[Unit.00]\r\n[Unit.39]\r\nk=v\r\n", L"S");
    EXPECT_EQ(ini.ReadSectionCount(L"Unit.Count", L"Unit."), 40 + 16);
    // Five names in the file: records for missing items run out after the budget.
    int first = ini.TakeRecords(INT_MAX);
    EXPECT_GE(first, 1024);
    EXPECT_LT(first, 1100);
    EXPECT_EQ(ini.TakeRecords(5), 0);
}
