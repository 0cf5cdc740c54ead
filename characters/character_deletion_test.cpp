#include "characters/character_deletion.h"

#include <gtest/gtest.h>

#include "app/settings.h"
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
    ASSERT_TRUE(delete_user_char(app, ui, ServerGeneration::V100, 2000001));
    // Lines that are not characters stay; the counter is never lowered.
    const std::string after = "\n150001\t2000002,0\tBram\t1,1,1\t\n150006\t%newid%\n";
    EXPECT_EQ(read("athena.txt"), after);
    EXPECT_EQ(read("athena.bak.txt"), before);

    ASSERT_TRUE(delete_user_char(app, ui, ServerGeneration::V817, 2000009));
    EXPECT_EQ(read("athena.txt"), after);
    EXPECT_TRUE(ui.shown().empty());
}

}  // namespace
}  // namespace tavo
