#pragma once
// The read-only tables loaded at start-up.

#include "refdata/battle_config.h"
#include "refdata/card_names.h"
#include "refdata/item_db.h"
#include "refdata/job_classes.h"
#include "refdata/maps.h"
#include "refdata/skills.h"

namespace tavo {

struct RefData {
    BattleLimits limits;
    JobClassTable jobs;
    SkillTable skills;
    MapList maps;
    ItemTable items;
    CardTable cards;
};

}  // namespace tavo
