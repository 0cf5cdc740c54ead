#pragma once
// The rules of the "User Info" form: the values of its fields and lists, the ids of new
// accounts, the checks of "Save Player", "Save GM" and "Save Record", the copy of the fields
// into the table, deletion and the account search. The tab and tavo-cli both go through here,
// so both apply the same checks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_table.h"
#include "app/settings.h"

namespace tavo {

class Ui;

// "New GM" proposes ids up to 704584; a highest GM id above 704583 leaves none.
inline constexpr std::int32_t kLastGmIdBeforeLimit = 704583;
inline constexpr std::uint8_t kNewGmLevel = 10;

// The "User Info" text fields (Text2_0 to Text2_11), in the order of the tab's controls.
enum class AccountField {
    UserId,
    Username,
    Password,
    LastLogin,
    LoginCount,
    Bank,
    Validity,
    Ban,
    Email,
    ErrorMsg,
    Memo,
    Ip,
};
inline constexpr int kAccountFieldCount = 12;

// What a field takes. A field that is never unlocked is filled by the program only. The limits of
// name and password follow the server, which cuts both to 23 characters; e-mail, error message and
// memo take what the server keeps.
struct AccountFieldRule {
    const char* label;
    std::size_t limit;
    bool editable;     // unlocked by "New Player", "New GM" and "Edit Record"
    bool digits_only;  // seconds or a date: typed characters other than digits and "-" are dropped
    bool long_form;    // held only by 1.0.0 account lines
};
const AccountFieldRule& account_field_rule(AccountField field);

// The texts of the "User Info" fields and the values chosen in its lists.
struct AccountForm {
    std::string user_id;      // "User ID"
    std::string username;     // "Username"
    std::string password;     // "Password"
    std::string last_login;   // "Last Login"
    std::string login_count;  // "Login Count"
    std::string validity;     // "Validity"
    std::string ban;          // "Ban"
    std::string email;        // "E-mail"
    std::string error_msg;    // "Error Msg"
    std::string memo;         // "Memo"
    std::string ip;           // "IP"
    std::uint8_t sex = 0;
    std::uint8_t state = 0;
    std::uint8_t gm_level = 0;

    bool operator==(const AccountForm&) const = default;
};

// The form's text of a field; nothing for "Bank", which the account file does not hold.
const std::string* form_text(const AccountForm& form, AccountField field);
std::string* form_text(AccountForm& form, AccountField field);

AccountForm account_to_form(const AccountRecord& record);
// What "New Player" and "New GM" fill in for the id.
AccountForm new_account_form(std::int32_t id, std::uint8_t gm_level);

std::int32_t next_player_id(const AccountTable& table);
// The id "New GM" proposes; without one, the message is shown and nothing is returned.
std::optional<std::int32_t> next_gm_id(Ui& ui, const AccountTable& table);

// True when no account has exactly this name (letter case counts).
bool is_username_free(const AccountTable& table, std::string_view name);

// An entry of the sex, status or GM level list and the value it stands for.
struct ListEntry {
    std::string text;
    std::uint8_t value = 0;
};
std::vector<ListEntry> sex_entries();
// "ACTIVE" ... "BANNED" for 0 to 3, and an entry for a stored state above 3 so that saving the
// record keeps it.
std::vector<ListEntry> status_entries(std::uint8_t state);
// "Access 0", "Access 10" ... "Access 90", "Access 99"; a level that matches none of them (45)
// gets its own entry ("Access 45") in number order, so that saving the record keeps it.
std::vector<ListEntry> gm_level_entries(std::uint8_t level);
// The position of the entry standing for value, or -1.
int entry_position(const std::vector<ListEntry>& entries, std::uint8_t value);

// Why these values cannot go into the account file (a TAB or line break in a text, a blank
// inside a register entry), or nothing when they can.
std::optional<std::string> account_fields_problem(const AccountFields& fields);

// Why a changed field cannot be stored: longer than its limit, or a field this generation's
// account lines do not hold (the server would lose it). Only fields that differ from `before`
// are looked at, so a value the file already holds is kept as it is.
std::optional<std::string> account_form_problem(const AccountForm& form, const AccountForm& before,
                                                ServerGeneration generation);

// form_to_account: copies the form into the record at `index`, or into a new record at the end
// of the table when there is no index. Numbers that are empty or not numeric stop it with the
// error report ("in do2-set user accounts"); a text that would break the line is refused with a
// message titled "Error". Either way the table is left as it was. True when stored.
bool form_to_account(Ui& ui, AccountTable& table, const AccountForm& form,
                     std::optional<std::size_t> index);

enum class EditResult {
    Saved,
    Refused,  // a missing or used name: the message is shown, the cursor goes to "Username"
    Failed,   // the values could not be stored: the message or error report is shown
};

// "Save Player" / "Save GM": the name checks, the field checks, the new record, the next id; for a
// GM the level is written into the GM file at once.
EditResult save_new_account(const AppContext& app, Ui& ui, AccountTable& table,
                            const AccountForm& form, bool gm);

// "Edit Record" works on every entry but the first of the list.
inline bool can_edit_account(std::size_t index) {
    return index > 0;
}

// "Save Record": the name checks (a name kept as it was passes), the field checks, the record, and
// the GM level written into the GM file ("Access 0" takes a GM's id out of it).
EditResult save_edited_account(const AppContext& app, Ui& ui, AccountTable& table,
                               std::size_t index, const AccountForm& form,
                               std::string_view userid_before_edit);

// The warnings for a server or GM account, then "Are you sure?". True on Yes.
bool confirm_account_deletion(Ui& ui, const AccountRecord& record);
// Takes the record out of the table and recomputes the highest ids. Returns the index to select
// next: the same place, or the last entry when the removed one was the last.
std::size_t remove_account(AccountTable& table, std::size_t index);

// The one rule of the find box, its Enter and `tavo-cli accounts --find`: the account's name
// holds `text` (letter case ignored and blanks around it dropped), or `text` is digits that its
// id holds ("0001" finds 2000001 and 2000013). An empty text matches nothing.
bool account_matches(const AccountRecord& record, std::string_view text);

// The table index of the first account with this id.
std::optional<std::size_t> index_of_account(const AccountTable& table, std::int32_t account_id);

}  // namespace tavo
