#pragma once
// The "User Info" page without its widgets. It owns the mode, the chosen account, the form the
// fields show, what each button says and whether it is offered, and the unsaved flag of the
// account table. The tab renders this state and forwards clicks and keys; tavo-cli drives the
// same object, so a check exists once.
//
// A page uses an editor like this: build its widgets once, call the editor on every click or
// key, then render everything from the editor's getters (captions, enabled states, entries with
// their values, the form). Never decide from a widget's caption, enabled state or text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_form.h"
#include "app/unsaved_flag.h"

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

// What the window asks before unsaved changes (typed or stored in a table) are thrown away.
inline constexpr const char* kDiscardChangesQuestion =
    "You have not save the modified items, Do you want to discard changes";

// The six buttons of the tab (Command2_0 to Command2_5).
enum class AccountButton { NewPlayer, NewGm, EditRecord, Cancel, SaveFile, Delete };
inline constexpr int kAccountButtonCount = 6;

// The three lists (Combo1_0 to Combo1_2).
enum class AccountList { Sex, Status, GmLevel };

class AccountEditor {
public:
    AccountEditor(Workspace& ws, Ui& ui);

    AccountMode mode() const { return mode_; }
    std::optional<std::size_t> selection() const { return selected_; }
    // What the fields show: the chosen account, a new one, or what was typed.
    const AccountForm& form() const { return form_; }
    UnsavedFlag& unsaved() { return unsaved_; }

    std::string caption(AccountButton button) const;
    bool offered(AccountButton button) const;
    // Whether typing into the field is allowed now (never for fields the program fills, nor
    // for fields the file's generation does not hold).
    bool field_unlocked(AccountField field) const;
    bool list_enabled(AccountList list) const;
    std::vector<ListEntry> entries(AccountList list) const;

    // Shows the account at `index` (nothing when out of range) and ends any mode.
    void select(std::optional<std::size_t> index);
    // What the fields hold now; a save stores it.
    void set_form(const AccountForm& form) { form_ = form; }

    // What a click on a button does in the present mode. "Save Player", "Save GM" and "Save
    // Record" store `form_`; Refused keeps the mode (the cursor goes to "Username").
    EditResult press(AccountButton button);
    // "Delete" of the chosen account with everything it owns (`confirmed`: without the
    // question); the index to choose next, or nothing when the account stays.
    std::optional<std::size_t> delete_chosen(bool confirmed = false);

    // Whether a New Player, New GM or Edit Record form holds values typed since it opened.
    bool typing() const;
    // Before typed values are thrown away (another account, closing the window): asks the
    // question; true when there is nothing typed or the user answered Yes.
    bool may_discard_typing();

    // The button Enter presses in the present mode ("Save Player", "Save GM", "Save Record");
    // nothing while browsing. Escape presses "Cancel" while a mode is on.
    std::optional<AccountButton> enter_button() const;
    bool escape_cancels() const { return mode_ != AccountMode::Browse; }
    // What the label beside Validity or Ban says of the field's text ("= 2025-01-01 00:00").
    static std::string time_caption(std::string_view text);
    // The status-bar words after "Save File" wrote the table.
    std::string saved_text() const;

    // Called after the table changed outside the editor (a load).
    void table_reloaded();
    // The last "Save File" put the table onto a file another writer had changed: the list must
    // show it anew (the selection already follows the chosen account).
    bool table_replaced() const { return table_replaced_; }

private:
    EditResult begin_new(bool gm);
    EditResult save_new(bool gm);
    EditResult begin_edit();
    EditResult save_edit();
    EditResult save_file();
    bool chosen_editable() const;
    bool read_dates();
    void end_mode();
    void sync_unsaved();

    Workspace& ws_;
    bool table_replaced_ = false;
    Ui& ui_;
    AccountMode mode_ = AccountMode::Browse;
    std::optional<std::size_t> selected_;
    std::string userid_before_edit_;
    AccountForm form_;
    AccountForm form_at_start_;  // the form as the mode opened it
    UnsavedFlag unsaved_;
};

}  // namespace tavo
