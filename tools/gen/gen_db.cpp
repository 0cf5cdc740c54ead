#include "tools/gen/gen_db.h"

#include <stdexcept>

namespace tavo::gen {
namespace {

const std::vector<ItemDef> kItems = {
    {501, "Red_Potion", "Red Potion", kHealing, 50, 70, 0, 0, 0, "{ itemheal rand(45,65),0; }"},
    {502, "Orange_Potion", "Orange Potion", kHealing, 200, 100, 0, 0, 0,
     "{ itemheal rand(105,145),0; }"},
    {503, "Yellow_Potion", "Yellow Potion", kHealing, 550, 130, 0, 0, 0,
     "{ itemheal rand(175,235),0; }"},
    {504, "White_Potion", "White Potion", kHealing, 1200, 150, 0, 0, 0,
     "{ itemheal rand(325,405),0; }"},
    {523, "Holy_Water", "Holy Water", kUsable, 20, 30, 0, 0, 0, "{ sc_end 6; }"},
    {601, "Wing_Of_Fly", "Fly Wing", kUsable, 60, 50, 0, 0, 0, "{ itemskill 26,1; }"},
    {602, "Wing_Of_Butterfly", "Butterfly Wing", kUsable, 300, 50, 0, 0, 0, "{ itemskill 27,3; }"},
    {909, "Jellopy", "Jellopy", kEtc, 6, 10, 0, 0, 0, "{}"},
    {914, "Fluff", "Fluff", kEtc, 14, 10, 0, 0, 0, "{}"},
    {1010, "Phracon", "Phracon", kEtc, 200, 200, 0, 0, 0, "{}"},
    {1011, "Emveretarcon", "Emveretarcon", kEtc, 1000, 200, 0, 0, 0, "{}"},
    {1101, "Sword", "Sword", kWeapon, 100, 500, 2, 3, 2, "{}"},
    {1116, "Katana", "Katana", kWeapon, 1500, 1000, 34, 3, 3, "{}"},
    {1201, "Knife", "Knife", kWeapon, 50, 400, 2, 3, 1, "{}"},
    {1301, "Axe", "Axe", kWeapon, 500, 800, 2, 3, 6, "{}"},
    {1501, "Club", "Club", kWeapon, 120, 700, 2, 3, 8, "{}"},
    {1601, "Rod", "Rod", kWeapon, 50, 400, 2, 3, 10, "{ bonus bInt,1; }"},
    {1701, "Bow", "Bow", kWeapon, 1000, 500, 34, 3, 11, "{}"},
    {2101, "Guard", "Guard", kArmor, 500, 300, 32, 1, 1, "{}"},
    {2201, "Sunglasses", "Sunglasses", kArmor, 5000, 100, 512, 0, 12, "{}"},
    {2220, "Hat", "Hat", kArmor, 1000, 200, 256, 0, 16, "{}"},
    {2301, "Cotton_Shirt", "Cotton Shirt", kArmor, 10, 100, 16, 1, 0, "{}"},
    {2401, "Sandals", "Sandals", kArmor, 400, 200, 64, 1, 0, "{}"},
    {2501, "Hood", "Hood", kArmor, 1000, 200, 4, 1, 0, "{}"},
    {2601, "Ring", "Ring", kArmor, 30000, 100, 136, 0, 0, "{ bonus bStr,2; }"},
    {4001, "Poring_Card", "Poring Card", kCard, 20, 10, 16, 0, 0, "{ bonus bLuk,2; }"},
    {4003, "Pupa_Card", "Pupa Card", kCard, 20, 10, 16, 0, 0, "{ bonus bMaxHP,700; }"},
    {4004, "Drops_Card", "Drops Card", kCard, 20, 10, 2, 0, 0, "{ bonus bDex,1; }"},
    {4035, "Hydra_Card", "Hydra Card", kCard, 20, 10, 2, 0, 0,
     "{ bonus2 bAddRace,RC_DemiHuman,20; }"},
    {4045, "Horn_Card", "Horn Card", kCard, 20, 10, 32, 0, 0, "{ bonus bLongAtkDef,35; }"},
    {9001, "Poring_Egg", "Poring Egg", kPetEgg, 20, 0, 0, 0, 0, "{}"},
    {9002, "Drops_Egg", "Drops Egg", kPetEgg, 20, 0, 0, 0, 0, "{}"},
    {10013, "Backpack", "Backpack", kPetArmor, 20, 500, 0, 0, 0, "{}"},
    {1750, "Arrow", "Arrow", kArrow, 1, 1, 32768, 0, 0, "{}"},
    {1751, "Silver_Arrow", "Silver Arrow", kArrow, 3, 1, 32768, 0, 0, "{}"},
};

const std::vector<PetDef> kPets = {
    {1002, "PORING", "Poring", 619, 9001, 10013, 531},
    {1113, "DROPS", "Drops", 508, 9002, 10013, 508},
};

// Novice ... Super Novice: the base carrying limit in tenths.
constexpr int kBaseWeights[24] = {20000, 28000, 22000, 26000, 24000, 28000, 24000, 28000,
                                  26000, 22000, 30000, 27000, 24000, 28000, 28000, 26000,
                                  22000, 24000, 28000, 27000, 27000, 28000, 20000, 20000};

}  // namespace

const std::vector<ItemDef>& item_defs() {
    return kItems;
}

const ItemDef& item_def(int id) {
    for (const ItemDef& item : kItems) {
        if (item.id == id) return item;
    }
    throw std::logic_error("unknown item");
}

bool stackable(const ItemDef& item) {
    return item.type != kWeapon && item.type != kArmor && item.type != kPetEgg &&
           item.type != kPetArmor;
}

const std::vector<PetDef>& pet_defs() {
    return kPets;
}

int base_weight(int row) {
    return kBaseWeights[row < 0 || row > 23 ? 0 : row];
}

int job_row(int job_class) {
    if (job_class >= 0 && job_class <= 23) return job_class;
    if (job_class == 4001 || job_class == 4023) return 0;
    if (job_class >= 4002 && job_class <= 4022) return job_class - 4001;
    if (job_class >= 4024 && job_class <= 4044) return job_class - 4023;
    if (job_class == 4045) return 23;
    return 0;
}

void write_db(const fs::path& db) {
    {
        Out out(db / "item_db.txt");
        out << "// id,name,display_name,type,price,sell,weight,atk,def,range,slots,jobs,gender,"
               "equip_locations,weapon_level,equip_level,view,{script},{equip_script}\n";
        out << "0,DEFAULT,Default,3,0,0,0,,,,,0xFFFFFFFF,2,,,,,{},{}\n";
        for (const ItemDef& item : kItems) {
            const bool weapon = item.type == kWeapon;
            out << item.id << ',' << item.name << ',' << item.display << ',' << item.type << ','
                << item.price << ',' << item.price / 2 << ',' << item.weight << ',';
            if (weapon) {
                out << 20 + item.price % 97 << ",," << (item.id == 1701 ? 5 : 1) << ',';
            } else if (item.type == kArmor) {
                out << ',' << 1 + item.id % 5 << ",,";
            } else {
                out << ",,,";
            }
            out << (item.slots > 0 ? std::to_string(item.slots) : std::string()) << ','
                << "0xFFFFFFFF,2," << (item.equip > 0 ? std::to_string(item.equip) : "") << ','
                << (weapon ? "1" : "") << ',' << (item.equip > 0 ? "1" : "") << ','
                << (item.view > 0 ? std::to_string(item.view) : "") << ',' << item.script
                << ",{}\n";
        }
    }
    {
        // Column 0 is the carrying limit; then HP and SP factors and attack delays by weapon.
        Out out(db / "job_db1.txt");
        out << "// max_weight,hp_factor,hp_multiplicator,sp_factor,aspd by weapon type...\n";
        for (int row = 0; row < 24; ++row) {
            out << base_weight(row) << ',' << (row % 7) * 10 << ',' << 500 + row * 15 << ','
                << 100 + (row % 5) * 100;
            for (int weapon = 0; weapon < 17; ++weapon)
                out << ',' << 500 + (weapon * 37 + row * 11) % 300;
            out << '\n';
        }
    }
    {
        Out out(db / "pet_db.txt");
        out << "// mob_id,name,jname,lure_id,egg_id,equip_id,food_id,fullness,hungry_delay,"
               "r_hungry,r_full,intimate,die,capture,speed,s_performance,talk_convert_class,"
               "attack_rate,defence_attack_rate,change_target_rate,pet_script\n";
        for (const PetDef& pet : kPets) {
            out << pet.mob_id << ',' << pet.name << ',' << pet.jname << ',' << pet.lure_id << ','
                << pet.egg_id << ',' << pet.equip_id << ',' << pet.food_id
                << ",80,60,50,100,250,20,2000,150,1,0,350,400,800,{}\n";
        }
    }
}

}  // namespace tavo::gen
