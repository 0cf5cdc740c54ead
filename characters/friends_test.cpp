#include "characters/friends.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

// A name holding a comma shifts every later pair: such a line is never cut, lest a friend's
// name become the next one's id.
TEST(FriendsLine, OnlyALineOfWholePairsIsCut) {
    const std::vector<std::int32_t> leaving{150000};
    EXPECT_EQ(friends_line_without("150002,150005,Ash,150000,Kael,0,\r", leaving),
              "150002,150005,Ash,0,,0,\r");
    EXPECT_EQ(friends_line_without("150002,150000,Kael,en,150005,Ash", leaving), std::nullopt);
    EXPECT_EQ(friends_line_without("150002,150005,Ash,0,", leaving), std::nullopt);
}

}  // namespace
}  // namespace tavo
