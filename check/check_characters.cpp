// The server check of save/athena.txt: one character a line, checked field by field the way the
// char server reads it, against the accounts, parties and guilds read before.

#include <algorithm>
#include <array>
#include <optional>

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
    std::size_t comma = 0;
    while (comma < text.size() && text[comma] != ',') ++comma;
    return comma != 0 && comma != text.size() && integers(text.substr(comma + 1), numbers);
}

// Entries separated by blanks, each "a,b" with b an integer, a an integer when `id_first`.
// The entries are a few bytes long: one plain walk, not a library search for each blank.
bool is_pair_list(std::string_view text, bool id_first) {
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        if (*at == ' ') {
            ++at;
            continue;
        }
        const char* const entry = at;
        const char* comma = nullptr;
        for (; at != end && *at != ' '; ++at) {
            if (*at == ',' && comma == nullptr) comma = at;
        }
        if (comma == nullptr || comma == entry) return false;
        if (!is_integer({comma + 1, static_cast<std::size_t>(at - comma - 1)})) return false;
        if (id_first && !is_integer({entry, static_cast<std::size_t>(comma - entry)})) {
            return false;
        }
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

// A pet that a character line holds, hatched or in an egg.
struct HeldPet {
    long long pet = 0;
    PetPlace place;
};

// A readable character line as the tables of the whole file take it: its id, name and account,
// its own findings and pets, which count only when its id is the first of the file.
struct CharLine {
    std::size_t line = 0;
    long long id = 0;
    long long account = 0;
    std::string_view name;
    std::uint32_t findings_end = 0;  // its findings end here among its part's, its pets too
    std::uint32_t pets_end = 0;
};

// A character line on its way into the tables, its name staged for the table of names.
struct TakenLine {
    std::size_t line = 0;
    long long id = 0;
    NameTable::Staged name;
    std::uint32_t findings_end = 0;
    std::uint32_t pets_end = 0;
};

// What one part of athena.txt holds, read without the tables of the whole file: the findings
// that each line has on its own, and the lines that are yet to meet those tables. Lines are
// numbered from the part's start.
struct CharPart {
    std::vector<Finding> findings;
    std::vector<HeldPet> pets;
    PiecedList<TakenLine> lines;  // when the part waits for its turn
    Arena names;                  // the names of those lines
    std::size_t line_count = 0;
    long long highest = 0;
    NewIdLine newid;
    std::optional<Failure> failure;
};

// Reads character lines field by field, using only what the files read before athena.txt left
// (accounts, parties, guilds), so that two parts of the file can be read at once.
class CharacterReader {
public:
    CharacterReader(const World& world, CharPart& part)
        : world_(world), part_(part), found_(part.findings) {}

    // The line's own findings and pets go to the part; the line itself is returned when it
    // holds a character.
    std::optional<CharLine> line(std::string_view text, std::size_t number) {
        part_.line_count = number;
        if (text.empty()) return std::nullopt;
        split_tabs(text, p_);
        if (const char* why = nullptr; part_.newid.take(p_, number, why)) {
            if (why != nullptr) unreadable(number, why);
            return std::nullopt;
        }
        if (const auto why = problem()) {
            unreadable(number, *why);
            return std::nullopt;
        }
        const long long id = integer_value(p_[0]);
        part_.highest = std::max(part_.highest, id);
        const long long account = integer_at(p_[1], 0);
        check_ties(number, id, account);
        check_items(number, id, inventory_, "inventory");
        check_items(number, id, cart_, "cart");
        hold_pets(number, id);
        return CharLine{number,
                        id,
                        account,
                        p_[2],
                        static_cast<std::uint32_t>(part_.findings.size()),
                        static_cast<std::uint32_t>(part_.pets.size())};
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
        inventory_ = item_count(p_[15], eggs_in_inventory_);
        if (inventory_ < 0) return std::string("an inventory item is not 11 numbers");
        cart_ = item_count(p_[16], eggs_in_cart_);
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
        const auto hold = [&](long long pet, Kind kind) {
            part_.pets.push_back({pet, {kind, id, p_[2], number}});
        };
        long long pet = integer_at(p_[9], 2);
        if (pet != 0) hold(pet, Kind::Hatched);
        for (std::size_t from = 0; eggs_in_inventory_ && (pet = next_egg(p_[15], from));) {
            hold(pet, Kind::Inventory);
        }
        for (std::size_t from = 0; eggs_in_cart_ && (pet = next_egg(p_[16], from));) {
            hold(pet, Kind::Cart);
        }
    }

    std::string named(long long id) const {
        return "Character " + std::to_string(id) + " (" + shown(p_[2]) + ")";
    }

    void unreadable(std::size_t number, const std::string& why) {
        add(Problem::UnreadableLine, number,
            "The server cannot read this character line: " + why + ".");
    }

    void add(Problem problem, std::size_t number, std::string text) {
        found_.add(problem, kAthena, number, std::move(text));
    }

    const World& world_;
    CharPart& part_;
    Gathered found_;
    std::vector<std::string_view> p_;
    long long inventory_ = 0;
    long long cart_ = 0;
    bool eggs_in_inventory_ = false;  // whether a list may hold an egg: it has a '-'
    bool eggs_in_cart_ = false;
};

// Takes character lines into the tables of the whole file in the file's order: the first line
// of an id holds it, the first character of a name holds the name.
class CharacterTables {
public:
    explicit CharacterTables(World& world)
        : world_(world), names_(world.char_names, world.found, TakenName{&world}) {}

    // The findings and pets of the part before `line`'s end, `base` lines after the file's start.
    void take(const CharPart& part, const TakenLine& line, std::size_t base) {
        take_findings(part, line.findings_end, base);
        const std::size_t number = base + line.line;
        if (!world_.char_ids.insert(line.id)) {
            findings_at_ = line.findings_end;
            pets_at_ = line.pets_end;
            world_.found.add(Problem::DuplicateCharId, kAthena, number,
                             "The character id " + std::to_string(line.id) +
                                 " is taken by an earlier character: the server drops this one.");
            return;
        }
        names_.add(line.name, number);
        for (; pets_at_ < line.pets_end; ++pets_at_) {
            PetPlace place = part.pets[pets_at_].place;
            place.line += base;
            hold_pet(world_, part.pets[pets_at_].pet, place);
        }
    }

    // The findings of the part not taken yet: its lines that hold no character.
    void take_findings(const CharPart& part, std::size_t end, std::size_t base) {
        for (; findings_at_ < end; ++findings_at_) {
            world_.found.findings.push_back(part.findings[findings_at_]);
            world_.found.findings.back().line += base;
        }
    }

    // The part's findings and pets were cleared: they are taken from their start again.
    void restart() {
        findings_at_ = 0;
        pets_at_ = 0;
    }

    // Every name is in the table.
    void settle() { names_.settle(); }

private:
    World& world_;
    LateNames<TakenName> names_;
    std::size_t findings_at_ = 0;
    std::size_t pets_at_ = 0;
};

TakenLine waiting(const CharLine& line, const NameTable::Staged& name) {
    return {line.line, line.id, name, line.findings_end, line.pets_end};
}

template <class Each>
void read_part(const fs::path& path, std::uint64_t from, std::uint64_t to, CharPart& part,
               Each&& each) {
    try {
        LineReader reader(path, from, to);
        std::string_view line;
        std::size_t number = 0;
        while (reader.next(line)) each(line, ++number);
    } catch (const Failure& failure) {
        part.failure = failure;
    }
}

}  // namespace

void check_characters(World& world) {
    if (!readable_by_lines(world, kAthena)) return;
    const fs::path path = world.app.server_file(kAthena);
    world.char_names.reserve(records_to_expect(path));
    // The file is read in two halves at once. The first half goes into the tables as it is
    // read; the second half's lines wait for it, with their names staged, and go in after it.
    const std::uint64_t length = file_length(path);
    const std::uint64_t half = character_parts_meet(path);
    CharPart first;
    CharPart second;
    CharacterTables tables(world);
    run_together(
        [&] {
            CharacterReader reader(world, second);
            read_part(path, half, length, second, [&](std::string_view text, std::size_t number) {
                const std::size_t pets = second.pets.size();
                if (const auto line = reader.line(text, number)) {
                    const TakenLine taken = waiting(
                        *line, NameTable::stage_in(second.names, line->name, line->account));
                    for (std::size_t i = pets; i < second.pets.size(); ++i) {
                        second.pets[i].place.name = taken.name.name();
                    }
                    second.lines.push_back(taken);
                }
            });
        },
        [&] {
            CharacterReader reader(world, first);
            read_part(path, 0, half, first, [&](std::string_view text, std::size_t number) {
                if (const auto line = reader.line(text, number)) {
                    tables.take(first,
                                waiting(*line, world.char_names.stage(line->name, line->account)),
                                0);
                }
                tables.take_findings(first, first.findings.size(), 0);
                first.findings.clear();
                first.pets.clear();
                tables.restart();
            });
        });
    // What a file read in part would have given: the lines up to the failure, then the failure.
    const CharPart* failed = &first;
    if (!first.failure) {
        tables.restart();
        const std::size_t base = first.line_count;
        world.char_names.take_records(std::move(second.names));
        constexpr std::size_t kAhead = 8;  // the slots of the names a few lines on are fetched
        for (std::size_t i = 0; i < second.lines.size(); ++i) {
            if (i + kAhead < second.lines.size()) {
                world.char_names.prefetch(second.lines[i + kAhead].name);
            }
            tables.take(second, second.lines[i], base);
        }
        tables.take_findings(second, second.findings.size(), base);
        failed = &second;
    }
    tables.settle();
    if (failed->failure) {
        note_unreadable_file(world, kAthena, *failed->failure);
        return;
    }
    world.chars_read = true;
    const bool later = second.newid.line != 0;
    check_newid(world.found, kAthena,
                later ? first.line_count + second.newid.line : first.newid.line,
                later ? second.newid.counter : first.newid.counter,
                std::max(first.highest, second.highest), "character");
}

}  // namespace tavo::check
