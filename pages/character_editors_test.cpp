#include <gtest/gtest.h>

#include <algorithm>

#include "characters/character_lists.h"
#include "pages/pages.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;
using Box = BasicBox;

struct CharacterEditors : ::testing::Test {
    CharacterEditors() {
        demo.start();
        demo.ui.clear();
        pages.maps.prepare();
        pages.basic_info.prepare();
        pages.memo.prepare();
    }
    // Lists the account and shows its character in that chooser line.
    void show(std::int32_t account, std::size_t line = 0) {
        ASSERT_TRUE(pages.character.list(account));
        if (line > 0) {
            ASSERT_TRUE(pages.character.choose(line).done);
        }
    }
    const CharacterRecord& record() const { return demo.ws.characters.current(); }

    DemoWorkspace demo;
    Pages pages{demo.ws, demo.ui};
    BasicInfoPage& basic = pages.basic_info;
    MemoSkillQuestPage& memo = pages.memo;
};

TEST_F(CharacterEditors, OkCapsEachGroupAndAGroupWithAnEmptyBoxStays) {
    show(2000001);  // Kaelen: Knight 82/48, stats 80,45,60,10,40,12
    ASSERT_TRUE(basic.open());
    EXPECT_EQ(basic.class_entries()[static_cast<std::size_t>(basic.class_chosen())].id, "7");
    EXPECT_FALSE(basic.type(Box::Zeny, "12a"));  // the digit filter
    EXPECT_FALSE(basic.type(Box::Hp, "1"));      // HP and SP only show
    EXPECT_TRUE(basic.type(Box::BaseLevel, "150"));
    EXPECT_TRUE(basic.type(Box::JobLevel, "0070"));
    EXPECT_TRUE(basic.type(Box::Zeny, "2000000000"));
    EXPECT_TRUE(basic.type(Box::Str, "250"));
    EXPECT_TRUE(basic.type(Box::Luk, ""));
    EXPECT_TRUE(basic.type(Box::StatPoints, "20000"));
    EXPECT_TRUE(basic.type(Box::SkillPoints, "5000"));
    const std::string hp_sp = record().hp_sp;
    ASSERT_TRUE(basic.ok());
    EXPECT_EQ(record().class_levels, "7,99,50");
    EXPECT_EQ(record().exp_zeny, "19840233,1500876,1000000000");
    EXPECT_EQ(record().stats, "80,45,60,10,40,12");  // one empty stat box: none changes
    EXPECT_EQ(record().points, "10000,1000");
    EXPECT_EQ(record().hp_sp, hp_sp);
    // The boxes show what was written.
    EXPECT_EQ(basic.box(Box::BaseLevel), "99");
    EXPECT_EQ(basic.box(Box::JobLevel), "50");
    EXPECT_FALSE(basic.is_open());
    EXPECT_TRUE(pages.character.save_offered());

    // An empty zeny box leaves the zeny as it was.
    ASSERT_TRUE(basic.open());
    EXPECT_TRUE(basic.type(Box::Zeny, ""));
    ASSERT_TRUE(basic.ok());
    EXPECT_EQ(record().exp_zeny, "19840233,1500876,1000000000");
}

TEST_F(CharacterEditors, ANameIsCheckedAndCancelChangesNothing) {
    show(2000001);
    const std::string line = character_line(record());
    const std::string profile = pages.character.profile();
    ASSERT_TRUE(basic.open());
    basic.type(Box::Name, "Kaelbrew");  // the account's other character
    EXPECT_FALSE(basic.ok());
    basic.type(Box::Name, std::string(24, 'a'));
    EXPECT_FALSE(basic.ok());
    basic.type(Box::Name, "Kael,en");
    EXPECT_FALSE(basic.ok());
    basic.type(Box::Name, "Kael\ten");
    EXPECT_FALSE(basic.ok());
    const std::vector<std::string> said = demo.ui.messages();
    ASSERT_EQ(said.size(), 4u);
    EXPECT_EQ(said[0], kNameInUse);
    EXPECT_EQ(said[1], "A character name takes at most 23 bytes, not 24.");
    demo.ui.clear();
    EXPECT_TRUE(basic.is_open());
    EXPECT_EQ(character_line(record()), line);

    basic.type(Box::Name, "Kaelen");  // its own name is free
    basic.type(Box::BaseLevel, "90");
    basic.cancel();
    EXPECT_EQ(character_line(record()), line);
    EXPECT_EQ(pages.character.profile(), profile);
    EXPECT_FALSE(pages.character.save_offered());

    ASSERT_TRUE(basic.open());
    basic.type(Box::Name, std::string(23, 'a'));
    ASSERT_TRUE(basic.ok());
    EXPECT_EQ(record().name, std::string(23, 'a'));
    EXPECT_EQ(pages.character.entries()[0].text,
              "ID: 150000, Slot: 0, " + std::string(23, 'a') + ", <Knight>");
}

TEST_F(CharacterEditors, TiesAreRenamedAtOnceAndPartyIdZeroIgnoresItsBox) {
    show(2000001);  // Kaelen: party 1, guild 10001
    ASSERT_TRUE(basic.open());
    EXPECT_EQ(basic.box(Box::GuildName), "Iron Wolves");
    basic.type(Box::GuildName, "Iron Hounds");
    ASSERT_TRUE(basic.ok());
    EXPECT_NE(demo.save("guild.txt").find("10001\tIron Hounds\t"), std::string::npos);

    show(2000001, 1);  // Kaelbrew: no party, guild or pet
    const std::string party = demo.save("party.txt");
    ASSERT_TRUE(basic.open());
    basic.type(Box::PartyName, "Nobody's");
    ASSERT_TRUE(basic.ok());
    EXPECT_EQ(demo.save("party.txt"), party);
}

TEST_F(CharacterEditors, TheMapsFrameFillsThePositionsAndChecksTheirMaps) {
    show(2000001);
    ASSERT_TRUE(basic.open());
    basic.toggle_maps();
    EXPECT_EQ(basic.maps_caption(), "Hide List");
    EXPECT_EQ(pages.maps.target_texts(),
              (std::vector<std::string>{"Copy to Save Position", "Copy to Last Position"}));
    pages.maps.select(2);  // geffen.gat (119,59)
    ASSERT_TRUE(pages.do_it());
    pages.maps.select(3);
    pages.maps.choose_target(1);
    ASSERT_TRUE(pages.do_it());
    EXPECT_EQ(basic.box(Box::SaveMap), "geffen.gat");
    EXPECT_EQ(basic.box(Box::LastY), "75");

    basic.type(Box::SaveMap, "geffen gat");
    EXPECT_FALSE(basic.ok());
    EXPECT_EQ(demo.ui.messages().size(), 1u);
    demo.ui.clear();
    basic.type(Box::SaveMap, "geffen.gat");
    ASSERT_TRUE(basic.ok());
    EXPECT_FALSE(pages.maps.shown());                       // "Ok" hides the list it showed
    EXPECT_EQ(record().save_point, "geffen.gat,119,59,0");  // the partner's id stays
    EXPECT_EQ(record().last_point, "payon.gat,152,75");
}

TEST_F(CharacterEditors, MemoPointsStopAtFourByAddAndThreeByDoIt) {
    show(2000001);  // three memo points
    memo.open();
    memo.press(ListButton::ListMaps);
    EXPECT_EQ(memo.caption(ListButton::ListMaps), "Hide Maps");
    EXPECT_FALSE(pages.do_it());  // a fourth is not picked
    ASSERT_TRUE(memo.press(ListButton::MemoAdd));
    EXPECT_EQ(memo.frame_caption(), "Add Memo Point");
    // Only map,x,y is stored; anything else keeps the frame open with its text.
    for (const char* wrong : {"izlude.gat,128", "izlude.gat,x,114", "izlude gat,1,2"}) {
        memo.type_text(wrong);
        EXPECT_FALSE(memo.frame_ok()) << wrong;
        EXPECT_EQ(memo.text(), wrong);
    }
    EXPECT_EQ(demo.ui.messages().size(), 3u);
    demo.ui.clear();
    memo.type_text("izlude.gat,128,114");
    ASSERT_TRUE(memo.frame_ok());
    EXPECT_EQ(record().memo.size(), 4u);
    EXPECT_FALSE(memo.offered(ListButton::MemoAdd));

    // Two deleted, "Do it" adds the third and then no more.
    for (int i = 0; i < 2; ++i) {
        memo.select(CharList::Memo, 0);
        demo.ui.answer({true});
        ASSERT_TRUE(memo.press(ListButton::MemoDelete));
    }
    pages.maps.select(4);  // morocc.gat (156,93)
    ASSERT_TRUE(pages.do_it());
    EXPECT_FALSE(pages.do_it());
    EXPECT_EQ(record().memo, (std::vector<std::string>{"payon.gat,152,75", "izlude.gat,128,114",
                                                       "morocc.gat,156,93"}));
    EXPECT_TRUE(demo.ws.characters.modified());
}

TEST_F(CharacterEditors, SkillsAreChosenFromTheTableAndADuplicateIsAPrefix) {
    show(2000001);  // skills 1,9 2,10 3,10 5,10 6,10 7,10 8,10 55,5 60,10
    demo.ws.characters.current().skills.push_back("81,5");   // Sightrasher
    demo.ws.characters.current().skills.push_back("999,1");  // not in the table
    memo.open();
    EXPECT_EQ(memo.lines(CharList::Skills).back(), "skill 999 [1/??]");
    EXPECT_EQ(memo.lines(CharList::Skills)[1], "Sword Mastery [10/10]");

    const auto add = [this](const std::string& chooser_text, int level) {
        EXPECT_TRUE(memo.press(ListButton::SkillAdd));
        EXPECT_TRUE(memo.uses_choosers());
        const auto& texts = memo.skill_entries().entries;
        const auto at = std::find(texts.begin(), texts.end(), chooser_text);
        EXPECT_NE(at, texts.end()) << chooser_text;
        memo.choose_skill(static_cast<int>(at - texts.begin()));
        memo.choose_level(level);
        return memo.frame_ok();
    };
    const std::size_t count = record().skills.size();
    // "Sightrasher" in the list keeps "Sight" out: a line that begins with the name counts.
    EXPECT_TRUE(add("[010] Sight", 1));
    EXPECT_EQ(demo.ui.messages(), std::vector<std::string>{kSkillInList});
    demo.ui.clear();
    EXPECT_TRUE(add("[000] Skill not in list", 0));
    EXPECT_EQ(record().skills.size(), count);
    EXPECT_TRUE(add("[011] Napalm Beat", 7));
    EXPECT_EQ(record().skills.back(), "011,7");

    // The other way round: "Sight" in the list does not keep "Sightrasher" out.
    demo.ws.characters.current().skills = {"10,1"};
    EXPECT_TRUE(add("[081] Sightrasher", 3));
    EXPECT_EQ(record().skills, (std::vector<std::string>{"10,1", "081,3"}));

    // Editing presets the choosers from the entry; a stored level above the maximum is kept.
    demo.ws.characters.current().skills = {"5,15"};
    memo.select(CharList::Skills, 0);
    ASSERT_TRUE(memo.press(ListButton::SkillEdit));
    EXPECT_EQ(memo.skill_entries().entries[static_cast<std::size_t>(memo.skill_chosen())],
              "[005] Bash");
    EXPECT_EQ(memo.level_entries()[static_cast<std::size_t>(memo.level_chosen())], "15");
    ASSERT_TRUE(memo.frame_ok());
    EXPECT_EQ(record().skills, std::vector<std::string>{"005,15"});
}

TEST_F(CharacterEditors, QuestVariablesReadNameCommaNumberAndAreUnique) {
    show(2000001);  // PC_DIE_COUNTER,3 QUEST_WEDDING,1
    memo.open();
    ASSERT_TRUE(memo.press(ListButton::QuestAdd));
    memo.type_text("QUEST_WEDDING,2");
    EXPECT_TRUE(memo.frame_ok());
    EXPECT_EQ(demo.ui.messages(), std::vector<std::string>{kQuestInList});
    demo.ui.clear();
    ASSERT_TRUE(memo.press(ListButton::QuestAdd));
    for (const char* wrong : {"QUEST_X", "QUEST_X,two", "QUEST X,2", ",2"}) {
        memo.type_text(wrong);
        EXPECT_FALSE(memo.frame_ok()) << wrong;
    }
    EXPECT_EQ(demo.ui.messages().size(), 4u);
    demo.ui.clear();
    memo.type_text("QUEST_X,-2");
    ASSERT_TRUE(memo.frame_ok());
    // Editing a line to itself is no duplicate.
    memo.select(CharList::Quest, 1);
    ASSERT_TRUE(memo.press(ListButton::QuestEdit));
    memo.type_text("QUEST_WEDDING,5");
    ASSERT_TRUE(memo.frame_ok());
    EXPECT_EQ(record().regs,
              (std::vector<std::string>{"PC_DIE_COUNTER,3", "QUEST_WEDDING,5", "QUEST_X,-2"}));
    // Cancel empties the text and stores nothing.
    ASSERT_TRUE(memo.press(ListButton::QuestAdd));
    memo.type_text("QUEST_Y,1");
    memo.frame_cancel();
    EXPECT_FALSE(memo.frame_open());
    EXPECT_EQ(record().regs.size(), 3u);
}

TEST_F(CharacterEditors, AGmAccountIsWarnedAndNoChangesNoFile) {
    // Account 2000013 has a GM level in the GM file, Rhea's account an id beginning with "70".
    demo.dir.write("server/conf/GM_account.txt",
                   demo.dir.read("server/conf/GM_account.txt") + "2000013 10\r\n");
    for (const std::int32_t account : {704554, 2000013}) {
        show(account);
        const std::string athena = demo.save("athena.txt");
        demo.ui.answer({false});
        EXPECT_FALSE(pages.character.delete_characters(false));
        ASSERT_EQ(demo.ui.shown().size(), 2u);
        EXPECT_EQ(demo.ui.shown()[0].text, kGmCharacterWarning);
        EXPECT_EQ(demo.ui.shown()[0].icon, Icon::Critical);
        EXPECT_EQ(demo.ui.shown()[1].text, "Are you sure?");
        demo.ui.clear();
        EXPECT_EQ(demo.save("athena.txt"), athena);
    }
    // Any other account is only asked.
    show(2000003);
    demo.ui.answer({false});
    EXPECT_FALSE(pages.character.delete_characters(true));
    EXPECT_EQ(demo.ui.shown().size(), 1u);
    demo.ui.clear();
}

TEST_F(CharacterEditors, DeletingReleasesTiesAndFriendsAndKeepsTheNewId) {
    std::string friends_of_mirabel = "150002";
    std::string friends_of_ivy = "150009";
    for (int i = 0; i < 20; ++i) {
        friends_of_mirabel += i == 0 ? ",150008,Roanoke" : i == 1 ? ",150003,Mira Bow" : ",0,";
        friends_of_ivy += ",0,";
    }
    demo.dir.write("server/save/friends.txt",
                   friends_of_mirabel + "\n150008" + friends_of_ivy.substr(6) + "\n");

    show(2000013);  // Roanoke, alone in party 2
    demo.ui.answer({true});
    ASSERT_TRUE(pages.character.delete_characters(false));
    EXPECT_EQ(demo.save("party.txt").find("Lone Wolf"), std::string::npos);
    // Mira Bow moves up one place and the freed slot goes to the end.
    std::string expected = "150002,150003,Mira Bow";
    for (int i = 1; i < 20; ++i) expected += ",0,";
    EXPECT_EQ(demo.save("friends.txt"), expected + "\n");
    EXPECT_EQ(pages.character.count(), 0u);
    EXPECT_FALSE(pages.character.shown());

    show(2000001);  // Kaelen (party 1, guild 10001, pet 3) and Kaelbrew
    demo.ui.answer({true});
    ASSERT_TRUE(pages.character.delete_characters(true));
    const std::string athena = demo.save("athena.txt");
    EXPECT_EQ(athena.find("\t2000001,"), std::string::npos);
    EXPECT_NE(athena.find("170001\t%newid%"), std::string::npos);
    EXPECT_EQ(demo.save("party.txt").find("Kaelen"), std::string::npos);
    EXPECT_EQ(demo.save("guild.txt").find("2000001,150000"), std::string::npos);

    // The highest character gone: the counter stays above it.
    show(2000005, 1);  // Hammerhand, 170000
    demo.ui.answer({true});
    ASSERT_TRUE(pages.character.delete_characters(false));
    EXPECT_NE(demo.save("athena.txt").find("170001\t%newid%"), std::string::npos);
    EXPECT_EQ(pages.character.count(), 1u);
    EXPECT_EQ(record().name, "Ashgrove");

    show(2000011);  // Ivy, the last of her guild, which holds castle 3
    demo.ui.answer({true});
    ASSERT_TRUE(pages.character.delete_characters(false));
    EXPECT_EQ(demo.save("guild.txt").find("Green Thumbs"), std::string::npos);
    EXPECT_NE(demo.save("castle.txt").find("\n3,0,"), std::string::npos);

    show(2000002);  // Mirabel with her pet out
    demo.ui.answer({true});
    ASSERT_TRUE(pages.character.delete_characters(false));
    EXPECT_EQ(demo.save("pet.txt").find("Pudding"), std::string::npos);
    EXPECT_EQ(demo.save("party.txt").find("Mirabel"), std::string::npos);
    EXPECT_TRUE(demo.ui.messages().empty());
}

}  // namespace
}  // namespace tavo
