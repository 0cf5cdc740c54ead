#include "characters/character_deletion.h"

#include <algorithm>
#include <optional>

#include "app/file_writer.h"
#include "app/newid.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/character_index.h"

namespace tavo {
namespace {

// An id as read from a line, when it is one a set can name.
std::optional<std::int32_t> exact_id(double value) {
    if (!(value >= INT32_MIN && value <= INT32_MAX) || value != static_cast<std::int32_t>(value)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

bool LeavingSet::takes(double account_id, double char_id) const {
    const std::optional<std::int32_t> account = exact_id(account_id);
    const std::optional<std::int32_t> character = exact_id(char_id);
    return (account && accounts_.contains(*account)) ||
           (character && characters_.contains(*character));
}

std::vector<LeavingCharacter> write_without_characters(const AppContext& app, AtomicWriter& out,
                                                       ServerGeneration server_generation,
                                                       const LeavingSet& leaving) {
    std::vector<LeavingCharacter> left;
    LineReader in(app.server_file("save/athena.txt"));
    double highest = 0;
    NewIdCounter counter;
    std::string_view line;
    while (in.next(line)) {
        const std::optional<std::string_view> id = character_id_field(line);
        if (!id) {
            // A %newid% line stays where it is, as every line that is no character.
            counter.take(line);
            out.write_line(line);
            continue;
        }
        const double char_id = leading_number(*id);
        highest = std::max(highest, char_id);
        const double account_id = leading_number(piece(piece(line, '\t', 1), ',', 0));
        if (!leaving.takes(account_id, char_id)) {
            out.write_line(line);
            continue;
        }
        std::string items(piece(line, '\t', 15));
        items.append(1, ' ').append(piece(line, '\t', 16));
        left.push_back({exact_id(account_id).value_or(0), exact_id(char_id).value_or(0),
                        std::string(piece(line, '\t', 9)), std::move(items)});
    }
    if (writes_newid_line(server_generation) && !counter.seen()) {
        out.write_line(counter.line_after_read(highest));
    }
    return left;
}

}  // namespace tavo
