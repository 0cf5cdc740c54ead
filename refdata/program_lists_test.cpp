#include <gtest/gtest.h>

#include "refdata/job_classes.h"
#include "refdata/maps.h"
#include "refdata/program_ini.h"
#include "refdata/skills.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;

class ProgramLists : public ::testing::Test {
protected:
    ProgramLists() { f.server("db/job_db1.txt", "20000\n28000\n"); }
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }

    // The three loaders over one read of tavo.ini, as at start-up.
    void load_all(const std::string& ini_text) {
        f.program("tavo.ini", ini_text);
        const ProgramIni ini = read_program_ini(f.app);
        load_maps(f.app, f.ui, ini, maps);
        load_skills(f.app, f.ui, ini, skills);
        load_jobclass(f.app, f.ui, ini, jobs);
    }

    ServerFolders f;
    MapList maps;
    SkillTable skills;
    JobClassTable jobs;
};

TEST_F(ProgramLists, SectionsCommentsAndLineRules) {
    load_all(
        "[option]\r\nmaxblvl\t99\r\n5,10,0,Not a skill\r\n[Skills and MAPS]\r\n"
        "// a comment in both sections\r\n\r\nprontera.gat,150,180\r\ngeffen.gat,119,x\r\n"
        "5,10,0,Bash,extra\r\n6,10,Provoke\r\n/7,10,0,Magnum Break\r\n[jobclass]\r\n"
        "0\tNovice\r\n1 Swordman\r\n2\tMage\textra\r\n//3\tArcher\r\n4\t  Acolyte  \r\n"
        "x\tWord\r\n4001.4\tNovice High\r\n[other]\r\n5\tMerchant\r\n");
    // Maps: three fields, numeric coordinates; the skill line of the shared section has four.
    EXPECT_EQ(maps, MapList{"prontera.gat (150,180)"});

    ASSERT_EQ(skills.count, 1);
    EXPECT_EQ(skills.entries[0].id, 5);
    EXPECT_EQ(skills.entries[0].max_level, 10);
    EXPECT_EQ(skill_display_text(skills.entries[0]), "[005] Bash");

    ASSERT_EQ(jobs.count, 3);
    EXPECT_EQ(jobs.entries[1].name, "Acolyte");  // blanks removed in the table...
    EXPECT_EQ(jobs.list_entries,                 // ...kept in the list
              (std::vector<std::string>{"[0] Novice", "[4]   Acolyte  ", "[4001] Novice High"}));
    EXPECT_EQ(jobs.entries[2].id, 4001);
    EXPECT_EQ(jobs.entries[3].name, "Unknown #3");
    EXPECT_EQ(class_chooser_entries(jobs).front(), "[9999] All Job Class");
    EXPECT_EQ(class_chooser_entries(jobs).size(), 4u);
    EXPECT_EQ(jobs.entries[1].base_weight, 2800);
    EXPECT_TRUE(f.ui.shown().empty());
}

TEST_F(ProgramLists, MissingOrEmptyTavoIniIsReportedByEachLoader) {
    const ProgramIni missing = read_program_ini(f.app);
    load_maps(f.app, f.ui, missing, maps);
    load_skills(f.app, f.ui, missing, skills);
    load_jobclass(f.app, f.ui, missing, jobs);
    const std::string path = (f.app.program_folder / "tavo.ini").string();
    EXPECT_EQ(f.ui.messages(),
              (std::vector<std::string>{
                  "File " + path + " not found...\r\nMaps will not shown...",
                  "File " + path + " not found...\r\nSkills will not shown...",
                  "File " + path + " not found...\r\nJob Class Name will not shown..."}));
    EXPECT_FALSE(jobs.listed);
    EXPECT_TRUE(class_chooser_entries(jobs).empty());
    EXPECT_EQ(jobs.entries[0].name, "Unknown #0");  // the defaults are set before the check

    f.ui.clear();
    load_all("");
    EXPECT_EQ(f.ui.messages(),
              std::vector<std::string>(3, "File is empty...\r\nReinstall tavo.ini"));
}

TEST_F(ProgramLists, DefaultBaseWeightsAndTheJobDatabase) {
    std::string ini = "[jobclass]\n";
    for (int id = 0; id < 70; ++id)
        ini += std::to_string(id) + "\tJob " + std::to_string(id) + "\n";
    fs::remove(f.app.server_file("db/job_db1.txt"));
    f.server("db/english/job_db1.txt", "// weight\n20000,0,500\n\n,1\n/x\nword\n25\n35,1\n");
    load_all(ini);
    EXPECT_TRUE(f.ui.shown().empty());
    EXPECT_EQ(jobs.entries[0].base_weight, 2000);  // 20000 tenths
    EXPECT_EQ(jobs.entries[1].base_weight, 2);     // 25: half to even
    EXPECT_EQ(jobs.entries[2].base_weight, 4);     // 35
    EXPECT_EQ(jobs.entries[45].base_weight, 2000);
    EXPECT_EQ(jobs.entries[46].base_weight, 150);
    EXPECT_EQ(jobs.entries[68].base_weight, 150);
    EXPECT_EQ(jobs.entries[69].base_weight, 0);
    EXPECT_EQ(get_base_weight(jobs, 46), 150);
    EXPECT_EQ(get_base_weight(jobs, 4001), 0);  // no entry holds it

    // db/ is taken before db/english/; a 102nd usable line is one beyond the table.
    std::string many;
    for (int i = 0; i < 102; ++i) many += "1000\n";
    f.server("db/job_db1.txt", many);
    load_all(ini);
    EXPECT_EQ(jobs.entries[0].base_weight, 100);
    EXPECT_EQ(jobs.entries[100].base_weight, 100);
    EXPECT_EQ(f.ui.messages(),
              std::vector<std::string>{"Error 9, Subscript out of range\r\nin load_baseweight"});

    f.ui.clear();
    f.server("db/job_db1.txt", "");
    load_all(ini);
    EXPECT_EQ(f.ui.messages(),
              std::vector<std::string>{"File is empty...\r\nMax Weight will be set to default..."});
}

TEST_F(ProgramLists, HundredJobClassesAndSixHundredSkills) {
    std::string ini = "[class]\n";
    for (int id = 0; id <= 100; ++id) ini += std::to_string(id) + "\tJob\n";
    ini += "[skills]\n";
    for (int id = 1; id <= 601; ++id) ini += std::to_string(id) + ",5,0,Skill\n";
    f.server("db/job_db1.txt", "30000\n");
    load_all(ini);
    EXPECT_EQ(jobs.count, 100);
    EXPECT_EQ(jobs.list_entries.size(), 100u);
    EXPECT_EQ(jobs.entries[0].base_weight, 3000);  // the job database is still read
    EXPECT_EQ(skills.count, 600);
    EXPECT_EQ(skills.entries[599].id, 600);
    EXPECT_EQ(f.ui.messages(),
              (std::vector<std::string>{"This version of Tavo can only support up to 600 skills.",
                                        "This version of Tavo can only support up to 100 job "
                                        "class."}));
}

// A skill or job class row that cannot be read costs that row only; the rows are named once.
TEST_F(ProgramLists, BadRowsAreSkippedAndReportedOnce) {
    load_all(
        "[skills]\n1,9,0,Basic Skill\nBash,10,0,Bash\n2,x,0,Sword Mastery\n3,256,0,Too High\n"
        "32768,1,0,Too far\n4,10,0,Two-Handed\n[jobclass]\n0\tNovice\n99999999999\tToo Big\n"
        "1\tSwordman\n");
    ASSERT_EQ(skills.count, 2);
    EXPECT_EQ(skills.entries[1].name, "Two-Handed");
    EXPECT_EQ(jobs.count, 2);
    EXPECT_EQ(jobs.entries[1].name, "Swordman");
    EXPECT_EQ(f.ui.messages(),
              (std::vector<std::string>{
                  "4 row(s) of tavo.ini [skills] could not be read and were skipped; the other "
                  "rows are loaded.\r\nline 3: Bash,10,0,Bash\r\nline 4: 2,x,0,Sword Mastery\r\n"
                  "line 5: 3,256,0,Too High\r\nline 6: 32768,1,0,Too far",
                  "1 row(s) of tavo.ini [jobclass] could not be read and were skipped; the other "
                  "rows are loaded.\r\nline 10: 99999999999\tToo Big"}));
}

}  // namespace
}  // namespace tavo
