#include "settings/Preference.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

namespace {

TPreference MaskOptions(bool autoMask, bool wholeNick, bool wholeUser, bool allDigits, bool firstToken)
{
    TPreference preference = {};
    preference.AutoMask = autoMask;
    preference.MaskWholeNick = wholeNick;
    preference.MaskWholeUsername = wholeUser;
    preference.MaskAllAddressDigits = allDigits;
    preference.MaskFirstAddressToken = firstToken;
    return preference;
}

} // namespace

TEST(MakeMask, DefaultOptionsWidenNickUserAndHostDigits)
{
    TPreference preference = MaskOptions(true, false, false, true, false);
    EXPECT_EQ(preference.MakeMask(L"taro_12", L"~taro", L"p1234-ip56.tokyo.example.jp"),
              L"taro*!*taro@p*-ip*.tokyo.example.jp");
    EXPECT_EQ(preference.MakeMask(L"12_", L"abc", L"192.168.1.20"), L"*!*abc@192.168.1.*");
    EXPECT_EQ(preference.MakeMask(L"", L"", L"a1.b2.c3"), L"*!*@a*.b2.c3");
    EXPECT_EQ(preference.MakeMask(L"n", L"^x", L"host1"), L"n*!*x@host1");
    EXPECT_EQ(preference.MakeMask(L"n", L"=x", L"example12.jp"), L"n*!*x@example12.jp");
}

TEST(MakeMask, FirstTokenAndWholeOptions)
{
    TPreference preference = MaskOptions(true, true, true, true, true);
    EXPECT_EQ(preference.MakeMask(L"taro", L"~taro", L"p1234-ip56.tokyo.example.jp"), L"*!*@*.tokyo.example.jp");
    EXPECT_EQ(preference.MakeMask(L"taro", L"t", L"abc.example.jp"), L"*!*@*abc.example.jp");
    EXPECT_EQ(preference.MakeMask(L"taro", L"t", L"example.jp"), L"*!*@example.jp");
    // Addresses ignore both host options.
    EXPECT_EQ(preference.MakeMask(L"taro", L"t", L"10.0.0.7"), L"*!*@10.0.0.*");
    TPreference digitsKept = MaskOptions(true, false, false, false, false);
    EXPECT_EQ(digitsKept.MakeMask(L"a", L"b", L"p1234.tokyo.example.jp"), L"a*!*b@p1234.tokyo.example.jp");
}

TEST(MakeMask, WithoutAutoMaskOnlyEmptyPartsBecomeWildcards)
{
    TPreference preference = MaskOptions(false, true, true, true, true);
    EXPECT_EQ(preference.MakeMask(L"taro", L"", L"h"), L"taro!*@h");
    EXPECT_EQ(preference.MakeMask(L"", L"~u", L""), L"*!~u@*");
}
