#pragma once
// The account table as a document: its records, its modified flag and its load and save.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "accounts/account_table.h"

namespace tavo {

struct AppContext;
class FileBatch;
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
    // load_for_one_edit: the table holds only what an edit of that account looks at (a
    // command on its own), and a save writes the rest of the file as it is on disk.
    bool load_for_edit(Ui& ui, std::int32_t account_id, const std::optional<std::string>& name);
    // "Save File": save_account; the flag clears when written. In a batch the table is kept
    // for the batch's end instead, once it may be written.
    bool save(Ui& ui);

    // The server's generation: the table's when it was read, else found in the file (read up
    // to its first account of the 1.0.0 form). Unknown when it cannot be read (reported).
    ServerGeneration generation(Ui& ui);

    // A batch (tavo-cli batch): GM levels given to accounts and the saves of the table wait
    // for the batch's end, where stage_held adds the account and GM files to the batch's
    // files, and held_written, once they are committed, names the accounts whose version on
    // disk was kept (--theirs).
    void start_batch();
    bool held() const;
    void stage_held(Ui& ui, FileBatch& files);
    std::vector<std::string> held_written();

private:
    const AppContext& app_;
    AccountTable table_;
    bool batch_ = false;
    std::optional<ServerGeneration> generation_;  // found in the file without the table
    std::vector<std::int32_t> edited_;            // the accounts a batch changed, by id
};

}  // namespace tavo
