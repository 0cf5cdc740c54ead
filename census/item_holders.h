#pragma once
// The item census: every place that holds an item (inventories, carts, account stores, guild
// storages) with the items as they are (refine, cards, maker), in one pass over athena.txt,
// storage.txt and g_storage.txt. The names the listing shows (holders, makers, pets in eggs)
// are read afterwards for the holders found alone, so memory follows the holders, never the
// size of the server.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "census/census_run.h"
#include "characters/item_slot.h"
#include "items/item_naming.h"

namespace tavo {

enum class HeldIn : std::uint8_t { Inventory, Cart, Store, GuildStorage };
inline constexpr std::size_t kHeldInPlaces = 4;

struct Holding {
    HeldIn place = HeldIn::Inventory;
    std::int32_t holder_id = 0;  // the character; the store's account; the guild
    std::string holder_name;     // its name; the account's user id; the guild's name
    // What opens the holder: the character and its account; the store's account; the guild
    // master's character and account (0 when the guild has none).
    std::int32_t account_id = 0;
    std::int32_t char_id = 0;
    ItemSlot item;
};

// The holdings of one item, kept compactly: an item a million places hold takes about 48
// bytes a holding and its holders' names once, so memory stays well below that of a million
// Holding values. A holding is built whole when it is asked for.
class Holdings {
public:
    struct Entry {
        std::int32_t holder_id = 0, account_id = 0, char_id = 0;
        std::uint32_t name_at = 0;  // in names_
        std::uint16_t name_length = 0;
        HeldIn place = HeldIn::Inventory;
        std::uint8_t refine = 0;
        std::int32_t id = 0, amount = 0, equip = 0, attribute = 0;
        std::array<std::int16_t, 4> cards{};
        std::uint8_t identify = 0;
    };

    class Iterator {
    public:
        using value_type = Holding;
        using difference_type = std::ptrdiff_t;
        Iterator(const Holdings* holdings, std::size_t at) : holdings_(holdings), at_(at) {}
        Holding operator*() const { return (*holdings_)[at_]; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator& other) const = default;

    private:
        const Holdings* holdings_;
        std::size_t at_;
    };

    explicit Holdings(std::int32_t nameid = 0) : nameid_(nameid), segments_(1) {}
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    Holding operator[](std::size_t index) const;
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    // A name kept once for every holding of its holder.
    struct Name {
        std::uint32_t at = 0;
        std::uint16_t length = 0;
    };
    Name keep_name(std::string_view name);
    static void name(Entry& entry, Name name) {
        entry.name_at = name.at;
        entry.name_length = name.length;
    }

    // The holding of the item (whose nameid is the one sought), without its holder's name.
    Entry& add(HeldIn place, std::int32_t holder_id, const ItemSlot& item);
    // In the order added, the holdings taken from a later half after.
    Entry& entry(std::size_t index);
    const Entry& entry(std::size_t index) const;
    // Drops the holdings added from the index on (to a half's holdings alone).
    void drop_from(std::size_t index) { segments_.back().entries.resize(index); }
    // The holdings of a file read before this one's first half (in one segment), taken from it.
    void prepend(Holdings&& earlier);
    // The holdings of the half of a file after this one's, taken from it as they are: they
    // stay where the half's thread put them.
    void append(Holdings&& later);
    // Most first; equal amounts by holder id, then by place.
    void sort();

private:
    // The holdings of one half and the names they point at. Deques grow without the copy a
    // vector makes, which would double the peak.
    struct Segment {
        std::deque<Entry> entries;
        std::deque<char> names;
    };
    std::int32_t nameid_;
    std::deque<Segment> segments_;
    std::vector<std::uint32_t> order_;  // once sorted: the index of the entry at each place
};

struct ItemHolders {
    std::int32_t nameid = 0;
    Holdings holdings;  // most first; equal amounts by holder id, then by place
    std::array<long long, kHeldInPlaces> total_by_place{};
    long long total = 0;  // in circulation
    NameBook names;       // the makers and pets of the items found
    CensusNotes notes;
};

// Every holding of the item in the server folder; CensusStopped when `stop` is set meanwhile.
ItemHolders find_holders(const fs::path& folder, std::int32_t nameid,
                         const CensusProgress& progress = {},
                         const std::atomic<bool>* stop = nullptr,
                         std::uint64_t split_from = kSplitFrom);

}  // namespace tavo
