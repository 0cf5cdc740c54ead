#include "characters/character_file.h"

#include <algorithm>
#include <unordered_map>

#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/newid.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "characters/character_fields.h"
#include "characters/profile.h"
#include "refdata/refdata.h"
#include "refdata/weight.h"

namespace tavo {
namespace {

constexpr std::size_t kMaxListItems = 255;

fs::path athena_of(const AppContext& app) {
    return app.server_file("save/athena.txt");
}

std::vector<std::string> texts_of(const std::vector<std::string_view>& entries) {
    return {entries.begin(), entries.end()};
}

// An inventory or cart field; more items than maxinventory are all kept, with a word to the
// user: only a save may drop them, when the user agrees.
ItemList parse_item_list(std::string_view field, std::int32_t max_weight, const RefData& ref,
                         const AppSettings& settings, Ui& ui, const std::string& which) {
    ItemList list;
    list.max_weight = max_weight;
    const std::vector<std::string_view> entries = list_entries(field);
    if (entries.size() > kMaxListItems) throw Failure(err::kOverflow);
    const auto count = static_cast<long long>(entries.size());
    if (count > settings.maxinventory) {
        ui.message(which + " holds " + std::to_string(count) + " items, " +
                   std::to_string(count - settings.maxinventory) + " more than maxinventory (" +
                   std::to_string(settings.maxinventory) + "), which the server cannot hold.");
    }
    long long weight = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list.items.push_back(parse_item(entries[i]));
        weight += static_cast<long long>(list.items.back().amount) *
                  item_weight(ref.items, list.items.back().nameid);
    }
    list.weight = to_i32(static_cast<double>(weight));
    return list;
}

CharacterRecord parse_character_line(std::string_view line, const RefData& ref,
                                     const AppSettings& settings, Ui& ui) {
    const std::string_view text = without_last_cr(line);
    CharacterFields f;
    if (!character_fields(text, f)) throw Failure(err::kSubscript);
    CharacterRecord r;
    r.account_id = leading_i32(piece(f[1], ',', 0));  // the account it was listed for
    r.char_id = leading_i32(f[0]);
    r.char_num = leading_u8(piece(f[1], ',', 1));
    r.name = f[2];
    std::string* texts[] = {&r.class_levels,    &r.exp_zeny,  &r.hp_sp,
                            &r.stats,           &r.points,    &r.option_karma_manner,
                            &r.party_guild_pet, &r.looks,     &r.equip_view,
                            &r.last_point,      &r.save_point};
    for (std::size_t i = 0; i < std::size(texts); ++i) *texts[i] = f[3 + i];
    const std::string memo = splitmemo(f[14]);
    r.memo = texts_of(list_entries(memo));
    r.skills = texts_of(list_entries(f[17]));
    r.regs = texts_of(list_entries(f[18]));
    const std::int32_t max_weight =
        compute_max_weight(ui, ref.jobs, r.class_levels, r.stats, f[17]);
    r.inventory = parse_item_list(f[15], max_weight, ref, settings, ui, "Inventory");
    r.cart = parse_item_list(f[16], ref.limits.max_cart_weight, ref, settings, ui, "Cart");
    if (f.tail) r.tail = *f.tail;
    return r;
}

}  // namespace

std::string chooser_entry(std::string_view id_text, std::string_view slot_text,
                          std::string_view name, std::string_view job_name) {
    std::string entry = "ID: ";
    entry.append(id_text).append(", Slot: ").append(slot_text).append(", ").append(name);
    entry.append(", <").append(job_name).append(">");
    return entry;
}

bool load_char_list(const AppContext& app, Ui& ui, const RefData& ref, CharacterState& state,
                    std::int32_t account_id) {
    state.chooser.clear();
    state.loaded_cleanly = false;  // until one of this account's characters is loaded
    // A server account, or a server without characters: nothing to list, and nothing of the
    // account chosen before may stay in the chooser.
    if (account_id == 0 || !has_content(athena_of(app))) return true;
    return guarded(ui, "load_char_list", [&] {
        const CharacterIndex& index = state.lookup.of_account(athena_of(app), account_id);
        state.chooser.clear();
        for (const CharacterEntry* entry : index.of_account(account_id)) {
            state.current.account_id = account_id;
            const std::int16_t job = leading_i16(index.class_text(*entry));
            state.chooser.push_back(
                {std::string(index.id_text(*entry)),
                 chooser_entry(index.id_text(*entry), index.slot_text(*entry), index.name(*entry),
                               get_job_name(ref.jobs, job))});
        }
    });
}

bool load_char_line(const AppContext& app, Ui& ui, const RefData& ref, CharacterState& state,
                    const std::string& line) {
    state.loaded_cleanly = false;
    guarded(ui, "load_char_info", [&] {
        state.current = parse_character_line(line, ref, app.settings, ui);
        state.read_line = line;
        state.loaded_cleanly = true;
    });
    return state.loaded_cleanly;
}

bool load_char_info(const AppContext& app, Ui& ui, const RefData& ref, CharacterState& state,
                    std::string_view id_text) {
    state.loaded_cleanly = false;
    const fs::path athena = athena_of(app);
    if (!has_content(athena)) return false;
    guarded(ui, "load_char_info", [&] {
        std::optional<std::string> line = state.lookup.line_with_id(athena, id_text);
        if (!line) {
            throw Failure(err::kFileNotFound, "Character " + std::string(id_text) + " not found");
        }
        state.current = parse_character_line(*line, ref, app.settings, ui);
        state.read_line = std::move(*line);
        state.loaded_cleanly = true;
    });
    return state.loaded_cleanly;
}

std::optional<CharacterChange> character_change(const AppContext& app, Ui& ui,
                                                const CharacterState& state,
                                                std::string_view id_text) {
    if (!state.loaded_cleanly || leading_number(id_text) != state.current.char_id) {
        ui.message(
            "This character was not read completely, so it is not written back.\r\n"
            "Choose it again to reload it.");
        return std::nullopt;
    }
    const CharacterRecord& record = state.current;
    const std::string name(piece(state.read_line, '\t', 2));
    const std::int32_t most = app.settings.maxinventory;
    const auto inventory = items_to_write(ui, app.on_excess, "the inventory of " + name,
                                          record.inventory.items.size(), most, "maxinventory");
    if (!inventory) return std::nullopt;
    const auto cart = items_to_write(ui, app.on_excess, "the cart of " + name,
                                     record.cart.items.size(), most, "maxinventory");
    if (!cart) return std::nullopt;
    CharacterChange change;
    change.id_text = id_text;
    change.read_line = state.read_line;
    change.line = character_line(record, *inventory, *cart);
    change.label = "Character " + std::string(id_text) + " (" + name + ")";
    return change;
}

void write_characters(const AppContext& app, Ui& ui, ServerGeneration server_generation,
                      std::vector<CharacterChange>& changes, AtomicWriter& out) {
    std::unordered_map<std::string_view, CharacterChange*> waiting;
    for (CharacterChange& change : changes) {
        change.written.reset();
        waiting.emplace(change.id_text, &change);
    }
    LineReader in(athena_of(app));
    Progress progress(ui);
    double highest = 0;
    NewIdCounter counter;
    long long lines = 0;
    std::string_view line;
    while (in.next(line)) {
        progress.reading(++lines);
        const std::optional<std::string_view> id = character_id_field(line);
        if (!id) counter.take(line);
        std::string_view kept = line;  // lines that are not characters stay in their place
        if (id && !waiting.empty()) {
            // The first line of the id takes the change.
            if (const auto it = waiting.find(*id); it != waiting.end()) {
                CharacterChange& change = *it->second;
                waiting.erase(it);
                change.written = settled_text(ui, app.on_conflict, change.label, change.read_line,
                                              change.line, line);
                if (!change.written) {
                    throw Failure(err::kFileNotFound,
                                  "Character " + change.id_text + " is no longer in athena.txt");
                }
                kept = *change.written;
            }
        }
        if (id) highest = std::max(highest, leading_number(*character_id_field(kept)));
        out.write_line(kept);
    }
    // Another writer deleted the character: it stays deleted unless Tavo's changes win.
    for (CharacterChange& change : changes) {
        if (!waiting.contains(change.id_text)) continue;
        change.written =
            settled_text(ui, app.on_conflict, change.label, change.read_line, change.line, {});
        if (!change.written) {
            throw Failure(err::kFileNotFound,
                          "Character " + change.id_text + " is no longer in athena.txt");
        }
        out.write_line(*change.written);
        highest = std::max(highest, leading_number(change.id_text));
    }
    // A %newid% line stays where it is, as it is: the server raises its counter itself.
    if (writes_newid_line(server_generation) && !counter.seen()) {
        out.write_line(counter.line_after_read(highest));
    }
}

bool save_char(const AppContext& app, Ui& ui, ServerGeneration server_generation,
               CharacterState& state, std::string_view id_text) {
    std::optional<CharacterChange> change = character_change(app, ui, state, id_text);
    if (!change) return false;
    return guarded(ui, "save_char", [&] {
        std::vector<CharacterChange> changes{std::move(*change)};
        // Made from the file on disk, again when another writer changes it before the rename.
        const auto make = [&](AtomicWriter& out) {
            write_characters(app, ui, server_generation, changes, out);
            return true;
        };
        rewrite_from_disk(app.files, athena_of(app), make, app.server_file("save/athena.bak.txt"));
        state.disk_version_kept = *changes.front().written != changes.front().line;
        state.read_line = std::move(*changes.front().written);
    });
}

bool chk_char_name(const AppContext& app, CharacterState& state, std::int32_t char_id,
                   std::string_view name) {
    if (!has_content(athena_of(app))) return false;
    const CharacterIndex& index = character_index(app, state);
    for (const CharacterEntry& entry : index.entries()) {
        if (entry.char_id != char_id && index.name(entry) == name) return true;
    }
    return false;
}

std::int32_t hi_char_id(const AppContext& app, Ui& ui, CharacterState& state) {
    std::int32_t highest = 0;
    guarded(ui, "hi_char_id",
            [&] { highest = to_i32(character_index(app, state).highest_char_id()); });
    return highest;
}

bool is_alpha_code(int code) {
    return (code >= 65 && code <= 91) || (code >= 97 && code <= 123);
}

std::string splitmemo(std::string_view memo) {
    std::string result;
    result.reserve(memo.size() + 8);
    for (std::size_t i = 0; i < memo.size(); ++i) {
        const char c = memo[i];
        const bool after_digit = i > 0 && memo[i - 1] >= '0' && memo[i - 1] <= '9';
        if (after_digit && is_alpha_code(static_cast<unsigned char>(c))) result += ' ';
        result += c;
    }
    return result;
}

const CharacterIndex& character_index(const AppContext& app, CharacterState& state) {
    return state.lookup.index(athena_of(app));
}

}  // namespace tavo
