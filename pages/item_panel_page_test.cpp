#include "pages/item_panel_page.h"

#include <gtest/gtest.h>

#include "items/item_builder.h"
#include "pages/item_list_page.h"
#include "refdata/refdata.h"
#include "testsupport/server_folders.h"
#include "workspace/character_document.h"

namespace tavo {
namespace {

using testing::ServerFolders;

constexpr std::int32_t kSword = 1101, kKnife = 1201, kBlade = 1116, kPotion = 501;
constexpr std::int32_t kEgg = 9001, kHat = 2220, kArmor = 2301, kApple = 512;

// Three smiths (one above 163839), an alchemist's friend on a GM account, and a plain
// swordman.
constexpr const char* kAthena =
    "150000\t2000001,0\tHammer\t10,50,40\t\n"
    "200000\t2000001,1\tAnvil\t4011,99,70\t\n"
    "150002\t2000002,0\tGuest\t5,10,10\t\n"
    "150003\t2000003,0\tSwordy\t1,10,10\t\n"
    "150004\t2000004,0\tBrewer\t4019,99,70\t\n";

class ItemPanelTest : public ::testing::Test {
protected:
    ItemPanelTest() {
        ItemTable& t = ref.items;
        t.add({kApple, "Apple", "Apple", 0, 0, 0, 2});
        t.add({kHat, "Hat", "Hat", 1, 5, 768, 30});
        t.add({kArmor, "Cotton_Shirt", "Cotton Shirt", 1, 5, 16, 10});
        t.add({kEgg, "Poring_Egg", "Poring Egg", 0, 7, 0, 0});
        t.add({4001, "Poring_Card", "Poring Card", 0, 6, 16, 1});
        t.add({4002, "Fabre_Card", "Fabre Card", 0, 6, 2, 1});
        t.add({4003, "Hydra_Card", "Hydra Card", 0, 6, 34, 1});
        t.add({4004, "Elder_Card", "Elder Card", 0, 6, 1, 1});
        t.add({4005, "Hat_Card", "Hat Card", 0, 6, 256, 1});
        t.add({4006, "Mid_Card", "Mid Card", 0, 6, 512, 1});
        t.add({4007, "Top_Card", "Top Card", 0, 6, 768, 1});
        t.add({4008, "All_Card", "All Card", 0, 6, 769, 1});
        t.add({4009, "Shield_Card", "Shield Card", 0, 6, 32, 1});
        t.add({4010, "Mid_Low_Card", "Mid Low Card", 0, 6, 513, 1});
        t.add({kKnife, "Knife", "Knife", 0, 4, 2, 40});
        t.add({kSword, "Sword", "Sword", 2, 4, 2, 100});
        t.add({kBlade, "Two_Hand", "Two Hand", 3, 4, 34, 160});
        t.add({kPotion, "Red_Potion", "Red Potion", 0, 0, 0, 10});
        t.add({909, "Jellopy", "Jellopy", 0, 3, 0, 1});
        sort_items_by_name(t);
        f.server("save/athena.txt", kAthena);
        f.server("conf/GM_account.txt", "2000002 60\n");
        forgers.load(f.app, f.ui, characters);
    }
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }

    // A list the panel is opened for; the tests store with store() below.
    struct Target : ItemPanelTarget {
        ItemDestination where = ItemDestination::Inventory;
        ItemDestination destination() const override { return where; }
        bool store(PanelValues&) override { return false; }
    };
    void open(ItemDestination where, ItemAction action) {
        target.where = where;
        panel.open(target, action);
    }
    // Picks an item in the chooser as a click would, on a panel opened anew for a destination.
    void pick(std::int32_t item_id, std::optional<ItemDestination> fresh = std::nullopt) {
        if (fresh) open(*fresh, ItemAction::Add);
        panel.set_filter(0);
        panel.choose(panel.line_of_item(item_id));
    }
    std::vector<std::int32_t> offered_cards() const {
        std::vector<std::int32_t> ids;
        for (const CardChoice& c : panel.card_choices()) ids.push_back(c.card_id);
        return ids;
    }
    // The open controls by name: "qty refine forger card0 frame".
    std::string opened() const {
        const PanelOpen& o = panel.open_state();
        const std::pair<bool, const char*> flags[] = {
            {o.qty, "qty"},           {o.refine, "refine"},  {o.element, "element"},
            {o.strength, "strength"}, {o.forger, "forger"},  {o.cards[0], "card0"},
            {o.cards[1], "card1"},    {o.cards[2], "card2"}, {o.cards[3], "card3"},
            {o.card_frame, "frame"},  {o.pet_info, "pet"},   {o.edit_pet_name, "petname"}};
        std::string names;
        for (const auto& [on, name] : flags) {
            if (!on) continue;
            if (!names.empty()) names += ' ';
            names += name;
        }
        return names;
    }
    int forger_line(std::int32_t char_id) const { return forgers.line_of(char_id); }
    // The panel's item stored into a list, as the list's page does at the confirm button.
    std::optional<std::size_t> store(std::vector<ItemSlot>& items, std::int32_t* weight = nullptr,
                                     std::int32_t max_weight = 0,
                                     std::optional<std::size_t> selected = std::nullopt) {
        values = panel.values();
        return confirm_item(values, ref.items, f.app, f.ui, f.app.settings.maxitemcount,
                            {items, weight, max_weight, selected});
    }

    ServerFolders f;
    RefData ref;
    CachedIndex<CharacterIndex> characters;
    CachedIndex<PetTypeIndex> pet_types;
    ForgerList forgers;
    ItemNaming naming{f.app, f.ui, ref, characters, pet_types};
    ItemPanelPage panel{naming, forgers};
    Target target;
    PanelValues values;  // what the last store() took from the panel
};

TEST_F(ItemPanelTest, FilterListsOneTypeAlphabetically) {
    const auto listed = [&](std::size_t filter) {
        panel.set_filter(filter);
        std::vector<std::string> names;
        for (const ItemChoice& c : panel.choices()) names.push_back(c.text);
        return names;
    };
    const std::vector<std::string> cards = listed(5);
    ASSERT_EQ(cards.size(), 10u);
    EXPECT_EQ(cards.front(), "All_Card");
    EXPECT_TRUE(std::is_sorted(cards.begin(), cards.end()));
    // Arrows go with the usable items; pet armor is listed under "List All Types" alone.
    ItemTable& t = ref.items;
    t.add({1750, "Arrow", "Arrow", 0, 10, 0, 1});
    t.add({10001, "Skull_Helm", "Skull Helm", 0, 8, 0, 10});
    sort_items_by_name(t);
    using Names = std::vector<std::string>;
    EXPECT_EQ(listed(0).size(), t.entries().size());
    EXPECT_EQ(listed(1), (Names{"Apple", "Arrow", "Red_Potion"}));
    EXPECT_EQ(panel.choices()[0].item_id, kApple);
    EXPECT_EQ(listed(2), Names{"Jellopy"});
    EXPECT_EQ(listed(3), (Names{"Knife", "Sword", "Two_Hand"}));
    EXPECT_EQ(listed(4), (Names{"Cotton_Shirt", "Hat"}));
    EXPECT_EQ(listed(6), Names{"Poring_Egg"});
}

TEST_F(ItemPanelTest, TypeAheadWidensWithBackspaceAndEscapeHidesIt) {
    panel.set_filter(0);
    EXPECT_TRUE(panel.type_key('h'));
    EXPECT_TRUE(panel.type_key('Y'));  // letter case does not matter
    EXPECT_EQ(panel.choices()[static_cast<std::size_t>(panel.chosen())].text, "Hydra_Card");
    EXPECT_EQ(panel.fields().item_id, "4003");  // choosing filled the panel
    EXPECT_FALSE(panel.type_key('q'));          // "hyq" matches nothing: no line chosen
    EXPECT_EQ(panel.chosen(), -1);
    EXPECT_TRUE(panel.type_key(8));
    EXPECT_TRUE(panel.type_key(8));
    EXPECT_EQ(panel.choices()[static_cast<std::size_t>(panel.chosen())].text, "Hat");
    EXPECT_TRUE(panel.prefix_visible());
    EXPECT_FALSE(panel.type_key(27));
    EXPECT_EQ(panel.prefix(), "");
    EXPECT_FALSE(panel.prefix_visible());
    EXPECT_FALSE(panel.type_key('5'));  // other keys belong to the list
}

TEST_F(ItemPanelTest, CardsOfferedByLocationFamily) {
    pick(kBlade);  // both hands: 2 and 34
    EXPECT_EQ(offered_cards(), (std::vector<std::int32_t>{0, 4002, 4003}));
    pick(kHat);  // headgear: 1, 256, 512, 768, 769 but not 513
    EXPECT_EQ(offered_cards(), (std::vector<std::int32_t>{0, 4008, 4004, 4005, 4006, 4007}));
    pick(kArmor);
    EXPECT_EQ(offered_cards(), (std::vector<std::int32_t>{0, 4001}));
    EXPECT_EQ(panel.card_choices()[1].text, "[4001] Poring Card");
}

TEST_F(ItemPanelTest, WhatEachKindOfItemOpens) {
    pick(kSword);  // two slots: "Card 1" at "None" leaves forging open too
    EXPECT_EQ(opened(), "refine forger card0 frame");
    panel.choose_card(0, panel.line_of_card(4002));
    EXPECT_EQ(opened(), "refine card0 card1 frame");
    panel.choose_card(1, panel.line_of_card(4002));
    EXPECT_EQ(opened(), "refine card0 card1 frame");  // never a third card in two slots
    panel.choose_card(0, 0);                          // no card: a weapon may be forged instead
    EXPECT_EQ(opened(), "refine forger card0 frame");
    EXPECT_EQ(panel.card(1), 0);

    pick(kKnife);  // slotless weapon: the forger chooser, no cards
    EXPECT_EQ(opened(), "refine forger frame");
    panel.choose_forger(forger_line(150000));
    EXPECT_EQ(opened(), "refine element strength forger frame");
    panel.choose_forger(0);
    EXPECT_EQ(opened(), "refine forger frame");

    // Potions and eggs show the card frame, its choosers closed and at "None"; only other
    // kinds hide it.
    pick(kSword);
    panel.choose_card(0, panel.line_of_card(4002));
    pick(kPotion);
    EXPECT_EQ(opened(), "qty forger frame");
    EXPECT_EQ(panel.card(0), 0);
    EXPECT_EQ(panel.card_choices().size(), 1u);
    EXPECT_EQ(panel.fields().refine, "0");
    pick(kEgg);
    EXPECT_EQ(opened(), "frame pet");
    EXPECT_EQ(panel.fields().qty, "1");
    pick(909);
    EXPECT_EQ(opened(), "qty");
}

TEST_F(ItemPanelTest, ForgersByClassOrGmLevel) {
    std::vector<std::string> texts;
    for (const ForgerChoice& c : forgers.entries()) texts.push_back(c.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"[00000] None", "[18928] Hammer", "[68928] Anvil",
                                               "[18930] Guest", "[18932] Brewer"}));
    EXPECT_EQ(forgers.entries()[2].char_id, 200000);  // the entry carries its id
    // A character the server made after start-up is offered when the panel opens again.
    f.server("save/athena.txt", std::string(kAthena) + "150005\t2000005,0\tNewSmith\t18,1,1\t\n");
    open(ItemDestination::Inventory, ItemAction::Add);
    EXPECT_EQ(forgers.entries().back().text, "[18933] NewSmith");
}

TEST_F(ItemPanelTest, QuantityAndRefineLimits) {
    std::vector<ItemSlot> items;
    pick(kApple);
    panel.type_field(ItemField::Qty, "40000");
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[0].amount, 30000);
    EXPECT_EQ(values.qty, "30000");
    EXPECT_EQ(items[0].identify, 1);

    pick(kArmor, ItemDestination::Storage);
    panel.type_field(ItemField::Refine, "15");
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[1].refine, 10);

    pick(kPotion, ItemDestination::Storage);
    panel.type_field(ItemField::Refine,
                     "7");  // closed for a potion; a plain one never keeps a refine
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[2].refine, 0);

    pick(909, ItemDestination::Storage);
    panel.type_field(ItemField::Qty, "0");
    EXPECT_FALSE(store(items));
    panel.type_field(ItemField::Qty, "");
    EXPECT_FALSE(store(items));
    panel.type_field(ItemField::Qty, "2");
    panel.type_field(ItemField::Refine, "x");
    EXPECT_FALSE(store(items));
    EXPECT_EQ(f.ui.messages(), (std::vector<std::string>{
                                   "Please enter item quantity.", "Please enter item quantity.",
                                   "Error 13, Type mismatch\r\nin do1-view inventory/cart item"}));
    EXPECT_EQ(items.size(), 3u);
}

TEST_F(ItemPanelTest, WeightLimitIsNineTenthsAndAnEditCountsTheDifference) {
    std::vector<ItemSlot> items;
    std::int32_t weight = 850;
    pick(kPotion);  // 10 each
    panel.type_field(ItemField::Qty, "6");
    EXPECT_FALSE(store(items, &weight, 1000));
    EXPECT_EQ(f.ui.messages(), std::vector<std::string>{"Character CAN NOT hold that much."});
    EXPECT_EQ(weight, 850);
    panel.type_field(ItemField::Qty, "5");
    ASSERT_TRUE(store(items, &weight, 1000));
    EXPECT_EQ(weight, 900);

    // Editing the 5 potions into 5 apples: only the difference counts.
    open(ItemDestination::Inventory, ItemAction::Save);
    panel.preset(items[0]);
    pick(kApple);
    panel.type_field(ItemField::Qty,
                     "25");  // 900 - 50 + 50: at the limit only when the potions come off
    ASSERT_TRUE(store(items, &weight, 1000, 0));
    EXPECT_EQ(weight, 900);
    EXPECT_EQ(items.size(), 1u);

    // The store has no weight limit.
    std::vector<ItemSlot> stored;
    pick(kBlade, ItemDestination::Storage);
    panel.type_field(ItemField::Refine, "3");
    ASSERT_TRUE(store(stored, nullptr, 0));
}

TEST_F(ItemPanelTest, SecondStackRefusedUnlessAnotherMakerOrUnstackable) {
    std::vector<ItemSlot> items;
    pick(kPotion);
    ASSERT_TRUE(store(items));
    pick(kPotion);
    EXPECT_FALSE(store(items));
    EXPECT_EQ(f.ui.messages(), std::vector<std::string>{
                                   "That item is already in list.\r\nPlease use Edit instead..."});
    pick(kPotion);
    panel.choose_forger(forger_line(150004));
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[1], (ItemSlot{0, kPotion, 1, 0, 1, 0, 0, 254, 0, 18932, 2}));
    EXPECT_EQ(item_duplicate_key(items[1]), "501-150004");
    pick(kPotion);  // the same maker again
    panel.choose_forger(forger_line(150004));
    EXPECT_FALSE(store(items));
    EXPECT_EQ(f.ui.messages().back(),
              "That item is already in list.\r\nPlease use Edit instead...");
    // Two swords, two eggs: two items each.
    for (std::int32_t id : {kSword, kSword, kEgg, kEgg}) {
        pick(id);
        EXPECT_TRUE(store(items));
    }
    // An edit of the stack itself is no duplicate.
    open(ItemDestination::Storage, ItemAction::Save);
    panel.preset(items[0]);
    panel.type_field(ItemField::Qty, "9");
    ASSERT_TRUE(store(items, nullptr, 0, 0));
    EXPECT_EQ(items[0].amount, 9);
}

TEST_F(ItemPanelTest, ForgedWeaponsCarryStrengthElementAndSmith) {
    std::vector<ItemSlot> items;
    pick(kKnife);
    panel.choose_forger(forger_line(150000));
    panel.choose_strength(2);  // "Very Very Strong"
    panel.choose_element(3);   // "Fire property"
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[0], (ItemSlot{0, kKnife, 1, 0, 1, 0, 0, 255, 2563, 18928, 2}));
    EXPECT_EQ(item_list_text(naming, items[0]), "1 pc Very Very Strong Hammer's Fire Knife");

    pick(kKnife);  // a smith above 163839 keeps the whole id in card2 and card3
    panel.choose_forger(forger_line(200000));
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[1], (ItemSlot{0, kKnife, 1, 0, 1, 0, 0, 255, 0, 3392, 3}));
    EXPECT_EQ(item_list_text(naming, items[1]), "1 pc Anvil's Knife");

    // A slotted weapon without cards is forged the same way; forging closes "Card 1".
    pick(kSword);
    panel.choose_forger(forger_line(150000));
    EXPECT_EQ(opened(), "refine element strength forger frame");
    panel.choose_strength(1);
    panel.choose_element(4);
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[2], (ItemSlot{0, kSword, 1, 0, 1, 0, 0, 255, 1284, 18928, 2}));
}

// An item whose number item_db.txt lacks keeps its refine, place and cards through an edit, and
// takes no maker from the item the panel showed before.
TEST_F(ItemPanelTest, AnUnknownItemKeepsWhatItCarries) {
    std::vector<ItemSlot> items = {{3, 7777, 2, 2, 1, 7, 1, 4001, 0, 0, 0}};
    pick(kPotion);
    panel.choose_forger(forger_line(150004));  // a potion made by Brewer was shown before
    open(ItemDestination::Inventory, ItemAction::Save);
    panel.preset(items[0]);
    EXPECT_EQ(opened(), "qty");
    EXPECT_EQ(panel.forger(), 0);
    EXPECT_EQ(panel.fields().name, "Unknown item [7777]");
    panel.type_field(ItemField::Qty, "5");
    ASSERT_TRUE(store(items, nullptr, 0, 0));
    EXPECT_EQ(items[0], (ItemSlot{3, 7777, 5, 2, 1, 7, 1, 4001, 0, 0, 0}));
}

TEST_F(ItemPanelTest, EggsCarryTheirPetOnlyWithAnId) {
    std::vector<ItemSlot> items;
    pick(kEgg);
    ASSERT_TRUE(store(items));
    EXPECT_EQ(items[0], (ItemSlot{0, kEgg, 1, 0, 1, 0, 0, 0, 0, 0, 0}));
    pick(kEgg);
    // A new egg holds no pet of pet.txt: no name to edit, and Cancel looks none up.
    panel.type_pet_name("Typed");
    panel.edit_or_save_pet_name();
    EXPECT_FALSE(panel.pet().name_open);
    panel.cancel_pet_name();
    EXPECT_EQ(panel.pet().name, "Typed");
    panel.type_pet_id("70000");  // the server cannot hatch a pet pet.txt lacks
    EXPECT_FALSE(store(items));
    EXPECT_EQ(f.ui.messages().back(), "No pet 70000 in save/pet.txt");
    f.server("save/pet.txt", "70000,1002,Pudding\t2000001,0,0,0,0,0,0,0,0\n");
    ASSERT_TRUE(store(items));  // above 16 bits: the high half goes to card2
    EXPECT_EQ(items[1], (ItemSlot{0, kEgg, 1, 0, 1, 0, 0, -256, 4464, 1, 1}));
}

// An edit that changes nothing stores the item as it was, whatever its kind.
TEST_F(ItemPanelTest, PresetAndSaveKeepsEveryKindOfItem) {
    f.server("save/pet.txt", "7,1002,Pudding\t2000001,0,0,0,0,0,0,0,0\n");
    std::vector<ItemSlot> items = {
        {5, kSword, 1, 2, 1, 4, 0, 4002, 4002, 0, 0},    // carded and refined, worn
        {6, kKnife, 1, 0, 1, 0, 0, 255, 3843, 3392, 3},  // forged by the smith of id 200000
        {7, kPotion, 20, 0, 1, 0, 0, 254, 0, 18932, 2},  // brewed
        {8, kEgg, 1, 0, 1, 0, 0, -256, 7, 0, 1},         // with its pet
        {9, kArmor, 1, 0, 1, 0, 0, 4009, 0, 0, 0},       // a card the armor is not offered
        {10, kKnife, 1, 0, 1, 0, 0, 255, 1, 5000, 2},    // a smith no longer in the file
    };
    const std::vector<ItemSlot> before = items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        open(ItemDestination::Storage, ItemAction::Save);
        panel.preset(items[i]);
        ASSERT_TRUE(store(items, nullptr, 0, i)) << i;
    }
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i], before[i]) << i;
    panel.preset(before[3]);
    EXPECT_EQ(panel.pet().id, "7");
    EXPECT_EQ(panel.pet().name, "Pudding");
    EXPECT_TRUE(panel.open_state().edit_pet_name);
}

TEST(ClearEquipView, ClearsTheSpriteOfTheLocation) {
    EXPECT_EQ(clear_equip_view(34, "1116,0,5,6,7"), "0,0,5,6,7");
    EXPECT_EQ(clear_equip_view(32, "1,2,3,4,5"), "1,0,3,4,5");
    EXPECT_EQ(clear_equip_view(1, "1,2,3,4,5"), "1,2,3,4,0");
    EXPECT_EQ(clear_equip_view(513, "1,2,3,4,5"), "1,2,3,4,5");
    EXPECT_EQ(clear_equip_view(2, "1,2,3,4"), "1,2,3,4");
}

class ItemListTest : public ItemPanelTest {
protected:
    ItemListTest() {
        CharacterRecord& record = character.current();
        record.equip_view = "1116,0,7,8,9";
        record.inventory.max_weight = 1000;
        record.inventory.items = {{1, kBlade, 1, 34, 1, 0, 0, 0, 0, 0, 0},
                                  {2, kPotion, 5, 0, 1, 0, 0, 0, 0, 0, 0},
                                  {3, 9999, 3, 0, 1, 0, 0, 0, 0, 0, 0}};
        record.inventory.weight = 160 + 50 + 3;
        character.state().loaded_cleanly = true;  // as a load of the character leaves it
        inventory.reset();
    }
    ItemOutcome press(ItemButton button) { return inventory.press(button); }

    CharacterDocument character{f.app, ref};
    const CharacterRecord& record = character.current();
    ItemListPage inventory{ItemListKind::Inventory, character, f.app.settings, panel, f.ui};
};

TEST_F(ItemListTest, DeleteKeepsWeightViewAndSelectionRight) {
    f.ui.answer({false, true, true, true});
    EXPECT_FALSE(press(ItemButton::Delete).done);  // No keeps everything
    EXPECT_FALSE(character.modified());
    EXPECT_TRUE(press(ItemButton::Delete).lines_changed);  // the worn two-handed blade
    EXPECT_EQ(record.equip_view, "0,0,7,8,9");
    EXPECT_EQ(record.inventory.weight, 53);
    EXPECT_EQ(inventory.selected(), 0);  // the item that moved up
    EXPECT_TRUE(character.modified());
    inventory.select(1);
    EXPECT_TRUE(press(ItemButton::Delete).done);  // an unknown item weighs 1 a piece
    EXPECT_EQ(record.inventory.weight, 50);
    EXPECT_EQ(inventory.selected(), 0);  // the new last line
    EXPECT_TRUE(press(ItemButton::Delete).done);
    EXPECT_EQ(inventory.selected(), -1);
    for (ItemButton off : {ItemButton::Edit, ItemButton::Delete, ItemButton::DeleteAll}) {
        EXPECT_FALSE(inventory.offered(off));
    }
    EXPECT_TRUE(inventory.offered(ItemButton::New));
}

TEST_F(ItemListTest, DeleteAllTakesEverythingOff) {
    character.current().equip_view = "5,6,7,8,9";
    f.ui.answer({true});
    EXPECT_TRUE(press(ItemButton::DeleteAll).done);
    EXPECT_EQ(record.equip_view, "0,0,0,0,0");
    EXPECT_EQ(record.inventory.weight, 0);
    EXPECT_EQ(inventory.caption(), "[Inventory Weight : 0/1000] [Count : 0/100]");
}

TEST_F(ItemListTest, NewOnAFullListIsRefused) {
    f.app.settings.maxinventory = 3;
    EXPECT_FALSE(press(ItemButton::New).panel_opened);
    EXPECT_EQ(f.ui.messages(), std::vector<std::string>{"Max item count reach."});
    f.app.settings.maxinventory = 4;
    ASSERT_TRUE(press(ItemButton::New).panel_opened);
    EXPECT_EQ(panel.caption(), "Add to Inventory");
    pick(kApple);
    ASSERT_TRUE(panel.confirm());
    EXPECT_EQ(record.inventory.count(), 4);
    EXPECT_EQ(record.inventory.weight, 215);
    EXPECT_EQ(inventory.selected(), 3);
    EXPECT_TRUE(character.modified());
    EXPECT_FALSE(panel.is_open());
}

}  // namespace
}  // namespace tavo
