#include "irc/DccOffer.h"

#include "dcc/DCCReceiveItem.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kAddress192[] = L"3232235777"; // 192.168.1.1

} // namespace

TEST(DccOffer, SendOffersReadTheirFields)
{
    TDccSendOffer quoted = ParseDccSendOffer(CString(L"\"my file.txt\" ") + kAddress192 + L" 5000 1024");
    EXPECT_EQ(quoted.fileName, L"my file.txt");
    EXPECT_EQ(quoted.address.ToString(), L"192.168.1.1");
    EXPECT_EQ(quoted.port, 5000);
    EXPECT_EQ(quoted.size, 1024);
    EXPECT_EQ(quoted.variant, 0);

    TDccSendOffer extended = ParseDccSendOffer(CString(L"a_b.txt ") + kAddress192 + L" 5000 1024 2 :a b.txt  ");
    EXPECT_EQ(extended.fileName, L"a b.txt");
    EXPECT_EQ(extended.variant, 2);
    TDccSendOffer variant1 = ParseDccSendOffer(CString(L"a_b.txt ") + kAddress192 + L" 5000 1024 1 :a b.txt");
    EXPECT_EQ(variant1.fileName, L"a_b.txt");

    EXPECT_EQ(ParseDccSendOffer(L"\"x.txt\"").fileName, L"\"x.txt\""); // no blank after the quote
    TDccSendOffer big = ParseDccSendOffer(L"f 16777343 1 8589934592");
    EXPECT_EQ(big.size, 8589934592LL);
    EXPECT_EQ(big.address.ToString(), L"1.0.0.127");

    TDccSendOffer absurd = ParseDccSendOffer(L"f 99999999999 99999999999 99999999999999999999999");
    EXPECT_EQ(absurd.address.ToString(), L"255.255.255.255");
    EXPECT_EQ(absurd.port, 2147483647);
    EXPECT_EQ(absurd.size, 9223372036854775807LL);
}

TEST(DccOffer, ChatAndResumeOffersReadTheirFields)
{
    TDccChatOffer chat = ParseDccChatOffer(L"chat 2130706433 4000");
    EXPECT_EQ(chat.protocol, L"chat");
    EXPECT_EQ(chat.address.ToString(), L"127.0.0.1");
    EXPECT_EQ(chat.port, 4000);
    TDccResumeOffer resume = ParseDccResumeOffer(L"file.bin 4000 123456789012");
    EXPECT_EQ(resume.fileName, L"file.bin");
    EXPECT_EQ(resume.port, 4000);
    EXPECT_EQ(resume.position, 123456789012LL);
    EXPECT_EQ(ParseDccResumeOffer(L"f x -5").position, -5);
    EXPECT_EQ(ParseDccResumeOffer(L"").port, 0);
}

TEST(DccOffer, HostileValuesAreRefused)
{
    struct TCase {
        const wchar_t* text;
        bool accepted;
    };
    const TCase cases[] = {
        {L"f 3232235777 5000 1024", true},
        {L"f 2130706433 65535 1", true},
        {L"f 3232235777 0 1024", false},
        {L"f 3232235777 65536 1024", false},
        {L"f 3232235777 -1 1024", false},
        // Whatever the address: a connect that cannot be made fails and is reported by the item.
        {L"f 0 5000 1024", true},
        {L"f 4294967295 5000 1024", true}, // the address of a peer that does not know its own
        {L"f 3758096385 5000 1024", true}, // 224.0.0.1
        {L"f 3232235777 5000 0", false},
        {L"f 3232235777 5000 -1024", false},
        {L"f 3232235777 5000 17592186044417", false}, // above 2^44
        {L"f 3232235777 5000 17592186044416", true},
        // The name is not the check's: the receive item makes any name safe.
        {L"\"..\" 3232235777 5000 1", true},
        {L"/ 3232235777 5000 1", true},
    };
    for (const TCase& c : cases) {
        TDccSendOffer offer = ParseDccSendOffer(c.text);
        EXPECT_EQ(CheckDccSendOffer(offer), c.accepted) << c.text;
    }
}

// An offered name reaches the receive item as it was offered; the item keeps one name in its
// folder, with separators and reserved characters replaced rather than the path cut off.
TEST(DccOffer, OfferedNamesAreMadeSafeOnlyByTheReceiveItem)
{
    const wchar_t* const cases[][2] = {
        {L"report.txt", L"report.txt"},
        {L"dir/a?b.txt", L"dir_a_b.txt"},
        {L"..\\..\\Windows\\system.ini", L".._.._Windows_system.ini"},
        {L"/etc/passwd", L"_etc_passwd"},
        {L"C:boot.ini", L"C_boot.ini"},
        {L"a\tb<c>|d?*.txt", L"a_b_c__d__.txt"},
        {L"del\x7fname.txt", L"del\x7fname.txt"},
        {L"name.txt...", L"name.txt"},
        {L"CON", L"_CON"},
        {L"con.txt", L"_con.txt"},
        {L"COM10", L"COM10"},
        {L"..", L"_"},
        {L"日本語.zip", L"日本語.zip"},
    };
    for (const auto& c : cases) {
        TDccSendOffer offer = ParseDccSendOffer(CString(c[0]) + L" " + kAddress192 + L" 5000 10");
        EXPECT_EQ(offer.fileName, c[0]);
        EXPECT_TRUE(CheckDccSendOffer(offer)) << c[0];
        EXPECT_EQ(MakeSafeReceiveFileName(offer.fileName), c[1]) << c[0];
    }
}

TEST(DccOffer, OwnOffersUseTheWireLayout)
{
    EXPECT_EQ(FormatDccSendOffer(L"a b.txt", 3232235777ul, 5000, 1024, false),
              L"DCC SEND a_b.txt 3232235777 5000 1024");
    EXPECT_EQ(FormatDccSendOffer(L"a b.txt", 3232235777ul, 5000, 8589934592LL, true),
              L"DCC SEND a_b.txt 3232235777 5000 8589934592 2 :a b.txt");
    EXPECT_EQ(FormatDccChatOffer(4294967295ul, 4000), L"DCC CHAT chat 4294967295 4000");
    EXPECT_EQ(FormatDccResumeRequest(L"f.bin", 4000, 5000000000LL), L"DCC RESUME f.bin 4000 5000000000");
    EXPECT_EQ(FormatDccAccept(L"f.bin", 4000, 12), L"DCC ACCEPT f.bin 4000 12");
    // What we send, a peer of ours reads back unchanged.
    TDccSendOffer back = ParseDccSendOffer(L"a_b.txt 3232235777 5000 8589934592 2 :a b.txt");
    EXPECT_EQ(back.fileName, L"a b.txt");
    EXPECT_EQ(back.size, 8589934592LL);
}
