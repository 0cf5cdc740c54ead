#include "characters/profile.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/text.h"
#include "characters/character_record.h"
#include "refdata/refdata.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

TEST(ZenyText, GroupsThousandsAndHidesZero) {
    EXPECT_EQ(zeny_text("0", ","), "");
    EXPECT_EQ(zeny_text("999", ","), "999");
    EXPECT_EQ(zeny_text("1234567", ","), "1,234,567");
    EXPECT_EQ(zeny_text("1000000000", "."), "1.000.000.000");
    EXPECT_EQ(zeny_text("-45000", ","), "-45,000");
    EXPECT_EQ(zeny_text("lots", ","), "lots");
    // Beyond the server's 32 bits: shown as written and called too big, never wrapped.
    EXPECT_EQ(zeny_text("99999999999999999999", ","),
              "99999999999999999999 (too big for a zeny amount)");
    EXPECT_EQ(zeny_text("2147483647", ","), "2,147,483,647");
}

TEST(Profile, TwentyTwoLinesOfTheCharacter) {
    TempDir dir;
    ScriptedUi ui;
    AppContext app;
    app.settings.data_folder = dir.make_server("server").string() + "/";
    dir.write("server/save/party.txt", "7\tPoring Hunters\t0,1\t2000001,1\tAyla\t\n");
    dir.write("server/save/pet.txt", "300,1002,Sir Poring\t2000001,150000,5,9001,0,250,50,0,0\n");
    RefData ref;
    ref.jobs.entries[0] = {0, "Novice", 2000};
    ref.jobs.entries[1] = {5, "Merchant", 2000};
    CharacterRecord r;
    r.char_id = 150000;
    r.char_num = 2;
    r.name = "Ayla";
    r.class_levels = "5,50,30";
    r.exp_zeny = "1200,300,1234567";
    r.hp_sp = "500,510,100,110";
    r.stats = "30,10,20,5,10,7";
    r.points = "3,4";
    r.party_guild_pet = "7,10001,300";
    r.last_point = "geffen.gat,119,59";
    r.save_point = "prontera.gat,150,150,0";
    const std::string text = show_char_profile(app, ui, ref, r, ",");
    std::vector<std::string_view> lines = split(text, '\n');
    ASSERT_EQ(lines.back(), "");
    lines.pop_back();
    for (auto& line : lines) {
        ASSERT_TRUE(line.ends_with('\r'));
        line.remove_suffix(1);
    }
    EXPECT_EQ(lines, (std::vector<std::string_view>{"Character ID: 150000\tChar Slot #: 2",
                                                    "Name: Ayla",
                                                    "Class: Merchant",
                                                    "Base Lvl: 50",
                                                    "Job Lvl: 30",
                                                    "HP: 500/510",
                                                    "SP: 100/110",
                                                    "Party: Poring Hunters",
                                                    "Guild: Guild [10001]",
                                                    "Pet: Sir Poring",
                                                    "Zeny: 1,234,567",
                                                    "STR: 30",
                                                    "AGI: 10",
                                                    "VIT: 20",
                                                    "INT: 5",
                                                    "DEX: 10",
                                                    "LUK:7",
                                                    "Status Points: 3",
                                                    "Skill Points: 4",
                                                    "Save Position: prontera.gat (150, 150)",
                                                    "Last Position: geffen.gat (119, 59)",
                                                    ""}));
    r.class_levels = "4001,1,1";
    r.exp_zeny = "0,0,0";
    r.party_guild_pet = "0,0,0";
    const std::string second = show_char_profile(app, ui, ref, r, ",");
    EXPECT_NE(second.find("Class: unknown:4001\r\n"), std::string::npos);
    EXPECT_NE(second.find("Zeny: \r\n"), std::string::npos);
    EXPECT_NE(second.find("Party: No Party\r\nGuild: No Guild\r\nPet: No Pet\r\n"),
              std::string::npos);
    EXPECT_TRUE(ui.shown().empty());
}

}  // namespace
}  // namespace tavo
