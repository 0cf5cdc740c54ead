// The characters of a generated server (save/athena.txt) with their inventories and carts, and
// the account stores (save/storage.txt).

#include <algorithm>

#include "tools/gen/gen_db.h"
#include "tools/gen/gen_world.h"

namespace tavo::gen {
namespace {

constexpr std::int32_t kFirstCharId = 150000;
constexpr int kCartWeight = 80000;  // max_cart_weight 8000, in tenths

const int kNovices[] = {0, 4001, 4023};
const int kFirstJobs[] = {1, 2, 3, 4, 5, 6};
const int kSecondJobs[] = {7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 13, 21};
const int kTransJobs[] = {4002, 4003, 4004, 4005, 4006, 4007, 4008, 4009, 4010, 4011,
                          4012, 4013, 4015, 4016, 4017, 4018, 4019, 4020, 4021};
const int kBabyJobs[] = {4024, 4025, 4026, 4027, 4028, 4029, 4030, 4033, 4041, 4042, 4043};

const char* const kCharNames[] = {"Aria", "Brenn",  "Cael", "Dara",  "Eamon", "Fenn", "Gale",
                                  "Hale", "Ilsa",   "Joss", "Kira",  "Lorn",  "Maev", "Nell",
                                  "Oska", "Perrin", "Rhea", "Soren", "Talia", "Vale"};
const char* const kTowns[] = {"prontera.gat", "geffen.gat", "payon.gat",    "morocc.gat",
                              "alberta.gat",  "izlude.gat", "aldebaran.gat"};
const char* const kFields[] = {"prt_fild08.gat", "pay_fild04.gat", "moc_fild07.gat",
                               "gef_fild10.gat", "mjolnir_02.gat"};

int pick_job(Rng& rng, char sex) {
    const int roll = rng.below(100);
    int job;
    if (roll < 10) {
        job = rng.pick(kNovices);
    } else if (roll < 42) {
        job = rng.pick(kFirstJobs);
    } else if (roll < 80) {
        job = rng.pick(kSecondJobs);
    } else if (roll < 93) {
        job = rng.pick(kTransJobs);
    } else if (roll < 97) {
        job = rng.pick(kBabyJobs);
    } else {
        job = 23;
    }
    // Bards are men and dancers women, in every form.
    if (sex == 'F') {
        if (job == 19) job = 20;
        if (job == 4020) job = 4021;
        if (job == 4042) job = 4043;
    } else {
        if (job == 20) job = 19;
        if (job == 4021) job = 4020;
        if (job == 4043) job = 4042;
    }
    return job;
}

int first_job_of(int job) {
    static const int kFirst[24] = {0, 1, 2, 3, 4, 5, 6, 1, 4, 2, 5, 3,
                                   6, 1, 1, 4, 2, 6, 5, 3, 3, 1, 0, 0};
    return kFirst[job_row(job)];
}

bool is_smith(int job) {
    return job == 10 || job == 4011 || job == 4033;
}

bool is_maker(int job) {
    return job == 18 || job == 4019 || job == 4041 || first_job_of(job) == 3 ||
           first_job_of(job) == 4;
}

int max_job_level(int job) {
    if (job == 0 || job == 4001 || job == 4023) return 10;
    if (job >= 4008 && job <= 4022) return 70;
    return 50;
}

// One item: the eleven values and the blank after them.
struct Item {
    int nameid = 0;
    int amount = 1;
    int equip = 0;
    int identify = 1;
    int refine = 0;
    int card[4] = {0, 0, 0, 0};
};

int low16(std::int32_t id) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(id) & 0xFFFF);
}
int high16(std::int32_t id) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(id) >> 16);
}

void write_item(Out& out, int seq, const Item& item) {
    out << seq << ',' << item.nameid << ',' << item.amount << ',' << item.equip << ','
        << item.identify << ',' << item.refine << ",0," << item.card[0] << ',' << item.card[1]
        << ',' << item.card[2] << ',' << item.card[3] << ' ';
}

class ItemMaker {
public:
    ItemMaker(const ServerOptions& options, const World& world, Rng& rng)
        : options_(options), world_(world), rng_(rng) {
        for (const ItemDef& item : item_defs()) {
            if (item.type == kCard) cards_.push_back(&item);
            if (item.type != kPetEgg && item.type != kPetArmor && item.type != kCard) {
                common_.push_back(&item);
            }
        }
    }

    // Items up to count, within the weight limit (0: no limit); equipped ones when `equip`.
    std::vector<Item> make(int count, int weight_limit, bool equip) {
        std::vector<Item> items;
        int weight = 0;
        int worn = 0;  // equip location bits in use
        for (int i = 0; i < count; ++i) {
            Item item = one();
            const ItemDef& def = item_def(item.nameid);
            if (weight_limit > 0) {
                const int room = weight_limit - weight;
                if (def.weight > 0 && room < def.weight) {
                    if (room < item_def(909).weight) break;
                    item = Item{909, 1};
                } else if (def.weight > 0) {
                    item.amount = std::min(item.amount, room / def.weight);
                }
                weight += item_def(item.nameid).weight * item.amount;
            }
            if (equip && def.equip != 0 && item.nameid == def.id && rng_.chance(0.6)) {
                int where = def.equip;
                if (where == 136) where = (worn & 8) ? 128 : 8;  // a ring takes one hand
                if ((worn & where) == 0) {
                    item.equip = where;
                    worn |= where;
                }
            }
            items.push_back(item);
        }
        return items;
    }

    Item egg(const PlannedPet& pet) const {
        Item item;
        item.nameid = pet_defs()[static_cast<std::size_t>(pet.kind)].egg_id;
        item.card[0] = -256;
        item.card[1] = low16(pet.id);
        item.card[2] = high16(pet.id);
        item.card[3] = 0;
        return item;
    }

private:
    Item one() {
        const ItemDef& def =
            *common_[static_cast<std::size_t>(rng_.below(static_cast<int>(common_.size())))];
        Item item;
        item.nameid = def.id;
        if (stackable(def)) {
            item.amount = def.type == kArrow ? rng_.between(50, 2000) : rng_.between(1, 30);
            const bool makeable = def.type == kHealing || def.id == 523 || def.type == kArrow;
            if (makeable && !world_.makers.empty() && rng_.chance(0.1)) {
                const std::int32_t maker = world_.makers[static_cast<std::size_t>(
                    rng_.below(static_cast<int>(world_.makers.size())))];
                item.card[0] = 254;
                item.card[2] = low16(maker);
                item.card[3] = high16(maker);
            }
            return item;
        }
        item.identify = rng_.chance(0.95) ? 1 : 0;
        item.refine = rng_.chance(0.3) ? rng_.between(1, 10) : 0;
        if (def.type == kWeapon && !world_.smiths.empty() && rng_.chance(options_.forged_share)) {
            const std::int32_t smith = world_.smiths[static_cast<std::size_t>(
                rng_.below(static_cast<int>(world_.smiths.size())))];
            const int stars = rng_.below(4);
            const int element = stars == 0 ? rng_.between(1, 4) : rng_.below(5);
            item.card[0] = 255;
            item.card[1] = stars * 1280 + element;
            item.card[2] = low16(smith);
            item.card[3] = high16(smith);
            return item;
        }
        if (def.slots > 0 && rng_.chance(0.25)) {
            int slot = 0;
            for (const ItemDef* card : cards_) {
                if (slot < def.slots && (card->equip & def.equip) != 0 && rng_.chance(0.5)) {
                    item.card[slot++] = card->id;
                }
            }
        }
        return item;
    }

    const ServerOptions& options_;
    const World& world_;
    Rng& rng_;
    std::vector<const ItemDef*> cards_;
    std::vector<const ItemDef*> common_;
};

int view_of(const std::vector<Item>& items, int where) {
    for (const Item& item : items) {
        if ((item.equip & where) != 0) return item_def(item.nameid).view;
    }
    return 0;
}

// Sorted by id, as the server writes them back.
void write_skills(Out& out, const PlannedChar& c, Rng& rng) {
    std::vector<std::pair<int, int>> skills;  // id, level
    const bool novice = c.job == 0 || c.job == 4001 || c.job == 4023;
    const int basic = novice ? std::min(9, c.job_level - 1) : 9;
    if (basic > 0) skills.emplace_back(1, basic);
    static const int kFirstSkills[7][4] = {{0, 0, 0, 0},     {2, 3, 5, 7},     {9, 10, 11, 13},
                                           {43, 44, 45, 46}, {22, 23, 28, 29}, {37, 38, 39, 41},
                                           {48, 49, 50, 51}};
    const int first = first_job_of(c.job);
    if (first != 0) {
        for (int skill : kFirstSkills[first]) skills.emplace_back(skill, rng.between(1, 10));
    }
    if (c.enlarge_weight > 0) skills.emplace_back(36, c.enlarge_weight);
    std::sort(skills.begin(), skills.end());
    for (const auto& [id, level] : skills) out << id << ',' << level << ' ';
}

void write_variables(Out& out, const PlannedChar& c, Rng& rng) {
    if (first_job_of(c.job) != c.job) out << "jobchange_level," << rng.between(40, 50) << ' ';
    if (rng.chance(0.5)) out << "PC_DIE_COUNTER," << rng.below(200) << ' ';
    if (rng.chance(0.2)) out << "Q_ORC_HERO," << rng.below(3) << ' ';
}

void write_char(Out& out, const PlannedChar& c, const std::vector<Item>& inventory,
                const std::vector<Item>& cart, Rng& rng) {
    out << c.id << '\t' << c.account << ',' << c.slot << '\t' << c.name << '\t' << c.job << ','
        << c.base_level << ',' << c.job_level << '\t';
    out << static_cast<long long>(rng.below(1000)) * c.base_level << ',' << rng.below(50000) << ','
        << (rng.chance(0.01) ? 1000000000 : rng.below(2000000)) << '\t';
    const int max_hp = 40 + c.base_level * rng.between(15, 60);
    const int max_sp = 10 + c.base_level * rng.between(2, 12);
    out << rng.between(1, max_hp) << ',' << max_hp << ',' << rng.between(0, max_sp) << ',' << max_sp
        << '\t';
    out << c.str;
    for (int i = 0; i < 5; ++i) out << ',' << rng.between(1, 99);
    out << '\t' << rng.below(60) << ',' << rng.below(12) << '\t';
    out << (is_merchant(c.job) ? 8 : 0) << ",0,0\t";
    out << c.party << ',' << c.guild << ',' << c.active_pet << '\t';
    out << c.hair << ',' << c.hair_color << ',' << rng.below(5) << '\t';
    out << view_of(inventory, 2) << ',' << view_of(inventory, 32) << ',' << view_of(inventory, 256)
        << ',' << view_of(inventory, 512) << ',' << view_of(inventory, 1) << '\t';
    out << rng.pick(kFields) << ',' << rng.between(20, 380) << ',' << rng.between(20, 380) << '\t';
    out << rng.pick(kTowns) << ',' << rng.between(100, 200) << ',' << rng.between(100, 200)
        << ",0\t";
    for (int i = 0, n = rng.below(4); i < n; ++i) {
        out << kTowns[(i + c.slot) % 7] << ',' << rng.between(50, 250) << ','
            << rng.between(50, 250);
    }
    out << '\t';
    int seq = 1;
    for (const Item& item : inventory) write_item(out, seq++, item);
    out << '\t';
    for (const Item& item : cart) write_item(out, seq++, item);
    out << '\t';
    write_skills(out, c, rng);
    out << '\t';
    write_variables(out, c, rng);
    out << "\t\n";
}

}  // namespace

bool is_merchant(int job) {
    return first_job_of(job) == 5;
}

void plan_characters(const ServerOptions& options, World& world, Rng& rng) {
    const double average = std::clamp(options.chars_per_account, 0.0, 9.0);
    const int whole = static_cast<int>(average);
    const double part = average - whole;
    std::int32_t next_id = kFirstCharId;
    for (const PlannedAccount& account : world.accounts) {
        if (account.sex == 'S') continue;
        const int count = std::min(9, whole + (rng.chance(part) ? 1 : 0));
        bool used[9] = {};
        for (int i = 0; i < count; ++i) {
            int slot = rng.below(9);
            while (used[slot]) slot = (slot + 1) % 9;
            used[slot] = true;
        }
        for (int slot = 0; slot < 9; ++slot) {
            if (!used[slot]) continue;
            PlannedChar c;
            c.id = next_id++;
            c.account = account.id;
            c.slot = slot;
            c.sex = account.sex;
            c.job = pick_job(rng, account.sex);
            c.base_level = rng.between(1, 99);
            c.job_level = rng.between(1, max_job_level(c.job));
            c.str = rng.between(1, 99);
            c.hair = rng.between(1, 19);
            c.hair_color = rng.below(9);
            c.enlarge_weight = is_merchant(c.job) ? rng.between(1, 10) : 0;
            c.name = rng.pick(kCharNames);
            c.name += std::to_string(c.id - kFirstCharId);
            if (is_smith(c.job)) world.smiths.push_back(c.id);
            if (is_maker(c.job)) world.makers.push_back(c.id);
            world.chars.push_back(std::move(c));
        }
    }
    // Pets: some hatched (the character's pet_id), some still eggs in an inventory.
    for (PlannedChar& c : world.chars) {
        if (rng.chance(0.08)) {
            PlannedPet pet{static_cast<int>(world.pets.size()) + 1, rng.below(2), c.account, c.id,
                           false};
            c.active_pet = pet.id;
            world.pets.push_back(pet);
        }
        if (rng.chance(0.04)) {
            PlannedPet pet{static_cast<int>(world.pets.size()) + 1, rng.below(2), c.account, c.id,
                           true};
            c.egg_pet = pet.id;
            world.pets.push_back(pet);
        }
    }
    // Parties of up to 12 and guilds of up to 36 (the server's limits), one character of an
    // account in each.
    const auto group = [&](std::vector<PlannedGroup>& groups, double share, int most, int first_id,
                           const char* prefix, auto member_of) {
        PlannedGroup open;
        int target = 0;
        for (std::size_t i = 0; i < world.chars.size(); ++i) {
            if (!rng.chance(share)) continue;
            if (open.members.empty()) {
                open.id = first_id + static_cast<int>(groups.size());
                open.name = std::string(prefix) + std::to_string(groups.size() + 1);
                target = rng.between(2, most);
            }
            const bool same_account = std::any_of(
                open.members.begin(), open.members.end(),
                [&](std::size_t m) { return world.chars[m].account == world.chars[i].account; });
            if (same_account) continue;
            open.members.push_back(i);
            member_of(world.chars[i], open.id, static_cast<int>(open.members.size()) - 1);
            if (static_cast<int>(open.members.size()) >= target) {
                groups.push_back(std::move(open));
                open = PlannedGroup{};
            }
        }
        if (!open.members.empty()) groups.push_back(std::move(open));
    };
    group(world.parties, 0.3, kPartySize, 1, "Party",
          [](PlannedChar& c, int id, int) { c.party = id; });
    group(world.guilds, 0.35, kMostGuildMembers, 10000, "Guild",
          [&rng](PlannedChar& c, int id, int index) {
              c.guild = id;
              c.guild_position = index == 0 ? 0 : rng.between(1, 19);
          });
    for (std::size_t g = 0; g < world.guilds.size() && g < 6; ++g) {
        world.guilds[g].castle = static_cast<int>(g) + 1;
    }
}

void write_characters(const ServerOptions& options, const World& world, Rng& rng) {
    Out out(options.out / "save" / "athena.txt");
    ItemMaker maker(options, world, rng);
    const int inventory = std::clamp(options.inventory_items, 0, kMostItems);
    const int cart = std::clamp(options.cart_items, 0, kMostItems);
    for (const PlannedChar& c : world.chars) {
        const int limit = base_weight(job_row(c.job)) + c.str * 300 + c.enlarge_weight * 1000;
        std::vector<Item> items =
            maker.make(c.egg_pet != 0 ? inventory - 1 : inventory, limit, true);
        if (c.egg_pet != 0)
            items.push_back(maker.egg(world.pets[static_cast<std::size_t>(c.egg_pet - 1)]));
        const std::vector<Item> cart_items =
            is_merchant(c.job) ? maker.make(cart, kCartWeight, false) : std::vector<Item>{};
        write_char(out, c, items, cart_items, rng);
    }
    if (options.generation != "817") {
        out << (world.chars.empty() ? kFirstCharId : world.chars.back().id + 1) << "\t%newid%\n";
    }
}

void write_storage(const ServerOptions& options, const World& world, Rng& rng, long long& stores) {
    Out out(options.out / "save" / "storage.txt");
    ItemMaker maker(options, world, rng);
    const int count = std::clamp(options.storage_items, 1, options.storage_limit);
    for (const PlannedAccount& account : world.accounts) {
        if (account.sex == 'S' || !rng.chance(options.storage_share)) continue;
        const std::vector<Item> items = maker.make(rng.between(1, count), 0, false);
        out << account.id << ',' << static_cast<long long>(items.size()) << '\t';
        int seq = 1;
        for (const Item& item : items) write_item(out, seq++, item);
        out << "\t\n";
        ++stores;
    }
}

}  // namespace tavo::gen
