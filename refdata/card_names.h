#pragma once
// The card-name table: the words cards add to an item's name, from the two tables copied from
// the game client into the program folder.

#include <cstdint>
#include <string>
#include <vector>

#include "refdata/id_index.h"

namespace tavo {

struct AppContext;
class Ui;

struct CardNameEntry {
    std::int32_t id = 0;
    std::string name;
    std::uint8_t postfix = 0;  // 1: the word goes after the item name
};

class CardTable {
public:
    static constexpr std::int32_t kLimit = 32767;

    std::int16_t count() const { return static_cast<std::int16_t>(entries_.size()); }
    const std::vector<CardNameEntry>& entries() const { return entries_; }
    // The first entry in file order with that card number, or nullptr.
    const CardNameEntry* find(std::int32_t id) const;
    CardNameEntry* find(std::int32_t id);

    void clear();
    void add(CardNameEntry entry);  // fails with Overflow when the table is full

private:
    std::vector<CardNameEntry> entries_;
    IdIndex index_;
};

// cardprefixnametable.txt ("<card number>#<word>#"), then load_carddb2 when it was read.
void load_carddb(const AppContext& app, Ui& ui, CardTable& cards);
// cardpostfixnametable.txt ("<card number>#"): marks those cards as postfix cards.
void load_carddb2(const AppContext& app, Ui& ui, CardTable& cards);

}  // namespace tavo
