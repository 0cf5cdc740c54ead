#include "characters/character_deletion.h"

#include <gtest/gtest.h>

#include "testsupport/server_folders.h"

namespace tavo {
namespace {

TEST(Deletion, AnAccountsCharactersGoAndEveryOtherLineStaysInItsPlace) {
    testing::ServerFolders f;
    const std::string before =
        "150000\t2000001,0\tAyla\t5,50,30\t\n\n150006\t%newid%\n150001\t2000002,0\tBram\t1,1,1\t\n"
        "150005\t2000001,1\tCora\t1,1,1\t\n";
    f.server("save/athena.txt", before);
    ASSERT_TRUE(delete_user_char(f.app, f.ui, ServerGeneration::V100, 2000001));
    // Lines that are not characters stay where they are, the %newid% line too.
    const std::string after = "\n150006\t%newid%\n150001\t2000002,0\tBram\t1,1,1\t\n";
    EXPECT_EQ(f.saved("athena.txt"), after);
    EXPECT_EQ(f.saved("athena.bak.txt"), before);

    ASSERT_TRUE(delete_user_char(f.app, f.ui, ServerGeneration::V817, 2000009));
    EXPECT_EQ(f.saved("athena.txt"), after);
    EXPECT_TRUE(f.ui.shown().empty());
    EXPECT_TRUE(f.ui.unexpected.empty());
}

}  // namespace
}  // namespace tavo
