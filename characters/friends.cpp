#include "characters/friends.h"

#include <algorithm>

#include "app/file_writer.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {
namespace {

bool named(const std::vector<std::int32_t>& char_ids, std::string_view id) {
    const double value = leading_number(id);
    return value != 0 && std::find(char_ids.begin(), char_ids.end(), value) != char_ids.end();
}

bool is_comment(std::string_view line) {
    return line.starts_with("//");
}

}  // namespace

std::optional<std::string> friends_line_without(std::string_view line,
                                                const std::vector<std::int32_t>& char_ids) {
    const std::string_view body = without_last_cr(line);
    const std::vector<std::string_view> pieces = split(body, ',');
    if (pieces.size() % 2 == 0) return std::nullopt;  // not the id and whole pairs
    std::string edited(pieces[0]);
    std::size_t freed = 0;
    for (std::size_t i = 1; i + 1 < pieces.size(); i += 2) {
        if (named(char_ids, pieces[i])) {
            ++freed;
            continue;
        }
        edited.append(1, ',').append(pieces[i]).append(1, ',').append(pieces[i + 1]);
    }
    if (freed == 0) return std::nullopt;
    for (std::size_t i = 0; i < freed; ++i) edited += ",0,";
    edited += line.substr(body.size());
    return edited;
}

bool write_friends_without(const AppContext& app, AtomicWriter& out,
                           const std::vector<std::int32_t>& char_ids) {
    LineReader in(app.server_file("save/friends.txt"));
    bool changed = false;
    std::string_view line;
    while (in.next(line)) {
        if (!is_comment(line) && named(char_ids, piece(line, ',', 0))) {
            changed = true;
            continue;
        }
        const std::optional<std::string> edited =
            is_comment(line) ? std::nullopt : friends_line_without(line, char_ids);
        changed = changed || edited.has_value();
        out.write_line(edited ? std::string_view(*edited) : line, in.line_break());
    }
    return changed;
}

}  // namespace tavo
