#include "accounts/account_time.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(ValidityAndBan, DatesBecomeTheirSecondsAtMidnightUtc) {
    EXPECT_EQ(read_seconds_field("Validity", "2025-01-01").text, "1735689600");
    EXPECT_EQ(read_seconds_field("Ban", " 1970-01-02 ").text, "86400");
    EXPECT_EQ(read_seconds_field("Ban", "2024-02-29").text, "1709164800");  // leap day
    // Not a date: left for the number check, which reports it.
    EXPECT_EQ(read_seconds_field("Ban", "2023-02-29").text, "2023-02-29");
    EXPECT_EQ(read_seconds_field("Ban", "2025-13-01").text, "2025-13-01");
    EXPECT_EQ(read_seconds_field("Ban", "12345").text, "12345");
    EXPECT_FALSE(read_seconds_field("Ban", "12345").problem);
}

TEST(ValidityAndBan, ValuesPastTheFieldAreRefusedInWords) {
    const SecondsReading twelve = read_seconds_field("Validity", "123456789012");
    ASSERT_TRUE(twelve.problem);
    EXPECT_EQ(*twelve.problem,
              "Validity cannot hold 123456789012: the latest it holds is 2147483647 "
              "(2038-01-19 03:14).");
    EXPECT_TRUE(read_seconds_field("Ban", "2147483648").problem);
    EXPECT_FALSE(read_seconds_field("Ban", "2147483647").problem);
    EXPECT_FALSE(read_seconds_field("Ban", "0000000000002147483647").problem);
    EXPECT_TRUE(read_seconds_field("Ban", "2100-01-01").problem);
}

TEST(ValidityAndBan, CaptionsSayTheDateOrUnlimited) {
    EXPECT_EQ(seconds_caption("1735689600"), "= 2025-01-01 00:00");
    EXPECT_EQ(seconds_caption("1735693230"), "= 2025-01-01 01:00");
    EXPECT_EQ(seconds_caption("0"), "unlimited");
    EXPECT_EQ(seconds_caption("2025-01-01"), "= 2025-01-01 00:00");  // typed, not yet stored
    EXPECT_EQ(seconds_caption(""), "");
    EXPECT_EQ(seconds_caption("soon"), "");
}

TEST(AccountStates, EachStateSaysWhatTheServerDoes) {
    EXPECT_EQ(state_meaning(0), "The server lets the account log in.");
    EXPECT_EQ(state_meaning(7), "Login refused: prohibited until the date in \"Error Msg\".");
    EXPECT_EQ(state_meaning(200), "Login refused with error code 199.");
}

}  // namespace
}  // namespace tavo
