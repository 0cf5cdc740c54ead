#include <gtest/gtest.h>

#include "refdata/job_classes.h"
#include "refdata/program_ini.h"
#include "refdata/skills.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;
using Texts = std::vector<std::string>;

class SkillChoosers : public ::testing::Test {
protected:
    SkillChoosers() {
        f.program("tavo.ini",
                  "[skills]\n1,9,0,Basic Skill\n5,10,1,Bash\n6,0,1,Provoke\n36,10,0,Enlarge Weight "
                  "Limit\n5,3,1,Bash Again\n");
        load_skills(f.app, f.ui, skills);
    }
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }

    ClassSkills pick(const std::string& class_number) {
        return load_skills_by_class(f.app, f.ui, skills, class_number);
    }

    ServerFolders f;
    SkillTable skills;
};

TEST_F(SkillChoosers, AllSkillsAndLevels) {
    const SkillChoices all = all_skill_entries(skills);
    EXPECT_EQ(all.entries,
              (Texts{"[000] Skill not in list", "[001] Basic Skill", "[005] Bash", "[006] Provoke",
                     "[036] Enlarge Weight Limit", "[005] Bash Again"}));
    EXPECT_EQ(all.table_index, (std::vector<int>{-1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(level_entries(skills, 1),
              (Texts{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    // The same id listed again names its own levels.
    EXPECT_EQ(level_entries(skills, 4), (Texts{"0", "1", "2", "3"}));
    EXPECT_EQ(level_entries(skills, 2), Texts{"0"});  // max level 0
    EXPECT_TRUE(level_entries(skills, -1).empty());
    EXPECT_TRUE(level_entries(skills, 5).empty());
}

TEST_F(SkillChoosers, ClassNumberOfAChooserEntry) {
    EXPECT_EQ(class_number_of("[4001] Novice High"), "4001");
    EXPECT_EQ(class_number_of("[0] Novice"), "0");
    EXPECT_EQ(class_number_of("[-1] Odd"), "-1");
    EXPECT_EQ(class_number_of("no class"), "");
}

TEST_F(SkillChoosers, SkillsOfOneClassInFileOrder) {
    f.program("class-skill.txt",
              "// class,skill,max level,name\n\n0,1,9,Basic Skill\n5,36,10,Enlarge Weight Limit\n"
              "5,1,9,Basic Skill\n5,999,1,Not in the table\n05,6,1,Written with a zero\n"
              "5,5.0,10,Bash\n5,36,10,Listed twice\n5,6,1\n/5,6,1,Comment\n");
    const ClassSkills merchant = pick("5");
    EXPECT_TRUE(merchant.available);
    EXPECT_TRUE(merchant.select_first);
    // The first table entry of an id names it; the class is compared as text.
    EXPECT_EQ(merchant.entries, (Texts{"[036] Enlarge Weight Limit", "[001] Basic Skill",
                                       "[005] Bash", "[036] Enlarge Weight Limit"}));
    EXPECT_EQ(merchant.table_index, (std::vector<int>{3, 0, 1, 3}));

    // A listing of a class without lines is just empty...
    EXPECT_TRUE(skills_of_class(f.app, f.ui, skills, "22").entries.empty());
    EXPECT_TRUE(f.ui.shown().empty());
    // ...while the chooser, left empty, fails to select its entry 0.
    const ClassSkills none = pick("22");
    EXPECT_TRUE(none.available);
    EXPECT_TRUE(none.entries.empty());
    EXPECT_FALSE(none.select_first);
    EXPECT_EQ(f.ui.messages(), Texts{"Error 9, Subscript out of range\r\nin load_skills_by_class"});
}

TEST_F(SkillChoosers, SyntaxMessageNamesTheLinesReadBeforeIt) {
    f.program("class-skill.txt", "// header\n\n5,1,9,Basic Skill\n5,x,1,Broken\n5,36,10,Later\n");
    const ClassSkills merchant = pick("5");
    EXPECT_EQ(merchant.entries, Texts{"[001] Basic Skill"});
    EXPECT_FALSE(merchant.select_first);
    EXPECT_EQ(f.ui.messages(),
              Texts{"Invalid syntax in class-skill.txt\r\nline number: 3: 5,x,1,Broken"});

    f.ui.clear();
    f.program("class-skill.txt", "5,1,nine,Basic Skill\n");
    pick("0");
    EXPECT_EQ(f.ui.messages(),
              Texts{"Invalid syntax in class-skill.txt\r\nline number: 0: 5,1,nine,Basic Skill"});
}

TEST_F(SkillChoosers, MissingOrEmptyClassSkillFile) {
    const ClassSkills missing = pick("1");
    EXPECT_FALSE(missing.available);
    EXPECT_TRUE(missing.entries.empty());
    const std::string path = (f.app.program_folder / "class-skill.txt").string();
    EXPECT_EQ(f.ui.messages(),
              Texts{"File " + path + " not found...\r\nYou cant select Skills by class..."});

    f.ui.clear();
    f.program("class-skill.txt", "");
    EXPECT_FALSE(pick("1").available);
    EXPECT_EQ(f.ui.messages(), Texts{"File is empty...\r\nReinstall class-skill.txt"});
}

}  // namespace
}  // namespace tavo
