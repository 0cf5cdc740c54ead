#pragma once
// The small item, job and pet databases the generator writes (or finds in --db), and the facts
// about them that characters and stores need.

#include <string_view>
#include <vector>

#include "tools/gen/gen_support.h"

namespace tavo::gen {

enum ItemType {
    kHealing = 0,
    kUsable = 2,
    kEtc = 3,
    kWeapon = 4,
    kArmor = 5,
    kCard = 6,
    kPetEgg = 7,
    kPetArmor = 8,
    kArrow = 10
};

struct ItemDef {
    int id;
    std::string_view name;
    std::string_view display;
    int type;
    int price;
    int weight;  // tenths
    int equip;   // equip location bits
    int slots;
    int view;  // the sprite shown on the character
    std::string_view script;
};

const std::vector<ItemDef>& item_defs();
const ItemDef& item_def(int id);
bool stackable(const ItemDef& item);

struct PetDef {
    int mob_id;
    std::string_view name;
    std::string_view jname;
    int lure_id;
    int egg_id;
    int equip_id;
    int food_id;
};
const std::vector<PetDef>& pet_defs();

// Column 0 of job_db1.txt: the base carrying limit of each of the 24 base jobs, in tenths.
int base_weight(int job_row);
// The job_db1 row of a class id (a transcendent or baby class uses its base job's row).
int job_row(int job_class);

void write_db(const fs::path& db_folder);

}  // namespace tavo::gen
