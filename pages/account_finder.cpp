#include "pages/account_finder.h"

#include <algorithm>
#include <unordered_set>

#include "accounts/account_form.h"
#include "app/text.h"
#include "workspace/workspace.h"

namespace tavo {

void AccountFinder::set_by(FindBy by) {
    if (by == by_) return;
    by_ = by;
    table_changed();
}

void AccountFinder::table_changed() {
    last_.clear();
    shown_.reset();
}

void AccountFinder::narrow(std::string_view text) {
    const std::string wanted = to_lower(trim_blanks(text));
    if (wanted.empty()) {
        table_changed();
        return;
    }
    if (by_ == FindBy::Account && shown_ && !last_.empty() && contains(wanted, last_)) {
        // Whatever holds the longer text also holds the shorter one.
        std::vector<std::size_t>& kept = *shown_;
        const auto& records = ws_.accounts.table().records;
        std::erase_if(kept, [&](std::size_t i) {
            return i >= records.size() || !account_matches(records[i], wanted);
        });
    } else {
        shown_ = by_ == FindBy::Account ? by_account(wanted) : by_character(wanted);
    }
    last_ = wanted;
}

std::vector<std::size_t> AccountFinder::by_account(const std::string& wanted) const {
    std::vector<std::size_t> found;
    const auto& records = ws_.accounts.table().records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (account_matches(records[i], wanted)) found.push_back(i);
    }
    return found;
}

std::optional<std::size_t> AccountFinder::next(std::optional<std::size_t> current) const {
    if (!shown_) return std::nullopt;
    const std::vector<std::size_t>& shown = *shown_;
    if (shown.empty()) return std::nullopt;
    const auto after =
        current ? std::upper_bound(shown.begin(), shown.end(), *current) : shown.begin();
    return after == shown.end() ? shown.front() : *after;
}

std::vector<std::size_t> AccountFinder::found(std::string_view text) {
    narrow(text);
    if (shown_) return *shown_;
    std::vector<std::size_t> every(ws_.accounts.table().records.size());
    for (std::size_t i = 0; i < every.size(); ++i) every[i] = i;
    return every;
}

std::vector<std::size_t> AccountFinder::by_character(const std::string& wanted) const {
    return accounts_by_character(ws_, wanted);
}

std::size_t AccountFinder::count() const {
    return shown_ ? shown_->size() : ws_.accounts.table().records.size();
}

std::string AccountFinder::status_text() const {
    if (!shown_) return {};
    return grouped(static_cast<long long>(shown_->size()), separator_) + " of " +
           grouped(static_cast<long long>(ws_.accounts.table().records.size()), separator_) +
           " accounts match";
}

std::vector<std::size_t> accounts_by_character(Workspace& ws, std::string_view text) {
    const std::string wanted = to_lower(trim_blanks(text));
    std::vector<std::size_t> found;
    if (wanted.empty()) return found;
    const CharacterIndex& index = character_index(ws.app, ws.characters.state());
    std::unordered_set<double> owners;
    for (const CharacterEntry& entry : index.entries()) {
        if (holds_ignoring_case(index.name(entry), wanted)) owners.insert(entry.account_id);
    }
    const auto& records = ws.accounts.table().records;
    for (std::size_t i = 0; i < records.size() && !owners.empty(); ++i) {
        if (owners.contains(records[i].account_id())) found.push_back(i);
    }
    return found;
}

}  // namespace tavo
