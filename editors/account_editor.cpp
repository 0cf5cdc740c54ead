#include "editors/account_editor.h"

#include "accounts/account_time.h"
#include "accounts/account_write.h"
#include "app/ui.h"
#include "workspace/account_deletion.h"
#include "workspace/workspace.h"

namespace tavo {

AccountEditor::AccountEditor(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {
    sync_unsaved();
}

std::string AccountEditor::caption(AccountButton button) const {
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

bool AccountEditor::offered(AccountButton button) const {
    const bool browsing = mode_ == AccountMode::Browse;
    switch (button) {
        case AccountButton::NewPlayer: return browsing || mode_ == AccountMode::NewPlayer;
        case AccountButton::NewGm:
            return browsing || mode_ == AccountMode::NewGm || mode_ == AccountMode::NoGmId;
        case AccountButton::EditRecord:
            return (browsing && chosen_editable()) || mode_ == AccountMode::Edit;
        case AccountButton::Cancel: return true;
        case AccountButton::SaveFile: return unsaved_.get();
        case AccountButton::Delete: return browsing && selected_.has_value();
    }
    return false;
}

bool AccountEditor::field_unlocked(AccountField field) const {
    const AccountFieldRule& rule = account_field_rule(field);
    const bool editing = mode_ == AccountMode::NewPlayer || mode_ == AccountMode::NewGm ||
                         mode_ == AccountMode::Edit;
    if (!rule.editable || !editing) return false;
    return !rule.long_form || has_long_account_lines(ws_.accounts.server_generation);
}

bool AccountEditor::list_enabled(AccountList list) const {
    switch (mode_) {
        case AccountMode::NewPlayer: return list != AccountList::GmLevel;
        case AccountMode::NewGm:
        case AccountMode::Edit: return true;
        case AccountMode::Browse:
        case AccountMode::NoGmId: break;
    }
    return false;
}

std::vector<ListEntry> AccountEditor::entries(AccountList list) const {
    switch (list) {
        case AccountList::Sex: return sex_entries();
        case AccountList::Status: return status_entries(form_.state);
        case AccountList::GmLevel: return gm_level_entries(form_.gm_level);
    }
    return {};
}

void AccountEditor::select(std::optional<std::size_t> index) {
    if (index && *index >= ws_.accounts.records.size()) index.reset();
    selected_ = index;
    end_mode();
    form_ = index ? account_to_form(ws_.accounts.records[*index]) : AccountForm{};
}

EditResult AccountEditor::press(AccountButton button) {
    EditResult result = EditResult::Saved;
    table_replaced_ = false;
    switch (button) {
        case AccountButton::NewPlayer:
            result = mode_ == AccountMode::NewPlayer ? save_new(false) : begin_new(false);
            break;
        case AccountButton::NewGm:
            result = mode_ == AccountMode::NewGm ? save_new(true) : begin_new(true);
            break;
        case AccountButton::EditRecord:
            result = mode_ == AccountMode::Edit ? save_edit() : begin_edit();
            break;
        case AccountButton::Cancel: select(selected_); break;
        case AccountButton::SaveFile: result = save_file(); break;
        case AccountButton::Delete: result = EditResult::Failed; break;  // see delete_chosen
    }
    sync_unsaved();
    return result;
}

EditResult AccountEditor::begin_new(bool gm) {
    if (!gm) {
        // The GM level list stays disabled and keeps what it showed.
        form_ = new_account_form(next_player_id(ws_.accounts), form_.gm_level);
        form_at_start_ = form_;
        mode_ = AccountMode::NewPlayer;
        return EditResult::Saved;
    }
    const std::optional<std::int32_t> id = next_gm_id(ui_, ws_.accounts);
    if (!id) {
        mode_ = AccountMode::NoGmId;  // Cancel or another account brings the buttons back
        return EditResult::Failed;
    }
    form_ = new_account_form(*id, kNewGmLevel);
    form_at_start_ = form_;
    mode_ = AccountMode::NewGm;
    return EditResult::Saved;
}

// A date typed into Validity or Ban becomes its seconds; a value the field cannot hold is
// refused before anything is stored.
bool AccountEditor::read_dates() {
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

EditResult AccountEditor::save_new(bool gm) {
    if (!read_dates()) return EditResult::Failed;
    const EditResult result = save_new_account(ws_.app, ui_, ws_.accounts, form_, gm);
    if (result == EditResult::Saved) select(ws_.accounts.records.size() - 1);
    return result;
}

bool AccountEditor::chosen_editable() const {
    return selected_ && *selected_ < ws_.accounts.records.size() && can_edit_account(*selected_);
}

EditResult AccountEditor::begin_edit() {
    if (!chosen_editable()) return EditResult::Failed;
    mode_ = AccountMode::Edit;
    form_at_start_ = form_;
    userid_before_edit_ = ws_.accounts.records[*selected_].userid();
    return EditResult::Saved;
}

EditResult AccountEditor::save_edit() {
    if (!chosen_editable() || !read_dates()) return EditResult::Failed;
    const EditResult result =
        save_edited_account(ws_.app, ui_, ws_.accounts, *selected_, form_, userid_before_edit_);
    if (result == EditResult::Saved) select(selected_);
    return result;
}

EditResult AccountEditor::save_file() {
    // The typed values would not be in the file: the user decides before it is written.
    if (!may_discard_typing()) return EditResult::Refused;
    if (mode_ != AccountMode::Browse) select(selected_);
    AccountTable& table = ws_.accounts;
    const auto image = table.image;
    std::optional<std::int32_t> chosen;
    if (selected_ && *selected_ < table.records.size()) {
        chosen = table.records[*selected_].account_id();
    }
    if (!save_account(ws_.app, ui_, table)) return EditResult::Failed;
    // Put onto a file another writer changed: the chosen account is found and shown anew.
    table_replaced_ = table.image != image;
    if (table_replaced_) select(chosen ? index_of_account(table, *chosen) : std::nullopt);
    return EditResult::Saved;
}

std::optional<std::size_t> AccountEditor::delete_chosen(bool confirmed) {
    if (mode_ != AccountMode::Browse || !selected_) return std::nullopt;
    const std::optional<std::size_t> next = delete_account(ws_, ui_, *selected_, confirmed);
    if (next) select(ws_.accounts.records.empty() ? std::nullopt : next);
    sync_unsaved();
    return next;
}

bool AccountEditor::typing() const {
    const bool editing = mode_ == AccountMode::NewPlayer || mode_ == AccountMode::NewGm ||
                         mode_ == AccountMode::Edit;
    return editing && form_ != form_at_start_;
}

bool AccountEditor::may_discard_typing() {
    return !typing() || ui_.ask_yes_no(kDiscardChangesQuestion, "Tavo");
}

std::optional<AccountButton> AccountEditor::enter_button() const {
    switch (mode_) {
        case AccountMode::NewPlayer: return AccountButton::NewPlayer;
        case AccountMode::NewGm: return AccountButton::NewGm;
        case AccountMode::Edit: return AccountButton::EditRecord;
        case AccountMode::Browse:
        case AccountMode::NoGmId: break;
    }
    return std::nullopt;
}

std::string AccountEditor::time_caption(std::string_view text) {
    return seconds_caption(text);
}

std::string AccountEditor::saved_text() const {
    const std::size_t count = ws_.accounts.records.size();
    return "Saved save/account.txt: " + std::to_string(count) +
           (count == 1 ? " account" : " accounts");
}

void AccountEditor::table_reloaded() {
    select(std::nullopt);
    sync_unsaved();
}

void AccountEditor::end_mode() {
    mode_ = AccountMode::Browse;
}

void AccountEditor::sync_unsaved() {
    unsaved_.set(ws_.accounts.modified);
}

}  // namespace tavo
