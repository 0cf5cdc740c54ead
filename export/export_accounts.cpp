// save/account.txt with the GM file into `login` and the login server's registers, and
// save/accreg.txt into the char server's registers.

#include <algorithm>

#include "accounts/account_record.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "check/check_world.h"
#include "export/export_run.h"
#include "export/sql_text.h"

namespace tavo::sqlx {
namespace {

enum Login {
    kAccountId,
    kUserid,
    kPass,
    kLastlogin,
    kSex,
    kLogincount,
    kEmail,
    kLevel,
    kErrorMessage,
    kConnectUntil,
    kLastIp,
    kMemo,
    kBanUntil,
    kState,
    kUnbanTime,
    kExpirationTime
};
enum Reg { kRegType, kRegAccount, kRegChar, kRegStr, kRegValue };

constexpr std::uint8_t kHighestGmLevel = 99;

std::string account_named(long long id, std::string_view name) {
    return "Account " + std::to_string(id) + " (" + check::shown(name) + ")";
}

// A text of the account line the schema keeps in a number column (2004) or not at all (2013):
// "-" is no text; a number goes in as it is.
void number_or_lost(ExportRun& run, TableRows& login, std::size_t slot, std::string_view text,
                    const char* what, std::size_t line, const Who& who) {
    if (text.empty() || text == "-") {
        login.number(slot, 0);
        return;
    }
    if (login.has(slot) && is_integer(text)) {
        login.number(slot, integer_value(text));
        return;
    }
    login.number(slot, 0);
    run.change(check::kAccounts, line, who(),
               std::string("its ") + what + " \"" + check::shown(text) + "\" " +
                   (login.has(slot) ? "cannot go into the 2004 schema's number column: written as 0"
                                    : "has no column in the 2013 schema and is not carried"));
}

}  // namespace

// Value 0 is no register (the servers delete it); names that the key's collation takes as one
// keep the first.
void export_registers(ExportRun& run, std::string_view items, int type, long long account,
                      long long character, std::string_view file, std::size_t line,
                      const Who& who) {
    TableRows& regs = run.registers();
    std::vector<std::string_view>& names = run.register_names;
    names.clear();
    std::size_t start = 0;
    while (start < items.size()) {
        std::size_t end = items.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = items.size();
        const std::string_view item = without_last_cr(items.substr(start, end - start));
        start = end + 1;
        if (item.empty()) continue;
        const std::size_t comma = item.rfind(',');
        const std::string_view name = item.substr(0, comma == std::string_view::npos ? 0 : comma);
        const std::string_view value =
            comma == std::string_view::npos ? std::string_view() : item.substr(comma + 1);
        const auto what = [&] { return who() + ", register " + check::shown(item); };
        if (name.empty() || !is_integer(value)) {
            run.skip(file, line, what(), "it is not name,number");
            continue;
        }
        if (integer_value(value) == 0) continue;
        const auto same = [&](std::string_view earlier) {
            return same_latin1_ci_key(earlier, name);
        };
        if (std::any_of(names.begin(), names.end(), same)) {
            run.skip(file, line, what(),
                     "its name differs from an earlier one only in letter case or accents, "
                     "which the table's key takes as the same name");
            continue;
        }
        names.push_back(name);
        regs.begin();
        regs.number(kRegType, type);
        regs.number(kRegAccount, account);
        regs.number(kRegChar, character);
        regs.text(kRegStr, name);
        regs.text(kRegValue, value);
        run.add(regs, file, line, what);
    }
}

void export_accounts(ExportRun& run) {
    const GmLevels gm = GmLevels::read(run.app);
    TableRows& login = run.table("login");
    run.each_line(check::kAccounts, [&](std::string_view text, std::size_t line) {
        if (text.empty() || text.starts_with("//")) return;
        const LineFields f(text);
        if (f.count == 2 && without_last_cr(f.field(1)) == "%newid%") {
            run.next_account =
                std::max(run.next_account, integer_in(f.field(0), 0, INT32_MAX).value_or(0));
            return;
        }
        const auto who = [&] { return account_named(integer_value(f.field(0)), f.field(1)); };
        AccountRecord record;
        try {
            record = AccountRecord::from_line(f);
        } catch (const Failure& failure) {
            run.skip(check::kAccounts, line, who(),
                     "a number does not fit: " + failure.description());
            return;
        }
        const bool full = f.count >= 14;    // 1.0.0: e-mail to ban time, then registers
        const bool twelve = f.count == 13;  // e-mail to memo, then registers
        login.begin();
        login.number(kAccountId, record.account_id());
        login.text(kUserid, f.field(1));
        login.text(kPass, f.field(2));
        const std::string_view when = f.field(3);
        if (const auto date = sql_datetime(when)) {
            login.text(kLastlogin, *date);
        } else {
            login.text(kLastlogin, "0000-00-00 00:00:00");
            run.change(check::kAccounts, line, who(),
                       "its last login \"" + check::shown(when) +
                           "\" is no date MariaDB takes: written as 0000-00-00 00:00:00");
        }
        login.text(kSex, f.field(4));
        login.number(kLogincount, record.logincount());
        const bool has_email = full || twelve;
        login.text(kEmail, has_email ? f.field(7) : std::string_view(kNoEmail));
        std::uint8_t level = 0;
        try {
            level = std::min(gm.level_of(record.account_id()), kHighestGmLevel);
        } catch (const Failure&) {
            // A GM line without a readable level gives none, as the server reads it.
        }
        login.number(kLevel, level);
        number_or_lost(run, login, kErrorMessage, has_email ? f.field(8) : "", "error message",
                       line, who);
        const long long validity =
            has_email ? integer_in(f.field(9), INT32_MIN, INT32_MAX).value_or(0) : 0;
        login.number(kConnectUntil, validity);
        login.text(kLastIp, has_email && !f.field(10).empty() ? f.field(10) : "-");
        number_or_lost(run, login, kMemo, has_email ? f.field(11) : "", "memo", line, who);
        const long long ban = full ? record.ban_until() : 0;
        login.number(kBanUntil, ban);
        login.number(kState, record.state());
        // The 2013 schema's names of the ban and validity times.
        login.number(kUnbanTime, ban);
        login.number(kExpirationTime, validity);
        if (!run.add(login, check::kAccounts, line, who)) return;
        const std::string_view registers = full ? f.field(13) : twelve ? f.field(12) : f.field(7);
        export_registers(run, registers, 1, record.account_id(), 0, check::kAccounts, line, who);
    });
}

void export_account_registers(ExportRun& run) {
    run.each_line(check::kAccreg, [&](std::string_view text, std::size_t line) {
        if (text.empty() || text.starts_with("//")) return;
        const std::size_t tab = text.find('\t');
        const std::string_view head = text.substr(0, tab);
        if (tab == std::string_view::npos || !is_integer(head)) return;
        const long long account = integer_value(head);
        export_registers(run, text.substr(tab + 1), 2, account, 0, check::kAccreg, line,
                         [&] { return "Registers of account " + std::to_string(account); });
    });
}

}  // namespace tavo::sqlx
