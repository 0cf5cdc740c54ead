#pragma once
// The two server limits the editor takes from conf/battle_athena.conf.

#include <cstdint>

namespace tavo {

struct AppContext;
class Ui;

struct BattleLimits {
    std::int32_t max_cart_weight = 8000;
    std::int32_t max_parameter = 99;
};

// Resets the limits to the server's defaults, then reads conf/battle_athena.conf; a missing
// or empty file keeps the defaults without a word.
void load_some_battle_var(const AppContext& app, Ui& ui, BattleLimits& limits);

}  // namespace tavo
