#include "pages/storage_page.h"

#include <gtest/gtest.h>

#include "pages/pages.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

constexpr std::int32_t kKaelen = 2000001;  // a store of four items

struct StoragePageObject : ::testing::Test {
    StoragePageObject() {
        demo.start();
        demo.ui.clear();
    }
    std::vector<ItemButton> offered() const {
        std::vector<ItemButton> buttons;
        for (ItemButton b : {ItemButton::New, ItemButton::Edit, ItemButton::Delete,
                             ItemButton::DeleteAll, ItemButton::SaveFile}) {
            if (page.offered(b)) buttons.push_back(b);
        }
        return buttons;
    }
    DemoWorkspace demo;
    Pages pages{demo.ws, demo.ui};
    StoragePage& page = pages.storage;
};

using Buttons = std::vector<ItemButton>;

TEST_F(StoragePageObject, TheLabelCountsAgainstMaxstorageAndDeleteWaitsForAChosenLine) {
    EXPECT_EQ(page.label(), "Qty [0/300]");  // before a store is read: maxstorage of tavo.ini
    EXPECT_EQ(offered(), Buttons{});
    ASSERT_TRUE(page.choose_account(kKaelen));
    EXPECT_EQ(page.label(), "Qty [4/300]");
    EXPECT_EQ(page.selected(), 0);
    EXPECT_EQ(offered(), (Buttons{ItemButton::New, ItemButton::Edit, ItemButton::DeleteAll}));
    EXPECT_FALSE(page.press(ItemButton::Delete).done);  // nothing asked, nothing gone
    EXPECT_EQ(page.count(), 4);

    page.select(1);
    demo.ui.answer({true});
    const ItemOutcome deleted = page.press(ItemButton::Delete);
    EXPECT_TRUE(deleted.done && deleted.lines_changed);
    EXPECT_EQ(page.label(), "Qty [3/300]");
    EXPECT_EQ(offered(), (Buttons{ItemButton::New, ItemButton::Edit, ItemButton::Delete,
                                  ItemButton::DeleteAll, ItemButton::SaveFile}));
    EXPECT_TRUE(demo.ws.store.modified());
    // Another account's store: nothing chosen yet again.
    ASSERT_TRUE(page.choose_account(2000002));
    EXPECT_FALSE(demo.ws.store.modified());
    EXPECT_FALSE(page.offered(ItemButton::Delete));
}

TEST_F(StoragePageObject, StoreEditsThroughThePanel) {
    demo.ws.app.settings.maxstorage = 5;
    ASSERT_TRUE(page.choose_account(kKaelen));
    ItemPanelPage& panel = pages.item_panel;
    ASSERT_TRUE(page.press(ItemButton::New).panel_opened);
    EXPECT_EQ(panel.caption(), "Add to Storage");
    panel.choose(panel.line_of_item(1201));
    ASSERT_TRUE(panel.confirm());
    EXPECT_EQ(page.lines().back(), "1 pc Knife [3]");
    EXPECT_EQ(page.selected(), 4);
    EXPECT_FALSE(page.press(ItemButton::New).panel_opened);
    EXPECT_EQ(demo.ui.messages(), std::vector<std::string>{"Max item count reach."});
    page.select(0);
    ASSERT_TRUE(page.press(ItemButton::Edit).panel_opened);
    EXPECT_EQ(panel.caption(), "Save to Storage");
    EXPECT_EQ(panel.fields().qty, "200");
    panel.type_field(ItemField::Qty, "8");
    ASSERT_TRUE(panel.confirm());
    ASSERT_TRUE(page.press(ItemButton::SaveFile).done);
    EXPECT_FALSE(demo.ws.store.modified());
    const std::string file = demo.save("storage.txt");
    EXPECT_TRUE(file.starts_with("2000001,5\t100,501,8,0,1,0,0,0,0,0,0 ")) << file;
    EXPECT_NE(file.find(" 0,1201,1,0,1,0,0,0,0,0,0 \t"), std::string::npos);
}

}  // namespace
}  // namespace tavo
