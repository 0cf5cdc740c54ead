// The account commands of tavo-cli: list, show, change and create accounts, read and write GM
// levels. Changes go through the same checks as the "User Info" tab and are written the way its
// "Save File" writes them.

#include <iostream>
#include <memory>

#include "accounts/account_form.h"
#include "accounts/account_merge.h"
#include "accounts/account_time.h"
#include "accounts/gm_levels.h"
#include "app/numbers.h"
#include "cli/cli.h"
#include "pages/account_finder.h"
#include "pages/account_page.h"
#include "workspace/workspace.h"

namespace tavo::cli {
namespace {

constexpr int kHighestLevel = 99;

std::string sex_text(std::uint8_t sex) {
    return std::string(1, sex_letter(sex));
}

nlohmann::json summary_json(const AccountRecord& r) {
    return {{"account_id", r.account_id()}, {"userid", utf8(r.userid())},
            {"sex", sex_text(r.sex())},     {"gm_level", r.gm_level()},
            {"state", r.state()},           {"lastlogin", utf8(r.lastlogin())}};
}

nlohmann::json full_json(const AccountRecord& r) {
    nlohmann::json regs = nlohmann::json::array();
    for (std::string_view reg : r.regs()) regs.push_back(utf8(reg));
    return {{"account_id", r.account_id()},
            {"userid", utf8(r.userid())},
            {"pass", utf8(r.pass())},
            {"lastlogin", utf8(r.lastlogin())},
            {"sex", sex_text(r.sex())},
            {"gm_level", r.gm_level()},
            {"logincount", r.logincount()},
            {"state", r.state()},
            {"email", utf8(r.email())},
            {"error_message", utf8(r.error_message())},
            {"connect_until", r.connect_until()},
            {"last_ip", utf8(r.last_ip())},
            {"memo", utf8(r.memo())},
            {"ban_until", r.ban_until()},
            {"regs", regs}};
}

void print_summary(const AccountRecord& r) {
    std::cout << r.account_id() << '\t' << r.userid() << '\t' << sex_letter(r.sex()) << '\t'
              << int{r.gm_level()} << '\t' << int{r.state()} << '\t' << r.lastlogin() << '\n';
}

void print_full(const AccountRecord& r) {
    std::cout << "account_id\t" << r.account_id() << "\nuserid\t" << r.userid() << "\npass\t"
              << r.pass() << "\nlastlogin\t" << r.lastlogin() << "\nsex\t" << sex_letter(r.sex())
              << "\ngm_level\t" << int{r.gm_level()} << "\nlogincount\t" << r.logincount()
              << "\nstate\t" << int{r.state()} << "\nemail\t" << r.email() << "\nerror_message\t"
              << r.error_message() << "\nconnect_until\t" << r.connect_until() << "\nlast_ip\t"
              << r.last_ip() << "\nmemo\t" << r.memo() << "\nban_until\t" << r.ban_until()
              << "\nregs\t";
    for (std::string_view reg : r.regs()) std::cout << reg << ' ';
    std::cout << '\n';
}

// The start-up; false (with the exit code set) when there is no server folder or a question
// of the account load was not answered.
bool start(Session& session, int& result, unsigned reads) {
    if (!session.start(reads) || session.ui.declined()) {
        result = kFailed;
        return false;
    }
    return true;
}

// The start-up for a command that ends by saving the account file, which reads it whole:
// refused before any change (the GM file of a new GM account included) when the file was not
// read whole.
bool start_for_writing(Session& session, int& result) {
    if (!start(session, result, kAccountTable)) return false;
    if (session.ws.accounts.table().load_state.allow_write(session.ui)) return true;
    result = kFailed;
    return false;
}

// The start-up for an edit of one account: on its own, the table holds only what the edit
// looks at (a renamed account's new name among it), read in one pass; in a batch, the whole
// table.
bool start_for_one_edit(Session& session, int& result, std::int32_t id,
                        const std::optional<std::string>& name) {
    if (session.batch()) return start_for_writing(session, result);
    const auto read = [&] { session.ws.accounts.load_for_edit(session.ui, id, name); };
    if (!session.start(kSettingsOnly, read) || session.ui.declined()) {
        result = kFailed;
        return false;
    }
    if (session.ws.accounts.table().load_state.allow_write(session.ui)) return true;
    result = kFailed;
    return false;
}

std::optional<std::size_t> account_index(Session& session, std::int32_t id, int& result) {
    const std::optional<std::size_t> index = session.index_of(id);
    if (!index) {
        std::cerr << "No account with the id " << id << " in " << kAccountFile << "\n";
        result = kFailed;
    }
    return index;
}

// The account with that id, read lazily when the command reads no more of the file.
std::optional<FoundAccount> found_account(Session& session, std::int32_t id, int& result) {
    std::optional<FoundAccount> found = session.find_account(id);
    if (!found) {
        if (!session.ui.declined()) {
            std::cerr << "No account with the id " << id << " in " << kAccountFile << "\n";
        }
        result = kFailed;
    }
    return found;
}

bool usage(const std::string& text, int& result) {
    std::cerr << text << "\n";
    result = kUsage;
    return false;
}

// One FIELD=VALUE of "account set" put into the form of the "User Info" tab.
bool apply(AccountForm& form, const std::string& assignment, int& result) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) return usage("Expected FIELD=VALUE: " + assignment, result);
    const std::string field = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    if (field == "userid") {
        form.username = value;
    } else if (field == "pass") {
        form.password = value;
    } else if (field == "sex") {
        if (value != "M" && value != "F" && value != "S") return usage("sex is M, F or S", result);
        form.sex = sex_from_field(value);
    } else if (field == "state") {
        const std::optional<long long> state = integer_in(value, 0, 255);
        if (!state) return usage("state is a whole number from 0 to 255: " + value, result);
        form.state = static_cast<std::uint8_t>(*state);
    } else if (field == "email") {
        form.email = value;
    } else if (field == "error_message") {
        form.error_msg = value;
    } else if (field == "connect_until" || field == "ban_until") {
        // What the window's Validity and Ban fields take: seconds, or a date yyyy-mm-dd.
        const bool digits = is_integer(value) && value.front() != '-';
        if (!digits && seconds_caption(value).empty()) {
            return usage(field + " is seconds in decimal digits or a date yyyy-mm-dd: " + value,
                         result);
        }
        (field == "ban_until" ? form.ban : form.validity) = value;
    } else if (field == "memo") {
        form.memo = value;
    } else {
        return usage("Unknown field " + field +
                         " (userid, pass, sex, state, email, error_message, connect_until, "
                         "memo, ban_until)",
                     result);
    }
    return true;
}

// The name "account set" gives the account, if it gives one (the last userid= wins).
std::optional<std::string> changes_name(const std::vector<std::string>& assignments) {
    std::optional<std::string> name;
    for (const std::string& assignment : assignments) {
        if (assignment.starts_with("userid=")) name = assignment.substr(7);
    }
    return name;
}

// The account file written as "Save File" writes it; the exit code follows.
void save_file(AccountPage& page, int& result, const std::string& done) {
    if (page.press(AccountButton::SaveFile).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    std::cout << done << "\n";
    result = kDone;
}

// The accounts --find lists: by name or id, or (--by-char) by a character's name, as the find
// box narrows the account list.
std::vector<std::size_t> found_accounts(Workspace& ws, const std::string& find, bool by_char) {
    AccountFinder finder(ws);
    finder.set_by(by_char ? FindBy::Character : FindBy::Account);
    return finder.found(find);
}

void list_accounts(const CliOptions& options, const std::string& find, bool by_char, int& result) {
    Session session(options);
    if (!start(session, result, kAccountTable)) return;
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i : found_accounts(session.ws, find, by_char)) {
        const AccountRecord& record = session.ws.accounts.table().records[i];
        if (options.json) {
            list.push_back(summary_json(record));
        } else {
            print_summary(record);
        }
    }
    if (options.json) print_json(list);
    result = kDone;
}

void show_account(const CliOptions& options, std::int32_t id, int& result) {
    Session session(options);
    if (!start(session, result, kSettingsOnly)) return;
    const auto found = found_account(session, id, result);
    if (!found) return;
    const AccountRecord& record = found->record();
    if (options.json) {
        print_json(full_json(record));
    } else {
        print_full(record);
    }
    result = kDone;
}

void set_account(const CliOptions& options, std::int32_t id,
                 const std::vector<std::string>& assignments, int& result) {
    AccountForm changes;  // checked before anything is read
    for (const std::string& assignment : assignments) {
        if (!apply(changes, assignment, result)) return;
    }
    Session session(options);
    if (!start_for_one_edit(session, result, id, changes_name(assignments))) return;
    const auto index = account_index(session, id, result);
    if (!index) return;
    if (!can_edit_account(*index)) {
        std::cerr << "The first account of the file is not edited here, as on the \"User Info\" "
                     "tab.\n";
        result = kFailed;
        return;
    }
    AccountPage page(session.ws, session.ui);
    page.select(*index);
    page.press(AccountButton::EditRecord);
    AccountForm form = page.form();
    for (const std::string& assignment : assignments) apply(form, assignment, result);
    page.set_form(form);
    if (page.press(AccountButton::EditRecord).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    const std::string as_read(session.ws.accounts.table().records[*index].line());
    if (page.press(AccountButton::SaveFile).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    // A record that is not Tavo's edit after the save is the file's: the values were there
    // already, or another writer's version was kept.
    const AccountTable& table = session.ws.accounts.table();
    const std::optional<std::size_t> saved = session.index_of(id);
    if (!saved || (!table.records[*saved].edited() && table.records[*saved].line() != as_read)) {
        result = kept_on_disk(session.ui, "Account " + std::to_string(id));
        return;
    }
    std::cout << "Account " << id << " changed.\n";
    result = kDone;
}

void new_account(const CliOptions& options, const std::string& name, const std::string& password,
                 bool gm, int level, int& result) {
    Session session(options);
    if (!start_for_writing(session, result)) return;
    AccountPage page(session.ws, session.ui);
    const AccountButton button = gm ? AccountButton::NewGm : AccountButton::NewPlayer;
    if (page.press(button).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    AccountForm form = page.form();
    const std::string id = form.user_id;
    form.username = name;
    form.password = password;
    form.gm_level = gm ? static_cast<std::uint8_t>(level) : 0;
    page.set_form(form);
    if (page.press(button).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    // The GM line goes with the account, in the same save.
    save_file(page, result, "Account " + id + " made.");
}

// "Delete" of the "User Info" tab: the account with everything of it (workspace/
// account_deletion.h), all or nothing; the question needs --yes.
void delete_account(const CliOptions& options, std::int32_t id, int& result) {
    Session session(options);
    if (!start_for_writing(session, result)) return;
    const auto index = account_index(session, id, result);
    if (!index) return;
    AccountPage page(session.ws, session.ui);
    page.select(*index);
    if (page.press(AccountButton::Delete).result != EditResult::Saved) {
        result = kFailed;
        return;
    }
    std::cout << "Account " << id << " deleted.\n";
    result = kDone;
}

void gm_level(const CliOptions& options, std::int32_t id, std::optional<int> level, int& result) {
    Session session(options);
    if (!start(session, result, kSettingsOnly)) return;
    const auto found = found_account(session, id, result);
    if (!found) return;
    const int messages = session.ui.message_count();
    if (!level) {
        const int found = read_gm_lvl(session.ws.app, session.ui, id);
        if (session.ui.message_count() != messages) {
            result = kFailed;
            return;
        }
        if (options.json) {
            print_json({{"account_id", id}, {"gm_level", found}});
        } else {
            std::cout << found << "\n";
        }
        result = kDone;
        return;
    }
    const auto written =
        give_gm_level(session.ws.app, session.ui, found->table, found->index,
                      static_cast<std::uint8_t>(*level), found->record().gm_level());
    if (!written) {
        result = kFailed;
        return;
    }
    std::cout << "GM level of " << id << " set to " << static_cast<int>(*written) << ".\n";
    result = kDone;
}

}  // namespace

void add_account_commands(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* accounts =
        app.add_subcommand("accounts",
                           "List the accounts: id, name, sex, GM level, state, last "
                           "login (TAB-separated, or --json)");
    auto find = std::make_shared<std::string>();
    accounts->add_option(
        "--find", *find,
        "Only accounts whose name holds TEXT or whose id holds its digits (as the find box)");
    auto by_char = std::make_shared<bool>(false);
    accounts->add_flag("--by-char", *by_char,
                       "--find looks at the names of the accounts' characters instead");
    accounts->callback(
        [&options, &result, find, by_char] { list_accounts(options, *find, *by_char, result); });

    CLI::App* account = app.add_subcommand("account",
                                           "Show every field of one account ("
                                           "account ID), or change or make one");
    auto id = std::make_shared<std::int32_t>(0);
    CLI::Option* id_option = add_id_option(account, "ID", *id, "The account id");
    account->require_subcommand(0, 1);

    CLI::App* set = account->add_subcommand(
        "set",
        "Change fields: userid, pass, sex (M/F/S), state, email, error_message, "
        "connect_until, memo, ban_until; then the account file is saved");
    auto set_id = std::make_shared<std::int32_t>(0);
    auto assignments = std::make_shared<std::vector<std::string>>();
    add_id_option(set, "ID", *set_id, "The account id")->required();
    set->add_option("FIELD=VALUE", *assignments, "The fields to change")->required();
    set->callback([&options, &result, set_id, assignments] {
        set_account(options, *set_id, *assignments, result);
    });

    CLI::App* create = account->add_subcommand(
        "new", "Make an account with the next player id (or GM id with --gm) and save the file");
    auto name = std::make_shared<std::string>();
    auto password = std::make_shared<std::string>();
    auto gm = std::make_shared<bool>(false);
    auto level = std::make_shared<int>(kNewGmLevel);
    create->add_option("NAME", *name, "The account name")->required();
    create->add_option("PASSWORD", *password, "The password")->required();
    create->add_flag("--gm", *gm, "A GM account (ids 704554 to 704584), written to the GM file");
    create->add_option("--level", *level, "The GM level of a GM account (default 10)")
        ->transform(decimal(0, kHighestLevel));
    create->callback([&options, &result, name, password, gm, level] {
        new_account(options, *name, *password, *gm, *level, result);
    });

    CLI::App* remove = account->add_subcommand(
        "delete",
        "Delete an account with its characters, store, party and guild places, pets (eggs "
        "included), friend lists, registers and GM entry, at once (asks \"Are you sure?\": "
        "answer with --yes)");
    auto delete_id = std::make_shared<std::int32_t>(0);
    add_id_option(remove, "ID", *delete_id, "The account id")->required();
    remove->callback(
        [&options, &result, delete_id] { delete_account(options, *delete_id, result); });

    account->callback([&options, &result, id, id_option, set, create, remove] {
        if (set->parsed() || create->parsed() || remove->parsed()) return;
        if (id_option->count() == 0) {
            usage(
                "account: give an ID, or use \"account set\", \"account new\" or \"account "
                "delete\"",
                result);
            return;
        }
        show_account(options, *id, result);
    });

    CLI::App* gm_command =
        app.add_subcommand("gm",
                           "Show the GM level of an account, or write it (0 to 99) into "
                           "the GM file");
    auto gm_id = std::make_shared<std::int32_t>(0);
    auto gm_value = std::make_shared<int>(0);
    add_id_option(gm_command, "ID", *gm_id, "The account id")->required();
    CLI::Option* gm_level_option = gm_command->add_option("LEVEL", *gm_value, "The new level")
                                       ->transform(decimal(0, kHighestLevel));
    gm_command->callback([&options, &result, gm_id, gm_value, gm_level_option] {
        gm_level(options, *gm_id,
                 gm_level_option->count() > 0 ? std::optional<int>(*gm_value) : std::nullopt,
                 result);
    });
}

}  // namespace tavo::cli
