#include "settings/IniFile.h"

#include "tests/common/TempFolder.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    // Loads the bytes as a settings file and selects the given section.
    TIniFile& LoadBytes(const CStringA& bytes, const wchar_t* section = L"", bool stripQuotes = false)
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
    // "日本" in UTF-8, and "あ" in Shift_JIS
    TIniFile& lower = LoadBytes("encoding=utf-8\r\n[S]\r\nk=\xE6\x97\xA5\xE6\x9C\xAC\r\n", L"S");
    EXPECT_EQ(lower.ReadString(L"k", L"-"), L"日本");
    EXPECT_TRUE(lower.sections.find(L"") == lower.sections.end());

    TIniFile& late = LoadBytes("\r\nEncoding=UTF-8\r\nk=\x82\xA0\r\n");
    EXPECT_EQ(late.ReadString(L"Encoding", L"-"), L"UTF-8");
    EXPECT_EQ(late.ReadString(L"k", L"-"), L"あ");

    TIniFile& bom = LoadBytes("\xEF\xBB\xBF"
                              "Encoding=UTF-8\nk=\x82\xA0\n");
    EXPECT_EQ(bom.ReadString(L"k", L"-"), L"あ");
}

TEST_F(IniFileTest, LineRulesForSectionsAndEntries)
{
    TIniFile& ini = LoadBytes("top=1\n"
                              "[Main\n"
                              "a=b=c\n"
                              "=empty key\n"
                              "; x=y\n"
                              "no equals sign\n"
                              " Left = 5 \n"
                              "Left=1\n"
                              "Left=2\n"
                              "[ Other ]\n"
                              "v=o\n"
                              "[Main]\n"
                              "later=3\n"
                              "[]\n"
                              "bare=4\n",
                              L"Main");
    EXPECT_EQ(ini.ReadString(L"a", L""), L"b=c");
    EXPECT_EQ(ini.ReadString(L"", L"-"), L"empty key");
    EXPECT_EQ(ini.ReadString(L"; x", L"-"), L"y");
    EXPECT_EQ(ini.ReadString(L"Left", L"-"), L"2");
    EXPECT_EQ(ini.ReadString(L" Left ", L"-"), L" 5 ");
    EXPECT_EQ(ini.ReadString(L"later", L"-"), L"3");
    EXPECT_EQ(ini.ReadString(L"left", L"-"), L"-");
    ini.SetSection(L" Other ");
    EXPECT_EQ(ini.ReadString(L"v", L"-"), L"o");
    ini.SetSection(L"");
    EXPECT_EQ(ini.ReadString(L"top", L"-"), L"1");
    EXPECT_EQ(ini.ReadString(L"bare", L"-"), L"4");
    ini.SetSection(L"Missing");
    EXPECT_EQ(ini.ReadString(L"top", L"-"), L"-");
}

TEST_F(IniFileTest, TypedReadsAndTheirDefaults)
{
    TIniFile& ini = LoadBytes("Encoding=UTF-8\n"
                              "empty=\n"
                              "neg=-7\n"
                              "lead=  42abc\n"
                              "big=99999999999\n"
                              "small=-99999999999\n"
                              "letters=abc\n"
                              "sentinel=*****DEFAULT*****\n"
                              "True=True\n"
                              "one=1\n"
                              "zero=0\n"
                              "no=false\n"
                              "blue=ff0000\n"
                              "hex=0X00ABCDEF\n"
                              "huge=123456789a\n"
                              "minus=-1\n");
    EXPECT_EQ(ini.ReadInt(L"empty", 5), 0);
    EXPECT_EQ(ini.ReadInt(L"missing", 5), 5);
    EXPECT_EQ(ini.ReadInt(L"neg", 5), -7);
    EXPECT_EQ(ini.ReadInt(L"lead", 5), 42);
    EXPECT_EQ(ini.ReadInt(L"big", 5), INT_MAX);
    EXPECT_EQ(ini.ReadInt(L"small", 5), INT_MIN);
    EXPECT_EQ(ini.ReadInt(L"letters", 5), 0);
    EXPECT_EQ(ini.ReadInt(L"sentinel", 5), 5);
    EXPECT_EQ(ini.ReadString(L"empty", L"d"), L"");

    EXPECT_TRUE(ini.ReadBool(L"True", true));
    EXPECT_FALSE(ini.ReadBool(L"True", false));
    EXPECT_FALSE(ini.ReadBool(L"empty", false));
    EXPECT_TRUE(ini.ReadBool(L"one", false));
    EXPECT_FALSE(ini.ReadBool(L"zero", true));
    EXPECT_FALSE(ini.ReadBool(L"no", true));
    EXPECT_TRUE(ini.ReadBool(L"missing", true));

    EXPECT_EQ(ini.ReadColor(L"blue", 1), 0x00FF0000u);
    EXPECT_EQ(ini.ReadColor(L"hex", 1), 0x00ABCDEFu);
    EXPECT_EQ(ini.ReadColor(L"huge", 1), 0xFFFFFFFFu);
    EXPECT_EQ(ini.ReadColor(L"minus", 1), 0xFFFFFFFFu);
    EXPECT_EQ(ini.ReadColor(L"letters", 1), 0xABCu);
    EXPECT_EQ(ini.ReadColor(L"empty", 1), 0u);
    EXPECT_EQ(ini.ReadColor(L"missing", 0x123456), 0x123456u);
}

TEST_F(IniFileTest, StripQuotesRemovesOnePairOnly)
{
    CStringA bytes = "a=\"abc\"\nb=\"\nc=\"lead\nd=\"\"x\"\"\n";
    TIniFile& stripping = LoadBytes(bytes, L"", true);
    EXPECT_EQ(stripping.ReadString(L"a", L""), L"abc");
    EXPECT_EQ(stripping.ReadString(L"b", L""), L"\"");
    EXPECT_EQ(stripping.ReadString(L"c", L""), L"\"lead");
    EXPECT_EQ(stripping.ReadString(L"d", L""), L"\"x\"");
    TIniFile& plain = LoadBytes(bytes);
    EXPECT_EQ(plain.ReadString(L"a", L""), L"\"abc\"");
}

TEST_F(IniFileTest, MissingFileLoadsNothing)
{
    TIniFile ini(false);
    EXPECT_FALSE(ini.Load(temp.File(L"missing.ini")));
    EXPECT_TRUE(ini.sections.empty());
    EXPECT_EQ(ini.ReadInt(L"x", 3), 3);
}

TEST_F(IniFileTest, DamagedFilesLoadWithDefaultsForWhatIsMissing)
{
    // A truncated line, invalid UTF-8, a NUL, a one-megabyte line, then intact entries.
    CStringA bytes("Encoding=UTF-8\r\n[S]\r\nbad=\xC3\x28\xFF\xFE\r\nnul=a");
    bytes.AppendChar('\0');
    bytes += "b\r\nlong=";
    bytes += CStringA('x', 1 << 20);
    bytes += "\r\nafter=7\r\n[S]\r\nafter=8\r\ntrunc=12";
    TIniFile& ini = LoadBytes(bytes, L"S");
    EXPECT_EQ(ini.ReadInt(L"after", 0), 8);
    EXPECT_EQ(ini.ReadInt(L"trunc", 0), 12);
    EXPECT_EQ(ini.ReadString(L"nul", L""), L"a");
    EXPECT_EQ(ini.ReadString(L"long", L"").GetLength(), 1 << 20);
    EXPECT_FALSE(ini.ReadString(L"bad", L"").IsEmpty());
    EXPECT_EQ(ini.ReadInt(L"missing", 9), 9);

    std::mt19937 random(4);
    for (int round = 0; round < 20; round++) {
        CStringA garbage;
        int length = (int)(random() % 20000);
        for (int i = 0; i < length; i++)
            garbage.AppendChar((char)(random() % 7 == 0 ? "[]=\r\n"[random() % 5] : random()));
        TIniFile& noise = LoadBytes(garbage, L"S");
        EXPECT_EQ(noise.ReadBool(L"surely not a key", true), true);
    }
}

TEST_F(IniFileTest, WriterOutputIsByteExact)
{
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
    writer.WriteSection(L"日本");
    writer.WriteColor(L"red", 0x000000FF);
    writer.WriteColor(L"white", 0x00FFFFFF);
    writer.WriteBool(L"on", true);
    writer.WriteBool(L"off", false);
    writer.WriteInt(L"neg", -12);
    writer.WriteString(L"s", L"a=b");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(ReadFileBytes(path), "Encoding=UTF-8\r\n\r\n[\xE6\x97\xA5\xE6\x9C\xAC]\r\n\r\n"
                                   "red=0000ff\r\nwhite=ffffff\r\non=true\r\noff=false\r\nneg=-12\r\ns=a=b\r\n");
}

TEST_F(IniFileTest, LineBreaksInValuesCannotInjectKeys)
{
    {
        TIniFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        writer.WriteSection(L"S\r\n[T]");
        writer.WriteString(L"quit", L"bye\r\nPort=1\nx\ry");
        writer.WriteString(L"k\n", L"v");
    }
    EXPECT_EQ(ReadFileBytes(path), "Encoding=UTF-8\r\n\r\n[S  [T]]\r\n\r\nquit=bye  Port=1 x y\r\nk =v\r\n");
    TIniFile ini(false);
    ASSERT_TRUE(ini.Load(path));
    ini.SetSection(L"S  [T]");
    EXPECT_EQ(ini.ReadString(L"quit", L""), L"bye  Port=1 x y");
    EXPECT_EQ(ini.ReadString(L"Port", L"-"), L"-");
}

TEST_F(IniFileTest, ShorterRewriteLeavesNoTail)
{
    ASSERT_TRUE(WriteFileBytes(path, CStringA('z', 5000)));
    {
        TIniFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
    }
    EXPECT_EQ(ReadFileBytes(path), "Encoding=UTF-8\r\n\r\n");
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
        writer.WriteSection(L"B");
        writer.WriteInt(L"n", 12345);
        return writer.Close();
    };
    const int fullSize = 54;
    for (int budget = 0; budget < fullSize; budget++) {
        SimulateWriteFailureAfter(budget);
        EXPECT_FALSE(save()) << budget;
        EXPECT_EQ(ReadFileBytes(path), "previous") << budget;
    }
    SimulateWriteFailureAfter(fullSize);
    EXPECT_TRUE(save());
    SimulateWriteFailureAfter(-1);
    EXPECT_EQ(ReadFileBytes(path).GetLength(), fullSize);
    EXPECT_EQ(CountFiles(temp.path), 1);

    TIniFileWriter writer;
    EXPECT_FALSE(writer.Open(temp.File(L"missing\\x.ini")));
    writer.WriteSection(L"A"); // ignored while not open
    EXPECT_FALSE(writer.Close());
}
