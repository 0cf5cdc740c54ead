#pragma once
// The account table as a document: its records, its modified flag and its load and save.

#include <functional>

#include "accounts/account_table.h"

namespace tavo {

struct AppContext;
class Ui;

class AccountDocument {
public:
    explicit AccountDocument(const AppContext& app) : app_(app) {}
    AccountDocument(const AccountDocument&) = delete;
    AccountDocument& operator=(const AccountDocument&) = delete;

    AccountTable& table() { return table_; }
    const AccountTable& table() const { return table_; }

    // The table differs from save/account.txt.
    bool modified() const { return table_.modified.get(); }
    void observe_modified(std::function<void(bool)> observer) {
        table_.modified.observe(std::move(observer));
    }

    // load_account; false after a reported failure.
    bool load(Ui& ui);
    // "Save File": save_account; the flag clears when written.
    bool save(Ui& ui);

private:
    const AppContext& app_;
    AccountTable table_;
};

}  // namespace tavo
