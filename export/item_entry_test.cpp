#include "export/item_entry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tavo::sqlx {
namespace {

// What the sweep must agree with, read the plain way: the entry up to the next blank, 11 or 12
// numbers of digits only, none empty and none with a leading zero.
bool reference(const std::string& list, std::size_t at, std::vector<std::string>& numbers) {
    const std::size_t stop = std::min(list.find(' ', at), list.size());
    const std::string entry = list.substr(at, stop - at);
    numbers.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = std::min(entry.find(',', from), entry.size());
        const std::string n = entry.substr(from, comma - from);
        if (n.empty() || (n[0] == '0' && n.size() > 1)) return false;
        for (const char c : n) {
            if (c < '0' || c > '9') return false;
        }
        numbers.push_back(n);
        if (comma == entry.size()) break;
        from = comma + 1;
    }
    return entry.size() <= ItemEntryText::kMost && (numbers.size() == 11 || numbers.size() == 12);
}

void expect_same(const std::string& list, std::size_t at) {
    std::vector<std::string> numbers;
    const bool expected = reference(list, at, numbers);
    ItemEntryText e;
    const char* const start = list.data() + at;
    ASSERT_EQ(read_item_entry(start, list.data() + list.size(), e), expected)
        << "\"" << list.substr(at) << "\"";
    if (!expected) return;
    ASSERT_EQ(e.count, numbers.size()) << list;
    for (std::size_t i = 0; i < e.count; ++i) EXPECT_EQ(e.number(start, i), numbers[i]) << list;
    EXPECT_EQ(start[e.length] == ' ' || at + e.length == list.size(), true) << list;
    EXPECT_EQ(e.numbers(start, 1, 10).size(),
              e.length - numbers[0].size() - 1 - (e.count == 12 ? numbers[11].size() + 1 : 0));
}

TEST(ItemEntry, TheSweepReadsWhatANumberByNumberReadingReads) {
    for (const char* list :
         {"1,501,5,0,1,0,0,0,0,0,0",  // the list's last entry
          "1,501,5,0,1,0,0,0,0,0,0 2,502,1,0,1,0,0,0,0,0,0",
          "12,2101,1,0,1,0,0,4045,0,0,0,0",                        // a broken flag
          "1,1116,007,34,1,7,0,4035,4035,0,0",                     // a leading zero
          "1,1117,1,0,1,0,0,65535,40000,-0,0",                     // a sign
          "1,501,5,0,1,0,0,0,0,0", "1,501,5,0,1,0,0,0,0,0,0,0,0",  // 10 and 13 numbers
          "1,501,,0,1,0,0,0,0,0,0", ",501,5,0,1,0,0,0,0,0,0", "1,501,5,0,1,0,0,0,0,0,",
          "1,501,5,0,1,0,0,0,0,0,0\t", "1,5x1,5,0,1,0,0,0,0,0,0", "1,501,5,0,1,0,0,0,0,0,\xb0",
          "10000,1000000,1000000,1000000,1,10,1,100000,100000,100000,100000",  // 64 bytes
          "10000,1000000,1000000,100000,1,10,1,100000,100000,100000,100000",   // 63 bytes
          "0,0,0,0,0,0,0,0,0,0,0", " 1,501,5,0,1,0,0,0,0,0,0", ""}) {
        expect_same(list, 0);
    }
}

TEST(ItemEntry, RandomEntriesOfEveryLengthAgreeWithTheNumberByNumberReading) {
    std::mt19937 random(26);
    const std::string bytes = "0123456789,,,0000 -x";
    for (int round = 0; round < 20000; ++round) {
        // Mostly well-formed lists, with a byte changed now and then.
        std::string list;
        const int entries = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < entries; ++e) {
            if (e > 0) list += ' ';
            const int count = 10 + static_cast<int>(random() % 4);
            for (int i = 0; i < count; ++i) {
                if (i > 0) list += ',';
                list += std::to_string(random() % (random() % 2 ? 10 : 10000000));
            }
        }
        for (int changes = static_cast<int>(random() % 3); changes > 0; --changes) {
            list[random() % list.size()] = bytes[random() % bytes.size()];
        }
        for (std::size_t at = 0; at < list.size(); ++at) {
            if (at == 0 || list[at - 1] == ' ') expect_same(list, at);
        }
    }
}

}  // namespace
}  // namespace tavo::sqlx
