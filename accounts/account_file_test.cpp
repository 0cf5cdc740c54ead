#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "accounts/account_form.h"
#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "app/text.h"
#include "app/text_file.h"
#include "testsupport/file_faults.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

struct AccountFileTest : ::testing::Test {
    AccountFileTest() {
        dir.make_server("server");
        app.settings.data_folder = (dir.path() / "server").string() + "/";
    }
    void write_accounts(std::string_view content) const {
        dir.write("server/save/account.txt", content);
    }
    std::vector<std::string> saved_lines() const {
        return read_lines(dir.path() / "server/save/account.txt");
    }
    // The saved lines without comments and empty lines (the header among them).
    std::vector<std::string> saved_records() const {
        std::vector<std::string> lines;
        for (std::string& line : saved_lines()) {
            if (!line.empty() && !line.starts_with("//")) lines.push_back(std::move(line));
        }
        return lines;
    }
    void load() { ASSERT_TRUE(load_account(app, ui, table)); }
    void save() { ASSERT_TRUE(save_account(app, ui, table)); }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
    AccountTable table;
};

TEST_F(AccountFileTest, UntouchedFilesOfEachGenerationComeBackLineForLine) {
    const std::vector<std::string> old_form = {
        "0\ts1\tp1\t-\tS\t0\t0\t",
        "1\tq2\tj2\t-\tS\t0\t0",
        "2000001\tanna\tpw\t2004-03-01 10:00:00.123\tF\t12\t0\tcounter,5 ",
        "2000002\tben\tpw\t-\tX\t0\t5\t",
    };
    const std::vector<std::string> long_form = {
        "0\ts1\tp1\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t",
        "704554\tgm\tpw\t2004-03-01 10:00:00.123\tM\t3\t0\tgm@ex.org\t-\t0\t10.0.0.1\tlead\t0\t"
        "#bank,100 quest,2 ",
        "2000001\tanna\tpw\t-\tF\t012\t7\ta@a.com\tsoon\t1100000000\t-\t-\t1090000000\t",
        "2000003\tcarl\tpw\t-\tM\t0\t0\t",  // an old-form line inside a 1.0.0 file
    };
    struct Case {
        tavo::ServerGeneration generation;
        std::vector<std::string> records;
        std::string newid_line;
    };
    const Case cases[] = {
        {tavo::ServerGeneration::V817, old_form, ""},
        {tavo::ServerGeneration::V052, old_form, "2000003\t%newid%"},
        {tavo::ServerGeneration::V100, long_form, "2000004\t%newid%"},
    };
    dir.write("server/conf/GM_account.txt", "704554 99\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(tavo::generation_text(c.generation)));
        std::string file = "// Accounts file: an old header\r\n\r\n";
        for (const std::string& record : c.records) file += record + "\n";
        if (!c.newid_line.empty()) file += "1999\t%newid%\n";
        write_accounts(file);
        load();
        EXPECT_EQ(table.server_generation, c.generation);
        EXPECT_EQ(table.records.size(), c.records.size());
        EXPECT_FALSE(table.modified);
        save();
        std::vector<std::string> expected = c.records;
        if (!c.newid_line.empty()) expected.push_back(c.newid_line);
        EXPECT_EQ(saved_records(), expected);
    }
}

TEST_F(AccountFileTest, FieldsAreReadAsTheServerWroteThem) {
    write_accounts(
        "704554\tgm\tsecret\t2004-03-01 10:00:00.123\tM\t3\t6\tgm@ex.org\tfor a week\t1100000000"
        "\t10.0.0.1\tguild lead\t1090000000\t#bank,100 quest,2 \r\n"
        "2000000\tf\tp\t-\tF\t\tx\t\n"
        "704555\ts\tp\t-\tS\t1\t0\t\n"
        "704556\tmf\tp\t-\tMF\t1\t0\t\n"
        "2000003\tnone\tp\t-\t\t1\t0\t\n");
    load();
    // Without a GM file no GM's level can be read; that is said once, not once per GM.
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{
                  "Error 53, File not found (conf/GM_account.txt)\r\nin read_gm_lvl"});
    ASSERT_EQ(table.records.size(), 5u);
    for (const AccountRecord& record : table.records) EXPECT_EQ(record.gm_level(), 0);
    const AccountRecord& gm = table.records[0];
    EXPECT_EQ((std::vector<std::string_view>{gm.userid(), gm.pass(), gm.lastlogin(), gm.email(),
                                             gm.error_message(), gm.last_ip(), gm.memo()}),
              (std::vector<std::string_view>{"gm", "secret", "2004-03-01 10:00:00.123", "gm@ex.org",
                                             "for a week", "10.0.0.1", "guild lead"}));
    EXPECT_EQ((std::vector<std::int32_t>{gm.account_id(), gm.logincount(), gm.state(),
                                         gm.connect_until(), gm.ban_until()}),
              (std::vector<std::int32_t>{704554, 3, 6, 1100000000, 1090000000}));
    EXPECT_EQ(gm.regs(), (std::vector<std::string_view>{"#bank,100", "quest,2"}));
    // Sex letters F, S, and M for anything else; a login count or state that is empty or not a
    // number stays 0.
    std::vector<int> sexes;
    for (const AccountRecord& record : table.records) sexes.push_back(record.sex());
    EXPECT_EQ(sexes, (std::vector<int>{0, 1, 2, 0, 0}));
    EXPECT_EQ(table.records[1].logincount(), 0);
    EXPECT_EQ(table.records[1].state(), 0);
    // An old-form line has no e-mail, validity or ban.
    EXPECT_EQ(table.records[1].email(), "");
    EXPECT_EQ(table.records[1].connect_until(), 0);
    EXPECT_EQ(table.server_generation, tavo::ServerGeneration::V100);
}

TEST_F(AccountFileTest, RegistersKeepTheLastItemWithoutItsBlank) {
    write_accounts(
        "2000001\ta\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1 b,2 \n"
        "2000002\tb\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1 b,2\n"
        "2000003\tc\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1  b,2 \n");
    load();
    for (const AccountRecord& record : table.records) {
        EXPECT_EQ(record.reg_count(), 2u) << record.userid();
        EXPECT_EQ(record.regs(), (std::vector<std::string_view>{"a,1", "b,2"}));
    }
    // An edited record is rebuilt with one blank after each register.
    for (std::size_t i : {1, 2}) table.records[i].assign(table.records[i].fields());
    save();
    const std::vector<std::string> lines = saved_records();
    EXPECT_EQ(lines[0], "2000001\ta\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1 b,2 ");
    EXPECT_EQ(lines[1], "2000002\tb\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1 b,2 ");
    EXPECT_EQ(lines[2], "2000003\tc\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\ta,1 b,2 ");
}

TEST_F(AccountFileTest, EditedRecordsAreRebuiltInTheFilesGeneration) {
    write_accounts(
        "2000001\tanna\tpw\t-\tX\t1\t0\tcounter,5 \n"
        "2000002\tben\tpw\t-\tX\t1\t0\n"
        "2000\t%newid%\n");
    load();
    ASSERT_EQ(table.server_generation, tavo::ServerGeneration::V052);
    for (AccountRecord& record : table.records) {
        AccountFields f = record.fields();
        f.email = "ignored@in.old.files";
        record.assign(f);
    }
    save();
    // A sex the server does not know becomes M once the record is edited; what followed the
    // seventh TAB stays.
    EXPECT_EQ(saved_records(),
              (std::vector<std::string>{"2000001\tanna\tpw\t-\tM\t1\t0\tcounter,5 ",
                                        "2000002\tben\tpw\t-\tM\t1\t0", "2000003\t%newid%"}));

    // The same records in a 1.0.0 file: the old registers move to the register field, and an
    // empty text is written so that the server still reads the line as a 1.0.0 line.
    write_accounts(
        "2000001\tanna\tpw\t\tF\t1\t0\tcounter,5 \n"
        "2000002\tben\tpw\t-\tM\t1\t0\tben@ex.org\tmsg\t0\t1.2.3.4\tmemo\t0\t\n");
    load();
    ASSERT_EQ(table.server_generation, tavo::ServerGeneration::V100);
    table.records[0].assign(table.records[0].fields());
    AccountFields ben = table.records[1].fields();
    ben.email.clear();
    ben.error_message.clear();
    ben.last_ip.clear();
    ben.memo.clear();
    table.records[1].assign(ben);
    save();
    EXPECT_EQ(saved_records(),
              (std::vector<std::string>{
                  "2000001\tanna\tpw\t-\tF\t1\t0\ta@a.com\t-\t0\t-\t-\t0\tcounter,5 ",
                  "2000002\tben\tpw\t-\tM\t1\t0\ta@a.com\t-\t0\t-\t-\t0\t", "2000003\t%newid%"}));
}

TEST_F(AccountFileTest, HighestIdsFollowTheIdRangesAndEveryAccountHasItsGmLevel) {
    dir.write("server/conf/GM_account.txt", "704500 40\n704501 20\n2000000 60\n704600 99\n");
    write_accounts(
        "704500\tserver\tp\t-\tS\t0\t0\t\n"
        "704501\tgm1\tp\t-\tM\t0\t0\t\n"
        "704600\tgm2\tp\t-\tM\t0\t0\t\n"
        "2000000\tplayer\tp\t-\tM\t0\t0\t\n"
        "2000000\t%newid%\n");
    load();
    EXPECT_EQ(table.highest_player_id, 2000000);
    EXPECT_EQ(table.highest_gm_id, 704600);
    // The GM file gives a server id or a player id its level as well.
    std::vector<int> levels;
    for (const AccountRecord& record : table.records) levels.push_back(record.gm_level());
    EXPECT_EQ(levels, (std::vector<int>{40, 20, 99, 60}));
    save();
    EXPECT_EQ(saved_records().back(), "2000001\t%newid%");

    // Without any player the next id is 2000001 too. Without GM accounts a missing GM file
    // goes unsaid.
    std::filesystem::remove(dir.path() / "server/conf/GM_account.txt");
    write_accounts("1\ts\tp\t-\tS\t0\t0\t\n9\t%newid%\n");
    load();
    save();
    EXPECT_EQ(saved_records().back(), "2000001\t%newid%");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AccountFileTest, WithoutAccountsTheDefaultsAreMade) {
    // No file at all: the generation stays unknown, the defaults are saved as 7-field lines
    // without a %newid% line, whatever the answer.
    std::filesystem::remove(dir.path() / "server/save/account.txt");
    ui.answer({false});
    load();
    EXPECT_EQ(ui.questions(), std::vector<std::string>{
                                  "What version are you using? Is it eA817Text?\r\n  Yes= eA817 "
                                  "Text,\r\n  No=eA.50 above."});
    EXPECT_EQ(table.server_generation, tavo::ServerGeneration::Unknown);
    EXPECT_TRUE(table.modified);
    save();
    EXPECT_FALSE(table.modified);
    EXPECT_EQ(saved_records(),
              (std::vector<std::string>{"0\tq1\tj1\t-\tS\t0\t0", "1\tq2\tj2\t-\tS\t0\t0",
                                        "2\tq3\tj3\t-\tS\t0\t0", "3\tq4\tj4\t-\tS\t0\t0",
                                        "4\tq5\tj5\t-\tS\t0\t0"}));

    // Only comments: an 817 file without accounts, not a new file; no defaults, no question.
    write_accounts("// nothing here\r\n//\r\n");
    load();
    EXPECT_EQ(table.server_generation, tavo::ServerGeneration::V817);
    EXPECT_TRUE(table.records.empty());
    EXPECT_EQ(ui.questions().size(), 1u);

    // An empty 1.0.0 file read before keeps its generation: defaults in the 1.0.0 form.
    write_accounts("5\ts\tp\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n");
    load();
    write_accounts("");
    ui.answer({false});
    load();
    EXPECT_EQ(table.server_generation, tavo::ServerGeneration::V100);
    save();
    EXPECT_EQ(saved_records().front(), "0\tq1\tj1\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t");
    EXPECT_EQ(saved_records().back(), "2000001\t%newid%");
}

TEST_F(AccountFileTest, LinesThatAreNotAccountsGoBackWhereTheyWere) {
    const std::string bad[] = {
        "no tab at all",
        "2000002\tthree\tfields",
        "2000003\ttwelve\tp\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t",  // no ban time
        "2000004\tstate\tp\t-\tM\t0\t300\t",
        "99999999999\tbig\tp\t-\tM\t0\t0\t",
        "\tnoid\tp\t-\tM\t0\t0\t",
        "2000005\ttwo",
        // more registers than the server writes, in the older form too: rebuilt long, the
        // line would not read again
        "2000006\tregs\tp\t-\tM\t0\t0\tr1,1 r2,2 r3,3 r4,4 r5,5 r6,6 r7,7 r8,8 r9,9 r10,10 r11,11 "
        "r12,12 r13,13 r14,14 r15,15 r16,16 r17,17 r18,18 r19,19 r20,20 ",
    };
    std::string file = "2000001\tfirst\tp\t-\tM\t0\t0\t\n";
    for (const std::string& line : bad) file += line + "\n";
    file += "2000009\tlast\tp\t-\tM\t0\t0\t\n";
    write_accounts(file);
    load();
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[1].userid(), "last");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(contains(ui.messages()[0], "8 line(s)")) << ui.messages()[0];
    EXPECT_TRUE(contains(ui.messages()[0], "at line 2")) << ui.messages()[0];
    save();
    std::vector<std::string> expected = {"2000001\tfirst\tp\t-\tM\t0\t0\t"};
    expected.insert(expected.end(), std::begin(bad), std::end(bad));
    expected.push_back("2000009\tlast\tp\t-\tM\t0\t0\t");
    EXPECT_EQ(saved_records(), expected);

    // Removing the account before them keeps them in their place.
    remove_account(table, 0);
    save();
    expected.erase(expected.begin());
    EXPECT_EQ(saved_records(), expected);
}

TEST_F(AccountFileTest, ProgressCountsAccountsAndTheTableHasNoSmallLimit) {
    std::string file = "// header\n";
    const int count = 40000;  // beyond a 16-bit count
    for (int i = 0; i < count; ++i) {
        file += std::to_string(2000001 + i) + "\tp" + std::to_string(i) + "\tpw\t-\tM\t0\t0\t\n";
    }
    write_accounts(file);
    load();
    ASSERT_EQ(table.records.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(table.records[count - 1].userid(), "p39999");
    EXPECT_EQ(table.highest_player_id, 2000000 + count);
    EXPECT_EQ(ui.progress_texts.back(), "Reading 40000 lines");
    EXPECT_EQ(ui.progress_shows, ui.progress_closes);
    ui.clear();
    save();
    EXPECT_EQ(ui.progress_texts.back(), "Writing 39999 lines");
    EXPECT_EQ(saved_records().size(), static_cast<std::size_t>(count));
}

// A new GM account reaches the account file and the GM file together or not at all: a refused
// rename of either leaves both files as they were, and names the file.
TEST_F(AccountFileTest, AFailedSaveLeavesBothFilesAndReportsIt) {
    const std::string accounts = "2000001\ta\tp\t-\tM\t0\t0\t\n";
    const std::string gm_file = "// GM accounts\n";
    write_accounts(accounts);
    dir.write("server/conf/GM_account.txt", gm_file);
    load();
    AccountForm form = new_account_form(*next_gm_id(ui, table), 50);
    form.username = "newgm", form.password = "secret1";
    ASSERT_EQ(save_new_account(app, ui, table, form, true), EditResult::Saved);
    for (const std::string file : {"save/account.txt", "conf/GM_account.txt"}) {
        app.files = FileWriter();
        testing::refuse_rename(app.files, fs::path(file).filename());
        ui.clear();
        EXPECT_FALSE(save_account(app, ui, table));
        EXPECT_EQ(ui.messages(), std::vector<std::string>{"Error 70, Permission denied (" + file +
                                                          "). No file was changed.\r\nin "
                                                          "save_account"});
        EXPECT_EQ(dir.read("server/save/account.txt"), accounts);
        EXPECT_EQ(dir.read("server/conf/GM_account.txt"), gm_file);
        EXPECT_TRUE(table.modified);
        EXPECT_FALSE(ui.progress_open);
    }
    app.files = FileWriter();
    save();
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), gm_file + "704554 50\n");
}

// A table whose read failed holds nothing of the file: no write may replace the file with it.
TEST_F(AccountFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    const std::string file = "2000001\ta\tp\t-\tM\t0\t0\t\n2000002\tb\tp\t-\tF\t0\t0\t\n";
    const fs::path path = dir.write("server/save/account.txt", file);
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::function<void()> repair;
        std::string reason;
    };
    const Case cases[] = {
        {"mode 000", [&] { fs::permissions(path, fs::perms::none); },
         [&] { fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write); },
         "Error 70, Permission denied"},
        {"a folder in its place",
         [&] {
             fs::rename(path, path.string() + ".aside");
             fs::create_directory(path);
         },
         [&] {
             fs::remove(path);
             fs::rename(path.string() + ".aside", path);
         },
         "Error 75, A folder, not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "mode 000" && ::geteuid() == 0) continue;  // root reads it
        c.damage();
        ui.clear();
        EXPECT_FALSE(load_account(app, ui, table));
        EXPECT_FALSE(table.load_state.whole());
        EXPECT_TRUE(ui.questions().empty());  // not taken for a new file
        // The editor's new-account path ends in the same save.
        AccountForm form = new_account_form(next_player_id(table), 0);
        form.username = "newbie", form.password = "secret1";
        save_new_account(app, ui, table, form, false);
        ui.clear();
        EXPECT_FALSE(save_account(app, ui, table));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_TRUE(
            ui.messages()[0].starts_with("save/account.txt could not be read (" + c.reason + ")"))
            << ui.messages()[0];
        c.repair();
        EXPECT_EQ(dir.read("server/save/account.txt"), file);
    }
}

TEST_F(AccountFileTest, LineEndsOfEveryKindReadAsLinesAndStay) {
    const std::string records[] = {"2000001\ta\tp\t-\tM\t0\t0\t", "2000002\tb\tp\t-\tF\t0\t0\t"};
    for (const std::string end : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(end == "\r" ? "CR" : end == "\n" ? "LF" : "CR LF");
        write_accounts(std::string("// mine") + end + records[0] + end + records[1] + end);
        ui.clear();
        load();
        ASSERT_EQ(table.records.size(), 2u);
        EXPECT_EQ(table.records[1].userid(), "b");
        table.modified = true;
        save();
        EXPECT_EQ(dir.read("server/save/account.txt"),
                  std::string("// mine") + end + records[0] + end + records[1] + end);
    }
}

// An administrator's LF file with comments, %newid% lines and lines no server wrote: a save
// changes the edited line and nothing else.
TEST_F(AccountFileTest, ASaveChangesOnlyTheEditedLine) {
    const std::string before =
        "// Accounts of our server\n"
        "garbage in the header\n"
        "\n"
        "0\ts1\tp1\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "// the next one is our admin\n"
        "2000001\tadmin\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "2500000\t%newid%\n"
        "not an account\n"
        "2000002\tplayer\tpw\t-\tF\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "2000003\t%newid%\n";
    write_accounts(before);
    load();
    ASSERT_EQ(ui.shown().size(), 1u);  // the two lines that are not accounts, reported once
    const std::size_t index = *index_of_account(table, 2000002);
    AccountForm form = account_to_form(table.records[index]);
    form.email = "new@ex.org";
    ASSERT_EQ(save_edited_account(app, ui, table, index, form, "player"), EditResult::Saved);
    save();
    std::string expected = before;
    const std::string old_line = "2000002\tplayer\tpw\t-\tF\t0\t0\ta@a.com\t";
    expected.replace(expected.find(old_line), old_line.size(),
                     "2000002\tplayer\tpw\t-\tF\t0\t0\tnew@ex.org\t");
    EXPECT_EQ(dir.read("server/save/account.txt"), expected);

    // A new account takes no id below the server's counter; the last counter line, still the
    // file's last line, is raised past it in its place.
    form = new_account_form(next_player_id(table), 0);
    form.username = "newbie", form.password = "secret1";
    ASSERT_EQ(save_new_account(app, ui, table, form, false), EditResult::Saved);
    save();
    const std::vector<std::string> lines = saved_lines();
    EXPECT_EQ(lines.back(), "2500001\t%newid%");
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("2500000\tnewbie\t"));
    EXPECT_EQ(lines[6], "2500000\t%newid%");
    EXPECT_EQ(lines[1], "garbage in the header");
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

// One account read alone is the account the whole table holds under its id: the first line of
// the id wins, ids written another way or lines that are not accounts are passed over, and the
// GM level comes with it.
TEST_F(AccountFileTest, OneAccountReadAloneIsTheTablesAccount) {
    write_accounts(
        "// header\n"
        "2000001\tanna\tpw\t-\tF\t12\t0\ta@a.com\t-\t0\t1.2.3.4\tfirst\t0\t\n"
        "02000002\tbert\tpw\t-\tM\t0\t0\tb@b.com\t-\t0\t-\t-\t0\t\n"
        "not an account\n"
        "2000001\tanna2\tpw\t-\tF\t12\t0\ta@a.com\t-\t0\t1.2.3.4\tsecond\t0\t\n"
        "704554\tgm\tpw\t-\tM\t0\t0\tg@g.com\t-\t0\t-\t-\t0\t\n"
        "2000003\t%newid%\n");
    dir.write("server/conf/GM_account.txt", "704554 40\n");
    load();
    ASSERT_EQ(ui.messages().size(), 1u);  // the line not read; one account alone says nothing
    for (const std::int32_t id : {2000001, 2000002, 704554, 2000003, 5}) {
        SCOPED_TRACE(id);
        AccountTable one;
        ASSERT_TRUE(load_one_account(app, ui, id, one));
        const auto whole = index_of_account(table, id);
        const auto alone = index_of_account(one, id);
        ASSERT_EQ(alone.has_value(), whole.has_value());
        if (!whole) continue;
        const AccountRecord& a = one.records[*alone];
        const AccountRecord& w = table.records[*whole];
        EXPECT_EQ(a.userid(), w.userid());
        EXPECT_EQ(a.memo(), w.memo());
        EXPECT_EQ(a.logincount(), w.logincount());
        EXPECT_EQ(a.gm_level(), w.gm_level());
    }
    EXPECT_EQ(read_server_generation(app, ui), table.server_generation);
}

}  // namespace
}  // namespace tavo

namespace tavo {
namespace {

// What a read for an edit learnt, as one text: messages, records with their places, kept lines,
// the counter and what the file's lines taught.
std::string edit_read(const AppContext& app, std::int32_t id,
                      const std::optional<std::string>& name, std::uint64_t split_from) {
    ScriptedUi ui;
    AccountTable t;
    EXPECT_TRUE(load_for_one_edit(app, ui, id, name, t, split_from));
    std::string read;
    for (const testing::Shown& shown : ui.shown()) read += shown.text + "\n";
    for (std::size_t i = 0; i < t.records.size(); ++i) {
        read += std::string(t.records[i].line()) + " gm " +
                std::to_string(t.records[i].gm_level()) + " at " +
                std::to_string(t.part->records[i].offset) + "\n";
    }
    for (const KeptLine& kept : t.kept_lines) {
        read += std::to_string(kept.line_number) + ": " + kept.text + "\n";
    }
    read += std::to_string(t.part->last_newid ? t.part->last_newid->offset : 0) + " " +
            std::to_string(t.newid.counter()) + " " + std::to_string(t.part->uniform_breaks) +
            std::to_string(t.has_header) + std::to_string(static_cast<int>(t.server_generation)) +
            " " + std::to_string(t.highest_player_id) + " " + std::to_string(t.highest_gm_id);
    return read;
}

// A large file is read for an edit in two halves at once: what the edit sees is what one pass
// gives, whichever half holds the account, its name, a second line of its id, the lines that are
// not accounts, the counters, a line end of another kind or the GM level that fails.
TEST_F(AccountFileTest, AnEditReadInHalvesIsTheSinglePass) {
    std::string content = "// header\r\n0\ts1\tp1\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n";
    for (int i = 1; i <= 40; ++i) {
        const int id = i == 30 ? 2000005 : 2000000 + i;
        content += std::to_string(id) + "\tuser" + std::to_string(i % 35) +
                   "\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t" + (i == 31 ? "\n" : "\r\n");
        if (i == 3 || i == 33) content += "not an account " + std::to_string(i) + "\r\n";
        if (i == 10 || i == 25) content += std::to_string(2000090 + i) + "\t%newid%\r\n";
    }
    content += "704560\tgm\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t";  // no break at the end
    write_accounts(content);
    dir.write("server/conf/GM_account.txt", "704560 40\n2000036 x\n");
    ASSERT_NE(line_start_past_middle(dir.path() / "server/save/account.txt", 1), 0u);
    for (const std::int32_t id : {2000002, 2000005, 2000038, 704560, 9}) {
        for (const std::optional<std::string>& name :
             {std::optional<std::string>(), std::optional<std::string>("user2"),
              std::optional<std::string>("user37"), std::optional<std::string>("nobody")}) {
            SCOPED_TRACE(std::to_string(id) + " " + name.value_or("-"));
            EXPECT_EQ(edit_read(app, id, name, 1), edit_read(app, id, name, UINT64_MAX));
        }
    }
}

// The rest of the file goes around an edited line as it is, copied by the system or, where the
// writer has its own write, through it.
TEST_F(AccountFileTest, AnEditsSaveCopiesTheRestOfTheFileAsItIs) {
    const std::string before =
        "0\ts1\tp1\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "2000001\tanna\tpw\t-\tF\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "broken\n"
        "2000002\tbert\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t";
    std::string after = before;
    after.replace(after.find("a@a.com", after.find("anna")), 7, "x@y.org");
    for (const bool own_write : {false, true}) {
        SCOPED_TRACE(own_write);
        write_accounts(before);
        if (own_write) {
            app.files = FileWriter(
                [](int fd, const char* data, std::size_t size) { return ::write(fd, data, size); });
        }
        ASSERT_TRUE(load_for_one_edit(app, ui, 2000001, std::nullopt, table));
        ASSERT_EQ(ui.messages().size(), 1u);  // the broken line
        ui.clear();
        AccountForm form = account_to_form(table.records[1]);
        form.email = "x@y.org";
        ASSERT_EQ(save_edited_account(app, ui, table, 1, form, "anna"), EditResult::Saved);
        save();
        std::string header;
        for (std::string_view line : account_file_header()) header.append(line).append("\n");
        // The 1.0.0 form ends in a counter: the file had none.
        EXPECT_EQ(dir.read("server/save/account.txt"), header + after + "\n2000003\t%newid%");
    }
}

}  // namespace
}  // namespace tavo
