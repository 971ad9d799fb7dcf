#include "foundation/Decimal.h"

#include <gtest/gtest.h>

TEST(Decimal, ReadersHoldToTheirRange)
{
    const struct {
        const wchar_t* text;
        int value;
        long long value64;
        unsigned long unsignedValue;
    } cases[] = {
        {L"", 0, 0, 0},
        {L"  42x", 42, 42, 0},
        {L"-17", -17, -17, 0},
        {L"4294967295", 2147483647, 4294967295LL, 4294967295ul},
        {L"4294967296", 2147483647, 4294967296LL, 4294967295ul},
        {L"-2147483649", -2147483647 - 1, -2147483649LL, 0},
        {L"99999999999999999999999", 2147483647, 9223372036854775807LL, 4294967295ul},
        {L"-99999999999999999999999", -2147483647 - 1, -9223372036854775807LL - 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadDecimal(c.text), c.value) << c.text;
        EXPECT_EQ(ReadDecimal64(c.text), c.value64) << c.text;
        EXPECT_EQ(ReadUnsignedDecimal(c.text), c.unsignedValue) << c.text;
    }
}
