#include "refdata/weight.h"

#include <gtest/gtest.h>

#include "refdata/battle_config.h"
#include "refdata/job_classes.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;
using Texts = std::vector<std::string>;

TEST(BattleConfig, KeysAreTrimmedAndLoweredAndValuesReadToTheirFirstNonDigit) {
    ServerFolders f;
    BattleLimits limits;
    f.server("conf/battle_athena.conf",
             "// max_cart_weight: 1\r\n//max_parameter: 2\r\nno colon here\r\n"
             "  MAX_Cart_Weight \t:   9000\r\nmax_parameter: 150 // the highest stat\r\n"
             "max_parameter: 255\r\nother_key: 5\r\n");
    load_some_battle_var(f.app, f.ui, limits);
    EXPECT_EQ(limits.max_cart_weight, 9000);
    EXPECT_EQ(limits.max_parameter, 255);  // a later line overrides

    f.server("conf/battle_athena.conf", "max_cart_weight: heavy\r\n");
    load_some_battle_var(f.app, f.ui, limits);
    EXPECT_EQ(limits.max_cart_weight, 0);
    EXPECT_EQ(limits.max_parameter, 99);  // the defaults come back first

    fs::remove(f.app.server_file("conf/battle_athena.conf"));
    load_some_battle_var(f.app, f.ui, limits);
    EXPECT_EQ(limits.max_cart_weight, 8000);
    EXPECT_TRUE(f.ui.shown().empty());  // a missing file is not reported
}

class MaxWeight : public ::testing::Test {
protected:
    MaxWeight() {
        jobs.entries[0] = {0, "Novice", 2000};
        jobs.entries[1] = {10, "Blacksmith", 800};
        jobs.entries[2] = {4011, "Whitesmith", 3000};
        jobs.entries[3] = {4012, "Sniper", 2700};
        jobs.entries[4] = {5, "Merchant", 2800};
        jobs.entries[5] = {7, "Knight", 40000};
        jobs.count = 6;
    }
    std::int16_t max_weight(std::string_view levels, std::string_view stats,
                            std::string_view skills) {
        return compute_max_weight(f.ui, jobs, levels, stats, skills);
    }

    ServerFolders f;
    JobClassTable jobs;
};

TEST_F(MaxWeight, BaseWeightStrengthAndEnlargeWeightLimit) {
    EXPECT_EQ(max_weight("10,50,40", "40,1,1,1,1,1", "1,9 36,5 "), 2500);  // 800 + 1200 + 500
    EXPECT_EQ(max_weight("4011,99,70", "0,1,1,1,1,1", "36,10 "), 4000);
    EXPECT_EQ(max_weight("4012,99,70", "0,1,1,1,1,1", "36,10 "), 2700);  // no merchant
    EXPECT_EQ(max_weight("5,10,10", "10,1,1,1,1,1", ""), 3100);
    EXPECT_EQ(max_weight("5,10,10", "10,1,1,1,1,1", "1,9 360,5 036,5 "), 3100);
    EXPECT_EQ(max_weight("5,10,10", "10,1,1,1,1,1", "36,3 36,9 "), 3400);  // the first one
    EXPECT_EQ(max_weight("5,10,10", "10,1,1,1,1,1", "1,9 36,7"), 3100);    // not the last piece
    EXPECT_EQ(max_weight("18,10,10", "1", "36,1 "), 130);  // no job entry holds 18: base 0
    EXPECT_TRUE(f.ui.shown().empty());
    EXPECT_TRUE(is_merchant_class(4019));
    EXPECT_FALSE(is_merchant_class(1));
    EXPECT_FALSE(is_merchant_class(-5));

    // Beyond 16 bits the report names the procedure and the limit is 0.
    EXPECT_EQ(max_weight("4011,99,70", "1000", ""), 0);
    EXPECT_EQ(max_weight("7,99,50", "1", ""), 0);  // a base weight beyond 16 bits
    EXPECT_EQ(max_weight("x,99,50", "1", ""), 0);
    EXPECT_EQ(f.ui.messages(), (Texts{"Error 6, Overflow\r\nin compute_max_weight",
                                      "Error 6, Overflow\r\nin compute_max_weight",
                                      "Error 13, Type mismatch\r\nin compute_max_weight"}));
}

}  // namespace
}  // namespace tavo
