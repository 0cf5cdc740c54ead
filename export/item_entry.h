#pragma once
// An item entry of a save file in the shape the server nearly always writes it: eleven or
// twelve plain numbers (no sign, no leading zero) separated by commas, read in one sweep of its
// bytes rather than digit by digit. Tens of millions of these make most of a large server's
// export; any other entry is read number by number (read_numbers).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavo::sqlx {

struct ItemEntryText {
    static constexpr std::size_t kMost = 63;  // the longest entry read this way

    std::size_t length = 0;  // bytes of the entry
    std::size_t count = 0;   // its numbers: 11 or 12
    std::uint8_t start[12] = {};
    std::uint8_t digits[12] = {};

    std::string_view number(const char* entry, std::size_t i) const {
        return {entry + start[i], digits[i]};
    }
    // The text from number `first` to number `last`, with the commas between.
    std::string_view numbers(const char* entry, std::size_t first, std::size_t last) const {
        return {entry + start[first], std::size_t{start[last]} + digits[last] - start[first]};
    }
};

// The entry from `at` to the next blank or to `end`; false when it is not of that shape or is
// longer than kMost bytes.
bool read_item_entry(const char* at, const char* end, ItemEntryText& out);

}  // namespace tavo::sqlx
