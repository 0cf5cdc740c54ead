#include "characters/character_fields.h"

namespace tavo {

bool character_fields(std::string_view line, CharacterFields& out) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < CharacterFields::kCount; ++i) {
        if (start > line.size()) return false;
        const std::size_t tab = line.find('\t', start);
        const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
        out.field[i] = line.substr(start, end - start);
        start = end + 1;
    }
    out.tail =
        start <= line.size() ? std::optional<std::string_view>(line.substr(start)) : std::nullopt;
    return true;
}

}  // namespace tavo
