#include "app/gm_line.h"

#include <algorithm>
#include <vector>

#include "app/text.h"

namespace tavo {
namespace {

IdField split_id_field(std::string_view field) {
    for (char separator : {'-', '~'}) {
        if (field.find(separator) == std::string_view::npos) continue;
        IdField id{piece(field, separator, 0), piece(field, separator, 1), separator};
        if (!id.range()) id.low = field;  // "2000000-" is a single id
        return id;
    }
    return IdField{field, {}, 0};
}

bool is_separator(char c) {
    return c == '-' || c == '~';
}

// The words of a line: runs of blanks separate them.
std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

}  // namespace

GmEntryLine read_gm_entry(std::string_view line) {
    const std::vector<std::string_view> words = words_of(line);
    GmEntryLine entry;
    if (words.empty()) return entry;
    entry.id = split_id_field(words[0]);
    std::size_t level = 1;
    const std::string_view first = words[0];
    // "low- high level", "low - high level", "low -high level": the server reads them as
    // ranges too.
    if (!entry.id.range() && first.size() > 1 && is_separator(first.back()) && words.size() > 2) {
        entry.id = {first.substr(0, first.size() - 1), words[1], first.back()};
        level = 2;
    } else if (!entry.id.range() && words.size() > 2 && is_separator(words[1].front())) {
        const bool alone = words[1].size() == 1;
        entry.id = {first, alone ? words[2] : words[1].substr(1), words[1].front()};
        level = alone ? 3 : 2;
    }
    const std::string_view last = words[level - 1];
    entry.ids = line.substr(static_cast<std::size_t>(first.data() - line.data()),
                            static_cast<std::size_t>(last.data() - first.data()) + last.size());
    if (level < words.size()) {
        entry.level = words[level];
        const auto end =
            static_cast<std::size_t>(words[level].data() - line.data()) + words[level].size();
        entry.rest = line.substr(end);
    }
    return entry;
}

}  // namespace tavo
