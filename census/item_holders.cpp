#include "census/item_holders.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "accounts/account_read.h"
#include "app/numbers.h"
#include "app/text.h"
#include "characters/character_fields.h"
#include "characters/character_index.h"
#include "characters/group_lines.h"
#include "storage/storage_file.h"

namespace tavo {
namespace {

constexpr std::string_view kAccounts = "save/account.txt";
constexpr std::string_view kAthena = "save/athena.txt";
constexpr std::string_view kStorage = "save/storage.txt";
constexpr std::string_view kGuildStorage = "save/g_storage.txt";
constexpr std::string_view kGuild = "save/guild.txt";
constexpr std::string_view kPet = "save/pet.txt";

std::optional<std::int32_t> whole(std::string_view text) {
    const std::optional<long long> value = integer_in(text, INT32_MIN, INT32_MAX);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// Ids whose names are wanted, each with the name once it is found.
using Wanted = std::unordered_map<std::int32_t, std::optional<std::string>>;

class Finder {
public:
    Finder(const fs::path& folder, std::int32_t nameid, const CensusProgress& progress,
           const std::atomic<bool>* stop)
        : run_(folder, progress, stop), digits_(std::to_string(std::llabs(nameid))) {
        found_.nameid = nameid;
    }

    ItemHolders find() {
        read_stores(kStorage, HeldIn::Store);
        read_stores(kGuildStorage, HeldIn::GuildStorage);
        read_characters();
        if (any_unnamed(makers_)) read_maker_names();
        if (!accounts_.empty()) read_account_names();
        if (!guilds_.empty()) read_guild_names();
        if (!pets_.empty()) read_pet_names();
        settle();
        return std::move(found_);
    }

private:
    // Whether an item's text may be the item sought: its second value is the id's digits, or
    // a text other than plain digits, which the item reader settles.
    bool may_be_sought(std::string_view entry) const {
        const std::string_view nameid = piece(entry, ',', 1);
        if (nameid == digits_) return true;
        const bool plain = !nameid.empty() && nameid.size() <= 10 && nameid.front() != '0' &&
                           nameid.find_first_not_of("0123456789") == std::string_view::npos;
        return !plain;
    }

    // Adds the items of a list that are the one sought; false when one of the items that may be
    // it cannot be read.
    bool take_items(std::string_view list, const Holding& holder) {
        if (list.find(digits_) == std::string_view::npos) return true;  // none of them is
        return each_entry(list, [&](std::string_view entry) {
            if (!may_be_sought(entry)) return true;
            ItemSlot item;
            try {
                item = parse_item(entry);
            } catch (const Failure&) {
                return false;
            }
            if (item.nameid != found_.nameid) return true;
            Holding holding = holder;
            holding.item = item;
            found_.holdings.push_back(std::move(holding));
            if (const std::int32_t maker = maker_of(item); maker != 0) {
                makers_[maker];
                maker_bits_[maker_bit(maker)] = true;
            }
            if (is_pet_egg(item)) pets_[egg_pet_id(item)];
            return true;
        });
    }

    void read_stores(std::string_view file, HeldIn place) {
        run_.read(file, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const std::optional<StoreLine> store = store_line(without_last_cr(line));
            const std::optional<std::int32_t> id = store ? whole(store->head) : std::nullopt;
            Holding holder;
            holder.place = place;
            holder.holder_id = id.value_or(0);
            const std::size_t before = found_.holdings.size();
            if (!id || !take_items(store->items, holder)) {
                found_.holdings.resize(before);
                run_.unreadable(file, number);
                return;
            }
            if (found_.holdings.size() == before) return;
            if (place == HeldIn::Store) accounts_[*id];
            if (place == HeldIn::GuildStorage) guilds_[*id];
        });
    }

    void read_characters() {
        CharacterFields fields;
        run_.read(kAthena, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const bool whole_line = character_fields(without_last_cr(line), fields);
            const std::optional<std::int32_t> id = whole_line ? whole(fields[0]) : std::nullopt;
            const std::optional<std::int32_t> account =
                whole_line ? whole(piece(fields[1], ',', 0)) : std::nullopt;
            if (!id || !account) {
                // A line of fewer than three fields (the %newid% line) is no character at all.
                if (character_id_field(line)) run_.unreadable(kAthena, number);
                return;
            }
            name_maker(*id, fields[2]);
            Holding holder;
            holder.holder_id = holder.char_id = *id;
            holder.account_id = *account;
            const std::size_t before = found_.holdings.size();
            holder.place = HeldIn::Inventory;
            bool read = take_items(fields[15], holder);
            holder.place = HeldIn::Cart;
            read = read && take_items(fields[16], holder);
            if (!read) {
                found_.holdings.resize(before);
                run_.unreadable(kAthena, number);
                return;
            }
            for (std::size_t i = before; i < found_.holdings.size(); ++i) {
                found_.holdings[i].holder_name = fields[2];
            }
        });
    }

    void name_maker(std::int32_t char_id, std::string_view name) {
        if (!maker_bits_[maker_bit(char_id)]) return;
        const auto maker = makers_.find(char_id);
        if (maker != makers_.end() && !maker->second) maker->second = std::string(name);
    }

    static std::size_t maker_bit(std::int32_t char_id) {
        return static_cast<std::uint32_t>(char_id) & (kMakerBits - 1);
    }

    static bool any_unnamed(const Wanted& wanted) {
        return std::any_of(wanted.begin(), wanted.end(),
                           [](const auto& entry) { return !entry.second; });
    }

    // Makers met in the lists after their own line: their names come from a second look.
    void read_maker_names() {
        run_.read(kAthena, [&](std::string_view line, std::size_t) {
            const std::optional<std::string_view> id = character_id_field(line);
            if (!id) return;
            if (const std::optional<std::int32_t> char_id = whole(*id)) {
                name_maker(*char_id, piece(line, '\t', 2));
            }
        });
    }

    void read_account_names() {
        run_.read(kAccounts, [&](std::string_view line, std::size_t) {
            if (is_blank_or_comment(line)) return;
            const std::optional<AccountRecord> record =
                account_of_line(LineFields(without_last_cr(line)));
            if (!record) return;
            const auto account = accounts_.find(record->account_id());
            if (account != accounts_.end()) account->second = std::string(record->userid());
        });
    }

    void read_guild_names() {
        run_.read(kGuild, [&](std::string_view line, std::size_t) {
            if (is_blank_or_comment(line)) return;
            const std::optional<GuildLine> guild = read_guild_line(line);
            if (!guild || !guilds_.contains(guild->id)) return;
            guilds_[guild->id] = std::string(guild->name);
            masters_[guild->id] = {guild->master_account, guild->master_char};
        });
    }

    void read_pet_names() {
        run_.read(kPet, [&](std::string_view line, std::size_t) {
            if (is_blank_or_comment(line)) return;
            const std::optional<PetLine> pet = read_pet_line(line);
            if (!pet) return;
            const auto wanted = pets_.find(pet->id);
            if (wanted != pets_.end() && !wanted->second) wanted->second = std::string(pet->name);
        });
    }

    // Names and openers for the stores and guild storages, the totals, the order, the book.
    void settle() {
        for (Holding& h : found_.holdings) {
            if (h.place == HeldIn::Store) {
                h.account_id = h.holder_id;
                h.holder_name = accounts_[h.holder_id].value_or("");
            } else if (h.place == HeldIn::GuildStorage) {
                h.holder_name = guilds_[h.holder_id].value_or("");
                const auto master = masters_.find(h.holder_id);
                if (master != masters_.end()) {
                    h.account_id = master->second.first;
                    h.char_id = master->second.second;
                }
            }
            found_.total += h.item.amount;
            found_.total_by_place[static_cast<std::size_t>(h.place)] += h.item.amount;
        }
        std::sort(found_.holdings.begin(), found_.holdings.end(),
                  [](const Holding& a, const Holding& b) {
                      if (a.item.amount != b.item.amount) return a.item.amount > b.item.amount;
                      if (a.holder_id != b.holder_id) return a.holder_id < b.holder_id;
                      return a.place < b.place;
                  });
        for (auto& [id, name] : makers_) {
            if (name) found_.names.characters.emplace(id, std::move(*name));
        }
        for (auto& [id, name] : pets_) {
            if (name) found_.names.pets.emplace(id, std::move(*name));
        }
        found_.notes = std::move(run_.notes);
    }

    CensusRun run_;
    std::string digits_;
    ItemHolders found_;
    Wanted makers_, accounts_, guilds_, pets_;
    // A bit for each maker wanted (by id, modulo): most characters make nothing, and the bits
    // answer for them without a look in makers_.
    static constexpr std::size_t kMakerBits = std::size_t{1} << 23;
    std::vector<bool> maker_bits_ = std::vector<bool>(kMakerBits);
    std::unordered_map<std::int32_t, std::pair<std::int32_t, std::int32_t>> masters_;
};

}  // namespace

ItemHolders find_holders(const fs::path& folder, std::int32_t nameid,
                         const CensusProgress& progress, const std::atomic<bool>* stop) {
    return Finder(folder, nameid, progress, stop).find();
}

}  // namespace tavo
