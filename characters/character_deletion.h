#pragma once
// Removing characters from save/athena.txt at once (with a backup).

#include <cstdint>

#include "app/server_generation.h"

namespace tavo {

struct AppContext;
class Ui;

// Removes every character line of the account. Lines of fewer than three fields (blank lines,
// the old %newid% line) go too; for the ".52" and "1.0.0" generations a fresh %newid% line
// ends the file. True when the file was written (or there was nothing to do).
bool delete_user_char(const AppContext& app, Ui& ui, ServerGeneration server_generation,
                      std::int32_t account_id);

}  // namespace tavo
