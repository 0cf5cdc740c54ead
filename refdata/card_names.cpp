#include "refdata/card_names.h"

#include <optional>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/skipped_rows.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "refdata/server_db.h"

namespace tavo {
namespace {

constexpr const char* kClientHint = "You can get at the data folder of client.";

bool skipped_card_line(std::string_view line, std::vector<std::string_view>& fields) {
    if (line.empty()) return true;
    split_into(line, '#', fields);
    return fields[0].empty() || fields[0].front() == '/';
}

// The "#"-separated fields of every card line of a table of the program folder; false (with
// the table's message) when the file is missing or empty. A line visit() refuses is skipped and
// reported with the others once the table is read.
template <class Visit>
bool read_card_table(const AppContext& app, Ui& ui, std::string_view name,
                     const std::string& consequence, Visit&& visit) {
    const fs::path path = app.program_file(name);
    if (!check_program_table(path, ui, consequence + "\r\n" + kClientHint)) return false;
    SkippedRows skipped(name);
    {
        LineReader reader(path);
        std::vector<std::string_view> fields;
        std::string_view line;
        for (std::size_t number = 1; reader.next(line); ++number) {
            if (!skipped_card_line(line, fields) && !visit(fields)) skipped.add(number, line);
        }
    }
    skipped.report(ui);
    return true;
}

// The card number of a line; nothing when it does not fit a card number.
std::optional<std::int32_t> card_number(std::string_view field) {
    try {
        return leading_i32(field);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

}  // namespace

const CardNameEntry* CardTable::find(std::int32_t id) const {
    const std::int32_t index = index_.find(id);
    return index < 0 ? nullptr : &entries_[static_cast<std::size_t>(index)];
}

CardNameEntry* CardTable::find(std::int32_t id) {
    const std::int32_t index = index_.find(id);
    return index < 0 ? nullptr : &entries_[static_cast<std::size_t>(index)];
}

void CardTable::clear() {
    entries_.clear();
    index_.clear();
}

void CardTable::add(CardNameEntry entry) {
    if (static_cast<std::int32_t>(entries_.size()) >= kLimit) throw Failure(err::kOverflow);
    index_.note(entry.id, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back(std::move(entry));
}

void load_carddb(const AppContext& app, Ui& ui, CardTable& cards) {
    cards.clear();
    bool read = false;
    guarded(ui, "load_carddb", [&] {
        read = read_card_table(app, ui, "cardprefixnametable.txt", "Card name will not be shown...",
                               [&](const std::vector<std::string_view>& fields) {
                                   // A line without any "#" has no name field.
                                   const std::optional<std::int32_t> id = card_number(fields[0]);
                                   if (fields.size() < 2 || !id) return false;
                                   cards.add({*id, std::string(fields[1]), 0});
                                   return true;
                               });
    });
    if (read) load_carddb2(app, ui, cards);
}

void load_carddb2(const AppContext& app, Ui& ui, CardTable& cards) {
    guarded(ui, "load_carddb2", [&] {
        read_card_table(
            app, ui, "cardpostfixnametable.txt", "Card Postfix name list not found.",
            [&](const std::vector<std::string_view>& fields) {
                if (!is_numeric(fields[0])) return false;
                const double id = numeric_value(fields[0]);
                if (!(id >= INT32_MIN && id <= INT32_MAX) || id != static_cast<std::int32_t>(id)) {
                    return true;  // matches no card number
                }
                if (CardNameEntry* card = cards.find(static_cast<std::int32_t>(id))) {
                    card->postfix = 1;
                }
                return true;
            });
    });
}

}  // namespace tavo
