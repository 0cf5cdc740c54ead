// The generated server must be one the server itself could have written: every file in its
// line format and every reference between files pointing at something that exists.

#include "tools/gen/server_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "accounts/account_read.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/server_rules.h"
#include "testsupport/temp_dir.h"

namespace tavo::gen {
namespace {

using testing::listed;
using testing::ScriptedUi;
using testing::server_rule_breaks;
using testing::ServerLimits;
using testing::TempDir;

std::vector<std::string> lines_of(const fs::path& file) {
    return read_lines(file);
}

int number(std::string_view text) {
    return leading_i32(text);
}

struct GeneratedServer : ::testing::Test {
    ServerOptions options_of(long long accounts) const {
        ServerOptions options;
        options.out = dir.path() / "server";
        options.accounts = accounts;
        return options;
    }
    // 300 accounts with many forged weapons, as a given generation writes them.
    void generate(const std::string& generation) {
        ServerOptions options = options_of(300);
        options.generation = generation;
        options.forged_share = 0.3;
        options.seed = 11;
        generate_server(options);
    }
    fs::path save(const char* name) const { return dir.path() / "server/save" / name; }
    TempDir dir;
};

TEST_F(GeneratedServer, AHundredThousandAccountsKeepEveryServerRule) {
    ServerOptions options = options_of(100000);
    const ServerSummary summary = generate_server(options);
    EXPECT_GT(summary.characters, 140000);
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "");
    EXPECT_EQ(fs::file_size(save("friends.txt")), 0u);
    // Large guilds are there, so Guild Extension had to be raised for them.
    int largest = 0;
    for (const std::string& line : lines_of(save("guild.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        int members = 0;
        for (int m = 0; m < number(piece(f[3], ',', 1)); ++m) members += number(f[6 + 2 * m]) != 0;
        largest = std::max(largest, members);
    }
    EXPECT_GT(largest, 16);
    EXPECT_LE(largest, 36);
}

TEST_F(GeneratedServer, ItemCountsStayWithinTheServersArrays) {
    ServerOptions options = options_of(60);
    options.inventory_items = 150;
    options.cart_items = 150;
    options.storage_items = 700;
    options.storage_share = 1;
    generate_server(options);
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "");

    options.storage_limit = 600;
    generate_server(options);
    EXPECT_EQ(listed(server_rule_breaks(options.out, ServerLimits{600})), "");
    // Stores past 300 are there, and a server of this era would overrun on them.
    EXPECT_NE(listed(server_rule_breaks(options.out)), "");

    options.storage_limit = 400;
    EXPECT_THROW(generate_server(options), std::runtime_error);
}

TEST_F(GeneratedServer, AnAccountsOnlyFolderStillHoldsEverySaveFile) {
    ServerOptions options = options_of(50);
    options.accounts_only = true;
    const ServerSummary summary = generate_server(options);
    EXPECT_EQ(summary.characters, 0);
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "");
    EXPECT_EQ(lines_of(save("athena.txt")), std::vector<std::string>{"150000\t%newid%"});
    for (const char* empty : {"storage.txt", "guild.txt", "party.txt", "pet.txt"}) {
        EXPECT_EQ(fs::file_size(save(empty)), 0u) << empty;
    }
}

TEST_F(GeneratedServer, AccountFilesOfEveryGenerationLoadCleanly) {
    for (const std::string generation : {"817", ".52", "1.0.0"}) {
        SCOPED_TRACE(generation);
        generate(generation);
        EXPECT_EQ(listed(server_rule_breaks(dir.path() / "server")), "");
        AppContext app;
        app.settings.data_folder = (dir.path() / "server").string() + "/";
        ScriptedUi ui;
        AccountTable table;
        ASSERT_TRUE(load_account(app, ui, table));
        EXPECT_EQ(table.records.size(), 300u);
        EXPECT_EQ(generation_text(table.server_generation), generation);
        for (const KeptLine& kept : table.kept_lines) EXPECT_TRUE(kept.comment) << kept.text;
        EXPECT_TRUE(ui.shown().empty());
        EXPECT_EQ(table.records[5].gm_level(), 99);  // the first GM
        EXPECT_EQ(table.records[0].sex(), 2);
    }
}

// The line formats are the rules checker's; here every reference between files must hold.
TEST_F(GeneratedServer, CharactersStoresGroupsPetsAndCastlesAgree) {
    generate("1.0.0");
    ASSERT_EQ(listed(server_rule_breaks(dir.path() / "server")), "");
    std::set<int> accounts;
    for (const std::string& line : lines_of(save("account.txt"))) {
        if (!line.starts_with("//") && !contains(line, "%newid%")) accounts.insert(number(line));
    }
    struct Char {
        int job, party, guild;
        std::string name;
    };
    std::map<int, Char> chars;
    std::vector<std::pair<int, int>> eggs;  // pet id, char id
    std::vector<int> smiths_named;
    for (const std::string& line : lines_of(save("athena.txt"))) {
        if (contains(line, "%newid%")) continue;
        const std::vector<std::string_view> f = split(line, '\t');
        const int id = number(f[0]);
        EXPECT_TRUE(accounts.count(number(f[1]))) << line;
        const std::vector<std::string_view> groups = split(f[9], ',');
        chars[id] = {number(f[3]), number(groups[0]), number(groups[1]), std::string(f[2])};
        const std::string items = std::string(f[15]) + " " + std::string(f[16]);  // and cart
        for (std::string_view item : split(items, ' ')) {
            const std::vector<std::string_view> v = split(item, ',');
            if (v.size() < 11) continue;
            if (number(v[7]) == -256) eggs.emplace_back(number(v[8]), id);
            if (number(v[7]) == 255) {
                smiths_named.push_back((number(v[9]) & 0xFFFF) | (number(v[10]) << 16));
                EXPECT_GE(number(v[8]) % 1280, 0);
            }
        }
    }
    ASSERT_GT(chars.size(), 300u);
    ASSERT_FALSE(smiths_named.empty());
    ASSERT_FALSE(eggs.empty());
    for (int smith : smiths_named) {
        ASSERT_TRUE(chars.count(smith)) << smith;
        EXPECT_TRUE(chars[smith].job == 10 || chars[smith].job == 4011 || chars[smith].job == 4033);
    }
    for (const std::string& line : lines_of(save("storage.txt"))) {
        EXPECT_TRUE(accounts.count(number(line))) << line;
    }

    std::map<int, std::set<std::string>> party_names, guild_names;
    for (const std::string& line : lines_of(save("party.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        for (std::size_t i = 4; i < f.size(); i += 2) party_names[number(f[0])].emplace(f[i]);
    }
    for (const std::string& line : lines_of(save("guild.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        for (int m = 0; m < number(piece(f[3], ',', 1)); ++m) {
            guild_names[number(f[0])].emplace(f[6 + 2 * m + 1]);
        }
    }
    for (const auto& [id, c] : chars) {
        EXPECT_TRUE(c.party == 0 || party_names[c.party].count(c.name)) << c.name;
        EXPECT_TRUE(c.guild == 0 || guild_names[c.guild].count(c.name)) << c.name;
    }

    std::map<int, std::pair<int, bool>> pets;  // pet id: char id, egg
    for (const std::string& line : lines_of(save("pet.txt"))) {
        const std::vector<std::string_view> v = split(piece(line, '\t', 1), ',');
        pets[number(line)] = {number(v[1]), number(v[8]) == 1};
    }
    for (const auto& [pet, owner] : eggs) EXPECT_EQ(pets[pet], std::make_pair(owner, true)) << pet;

    for (const std::string& line : lines_of(save("castle.txt"))) {
        const int guild = number(piece(line, ',', 1));
        EXPECT_TRUE(guild == 0 || guild_names.count(guild)) << line;
    }
}

}  // namespace
}  // namespace tavo::gen
