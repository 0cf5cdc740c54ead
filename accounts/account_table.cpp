#include "accounts/account_table.h"

#include <algorithm>

#include "app/ui.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;
namespace {

void make_default_account(AccountTable& table, std::size_t slot, std::string_view name,
                          std::string_view password) {
    if (table.records.size() <= slot) table.records.resize(slot + 1);
    AccountRecord& record = table.records[slot];
    AccountFields fields = record.fields();
    fields.account_id = static_cast<std::int32_t>(slot);
    fields.userid = name;
    fields.pass = password;
    fields.lastlogin = "-"s;
    fields.sex = 2;
    fields.logincount = 0;
    fields.state = 0;
    record.assign(std::move(fields));
}

}  // namespace

void add_default_accounts(Ui& ui, AccountTable& table) {
    const bool eA817 = ui.ask_yes_no(
        "What version are you using? Is it eA817Text?\r\n  Yes= eA817 Text,\r\n  No=eA.50 above.",
        "Tavo");
    if (eA817) {
        make_default_account(table, 0, "vokl1", "wemk1");
    } else {
        make_default_account(table, 0, "q1", "j1");
    }
    make_default_account(table, 1, "q2", "j2");
    make_default_account(table, 2, "q3", "j3");
    make_default_account(table, 3, "q4", "j4");
    make_default_account(table, 4, "q5", "j5");
}

void recompute_highest_ids(AccountTable& table) {
    table.highest_player_id = kFirstPlayerId;
    table.highest_gm_id = kGmIdBase;
    for (const AccountRecord& record : table.records) {
        const std::int32_t id = record.account_id();
        if (id >= kFirstPlayerId) {
            table.highest_player_id = std::max(table.highest_player_id, id);
        } else if (id > kLastServerId) {
            table.highest_gm_id = std::max(table.highest_gm_id, id);
        }
    }
}

}  // namespace tavo
