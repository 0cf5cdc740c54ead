#include "items/item_naming.h"

#include <gtest/gtest.h>

#include "refdata/refdata.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

constexpr std::int32_t kX = 4001, kY = 4002, kZ = 4003;  // two prefix cards and a postfix one

class ItemNamingTest : public ::testing::Test {
protected:
    ItemNamingTest() {
        ref.items.add({1101, "Sword", "Sword", 3, 4, 2, 100});
        ref.items.add({1201, "Knife", "Knife", 0, 4, 2, 40});
        ref.items.add({501, "Red_Potion", "Red Potion", 0, 0, 0, 7});
        ref.items.add({9001, "Poring_Egg", "Poring Egg", 0, 7, 0, 0});
        ref.cards.add({kX, "Hydra", 0});
        ref.cards.add({kY, "Vampire", 0});
        ref.cards.add({kZ, "of Ghost", 1});
        ref.cards.add({4004, "Sword", 0});  // a card word equal to an item name
    }
    void TearDown() override { EXPECT_TRUE(ui.unexpected.empty()); }
    std::string cards(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
        return itemcardname(ref.cards, "N", a, b, c, d);
    }
    std::string line(const ItemSlot& item) { return item_list_text(naming, item); }

    testing::ServerFolders f;
    AppContext& app = f.app;
    testing::ScriptedUi& ui = f.ui;
    RefData ref;
    CharacterLookup characters;
    CachedIndex<PetTypeIndex> pet_types;
    ItemNaming naming{app, ui, ref, characters, pet_types};
};

TEST_F(ItemNamingTest, CardWordsGoBeforeOrAfterTheName) {
    EXPECT_EQ(cards(0, 0, 0, 0), "N");
    EXPECT_EQ(cards(kX, 0, 0, 0), "Hydra N");
    EXPECT_EQ(cards(kX, kY, 0, 0), "Hydra Vampire N");
    EXPECT_EQ(cards(kX, 0, kY, 0), "Hydra N");  // the walk stops at the empty second slot
    EXPECT_EQ(cards(kX, kX, 0, 0), "Double Hydra N");
    EXPECT_EQ(cards(kX, kX, kX, kX), "Quad Hydra N");
    EXPECT_EQ(cards(kX, kX, kX, kY), "Triple Hydra Vampire N");
    EXPECT_EQ(cards(kX, kX, kY, kY), "Double Hydra Double Vampire N");
    EXPECT_EQ(cards(kZ, 0, 0, 0), "N of Ghost ");
    EXPECT_EQ(cards(kZ, kZ, 0, 0), "N of Ghost Double ");
    EXPECT_EQ(cards(kX, kZ, 0, 0), "Hydra of Ghost N");
    EXPECT_EQ(cards(kZ, kX, 0, 0), "N Hydra of Ghost ");
    EXPECT_EQ(cards(0, kX, kX, 0), "Double Hydra N");
    EXPECT_EQ(cards(4999, 0, 0, 0), "4999 N");
    EXPECT_EQ(itemcardname(ref.cards, "Sword", 4004, 0, 0, 0), "Sword ");  // name inside the words
}

TEST_F(ItemNamingTest, ListLinesOfPlainItems) {
    EXPECT_EQ(line({1, 1201, 1, 0, 1, 0, 0, 0, 0, 0, 0}), "1 pc Knife");
    EXPECT_EQ(line({1, 501, 7, 0, 1, 2, 0, 0, 0, 0, 0}), "7 pcs +2 Red Potion");
    EXPECT_EQ(line({1, 501, 0, 0, 1, 0, 0, 0, 0, 0, 0}), "0 pcs Red Potion");
    EXPECT_EQ(line({1, 1101, 1, 0, 0, 10, 0, kX, 0, 0, 0}),
              "1 pc +10 Hydra Sword [3] -- Not Identified");
    EXPECT_EQ(line({1, 777, 1, 0, 1, 0, 0, 0, 0, 0, 0}), "1 pc Unknown item [777]");
    EXPECT_EQ(line({1, 1201, 1, 0, 1, 0, 0, -1, 0, 0, 0}), "1 pc ");
    EXPECT_EQ(equipped_item_line(naming, {1, 1201, 1, 34, 1, 0, 0, 0, 0, 0, 0}),
              "1 pc Knife  [EQP : Both Hand]");
    EXPECT_EQ(equipped_item_line(naming, {1, 1201, 1, 0, 1, 0, 0, 0, 0, 0, 0}), "1 pc Knife");
    EXPECT_EQ(equip_location_name(3), "Unknown Part");
    EXPECT_EQ(equip_location_name(769), "Top/Mid/Lower Head");
}

TEST_F(ItemNamingTest, SmithsAndBrewersAreFoundByTheServersEncoding) {
    // 150000 = 2 * 65536 + 18928; 170000 = 2 * 65536 + 38928 (negative as a signed card);
    // 200000 = 3 * 65536 + 3392.
    f.server("save/athena.txt",
             "150000\t2000001,0\tAyla\t10,50,30\t\n170000\t2000002,0\tBram\t10,50,30\t\n"
             "200000\t2000003,0\tCora\t18,50,30\t\n");
    const auto forged = [](std::int16_t card1, std::int16_t card2, std::int16_t card3) {
        return ItemSlot{1, 1201, 1, 0, 1, 0, 0, 255, card1, card2, card3};
    };
    EXPECT_EQ(line(forged(1283, 18928, 2)), "1 pc Very Strong Ayla's Fire Knife");
    EXPECT_EQ(line(forged(2564, -26608, 2)), "1 pc Very Very Strong Bram's Wind Knife");
    EXPECT_EQ(line(forged(0, 3392, 3)), "1 pc Cora's Knife");
    EXPECT_EQ(line(forged(1290, 18928, 2)), "1 pc Ayla's Knife");  // s = 129: no words
    EXPECT_EQ(line(forged(3842, 1, 0)), "1 pc Very Very Very Strong unknown's Earth Knife");
    EXPECT_EQ(line(forged(1281, 0, 0)), "1 pc Very Strong unknown's Ice Knife");
    EXPECT_EQ(line({1, 501, 12, 0, 1, 0, 0, 254, 0, 3392, 3}), "12 pcs Cora's Red Potion");
    EXPECT_EQ(find_forger(naming, -26608, 2), "Bram");
}

TEST_F(ItemNamingTest, PetEggsNameTheirPet) {
    f.server("save/pet.txt",
             "300,1002,Sir Poring\t2000001,150000,5,9001,0,250,50,0,0\n"
             "70000,1002,Big Id\t2000001,150000,5,9001,0,250,50,0,0\n");
    EXPECT_EQ(line({1, 9001, 1, 0, 1, 0, 0, -256, 300, 0, 0}), "1 pc Poring Egg 'Sir Poring'");
    EXPECT_EQ(line({1, 9001, 1, 0, 1, 0, 0, -256, 301, 0, 0}), "1 pc Poring Egg 'No Name [301]'");
    // A pet id above 65535 keeps its high bits in card2.
    EXPECT_EQ(line({1, 9001, 1, 0, 1, 0, 0, -256, 4464, 1, 0}), "1 pc Poring Egg 'Big Id'");
}

TEST_F(ItemNamingTest, PetTypesComeFromThePetDatabaseAndFollowItsChanges) {
    EXPECT_EQ(find_pet_type(naming, 1002), "Monster ID not found");
    f.server("db/english/pet_db.txt",
             "// mob,name,jname,...\n1002,PORING,Poring,619,9001\n1002,X,Shadowed,0,0\n");
    EXPECT_EQ(find_pet_type(naming, 1002), "Poring");
    EXPECT_EQ(find_pet_type(naming, 0), "Monster ID not found");
    f.server("db/english/pet_db.txt", "1002,PORING,Poring Mk II,619,9001\n");
    EXPECT_EQ(find_pet_type(naming, 1002), "Poring Mk II");
}

}  // namespace
}  // namespace tavo
