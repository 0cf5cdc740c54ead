#pragma once
// Removing characters from save/athena.txt at once (with a backup).

#include <cstdint>
#include <string>
#include <vector>

#include "app/server_generation.h"

namespace tavo {

struct AppContext;
class AtomicWriter;
class Ui;

// A character leaving with its account: what its party, guild and pet releases need.
struct LeavingCharacter {
    std::int32_t char_id = 0;
    std::string party_guild_pet;  // field 9 of its line
    std::string items;            // fields 15 and 16, the inventory and the cart, as one list
};

// Removes every character line of the account; every other line stays in its place, a %newid%
// line too. For the ".52" and "1.0.0" generations a file without a %newid% line gets one at its
// end. True when the file was written (or there was nothing to do).
bool delete_user_char(const AppContext& app, Ui& ui, ServerGeneration server_generation,
                      std::int32_t account_id);

// The same removal written into `out` (the new athena.txt, not yet in place); the characters
// that left are returned for their releases.
std::vector<LeavingCharacter> write_without_account(const AppContext& app, AtomicWriter& out,
                                                    ServerGeneration server_generation,
                                                    std::int32_t account_id);

}  // namespace tavo
