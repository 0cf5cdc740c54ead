#pragma once
// Removing characters from save/athena.txt: the lines of the characters decided up front go in
// one rewrite, however many they are; every other line stays in its place.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/server_generation.h"

namespace tavo {

struct AppContext;
class AtomicWriter;

// Who leaves athena.txt: every character of the accounts named, and the characters named.
class LeavingSet {
public:
    void add_account(std::int32_t account_id) { accounts_.insert(account_id); }
    void add_character(std::int32_t char_id) { characters_.insert(char_id); }
    bool empty() const { return accounts_.empty() && characters_.empty(); }
    // Whether the line of a character with these numbers (as read from its line) goes.
    bool takes(double account_id, double char_id) const;

private:
    std::unordered_set<std::int32_t> accounts_;
    std::unordered_set<std::int32_t> characters_;
};

// A character that leaves: what its party, guild, pet and friends releases need.
struct LeavingCharacter {
    std::int32_t account_id = 0;
    std::int32_t char_id = 0;
    std::string party_guild_pet;  // field 9 of its line
    std::string items;            // fields 15 and 16, the inventory and the cart, as one list
};

// athena.txt without the leaving characters, written into `out` (the new file, not yet in
// place); the characters that left are returned for their releases. A %newid% line stays where
// it is. For the ".52" and "1.0.0" generations a file without one gets one at its end, above
// every id the file held, the leaving ones included: the server must never give a deleted
// character's id to a new one, which would inherit its forged items, pets and guild places.
std::vector<LeavingCharacter> write_without_characters(const AppContext& app, AtomicWriter& out,
                                                       ServerGeneration server_generation,
                                                       const LeavingSet& leaving);

}  // namespace tavo
