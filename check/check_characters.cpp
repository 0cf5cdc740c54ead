// The server check of save/athena.txt: one character a line, checked field by field the way the
// char server reads it, against the accounts, parties and guilds read before.

#include <algorithm>
#include <array>

#include "check/check_world.h"

namespace tavo::check {
namespace {

constexpr long long kMostItems = 100;
constexpr std::size_t kFields = 19;

// The fields that hold a fixed count of integers, with what they are.
struct NumberField {
    std::size_t index;
    std::size_t count;
    const char* what;
};
constexpr NumberField kNumberFields[] = {
    {1, 2, "account and slot"},
    {3, 3, "class and levels"},
    {4, 3, "experience and zeny"},
    {5, 4, "HP and SP"},
    {6, 6, "stats"},
    {7, 2, "status and skill points"},
    {8, 3, "option, karma and manner"},
    {9, 3, "party, guild and pet"},
    {10, 3, "hair and clothes"},
    {11, 5, "sprites"},
};

// The counts of fields 3 to 11, which stand next to each other on the line.
constexpr auto kRunCounts = [] {
    std::array<std::uint8_t, 9> counts{};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        counts[i] = static_cast<std::uint8_t>(kNumberFields[i + 1].count);
    }
    return counts;
}();
static_assert(kNumberFields[1].index == 3 && kNumberFields[9].index == 11);

// "map,x,y" (with the partner id after the save point).
bool is_point(std::string_view text, std::size_t numbers) {
    const std::size_t comma = text.find(',');
    return comma != 0 && comma != std::string_view::npos &&
           integers(text.substr(comma + 1), numbers);
}

// Entries separated by blanks, each "a,b" with b an integer, a an integer when `id_first`.
bool is_pair_list(std::string_view text, bool id_first) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view entry = text.substr(start, end - start);
        if (!entry.empty()) {
            const std::size_t comma = entry.find(',');
            if (comma == std::string_view::npos || comma == 0) return false;
            if (!is_integer(entry.substr(comma + 1))) return false;
            if (id_first && !is_integer(entry.substr(0, comma))) return false;
        }
        start = end + 1;
    }
    return true;
}

// A name taken by an earlier character, reported where the line's findings go.
struct TakenName {
    World* world;
    void operator()(std::string_view name, long long, std::size_t line, std::size_t index) const {
        world->found.add_at(index, Problem::DuplicateCharName, kAthena, line,
                            "The character name " + shown(name) +
                                " is taken by an earlier character: the server drops this one.");
    }
};

class CharacterReader {
public:
    explicit CharacterReader(World& world)
        : world_(world), names_(world.char_names, world.found, TakenName{&world}) {}

    void line(std::string_view text, std::size_t number) {
        if (text.empty()) return;
        split_tabs(text, p_);
        if (const char* why = nullptr; newid_.take(p_, number, why)) {
            if (why != nullptr) unreadable(number, why);
            return;
        }
        if (const auto why = problem()) return unreadable(number, *why);
        const long long id = integer_value(p_[0]);
        highest_ = std::max(highest_, id);
        if (!world_.char_ids.insert(id)) {
            return add(Problem::DuplicateCharId, number,
                       "The character id " + std::to_string(id) +
                           " is taken by an earlier character: the server drops this one.");
        }
        const long long account = integer_at(p_[1], 0);
        names_.add(p_[2], account, number);
        check_ties(number, id, account);
        check_items(number, id, inventory_, "inventory");
        check_items(number, id, cart_, "cart");
        hold_pets(number, id);
    }

    void finish(bool whole) {
        names_.settle();
        if (!whole) return;
        world_.chars_read = true;
        check_newid(world_.found, kAthena, newid_.line, newid_.counter, highest_, "character");
    }

private:
    std::optional<std::string> problem() {
        if (p_.size() < kFields) {
            return "it has " + std::to_string(p_.size()) +
                   " TAB-separated fields; a character has 19";
        }
        if (!is_integer(p_[0])) return std::string("the character id is not a number");
        if (p_[2].empty()) return std::string("the name is empty");
        // The number fields are read at once; only a wrong one is looked for field by field.
        if (!integers(p_[1], 2) || !integer_fields(run_of_numbers(), kRunCounts)) {
            return number_field_problem();
        }
        if (!is_point(p_[12], 2)) return std::string("the last point is not map,x,y");
        if (!is_point(p_[13], 3) && !is_point(p_[13], 2)) {
            return std::string("the save point is not map,x,y");
        }
        inventory_ = item_count(p_[15]);
        if (inventory_ < 0) return std::string("an inventory item is not 11 numbers");
        cart_ = item_count(p_[16]);
        if (cart_ < 0) return std::string("a cart item is not 11 numbers");
        if (!is_pair_list(p_[17], true)) return std::string("a skill is not id,level");
        if (!is_pair_list(p_[18], false)) return std::string("a variable is not name,value");
        return std::nullopt;
    }

    // Fields 3 to 11 as they stand on the line, TABs and all.
    std::string_view run_of_numbers() const {
        return {p_[3].data(),
                static_cast<std::size_t>(p_[11].data() + p_[11].size() - p_[3].data())};
    }

    std::string number_field_problem() const {
        for (const NumberField& f : kNumberFields) {
            if (!integers(p_[f.index], f.count)) {
                return "field " + std::to_string(f.index) + " (" + f.what + ") is not " +
                       std::to_string(f.count) + " numbers";
            }
        }
        return "a number field is not as the server writes it";
    }

    void check_ties(std::size_t number, long long id, long long account) {
        if (world_.accounts_read && !world_.account_ids.contains(account)) {
            add(Problem::CharacterWithoutAccount, number,
                named(id) + " belongs to account " + std::to_string(account) +
                    ", which is not in save/account.txt.");
        }
        const long long party = integer_at(p_[9], 0);
        if (party != 0 && world_.parties_read && !world_.party_ids.contains(party)) {
            add(Problem::MissingParty, number,
                named(id) + " is in party " + std::to_string(party) + ", which does not exist.");
        }
        const long long guild = integer_at(p_[9], 1);
        if (guild != 0 && world_.guilds_read && !world_.guild_ids.contains(guild)) {
            add(Problem::MissingGuild, number,
                named(id) + " is in guild " + std::to_string(guild) + ", which does not exist.");
        }
    }

    void check_items(std::size_t number, long long id, long long count, const char* where) {
        if (count <= kMostItems) return;
        add(Problem::TooManyItems, number,
            named(id) + " has " + std::to_string(count) + " items in the " + where +
                "; the server holds 100 and writes past its memory with more.");
    }

    void hold_pets(std::size_t number, long long id) {
        using Kind = PetPlace::Kind;
        const long long pet = integer_at(p_[9], 2);
        if (pet != 0) hold_pet(world_, pet, {Kind::Hatched, id, p_[2], number});
        hold_eggs(world_, p_[15], {Kind::Inventory, id, p_[2], number});
        hold_eggs(world_, p_[16], {Kind::Cart, id, p_[2], number});
    }

    std::string named(long long id) const {
        return "Character " + std::to_string(id) + " (" + shown(p_[2]) + ")";
    }

    void unreadable(std::size_t number, const std::string& why) {
        add(Problem::UnreadableLine, number,
            "The server cannot read this character line: " + why + ".");
    }

    void add(Problem problem, std::size_t number, std::string text) {
        world_.found.add(problem, kAthena, number, std::move(text));
    }

    World& world_;
    LateNames<TakenName> names_;
    std::vector<std::string_view> p_;
    long long inventory_ = 0;
    long long cart_ = 0;
    long long highest_ = 0;
    NewIdLine newid_;
};

}  // namespace

void check_characters(World& world) {
    world.char_names.reserve(records_to_expect(world.app.server_file(kAthena)));
    CharacterReader reader(world);
    const bool read = each_line(world, kAthena, [&](std::string_view line, std::size_t number) {
        reader.line(line, number);
    });
    reader.finish(read);
}

}  // namespace tavo::check
