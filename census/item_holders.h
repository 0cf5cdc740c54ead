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
#include <vector>

#include "census/census_run.h"
#include "characters/item_slot.h"
#include "items/item_naming.h"

namespace tavo {

enum class HeldIn { Inventory, Cart, Store, GuildStorage };
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

struct ItemHolders {
    std::int32_t nameid = 0;
    // Most first; equal amounts by holder id, then by place. A deque grows without the copy a
    // vector makes, which would double the peak for an item a million places hold.
    std::deque<Holding> holdings;
    std::array<long long, kHeldInPlaces> total_by_place{};
    long long total = 0;  // in circulation
    NameBook names;       // the makers and pets of the items found
    CensusNotes notes;
};

// Every holding of the item in the server folder; CensusStopped when `stop` is set meanwhile.
ItemHolders find_holders(const fs::path& folder, std::int32_t nameid,
                         const CensusProgress& progress = {},
                         const std::atomic<bool>* stop = nullptr);

}  // namespace tavo
