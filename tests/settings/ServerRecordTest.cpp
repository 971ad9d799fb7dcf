#include "settings/ServerConfig.h"
#include "settings/ServerPassword.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(ServerRecords, FreshRecordsCarryTheirDefaults)
{
    TUnitSetting unit;
    EXPECT_EQ(unit.Port, 6667);
    EXPECT_EQ(unit.Codepage, 50221);
    EXPECT_EQ(unit.NickLen, 9);
    EXPECT_EQ(unit.SocksPort, 1080);
    EXPECT_EQ(unit.SocksVersion, 4);
    EXPECT_EQ(unit.MacroHeaderWidth, 60);
    EXPECT_EQ(unit.ScriptHeaderWidth, 60);
    EXPECT_EQ(unit.PartMessage, L"Leaving...");
    EXPECT_EQ(unit.QuitMessage, L"Leaving...");
    EXPECT_EQ(unit.AwayMessage, L"Gone");
    EXPECT_TRUE(unit.Update && unit.Console && unit.Keyword && unit.Invisible);
    EXPECT_FALSE(unit.UseSSL || unit.EnablePassword || unit.AutoConnect || unit.AutoAway || unit.EnableNickLen ||
                 unit.EnableSocks || unit.EnableSocksAuth || unit.ExtraFlag);
    TChannelConfig channel;
    EXPECT_EQ(channel.Mode, L"+sn");
    EXPECT_TRUE(channel.AutoJoin && channel.Update && channel.Console && channel.Keyword);
    EXPECT_FALSE(channel.ExtraFlag);
}

TEST(ServerRecords, AltNicksSplitAtBlanksOnly)
{
    TUnitSetting unit;
    unit.SetAltNicks(L"  a   b ");
    EXPECT_EQ(unit.AltNicks, L"  a   b ");
    EXPECT_EQ(unit.AltNickList, (std::vector<CString>{L"a", L"b"}));
    unit.SetAltNicks(L"x\ty");
    EXPECT_EQ(unit.AltNickList, (std::vector<CString>{L"x\ty"}));
    unit.SetAltNicks(L"   ");
    EXPECT_TRUE(unit.AltNickList.empty());
    unit.SetAltNicks(L"");
    EXPECT_TRUE(unit.AltNickList.empty());
}

TEST(ServerRecords, CopiesAreDeepAndComplete)
{
    TUnitConfig source;
    TChannelConfig channel;
    channel.Name = L"#a";
    channel.AutoOpMasks.push_back(L"*!*@h");
    channel.ExtraText = L"extra";
    channel.ExtraFlag = true;
    source.Channels.push_back(channel);
    source.ExtraFlag = true;
    TUnitConfig copy = source;
    ASSERT_EQ(copy.Channels.size(), 1u);
    EXPECT_EQ(copy.Channels[0].ExtraText, L"extra");
    EXPECT_TRUE(copy.Channels[0].ExtraFlag && copy.ExtraFlag);
    copy.Channels[0].AutoOpMasks[0] = L"changed";
    copy.Channels[0].Name = L"#b";
    EXPECT_EQ(source.Channels[0].AutoOpMasks[0], L"*!*@h");
    EXPECT_EQ(source.Channels[0].Name, L"#a");
}

TEST(ServerPassword, LetterPairsPerUtf8Byte)
{
    EXPECT_EQ(EncodeServerPassword(L""), L"");
    EXPECT_EQ(DecodeServerPassword(L""), L"");
    CString stored = EncodeServerPassword(L"abc");
    ASSERT_EQ(stored.GetLength(), 6);
    EXPECT_EQ(stored, L"GDGEGF"); // 0x61 0x62 0x63
    for (int i = 0; i < stored.GetLength(); i += 2) {
        EXPECT_TRUE(stored[i] >= L'A' && stored[i] <= L'P');
        EXPECT_TRUE(stored[i + 1] >= L'C' && stored[i + 1] <= L'R');
    }
    EXPECT_EQ(EncodeServerPassword(L"é").GetLength(), 4);
    for (const wchar_t* text : {L"p@ss w0rd", L"日本語", L"\U0001F600x", L"\x7f\x01"})
        EXPECT_EQ(DecodeServerPassword(EncodeServerPassword(text)), text);
}

TEST(ServerPassword, DecoderNeverFails)
{
    EXPECT_EQ(DecodeServerPassword(L"GDGEG"), L"ab"); // the unpaired last letter is dropped
    // Other characters fold to four bits: "z3" gives the byte 0x90, invalid alone in UTF-8.
    CString folded = DecodeServerPassword(L"GDz3GE");
    EXPECT_EQ(folded.GetLength(), 3);
    EXPECT_EQ(folded.Left(1), L"a");
    EXPECT_EQ(folded.Right(1), L"b");
    EXPECT_EQ(DecodeServerPassword(L"ACGD"), L""); // a NUL byte ends the text
}
