#pragma once
// The TAB-separated fields of a character line of save/athena.txt, as views into the line:
// what every reader of a whole character starts from.

#include <array>
#include <optional>
#include <string_view>

namespace tavo {

struct CharacterFields {
    static constexpr std::size_t kCount = 19;
    std::array<std::string_view, kCount> field;
    // What follows the TAB after field 18 (the line's final TAB, then fields of a later server),
    // when that TAB is there.
    std::optional<std::string_view> tail;

    std::string_view operator[](std::size_t index) const { return field[index]; }
};

// Fields 0 to 18 of the line; false for a line of fewer.
bool character_fields(std::string_view line, CharacterFields& out);

}  // namespace tavo
