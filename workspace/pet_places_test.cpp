#include "workspace/pet_places.h"

#include <gtest/gtest.h>

#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

// The shown character and store count as they are edited, saved or not; the files count for
// everyone else, guild storages included.
TEST(PetPlaces, UnsavedEditsCountAndTheFilesForTheRest) {
    DemoWorkspace demo;
    demo.start();
    demo.ui.clear();
    Workspace& ws = demo.ws;
    const auto place = [&](std::int32_t pet) { return pet_place(ws, demo.ui, pet); };
    EXPECT_EQ(place(1), "in an egg in Mirabel's inventory");
    EXPECT_EQ(place(2), "Mirabel's hatched pet");
    EXPECT_EQ(place(3), "in an egg in the store of account 2000001 (kaelen)");
    EXPECT_EQ(place(9), std::nullopt);

    ASSERT_TRUE(ws.store.load(demo.ui, 2000001));
    ASSERT_EQ(ws.store.items().at(3).nameid, 9004);
    ws.store.items().erase(ws.store.items().begin() + 3);  // deleted, not saved
    EXPECT_EQ(place(3), std::nullopt);
    ASSERT_TRUE(ws.characters.list(demo.ui, 2000002));
    ASSERT_TRUE(ws.characters.load(demo.ui, "150002"));
    CharacterRecord& mirabel = ws.characters.current();
    mirabel.cart.items.push_back(mirabel.inventory.items.at(2));
    mirabel.inventory.items.erase(mirabel.inventory.items.begin() + 2);
    EXPECT_EQ(place(1), "in an egg in Mirabel's cart");

    demo.dir.write("server/save/g_storage.txt", "10001,1\t0,9004,1,0,1,0,0,-256,3,0,1 \t\n");
    EXPECT_EQ(place(3), "in an egg in the storage of guild 10001 (Iron Wolves)");
}

}  // namespace
}  // namespace tavo
