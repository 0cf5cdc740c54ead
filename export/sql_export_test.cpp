#include "export/sql_export.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/text_file.h"
#include "check/server_check.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

struct Statements : SqlSink {
    void execute(std::string_view statement) override { text.append(statement).append(";\n"); }
    std::string text;
};

struct SqlExportRun : ::testing::Test {
    SqlExportRun() { app.settings.data_folder = (demo.dir.path() / "server").string() + "/"; }
    void edit(const std::string& name, const std::string& from, const std::string& to) {
        std::string text = demo.save(name);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        demo.dir.write("server/save/" + name, text);
    }
    SqlExportReport run(SqlEra era, bool force = false) {
        out.text.clear();
        return export_sql(app, check_server(app), {era, force}, out);
    }
    bool named(const std::vector<std::string>& list, const std::string& part) const {
        for (const std::string& s : list) {
            if (s.find(part) != std::string::npos) return true;
        }
        return false;
    }

    testing::DemoWorkspace demo;
    AppContext app;
    Statements out;
};

TEST_F(SqlExportRun, RefusesWhatTheSchemaCannotHoldAndCarriesTheRestAsItIs) {
    // A second line for account 2000001 and an empty e-mail field: the first the schema cannot
    // hold, the second it holds as it is.
    edit("account.txt", "2000002\t",
         "2000001\ttwinaccount\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n2000002\t");
    edit("account.txt", "tormund@emberfall.example.org", "");
    const SqlExportReport refused = run(SqlEra::Y2004);
    EXPECT_TRUE(refused.refused);
    EXPECT_TRUE(out.text.empty());
    ASSERT_EQ(refused.blocking.size(), 1u);
    EXPECT_EQ(refused.blocking[0].problem, Problem::DuplicateAccountId);

    const SqlExportReport forced = run(SqlEra::Y2004, true);
    EXPECT_FALSE(forced.refused);
    EXPECT_EQ(forced.carried_problems, 1u);
    EXPECT_TRUE(named(forced.skipped, "The account id 2000001 is taken by an earlier line"));
    EXPECT_EQ(out.text.find("'twinaccount'"), std::string::npos);
    EXPECT_NE(out.text.find("'tormund_gm','Fjord42'"), std::string::npos);
    EXPECT_EQ(forced.rows[0], (std::pair<std::string, std::uint64_t>{"login", 33}));
}

// The check beside the export gives what the check before it gives: the same report, GM levels
// first among the changes, and the same statements; a refusal as the check alone refuses.
TEST_F(SqlExportRun, CheckedBesideTheExportAsBeforeIt) {
    demo.dir.write("server/conf/GM_account.txt",
                   "704554 120\n" + demo.dir.read("server/conf/GM_account.txt") + "704599 50\n");
    const auto same_reports = [](const SqlExportReport& a, const SqlExportReport& b) {
        EXPECT_EQ(a.refused, b.refused);
        EXPECT_EQ(a.blocking.size(), b.blocking.size());
        EXPECT_EQ(a.skipped, b.skipped);
        EXPECT_EQ(a.changed, b.changed);
        EXPECT_EQ(a.rows, b.rows);
        EXPECT_EQ(a.carried_problems, b.carried_problems);
    };
    for (const SqlEra era : {SqlEra::Y2004, SqlEra::Y2013}) {
        const SqlExportReport before = run(era);
        const std::string statements = out.text;
        Statements beside;
        same_reports(check_and_export_sql(app, {era, false}, beside), before);
        EXPECT_EQ(beside.text, statements);
        ASSERT_FALSE(before.changed.empty());
        EXPECT_NE(before.changed[0].find("GM"), std::string::npos);
    }
    edit("account.txt", "2000002\t",
         "2000001\ttwinaccount\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n2000002\t");
    Statements beside;
    same_reports(check_and_export_sql(app, {SqlEra::Y2004, false}, beside), run(SqlEra::Y2004));
    Statements forced;
    same_reports(check_and_export_sql(app, {SqlEra::Y2004, true}, forced),
                 run(SqlEra::Y2004, true));
    EXPECT_EQ(forced.text, out.text);
    // Told to stop, the export stops at its next lines.
    std::atomic<bool> stop{true};
    EXPECT_THROW(export_sql(app, check_server(app), {SqlEra::Y2004, true, &stop}, out),
                 ExportStopped);
}

TEST_F(SqlExportRun, The2013SchemaNamesWhatItHasNoRoomFor) {
    // Kaelbrew's last map is too long without .gat; Torvald's name differs from Kaelen's only in
    // letter case; Kaelen's variables differ only in case.
    edit("athena.txt", "geffen.gat,119,59\talberta", "geffen_fields.gat,119,59\talberta");
    edit("athena.txt", "\tTorvald\t", "\tKAELEN\t");
    edit("athena.txt", "PC_DIE_COUNTER,3 QUEST_WEDDING,1 ", "PC_DIE_COUNTER,3 pc_die_counter,1 ");
    const SqlExportReport report = run(SqlEra::Y2013);
    ASSERT_FALSE(report.refused);
    EXPECT_TRUE(named(report.skipped,
                      "Character 150001 (Kaelbrew): the char table's `last_map` "
                      "holds 11 characters, \"geffen_fields\" has 13"));
    EXPECT_TRUE(named(report.skipped,
                      "Character 150004 (KAELEN): its name differs from an earlier "
                      "character's only in letter case"));
    EXPECT_TRUE(named(report.skipped, "Character 150000 (Kaelen), register pc_die_counter,1"));
    EXPECT_TRUE(named(report.changed,
                      "Account 704554 (rhea_admin): its memo \"server owner\" has "
                      "no column in the 2013 schema"));
    EXPECT_NE(out.text.find("'Kaelen',7,82,48"), std::string::npos);
    EXPECT_NE(out.text.find("'prontera',156,191,'prontera',156,191,0"), std::string::npos);
    EXPECT_EQ(out.text.find("Kaelbrew"), std::string::npos);  // left out with everything it holds
    // The counters of account.txt and athena.txt.
    EXPECT_NE(out.text.find("ALTER TABLE `login` AUTO_INCREMENT = 2000021;"), std::string::npos);
    EXPECT_NE(out.text.find("ALTER TABLE `char` AUTO_INCREMENT = "), std::string::npos);
}

TEST_F(SqlExportRun, The2004SchemaKeepsMapsAndNamesWhatItsNumberColumnsCannotHold) {
    // A GM level for an account not made yet (the level lives in the account's row), and one
    // above the highest.
    demo.dir.write("server/conf/GM_account.txt",
                   "704554 120\n" + demo.dir.read("server/conf/GM_account.txt") + "704599 50\n");
    const SqlExportReport report = run(SqlEra::Y2004);
    EXPECT_TRUE(named(report.changed,
                      "Account 704599 has a GM level but is not in "
                      "save/account.txt yet"));
    EXPECT_TRUE(named(report.changed, "The level is not carried."));
    EXPECT_TRUE(named(report.changed,
                      "conf/GM_account.txt:1: Note: The GM level 120 is above 99: "
                      "the server takes 99. It is written as 99."));
    EXPECT_NE(out.text.find("'rhea_admin'"), std::string::npos);
    EXPECT_NE(out.text.find("'Kaelen',7,82,48"), std::string::npos);
    EXPECT_NE(out.text.find("'prontera.gat',156,191,'prontera.gat',156,191,0,0)"),
              std::string::npos);
    EXPECT_TRUE(named(report.changed,
                      "Account 2000006 (vexxa): its error message \"2005-01-15 "
                      "00:00:00\" cannot go into the 2004 schema's number column"));
    EXPECT_TRUE(report.skipped.empty());
    // Server account 0 keeps its id: 0 is not "the next id" in this session.
    EXPECT_NE(out.text.find("NO_AUTO_VALUE_ON_ZERO"), std::string::npos);
    EXPECT_NE(out.text.find("VALUES (0,'s1','p1','2004-11-20 09:12:03','S',412,"),
              std::string::npos);
}

TEST_F(SqlExportRun, ItemsAndMemoPointsGoInAsTheServerReadsThem) {
    // Numbers with leading zeros, cards past 32767 (the server keeps them as 16-bit values),
    // an item without blank after it at the end of the list, and glued memo points.
    edit("athena.txt", "1,1116,1,34,1,7,0,4035,4035,0,0 ",
         "1,1116,007,34,1,7,0,4035,4035,0,0 1,1117,1,0,1,0,0,65535,40000,-0,0,4 ");
    edit("athena.txt", "11,1105,1,0,1,0,0,4035,4035,4035,4029 \t",
         "11,1105,1,0,1,0,0,4035,4035,4035,4029\t");
    const SqlExportReport report = run(SqlEra::Y2004);
    ASSERT_FALSE(report.refused);
    EXPECT_NE(out.text.find("(150000,1116,7,34,1,7,0,4035,4035,0,0,0),(150000,1117,1,0,1,0,0,-1,"
                            "-25536,0,0,4),(150000,2315,1,16,1,4,0,4001,0,0,0,0)"),
              std::string::npos);
    EXPECT_NE(out.text.find("(150000,1105,1,0,1,0,0,4035,4035,4035,4029,0)"), std::string::npos);
    EXPECT_NE(out.text.find("(150000,'prontera.gat',156,191),(150000,'geffen.gat',119,59),"
                            "(150000,'payon.gat',152,75)"),
              std::string::npos);
}

// A number of more digits than its column surely holds is weighed as a number: the 2013 schema's
// `refine` holds 0 to 255, and has no column for a broken flag.
TEST_F(SqlExportRun, ItemNumbersOfManyDigitsAreWeighedOneByOne) {
    edit("athena.txt", "1,1116,1,34,1,7,0,4035,4035,0,0 ",
         "1,1116,1,34,1,255,0,4035,4035,0,0 1,1117,1,34,1,256,0,0,0,0,0 "
         "1,1118,1,34,1,9,0,0,0,0,0,0 1,1119,1,34,1,9,0,0,0,0,0,1 ");
    const SqlExportReport report = run(SqlEra::Y2013);
    ASSERT_FALSE(report.refused);
    EXPECT_NE(out.text.find("(150000,1116,1,34,1,255,0,4035,4035,0,0),(150000,1118,1,34,1,9,0,0,"
                            "0,0,0),(150000,1119,1,34,1,9,0,0,0,0,0),"),
              std::string::npos);
    EXPECT_TRUE(named(report.skipped, "item 1117: the inventory table's `refine` cannot hold 256"));
    EXPECT_TRUE(named(report.changed, "item 1119: its broken flag 1 has no column"));
}

}  // namespace
}  // namespace tavo
