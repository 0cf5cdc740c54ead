#include "characters/character_deletion.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "storage/storage_file.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

class Deletion : public ::testing::Test {
protected:
    Deletion() { app.settings.data_folder = dir.make_server("server").string() + "/"; }
    void TearDown() override { EXPECT_TRUE(ui.unexpected.empty()); }
    std::string read(const std::string& name) { return dir.read("server/save/" + name); }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
};

TEST_F(Deletion, AnAccountsCharactersGoWithAFreshNewIdLine) {
    const std::string before =
        "150000\t2000001,0\tAyla\t5,50,30\t\n\n150001\t2000002,0\tBram\t1,1,1\t\n"
        "150005\t2000001,1\tCora\t1,1,1\t\n150006\t%newid%\n";
    dir.write("server/save/athena.txt", before);
    ASSERT_TRUE(delete_user_char(app, ui, "1.0.0", 2000001));
    // Lines that are not characters stay; the counter is never lowered.
    const std::string after = "\n150001\t2000002,0\tBram\t1,1,1\t\n150006\t%newid%\n";
    EXPECT_EQ(read("athena.txt"), after);
    EXPECT_EQ(read("athena.bak.txt"), before);

    ASSERT_TRUE(delete_user_char(app, ui, "817", 2000009));
    EXPECT_EQ(read("athena.txt"), after);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Deletion, AnAccountsStoreLineGoes) {
    const std::string before =
        "2000001,1\t1,501,5,0,1,0,0,0,0,0,0 \t\n\n"
        "2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n";
    dir.write("server/save/storage.txt", before);
    ASSERT_TRUE(delete_user_storage(app, ui, 2000001));
    EXPECT_EQ(read("storage.txt"), "\n2000002,1\t2,502,5,0,1,0,0,0,0,0,0 \t\n");
    EXPECT_EQ(read("storage.bak.txt"), before);
    fs::remove(dir.path() / "server/save/storage.txt");
    EXPECT_TRUE(delete_user_storage(app, ui, 2000002));  // no storage file: nothing to remove
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace
}  // namespace tavo
