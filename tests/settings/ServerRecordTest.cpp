#include "settings/ServerConfig.h"
#include "settings/ServerPassword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(ServerRecords, AltNicksSplitAtBlanksOnly)
{
    TUnitSetting unit;
    unit.SetAltNicks(L"  a   b\tc ");
    EXPECT_EQ(unit.AltNicks, L"  a   b\tc ");
    EXPECT_EQ(unit.AltNickList, (std::vector<CString>{L"a", L"b\tc"}));
    unit.SetAltNicks(L"   ");
    EXPECT_TRUE(unit.AltNickList.empty());
}

TEST(ServerPassword, LetterPairsPerUtf8Byte)
{
    EXPECT_EQ(EncodeServerPassword(L""), L"");
    EXPECT_EQ(EncodeServerPassword(L"ap"), L"GDHC");     // 0x61 0x70
    EXPECT_EQ(EncodeServerPassword(L"\u00ff"), L"MFLR"); // UTF-8 0xC3 0xBF
    for (const wchar_t* text : {L"p@ss w0rd", L"日本語", L"\U0001F600x", L"\x7f\x01"})
        EXPECT_EQ(DecodeServerPassword(EncodeServerPassword(text)), text);
}

TEST(ServerPassword, DecoderNeverFails)
{
    EXPECT_EQ(DecodeServerPassword(L""), L"");
    EXPECT_EQ(DecodeServerPassword(L"GDGEG"), L"ab"); // the unpaired last letter is dropped
    // Other characters fold to four bits: "z3" gives the byte 0x90, invalid alone in UTF-8.
    CString folded = DecodeServerPassword(L"GDz3GE");
    EXPECT_EQ(folded.GetLength(), 3);
    EXPECT_EQ(folded.Right(1), L"b");
}
