#include "foundation/IrcMarkup.h"
#include "tests/common/RepeatText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Control codes written as visible letters: B bold, C colour, O stop, R reverse, U underline.
CString Codes(const wchar_t* s)
{
    CString out(s);
    out.Replace(L'B', CODE_BOLD);
    out.Replace(L'C', CODE_COLOR);
    out.Replace(L'O', CODE_STOP);
    out.Replace(L'R', CODE_REVERSE);
    out.Replace(L'U', CODE_UNDERLINE);
    return out;
}

// Codes shown as \2 and so on, for failure messages.
std::string Show(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); i++) {
        wchar_t c = text[i];
        if (c < 32 || c > 126)
            out += "\\" + std::to_string(c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

} // namespace

TEST(IrcMarkup, TagsBecomeCodesAndBack)
{
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<bold>hi<stop>"), Codes(L"BhiO"));
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"BhiO")), L"<bold>hi<stop>");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color red,blue>x"), Codes(L"C04,12x"));
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C04,12x")), L"<color red,blue>x");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color Red>"), Codes(L"C04"));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color KETRO>k"), Codes(L"C09k"));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color>"), Codes(L"C"));
    EXPECT_EQ(GetColorIndexFromName(L"grey"), -1);
}

TEST(IrcMarkup, UnknownNamesKeepWhatIsKnown)
{
    // The background name begins with a blank and is not found.
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color red, blue>"), Codes(L"C04"));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color pink,blue>a"), Codes(L"Ca"));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color red,>a"), Codes(L"C04a"));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color >a"), Codes(L"Ca"));
}

TEST(IrcMarkup, IncompleteOrMisspelledTagsStayText)
{
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color red"), L"<color red");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<BOLD>"), L"<BOLD>");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<colour red>"), L"<colour red>");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<colorred>"), L"<colorred>");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"a<b<bold"), L"a<b<bold");
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color"), L"<color");
    // A later ">" closes the tag, whatever lies between.
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color x<bold>y"), Codes(L"Cy"));
    EXPECT_FALSE(IsSubstringAt(L"<bo", 0, L"<bold>"));
    EXPECT_FALSE(IsSubstringAt(L"ab", 3, L"b"));
    EXPECT_TRUE(IsSubstringAt(L"a<stop>", 1, L"<stop>"));
}

TEST(IrcMarkup, ColourNumbersAreReadAtMostTwoDigitsEach)
{
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"Ca")), L"a");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"xC")), L"x");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C4,x")), L"<color red>,x");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C4,")), L"<color red>,");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C99")), L"<color>");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C1234")), L"<color blue>34");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C1,0245")), L"<color black,navy>45");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C1,2345")), L"<color black>45");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C3,99")), L"<color green>");
    EXPECT_EQ(ConvertControlCodesToMarkup(Codes(L"C99,01")), L"<color>");
    EXPECT_EQ(ConvertControlCodesToMarkup(L"a\x01"
                                          L"b"),
              L"a\x01"
              L"b");
}

TEST(IrcMarkup, StrippingRemovesCodesAndTheirNumbers)
{
    EXPECT_EQ(StripControlCodes(Codes(L"C04,12hello")), L"hello");
    EXPECT_EQ(StripControlCodes(Codes(L"C4,x")), L",x");
    EXPECT_EQ(StripControlCodes(Codes(L"BaORbUcC")), L"abc");
    EXPECT_EQ(StripControlCodes(Codes(L"C123")), L"3");
    EXPECT_EQ(StripControlCodes(L"plain"), L"plain");
}

TEST(IrcMarkup, CodesSurviveTheTripThroughMarkup)
{
    // Text with codes and two-digit colours 00-15 comes back unchanged from the input line's markup.
    std::mt19937 random(112);
    const wchar_t* fillers[] = {L"a", L" ", L",", L"<", L">", L"\x02", L"\x0F", L"\x16", L"\x1F"};
    for (int round = 0; round < 2000; round++) {
        CString codes;
        int pieces = random() % 8;
        for (int i = 0; i < pieces; i++) {
            int kind = random() % 12;
            if (kind < 9) {
                codes += fillers[kind];
            } else {
                codes.AppendFormat(L"\x03%02d", random() % 16);
                if (kind == 11)
                    codes.AppendFormat(L",%02d", random() % 16);
            }
        }
        CString markup = ConvertControlCodesToMarkup(codes);
        EXPECT_EQ(ConvertMarkupToControlCodes(markup), codes) << Show(codes) << " -> " << Show(markup);
        CString plain = StripControlCodes(codes);
        EXPECT_EQ(plain.FindOneOf(L"\x02\x03\x0F\x16\x1F"
                                  L"0123456789"),
                  -1)
            << Show(plain);
    }
}

// A megabyte of tags that each look far ahead, as a paste could hold, converts correctly.
TEST(IrcMarkup, LongRunsOfOpenTagsConvert)
{
    const int n = 1024 * 1024 / 16;
    CString unclosed = Repeat(L"<color ", n);
    EXPECT_TRUE(ConvertMarkupToControlCodes(unclosed) == unclosed);
    EXPECT_EQ(ConvertMarkupToControlCodes(Repeat(L"<color a,", n) + L">x"), Codes(L"Cx"));
    EXPECT_TRUE(ConvertMarkupToControlCodes(Repeat(L"<color red,blue>x", n)) == Repeat(Codes(L"C04,12x"), n));
    EXPECT_EQ(ConvertMarkupToControlCodes(L"<color red>a,b<color blue,red>c<color x"), Codes(L"C04a,bC12,04c<color x"));
}
