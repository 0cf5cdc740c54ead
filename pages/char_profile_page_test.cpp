#include "pages/char_profile_page.h"

#include <gtest/gtest.h>

#include "pages/pages.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

struct CharProfilePageObject : ::testing::Test {
    CharProfilePageObject() {
        demo.start();
        demo.ui.clear();
    }
    DemoWorkspace demo;
    Pages pages{demo.ws, demo.ui};
    CharProfilePage& page = pages.character;
};

TEST_F(CharProfilePageObject, EntriesCarryTheirIdsAndTheFirstIsShown) {
    ASSERT_TRUE(page.list(2000001));
    ASSERT_EQ(page.count(), 2u);
    EXPECT_EQ(page.entries()[1].id, "150001");
    EXPECT_EQ(page.chosen(), std::optional<std::size_t>(0));
    EXPECT_EQ(page.view(), std::optional<CharacterView>(CharacterView::Stats));
    ASSERT_TRUE(page.shown());
    EXPECT_TRUE(page.profile().starts_with("Character ID: 150000\tChar Slot #: 0\r\n"));
    EXPECT_EQ(page.inventory().selected(), 0);  // a load selects the first line of each list
    EXPECT_TRUE(page.inventory().offered(ItemButton::Delete));
    EXPECT_FALSE(page.save_offered());

    // An account without characters lists none and shows nothing.
    ASSERT_TRUE(page.list(2000004));
    EXPECT_EQ(page.count(), 0u);
    EXPECT_FALSE(page.chosen());
    EXPECT_FALSE(page.shown());
    EXPECT_FALSE(page.choosers_enabled());
    EXPECT_FALSE(page.inventory().offered(ItemButton::New));
    EXPECT_EQ(page.inventory().lines(), std::vector<std::string>{});
}

TEST_F(CharProfilePageObject, UnsavedChangesAreKeptOnNoAndDroppedOnYes) {
    ASSERT_TRUE(page.list(2000001));
    std::vector<bool> heard;
    demo.ws.characters.observe_modified([&heard](bool modified) { heard.push_back(modified); });
    demo.ws.characters.mark_modified();
    demo.ui.answer({false});
    EXPECT_FALSE(page.choose(1).done);
    EXPECT_EQ(demo.ui.questions(), std::vector<std::string>{kDiscardCharacterQuestion});
    EXPECT_EQ(page.chosen(), std::optional<std::size_t>(0));
    EXPECT_EQ(demo.ws.characters.current().name, "Kaelen");
    EXPECT_TRUE(page.save_offered());

    demo.ui.answer({true});
    EXPECT_TRUE(page.choose(1).done);
    EXPECT_EQ(page.chosen(), std::optional<std::size_t>(1));
    EXPECT_EQ(demo.ws.characters.current().name, "Kaelbrew");
    EXPECT_FALSE(page.save_offered());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // Without unsaved work nothing is asked.
    EXPECT_TRUE(page.choose(0).done);
}

TEST_F(CharProfilePageObject, SavingWritesTheChosenCharacterAndAFailedWriteKeepsTheChanges) {
    ASSERT_TRUE(page.list(2000001));
    ASSERT_TRUE(page.choose(1).done);
    demo.ws.characters.current().name = "Kaelbrau";
    demo.ws.characters.mark_modified();
    demo.ws.app.files = FileWriter([](int, const char*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    EXPECT_FALSE(page.save());
    EXPECT_TRUE(page.save_offered());
    EXPECT_EQ(demo.ui.messages().size(), 1u);
    EXPECT_EQ(demo.save("athena.txt").find("Kaelbrau"), std::string::npos);
    demo.ui.clear();

    demo.ws.app.files = FileWriter();
    EXPECT_TRUE(page.save());
    EXPECT_FALSE(page.save_offered());
    EXPECT_NE(demo.save("athena.txt").find("150001\t2000001,1\tKaelbrau\t"), std::string::npos);
}

}  // namespace
}  // namespace tavo
