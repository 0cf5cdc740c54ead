#include "workspace/wipe.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <map>

#include "accounts/gm_levels.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/guild_party_pet.h"
#include "check/server_check.h"
#include "testsupport/demo_workspace.h"
#include "tools/gen/server_gen.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

TEST(WipeRules, JobFamiliesFollowTheServersJobIds) {
    const std::map<int, std::optional<WipeFamily>> expected{
        {0, WipeFamily::Novice},     {23, WipeFamily::Novice},     {4045, WipeFamily::Novice},
        {68, std::nullopt},          {22, std::nullopt},           {13, WipeFamily::Swordman},
        {4012, WipeFamily::Archer},  {4020, WipeFamily::Archer},   {4021, WipeFamily::Archer},
        {20, WipeFamily::Archer},    {4035, WipeFamily::Thief},    {17, WipeFamily::Thief},
        {5, WipeFamily::Merchant},   {4011, WipeFamily::Merchant}, {4041, WipeFamily::Merchant},
        {4016, WipeFamily::Acolyte}, {4039, WipeFamily::Mage}};
    for (const auto& [job, family] : expected) EXPECT_EQ(family_of(job), family) << job;
}

TEST(WipeRules, DatesZenyAndLines) {
    EXPECT_FALSE(is_valid_wipe_date("yyyy-mm-dd"));
    EXPECT_FALSE(is_valid_wipe_date("2004-02-30"));
    EXPECT_FALSE(is_valid_wipe_date("2004-2-01"));
    EXPECT_TRUE(is_valid_wipe_date("2004-02-29"));

    // "= A" is capped like "+ A"; "- A" stops at 0.
    EXPECT_EQ(edited_zeny(500, ZenyEdit::Set, 99999999999, 1000000000), 1000000000);
    EXPECT_EQ(edited_zeny(500, ZenyEdit::Minus, 501, 1000000000), 0);
    EXPECT_EQ(edited_zeny(999999990, ZenyEdit::Plus, 50, 1000000000), 1000000000);
    EXPECT_EQ(edited_zeny(500, ZenyEdit::Plus, 50, 1000000000), 550);

    ItemRules rules;
    rules.inventory = true;
    rules.zeny = ZenyEdit::Minus;
    rules.amount = 100;
    const std::string line =
        "150000\t1,0\tA\t0,1,1\t0,0,150\tf5\tf6\tf7\tf8\tf9\tf10\tf11\tm\ts"
        "\tmemo\t1,501,1,0,1,0,0,0,0,0,0 \tcart\tsk\tvar\t";
    EXPECT_EQ(item_wiped_line(line, rules, 1000000000),
              "150000\t1,0\tA\t0,1,1\t0,0,50\tf5\tf6\tf7\tf8\tf9\tf10\tf11\tm\ts\tmemo\t\tcart\tsk"
              "\tvar\t");
    ItemRules nothing;
    nothing.memo = true;
    EXPECT_FALSE(item_wiped_line("150000\t1,0\tA", nothing, 1));
}

TEST(WipeRules, UserRules) {
    const GmLevels gm = GmLevels::parse({"2000020 10", "2000021 0"});
    UserRules rules;
    rules.not_since = "2004-06-01";
    const auto takes = [&](std::string_view line) { return user_wipe_takes(line, rules, gm); };
    EXPECT_TRUE(takes("2000010\tidle\tp\t2004-06-01 10:00:00.000\tM\t1\t0\t"));
    EXPECT_FALSE(takes("2000010\tidle\tp\t2004-06-02 10:00:00.000\tM\t1\t0\t"));
    EXPECT_TRUE(takes("2000011\tnever\tp\t-\tM\t0\t0\t"));  // never logged in
    EXPECT_FALSE(takes("3\ts4\tp\t-\tS\t0\t0\t"));          // a server account
    EXPECT_FALSE(takes("704600\tgm\tp\t-\tM\t0\t0\t"));     // the GM range
    EXPECT_FALSE(takes("2000020\tgm\tp\t-\tM\t0\t0\t"));    // a GM by the GM file
    EXPECT_TRUE(takes("2000021\tgm0\tp\t-\tM\t0\t0\t"));    // level 0 is no GM
    EXPECT_FALSE(takes("// 2000010\tidle\tp\t-\tM\t0\t0\t"));
    rules.spare_gm = false;
    EXPECT_TRUE(takes("704600\tgm\tp\t-\tM\t0\t0\t"));

    // The IP rule reads field 10 only; an 817 line has none and goes by its date alone.
    UserRules by_ip;
    by_ip.ip = "10.0.0.1";
    const std::string full = "2000030\tx\tp\t2005-01-01 00:00:00.000\tM\t1\t0\ta@a.com\t-\t0\t";
    EXPECT_TRUE(user_wipe_takes(full + "10.0.0.1\t-\t0\t", by_ip, gm));
    EXPECT_FALSE(user_wipe_takes(full + "10.0.0.2\t-\t0\t", by_ip, gm));
    EXPECT_FALSE(user_wipe_takes("2000031\tx\tp\t-\tM\t0\t0\t", by_ip, gm));
}

// Every file of the save and conf folders, by name.
std::map<std::string, std::string> server_files(const fs::path& server) {
    std::map<std::string, std::string> all;
    for (const char* folder : {"save", "conf"}) {
        for (const auto& entry : fs::directory_iterator(server / folder)) {
            if (entry.is_regular_file()) {
                all[std::string(folder) + "/" + entry.path().filename().string()] =
                    testing::slurp(entry.path());
            }
        }
    }
    return all;
}

struct DemoWipe : ::testing::Test {
    void SetUp() override {
        demo.start();
        demo.ui.clear();
    }
    fs::path server() const { return demo.dir.path() / "server"; }
    WipePlan run(const WipeRequest& request) {
        const WipePlan plan = plan_wipe(demo.ws, demo.ui, request);
        EXPECT_EQ(run_wipe(demo.ws, demo.ui, request, plan, done), std::nullopt);
        return plan;
    }
    bool has_line_starting(const std::string& file, const std::string& start) const {
        const std::string text = demo.save(file);
        return text.starts_with(start) || text.find("\n" + start) != std::string::npos;
    }
    DemoWorkspace demo;
    WipeDone done;
};

TEST_F(DemoWipe, UserWipeTakesIdleAccountsWithEverythingTheyHeldInOneRewritePerFile) {
    demo.dir.write("server/conf/GM_account.txt",
                   demo.dir.read("server/conf/GM_account.txt") + "2000010 5\n");
    const std::map<std::string, std::string> before = server_files(server());
    int athena_renames = 0;
    demo.ws.app.files.calls().rename = [&](const char* from, const char* to) {
        athena_renames += fs::path(to).filename() == "athena.txt" &&
                          fs::path(to).parent_path().filename() == "save";
        return std::rename(from, to);
    };
    WipeRequest request;
    request.kind = WipeKind::Users;
    request.users.not_since = "2004-11-20";
    const WipePlan plan = run(request);
    // 2000010 is spared by its GM level, 704558 and 704559 by their ids.
    const auto planned = [&](std::int32_t id) {
        return std::find(plan.accounts.begin(), plan.accounts.end(), id) != plan.accounts.end();
    };
    EXPECT_TRUE(planned(2000003) && planned(2000011) && planned(2000008));
    EXPECT_FALSE(planned(2000010) || planned(704558) || planned(704559) || planned(2000001));
    EXPECT_EQ(plan.characters, (std::vector<std::int32_t>{150004, 150009}));
    EXPECT_EQ(athena_renames, 1);
    // The progress window counts the decision pass's lines and the rewrite's megabytes.
    const std::vector<std::string>& shown = demo.ui.progress_texts;
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                            [](const std::string& t) { return t.starts_with("Reading "); }));
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                            [](const std::string& t) { return t.starts_with("Wiping: "); }));
    EXPECT_FALSE(demo.ui.progress_open);
    EXPECT_EQ(deleted_counts(plan),
              std::to_string(plan.accounts.size()) + " accounts, 2 characters and " +
                  std::to_string(plan.stores.size()) + " stores will be deleted.");
    for (const char* id : {"2000003\t", "2000011\t", "2000012\t"}) {
        EXPECT_FALSE(has_line_starting("account.txt", id)) << id;
    }
    for (const char* kept : {"0\t", "704558\t", "704559\t", "2000010\t", "2000001\t"}) {
        EXPECT_TRUE(has_line_starting("account.txt", kept)) << kept;
    }
    for (const std::int32_t id : plan.characters) {
        EXPECT_FALSE(has_line_starting("athena.txt", std::to_string(id) + "\t")) << id;
    }
    // The backup folder holds each changed file as it was, and the message names it.
    ASSERT_FALSE(done.backup_folder.empty());
    for (const std::string& file : done.files) {
        const std::string name = fs::path(file).filename().string();
        EXPECT_EQ(testing::slurp(done.backup_folder / name), before.at(file)) << file;
    }
    EXPECT_NE(wipe_done_message(plan, done).find(done.backup_folder.filename().string()),
              std::string::npos);
}

TEST_F(DemoWipe, CharacterWipeOfSixFamiliesKeepsMerchantsAndGms) {
    WipeRequest request;
    request.kind = WipeKind::Chars;
    request.families.fill(true);
    request.families[static_cast<std::size_t>(WipeFamily::Merchant)] = false;
    const WipePlan plan = run(request);
    EXPECT_TRUE(plan.accounts.empty());
    const std::string athena = demo.save("athena.txt");
    EXPECT_NE(athena.find("\tKaelbrew\t"), std::string::npos);    // Blacksmith
    EXPECT_NE(athena.find("\tHammerhand\t"), std::string::npos);  // Whitesmith
    EXPECT_NE(athena.find("\tRhea\t"), std::string::npos);        // a GM's Super Novice
    for (const char* gone : {"\tKaelen\t", "\tMira Bow\t", "\tIvy\t", "\tRoanoke\t"}) {
        EXPECT_EQ(athena.find(gone), std::string::npos) << gone;
    }
    EXPECT_NE(athena.find("%newid%"), std::string::npos);
}

TEST_F(DemoWipe, ItemWipeEmptiesListsChangesZenyAndStores) {
    demo.dir.write("server/save/storage.txt",
                   "// kept\n" + demo.dir.read("server/save/storage.txt"));
    WipeRequest request;
    request.kind = WipeKind::Items;
    ItemRules& rules = request.items;
    rules.inventory = rules.cart = rules.storage = rules.guild_storage = rules.skills = true;
    rules.zeny = ZenyEdit::Set;
    rules.amount = 99999999999;
    const WipePlan plan = run(request);
    EXPECT_GT(plan.changed_characters, 0);
    for (const std::string& line : read_lines(server() / "save/athena.txt")) {
        if (line.find("%newid%") != std::string::npos || line.empty()) continue;
        const bool gm = line.find("\t704554,") != std::string::npos;
        EXPECT_EQ(piece(line, '\t', 15).empty(), !gm) << line;
        EXPECT_EQ(piece(line, '\t', 17).empty(), !gm) << line;
        if (!gm) {
            EXPECT_EQ(piece(piece(line, '\t', 4), ',', 2), "1000000000") << line;
        }
    }
    EXPECT_EQ(demo.save("storage.txt"), "// kept\n");
    EXPECT_EQ(demo.save("g_storage.txt"), "");
}

TEST_F(DemoWipe, FullWipeEmptiesEveryFileMapregTooAndMakesMissingOnes) {
    fs::remove(server() / "save/bank.txt");
    WipeRequest request;
    const WipePlan plan = run(request);
    EXPECT_EQ(plan.characters.size(), 11u);
    for (const char* file : {"account.txt", "athena.txt", "storage.txt", "mapreg.txt", "bank.txt",
                             "friends.txt", "guild.txt", "party.txt", "pet.txt", "accreg.txt"}) {
        EXPECT_TRUE(fs::exists(server() / "save" / file)) << file;
        EXPECT_EQ(demo.save(file), "") << file;
    }
    const std::vector<std::string> castles = read_lines(server() / "save/castle.txt");
    ASSERT_EQ(castles.size(), 20u);
    EXPECT_EQ(castles[19], "19,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

// A rename refused at each file of the wipe in turn leaves every file as it was, and the
// backup folder holds them as they were.
TEST_F(DemoWipe, AFailedWriteAtAnyFileChangesNothing) {
    WipeRequest request;
    request.kind = WipeKind::Users;
    request.users.not_since = "2004-11-21";
    request.users.spare_gm = false;
    const WipePlan plan = plan_wipe(demo.ws, demo.ui, request);
    const std::map<std::string, std::string> before = server_files(server());
    std::vector<std::string> files;
    {
        // A dry pass in a copy learns which files the wipe writes.
        DemoWorkspace copy;
        copy.start();
        WipeDone seen;
        ASSERT_EQ(run_wipe(copy.ws, copy.ui, request, plan, seen), std::nullopt);
        files = seen.files;
    }
    ASSERT_GE(files.size(), 7u);
    for (const std::string& file : files) {
        const std::string name = fs::path(file).filename().string();
        demo.ws.app.files.calls().rename = [name](const char* from, const char* to) {
            const fs::path target(to);
            if (target.filename() == name &&
                !target.parent_path().filename().string().starts_with("backup-")) {
                errno = EIO;
                return -1;
            }
            return std::rename(from, to);
        };
        WipeDone failed;
        const std::optional<std::string> message =
            run_wipe(demo.ws, demo.ui, request, plan, failed);
        ASSERT_TRUE(message.has_value()) << file;
        EXPECT_NE(message->find("No file was changed."), std::string::npos) << *message;
        std::map<std::string, std::string> now = server_files(server());
        EXPECT_EQ(now, before) << file;
        for (const auto& entry : fs::directory_iterator(server() / "save")) {
            if (!entry.is_directory()) continue;
            const fs::path copy = entry.path() / name;
            EXPECT_EQ(testing::slurp(copy), before.at(file)) << copy;
            fs::remove_all(entry.path());
        }
    }
}

// Releasing many characters at once leaves the tie files as releasing them one by one does:
// parties and guilds handed over or gone, castles given up, pets deleted or left ownerless.
TEST_F(DemoWipe, ReleasingAllAtOnceEqualsOneByOne) {
    std::vector<TieRelease> releases;
    for (const std::string& line : read_lines(server() / "save/athena.txt")) {
        if (line.find("%newid%") != std::string::npos || line.empty()) continue;
        const auto account = static_cast<std::int32_t>(leading_number(piece(line, '\t', 1)));
        const auto id = static_cast<std::int32_t>(leading_number(line));
        if (id % 3 == 0) continue;  // some stay, so that parties and guilds are handed over
        releases.push_back(character_release(piece(line, '\t', 9), account, id));
    }
    releases.push_back({0, 0, 3, 0, 0});
    CharacterTies one_by_one = read_character_ties(demo.ws.app);
    CharacterTies at_once = one_by_one;
    for (const TieRelease& r : releases) {
        if (r.char_id == 0) {
            release_pet(one_by_one, static_cast<std::int32_t>(r.pet_id));
        } else {
            release_character(one_by_one,
                              std::to_string(static_cast<int>(r.party_id)) + "," +
                                  std::to_string(static_cast<int>(r.guild_id)) + "," +
                                  std::to_string(static_cast<int>(r.pet_id)),
                              r.account_id, r.char_id);
        }
    }
    release_all(at_once, releases);
    EXPECT_EQ(at_once.party.lines, one_by_one.party.lines);
    EXPECT_EQ(at_once.guild.lines, one_by_one.guild.lines);
    EXPECT_EQ(at_once.castle.lines, one_by_one.castle.lines);
    EXPECT_EQ(at_once.pet.lines, one_by_one.pet.lines);
    EXPECT_NE(at_once.guild.lines, read_character_ties(demo.ws.app).guild.lines);
}

// After each wipe the server check finds nothing the wipe left dangling.
TEST(GeneratedServerWipe, LeavesNothingDangling) {
    testing::TempDir dir;
    gen::ServerOptions options;
    options.out = dir.path() / "server";
    options.accounts = 400;
    options.chars_per_account = 2;
    options.seed = 7;
    std::vector<WipeRequest> requests(4);
    requests[0].kind = WipeKind::Users;
    requests[0].users.not_since = "2004-05-01";
    requests[0].users.spare_gm = false;
    requests[1].kind = WipeKind::Chars;
    requests[1].families.fill(true);
    requests[1].families[static_cast<std::size_t>(WipeFamily::Novice)] = false;
    requests[2].kind = WipeKind::Items;
    requests[2].items.inventory = requests[2].items.cart = requests[2].items.storage = true;
    requests[2].items.guild_storage = true;
    requests[3].kind = WipeKind::Full;
    for (const WipeRequest& request : requests) {
        fs::remove_all(options.out);
        gen::generate_server(options);
        testing::name_port_zero(options.out);
        DemoWorkspace demo;
        run_startup(demo.ws, demo.ui, StartOptions{options.out.string() + "/"});
        demo.ui.clear();
        const WipePlan plan = plan_wipe(demo.ws, demo.ui, request);
        EXPECT_FALSE(plan.characters.empty() && plan.changed_characters == 0 &&
                     request.kind != WipeKind::Full);
        WipeDone done;
        ASSERT_EQ(run_wipe(demo.ws, demo.ui, request, plan, done), std::nullopt);
        std::string problems;
        for (const Finding& finding : check_server(demo.ws.app).findings) {
            if (finding.kind == FindingKind::Problem) {
                problems +=
                    finding.file + ":" + std::to_string(finding.line) + ": " + finding.text + "\n";
            }
        }
        EXPECT_EQ(problems, "") << static_cast<int>(request.kind);
    }
}

}  // namespace
}  // namespace tavo
