#include "workspace/account_deletion.h"

#include <gtest/gtest.h>

#include "accounts/account_editor.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

std::size_t index_of(const Workspace& ws, std::int32_t id) {
    return index_of_account(ws.accounts, id).value();
}

// The write of a file fails when the disk is full; the seam of the file writer makes it so.
FileWriter full_disk() {
    return FileWriter([](int, const char*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
}

TEST(AccountDeletion, AFailedRewriteOfTheCharactersKeepsTheAccountItsCharactersAndStore) {
    DemoWorkspace demo;
    demo.start();
    demo.ui.clear();
    const std::string athena = demo.save("athena.txt");
    const std::string storage = demo.save("storage.txt");
    const std::size_t accounts = demo.ws.accounts.records.size();
    demo.ws.app.files = full_disk();
    demo.ui.answer({true});
    EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, 2000001), true));
    const std::vector<std::string> messages = demo.ui.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("in delete_user_char"), std::string::npos);
    EXPECT_EQ(messages[1],
              "The account 2000001 was not deleted: its characters could not be removed from "
              "save/athena.txt.");
    EXPECT_EQ(demo.ws.accounts.records.size(), accounts);
    EXPECT_FALSE(demo.ws.accounts.modified);
    EXPECT_EQ(demo.save("athena.txt"), athena);
    EXPECT_EQ(demo.save("storage.txt"), storage);
}

TEST(AccountDeletion, AStoreThatCannotBeRemovedKeepsTheAccount) {
    DemoWorkspace demo;
    demo.start();
    demo.ui.clear();
    // An account without characters but with a store: only storage.txt is rewritten.
    demo.ws.app.files = full_disk();
    demo.ui.answer({true});
    EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, 2000001), false));
    EXPECT_EQ(demo.ui.messages().back(),
              "The account 2000001 was not deleted: its store could not be removed from "
              "save/storage.txt.");
    EXPECT_TRUE(index_of_account(demo.ws.accounts, 2000001));

    // With the disk back, the account goes with its characters and store.
    demo.ws.app.files = FileWriter();
    demo.ui.clear();
    demo.ui.answer({true});
    EXPECT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, 2000001), true));
    EXPECT_FALSE(index_of_account(demo.ws.accounts, 2000001));
    EXPECT_EQ(demo.save("athena.txt").find("\t2000001,"), std::string::npos);
    EXPECT_EQ(demo.save("storage.txt").find("2000001,"), std::string::npos);
}

}  // namespace
}  // namespace tavo
