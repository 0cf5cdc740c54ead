#pragma once
// The read-only tables loaded at start-up.

#include "refdata/battle_config.h"

namespace tavo {

struct RefData {
    BattleLimits limits;
};

}  // namespace tavo
