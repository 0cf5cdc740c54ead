#include "wipe/save_files.h"

#include <gtest/gtest.h>

#include "app/failure.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;

std::size_t entries_of(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

TEST(EmptySaveFile, LeavesTheFileInPlaceWithNothingInIt) {
    ServerFolders f;
    const fs::path storage =
        f.server("save/storage.txt", "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\n");
    // Written on a system that ignores letter case: the file is emptied, no second one made.
    const fs::path friends = f.server("save/Friends.txt", "150000,1,150001,Mira\n");
    const std::size_t before = entries_of(storage.parent_path());
    empty_save_file(f.app, "save/storage.txt");
    empty_save_file(f.app, "save/friends.txt");
    EXPECT_TRUE(fs::is_regular_file(storage));
    EXPECT_TRUE(fs::is_regular_file(friends));
    EXPECT_EQ(fs::file_size(storage), 0u);
    EXPECT_EQ(fs::file_size(friends), 0u);
    EXPECT_EQ(entries_of(storage.parent_path()), before);

    // Emptied again, or missing: still there with 0 bytes.
    empty_save_file(f.app, "save/storage.txt");
    fs::remove(friends);
    empty_save_file(f.app, "save/friends.txt");
    EXPECT_EQ(fs::file_size(storage), 0u);
    EXPECT_EQ(fs::file_size(storage.parent_path() / "friends.txt"), 0u);
}

TEST(EmptySaveFile, AFailureLeavesWhatWasThere) {
    ServerFolders f;
    const fs::path taken = f.server("save/friends.txt/keep.txt", "kept\n");
    const std::size_t before = entries_of(taken.parent_path().parent_path());
    EXPECT_THROW(empty_save_file(f.app, "save/friends.txt"), Failure);
    EXPECT_EQ(testing::slurp(taken), "kept\n");
    EXPECT_EQ(entries_of(taken.parent_path().parent_path()), before);  // no temporary file left
}

}  // namespace
}  // namespace tavo
