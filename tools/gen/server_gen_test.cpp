// The generated server must be one the server itself could have written: every file in its
// line format and every reference between files pointing at something that exists.

#include "tools/gen/server_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "accounts/account_file.h"
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

// "a,b,c d,e,f " as lists of values.
std::vector<std::vector<std::string_view>> items_of(std::string_view field) {
    std::vector<std::vector<std::string_view>> items;
    for (std::string_view item : split(field, ' ')) {
        if (!item.empty()) items.push_back(split(item, ','));
    }
    return items;
}

struct GeneratedServer : ::testing::Test {
    void generate(const std::string& generation) {
        ServerOptions options;
        options.out = dir.path() / "server";
        options.accounts = 300;
        options.generation = generation;
        options.forged_share = 0.3;
        options.seed = 11;
        generate_server(options);
    }
    fs::path save(const char* name) const { return dir.path() / "server/save" / name; }
    ServerOptions options_of(long long accounts) const {
        ServerOptions options;
        options.out = dir.path() / "server";
        options.accounts = accounts;
        return options;
    }
    // The sizes of the guilds, from the member pairs of guild.txt.
    std::vector<int> guild_sizes() const {
        std::vector<int> sizes;
        for (const std::string& line : lines_of(save("guild.txt"))) {
            const std::vector<std::string_view> f = split(line, '\t');
            const int max_member = number(piece(f[3], ',', 1));
            int members = 0;
            for (int m = 0; m < max_member; ++m) members += number(f[6 + 2 * m]) != 0;
            sizes.push_back(members);
        }
        return sizes;
    }
    TempDir dir;
};

TEST_F(GeneratedServer, TwoThousandAccountsKeepEveryServerRule) {
    ServerOptions options = options_of(2000);
    const ServerSummary summary = generate_server(options);
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "");
    // Large guilds are there, so Guild Extension had to be raised for them.
    const std::vector<int> sizes = guild_sizes();
    ASSERT_EQ(static_cast<long long>(sizes.size()), summary.guilds);
    EXPECT_GT(*std::max_element(sizes.begin(), sizes.end()), 16);
    EXPECT_LE(*std::max_element(sizes.begin(), sizes.end()), 36);
    EXPECT_EQ(fs::file_size(save("friends.txt")), 0u);
}

TEST_F(GeneratedServer, AHundredThousandAccountsKeepEveryServerRule) {
    ServerOptions options = options_of(100000);
    const ServerSummary summary = generate_server(options);
    EXPECT_GT(summary.characters, 140000);
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "");
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
        AccountStore store;
        ASSERT_TRUE(load_account(app, ui, store));
        EXPECT_EQ(store.records.size(), 300u);
        EXPECT_EQ(generation_text(store.server_generation), generation);
        for (const KeptLine& kept : store.kept_lines) EXPECT_TRUE(kept.comment) << kept.text;
        EXPECT_TRUE(ui.shown().empty());
        EXPECT_EQ(store.records[5].gm_level(), 99);  // the first GM
        EXPECT_EQ(store.records[0].sex(), 2);
    }
}

TEST_F(GeneratedServer, CharactersStoresGroupsPetsAndCastlesAgree) {
    generate("1.0.0");
    std::set<int> accounts;
    for (const std::string& line : lines_of(save("account.txt"))) {
        if (!line.starts_with("//") && !contains(line, "%newid%")) accounts.insert(number(line));
    }
    struct Char {
        int account, job, party, guild;
        std::string name;
    };
    std::map<int, Char> chars;
    std::vector<std::pair<int, int>> eggs;  // pet id, char id
    std::vector<int> smiths_named;
    std::pair<int, int> last_place{0, -1};
    for (const std::string& line : lines_of(save("athena.txt"))) {
        if (contains(line, "%newid%")) continue;
        const std::vector<std::string_view> f = split(line, '\t');
        ASSERT_EQ(f.size(), 20u) << line;  // 19 fields and the final TAB
        EXPECT_EQ(f[19], "");
        const int id = number(f[0]);
        const std::pair<int, int> place{number(piece(f[1], ',', 0)), number(piece(f[1], ',', 1))};
        EXPECT_TRUE(accounts.count(place.first)) << line;
        EXPECT_LT(last_place, place);  // sorted by account, then slot
        EXPECT_LE(place.second, 8);
        last_place = place;
        const std::vector<std::string_view> groups = split(f[9], ',');
        chars[id] = {place.first, number(piece(f[3], ',', 0)), number(groups[0]), number(groups[1]),
                     std::string(f[2])};
        for (std::size_t list : {15u, 16u}) {
            const auto items = items_of(f[list]);
            EXPECT_LE(items.size(), 100u);
            for (const auto& item : items) {
                ASSERT_EQ(item.size(), 11u) << line;
                if (number(item[7]) == -256) eggs.emplace_back(number(item[8]), id);
                if (number(item[7]) == 255) {
                    const int smith = (number(item[9]) & 0xFFFF) | (number(item[10]) << 16);
                    smiths_named.push_back(smith);
                    EXPECT_GE(number(item[8]) % 1280, 0);
                }
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
        const std::vector<std::string_view> f = split(line, '\t');
        ASSERT_EQ(f.size(), 3u);
        EXPECT_TRUE(accounts.count(number(piece(f[0], ',', 0))));
        EXPECT_EQ(static_cast<std::size_t>(number(piece(f[0], ',', 1))), items_of(f[1]).size());
    }

    std::map<int, std::set<std::string>> party_names;
    for (const std::string& line : lines_of(save("party.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        ASSERT_EQ(f.size(), 3u + 24u + 1u) << line;  // 12 member pairs
        for (std::size_t i = 3; i + 1 < f.size(); i += 2)
            party_names[number(f[0])].emplace(f[i + 1]);
    }
    std::map<int, std::set<std::string>> guild_names;
    for (const std::string& line : lines_of(save("guild.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        const int max_member = number(piece(f[3], ',', 1));
        ASSERT_GE(f.size(), 6u + 2u * static_cast<std::size_t>(max_member) + 40u);
        for (int m = 0; m < max_member; ++m) guild_names[number(f[0])].emplace(f[6 + 2 * m + 1]);
        EXPECT_TRUE(f[4].ends_with("#"));
        EXPECT_EQ(f.back(), "");
    }
    for (const auto& [id, c] : chars) {
        EXPECT_TRUE(c.party == 0 || party_names[c.party].count(c.name)) << c.name;
        EXPECT_TRUE(c.guild == 0 || guild_names[c.guild].count(c.name)) << c.name;
    }

    std::map<int, std::pair<int, bool>> pets;  // pet id: char id, egg
    for (const std::string& line : lines_of(save("pet.txt"))) {
        const std::vector<std::string_view> f = split(line, '\t');
        ASSERT_EQ(f.size(), 2u);
        const std::vector<std::string_view> v = split(f[1], ',');
        ASSERT_EQ(v.size(), 9u);
        pets[number(f[0])] = {number(v[1]), number(v[8]) == 1};
    }
    for (const auto& [pet, owner] : eggs) {
        ASSERT_TRUE(pets.count(pet));
        EXPECT_EQ(pets[pet], std::make_pair(owner, true));
    }

    const std::vector<std::string> castles = lines_of(save("castle.txt"));
    ASSERT_EQ(castles.size(), 20u);
    for (std::size_t i = 0; i < castles.size(); ++i) {
        const std::vector<std::string_view> v = split(castles[i], ',');
        ASSERT_EQ(v.size(), 26u);
        EXPECT_EQ(number(v[0]), static_cast<int>(i));
        EXPECT_TRUE(number(v[1]) == 0 || guild_names.count(number(v[1])));
    }
}

}  // namespace
}  // namespace tavo::gen
