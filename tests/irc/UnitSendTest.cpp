// The send core: encoding with the server's code page, splitting long texts, dropping lines
// while disconnected.

#include "tests/irc/IrcTestSupport.h"

#include "foundation/CodePage.h"

namespace {

using Lines = std::vector<std::string>;

class UnitSendTest : public TUnitTest {
protected:
    void Identity(const wchar_t* nick, const wchar_t* user, const wchar_t* host)
    {
        TIRCUnitSession& session = unit->GetSession();
        session.currentNick = nick;
        session.userName = user;
        session.host = host;
    }
};

TEST_F(UnitSendTest, CommandsWhileDisconnectedLeaveNoTrace)
{
    MakeUnit();
    unit->SendCommand(L"PRIVMSG", L"#c", L":x", 2, 0);
    EXPECT_EQ(unit->GetConnection().QueuedCount(), 0u);
    EXPECT_FALSE(unit->GetConnection().writing);
}

struct TSplitCase {
    const char* name;
    int codePage;
    const wchar_t* command;
    int textLength; // in characters of fill
    const wchar_t* fill;
    bool split;
    int headBytes; // encoded bytes of the part that fits
};

TEST_F(UnitSendTest, LongTextsAreCutSoTheRelayedLineFits510Bytes)
{
    // Overhead with a 9-byte nick, 8-byte user, 20-byte host and a 10-byte channel: 61.
    const TSplitCase cases[] = {
        {"fits exactly", CP_UTF8, L"PRIVMSG", 449, L"a", false, 449},
        {"one byte over", CP_UTF8, L"PRIVMSG", 450, L"a", true, 448},
        {"action has less room", CP_UTF8, L"ACTION", 450, L"a", true, 439},
        {"multi-byte character not cut", CP_UTF8, L"PRIVMSG", 200, L"\x3042", true, 447},
        {"surrogate pair not cut", CP_UTF8, L"PRIVMSG", 200, L"\xD83D\xDE00", true, 448},
        {"JIS text", 50221, L"PRIVMSG", 300, L"\x3042", true, -1},
    };
    for (const TSplitCase& c : cases) {
        settings.Codepage = c.codePage;
        MakeUnit();
        StartOffline();
        Identity(L"ninechars", L"eightchr", L"twenty.chars.host.jp");
        CString text;
        for (int i = 0; i < c.textLength; i++)
            text += c.fill;
        CString original = text, rest;
        bool split = unit->SplitMessageText(c.command, L"#tenchars_", text, rest);
        EXPECT_EQ(split, c.split) << c.name;
        EXPECT_EQ(text + rest, original) << c.name;
        int head = unit->Encode(text).GetLength();
        if (c.headBytes >= 0) {
            EXPECT_EQ(head, c.headBytes) << c.name;
        }
        int overhead = 61 + (CString(c.command) == L"ACTION" ? 9 : 0); // six letters plus ten of framing
        EXPECT_LE(head + overhead, 510) << c.name;
        EXPECT_GT(head + overhead + 8, 510) << c.name << ": cut far too early";
    }
}

TEST_F(UnitSendTest, EmptyIdentityCountsAsNothing)
{
    StartOffline();
    Identity(L"", L"", L"");
    CString text(L'a', 510 - 7 - 7 - 2), rest;
    EXPECT_FALSE(unit->SplitMessageText(L"PRIVMSG", L"#c", text, rest));
    text += L"a";
    EXPECT_TRUE(unit->SplitMessageText(L"PRIVMSG", L"#c", text, rest));
    // The cut is made one character before the last that fits.
    EXPECT_EQ(rest.GetLength(), 2);
}

struct TCodecCase {
    const char* name;
    int codePage;
    int kanaMethod;
    const wchar_t* text;
    const char* bytes;
};

TEST_F(UnitSendTest, TextIsEncodedWithTheServersCodePage)
{
    const TCodecCase cases[] = {
        {"UTF-8", CP_UTF8, 0, L"\x65E5\x672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"JIS", 50221, 0, L"\x65E5\x672C", "\x1B$BF|K\\\x1B(B"},
        {"JIS, half-width kana to full width", 50221, 0, L"\xFF71", "\x1B$B%\"\x1B(B"},
        {"JIS, kana as eight-bit bytes", 50221, 1, L"\xFF71", "\x1B(J\xB1\x1B(B"},
        {"Shift_JIS", 932, 0, L"\x65E5", "\x93\xFA"},
    };
    for (const TCodecCase& c : cases) {
        settings.Codepage = c.codePage;
        preference.KanaEncodingMethod = c.kanaMethod;
        MakeUnit();
        StartOffline();
        CStringA bytes = unit->Encode(c.text);
        EXPECT_EQ(std::string(bytes.GetString(), bytes.GetLength()), c.bytes) << c.name;
        if (c.kanaMethod == 0 && CString(c.text) != L"\xFF71") {
            EXPECT_EQ(unit->Decode(bytes), CString(c.text)) << c.name;
        }
    }
}

TEST_F(UnitSendTest, NamesCompareWithIrcFoldingOfTheEncodedBytes)
{
    StartOffline();
    EXPECT_EQ(unit->CompareNames(L"#Chan[1]", L"#chan{1}"), 0);
    EXPECT_NE(unit->CompareNames(L"#chan~", L"#chan^"), 0);
    ASSERT_NE(AddChannel(L"#Chan"), nullptr);
    EXPECT_EQ(AddChannel(L"#CHAN"), nullptr);
    EXPECT_NE(unit->FindChannelByIRCName(L"#chan"), nullptr);
}

TEST_F(UnitSendTest, SafeChannelsAreFoundByTheServersLongName)
{
    StartOffline();
    TChannelConfig config;
    config.Name = L"!safe";
    TIRCChannel* channel = unit->AddChannel(config, TIRCChannel::KindChannel);
    EXPECT_EQ(unit->FindChannelByIRCName(L"!ABCDEsafe"), channel);
    EXPECT_EQ(unit->FindChannelByIRCName(L"#safe"), nullptr);
    EXPECT_EQ(unit->LookupChannel(L"!safe"), channel);
    TIRCChannel stranger(unit.get(), config, TIRCChannel::KindChannel);
    unit->DeleteChannel(&stranger);
    EXPECT_EQ(unit->GetChannels().size(), 1u);
}

} // namespace
