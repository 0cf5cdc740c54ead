// The census on a hand-made world whose figures are known by construction
// (testsupport/census_world/README.txt tells them), on an empty server and on files that
// cannot be read.

#include <gtest/gtest.h>

#include <cstdlib>
#include <unordered_map>

#include "app/text_file.h"
#include "census/item_holders.h"
#include "census/line_blocks.h"
#include "census/line_sweep.h"
#include "census/server_census.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::TempDir;

constexpr std::int64_t kNovember2004 = 1100000000;

struct CensusWorld {
    CensusWorld() {
        const char* source = std::getenv("TAVO_SOURCE_DIR");
        const fs::path world =
            fs::path(source != nullptr ? source : ".") / "testsupport" / "census_world" / "save";
        fs::copy(world, dir.path() / "save", fs::copy_options::recursive);
        options.folder = dir.path();
        options.now = kNovember2004;
    }
    TempDir dir;
    CensusOptions options;
};

std::vector<std::int32_t> ids(const std::vector<Ranked>& ranking) {
    std::vector<std::int32_t> list;
    for (const Ranked& r : ranking) list.push_back(r.id);
    return list;
}

TEST(Census, FiguresOfTheHandMadeWorld) {
    CensusWorld world;
    const ServerFigures f = take_census(world.options);

    const AccountFigures& a = f.accounts;
    EXPECT_EQ(a.accounts, 8);
    EXPECT_EQ(a.server_accounts, 2);
    EXPECT_EQ(a.players, 6);
    EXPECT_EQ(a.never_logged_in, 1);
    EXPECT_EQ(a.by_month,
              (std::map<std::string, long long>{{"2004-05", 2}, {"2004-06", 1}, {"2004-07", 2}}));
    EXPECT_EQ(a.banned, 2);   // carol by her state, frank until 2033
    EXPECT_EQ(a.expired, 1);  // erin

    const CharacterFigures& c = f.characters;
    EXPECT_EQ(c.characters, 6);
    EXPECT_EQ(c.by_class, (std::map<std::int32_t, long long>{
                              {0, 1}, {7, 1}, {10, 1}, {23, 1}, {4002, 1}, {4008, 1}}));
    EXPECT_EQ(c.by_family[static_cast<std::size_t>(JobFamily::Swordman)], 3);
    EXPECT_EQ(c.by_family[static_cast<std::size_t>(JobFamily::Merchant)], 1);
    EXPECT_EQ(c.by_family[static_cast<std::size_t>(JobFamily::SuperNovice)], 1);
    EXPECT_EQ(c.by_level, (std::map<std::int32_t, long long>{
                              {1, 1}, {12, 1}, {45, 1}, {55, 1}, {90, 1}, {99, 1}}));

    EXPECT_EQ(f.economy.zeny, 2000601);
    EXPECT_EQ(f.economy.median, 250.5);  // between 201 and 300
    EXPECT_EQ(f.economy.top_percent_characters, 1);
    EXPECT_EQ(f.economy.top_percent_zeny, 1000000);
    // Equal zeny ranks the lower id first: Aria before Dara, Cale before Eve, bob before erin.
    EXPECT_EQ(ids(f.top_characters),
              (std::vector<std::int32_t>{150000, 150003, 150001, 150005, 150002, 150004}));
    EXPECT_EQ(ids(f.top_accounts),
              (std::vector<std::int32_t>{2000000, 2000002, 2000005, 2000001, 2000004}));
    // alice's characters stand apart in the file (Brom after Dara), and still add up.
    EXPECT_EQ(f.top_accounts[0].value, 1000300);
    EXPECT_EQ(f.top_accounts[0].characters, 2);
    EXPECT_EQ(f.top_accounts[0].name, "alice");

    const GroupFigures& g = f.groups;
    EXPECT_EQ(g.guilds, 2);
    EXPECT_EQ(g.guilds_by_members, (std::map<int, long long>{{1, 1}, {2, 1}}));
    EXPECT_EQ(g.guilds_by_level, (std::map<std::int32_t, long long>{{1, 1}, {2, 1}}));
    ASSERT_EQ(g.castles.size(), 2u);
    EXPECT_EQ(g.castles[0].guild_name, "Iron Wolves");
    EXPECT_EQ(castle_name(g.castles[1].castle_id), "Kriemhild");
    EXPECT_EQ(g.castles[1].guild_name, "Green Thumbs");
    EXPECT_EQ(g.parties, 2);
    EXPECT_EQ(g.parties_by_members, (std::map<int, long long>{{1, 1}, {3, 1}}));

    EXPECT_TRUE(f.notes.complete());
    EXPECT_EQ(f.notes.unreadable, 2);
    ASSERT_EQ(f.notes.unreadable_lines.size(), 2u);
    EXPECT_EQ(f.notes.unreadable_lines[0].file, "save/athena.txt");
    EXPECT_EQ(f.notes.unreadable_lines[0].line, 5u);
    EXPECT_EQ(f.notes.unreadable_lines[1].file, "save/account.txt");
    EXPECT_EQ(f.notes.unreadable_lines[1].line, 9u);
}

TEST(Census, RankingsByLevelAndExperience) {
    CensusWorld world;
    world.options.rank_by = RankBy::Level;
    world.options.top = 2;
    ServerFigures f = take_census(world.options);
    EXPECT_EQ(ids(f.top_characters), (std::vector<std::int32_t>{150001, 150000}));
    EXPECT_EQ(f.top_characters[0].value, 99070);
    EXPECT_EQ(f.top_accounts[0].value, 99070);  // an account's best, not a sum

    world.options.rank_by = RankBy::Exp;
    f = take_census(world.options);
    EXPECT_EQ(ids(f.top_accounts), (std::vector<std::int32_t>{2000000, 2000002}));
    EXPECT_EQ(f.top_accounts[0].value, 6000);
}

TEST(Census, EveryHolderOfAnItem) {
    CensusWorld world;
    const ItemHolders potions = find_holders(world.options.folder, 501);
    EXPECT_EQ(potions.total, 62);
    EXPECT_EQ(potions.total_by_place, (std::array<long long, kHeldInPlaces>{20, 5, 30, 7}));
    std::vector<std::pair<HeldIn, std::int32_t>> holders;
    for (const Holding& h : potions.holdings) holders.emplace_back(h.place, h.holder_id);
    EXPECT_EQ(holders, (std::vector<std::pair<HeldIn, std::int32_t>>{{HeldIn::Store, 2000001},
                                                                     {HeldIn::Inventory, 150000},
                                                                     {HeldIn::Inventory, 150003},
                                                                     {HeldIn::GuildStorage, 10001},
                                                                     {HeldIn::Cart, 150001}}));
    EXPECT_EQ(potions.holdings[0].holder_name, "bob");
    // The guild storage opens on its master.
    EXPECT_EQ(potions.holdings[3].holder_name, "Iron Wolves");
    EXPECT_EQ(potions.holdings[3].char_id, 150000);
    EXPECT_EQ(potions.notes.unreadable, 1);

    // The smith of the knife stands after its holder in athena.txt; the pet of the egg in pet.txt.
    const ItemHolders knives = find_holders(world.options.folder, 1201);
    ASSERT_EQ(knives.holdings.size(), 1u);
    EXPECT_EQ(knives.holdings[0].item.refine, 3);
    EXPECT_EQ(knives.names.characters.at(150003), "Dara");
    EXPECT_EQ(find_holders(world.options.folder, 9001).names.pets.at(1), "Pudding");
    EXPECT_TRUE(find_holders(world.options.folder, 4001).holdings.empty());
}

// The figures as the tests compare them: the whole result, names and notes included.
std::string figures_text(const ServerFigures& f) {
    std::string text = std::to_string(f.characters.characters) + " " +
                       std::to_string(f.economy.zeny) + " " + std::to_string(f.economy.median);
    for (const auto& [id, count] : f.characters.by_class) text += " c" + std::to_string(id);
    for (const Ranked& r : f.top_characters) text += " " + r.name;
    for (const Ranked& r : f.top_accounts) text += " " + r.name + std::to_string(r.value);
    for (const UnreadableLine& line : f.notes.unreadable_lines) {
        text += " " + line.file + ":" + std::to_string(line.line);
    }
    return text;
}

std::string holders_text(const ItemHolders& h) {
    std::string text = std::to_string(h.total) + " " + std::to_string(h.notes.unreadable);
    for (const Holding& holding : h.holdings) {
        text += " " + holding.holder_name + "/" + std::to_string(holding.item.amount);
    }
    for (const auto& [id, name] : h.names.characters) text += " maker " + name;
    return text;
}

// athena.txt read in two halves, the second on a thread of its own, gives what one pass gives:
// the halves meet at a line break, and a damaged line in the second half keeps its number in
// the file. So do files whose lines end in CR LF.
TEST(Census, HalvesAndLineEndsGiveTheSameFigures) {
    CensusWorld world;
    const std::string figures = figures_text(take_census(world.options));
    const std::string potions = holders_text(find_holders(world.options.folder, 501));
    const std::string knives = holders_text(find_holders(world.options.folder, 1201));
    EXPECT_NE(figures.find("save/athena.txt:5"), std::string::npos);
    EXPECT_NE(knives.find("maker Dara"), std::string::npos);

    const auto same_figures = [&](const char* what) {
        SCOPED_TRACE(what);
        for (const std::uint64_t split_from : {std::uint64_t{1}, kSplitFrom}) {
            world.options.split_from = split_from;
            EXPECT_EQ(figures_text(take_census(world.options)), figures);
            EXPECT_EQ(
                holders_text(find_holders(world.options.folder, 501, {}, nullptr, split_from)),
                potions);
            EXPECT_EQ(
                holders_text(find_holders(world.options.folder, 1201, {}, nullptr, split_from)),
                knives);
        }
    };
    same_figures("LF");
    for (const auto& entry : fs::directory_iterator(world.dir.path() / "save")) {
        std::string text = read_file(entry.path()), crlf;
        for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        world.dir.write("save/" + entry.path().filename().string(), crlf);
    }
    same_figures("CR LF");
}

std::string character_line(std::int32_t id, const std::string& name,
                           const std::string& inventory = "") {
    return std::to_string(id) + "\t2000000,0\t" + name +
           "\t0,1,1\t0,0,50\t500,500,50,50\t9,9,9,9,9,9\t0,0\t0,0,0\t1,0,0\t1,1,0\t1201,0,0,0,0\t"
           "prontera.gat,156,191\tprontera.gat,156,191,0\t\t" +
           inventory + "\t\t1,9 \t\t";
}

std::string knife_by(std::int32_t maker) {
    return "1,1201,1,0,1,0,0,255,0," + std::to_string(maker & 0xffff) + "," +
           std::to_string(maker >> 16) + " ";
}

// Smiths whose lines come before the knives they made (or lie in the other half of athena.txt
// than the stores' knives) are named from the first line of their id, wherever it stands: among
// lines out of order, after a comment, on a damaged line, on the last line without its break. A
// smith without a line stays unnamed.
TEST(Census, SmithsNamedFromLinesBeforeTheirKnives) {
    std::vector<std::string> lines = {character_line(150101, "Hild"), "// moved", ""};
    for (std::int32_t id = 150290; id > 150200; id -= 10) lines.push_back(character_line(id, "x"));
    lines.push_back("150102\t2000009,0\tIvo");
    lines.push_back(character_line(150101, "Later"));
    for (std::int32_t id = 150210; id < 150290; id += 10) lines.push_back(character_line(id, "y"));
    lines.push_back(
        character_line(150300, "Holder", knife_by(150101) + knife_by(150102) + knife_by(150103)));
    lines.push_back(character_line(150104, "Jory"));
    for (std::int32_t id = 150310; id < 150380; id += 10) lines.push_back(character_line(id, "z"));
    lines.push_back(character_line(150105, "Kell"));
    const std::unordered_map<std::int32_t, std::string> smiths = {
        {150101, "Hild"}, {150102, "Ivo"}, {150104, "Jory"}, {150105, "Kell"}};
    for (const std::string line_break : {"\n", "\r\n"}) {
        std::string text;
        for (const std::string& line : lines) text += line + line_break;
        text.resize(text.size() - line_break.size());
        TempDir dir;
        dir.write("save/athena.txt", text);
        dir.write("save/storage.txt", "2000000,2\t" + knife_by(150104) + knife_by(150105) + "\t\n");
        for (const std::uint64_t split_from : {std::uint64_t{1}, kSplitFrom}) {
            SCOPED_TRACE(line_break.size() + split_from);
            const ItemHolders found = find_holders(dir.path(), 1201, {}, nullptr, split_from);
            EXPECT_EQ(found.total, 5);
            EXPECT_EQ(found.names.characters, smiths);
            EXPECT_EQ(found.notes.unreadable, 1);
        }
        // Without athena.txt the stores' knives are found and their smiths left unnamed.
        fs::remove(dir.path() / "save/athena.txt");
        const ItemHolders found = find_holders(dir.path(), 1201);
        EXPECT_EQ(found.total, 2);
        EXPECT_TRUE(found.names.characters.empty());
        EXPECT_TRUE(found.notes.complete());
    }
}

// A store of knives by many smiths, each named from its own line.
// The index of lines read again: each id is found in a block that holds its line, also once
// the blocks have been joined to stay within their number.
TEST(Census, LineBlocksFindTheLinesOfAnIdAfterJoining) {
    for (const std::size_t most : {std::size_t{4}, LineBlocks::kMostBlocks}) {
        SCOPED_TRACE(most);
        LineBlocks blocks(most);
        std::vector<std::uint64_t> starts;
        std::uint64_t offset = 0;
        for (std::size_t number = 1; number <= 301; ++number) {
            const std::string line(10 + number % 7, 'x');
            starts.push_back(offset);
            // Every third line a comment; ids out of order.
            const std::optional<std::int32_t> id =
                number % 3 == 0 ? std::nullopt
                                : std::optional<std::int32_t>(150000 + (number * 37) % 301);
            blocks.add(number, offset, line, id);
            offset += line.size() + 1;
        }
        std::size_t blocks_seen = 0, lines_seen = 0;
        blocks.each_holding({}, [&](std::uint64_t, std::uint64_t, std::size_t) { ++blocks_seen; });
        EXPECT_EQ(blocks_seen, 0u);
        for (std::size_t number = 1; number <= 301; ++number) {
            if (number % 3 == 0) continue;
            bool found = false;
            blocks.each_holding({150000 + static_cast<std::int32_t>((number * 37) % 301)},
                                [&](std::uint64_t from, std::uint64_t to, std::size_t lines) {
                                    found |= from <= starts[number - 1] && starts[number - 1] < to;
                                    lines_seen += lines;
                                });
            EXPECT_TRUE(found) << number;
        }
        // Joined blocks stay within their number: 301 lines in at most 4 blocks of 128 lines.
        blocks_seen = 0;
        std::vector<std::int32_t> all;
        for (std::int32_t id = 150000; id < 150301; ++id) all.push_back(id);
        blocks.each_holding(all, [&](std::uint64_t, std::uint64_t, std::size_t lines) {
            ++blocks_seen;
            lines_seen = lines;
        });
        EXPECT_EQ(blocks_seen, most == 4 ? 3u : 38u);
        EXPECT_EQ(lines_seen, most == 4 ? 45u : 5u);  // the last block's
    }
}

TEST(Census, ManySmithsNamed) {
    std::string store = "2000000,700\t", athena;
    for (std::int32_t id = 150000; id < 150700; ++id) {
        store += knife_by(id);
        athena += character_line(id, "S" + std::to_string(id)) + "\n";
    }
    TempDir dir;
    dir.write("save/storage.txt", store + "\t\n");
    dir.write("save/athena.txt", athena);
    const ItemHolders found = find_holders(dir.path(), 1201, {}, nullptr, 1);
    EXPECT_EQ(found.total, 700);
    ASSERT_EQ(found.names.characters.size(), 700u);
    EXPECT_EQ(found.names.characters.at(150000), "S150000");
    EXPECT_EQ(found.names.characters.at(150699), "S150699");
}

// Only an item whose id is the one sought counts: not one whose id holds its digits, nor a
// card, an amount or a slot of that number; a damaged entry elsewhere in the list does not
// make the line unreadable, one that may be the item does.
TEST(Census, HoldersOfTheIdAlone) {
    TempDir dir;
    dir.write(
        "save/storage.txt",
        "2000000,3\t1,5010,1,0,1,0,0,0,0,0,0 2,1501,2,0,1,0,0,501,0,0,0 501,7,501,0,1,0,0,0,0,0,0 "
        "4,501,4,0,1,0,0,0,0,0,0\t\n"
        "2000001,2\t1,x,1,0 2,501,9,0,1,0,0,0,0,0,0\t\n"
        "2000002,1\t1,+501,1,0\t\n");
    const ItemHolders found = find_holders(dir.path(), 501);
    EXPECT_EQ(found.total, 13);
    ASSERT_EQ(found.holdings.size(), 2u);
    EXPECT_EQ(found.holdings[0].holder_id, 2000001);
    EXPECT_EQ(found.holdings[1].item.id, 4);
    EXPECT_EQ(found.notes.unreadable, 1);
    EXPECT_EQ(found.notes.unreadable_lines[0].line, 3u);
    EXPECT_EQ(find_holders(dir.path(), 5010).total, 1);
    EXPECT_EQ(find_holders(dir.path(), 1501).total, 2);
}

// The sweeps over a line find the fields the TAB by TAB search finds and the places a plain
// search finds, whatever the line's length and wherever what they look for falls against the
// sixteen bytes swept at once.
TEST(Census, SweepsOverALine) {
    for (const std::string_view part : {"501", "55", "1201", "5"}) {
        for (std::size_t length = 0; length <= 40; ++length) {
            for (std::size_t at = 0; at + part.size() <= length; at += 3) {
                std::string text(length, '5');
                for (std::size_t i = 1; i < length; i += 2) text[i] = ',';
                text.replace(at, part.size(), part);
                for (std::size_t from : {std::size_t{0}, at, at + 1, length}) {
                    EXPECT_EQ(find_part(text, part, from), std::string_view(text).find(part, from))
                        << text << " " << part << " " << from;
                }
            }
        }
    }
    for (std::size_t tabs = 16; tabs <= 21; ++tabs) {
        for (std::size_t width = 0; width <= 17; ++width) {
            std::string line;
            for (std::size_t i = 0; i < tabs; ++i) {
                line += std::string((i * 7 + width) % (width + 1), 'x') + '\t';
            }
            line += std::string(width, 'y');
            CharacterFields searched, swept;
            const bool whole = character_fields(line, searched);
            ASSERT_EQ(character_fields_swept(line, swept), whole) << tabs << " " << width;
            if (!whole) continue;
            EXPECT_EQ(swept.field, searched.field) << tabs << " " << width;
            EXPECT_EQ(swept.tail, searched.tail) << tabs << " " << width;
        }
    }
}

TEST(Census, EmptyServerAndFilesNotReadWhole) {
    TempDir dir;
    for (const char* file : {"account.txt", "athena.txt", "guild.txt", "party.txt", "castle.txt",
                             "storage.txt", "g_storage.txt"}) {
        dir.write(std::string("save/") + file, "");
    }
    CensusOptions options;
    options.folder = dir.path();
    ServerFigures empty = take_census(options);
    EXPECT_EQ(empty.accounts.accounts, 0);
    EXPECT_EQ(empty.characters.characters, 0);
    EXPECT_EQ(empty.economy.median, 0);
    EXPECT_TRUE(empty.top_characters.empty());
    EXPECT_TRUE(empty.notes.complete());
    EXPECT_EQ(find_holders(dir.path(), 501).total, 0);

    // A folder where athena.txt belongs: the figures say so, and the other files still count.
    fs::remove(dir.path() / "save/athena.txt");
    fs::create_directory(dir.path() / "save/athena.txt");
    dir.write("save/account.txt", "2000000\talice\tpw\t-\tM\t0\t0\t\n");
    const ServerFigures cut = take_census(options);
    ASSERT_EQ(cut.notes.incomplete.size(), 1u);
    EXPECT_EQ(cut.notes.incomplete[0].file, "save/athena.txt");
    EXPECT_EQ(cut.accounts.players, 1);
    EXPECT_FALSE(find_holders(dir.path(), 501).notes.complete());
}

TEST(Census, ReportsProgressAndStopsWhenAsked) {
    CensusWorld world;
    long long lines = 0;
    take_census(world.options, [&](long long read) { lines = read; });
    EXPECT_EQ(lines, 10 + 8 + 20 + 2 + 2);  // account, athena, castle, guild, party
    std::atomic<bool> stop{true};
    EXPECT_THROW(take_census(world.options, {}, &stop), CensusStopped);

    // The stores are read beside athena.txt: their lines are counted, and so is the stop.
    find_holders(world.options.folder, 501, [&](long long read) { lines = read; });
    EXPECT_EQ(lines, 1 + 1 + 8 + 10 + 2);  // storage, guild storage, athena, account, guild
    EXPECT_THROW(find_holders(world.options.folder, 501, {}, &stop), CensusStopped);
}

// The damaged lines are named in the order of the files, stores first, though the stores are
// read beside athena.txt.
TEST(Census, DamagedLinesNamedInTheOrderOfTheFiles) {
    CensusWorld world;
    world.dir.write("save/storage.txt", read_file(world.dir.path() / "save/storage.txt") +
                                            "x,1\t1,501,1,0,1,0,0,0,0,0,0 \t\n");
    for (const std::uint64_t split_from : {std::uint64_t{1}, kSplitFrom}) {
        const ItemHolders found = find_holders(world.options.folder, 501, {}, nullptr, split_from);
        ASSERT_EQ(found.notes.unreadable_lines.size(), 2u);
        EXPECT_EQ(found.notes.unreadable_lines[0].file, "save/storage.txt");
        EXPECT_EQ(found.notes.unreadable_lines[0].line, 2u);
        EXPECT_EQ(found.notes.unreadable_lines[1].file, "save/athena.txt");
        EXPECT_EQ(found.notes.unreadable_lines[1].line, 5u);
    }
}

}  // namespace
}  // namespace tavo
