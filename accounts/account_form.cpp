#include "accounts/account_form.h"

#include <algorithm>
#include <charconv>

#include "accounts/account_merge.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/ui.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;

namespace {

constexpr std::uint8_t kGmLevels[] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 99};

constexpr AccountFieldRule kFieldRules[kAccountFieldCount] = {
    {"User ID", 20, false, false, false},    {"Username", 23, true, false, false},
    {"Password", 23, true, false, false},    {"Last Login", 50, false, false, false},
    {"Login Count", 5, false, false, false}, {"Bank", 12, false, false, false},
    {"Validity", 12, true, true, true},      {"Ban", 12, true, true, true},
    {"E-mail", 39, true, false, true},       {"Error Msg", 19, true, false, true},
    {"Memo", 254, true, false, true},        {"IP", 12, false, false, true},
};

// The checks of a new account compare with what "New Player" fills in.
AccountForm blank_like(const AccountForm& form) {
    AccountForm blank = new_account_form(0, 0);
    blank.user_id = form.user_id;
    return blank;
}

std::int32_t form_number(const std::string& text) {
    return to_i32(numeric_value(text));
}

bool all_digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

EditResult check_names(Ui& ui, const AccountTable& table, const AccountForm& form,
                       bool name_must_be_free) {
    if (form.username.empty() || form.password.empty()) {
        ui.message("Please enter username & password.", "Error");
        return EditResult::Refused;
    }
    if (name_must_be_free && !is_username_free(table, form.username)) {
        ui.message("username is already inuse.", "Error");
        return EditResult::Refused;
    }
    return EditResult::Saved;
}

bool refused(Ui& ui, const AccountForm& form, const AccountForm& before,
             ServerGeneration generation) {
    const std::optional<std::string> problem = account_form_problem(form, before, generation);
    if (problem) ui.message(*problem, "Error");
    return problem.has_value();
}

}  // namespace

const AccountFieldRule& account_field_rule(AccountField field) {
    return kFieldRules[static_cast<int>(field)];
}

std::string* form_text(AccountForm& form, AccountField field) {
    switch (field) {
        case AccountField::UserId: return &form.user_id;
        case AccountField::Username: return &form.username;
        case AccountField::Password: return &form.password;
        case AccountField::LastLogin: return &form.last_login;
        case AccountField::LoginCount: return &form.login_count;
        case AccountField::Bank: return nullptr;
        case AccountField::Validity: return &form.validity;
        case AccountField::Ban: return &form.ban;
        case AccountField::Email: return &form.email;
        case AccountField::ErrorMsg: return &form.error_msg;
        case AccountField::Memo: return &form.memo;
        case AccountField::Ip: return &form.ip;
    }
    return nullptr;
}

const std::string* form_text(const AccountForm& form, AccountField field) {
    return form_text(const_cast<AccountForm&>(form), field);
}

std::optional<std::string> account_form_problem(const AccountForm& form, const AccountForm& before,
                                                ServerGeneration generation) {
    for (int i = 0; i < kAccountFieldCount; ++i) {
        const auto field = static_cast<AccountField>(i);
        const AccountFieldRule& rule = account_field_rule(field);
        const std::string* text = form_text(form, field);
        if (!rule.editable || text == nullptr || *text == *form_text(before, field)) continue;
        if (rule.long_form && !has_long_account_lines(generation)) {
            return std::string(rule.label) +
                   " cannot be changed: the account file of this server (" +
                   generation_caption(generation) +
                   ") has no such field, so the server would lose it.";
        }
        if (text->size() > rule.limit) {
            return std::string(rule.label) + " takes at most " + std::to_string(rule.limit) +
                   " characters.";
        }
    }
    return std::nullopt;
}

AccountForm account_to_form(const AccountRecord& record) {
    AccountForm form;
    form.user_id = std::to_string(record.account_id());
    form.username = record.userid();
    form.password = record.pass();
    form.last_login = record.lastlogin();
    form.login_count = std::to_string(record.logincount());
    form.validity = std::to_string(record.connect_until());
    form.ban = std::to_string(record.ban_until());
    form.email = record.email();
    form.error_msg = record.error_message();
    form.memo = record.memo();
    form.ip = record.last_ip();
    form.sex = record.sex();
    form.state = record.state();
    form.gm_level = record.gm_level();
    return form;
}

AccountForm new_account_form(std::int32_t id, std::uint8_t gm_level) {
    AccountForm form;
    form.user_id = std::to_string(id);
    form.last_login = "-"s;
    form.login_count = "0"s;
    form.validity = "0"s;
    form.ban = "0"s;
    form.email = kNoEmail;
    form.error_msg = "-"s;
    form.memo = "-"s;
    form.ip = "-"s;
    form.gm_level = gm_level;
    return form;
}

// The server hands out no id below its %newid% counter: the ids under it may belong to
// accounts deleted since.
std::int32_t next_player_id(const AccountTable& table) {
    const long long counter = std::min<long long>(table.newid.counter(), INT32_MAX);
    return static_cast<std::int32_t>(std::max<long long>(table.highest_player_id + 1LL, counter));
}

std::optional<std::int32_t> next_gm_id(Ui& ui, const AccountTable& table) {
    if (table.highest_gm_id > kLastGmIdBeforeLimit) {
        ui.message("Hey! Have'nt you have enough already.", "Tavo");
        return std::nullopt;
    }
    return table.highest_gm_id + 1;
}

bool is_username_free(const AccountTable& table, std::string_view name) {
    return std::none_of(table.records.begin(), table.records.end(),
                        [name](const AccountRecord& r) { return r.userid() == name; });
}

std::vector<ListEntry> sex_entries() {
    return {{"Male", 0}, {"Female", 1}, {"System", 2}};
}

std::vector<ListEntry> status_entries(std::uint8_t state) {
    std::vector<ListEntry> entries = {
        {"ACTIVE", 0}, {"EXPIRED", 1}, {"REJECTED", 2}, {"BANNED", 3}};
    if (state > 3) entries.push_back({"STATE " + std::to_string(state), state});
    return entries;
}

std::vector<ListEntry> gm_level_entries(std::uint8_t level) {
    std::vector<ListEntry> entries;
    bool listed = false;
    for (std::uint8_t standard : kGmLevels) {
        if (!listed && level < standard) {
            entries.push_back({"Access " + std::to_string(level), level});
            listed = true;
        }
        listed = listed || level == standard;
        entries.push_back({"Access " + std::to_string(standard), standard});
    }
    if (!listed) entries.push_back({"Access " + std::to_string(level), level});
    return entries;
}

int entry_position(const std::vector<ListEntry>& entries, std::uint8_t value) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].value == value) return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> account_fields_problem(const AccountFields& f) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"Username", &f.userid}, {"Password", &f.pass},           {"Last Login", &f.lastlogin},
        {"E-mail", &f.email},    {"Error Msg", &f.error_message}, {"IP", &f.last_ip},
        {"Memo", &f.memo},
    };
    for (const auto& [label, text] : texts) {
        if (has_line_breaker(*text)) {
            return std::string(label) +
                   " holds a TAB or a line break, which would break the account file. Please "
                   "remove it.";
        }
    }
    for (const std::string& reg : f.regs) {
        if (has_line_breaker(reg) || contains(reg, " ")) {
            return "The account register \"" + reg +
                   "\" holds a blank, a TAB or a line break, which would break the account "
                   "file.";
        }
    }
    return std::nullopt;
}

bool form_to_account(Ui& ui, AccountTable& table, const AccountForm& form,
                     std::optional<std::size_t> index) {
    AccountFields fields;
    if (index) fields = table.records.at(*index).fields();
    const bool copied = guarded(ui, "do2-set user accounts", [&] {
        fields.account_id = form_number(form.user_id);
        fields.userid = form.username;
        fields.pass = form.password;
        fields.lastlogin = form.last_login;
        fields.logincount = form_number(form.login_count);
        fields.sex = form.sex;
        fields.state = form.state;
        fields.gm_level = form.gm_level;
        fields.connect_until = form_number(form.validity);
        fields.ban_until = form_number(form.ban);
        fields.email = form.email;
        fields.error_message = form.error_msg;
        fields.memo = form.memo;
        fields.last_ip = form.ip;
    });
    if (!copied) return false;
    if (const auto problem = account_fields_problem(fields)) {
        ui.message(*problem, "Error");
        return false;
    }
    if (index) {
        table.records[*index].assign(std::move(fields));
    } else {
        table.records.emplace_back(std::move(fields));
        // The lines that end the file (its %newid% line among them) stay at its end.
        for (KeptLine& kept : table.kept_lines) {
            if (kept.before + 1 == table.records.size()) kept.before = table.records.size();
        }
    }
    table.modified = true;
    return true;
}

EditResult save_new_account([[maybe_unused]] const AppContext& app, Ui& ui, AccountTable& table,
                            const AccountForm& form, bool gm) {
    // Nothing goes into a table that may not be saved (nor a GM level into the GM file).
    if (!table.load_state.allow_write(ui)) return EditResult::Failed;
    const EditResult names = check_names(ui, table, form, true);
    if (names != EditResult::Saved) return names;
    if (refused(ui, form, blank_like(form), table.server_generation)) return EditResult::Failed;
    AccountForm stored = form;
    // A player is no GM, whatever the disabled GM level list still shows.
    if (!gm) stored.gm_level = 0;
    if (!form_to_account(ui, table, stored, std::nullopt)) return EditResult::Failed;
    // The GM line waits for the account: written now, a discard would leave rights for an id
    // that no account has.
    table.unsaved_accounts[table.records.back().account_id()] =
        gm ? std::optional<std::uint8_t>(stored.gm_level) : std::nullopt;
    const std::int32_t id = table.records.back().account_id();
    if (gm) {
        table.highest_gm_id = std::max(table.highest_gm_id, id);
    } else {
        table.highest_player_id = std::max(table.highest_player_id, id);
    }
    return EditResult::Saved;
}

EditResult save_edited_account(const AppContext& app, Ui& ui, AccountTable& table,
                               std::size_t index, const AccountForm& form,
                               std::string_view userid_before_edit) {
    if (!can_edit_account(index) || index >= table.records.size()) return EditResult::Failed;
    if (!table.load_state.allow_write(ui)) return EditResult::Failed;
    const EditResult names = check_names(ui, table, form, form.username != userid_before_edit);
    if (names != EditResult::Saved) return names;
    const AccountForm before = account_to_form(table.records[index]);
    const std::uint8_t level_before = table.records[index].gm_level();
    if (refused(ui, form, before, table.server_generation)) return EditResult::Failed;
    if (!form_to_account(ui, table, form, index)) return EditResult::Failed;
    const std::int32_t id = table.records[index].account_id();
    if (auto unsaved = table.unsaved_accounts.find(id); unsaved != table.unsaved_accounts.end()) {
        // Written with the account; "Access 0" of a player writes nothing.
        if (unsaved->second || form.gm_level != 0) unsaved->second = form.gm_level;
    } else if (form.gm_level != 0 || level_before != 0) {
        // "Access 0" takes the account out of the GM file, or the server would keep its rights.
        AccountRecord& record = table.records[index];
        const GmLevelAsRead as_read{level_before, account_label(record)};
        if (const auto level = check_gm_id(app, ui, id, form.gm_level, as_read)) {
            record.set_gm_level(*level);  // the level another writer gave, when it was kept
        }
    }
    return EditResult::Saved;
}

bool confirm_account_deletion(Ui& ui, const AccountRecord& record) {
    const std::string id = std::to_string(record.account_id());
    if (contains("0,1,2,3,4", id)) {
        ui.message(
            "WARNING!!! This is a SERVER account... Please make sure that you REALLY WANTED to "
            "delete this.",
            "Tavo", Icon::Critical);
    }
    if (id.starts_with("70")) {
        ui.message(
            "WARNING!!! This is a GM account... Please make sure that you REALLY WANTED to delete "
            "this.",
            "Tavo", Icon::Critical);
    }
    return ui.ask_yes_no("Are you sure?", "Tavo");
}

std::size_t remove_account(AccountTable& table, std::size_t index) {
    table.records.erase(table.records.begin() + static_cast<std::ptrdiff_t>(index));
    for (KeptLine& kept : table.kept_lines) {
        if (kept.before > index) --kept.before;
    }
    recompute_highest_ids(table);
    table.modified = true;
    if (table.records.empty()) return 0;
    return std::min(index, table.records.size() - 1);
}

namespace {

bool id_holds(std::int32_t id, std::string_view digits) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, id).ptr;
    return std::string_view(text, static_cast<std::size_t>(end - text)).find(digits) !=
           std::string_view::npos;
}

// A search text prepared once for a pass over the whole table.
struct AccountSearch {
    explicit AccountSearch(std::string_view text)
        : wanted(to_lower(trim_blanks(text))), digits(all_digits(wanted)) {}
    bool matches(const AccountRecord& record) const {
        if (digits && id_holds(record.account_id(), wanted)) return true;
        return holds_ignoring_case(record.userid(), wanted);
    }
    std::string wanted;
    bool digits;
};

}  // namespace

bool account_matches(const AccountRecord& record, std::string_view text) {
    const AccountSearch search(text);
    return !search.wanted.empty() && search.matches(record);
}

std::optional<std::size_t> index_of_account(const AccountTable& table, std::int32_t account_id) {
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        if (table.records[i].account_id() == account_id) return i;
    }
    return std::nullopt;
}

}  // namespace tavo
