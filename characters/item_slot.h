#pragma once
// One item of an inventory, cart or storage list, and its text in the server's files: eleven
// comma-separated decimals followed by one blank.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct ItemSlot {
    std::int32_t id = 0;
    std::int32_t nameid = 0;
    std::int32_t amount = 0;
    std::int32_t equip = 0;
    std::uint8_t identify = 0;
    std::uint8_t refine = 0;
    std::int32_t attribute = 0;
    std::int16_t card0 = 0;
    std::int16_t card1 = 0;
    std::int16_t card2 = 0;
    std::int16_t card3 = 0;
    bool operator==(const ItemSlot&) const = default;
};

// "id,nameid,amount,equip,identify,refine,attribute,card0,card1,card2,card3 "
void append_item_text(std::string& out, const ItemSlot& item);
std::string item_text(const ItemSlot& item);

// One item's values; a 12th value some releases wrote is read and dropped. Fails with
// Subscript out of range when fewer than eleven values are given and with Overflow when a
// value does not fit its field.
ItemSlot parse_item(std::string_view text);

// The entries of a blank-separated list field: every non-empty piece, so doubled blanks make
// no entry and a last entry without its blank is kept (the server reads it too).
std::vector<std::string_view> list_entries(std::string_view field);

}  // namespace tavo
