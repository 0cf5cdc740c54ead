#include "app/numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/failure.h"
#include "app/text.h"

namespace tavo {
namespace {

TEST(LeadingNumber, TakesTheLongestLeadingNumber) {
    EXPECT_EQ(leading_number("150000"), 150000);
    EXPECT_EQ(leading_number("  42abc"), 42);
    EXPECT_EQ(leading_number("-17,3"), -17);
    EXPECT_EQ(leading_number("+8"), 8);
    EXPECT_EQ(leading_number("12.5x"), 12.5);
    EXPECT_EQ(leading_number("5e9"), 5e9);
    EXPECT_EQ(leading_number("7e"), 7);  // an exponent without digits is not part of it
    EXPECT_EQ(leading_number(""), 0);
    EXPECT_EQ(leading_number("abc"), 0);
    EXPECT_EQ(leading_number("-"), 0);
    EXPECT_EQ(leading_number(" //x"), 0);
}

TEST(IsNumeric, AcceptsOneNumberWithBlanksAround) {
    for (const char* text : {"99", " 99 ", "-3", "5e9", "1.5", ".5", "+7"}) {
        EXPECT_TRUE(is_numeric(text)) << text;
    }
    for (const char* text : {"", " ", "99x", "x99", "9 9", "-", "1e", "0x10"}) {
        EXPECT_FALSE(is_numeric(text)) << text;
    }
    EXPECT_THROW(numeric_value("ten"), Failure);
}

TEST(IntegerIn, TakesDecimalDigitsOnlyWithinTheRange) {
    EXPECT_EQ(integer_in("07502203", 0, 2147483647), 7502203);  // a leading 0 is no octal
    EXPECT_EQ(integer_in("010", 0, 99), 10);
    EXPECT_EQ(integer_in("-5", -9, 9), -5);
    for (const char* text : {"", "-", "5.5", "1e3", "0x10", " 7", "7 ", "+7", "-5", "100",
                             "99999999999999999999999"}) {
        EXPECT_FALSE(integer_in(text, 0, 99)) << text;
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(round_half_even(1.5), 2);
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(3.5), 4);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(1.4), 1);
    EXPECT_EQ(round_half_even(1.6), 2);
}

TEST(Narrowing, FailsWithOverflowOutsideTheWidth) {
    EXPECT_EQ(to_i16(32767), 32767);
    EXPECT_EQ(to_u8(255.4), 255);
    EXPECT_EQ(to_i32(-2147483648.0), INT32_MIN);
    try {
        to_u8(256);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 6);
        EXPECT_EQ(f.description(), "Overflow");
    }
    EXPECT_THROW(to_u8(-1), Failure);
    EXPECT_THROW(to_i16(32768), Failure);
    EXPECT_THROW(to_i32(2147483648.0), Failure);
}

TEST(ZeroPad, PadsToTheWidth) {
    EXPECT_EQ(zero_pad(5, 4), "0005");
    EXPECT_EQ(zero_pad(4011, 4), "4011");
    EXPECT_EQ(zero_pad(123456, 3), "123456");
    EXPECT_EQ(zero_pad(-5, 3), "-005");
}

TEST(Grouped, GroupsByThreeAfterTheSign) {
    EXPECT_EQ(grouped(0, ","), "0");
    EXPECT_EQ(grouped(999, ","), "999");
    EXPECT_EQ(grouped(200000, ","), "200,000");
    EXPECT_EQ(grouped(-1234567, "."), "-1.234.567");
    EXPECT_EQ(grouped(-123456, "\u202f"), "-123\u202f456");  // a separator of several bytes
    EXPECT_EQ(grouped(std::numeric_limits<long long>::min(), ","), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace tavo
