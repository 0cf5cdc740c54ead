#include "characters/guild_party_pet.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;

namespace {

constexpr std::string_view kEmptyGuildMember = "0,0,0,0,0,0,0,0,0,0";

using Pieces = std::vector<std::string>;

// Comments and blank lines (empty, or holding only the CR read before a CR LF) are never a
// record.
bool is_record(std::string_view line) {
    return !without_last_cr(line).empty() && line.front() != '/';
}

// The number a record line starts with: the party or guild id, or the pet id of pet.txt.
double record_id(std::string_view line) {
    return leading_number(piece(line, '\t', 0));
}

Pieces split_line(std::string_view line) {
    Pieces pieces;
    for (std::string_view p : split(line, '\t')) pieces.emplace_back(p);
    return pieces;
}

// The pieces joined again; a line that ended with a TAB still does, one that did not keeps
// its last field.
std::string join_line(const Pieces& pieces) {
    std::string line;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) line += '\t';
        line += pieces[i];
    }
    return line;
}

// Field `field` of the first record whose id is `id`, or nothing. A last field runs to the
// end of the record's head: a pet's name may hold commas.
std::optional<std::string> lookup(const fs::path& path, double id, std::size_t field,
                                  char separator, bool last = false) {
    if (!has_content(path)) return std::nullopt;
    LineReader reader(path);
    std::string_view line;
    while (reader.next(line)) {
        if (is_record(line) && record_id(line) == id) {
            const std::string_view head = separator == '\t' ? line : piece(line, '\t', 0);
            if (!last) return std::string(piece(head, separator, field));
            std::size_t start = 0;
            for (std::size_t i = 0; i < field && start != std::string_view::npos; ++i) {
                start = head.find(separator, start);
                if (start != std::string_view::npos) ++start;
            }
            return start == std::string_view::npos ? std::string()
                                                   : std::string(head.substr(start));
        }
    }
    return std::nullopt;
}

// The line through `edit` without the CR it may end with (one read before a CR LF): the CR
// stays at the end of the edited line instead of landing inside it.
template <class Edit>
bool edit_before_cr(std::string& line, Edit& edit) {
    const bool cr = line.ends_with('\r');
    if (cr) line.pop_back();
    const bool keep = edit(line);
    if (cr) line.push_back('\r');
    return keep;
}

// Every line of the file on disk through `edit`, which changes it in place or returns false to
// leave it out, into out.
template <class Edit>
void write_edited(AtomicWriter& out, const fs::path& path, Edit&& edit) {
    LineReader reader(path);
    std::string_view read;
    std::string line;
    while (reader.next(read)) {
        line.assign(read);
        if (edit_before_cr(line, edit)) out.write_line(line);
    }
}

// The file rewritten through `edit`, from the file as it is on disk when it is renamed; the file is
// rewritten only when it was read completely.
template <class Edit>
void rewrite_lines(const AppContext& app, const fs::path& path, Edit edit) {
    if (!has_content(path)) return;
    rewrite_from_disk(app.files, path, [&](AtomicWriter& out) {
        write_edited(out, path, edit);
        return true;
    });
}

// Every line through `edit` in memory, as rewrite_lines does on disk.
template <class Edit>
void edit_lines(TieFile& file, Edit edit) {
    std::vector<std::string> kept;
    kept.reserve(file.lines.size());
    for (std::string& line : file.lines) {
        std::string before = line;
        if (!edit_before_cr(line, edit)) {
            file.changed = true;
            continue;
        }
        if (line != before) file.changed = true;
        kept.push_back(std::move(line));
    }
    file.lines = std::move(kept);
}

bool refuse_breaking_name(Ui& ui, std::string_view name) {
    if (!has_line_breaker(name)) return false;
    ui.message("A name may not hold a TAB or a line break: the server would misread the line.");
    return true;
}

// Where a record keeps its name: field `value` of its head, split at `separator`; a last
// field runs to the end of the head.
struct NameField {
    const char* file;
    const char* kind;
    std::size_t value;
    char separator;
    bool last;
};

constexpr NameField kPartyName{"save/party.txt", "Party", 1, '\t', false};
constexpr NameField kGuildName{"save/guild.txt", "Guild", 1, '\t', false};
constexpr NameField kPetName{"save/pet.txt", "Pet", 2, ',', true};

// Renames every line of the id with `rename`, unless the name another writer gave since Tavo
// read it is kept. The name the file holds afterwards, or nothing after a refusal or failure.
template <class Rename>
std::optional<std::string> rename_record(const AppContext& app, Ui& ui, std::string_view procedure,
                                         const NameField& field, std::string_view id,
                                         std::string_view new_name, std::string_view read_name,
                                         Rename rename) {
    if (refuse_breaking_name(ui, new_name)) return std::nullopt;
    std::optional<std::string> result;
    guarded(ui, procedure, [&] {
        const fs::path path = app.server_file(field.file);
        const double wanted = leading_number(id);
        const std::string label =
            std::string(field.kind) + " " + std::string(id) + " (" + std::string(read_name) + ")";
        std::optional<std::string> held;
        // Settled against the file on disk, again when another writer changes it before the
        // rename.
        rewrite_from_disk(app.files, path, [&](AtomicWriter& out) {
            const std::optional<std::string> on_disk =
                lookup(path, wanted, field.value, field.separator, field.last);
            if (!on_disk) {
                throw Failure(err::kFileNotFound,
                              label + " is no longer in " + field.file + ", so it was not renamed");
            }
            if (settle_record(ui, app.on_conflict, label, read_name, new_name, *on_disk) ==
                Side::Disk) {
                held = *on_disk;
                return false;
            }
            write_edited(out, path, [&](std::string& line) {
                if (is_record(line) && record_id(line) == wanted) rename(line);
                return true;
            });
            held = std::string(new_name);
            return true;
        });
        result = held;
    });
    return result;
}

// The name of a party or guild line is its second field.
auto second_field_becomes(std::string_view new_name) {
    return [new_name](std::string& line) {
        Pieces pieces = split_line(line);
        if (pieces.size() > 1) pieces[1] = std::string(new_name);
        line = join_line(pieces);
    };
}

// The character leaves its party; the party goes with its last member. A line that does not
// list the character stays as it is.
bool release_party_line(Pieces& t, std::int32_t account_id) {
    int members = 0;
    std::size_t own = 0;
    for (std::size_t j = 3; j + 1 < t.size(); j += 2) {
        const double account = leading_number(piece(t[j], ',', 0));
        if (account != 0) ++members;
        if (own == 0 && account == account_id) own = j;
    }
    if (own == 0) return true;
    if (members <= 1) return false;
    const bool was_leader = piece(t[own], ',', 1) == "1";
    t[own] = "0,0";
    t[own + 1] = "NoMember";
    if (was_leader) {
        for (std::size_t j = 3; j + 1 < t.size(); j += 2) {
            if (leading_number(piece(t[j], ',', 0)) == 0) continue;
            t[j] = std::string(piece(t[j], ',', 0)) + ",1";
            break;
        }
    }
    return true;
}

// The member entry with its position (the tenth value) set to 0, the master's position: the
// server knows its master by name and gives position 0 the master's rights, so the position
// entries stay as they are. An entry of fewer values stays whole.
std::string with_master_position(std::string_view member) {
    constexpr std::size_t kPosition = 9;
    std::vector<std::string_view> values = split(member, ',');
    if (values.size() <= kPosition) return std::string(member);
    values[kPosition] = "0";
    std::string entry;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) entry += ',';
        entry += values[i];
    }
    return entry;
}

// The character leaves its guild; false when the guild goes with its last member.
bool release_guild_line(Pieces& t, std::int32_t char_id) {
    if (t.size() < 4) return true;
    // A hostile member count must not overflow the walk: no line holds more members than fields.
    const double counted = leading_number(piece(t[3], ',', 1));
    const auto capacity =
        counted > 0 ? static_cast<std::size_t>(std::min(counted, static_cast<double>(t.size())))
                    : std::size_t{0};
    const std::size_t first_position = 6 + 2 * capacity;
    int members = 0;
    std::size_t own = 0;
    for (std::size_t j = 6; j < first_position && j + 1 < t.size(); j += 2) {
        if (leading_number(piece(t[j], ',', 0)) != 0) ++members;
        if (own == 0 && leading_number(piece(t[j], ',', 1)) == char_id) own = j;
    }
    if (own == 0) return true;
    if (members <= 1) return false;
    const bool was_master = t[own + 1] == t[2];
    t[own] = std::string(kEmptyGuildMember);
    t[own + 1] = "-"s;
    if (!was_master) return true;
    for (std::size_t j = 6; j < first_position && j + 1 < t.size(); j += 2) {
        if (leading_number(piece(t[j], ',', 0)) == 0) continue;
        t[2] = t[j + 1];
        t[j] = with_master_position(t[j]);
        break;
    }
    return true;
}

void release_party(TieFile& file, double party_id, std::int32_t account_id) {
    edit_lines(file, [&](std::string& line) {
        if (!is_record(line) || record_id(line) != party_id) return true;
        Pieces pieces = split_line(line);
        if (!release_party_line(pieces, account_id)) return false;
        line = join_line(pieces);
        return true;
    });
}

bool release_guild(TieFile& file, double guild_id, std::int32_t char_id) {
    bool deleted = false;
    edit_lines(file, [&](std::string& line) {
        if (!is_record(line) || record_id(line) != guild_id) return true;
        Pieces pieces = split_line(line);
        if (!release_guild_line(pieces, char_id)) {
            deleted = true;
            return false;
        }
        line = join_line(pieces);
        return true;
    });
    return deleted;
}

void delete_pet(TieFile& file, double pet_id) {
    edit_lines(file,
               [&](std::string& line) { return !is_record(line) || record_id(line) != pet_id; });
}

// A pet line owned by no character: its second field "account,char,..." gets char 0.
void clear_pet_owner(std::string& line) {
    Pieces pieces = split_line(line);
    if (pieces.size() < 2) return;
    std::vector<std::string_view> values = split(pieces[1], ',');
    std::string owner;
    for (std::size_t i = 0; i < values.size(); ++i) {
        owner.append(i > 0 ? "," : "").append(i == 1 ? std::string_view("0") : values[i]);
    }
    pieces[1] = std::move(owner);
    line = join_line(pieces);
}

// Pets that name a leaving character as their owner but stay (eggs in a store or in another
// character's hands) keep their account and are owned by no character: the server gives an egg
// to whoever hatches it.
void orphan_pets(TieFile& file, double char_id) {
    edit_lines(file, [&](std::string& line) {
        if (!is_record(line)) return true;
        if (leading_number(piece(piece(line, '\t', 1), ',', 1)) == char_id) clear_pet_owner(line);
        return true;
    });
}

void clear_castles(TieFile& file, double guild_id) {
    edit_lines(file, [&](std::string& line) {
        if (!is_record(line) || leading_number(piece(line, ',', 1)) != guild_id) return true;
        // The castle keeps its id and the number of values its line had.
        const std::size_t values = split(line, ',').size();
        std::string cleared(piece(line, ',', 0));
        for (std::size_t i = 1; i < values; ++i) cleared += ",0";
        line = std::move(cleared);
        return true;
    });
}

void read_tie_file(const AppContext& app, TieFile& file) {
    const fs::path path = app.server_file(file.name);
    if (!is_new_file(path)) file.lines = read_lines(path);  // a folder in its place fails
    file.read = file.lines;
}

// The name of a record in the guard's question: "Party 5 (Crew)", "Castle 3".
std::string tie_label(const TieFile& file, std::string_view line) {
    const bool castle = std::string_view(file.kind) == "Castle";
    const bool pet = std::string_view(file.kind) == "Pet";
    std::string label = std::string(file.kind) + " ";
    label += castle ? piece(line, ',', 0) : piece(line, pet ? ',' : '\t', 0);
    if (castle) return label;
    const std::string_view head = piece(line, '\t', 0);
    const std::string_view name = pet ? piece(head, ',', 2) : piece(line, '\t', 1);
    return label + " (" + std::string(name) + ")";
}

RecordLines tie_records(const TieFile& file) {
    const bool castle = std::string_view(file.kind) == "Castle";
    return RecordLines{[castle](std::string_view line) -> std::optional<double> {
                           if (!is_record(line)) return std::nullopt;
                           return castle ? leading_number(piece(line, ',', 0)) : record_id(line);
                       },
                       [&file](std::string_view line) { return tie_label(file, line); }};
}

void apply_release(CharacterTies& ties, const TieRelease& release) {
    if (release.party_id > 0) release_party(ties.party, release.party_id, release.account_id);
    if (release.guild_id > 0 && release_guild(ties.guild, release.guild_id, release.char_id)) {
        clear_castles(ties.castle, release.guild_id);
    }
    if (release.pet_id > 0) delete_pet(ties.pet, release.pet_id);
    if (release.char_id > 0) orphan_pets(ties.pet, release.char_id);
}

using TieOf = TieFile CharacterTies::*;
constexpr std::array<TieOf, 4> kTieFiles{&CharacterTies::party, &CharacterTies::guild,
                                         &CharacterTies::pet, &CharacterTies::castle};

// The tie files as they are on disk now. When another writer changed any of them since `mine`
// was read, mine's releases are made on them too, so that whichever version of a record is
// kept, the leaving characters and pets are gone from it.
CharacterTies released_on_disk(const AppContext& app, const CharacterTies& mine) {
    // Read again rather than trusting the files' times: a save within the same tick would hide.
    CharacterTies disk = read_character_ties(app);
    const bool moved = std::any_of(kTieFiles.begin(), kTieFiles.end(),
                                   [&](TieOf tie) { return (disk.*tie).read != (mine.*tie).read; });
    if (moved) {
        for (const TieRelease& release : mine.releases) apply_release(disk, release);
    }
    return disk;
}

// Mine's lines of one tie file put onto the file on disk: Tavo's lines when the file is as it
// was read, else merged record by record with the other writer's released version. False when
// neither side changes the file.
bool write_tie_file(const AppContext& app, Ui& ui, const CharacterTies& mine, TieOf tie,
                    AtomicWriter& out) {
    const TieFile& file = mine.*tie;
    const TieFile disk = released_on_disk(app, mine).*tie;
    if (!file.changed && !disk.changed) return false;
    const std::vector<std::string> lines =
        disk.read == file.read && !disk.changed
            ? file.lines
            : rebase_lines(ui, app.on_conflict, tie_records(file), file.read, file.lines,
                           disk.lines);
    for (const std::string& line : lines) out.write_line(line);
    return true;
}

void write_ties(const AppContext& app, Ui& ui, const CharacterTies& ties) {
    FileBatch batch(app.files);
    stage_character_ties(app, ui, ties, batch);
    batch.commit();
}

}  // namespace

std::string guild_name_of(const AppContext& app, Ui& ui, std::int32_t guild_id) {
    if (guild_id == 0) return "No Guild";
    std::string name = "Guild [" + std::to_string(guild_id) + "]";
    guarded(ui, "find_guild", [&] {
        if (auto found = lookup(app.server_file("save/guild.txt"), guild_id, 1, '\t')) {
            name = *found;
        }
    });
    return name;
}

std::string party_name_of(const AppContext& app, Ui& ui, std::string_view party_id) {
    if (party_id == "0") return "No Party";
    std::string name = "Party [" + std::string(party_id) + "]";
    guarded(ui, "find_party", [&] {
        const double id = leading_number(party_id);
        if (auto found = lookup(app.server_file("save/party.txt"), id, 1, '\t')) name = *found;
    });
    return name;
}

namespace {

// The fields of a pet line's head "pet_id,class,name": the name runs to the TAB, commas and all.
enum class PetField { Class = 1, Name = 2 };

std::string pet_field_of(const AppContext& app, Ui& ui, PetField field, std::int32_t pet_id) {
    if (pet_id == 0) return "No Pet";
    std::string result = "No Name [" + std::to_string(pet_id) + "]";
    guarded(ui, "find_pet", [&] {
        const bool name = field == PetField::Name;
        const auto index = static_cast<std::size_t>(field);
        if (auto found = lookup(app.server_file("save/pet.txt"), pet_id, index, ',', name)) {
            result = *found;
        }
    });
    return result;
}

}  // namespace

std::string pet_name_of(const AppContext& app, Ui& ui, std::int32_t pet_id) {
    return pet_field_of(app, ui, PetField::Name, pet_id);
}

std::string pet_class_of(const AppContext& app, Ui& ui, std::int32_t pet_id) {
    return pet_field_of(app, ui, PetField::Class, pet_id);
}

bool pet_exists(const AppContext& app, std::int32_t pet_id) {
    return lookup(app.server_file("save/pet.txt"), pet_id, 0, ',').has_value();
}

std::optional<std::string> save_guild(const AppContext& app, Ui& ui, std::string_view guild_id,
                                      std::string_view new_name, std::string_view read_name) {
    return rename_record(app, ui, "save_guild", kGuildName, guild_id, new_name, read_name,
                         second_field_becomes(new_name));
}

std::optional<std::string> save_party(const AppContext& app, Ui& ui, std::string_view party_id,
                                      std::string_view new_name, std::string_view read_name) {
    return rename_record(app, ui, "save_party", kPartyName, party_id, new_name, read_name,
                         second_field_becomes(new_name));
}

std::optional<std::string> save_pet(const AppContext& app, Ui& ui, std::int32_t pet_id,
                                    std::string_view new_name, std::string_view read_name) {
    return rename_record(app, ui, "save_pet", kPetName, std::to_string(pet_id), new_name, read_name,
                         [new_name](std::string& line) {
                             // Only the name changes: whatever follows the first TAB stays.
                             const std::string_view head = piece(line, '\t', 0);
                             std::string renamed(piece(head, ',', 0));
                             renamed.append(",").append(piece(head, ',', 1)).append(",");
                             renamed.append(new_name);
                             if (head.size() < line.size())
                                 renamed.append(line.substr(head.size()));
                             line = std::move(renamed);
                         });
}

CharacterTies read_character_ties(const AppContext& app) {
    CharacterTies ties;
    for (TieFile* file : {&ties.party, &ties.guild, &ties.pet, &ties.castle}) {
        read_tie_file(app, *file);
    }
    return ties;
}

void stage_character_ties(const AppContext& app, Ui& ui, const CharacterTies& ties,
                          FileBatch& batch) {
    // Kept with the batch: the releases are put onto a file again if it changes before its
    // rename.
    auto mine = std::make_shared<const CharacterTies>(ties);
    const CharacterTies disk = released_on_disk(app, ties);
    for (const TieOf tie : kTieFiles) {
        if (!(ties.*tie).changed && !(disk.*tie).changed) continue;
        const char* name = (ties.*tie).name;
        batch.add(app.server_file(name), name, [&app, &ui, mine, tie](AtomicWriter& out) {
            return write_tie_file(app, ui, *mine, tie, out);
        });
    }
}

void release_character(CharacterTies& ties, std::string_view party_guild_pet,
                       std::int32_t account_id, std::int32_t char_id) {
    const TieRelease release{leading_number(piece(party_guild_pet, ',', 0)),
                             leading_number(piece(party_guild_pet, ',', 1)),
                             leading_number(piece(party_guild_pet, ',', 2)), account_id, char_id};
    apply_release(ties, release);
    ties.releases.push_back(release);
}

void release_pet(CharacterTies& ties, std::int32_t pet_id) {
    const TieRelease release{0, 0, static_cast<double>(pet_id), 0, 0};
    apply_release(ties, release);
    ties.releases.push_back(release);
}

TieRelease character_release(std::string_view party_guild_pet, std::int32_t account_id,
                             std::int32_t char_id) {
    return TieRelease{leading_number(piece(party_guild_pet, ',', 0)),
                      leading_number(piece(party_guild_pet, ',', 1)),
                      leading_number(piece(party_guild_pet, ',', 2)), account_id, char_id};
}

void release_all(CharacterTies& ties, const std::vector<TieRelease>& releases) {
    // Who leaves each party and guild, in the order of the releases; the pets that go; the
    // characters whose other pets stay without an owner.
    std::unordered_map<double, std::vector<std::int32_t>> parties;
    std::unordered_map<double, std::vector<std::int32_t>> guilds;
    std::unordered_set<double> pets;
    std::unordered_set<double> owners;
    for (const TieRelease& r : releases) {
        if (r.party_id > 0) parties[r.party_id].push_back(r.account_id);
        if (r.guild_id > 0) guilds[r.guild_id].push_back(r.char_id);
        if (r.pet_id > 0) pets.insert(r.pet_id);
        if (r.char_id > 0) owners.insert(r.char_id);
    }
    const auto each_member = [](auto& groups, auto release_line) {
        return [&groups, release_line](std::string& line) {
            if (!is_record(line)) return true;
            const auto found = groups.find(record_id(line));
            if (found == groups.end()) return true;
            Pieces pieces = split_line(line);
            for (const std::int32_t member : found->second) {
                if (!release_line(pieces, member)) return false;
            }
            line = join_line(pieces);
            return true;
        };
    };
    if (!parties.empty()) edit_lines(ties.party, each_member(parties, release_party_line));
    std::unordered_set<double> gone;
    if (!guilds.empty()) {
        const auto edit = each_member(guilds, release_guild_line);
        edit_lines(ties.guild, [&](std::string& line) {
            const double id = is_record(line) ? record_id(line) : 0;
            if (edit(line)) return true;
            gone.insert(id);
            return false;
        });
    }
    if (!gone.empty()) {
        edit_lines(ties.castle, [&](std::string& line) {
            if (!is_record(line) || !gone.contains(leading_number(piece(line, ',', 1))))
                return true;
            const std::size_t values = split(line, ',').size();
            std::string cleared(piece(line, ',', 0));
            for (std::size_t i = 1; i < values; ++i) cleared += ",0";
            line = std::move(cleared);
            return true;
        });
    }
    if (!pets.empty() || !owners.empty()) {
        edit_lines(ties.pet, [&](std::string& line) {
            if (!is_record(line)) return true;
            if (pets.contains(record_id(line))) return false;
            if (owners.contains(leading_number(piece(piece(line, '\t', 1), ',', 1)))) {
                clear_pet_owner(line);
            }
            return true;
        });
    }
    ties.releases.insert(ties.releases.end(), releases.begin(), releases.end());
}

void delete_party_guild_pet(const AppContext& app, Ui& ui, std::string_view party_guild_pet,
                            std::int32_t account_id, std::int32_t char_id) {
    guarded(ui, "delete_party_guild_pet", [&] {
        CharacterTies ties = read_character_ties(app);
        release_character(ties, party_guild_pet, account_id, char_id);
        write_ties(app, ui, ties);
    });
}

void clear_guild_castles(const AppContext& app, Ui& ui, std::int32_t guild_id) {
    guarded(ui, "clear_guild_castles", [&] {
        CharacterTies ties;
        read_tie_file(app, ties.castle);
        clear_castles(ties.castle, guild_id);
        write_ties(app, ui, ties);
    });
}

}  // namespace tavo
