#include "census/item_holders.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "accounts/account_read.h"
#include "app/numbers.h"
#include "app/run_together.h"
#include "app/text.h"
#include "census/line_blocks.h"
#include "census/line_sweep.h"
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

// The makers wanted, each with its name once a line gives it, in the order first wanted. An
// item a hundred thousand smiths made wants as many: an open table of their places finds them
// without the node a map allocates for each.
class Makers {
public:
    using Maker = std::pair<std::int32_t, std::optional<std::string>>;

    // The maker's name, wanting it first if it was not.
    std::optional<std::string>& operator[](std::int32_t id) {
        Slot& slot = slot_of(id);
        if (slot.at != 0) return makers_[slot.at - 1].second;
        makers_.emplace_back(id, std::nullopt);
        slot = {id, static_cast<std::uint32_t>(makers_.size())};
        if (makers_.size() * 2 > slots_.size()) grow();
        return makers_.back().second;
    }
    // The maker's name; nullptr when it is not wanted.
    std::optional<std::string>* find(std::int32_t id) {
        if (slots_.empty()) return nullptr;
        const Slot& slot = slot_of(id);
        return slot.at == 0 ? nullptr : &makers_[slot.at - 1].second;
    }
    auto begin() { return makers_.begin(); }
    auto end() { return makers_.end(); }
    auto begin() const { return makers_.begin(); }
    auto end() const { return makers_.end(); }

private:
    struct Slot {
        std::int32_t id = 0;
        std::uint32_t at = 0;  // 1 + the maker's index; 0 for a free slot
    };
    // The id's slot, or the free one it would take.
    Slot& slot_of(std::int32_t id) {
        if (slots_.empty()) slots_.resize(1024);
        const std::size_t mask = slots_.size() - 1;
        const std::uint64_t mixed = static_cast<std::uint32_t>(id) * 0x9E3779B97F4A7C15ULL;
        for (auto i = static_cast<std::size_t>(mixed >> 32) & mask;; i = (i + 1) & mask) {
            if (slots_[i].at == 0 || slots_[i].id == id) return slots_[i];
        }
    }
    void grow() {
        slots_.assign(slots_.size() * 2, Slot{});
        for (std::size_t i = 0; i < makers_.size(); ++i) {
            slot_of(makers_[i].first) = {makers_[i].first, static_cast<std::uint32_t>(i + 1)};
        }
    }

    std::deque<Maker> makers_;
    std::vector<Slot> slots_;
};

// A bit for each maker wanted (by id, modulo): most characters make nothing, and the bits
// answer for them without a look in the makers wanted.
class MakerBits {
public:
    void set(std::int32_t char_id) { bits_[bit(char_id)] = true; }
    bool may_hold(std::int32_t char_id) const { return bits_[bit(char_id)]; }

private:
    static constexpr std::size_t kBits = std::size_t{1} << 23;
    static std::size_t bit(std::int32_t char_id) {
        return static_cast<std::uint32_t>(char_id) & (kBits - 1);
    }
    std::vector<bool> bits_ = std::vector<bool>(kBits);
};

// The bytes [from, to) of a file, fewer where it ends sooner.
class FileBytes {
public:
    explicit FileBytes(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) throw failure_from_errno(errno, path);
    }
    ~FileBytes() { ::close(fd_); }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view read(std::uint64_t from, std::uint64_t to) {
        bytes_.resize(static_cast<std::size_t>(to - from));
        std::size_t done = 0;
        while (done < bytes_.size()) {
            const ssize_t got = ::pread(fd_, bytes_.data() + done, bytes_.size() - done,
                                        static_cast<off_t>(from + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw failure_from_errno(errno);
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        return std::string_view(bytes_.data(), done);
    }

private:
    int fd_;
    std::string bytes_;
};

// What one half of athena.txt (or the store files) holds of the item.
struct Found {
    explicit Found(std::int32_t nameid) : holdings(nameid) {}
    Holdings holdings;
    Makers makers;
    Wanted pets;
    MakerBits maker_bits;

    void name_maker(std::int32_t char_id, std::string_view name) {
        if (!maker_bits.may_hold(char_id)) return;
        std::optional<std::string>* maker = makers.find(char_id);
        if (maker != nullptr && !*maker) *maker = std::string(name);
    }
    // The finds of the half after this one's.
    void add(Found& later) {
        holdings.append(std::move(later.holdings));
        for (auto& [id, name] : later.makers) {
            std::optional<std::string>& mine = makers[id];
            if (!mine) mine = std::move(name);
            maker_bits.set(id);
        }
        for (auto& [id, name] : later.pets) pets.try_emplace(id, std::move(name));
    }
};

class Finder {
public:
    Finder(const fs::path& folder, std::int32_t nameid, const CensusProgress& progress,
           const std::atomic<bool>* stop, std::uint64_t split_from)
        : run_(folder, progress, stop),
          beside_(folder, {}, stop),
          folder_(folder),
          digits_(std::to_string(std::llabs(nameid))),
          split_from_(split_from) {
        found_.nameid = nameid;
        halves_.emplace_back(nameid);
        halves_.emplace_back(nameid);
        stores_found_.emplace_back(nameid);
    }

    ItemHolders find() {
        // The stores and the names of their accounts are read on a thread of their own beside
        // athena.txt, with notes of their own.
        CensusNotes store_notes;
        run_together(
            [&] {
                read_stores(kStorage, HeldIn::Store);
                read_stores(kGuildStorage, HeldIn::GuildStorage);
                store_notes = std::exchange(beside_.notes, {});
                if (!stores_.empty()) read_account_names();
            },
            [&] { read_characters(); });
        take_stores();
        Found& found = halves_[0];
        if (any_unnamed(found.makers)) read_maker_names();
        blocks_.clear();
        CensusNotes later = std::exchange(run_.notes, std::move(store_notes));
        run_.notes.add(later);
        run_.notes.add(beside_.notes);
        run_.add_lines(beside_.lines());
        if (!guilds_.empty()) read_guild_names();
        if (!found.pets.empty()) read_pet_names();
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
    // it cannot be read. Only an entry that holds the id's digits can be it: the search for
    // them passes over the others without splitting the list.
    bool take_items(Found& found, std::string_view list, HeldIn place, std::int32_t holder_id) {
        for (std::size_t at = find_part(list, digits_, 0); at != std::string_view::npos;) {
            const std::size_t blank = list.rfind(' ', at);
            const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
            const std::size_t end = std::min(list.find(' ', at), list.size());
            const std::string_view entry = list.substr(start, end - start);
            at = find_part(list, digits_, end);
            if (!may_be_sought(entry)) continue;
            ItemSlot item;
            try {
                item = parse_item(entry);
            } catch (const Failure&) {
                return false;
            }
            if (item.nameid != found_.nameid) continue;
            found.holdings.add(place, holder_id, item);
            if (const std::int32_t maker = maker_of(item); maker != 0) {
                found.makers[maker];
                found.maker_bits.set(maker);
            }
            if (is_pet_egg(item)) found.pets[egg_pet_id(item)];
        }
        return true;
    }

    void read_stores(std::string_view file, HeldIn place) {
        Found& found = stores_found_.front();
        beside_.read(file, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const std::optional<StoreLine> store = store_line(without_last_cr(line));
            const std::optional<std::int32_t> id = store ? whole(store->head) : std::nullopt;
            const std::size_t before = found.holdings.size();
            if (!id || !take_items(found, store->items, place, *id)) {
                found.holdings.drop_from(before);
                beside_.unreadable(file, number);
                return;
            }
            if (found.holdings.size() == before) return;
            if (place == HeldIn::Store) stores_.push_back(*id);
            if (place == HeldIn::GuildStorage) guilds_[*id];
        });
    }

    void read_characters() {
        CharacterFields fields[2];
        const std::size_t counted = run_.read_halves(
            kAthena, split_from_, [&](CensusHalf& half, std::string_view line, std::size_t number) {
                if (is_blank_or_comment(line)) {
                    blocks_[half.index].add(number, half.line_offset, line, std::nullopt);
                    return;
                }
                CharacterFields& f = fields[half.index];
                Found& found = halves_[half.index];
                const bool whole_line = character_fields_swept(without_last_cr(line), f);
                const std::optional<std::int32_t> id = whole_line ? whole(f[0]) : std::nullopt;
                blocks_[half.index].add(number, half.line_offset, line,
                                        whole_line ? id : id_of(line));
                const std::optional<std::int32_t> account =
                    whole_line ? whole(piece(f[1], ',', 0)) : std::nullopt;
                if (!id || !account) {
                    // A line of fewer than three fields (the %newid% line) is no character.
                    if (character_id_field(line)) half.unreadable(kAthena, number);
                    return;
                }
                found.name_maker(*id, f[2]);
                const std::size_t before = found.holdings.size();
                if (!take_items(found, f[15], HeldIn::Inventory, *id) ||
                    !take_items(found, f[16], HeldIn::Cart, *id)) {
                    found.holdings.drop_from(before);
                    half.unreadable(kAthena, number);
                    return;
                }
                if (found.holdings.size() == before) return;
                const Holdings::Name name = found.holdings.keep_name(f[2]);
                for (std::size_t i = before; i < found.holdings.size(); ++i) {
                    Holdings::Entry& entry = found.holdings.entry(i);
                    entry.char_id = *id;
                    entry.account_id = *account;
                    Holdings::name(entry, name);
                }
            });
        if (counted == 2) halves_[0].add(halves_[1]);
        halves_.pop_back();
        blocks_.resize(counted);
    }

    // The id a line of athena.txt gives as a character's, whether or not the rest can be read.
    static std::optional<std::int32_t> id_of(std::string_view line) {
        const std::optional<std::string_view> id = character_id_field(line);
        return id ? whole(*id) : std::nullopt;
    }

    static bool any_unnamed(const Makers& wanted) {
        return std::any_of(wanted.begin(), wanted.end(),
                           [](const auto& entry) { return !entry.second; });
    }

    // Makers met in the lists after their own line: each is named from the first line of its
    // id, found again in the blocks that may hold it.
    void read_maker_names() {
        if (blocks_.empty()) return;  // no athena.txt
        Found& found = halves_[0];
        std::vector<std::int32_t> unnamed;
        for (const auto& [id, name] : found.makers) {
            if (!name) unnamed.push_back(id);
        }
        std::sort(unnamed.begin(), unnamed.end());
        try {
            FileBytes file(resolve_in(folder_, kAthena));
            for (const LineBlocks& half : blocks_) {
                half.each_holding(unnamed,
                                  [&](std::uint64_t from, std::uint64_t to, std::size_t lines) {
                                      name_makers(found, file.read(from, to), lines, unnamed);
                                  });
            }
        } catch (const Failure& failure) {
            run_.notes.incomplete.push_back({std::string(kAthena), failure_text(failure)});
        }
    }

    // Names the makers of `unnamed` whose first line is among the first `lines` of the bytes.
    static void name_makers(Found& found, std::string_view bytes, std::size_t lines,
                            const std::vector<std::int32_t>& unnamed) {
        BreakScanner breaks(bytes);
        for (std::size_t at = 0; lines > 0 && at < bytes.size(); --lines) {
            const BreakScanner::Break line_break = breaks.find(at);
            const std::size_t end =
                line_break.at == std::string_view::npos ? bytes.size() : line_break.at;
            const std::string_view line = bytes.substr(at, end - at);
            at = end + line_break.length;
            const std::optional<std::int32_t> id = id_of(line);
            if (!id || !std::binary_search(unnamed.begin(), unnamed.end(), *id)) continue;
            std::optional<std::string>& name = found.makers[*id];
            if (!name) name = std::string(piece(line, '\t', 2));
        }
    }

    // The user ids of the accounts whose stores hold the item. A line is read whole only when
    // its id is one of them (or is not plain digits, which the account reader settles).
    void read_account_names() {
        std::sort(stores_.begin(), stores_.end());
        stores_.erase(std::unique(stores_.begin(), stores_.end()), stores_.end());
        store_names_.resize(stores_.size());
        beside_.read(kAccounts, [&](std::string_view line, std::size_t) {
            if (is_blank_or_comment(line)) return;
            const std::optional<std::int32_t> id = whole(piece(line, '\t', 0));
            if (id && !std::binary_search(stores_.begin(), stores_.end(), *id)) return;
            const std::optional<AccountRecord> record =
                account_of_line(LineFields(without_last_cr(line)));
            if (!record) return;
            const auto at = std::lower_bound(stores_.begin(), stores_.end(), record->account_id());
            if (at == stores_.end() || *at != record->account_id()) return;
            store_names_[static_cast<std::size_t>(at - stores_.begin())] =
                stores_found_.front().holdings.keep_name(record->userid());
        });
    }

    // The stores' holdings before those of athena.txt, as they were read. Their makers are
    // named from the first line of their ids in the file, as for makers known before it.
    void take_stores() {
        Found& found = halves_[0];
        Found& stores = stores_found_.front();
        found.holdings.prepend(std::move(stores.holdings));
        for (const auto& [id, name] : stores.makers) {
            found.makers[id] = std::nullopt;
            found.maker_bits.set(id);
        }
        for (const auto& [id, name] : stores.pets) found.pets.try_emplace(id);
        stores_found_.clear();
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
            const auto wanted = halves_[0].pets.find(pet->id);
            if (wanted != halves_[0].pets.end() && !wanted->second)
                wanted->second = std::string(pet->name);
        });
    }

    Holdings::Name store_name(std::int32_t account_id) const {
        const auto at = std::lower_bound(stores_.begin(), stores_.end(), account_id);
        if (at == stores_.end() || *at != account_id) return {};
        return store_names_[static_cast<std::size_t>(at - stores_.begin())];
    }

    // Names and openers for the stores and guild storages, the totals, the order, the book.
    void settle() {
        Found& found = halves_[0];
        Holdings& holdings = found.holdings;
        std::unordered_map<std::int32_t, Holdings::Name> guild_names;
        for (auto& [id, name] : guilds_) guild_names[id] = holdings.keep_name(name.value_or(""));
        for (std::size_t i = 0; i < holdings.size(); ++i) {
            Holdings::Entry& h = holdings.entry(i);
            if (h.place == HeldIn::Store) {
                h.account_id = h.holder_id;
                Holdings::name(h, store_name(h.holder_id));
            } else if (h.place == HeldIn::GuildStorage) {
                Holdings::name(h, guild_names[h.holder_id]);
                const auto master = masters_.find(h.holder_id);
                if (master != masters_.end()) {
                    h.account_id = master->second.first;
                    h.char_id = master->second.second;
                }
            }
            found_.total += h.amount;
            found_.total_by_place[static_cast<std::size_t>(h.place)] += h.amount;
        }
        holdings.sort();
        found_.holdings = std::move(holdings);
        for (auto& [id, name] : found.makers) {
            if (name) found_.names.characters.emplace(id, std::move(*name));
        }
        for (auto& [id, name] : found.pets) {
            if (name) found_.names.pets.emplace(id, std::move(*name));
        }
        found_.notes = std::move(run_.notes);
    }

    CensusRun run_;
    CensusRun beside_;  // the stores and their accounts' names
    fs::path folder_;
    std::string digits_;
    std::uint64_t split_from_;
    ItemHolders found_;
    std::deque<Found> halves_;  // the first gathers what both found
    std::deque<Found> stores_found_;
    std::vector<LineBlocks> blocks_ = std::vector<LineBlocks>(2);  // of the halves that count
    Wanted guilds_;
    std::vector<std::int32_t> stores_;  // the accounts whose stores hold it, sorted once read
    std::vector<Holdings::Name> store_names_;
    std::unordered_map<std::int32_t, std::pair<std::int32_t, std::int32_t>> masters_;
};

}  // namespace

std::size_t Holdings::size() const {
    std::size_t count = 0;
    for (const Segment& segment : segments_) count += segment.entries.size();
    return count;
}

const Holdings::Entry& Holdings::entry(std::size_t index) const {
    for (const Segment& segment : segments_) {
        if (index < segment.entries.size()) return segment.entries[index];
        index -= segment.entries.size();
    }
    throw std::out_of_range("no such holding");
}

Holdings::Entry& Holdings::entry(std::size_t index) {
    return const_cast<Entry&>(std::as_const(*this).entry(index));
}

Holding Holdings::operator[](std::size_t index) const {
    std::size_t at = order_.empty() ? index : order_[index];
    const Segment* segment = &segments_.front();
    for (const Segment& s : segments_) {
        segment = &s;
        if (at < s.entries.size()) break;
        at -= s.entries.size();
    }
    const Entry& e = segment->entries[at];
    Holding h;
    h.place = e.place;
    h.holder_id = e.holder_id;
    const auto name = segment->names.begin() + static_cast<std::ptrdiff_t>(e.name_at);
    h.holder_name.assign(name, name + e.name_length);
    h.account_id = e.account_id;
    h.char_id = e.char_id;
    h.item = {e.id,        nameid_,    e.amount,   e.equip,    e.identify, e.refine,
              e.attribute, e.cards[0], e.cards[1], e.cards[2], e.cards[3]};
    return h;
}

Holdings::Name Holdings::keep_name(std::string_view name) {
    std::deque<char>& names = segments_.front().names;
    name = name.substr(0, UINT16_MAX);
    const Name kept{static_cast<std::uint32_t>(names.size()),
                    static_cast<std::uint16_t>(name.size())};
    names.insert(names.end(), name.begin(), name.end());
    return kept;
}

Holdings::Entry& Holdings::add(HeldIn place, std::int32_t holder_id, const ItemSlot& item) {
    Entry& e = segments_.back().entries.emplace_back();
    e.place = place;
    e.holder_id = holder_id;
    e.refine = item.refine;
    e.identify = item.identify;
    e.id = item.id;
    e.amount = item.amount;
    e.equip = item.equip;
    e.attribute = item.attribute;
    e.cards = {item.card0, item.card1, item.card2, item.card3};
    return e;
}

void Holdings::prepend(Holdings&& earlier) {
    Segment& mine = segments_.front();
    Segment& theirs = earlier.segments_.front();
    const auto shift = static_cast<std::uint32_t>(theirs.names.size());
    for (Entry& e : mine.entries) e.name_at += shift;
    // Taken from their back one by one, so that the two never stand whole side by side.
    while (!theirs.entries.empty()) {
        mine.entries.push_front(theirs.entries.back());
        theirs.entries.pop_back();
    }
    while (!theirs.names.empty()) {
        mine.names.push_front(theirs.names.back());
        theirs.names.pop_back();
    }
}

void Holdings::append(Holdings&& later) {
    for (Segment& segment : later.segments_) segments_.push_back(std::move(segment));
    later.segments_.clear();
}

void Holdings::sort() {
    const auto before = [](const Entry& a, const Entry& b) {
        if (a.amount != b.amount) return a.amount > b.amount;
        if (a.holder_id != b.holder_id) return a.holder_id < b.holder_id;
        return a.place < b.place;
    };
    const auto sort_segment = [&](Segment& segment) {
        std::sort(segment.entries.begin(), segment.entries.end(), before);
    };
    if (segments_.size() == 1) {
        sort_segment(segments_.front());
        return;
    }
    // The last segment (a second half's) is sorted meanwhile on a thread of its own.
    run_together([&] { sort_segment(segments_.back()); },
                 [&] {
                     for (std::size_t i = 0; i + 1 < segments_.size(); ++i) {
                         sort_segment(segments_[i]);
                     }
                 });
    // The sorted segments merged by their places, each entry where it is.
    order_.resize(size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<std::uint32_t>(i);
    std::size_t merged = 0;
    for (const Segment& segment : segments_) {
        const auto middle = order_.begin() + static_cast<std::ptrdiff_t>(merged);
        merged += segment.entries.size();
        std::inplace_merge(
            order_.begin(), middle, order_.begin() + static_cast<std::ptrdiff_t>(merged),
            [&](std::uint32_t a, std::uint32_t b) {
                return before(std::as_const(*this).entry(a), std::as_const(*this).entry(b));
            });
    }
}

ItemHolders find_holders(const fs::path& folder, std::int32_t nameid,
                         const CensusProgress& progress, const std::atomic<bool>* stop,
                         std::uint64_t split_from) {
    return Finder(folder, nameid, progress, stop, split_from).find();
}

}  // namespace tavo
