#include "pages/account_page.h"

#include "accounts/account_time.h"
#include "app/ui.h"
#include "workspace/account_deletion.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

AccountOutcome ended(EditResult result, bool focus_username = false) {
    AccountOutcome outcome;
    outcome.result = result;
    outcome.focus_username = focus_username;
    return outcome;
}

}  // namespace

AccountPage::AccountPage(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {}

std::string AccountPage::caption(AccountButton button) const {
    switch (button) {
        case AccountButton::NewPlayer:
            return mode_ == AccountMode::NewPlayer ? "Save Player" : "New Player";
        case AccountButton::NewGm: return mode_ == AccountMode::NewGm ? "Save GM" : "New GM";
        case AccountButton::EditRecord:
            return mode_ == AccountMode::Edit ? "Save Record" : "Edit Record";
        case AccountButton::Cancel: return "Cancel";
        case AccountButton::SaveFile: return "Save File";
        case AccountButton::Delete: return "Delete";
    }
    return {};
}

bool AccountPage::offered(AccountButton button) const {
    const bool browsing = mode_ == AccountMode::Browse;
    switch (button) {
        case AccountButton::NewPlayer: return browsing || mode_ == AccountMode::NewPlayer;
        case AccountButton::NewGm:
            return browsing || mode_ == AccountMode::NewGm || mode_ == AccountMode::NoGmId;
        case AccountButton::EditRecord:
            return (browsing && chosen_editable()) || mode_ == AccountMode::Edit;
        case AccountButton::Cancel: return true;
        case AccountButton::SaveFile: return ws_.accounts.modified();
        case AccountButton::Delete: return browsing && selected_.has_value();
    }
    return false;
}

std::string AccountPage::caption(ServerTool tool) const {
    switch (tool) {
        case ServerTool::Wipes: return "Server Wipes";
        case ServerTool::CheckFiles: return "Check Files";
        case ServerTool::Third:
        case ServerTool::Fourth: break;
    }
    return "...";
}

// "Server Wipes" is shown but not offered: the wipes have no dialog. "Check Files" lists what
// is wrong in the server's files.
bool AccountPage::offered(ServerTool tool) const {
    return tool == ServerTool::CheckFiles;
}

std::string AccountPage::field_text(AccountField field) const {
    const std::string* text = form_text(form_, field);
    return text != nullptr ? *text : "Soon";
}

bool AccountPage::editing() const {
    return mode_ == AccountMode::NewPlayer || mode_ == AccountMode::NewGm ||
           mode_ == AccountMode::Edit;
}

bool AccountPage::field_unlocked(AccountField field) const {
    const AccountFieldRule& rule = account_field_rule(field);
    if (!rule.editable || !editing()) return false;
    return !rule.long_form || has_long_account_lines(ws_.accounts.table().server_generation);
}

bool AccountPage::takes_character(AccountField field, char32_t c) {
    if (!account_field_rule(field).digits_only) return true;
    return (c >= '0' && c <= '9') || c == '-';
}

bool AccountPage::list_enabled(AccountList list) const {
    switch (mode_) {
        case AccountMode::NewPlayer: return list != AccountList::GmLevel;
        case AccountMode::NewGm:
        case AccountMode::Edit: return true;
        case AccountMode::Browse:
        case AccountMode::NoGmId: break;
    }
    return false;
}

std::vector<ListEntry> AccountPage::entries(AccountList list) const {
    switch (list) {
        case AccountList::Sex: return sex_entries();
        // A stored state or level without an entry of its own keeps one while the form lasts.
        case AccountList::Status: return status_entries(form_at_start_.state);
        case AccountList::GmLevel: return gm_level_entries(form_at_start_.gm_level);
    }
    return {};
}

std::string AccountPage::time_caption(std::string_view text) {
    return seconds_caption(text);
}

void AccountPage::type_field(AccountField field, std::string text) {
    if (std::string* target = form_text(form_, field)) *target = std::move(text);
}

void AccountPage::choose_entry(AccountList list, std::uint8_t value) {
    switch (list) {
        case AccountList::Sex: form_.sex = value; break;
        case AccountList::Status: form_.state = value; break;
        case AccountList::GmLevel: form_.gm_level = value; break;
    }
}

void AccountPage::observe_modified(std::function<void(bool)> observer) {
    ws_.accounts.observe_modified(std::move(observer));
}

void AccountPage::select(std::optional<std::size_t> index) {
    const auto& records = ws_.accounts.table().records;
    if (index && *index >= records.size()) index.reset();
    selected_ = index;
    mode_ = AccountMode::Browse;
    form_ = index ? account_to_form(records[*index]) : AccountForm{};
    form_at_start_ = form_;
}

AccountOutcome AccountPage::press(AccountButton button, bool confirmed) {
    switch (button) {
        case AccountButton::NewPlayer:
            return mode_ == AccountMode::NewPlayer ? save_new(false) : begin_new(false);
        case AccountButton::NewGm:
            return mode_ == AccountMode::NewGm ? save_new(true) : begin_new(true);
        case AccountButton::EditRecord:
            return mode_ == AccountMode::Edit ? save_edit() : begin_edit();
        case AccountButton::Cancel: {
            select(selected_);
            AccountOutcome outcome;
            outcome.list = AccountListChange::Reshown;
            outcome.row = selected_;
            return outcome;
        }
        case AccountButton::SaveFile: return save_file();
        case AccountButton::Delete: return delete_chosen(confirmed);
    }
    return ended(EditResult::Failed);
}

AccountOutcome AccountPage::begin_new(bool gm) {
    AccountOutcome outcome;
    outcome.focus_username = true;
    const AccountTable& table = ws_.accounts.table();
    if (!gm) {
        // The GM level list stays disabled and keeps what it showed.
        form_ = new_account_form(next_player_id(table), form_.gm_level);
        form_at_start_ = form_;
        mode_ = AccountMode::NewPlayer;
        return outcome;
    }
    const std::optional<std::int32_t> id = next_gm_id(ui_, table);
    if (!id) {
        mode_ = AccountMode::NoGmId;  // Cancel or another account brings the buttons back
        return ended(EditResult::Failed);
    }
    form_ = new_account_form(*id, kNewGmLevel);
    form_at_start_ = form_;
    mode_ = AccountMode::NewGm;
    return outcome;
}

// A date typed into Validity or Ban becomes its seconds; a value the field cannot hold is
// refused before anything is stored.
bool AccountPage::read_dates() {
    for (AccountField field : {AccountField::Validity, AccountField::Ban}) {
        std::string* text = form_text(form_, field);
        const SecondsReading reading = read_seconds_field(account_field_rule(field).label, *text);
        if (reading.problem) {
            ui_.message(*reading.problem, "Error");
            return false;
        }
        *text = reading.text;
    }
    return true;
}

AccountOutcome AccountPage::save_new(bool gm) {
    if (!read_dates()) return ended(EditResult::Failed);
    AccountTable& table = ws_.accounts.table();
    AccountOutcome outcome = ended(save_new_account(ws_.app, ui_, table, form_, gm));
    if (outcome.result == EditResult::Saved) {
        select(table.records.size() - 1);
        outcome.list = AccountListChange::Added;
        outcome.row = selected_;
    }
    outcome.focus_username = outcome.result == EditResult::Refused;
    return outcome;
}

bool AccountPage::chosen_editable() const {
    return selected_ && *selected_ < ws_.accounts.table().records.size() &&
           can_edit_account(*selected_);
}

AccountOutcome AccountPage::begin_edit() {
    if (!chosen_editable()) return ended(EditResult::Failed);
    mode_ = AccountMode::Edit;
    form_at_start_ = form_;
    userid_before_edit_ = ws_.accounts.table().records[*selected_].userid();
    AccountOutcome outcome;
    outcome.focus_username = true;
    return outcome;
}

AccountOutcome AccountPage::save_edit() {
    if (!chosen_editable() || !read_dates()) return ended(EditResult::Failed);
    AccountOutcome outcome = ended(save_edited_account(ws_.app, ui_, ws_.accounts.table(),
                                                       *selected_, form_, userid_before_edit_));
    if (outcome.result == EditResult::Saved) {
        select(selected_);
        outcome.list = AccountListChange::Edited;
        outcome.row = selected_;
    }
    outcome.focus_username = outcome.result == EditResult::Refused;
    return outcome;
}

AccountOutcome AccountPage::save_file() {
    // The typed values would not be in the file: the user decides before it is written.
    if (!may_discard_typing()) return ended(EditResult::Refused, true);
    if (mode_ != AccountMode::Browse) select(selected_);
    AccountTable& table = ws_.accounts.table();
    const auto image = table.image;
    std::optional<std::int32_t> chosen;
    if (selected_ && *selected_ < table.records.size()) {
        chosen = table.records[*selected_].account_id();
    }
    if (!ws_.accounts.save(ui_)) return ended(EditResult::Failed);
    AccountOutcome outcome;
    const std::size_t count = table.records.size();
    outcome.status = "Saved save/account.txt: " + std::to_string(count) +
                     (count == 1 ? " account" : " accounts");
    // Put onto a file another writer changed: the chosen account is found and shown anew.
    if (table.image != image) {
        select(chosen ? index_of_account(table, *chosen) : std::nullopt);
        outcome.list = AccountListChange::Reloaded;
        outcome.row = selected_;
    }
    return outcome;
}

AccountOutcome AccountPage::delete_chosen(bool confirmed) {
    if (mode_ != AccountMode::Browse || !selected_) return ended(EditResult::Failed);
    const std::size_t removed = *selected_;
    const std::optional<std::size_t> next = delete_account(ws_, ui_, removed, confirmed);
    if (!next) return ended(EditResult::Failed);
    select(ws_.accounts.table().records.empty() ? std::nullopt : next);
    AccountOutcome outcome;
    outcome.list = AccountListChange::Removed;
    outcome.removed_row = removed;
    outcome.row = selected_;
    return outcome;
}

bool AccountPage::typing() const {
    return editing() && form_ != form_at_start_;
}

bool AccountPage::may_discard_typing() {
    return !typing() || ui_.ask_yes_no(kDiscardChangesQuestion, "Tavo");
}

std::optional<AccountButton> AccountPage::enter_button() const {
    switch (mode_) {
        case AccountMode::NewPlayer: return AccountButton::NewPlayer;
        case AccountMode::NewGm: return AccountButton::NewGm;
        case AccountMode::Edit: return AccountButton::EditRecord;
        case AccountMode::Browse:
        case AccountMode::NoGmId: break;
    }
    return std::nullopt;
}

}  // namespace tavo
