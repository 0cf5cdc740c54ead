#include <gtest/gtest.h>

#include "storage/storage_file.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

TEST(StoreDeletion, AnAccountsStoreLineGoes) {
    testing::ServerFolders f;
    const std::string before =
        "2000001,1\t1,501,5,0,1,0,0,0,0,0,0 \t\n\n"
        "2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n";
    f.server("save/storage.txt", before);
    ASSERT_TRUE(delete_user_storage(f.app, f.ui, 2000001));
    EXPECT_EQ(f.saved("storage.txt"), "\n2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n");
    EXPECT_EQ(f.saved("storage.bak.txt"), before);
    fs::remove(f.dir.path() / "server/save/storage.txt");
    EXPECT_TRUE(delete_user_storage(f.app, f.ui, 2000002));  // no storage file: nothing to remove
    EXPECT_TRUE(f.ui.shown().empty());
}

}  // namespace
}  // namespace tavo
