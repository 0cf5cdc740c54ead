#include "characters/guild_party_pet.h"

#include <gtest/gtest.h>

#include "app/text_file.h"
#include "testsupport/server_folders.h"
#include "testsupport/server_rules.h"

namespace tavo {
namespace {

using testing::guild_line_breaks;

std::string party_line(const std::string& id, const std::vector<std::string>& members) {
    std::string line = id + "\tPoring Hunters\t0,1\t";
    for (std::size_t i = 0; i < 12; ++i) {
        line += i < members.size() ? members[i] : "0,0\tNoMember";
        line += "\t";
    }
    return line;
}

// A guild of the 16 slots Guild Extension 0 gives, with an ally; each member is
// "account,char,name".
std::string guild_line(const std::string& master, const std::vector<std::string>& members,
                       const std::string& id = "10001") {
    std::string line = testing::guild_text(id + "\tIron Wolves\t" + master, 16, members);
    return line.replace(line.find("$\t0\t0\t"), 6, "$\t1\t10002,0\tRivals\t0\t");
}

class GuildPartyPet : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(ui.unexpected.empty()); }
    void write(const std::string& name, const std::string& content) {
        f.server("save/" + name, content);
    }
    std::string read(const std::string& name) { return f.saved(name); }

    testing::ServerFolders f;
    AppContext& app = f.app;
    testing::ScriptedUi& ui = f.ui;
};

TEST_F(GuildPartyPet, LookupsAndTheirDefaults) {
    write("guild.txt", "// guilds\n\n" + guild_line("Ayla", {"2000001,150000,Ayla"}) + "\n");
    write("party.txt", party_line("7", {"2000001,1\tAyla"}) + "\n");
    write("pet.txt", "// pets\n300,1002,Poring\t2000001,150000,5,9001,0,250,50,0,0\n");
    EXPECT_EQ(guild_name_of(app, ui, 0), "No Guild");
    EXPECT_EQ(guild_name_of(app, ui, 10001), "Iron Wolves");
    EXPECT_EQ(guild_name_of(app, ui, 10002), "Guild [10002]");
    EXPECT_EQ(party_name_of(app, ui, "0"), "No Party");
    EXPECT_EQ(party_name_of(app, ui, "7"), "Poring Hunters");
    EXPECT_EQ(party_name_of(app, ui, "8"), "Party [8]");
    EXPECT_EQ(pet_name_of(app, ui, 0), "No Pet");
    EXPECT_EQ(pet_name_of(app, ui, 300), "Poring");
    EXPECT_EQ(pet_class_of(app, ui, 300), "1002");
    EXPECT_EQ(pet_name_of(app, ui, 301), "No Name [301]");
    write("pet.txt", "");
    EXPECT_EQ(pet_name_of(app, ui, 300), "No Name [300]");
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(GuildPartyPet, RenamesKeepTheLineShape) {
    const std::string guild = guild_line("Ayla", {"2000001,150000,Ayla"});
    write("guild.txt", guild + "\n");
    write("party.txt", "// parties\n" + party_line("7", {"2000001,1\tAyla"}) + "\n");
    write("pet.txt", "// pets\n300,1002,Poring\t2000001,150000,5,9001,0,250,50,0,0\n");
    ASSERT_TRUE(save_guild(app, ui, "10001", "Steel Wolves", "Iron Wolves"));
    std::string renamed = guild;
    renamed.replace(renamed.find("Iron Wolves"), 11, "Steel Wolves");
    EXPECT_EQ(read("guild.txt"), renamed + "\n");

    ASSERT_TRUE(save_party(app, ui, "7", "Drops", "Poring Hunters"));
    const std::string once = read("party.txt");
    ASSERT_TRUE(save_party(app, ui, "7", "Drops", "Drops"));
    EXPECT_EQ(read("party.txt"), once);  // renaming twice adds nothing
    std::string party = party_line("7", {"2000001,1\tAyla"});
    party.replace(party.find("Poring Hunters"), 14, "Drops");
    EXPECT_EQ(once, "// parties\n" + party + "\n");

    ASSERT_TRUE(save_pet(app, ui, 300, "Sir Poring, the Second", "Poring"));
    EXPECT_EQ(read("pet.txt"),
              "// pets\n300,1002,Sir Poring, the Second\t"
              "2000001,150000,5,9001,0,250,50,0,0\n");
    EXPECT_EQ(pet_name_of(app, ui, 300), "Sir Poring, the Second");
    // Only the name changes: a field the editor does not know stays.
    write("pet.txt", "301,1002,Lunatic\t2000001,150000,5,9001,0,250,50,0,0\tkept\n");
    ASSERT_TRUE(save_pet(app, ui, 301, "Moon", "Lunatic"));
    EXPECT_EQ(read("pet.txt"), "301,1002,Moon\t2000001,150000,5,9001,0,250,50,0,0\tkept\n");

    EXPECT_FALSE(save_pet(app, ui, 300, "Two\tfields", "Sir Poring, the Second"));
    EXPECT_FALSE(save_guild(app, ui, "10001", "Line\nbreak", "Steel Wolves"));
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(read("guild.txt"), renamed + "\n");
}

TEST_F(GuildPartyPet, LeavingAPartyHandsOverTheLeaderOrDeletesTheParty) {
    const std::string alone = party_line("5", {"2000009,1\tSolo"});
    const std::string three =
        party_line("7", {"2000001,1\tAyla", "2000002,0\tBram", "2000003,0\tCora"});
    write("party.txt", alone + "\n" + three + "\n");
    delete_party_guild_pet(app, ui, "7,0,0", 2000001, 150000);
    const std::string handed =
        party_line("7", {"0,0\tNoMember", "2000002,1\tBram", "2000003,0\tCora"});
    EXPECT_EQ(read("party.txt"), alone + "\n" + handed + "\n");

    delete_party_guild_pet(app, ui, "5,0,0", 2000009, 150009);
    EXPECT_EQ(read("party.txt"), handed + "\n");

    // A party that does not list the character stays as it is.
    delete_party_guild_pet(app, ui, "7,0,0", 2000077, 150077);
    EXPECT_EQ(read("party.txt"), handed + "\n");
    EXPECT_TRUE(ui.shown().empty());
}

// The next master holds position 2; the server keeps its master by name and gives position 0
// the master's rights, so only the new master's own entry moves: no position gains rights.
TEST_F(GuildPartyPet, HandingTheGuildOverMovesNoRights) {
    const std::string guild = guild_line(
        "Ayla", {"2000001,150000,Ayla", "0,0,-", "2000002,150001,Bram", "2000003,150002,Cora"});
    write("guild.txt", guild + "\n");
    write("castle.txt", "0,10001,1,2,3,4,5,6,7,1,0,0,0,0,0,0,0,0\n");
    delete_party_guild_pet(app, ui, "0,10001,0", 2000001, 150000);

    std::string expected = guild;
    expected.replace(expected.find("\tAyla\t") + 1, 4, "Bram");  // the master's name
    expected.replace(expected.find("2000001,150000,5,2,0,7,55,1000,0,0\tAyla"), 39,
                     "0,0,0,0,0,0,0,0,0,0\t-");
    expected.replace(expected.find("2000002,150001,5,2,0,7,55,1000,0,2\tBram"), 39,
                     "2000002,150001,5,2,0,7,55,1000,0,0\tBram");
    EXPECT_EQ(read("guild.txt"), expected + "\n");
    EXPECT_NE(expected.find("2000003,150002,5,2,0,7,55,1000,0,3\tCora"), std::string::npos);
    EXPECT_NE(expected.find("\t17,0\tGuild Master#\t0,0\tPosition 2#\t"), std::string::npos);
    EXPECT_EQ(read("castle.txt"), "0,10001,1,2,3,4,5,6,7,1,0,0,0,0,0,0,0,0\n");  // untouched
}

TEST_F(GuildPartyPet, TheLastMemberTakesTheGuildAndItsCastles) {
    const std::string other = guild_line("Zed", {"2000005,150005,Zed"});
    const std::string mine = guild_line("Ayla", {"2000001,150000,Ayla"}, "10003");
    write("guild.txt", other + "\n" + mine + "\n");
    write("castle.txt",
          "0,10003,1,2,3,4,5,6,7,1,0,0,0,0,0,0,0,0\n"
          "1,10001,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5\n"
          "2,10003,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9\n");
    delete_party_guild_pet(app, ui, "0,10003,0", 2000001, 150000);
    EXPECT_EQ(read("guild.txt"), other + "\n");
    EXPECT_EQ(read("castle.txt"),
              "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"
              "1,10001,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5\n"
              "2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n");
}

// The char server crashes on a guild without members or a guild skill without its blank.
TEST_F(GuildPartyPet, EveryGuildRewriteLeavesLinesTheServerLoads) {
    const std::string alone = guild_line("Zed", {"0,0,-", "0,0,-", "2000005,150005,Zed"}, "10003");
    write("guild.txt", guild_line("Ayla", {"2000001,150000,Ayla", "2000002,150001,Bram",
                                           "2000003,150002,Cora"}) +
                           "\n" + alone + "\n");
    const auto sound = [&] {
        for (const std::string& line : read_lines(app.server_file("save/guild.txt"))) {
            EXPECT_EQ(guild_line_breaks(line), std::vector<std::string>{}) << line;
            EXPECT_TRUE(line.ends_with(" 10019,0 \t")) << line;
        }
    };
    sound();
    ASSERT_TRUE(save_guild(app, ui, "10001", "Steel Wolves", "Iron Wolves"));
    sound();
    delete_party_guild_pet(app, ui, "0,10001,0", 2000002, 150001);  // a member
    sound();
    delete_party_guild_pet(app, ui, "0,10001,0", 2000001, 150000);  // the master
    sound();
    delete_party_guild_pet(app, ui, "0,10003,0", 2000005, 150005);  // the last, in slot 3
    sound();
    EXPECT_EQ(read_lines(app.server_file("save/guild.txt")).size(), 1u);
    delete_party_guild_pet(app, ui, "0,10001,0", 2000003, 150002);
    EXPECT_EQ(read("guild.txt"), "");  // emptied, never removed
    EXPECT_TRUE(ui.shown().empty());
}

// Guild lines from a copied server folder: a member count far beyond the line and a line cut
// short after its capacity field. Leaving still works on what the line holds.
TEST_F(GuildPartyPet, HostileGuildLinesAreWalkedWithinTheLine) {
    std::string huge = guild_line("Ayla", {"2000001,150000,Ayla", "2000002,150001,Bram"});
    huge.replace(huge.find("3,16,1200"), 9, "3,99999999999999999999999,1200");
    const std::string cut = "10002\tIron Wolves\tKaelen\t2,16,121";
    write("guild.txt", huge + "\n" + cut);
    delete_party_guild_pet(app, ui, "0,10001,0", 2000002, 150001);
    delete_party_guild_pet(app, ui, "0,10002,0", 2000003, 150002);
    const std::vector<std::string> lines = read_lines(app.server_file("save/guild.txt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].find("Bram"), std::string::npos);
    EXPECT_NE(lines[0].find("2000001,150000,5,2,0,7,55,1000,0,0\tAyla"), std::string::npos);
    EXPECT_EQ(lines[1], cut);
}

TEST_F(GuildPartyPet, ADeletedCharactersPetGoesAndCommentsStay) {
    write("pet.txt",
          "// pets of the test server\n300,1002,Poring\t2000001,150000,5,9001,0,250,50,0,0\n"
          "301,1063,Lunatic\t2000002,150001,5,9007,0,250,50,0,0\n");
    delete_party_guild_pet(app, ui, "0,0,300", 2000001, 150000);
    EXPECT_EQ(read("pet.txt"),
              "// pets of the test server\n301,1063,Lunatic\t2000002,150001,5,9007,0,250,50,0,0\n");
}

}  // namespace
}  // namespace tavo
