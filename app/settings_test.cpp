#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/about.h"
#include "app/text.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::slurp;
using testing::TempDir;

class LoadAppOption : public ::testing::Test {
protected:
    LoadAppOption() {
        app.program_folder = dir.path() / "program";
        fs::create_directories(app.program_folder);
        server = dir.make_server("server").string() + "/";
    }
    void TearDown() override { EXPECT_TRUE(ui.unexpected.empty()); }

    void load(const std::string& ini) {
        dir.write("program/tavo.ini", ini);
        load_app_option(app, ui);
    }
    std::string program_text() const { return app.program_folder.string() + "/"; }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
    std::string server;
};

TEST_F(LoadAppOption, LimitsOfTheNumericKeys) {
    load(
        "[option]\nmaxblvl\t999\nmaxjlvl\t201\nmaxzeny\t5e9\nmaxinventory\t-3\n"
        "maxstpoint\t32000\nmaxskpoint\t32001\nmaxitemcount\t2.5\nmaxstorage\t300\n");
    EXPECT_EQ(app.settings.maxblvl, 999);
    EXPECT_EQ(app.settings.maxjlvl, 50);  // above 200: the default stays
    EXPECT_EQ(app.settings.maxzeny, "5e9");
    EXPECT_EQ(app.settings.maxinventory, -3);
    EXPECT_EQ(app.settings.maxstpoint, 32000);
    EXPECT_EQ(app.settings.maxskpoint, 1000);
    EXPECT_EQ(app.settings.maxitemcount, 2);  // halves go to the even neighbour
    EXPECT_EQ(app.settings.maxstorage, 300);
    EXPECT_TRUE(ui.shown().empty());

    load("[option]\nmaxblvl\t1000\nmaxzeny\t10000000001\n");
    EXPECT_EQ(app.settings.maxblvl, 99);
    EXPECT_EQ(app.settings.maxzeny, "1000000000");
}

TEST_F(LoadAppOption, KeysAreExactAndLinesNeedExactlyTwoFields) {
    load(
        "[option]\nMaxBlvl\t150\nmaxblvl \t151\n maxjlvl\t60\nmaxjlvl\t 70\nmaxstorage\t200\tx\n"
        "//maxskpoint\t5\n/maxstpoint\t7\n\nmaxitemcount\t100\nmaxitemcount\t200\n");
    EXPECT_EQ(app.settings.maxblvl, 99);
    EXPECT_EQ(app.settings.maxjlvl, 70);  // blanks around the value are allowed
    EXPECT_EQ(app.settings.maxstorage, 100);
    EXPECT_EQ(app.settings.maxskpoint, 1000);
    EXPECT_EQ(app.settings.maxstpoint, 10000);
    EXPECT_EQ(app.settings.maxitemcount, 200);  // the later line wins
}

TEST_F(LoadAppOption, OnlyHeadersNamingOptionOpenTheKeySection) {
    load(
        "maxblvl\t101\n[Options]\nmaxjlvl\t61\n[jobclass]\nmaxstorage\t201\n"
        "[my option set]\nmaxinventory\t202\n");
    EXPECT_EQ(app.settings.maxblvl, 99);  // before any header
    EXPECT_EQ(app.settings.maxjlvl, 61);
    EXPECT_EQ(app.settings.maxstorage, 100);
    EXPECT_EQ(app.settings.maxinventory, 202);
}

TEST_F(LoadAppOption, AValueThatIsNotANumberStopsReadingWithTheReport) {
    load("[option]\nmaxblvl\t120\nmaxjlvl\tten\nmaxstorage\t300\n");
    EXPECT_EQ(app.settings.maxblvl, 120);
    EXPECT_EQ(app.settings.maxstorage, 100);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Error 13, Type mismatch\r\nin load_app_option"});
}

TEST_F(LoadAppOption, MissingOrEmptySettingsKeepTheDefaults) {
    load_app_option(app, ui);
    const std::string about = about_text(app.settings, 99);
    EXPECT_NE(about.find("\r\neAthena folder : " + program_text() +
                         "\r\nMax Base Level : 99\r\n"
                         "Max Job Level : 50\r\nMax Char Stat. : 99 [battle_athena.conf]\r\n"
                         "Max item count : 30000\r\nMax Inventory : 100\r\nMax Storage : 100\r\n"),
              std::string::npos);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"File " + program_text() +
                                                      "tavo.ini not found...\r\n"
                                                      "Job Class Name will not shown..."});
    EXPECT_EQ(app.settings.data_folder, program_text());
    ui.clear();
    load("");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"File is empty...\r\nReinstall tavo.ini"});
    EXPECT_EQ(app.settings.maxblvl, 99);
}

TEST_F(LoadAppOption, AnAcceptedFolderGetsItsFinalSeparatorWrittenBack) {
    std::string windows_style = server.substr(0, server.size() - 1);
    for (char& c : windows_style) c = c == '/' ? '\\' : c;
    load("// settings\r\n[option]\r\neafolder\t" + windows_style + "\r\nmaxblvl\t255");
    EXPECT_EQ(app.settings.data_folder, server);
    EXPECT_EQ(app.settings.maxblvl, 255);
    EXPECT_EQ(slurp(app.program_folder / "tavo.ini"),
              "// settings\r\n[option]\r\neafolder\t" + server + "\r\nmaxblvl\t255\r\n");
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(LoadAppOption, EafolderOutsideTheKeySectionIsIgnoredButRewritten) {
    load("[maps]\neafolder\t/nowhere\n[option]\neafolder\t" + server + "\n");
    EXPECT_EQ(app.settings.data_folder, server);
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_EQ(slurp(app.program_folder / "tavo.ini"),
              "[maps]\r\neafolder\t" + server + "\r\n[option]\r\neafolder\t" + server + "\r\n");
}

TEST_F(LoadAppOption, AnEmptySaveFolderCountsAsMissingAndThePickerAsksAgain) {
    const fs::path bad = dir.path() / "bad";
    dir.write("bad/db/item_db.txt", "");
    dir.write("bad/conf/x.conf", "");
    fs::create_directories(bad / "save");
    ui.pick({(dir.path() / "nowhere").string(), server});
    load("[option]\neafolder\t" + bad.string() + "\n");
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{
                  "The eAthena db, save or conf folder was NOT found.\r\nmake sure to enter the "
                  "correct path in tavo.ini\r\nor place tavo.exe in your eAthena folder.",
                  "The eAthena folder specified in the tavo.ini does not exist."}));
    EXPECT_EQ(ui.picker_instructions, std::vector<std::string>(2, app.program_folder.string()));
    EXPECT_EQ(app.settings.data_folder, server);
    EXPECT_EQ(slurp(app.program_folder / "tavo.ini"), "[option]\r\neafolder\t" + server + "\r\n");
}

TEST_F(LoadAppOption, CancellingThePickerKeepsTheProgramFolder) {
    ui.pick({""});
    load("[option]\neafolder\t/no/such/server\n");
    EXPECT_EQ(app.settings.data_folder, program_text());
    EXPECT_EQ(ui.messages(), std::vector<std::string>{
                                 "The eAthena folder specified in the tavo.ini does not exist."});
    EXPECT_EQ(slurp(app.program_folder / "tavo.ini"), "[option]\neafolder\t/no/such/server\n");
}

TEST_F(LoadAppOption, AFolderGivenForTheRunIsCheckedButNotRemembered) {
    dir.write("program/tavo.ini", "[option]\neafolder\t/no/such/server\n");
    StartOptions options;
    options.data_folder = server;
    load_app_option(app, ui, options);
    EXPECT_EQ(app.settings.data_folder, server);
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_EQ(slurp(app.program_folder / "tavo.ini"), "[option]\neafolder\t/no/such/server\n");
}

TEST_F(LoadAppOption, AnInstalledProgramReadsShareAndWritesToTheConfigFolder) {
    app.shared_folder = dir.path() / "share/tavo";
    app.config_folder = dir.path() / "config/tavo";
    app.program_folder_writable = false;
    const std::string template_ini = "[option]\neafolder\t" + server + "\nmaxblvl\t150\n";
    dir.write("share/tavo/tavo.ini", template_ini);
    dir.write("share/tavo/cardprefixnametable.txt", "4001#Lucky#\n");
    load_app_option(app, ui);
    EXPECT_TRUE(ui.shown().empty());
    EXPECT_EQ(app.settings.maxblvl, 150);
    EXPECT_EQ(app.program_file("cardprefixnametable.txt"),
              dir.path() / "share/tavo/cardprefixnametable.txt");
    // The accepted folder goes to the user's copy; the template stays as installed.
    EXPECT_EQ(dir.read("share/tavo/tavo.ini"), template_ini);
    EXPECT_EQ(dir.read("config/tavo/tavo.ini"),
              "[option]\r\neafolder\t" + server + "\r\nmaxblvl\t150\r\n");
    EXPECT_FALSE(fs::exists(app.program_folder / "tavo.ini"));

    // From then on the user's copy is read, even before a copy beside the program.
    dir.write("config/tavo/tavo.ini", "[option]\nmaxblvl\t160\n");
    dir.write("program/tavo.ini", "[option]\nmaxblvl\t170\n");
    load_app_option(app, ui);
    EXPECT_EQ(app.settings.maxblvl, 160);
    // A program folder that may be written wins: the portable set-up of the demo.
    app.program_folder_writable = true;
    load_app_option(app, ui);
    EXPECT_EQ(app.settings.maxblvl, 170);
    EXPECT_EQ(app.writable_program_file("tavo.ini"), app.program_folder / "tavo.ini");
}

TEST(ProgramFolders, ShareBesideBinAndTheConfigFolderFromTheEnvironment) {
    TempDir dir;
    AppContext app;
    const fs::path bin = dir.path() / "prefix/bin";
    fs::create_directories(bin);
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    ::setenv("HOME", "/home/admin", 1);
    set_program_folders(app, bin);
    EXPECT_EQ(app.program_folder, bin);
    EXPECT_EQ(app.shared_folder, dir.path() / "prefix/share/tavo");
    EXPECT_EQ(app.config_folder, fs::path("/xdg/tavo"));
    EXPECT_TRUE(app.program_folder_writable);
    // A relative XDG_CONFIG_HOME is not to be used.
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    set_program_folders(app, bin);
    EXPECT_EQ(app.config_folder, fs::path("/home/admin/.config/tavo"));
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    set_program_folders(app, bin);
    EXPECT_TRUE(app.config_folder.empty());
    EXPECT_EQ(app.writable_program_file("tavo.ini"), bin / "tavo.ini");
}

TEST(AboutText, ThirteenLinesWithTheDefaults) {
    AppSettings settings;
    settings.data_folder = "/srv/tavo/";
    const std::string text = about_text(settings, 99, {});
    std::vector<std::string_view> lines = split(text, '\n');
    ASSERT_EQ(lines.back(), "");  // the last line ends with its break too
    lines.pop_back();
    for (auto& line : lines) {
        ASSERT_TRUE(line.ends_with('\r'));
        line.remove_suffix(1);
    }
    ASSERT_EQ(lines.size(), 15u);  // 13 lines and the two empty ones
    EXPECT_TRUE(lines[0].starts_with("Tavo : "));
    EXPECT_EQ(lines[1], "for eAthena 817 Text / 0.52 Text / 1.0.0 Text");
    EXPECT_EQ(lines[2], "Project WebSite: none");  // no address the project does not own
    EXPECT_EQ(lines[3], "Forum Topic: none");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "USE AT YOUR OWN RISK...");
    EXPECT_EQ(lines[6], "");
    const std::vector<std::string_view> settings_lines(lines.begin() + 7, lines.end());
    EXPECT_EQ(settings_lines,
              (std::vector<std::string_view>{
                  "Current Setting: ", "eAthena folder : /srv/tavo/", "Max Base Level : 99",
                  "Max Job Level : 50", "Max Char Stat. : 99 [battle_athena.conf]",
                  "Max item count : 30000", "Max Inventory : 100", "Max Storage : 100"}));
    // Addresses come from the build.
    EXPECT_TRUE(contains(about_text(settings, 99, {"https://example.org/tavo", ""}),
                         "\r\nProject WebSite: https://example.org/tavo\r\nForum Topic: none\r\n"));
}

}  // namespace
}  // namespace tavo
