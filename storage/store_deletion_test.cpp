#include <gtest/gtest.h>

#include "app/settings.h"
#include "storage/storage_file.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

class StoreDeletion : public ::testing::Test {
protected:
    StoreDeletion() { app.settings.data_folder = dir.make_server("server").string() + "/"; }
    std::string read(const std::string& name) { return dir.read("server/save/" + name); }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
};

TEST_F(StoreDeletion, AnAccountsStoreLineGoes) {
    const std::string before =
        "2000001,1\t1,501,5,0,1,0,0,0,0,0,0 \t\n\n"
        "2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n";
    dir.write("server/save/storage.txt", before);
    ASSERT_TRUE(delete_user_storage(app, ui, 2000001));
    EXPECT_EQ(read("storage.txt"), "\n2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n");
    EXPECT_EQ(read("storage.bak.txt"), before);
    fs::remove(dir.path() / "server/save/storage.txt");
    EXPECT_TRUE(delete_user_storage(app, ui, 2000002));  // no storage file: nothing to remove
    EXPECT_TRUE(ui.shown().empty());
}

}  // namespace
}  // namespace tavo
