#include "characters/character_deletion.h"

#include <gtest/gtest.h>

#include "app/file_writer.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

std::vector<LeavingCharacter> rewrite(testing::ServerFolders& f, ServerGeneration generation,
                                      const LeavingSet& leaving) {
    AtomicWriter out = f.app.files.open(f.app.server_file("save/athena.txt"));
    std::vector<LeavingCharacter> left = write_without_characters(f.app, out, generation, leaving);
    out.commit();
    return left;
}

TEST(Deletion, TheLeavingGoInOneRewriteAndEveryOtherLineStaysInItsPlace) {
    testing::ServerFolders f;
    f.server("save/athena.txt",
             "150000\t2000001,0\tAyla\t5,50,30\t\n\n150009\t%newid%\n"
             "150001\t2000002,0\tBram\t1,1,1\t\n150005\t2000001,1\tCora\t1,1,1\t\n"
             "150007\t2000003,0\tDax\t1,1,1\t\n");
    LeavingSet leaving;
    leaving.add_account(2000001);
    leaving.add_character(150007);
    const std::vector<LeavingCharacter> left = rewrite(f, ServerGeneration::V100, leaving);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[1].account_id, 2000001);
    EXPECT_EQ(left[1].char_id, 150005);
    // The %newid% line stays where it is; no second one is added.
    EXPECT_EQ(f.saved("athena.txt"), "\n150009\t%newid%\n150001\t2000002,0\tBram\t1,1,1\t\n");
}

TEST(Deletion, AFileWithoutACounterGetsOneAboveTheLeavingToo) {
    testing::ServerFolders f;
    const std::string before = "150000\t2000001,0\tAyla\t5,50,30\t\n150004\t2000002,0\tBram\t\n";
    f.server("save/athena.txt", before);
    LeavingSet leaving;
    leaving.add_character(150004);
    rewrite(f, ServerGeneration::V100, leaving);
    EXPECT_EQ(f.saved("athena.txt"), "150000\t2000001,0\tAyla\t5,50,30\t\n150005\t%newid%\n");

    // The oldest generation keeps no counter; nobody leaving changes nothing.
    f.server("save/athena.txt", before);
    EXPECT_TRUE(rewrite(f, ServerGeneration::V817, LeavingSet{}).empty());
    EXPECT_EQ(f.saved("athena.txt"), before);
}

}  // namespace
}  // namespace tavo
