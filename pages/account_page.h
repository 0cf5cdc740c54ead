#pragma once
// The "User Info" page: the mode, the chosen account, the form the fields show, what each
// button says and whether it is offered, which keys a field takes, and what each press did. It
// reads and changes the account document; see pages/pages.h for how a page is used.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_form.h"

namespace tavo {

struct Workspace;
class Ui;

enum class AccountMode {
    Browse,
    NewPlayer,
    NewGm,
    Edit,
    NoGmId,  // "New GM" found no free id: only "New GM" and "Cancel" are offered
};

// What the window asks before unsaved changes (typed or stored in a document) are thrown away.
inline constexpr const char* kDiscardChangesQuestion =
    "You have not save the modified items, Do you want to discard changes";

// The six buttons of the tab (Command2_0 to Command2_5).
enum class AccountButton { NewPlayer, NewGm, EditRecord, Cancel, SaveFile, Delete };
inline constexpr int kAccountButtonCount = 6;

// The buttons of the "Server Tools" frame (Command8_0 to Command8_3).
enum class ServerTool { Wipes, CheckFiles, Third, Fourth };
inline constexpr int kServerToolCount = 4;

// The three lists (Combo1_0 to Combo1_2).
enum class AccountList { Sex, Status, GmLevel };

// What a press did to the account list beside the page.
enum class AccountListChange {
    None,
    Added,     // a new account at the end of the table: the list shows it and selects `row`
    Edited,    // the account at `row` changed: its line is drawn again
    Removed,   // the account at `row` is gone; `row` is then the entry to choose (none: empty)
    Reshown,   // "Cancel": the chosen account is shown again with its characters and store
    Reloaded,  // the table was put onto a file another writer changed: the list is read anew
               // and `row` (the account chosen before, if still there) is selected
};

struct AccountOutcome {
    EditResult result = EditResult::Saved;
    AccountListChange list = AccountListChange::None;
    std::optional<std::size_t> row;
    std::size_t removed_row = 0;  // for Removed: the row that went
    bool focus_username = false;  // a mode opened, or a refusal wants a correction
    std::string status;           // words for the status bar, when there are any
};

class AccountPage {
public:
    AccountPage(Workspace& ws, Ui& ui);

    AccountMode mode() const { return mode_; }
    std::optional<std::size_t> selection() const { return selected_; }
    // What the fields show: the chosen account, a new one, or what was typed.
    const AccountForm& form() const { return form_; }

    std::string caption(AccountButton button) const;
    bool offered(AccountButton button) const;
    std::string caption(ServerTool tool) const;
    bool offered(ServerTool tool) const;
    // The text a field shows ("Soon" for "Bank", which the account file does not hold).
    std::string field_text(AccountField field) const;
    // Whether typing into the field is allowed now (never for fields the program fills, nor
    // for fields the file's generation does not hold).
    bool field_unlocked(AccountField field) const;
    // Whether a typed character goes into the field: Validity and Ban take digits and the dash
    // of a date yyyy-mm-dd; the other fields take any character. Pasted text is checked when
    // the record is stored.
    static bool takes_character(AccountField field, char32_t c);
    // The most characters typing may bring a field to; a longer text from the file stays.
    static std::size_t field_limit(AccountField field) { return account_field_rule(field).limit; }
    bool list_enabled(AccountList list) const;
    std::vector<ListEntry> entries(AccountList list) const;
    // What the label beside Validity or Ban says of the field's text ("= 2025-01-01 00:00").
    static std::string time_caption(std::string_view text);

    // Shows the account at `index` (nothing when out of range) and ends any mode.
    void select(std::optional<std::size_t> index);
    // What the fields hold now, typed: a save stores it.
    void set_form(const AccountForm& form) { form_ = form; }
    // Text typed into a field, an entry chosen in a list (by its value).
    void type_field(AccountField field, std::string text);
    void choose_entry(AccountList list, std::uint8_t value);
    // Fields the program fills are shown greyed; the others are locked or open by the mode.
    static bool field_typable(AccountField field) { return account_field_rule(field).editable; }

    // A click on a button in the present mode. "Save Player", "Save GM" and "Save Record" store
    // the form; a refusal keeps the mode. "Delete" asks first, then deletes the chosen account
    // with everything it owns (`confirmed`: without the question).
    AccountOutcome press(AccountButton button, bool confirmed = false);

    // Whether a New Player, New GM or Edit Record form holds values typed since it opened.
    bool typing() const;
    // Before typed values are thrown away (another account, closing the window): asks the
    // question; true when there is nothing typed or the user answered Yes.
    bool may_discard_typing();

    // The button Enter presses in the present mode ("Save Player", "Save GM", "Save Record");
    // nothing while browsing. Escape presses "Cancel" while a mode is on.
    std::optional<AccountButton> enter_button() const;
    bool escape_cancels() const { return mode_ != AccountMode::Browse; }

    // The table was read anew: nothing chosen, no mode.
    void table_reloaded() { select(std::nullopt); }
    // The account table's modified flag ("Save File" is offered while it is set).
    void observe_modified(std::function<void(bool)> observer);

private:
    AccountOutcome begin_new(bool gm);
    AccountOutcome save_new(bool gm);
    AccountOutcome begin_edit();
    AccountOutcome save_edit();
    AccountOutcome save_file();
    AccountOutcome delete_chosen(bool confirmed);
    bool chosen_editable() const;
    bool editing() const;
    bool read_dates();

    Workspace& ws_;
    Ui& ui_;
    AccountMode mode_ = AccountMode::Browse;
    std::optional<std::size_t> selected_;
    std::string userid_before_edit_;
    AccountForm form_;
    AccountForm form_at_start_;  // the form as the mode opened it
};

}  // namespace tavo
