// Every file Tavo rewrites record by record, changed by a second writer between Tavo's read and
// its save: another record's change is kept without a word, a change of the same record is
// asked about (or decided by --mine / --theirs on the command line).

#include <gtest/gtest.h>

#include <functional>

#include "accounts/gm_levels.h"
#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/text.h"
#include "characters/character_file.h"
#include "characters/guild_party_pet.h"
#include "refdata/refdata.h"
#include "storage/storage_file.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

std::string character(const std::string& id, const std::string& account, const std::string& name,
                      const std::string& zeny) {
    return id + "\t" + account + ",0\t" + name + "\t5,50,30\t1200,300," + zeny +
           "\t500,500,100,100\t30,10,20,5,10,5\t0,0\t0,0,0\t0,0,0\t1,2,3\t1201,0,0,0,0\t"
           "prontera.gat,150,150\tprontera.gat,150,150,0\t\t\t\t1,9 \t\t\n";
}

std::string store(const std::string& account, const std::string& amount) {
    return account + ",1\t1,501," + amount + ",0,1,0,0,0,0,0,0 \t\n";
}

class GuardedFiles;

// One file: its text with the own record's value and the other record's value, how Tavo reads
// the own record, and how it changes it to a value and saves.
struct GuardedFile {
    std::string name;
    std::string path;
    std::function<std::string(const std::string& own, const std::string& other)> content;
    std::string label;
    std::function<void(GuardedFiles&)> read;
    std::function<bool(GuardedFiles&, const std::string& value)> save;
};

class GuardedFiles : public ::testing::TestWithParam<GuardedFile> {
public:
    testing::ServerFolders f;
    RefData ref;
    CharacterState characters;
    StorageRecord storage;
    std::uint8_t gm_level = 0;
    std::string name;

protected:
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }
    void write(const std::string& own, const std::string& other) {
        f.server(GetParam().path, GetParam().content(own, other));
    }
    std::string on_disk() const { return f.dir.read("server/" + GetParam().path); }
    std::string expected(const std::string& own, const std::string& other) const {
        return GetParam().content(own, other);
    }
    bool save(const std::string& value) { return GetParam().save(*this, value); }
    // Tavo read the file with the own record at 10 and the other at 40.
    void read() {
        write("10", "40");
        GetParam().read(*this);
        ASSERT_TRUE(f.ui.shown().empty());
    }
};

TEST_P(GuardedFiles, AnotherRecordChangedOnDiskKeepsBothChanges) {
    read();
    write("10", "50");
    ASSERT_TRUE(save("20"));
    EXPECT_EQ(on_disk(), expected("20", "50"));
    EXPECT_TRUE(f.ui.shown().empty());
}

TEST_P(GuardedFiles, TheSameRecordChangedOnBothSidesIsAskedAboutEitherWay) {
    for (const bool keep_disk : {true, false}) {
        f.ui.clear();
        read();
        write("30", "40");
        f.ui.answer({keep_disk});
        ASSERT_TRUE(save("20"));
        EXPECT_EQ(f.ui.questions(), std::vector<std::string>{conflict_question(GetParam().label)});
        EXPECT_EQ(on_disk(), expected(keep_disk ? "30" : "20", "40")) << keep_disk;
    }
}

TEST_P(GuardedFiles, TheCommandLineRefusesABothSidedChangeUnlessItChooses) {
    read();
    write("30", "40");
    f.app.on_conflict = OnConflict::Refuse;
    EXPECT_FALSE(save("20"));
    EXPECT_EQ(on_disk(), expected("30", "40"));
    ASSERT_FALSE(f.ui.messages().empty());
    EXPECT_TRUE(contains(f.ui.messages().back(), "Add --mine to write this version"));
    f.app.on_conflict = OnConflict::Mine;
    ASSERT_TRUE(save("20"));
    EXPECT_EQ(on_disk(), expected("20", "40"));
}

// Another writer replaces the file after Tavo merged and right before its rename: the file is
// merged again, so that writer's change stays; a change of the same record is asked about.
TEST_P(GuardedFiles, AReplacementRightBeforeTheRenameIsMergedToo) {
    for (const bool same_record : {false, true}) {
        f.ui.clear();
        read();
        auto once = std::make_shared<bool>(true);
        const std::string theirs = same_record ? expected("30", "40") : expected("10", "50");
        f.app.files.calls().before_rename = [this, once, theirs](const fs::path& target) {
            if (!std::exchange(*once, false)) return;
            const fs::path replacement = target.string() + ".theirs";
            f.dir.write(fs::relative(replacement, f.dir.path()).string(), theirs);
            fs::rename(replacement, target);
        };
        if (same_record) f.ui.answer({true});
        ASSERT_TRUE(save("20"));
        EXPECT_EQ(on_disk(), same_record ? theirs : expected("20", "50"));
        EXPECT_EQ(f.ui.questions().size(), same_record ? 1u : 0u);
    }
}

// A record only the other writer changed keeps its text when Tavo saves it unchanged.
TEST_P(GuardedFiles, AnUnchangedRecordTakesTheTextOnDisk) {
    read();
    write("30", "40");
    save("10");
    EXPECT_EQ(on_disk(), expected("30", "40"));
    EXPECT_TRUE(f.ui.shown().empty());
}

const GuardedFile kFiles[] = {
    {"Characters", "save/athena.txt",
     [](auto own, auto other) {
         return character("150000", "2000001", "Ayla", own) +
                character("150001", "2000002", "Bram", other);
     },
     "Character 150000 (Ayla)",
     [](GuardedFiles& g) {
         ASSERT_TRUE(load_char_info(g.f.app, g.f.ui, g.ref, g.characters, "150000"));
     },
     [](GuardedFiles& g, auto zeny) {
         g.characters.current.exp_zeny = "1200,300," + zeny;
         return save_char(g.f.app, g.f.ui, ServerGeneration::V817, g.characters, "150000");
     }},
    {"Storage", "save/storage.txt",
     [](auto own, auto other) { return store("2000001", own) + store("2000002", other); },
     "The store of account 2000001",
     [](GuardedFiles& g) { ASSERT_TRUE(load_storage(g.f.app, g.f.ui, 2000001, g.storage)); },
     [](GuardedFiles& g, auto amount) {
         g.storage.items.at(0).amount = static_cast<std::int16_t>(std::stoi(amount));
         return save_storage(g.f.app, g.f.ui, 2000001, g.storage, 100);
     }},
    {"GmLevels", "conf/GM_account.txt",
     [](auto own, auto other) {
         return "// GM accounts\n704554 " + own + "\n704555-704560 " + other + "\n";
     },
     "The GM level of account 704554 (gm1)",
     [](GuardedFiles& g) { g.gm_level = read_gm_lvl(g.f.app, g.f.ui, 704554); },
     [](GuardedFiles& g, auto level) {
         const GmLevelAsRead as_read{g.gm_level, "Account 704554 (gm1)"};
         const auto wanted = static_cast<std::uint8_t>(std::stoi(level));
         return check_gm_id(g.f.app, g.f.ui, 704554, wanted, as_read).has_value();
     }},
    {"Parties", "save/party.txt",
     [](auto own, auto other) {
         return "// parties\n5\tCrew" + own + "\t0,1\t2000001,1\tAyla\t\n7\tBand" + other +
                "\t0,1\t2000002,1\tBram\t\n";
     },
     "Party 5 (Crew10)", [](GuardedFiles& g) { g.name = party_name_of(g.f.app, g.f.ui, "5"); },
     [](GuardedFiles& g, auto value) {
         return save_party(g.f.app, g.f.ui, "5", "Crew" + value, g.name).has_value();
     }},
    {"Guilds", "save/guild.txt",
     [](auto own, auto other) {
         return "10001\tWolves" + own + "\tAyla\t3,16,1200,0,0\tWelcome#\n10002\tBears" + other +
                "\tBram\t3,16,1200,0,0\tHi#\n";
     },
     "Guild 10001 (Wolves10)",
     [](GuardedFiles& g) { g.name = guild_name_of(g.f.app, g.f.ui, 10001); },
     [](GuardedFiles& g, auto value) {
         return save_guild(g.f.app, g.f.ui, "10001", "Wolves" + value, g.name).has_value();
     }},
    {"Pets", "save/pet.txt",
     [](auto own, auto other) {
         return "300,1002,Poring " + own + "\t2000001,150000,5,9001,0,250,50,0,0\n301,1063,Luna " +
                other + "\t2000002,150001,5,9007,0,250,50,0,0\n";
     },
     "Pet 300 (Poring 10)", [](GuardedFiles& g) { g.name = pet_name_of(g.f.app, g.f.ui, 300); },
     [](GuardedFiles& g, auto value) {
         return save_pet(g.f.app, g.f.ui, 300, "Poring " + value, g.name).has_value();
     }},
};

INSTANTIATE_TEST_SUITE_P(EveryRewrittenFile, GuardedFiles, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return info.param.name; });

// A record another writer deleted stays deleted when Tavo did not change it; one Tavo changed
// is asked about, and "No" writes it back.
TEST(ChangedOnDisk, ARecordDeletedOnDiskStaysDeletedUnlessTavosChangeWins) {
    testing::ServerFolders f;
    const std::string other = store("2000002", "40");
    for (const bool changed : {false, true}) {
        StorageRecord record;
        f.server("save/storage.txt", store("2000001", "10") + other);
        ASSERT_TRUE(load_storage(f.app, f.ui, 2000001, record));
        f.server("save/storage.txt", other);
        if (changed) {
            record.items.at(0).amount = 20;
            f.ui.answer({false});
        }
        ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
        EXPECT_EQ(f.saved("storage.txt"), changed ? other + store("2000001", "20") : other);
        EXPECT_EQ(f.ui.questions().size(), changed ? 1u : 0u);
        // Unchanged, the store is as the file has it now.
        EXPECT_EQ(record.items.empty(), !changed);
    }
    EXPECT_TRUE(f.ui.unexpected.empty());
}

TEST(ChangedOnDisk, ACharacterDeletedOnDiskComesBackOnlyWhenTavosChangeWins) {
    testing::ServerFolders f;
    RefData ref;
    CharacterState state;
    const std::string bram = character("150001", "2000002", "Bram", "40");
    f.server("save/athena.txt", character("150000", "2000001", "Ayla", "10") + bram);
    ASSERT_TRUE(load_char_info(f.app, f.ui, ref, state, "150000"));
    f.server("save/athena.txt", bram);
    EXPECT_FALSE(save_char(f.app, f.ui, ServerGeneration::V817, state, "150000"));
    EXPECT_TRUE(contains(f.ui.messages().at(0), "Character 150000 is no longer in athena.txt"));
    EXPECT_EQ(f.dir.read("server/save/athena.txt"), bram);

    state.current.exp_zeny = "1200,300,20";
    f.ui.answer({false});
    ASSERT_TRUE(save_char(f.app, f.ui, ServerGeneration::V817, state, "150000"));
    EXPECT_EQ(f.ui.questions(),
              std::vector<std::string>{conflict_question("Character 150000 (Ayla)")});
    EXPECT_EQ(f.dir.read("server/save/athena.txt"),
              bram + character("150000", "2000001", "Ayla", "20"));
    EXPECT_TRUE(f.ui.unexpected.empty());
}

std::string party(const std::string& id, const std::string& name, const std::string& members) {
    return id + "\t" + name + "\t0,1\t" + members + "\t\n";
}

// A deletion releases the leaving character from its party and pet; the files it rewrites may
// have changed since the release read them.
class Release : public ::testing::Test {
protected:
    Release() {
        f.server("save/party.txt", party("5", "Crew", "2000001,1\tAyla\t2000002,0\tBram") +
                                       party("7", "Band", "2000003,1\tCora"));
        f.server("save/pet.txt", "300,1002,Poring\t2000001,150000\n301,1063,Luna\t2000003,1\n");
        ties = read_character_ties(f.app);
        release_character(ties, "5,0,300", 2000001, 150000);
    }
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }
    void commit() {
        FileBatch batch(f.app.files);
        stage_character_ties(f.app, f.ui, ties, batch);
        batch.commit();
    }
    std::string read(const std::string& name) { return f.dir.read("server/save/" + name); }

    testing::ServerFolders f;
    CharacterTies ties;
    const std::string released = party("5", "Crew", "0,0\tNoMember\t2000002,1\tBram");
};

TEST_F(Release, OtherRecordsChangedOnDiskAreKept) {
    f.server("save/party.txt", party("5", "Crew", "2000001,1\tAyla\t2000002,0\tBram") +
                                   party("7", "Band", "2000003,1\tCora\t2000004,0\tDag"));
    f.server("save/pet.txt",
             "300,1002,Poring\t2000001,150000\n301,1063,Moon\t2000003,1\n302,1002,New\t2,3\n");
    commit();
    EXPECT_EQ(read("party.txt"), released + party("7", "Band", "2000003,1\tCora\t2000004,0\tDag"));
    EXPECT_EQ(read("pet.txt"), "301,1063,Moon\t2000003,1\n302,1002,New\t2,3\n");
    EXPECT_TRUE(f.ui.shown().empty());
}

// Whichever version is kept, the leaving character is gone from it: the other writer's party
// gets the same release.
TEST_F(Release, TheSamePartyChangedOnDiskIsAskedAboutAndReleasedEitherWay) {
    const std::string renamed = party("5", "Fellows", "2000001,1\tAyla\t2000002,0\tBram");
    const std::string renamed_released = party("5", "Fellows", "0,0\tNoMember\t2000002,1\tBram");
    const std::string band = party("7", "Band", "2000003,1\tCora");
    for (const bool keep_disk : {true, false}) {
        f.ui.clear();
        f.server("save/party.txt", party("5", "Crew", "2000001,1\tAyla\t2000002,0\tBram") + band);
        ties = read_character_ties(f.app);
        release_character(ties, "5,0,0", 2000001, 150000);
        f.server("save/party.txt", renamed + band);
        f.ui.answer({keep_disk});
        commit();
        EXPECT_EQ(f.ui.questions(),
                  std::vector<std::string>{conflict_question("Party 5 (Fellows)")});
        EXPECT_EQ(read("party.txt"), (keep_disk ? renamed_released : released) + band);
    }
}

// The other writer left the character alone in its party and gave its pet a name: on disk the
// release takes the whole party, and the pet goes although its record changed.
TEST_F(Release, TheReleaseIsMadeOnTheOtherWritersVersion) {
    f.server("save/party.txt",
             party("5", "Crew", "2000001,1\tAyla") + party("7", "Band", "2000003,1\tCora"));
    f.server("save/pet.txt", "300,1002,Sir Poring\t2000001,150000\n301,1063,Luna\t2000003,1\n");
    f.app.on_conflict = OnConflict::Theirs;
    commit();
    EXPECT_EQ(read("party.txt"), party("7", "Band", "2000003,1\tCora"));
    EXPECT_EQ(read("pet.txt"), "301,1063,Luna\t2000003,1\n");
}

// Deleting an account writes all its files or none: a refused conflict in one of them comes
// before any file is put in place.
TEST_F(Release, ARefusedConflictWritesNoFileOfTheBatch) {
    const std::string renamed = party("5", "Fellows", "2000001,1\tAyla\t2000002,0\tBram");
    f.server("save/party.txt", renamed);
    f.server("save/storage.txt", store("2000001", "10"));
    f.app.on_conflict = OnConflict::Refuse;
    FileBatch batch(f.app.files);
    batch.add(f.app.server_file("save/storage.txt"), "save/storage.txt",
              [](AtomicWriter&) { return true; });
    EXPECT_THROW(stage_character_ties(f.app, f.ui, ties, batch), Failure);
    EXPECT_EQ(batch.current(), "save/party.txt");  // the file the user is told about
    EXPECT_EQ(read("storage.txt"), store("2000001", "10"));
    EXPECT_EQ(read("party.txt"), renamed);
    EXPECT_EQ(read("pet.txt"), "300,1002,Poring\t2000001,150000\n301,1063,Luna\t2000003,1\n");
}

}  // namespace
}  // namespace tavo
