#include "characters/profile.h"

#include <gtest/gtest.h>

#include "app/text.h"
#include "characters/character_record.h"
#include "refdata/refdata.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

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
    testing::ServerFolders f;
    f.server("save/party.txt", "7\tPoring Hunters\t0,1\t2000001,1\tAyla\t\n");
    f.server("save/pet.txt", "300,1002,Sir Poring\t2000001,150000,5,9001,0,250,50,0,0\n");
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
    EXPECT_EQ(show_char_profile(f.app, f.ui, ref, r, ","),
              "Character ID: 150000\tChar Slot #: 2\r\nName: Ayla\r\nClass: Merchant\r\n"
              "Base Lvl: 50\r\nJob Lvl: 30\r\nHP: 500/510\r\nSP: 100/110\r\n"
              "Party: Poring Hunters\r\nGuild: Guild [10001]\r\nPet: Sir Poring\r\n"
              "Zeny: 1,234,567\r\nSTR: 30\r\nAGI: 10\r\nVIT: 20\r\nINT: 5\r\nDEX: 10\r\n"
              "LUK:7\r\nStatus Points: 3\r\nSkill Points: 4\r\n"
              "Save Position: prontera.gat (150, 150)\r\nLast Position: geffen.gat (119, 59)\r\n"
              "\r\n");
    r.class_levels = "4001,1,1";
    r.exp_zeny = "0,0,0";
    r.party_guild_pet = "0,0,0";
    const std::string second = show_char_profile(f.app, f.ui, ref, r, ",");
    EXPECT_TRUE(contains(second, "Class: unknown:4001\r\n"));
    EXPECT_TRUE(contains(second, "Zeny: \r\n"));
    EXPECT_TRUE(contains(second, "Party: No Party\r\nGuild: No Guild\r\nPet: No Pet\r\n"));
    EXPECT_TRUE(f.ui.shown().empty());
}

}  // namespace
}  // namespace tavo
