#include "characters/character_lookup.h"

#include <gtest/gtest.h>

#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

// Read lazily, athena.txt gives the answers its index gives: first lines win over later ones of
// the same id, a number written another way is the same character, lines that are not
// characters are passed over.
constexpr std::string_view kAthena =
    "150000\t2000001,0\tAyla\t1\n"
    "// a comment\n"
    "0150001\t2000001,1\tBram\t1\n"
    "150002\t2000002,0\tCora\t1\r\n"
    "150000\t2000003,0\tAyla Again\t1\n"
    "broken line\n"
    "150001\t2000002,1\tBram Two\t1\n"
    "150003\t2000001,2\tDane\t1\n"
    "150004\t%newid%\n";

struct Answers {
    std::vector<std::optional<std::string>> lines, names;
    std::vector<std::vector<double>> accounts;
    bool operator==(const Answers&) const = default;
};

Answers ask(CharacterLookup& lookup, const fs::path& athena) {
    Answers a;
    for (const char* id : {"150003", "150000", "0150001", "150001", "150004", "999"}) {
        a.lines.push_back(lookup.line_with_id(athena, id));
    }
    lookup.find_names(athena, {150002, 150001, 999});
    for (const std::int32_t id : {150001, 150000, 150002, 150003, 150004, 999}) {
        a.names.push_back(lookup.name_of(athena, id));
    }
    for (const double account : {2000002.0, 2000001.0, 5.0}) {
        std::vector<double> ids;
        for (const CharacterEntry* e : lookup.of_account(athena, account).of_account(account)) {
            ids.push_back(e->char_id);
        }
        a.accounts.push_back(ids);
    }
    return a;
}

TEST(CharacterLookup, ReadLazilyItAnswersAsTheIndexDoes) {
    testing::TempDir dir;
    const fs::path athena = dir.write("athena.txt", kAthena);
    CharacterLookup indexed, lazy;
    lazy.read_lazily(true);
    const Answers whole = ask(indexed, athena);
    EXPECT_EQ(ask(lazy, athena), whole);
    EXPECT_EQ(whole.lines[1], "150000\t2000001,0\tAyla\t1");
    EXPECT_EQ(whole.names[0], "Bram");  // 0150001 holds the number 150001 first
    EXPECT_EQ(whole.accounts[1], (std::vector<double>{150000, 150001, 150003}));

    // A file changed since is read anew.
    dir.write("athena.txt", "150003\t2000001,2\tDane Renamed\t1\n");
    EXPECT_EQ(lazy.name_of(athena, 150003), "Dane Renamed");
    EXPECT_EQ(lazy.line_with_id(athena, "150000"), std::nullopt);
}

}  // namespace
}  // namespace tavo
