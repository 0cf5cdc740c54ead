// The server check's own readers against plain ones: item lists as the server reads them,
// TAB splitting across the blocks the fast readers work in, and the name table with its late adds.

#include "check/check_support.h"

#include <gtest/gtest.h>

#include <random>

#include "check/check_world.h"
#include "testsupport/temp_dir.h"

namespace tavo::check {
namespace {

// The server's item list reading, one byte at a time: the count, or -1 for a malformed item.
long long plain_item_count(std::string_view list) {
    long long items = 0;
    std::size_t i = 0;
    const auto digit = [&](std::size_t at) { return list[at] >= '0' && list[at] <= '9'; };
    while (i < list.size()) {
        if (list[i] == ' ') {
            ++i;
            continue;
        }
        int values = 0;
        for (;;) {
            if (i < list.size() && list[i] == '-') ++i;
            const std::size_t first = i;
            while (i < list.size() && digit(i)) ++i;
            if (i == first) return -1;
            ++values;
            if (i == list.size() || list[i] == ' ') break;
            if (list[i] != ',') return -1;
            ++i;
        }
        if (values != 11 && values != 12) return -1;
        ++items;
    }
    return items;
}

std::string items(int count, int values = 11) {
    std::string list;
    for (int i = 0; i < count; ++i) {
        for (int v = 0; v < values; ++v) {
            if (v > 0) list += ',';
            list += std::to_string(i * 7 + v);
        }
        list += ' ';
    }
    return list;
}

TEST(CheckItemCount, ReadsItemListsAsTheServerDoes) {
    const std::pair<std::string, long long> cases[] = {
        {"", 0},
        {"   ", 0},
        {items(1), 1},
        {items(3, 12), 3},
        {"1,2,3,4,5,6,7,8,9,10,11", 1},  // no blank after the last item
        {"  1,2,3,4,5,6,7,8,9,10,11    1,2,3,4,5,6,7,8,9,10,11 ", 2},
        {"1,501,1,0,1,0,0,255,-30808,-5,0 ", 1},
        {items(1, 10), -1},
        {items(1, 13), -1},
        {"1,2,3,4,5,6,7,8,9,10,11, ", -1},  // a hanging comma
        {"1,2,3,4,5,6,7,8,9,10,- ", -1},
        {"1,2,3,4,5,6,7,8,9,10-11 ", -1},
        {"1,2,3,4,5,6,7,8,9,10,--11 ", -1},
        {"1,2,3,4,5,6,7,8,9,,10,11 ", -1},
        {",1,2,3,4,5,6,7,8,9,10 ", -1},
        {"1,2,3,4,5,6,7,8,9,10,1x ", -1},
        {"1,2,3,4,5,6,7,8,9,10,1\t", -1},
        {"1,2,3,4,5,6,7,8,9,10,\xb9 ", -1},
    };
    for (const auto& [list, count] : cases) {
        EXPECT_EQ(item_count(list), count) << '"' << list << '"';
        EXPECT_EQ(plain_item_count(list), count) << '"' << list << '"';
    }
}

TEST(CheckItemCount, AgreesWithThePlainReaderAtEveryBlockEdge) {
    // Lists of many lengths around the 64-byte blocks, each then broken at one byte.
    std::mt19937 random(7);
    const std::string bytes = "0123456789,- ,,  --x";
    for (int count = 0; count < 12; ++count) {
        for (int values : {11, 12}) {
            const std::string list = items(count, values);
            for (std::size_t cut = 0; cut <= list.size(); ++cut) {
                const std::string head = list.substr(0, cut);
                ASSERT_EQ(item_count(head), plain_item_count(head)) << '"' << head << '"';
            }
            for (int round = 0; round < 40 && !list.empty(); ++round) {
                std::string broken = list;
                broken[random() % broken.size()] = bytes[random() % bytes.size()];
                ASSERT_EQ(item_count(broken), plain_item_count(broken)) << '"' << broken << '"';
            }
        }
    }
}

TEST(CheckIntegerFields, AgreesWithReadingEachFieldAlone) {
    // A run of character number fields, whole and then broken at each byte in several ways.
    const std::uint8_t counts[] = {3, 3, 4, 6, 2, 3, 3, 3, 5};
    const std::string run =
        "4023,66,1\t16500,23412,1263889\t1260,1558,287,736\t5,10,91,77,45,59\t35,5\t0,0,0\t"
        "0,-12,0\t9,2,2\t11,11,0,0,1234567";
    const auto field_by_field = [&](const std::string& text) {
        std::vector<std::string_view> pieces;
        split_tabs(text, pieces);
        if (pieces.size() != std::size(counts)) return false;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!integers(pieces[i], counts[i])) return false;
        }
        return true;
    };
    EXPECT_TRUE(integer_fields(run, counts));
    EXPECT_FALSE(integer_fields(run + "\t", counts));
    EXPECT_FALSE(integer_fields(run.substr(0, run.rfind('\t')), counts));
    EXPECT_FALSE(integer_fields("", counts));
    for (const std::string& text : {run, run + "0,0,0\t" + run}) {
        for (std::size_t at = 0; at < text.size(); ++at) {
            for (const char c : std::string("\t,-9x\r")) {
                std::string broken = text;
                broken[at] = c;
                ASSERT_EQ(integer_fields(broken, counts), field_by_field(broken)) << broken;
            }
            const std::string shorter = text.substr(0, at) + text.substr(at + 1);
            ASSERT_EQ(integer_fields(shorter, counts), field_by_field(shorter)) << shorter;
        }
    }
}

TEST(CheckSplitTabs, CutsAtEveryTabWhereverItFalls) {
    std::vector<std::string_view> pieces;
    for (std::size_t length = 0; length < 200; ++length) {
        std::string line(length, 'a');
        for (std::size_t at = 0; at < length; at += 1 + at % 7) line[at] = '\t';
        split_tabs(line, pieces);
        std::size_t tabs = 0;
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].find('\t'), std::string_view::npos);
            joined += std::string(i > 0 ? "\t" : "") + std::string(pieces[i]);
        }
        for (const char c : line) tabs += c == '\t' ? 1 : 0;
        EXPECT_EQ(pieces.size(), tabs + 1);
        EXPECT_EQ(joined, line);
    }
}

TEST(CheckNameTable, FindsEachNameThroughGrowthAndReportsLateAddsWhereTheyBelong) {
    NameTable table;
    for (long long i = 0; i < 5000; ++i) {
        EXPECT_FALSE(table.insert("name" + std::to_string(i), i));
    }
    EXPECT_EQ(table.insert("name42", 9), 42);  // the first holder stays
    EXPECT_EQ(table.find("name4999"), 4999);
    EXPECT_FALSE(table.find("name5000"));
    EXPECT_FALSE(table.find("name"));

    std::vector<Finding> out;
    Gathered found(out);
    std::vector<std::pair<std::size_t, long long>> reported;
    LateNames late(table, found,
                   [&](std::string_view name, long long held, std::size_t line, std::size_t index) {
                       EXPECT_EQ(name, "name7");
                       reported.push_back({line, held});
                       found.add_at(index, Problem::DuplicateCharName, "save/athena.txt", line,
                                    "taken");
                   });
    late.add("fresh", 1, 10);
    found.add(Problem::MissingParty, "save/athena.txt", 10, "after the name");
    late.add("name7", 2, 11);
    found.add(Problem::MissingGuild, "save/athena.txt", 11, "after the name");
    EXPECT_TRUE(reported.empty());  // not added before the next line or the end
    late.settle();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], (std::pair<std::size_t, long long>{11, 7}));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].problem, Problem::DuplicateCharName);
    EXPECT_EQ(out[2].problem, Problem::MissingGuild);
}

// A file read in two parts is cut right after an LF: there a line starts, whatever the file's
// line ends; a file without an LF after the point is not cut.
TEST(CheckHalves, AreCutWhereALineStarts) {
    testing::TempDir dir;
    dir.write("mixed.txt", "ab\r\ncd\nef");
    const fs::path mixed = dir.path() / "mixed.txt";
    EXPECT_EQ(line_start_from(mixed, 0), 0u);
    EXPECT_EQ(line_start_from(mixed, 1), 4u);
    EXPECT_EQ(line_start_from(mixed, 3), 4u);  // between CR and LF
    EXPECT_EQ(line_start_from(mixed, 4), 4u);  // at a line's start already
    EXPECT_EQ(line_start_from(mixed, 5), 7u);
    EXPECT_EQ(line_start_from(mixed, 8), 9u);  // the last line has no break
    dir.write("old_mac.txt", "a\rb\rc");
    EXPECT_EQ(line_start_from(dir.path() / "old_mac.txt", 2), 5u);
}

}  // namespace
}  // namespace tavo::check
