#include "characters/character_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/text.h"
#include "refdata/refdata.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

struct Line {
    std::string id = "150000";
    std::string account = "2000001";
    std::string slot = "0";
    std::string name = "Ayla";
    std::string job = "5";
    std::string memo = "prontera.gat,150,150geffen.gat,119,59";
    std::string inventory = "1,1201,1,2,1,0,0,0,0,0,0 2,501,30,0,1,0,0,0,0,0,0 ";
    std::string cart;
    std::string skills = "1,9 36,5 ";
    std::string vars = "QUEST_A,1 ";
    std::string after;  // fields after the last one

    std::string text() const {
        return id + "\t" + account + "," + slot + "\t" + name + "\t" + job + ",50,30\t" +
               "1200,300,45000\t500,500,100,100\t30,10,20,5,10,5\t0,0\t0,0,0\t0,0,0\t1,2,3\t" +
               "1201,0,0,0,0\tprontera.gat,150,150\tprontera.gat,150,150,0\t" + memo + "\t" +
               inventory + "\t" + cart + "\t" + skills + "\t" + vars + "\t" + after;
    }
};

class CharacterFile : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(ui.unexpected.empty()); }
    void write(const std::string& content) { f.server("save/athena.txt", content); }
    std::string athena() const { return f.saved("athena.txt"); }
    bool load(const std::string& id) { return load_char_info(app, ui, ref, state, id); }

    testing::ServerFolders f;
    AppContext& app = f.app;
    testing::ScriptedUi& ui = f.ui;
    RefData ref;
    CharacterState state;
};

TEST(Memo, PointsWrittenBackToBackAreSeparated) {
    EXPECT_EQ(splitmemo("alpha,150,180beta,120,60"), "alpha,150,180 beta,120,60");
    EXPECT_EQ(splitmemo("alpha,150,180 beta,120,60"), "alpha,150,180 beta,120,60");
    EXPECT_EQ(splitmemo("a,1,2[x,3,4{y,5,6"), "a,1,2 [x,3,4 {y,5,6");
    EXPECT_EQ(splitmemo("a,1,2@b,3,4"), "a,1,2@b,3,4");  // '@' (64) is not a letter code
    EXPECT_EQ(splitmemo(""), "");
    EXPECT_TRUE(is_alpha_code('Z') && is_alpha_code('[') && is_alpha_code('{'));
    EXPECT_FALSE(is_alpha_code('@') || is_alpha_code('`') || is_alpha_code('|'));
}

TEST_F(CharacterFile, ListsTheAccountsCharactersInFileOrder) {
    Line a, b, c, other;
    b.id = "150002", b.slot = "1", b.name = "Bram", b.job = "4011";
    c.id = "150001", c.slot = "2", c.name = "Cora", c.job = "4001";
    other.id = "150003", other.account = "2000002";
    write(a.text() + "\r\n150010\t%newid%\r\n" + other.text() + "\n\n" + b.text() + "\n" +
          c.text());
    ASSERT_TRUE(load_char_list(app, ui, ref, state, 2000001));
    std::vector<std::string> ids, texts;
    for (const CharacterChoice& choice : state.chooser) {
        ids.push_back(choice.id);
        texts.push_back(choice.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"ID: 150000, Slot: 0, Ayla, <unknown:5>",
                                               "ID: 150002, Slot: 1, Bram, <unknown:4011>",
                                               "ID: 150001, Slot: 2, Cora, <unknown:4001>"}));
    EXPECT_EQ(ids, (std::vector<std::string>{"150000", "150002", "150001"}));
    EXPECT_EQ(state.current.account_id, 2000001);
    ASSERT_TRUE(load_char_list(app, ui, ref, state, 0));  // nothing left of the last account
    EXPECT_TRUE(state.chooser.empty());
    ASSERT_TRUE(load_char_list(app, ui, ref, state, 2000001));
    ASSERT_TRUE(load_char_list(app, ui, ref, state, 2000099));
    EXPECT_TRUE(state.chooser.empty());
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(CharacterFile, LoadsEveryPartOfALine) {
    Line line;
    line.memo = "alpha,150,180beta,120,60";
    line.skills = "1,9  36,5 ";         // a doubled blank makes no entry
    line.vars = "QUEST_A,1 QUEST_B,7";  // the last entry without its blank is kept
    write(line.text() + "\n");
    state.current.account_id = 2000001;
    ASSERT_TRUE(load("150000"));
    const CharacterRecord& r = state.current;
    EXPECT_EQ(r.char_id, 150000);
    EXPECT_EQ(r.char_num, 0);
    EXPECT_EQ(r.name, "Ayla");
    EXPECT_EQ(r.class_levels, "5,50,30");
    EXPECT_EQ(r.save_point, "prontera.gat,150,150,0");
    EXPECT_EQ(r.memo, (std::vector<std::string>{"alpha,150,180", "beta,120,60"}));
    EXPECT_EQ(r.skills, (std::vector<std::string>{"1,9", "36,5"}));
    EXPECT_EQ(r.regs, (std::vector<std::string>{"QUEST_A,1", "QUEST_B,7"}));
    ASSERT_EQ(r.inventory.count(), 2);
    EXPECT_EQ(r.inventory.items[0], (ItemSlot{1, 1201, 1, 2, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.inventory.items[1].amount, 30);
    EXPECT_EQ(r.cart.count(), 0);
    EXPECT_EQ(r.cart.max_weight, 8000);
    EXPECT_TRUE(state.loaded_cleanly);
}

// Items beyond maxinventory are the player's: a save drops them only when allowed to.
TEST_F(CharacterFile, ItemsBeyondMaxinventoryStayUnlessTheSaveMayDropThem) {
    Line full, empty;
    full.inventory = testing::item_list(120);
    full.cart = testing::item_list(3);
    empty.id = "150001", empty.inventory = "";
    const std::string original = full.text() + "\n" + empty.text() + "\n";
    write(original);
    ASSERT_TRUE(load("150000"));
    EXPECT_EQ(state.current.inventory.count(), 120);
    EXPECT_EQ(state.current.cart.count(), 3);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Inventory holds 120 items, 20 more than "
                                                      "maxinventory (100), which the server "
                                                      "cannot hold."});
    const auto items_in_file = [&] {
        const std::string field(piece(athena(), '\t', 15));
        return std::count(field.begin(), field.end(), ' ');
    };
    state.current.inventory.items.pop_back();
    // tavo-cli without --drop-excess: nothing is written.
    app.on_excess = OnExcess::Refuse;
    EXPECT_FALSE(save_char(app, ui, ServerGeneration::V100, state, "150000"));
    EXPECT_EQ(athena(), original);
    EXPECT_EQ(ui.messages().back(),
              "Not written: the inventory of Ayla holds 119 items, 19 more than maxinventory "
              "(100), and saving would drop them. Add --drop-excess to drop them.");
    // The window asks how many go: No keeps every item, Yes drops them.
    app.on_excess = OnExcess::Ask;
    ui.answer({false});
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V100, state, "150000"));
    EXPECT_EQ(items_in_file(), 119);
    EXPECT_EQ(ui.questions().back(),
              "The inventory of Ayla holds 119 items, 19 more than maxinventory (100), which the "
              "server cannot hold.\r\nDrop the last 19 items when saving? No keeps every item.");
    ui.answer({true});
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V100, state, "150000"));
    EXPECT_EQ(items_in_file(), 100);
    ASSERT_TRUE(load("150001"));
    EXPECT_EQ(state.current.inventory.count(), 0);  // nothing left from the character before
}

TEST_F(CharacterFile, ALineThatCannotBeReadLeavesACharacterThatCannotBeSaved) {
    Line good, too_many, bad_card, short_item;
    too_many.id = "150001", too_many.inventory = testing::item_list(256);
    bad_card.id = "150002", bad_card.inventory = "1,1201,1,2,1,0,0,40000,0,0,0 ";
    short_item.id = "150003", short_item.cart = "1,1201,1 ";
    write(good.text() + "\n" + too_many.text() + "\n" + bad_card.text() + "\n" + short_item.text() +
          "\n");
    ASSERT_TRUE(load("150000"));
    for (const char* id : {"150001", "150002", "150003", "150099"}) {
        ui.clear();
        EXPECT_FALSE(load(id)) << id;
        EXPECT_FALSE(state.loaded_cleanly);
        ASSERT_EQ(ui.messages().size(), 1u) << id;
        EXPECT_TRUE(ui.messages()[0].ends_with("\r\nin load_char_info")) << ui.messages()[0];
    }
    const std::string before = athena();
    ui.clear();
    EXPECT_FALSE(save_char(app, ui, ServerGeneration::V100, state, "150002"));
    EXPECT_EQ(athena(), before);
    EXPECT_EQ(ui.messages().size(), 1u);
}

// Only the character's line changes: blank lines, comments, %newid% lines and lines no server
// wrote stay as they are in their places, the fields after the last known one stay, the file
// keeps its line ends and a last line without a break gets none.
TEST_F(CharacterFile, SavingRewritesOnlyTheCharactersLine) {
    Line a, b, c;
    b.id = "150002", b.name = "Bram", b.after = "extra\tfields";
    c.id = "150001", c.name = "Cora";
    const std::string original =
        a.text() + "\n\n// a note\n" + b.text() + "\nnot a character\n900000\t%newid%\n" + c.text();
    write(original);
    ASSERT_TRUE(load("150002"));
    state.current.name = "Brand";
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V100, state, "150002"));
    Line saved = b;
    saved.name = "Brand";
    std::string expected = original;
    expected.replace(expected.find(b.text()), b.text().size(), saved.text());
    EXPECT_EQ(athena(), expected);
    EXPECT_EQ(f.saved("athena.bak.txt"), original);
    EXPECT_EQ(ui.progress_texts.back(), "Reading 7 lines");
    EXPECT_FALSE(ui.progress_open);

    // Without a counter of its own, an 817 file gets none; one it has stays as it is, a low
    // one too: the server raises it as it reads the characters.
    const std::string low = a.text() + "\r\n" + saved.text() + "\r\n150001\t%newid%\r\n";
    write(low);
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V817, state, "150002"));
    EXPECT_EQ(athena(), low);
    write(a.text() + "\r\n" + saved.text() + "\r\n");
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V817, state, "150002"));
    EXPECT_EQ(athena(), a.text() + "\r\n" + saved.text() + "\r\n");
    EXPECT_EQ(hi_char_id(app, ui, state), 150002);
    // A later server's file gets one at its end; a damaged line's id beyond any the server
    // holds raises it only to the top.
    write(a.text() + "\r\n" + saved.text() + "\r\n" + std::string(120, '9') + "\tx\ty\r\n");
    ASSERT_TRUE(save_char(app, ui, ServerGeneration::V100, state, "150002"));
    EXPECT_TRUE(athena().ends_with("\r\n2147483647\t%newid%\r\n")) << athena();
}

TEST_F(CharacterFile, TheHighestIdOfAFileWithoutCharactersIsZero) {
    write("150000\t%newid%\n\n");
    EXPECT_EQ(hi_char_id(app, ui, state), 0);
    Line a;
    write(a.text() + "\n");  // the index follows the file
    EXPECT_EQ(hi_char_id(app, ui, state), 150000);
}

}  // namespace
}  // namespace tavo
