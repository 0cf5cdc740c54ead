#pragma once
// The account file changed on disk since it was read (the login server saved, or another
// administrator edited it): before the table is written, it is put onto the file as it is now.
// Every account the table did not change takes the file's text; accounts another writer made
// or deleted stay made or deleted; an account both changed is settled by the changed-on-disk
// guard (app/disk_guard.h); a new account whose id was taken meanwhile gets the next free id.

#include <string>

namespace tavo {

struct AppContext;
struct AccountTable;
class AccountRecord;
class Ui;

// How the guard names an account in its question: "Account 2000017 (alice)".
std::string account_label(const AccountRecord& record);

// Leaves the table as it is when the file is as it was read, or puts it onto the file as it is
// now. A failure or a refusal is thrown, for the writer to report.
void rebase_accounts(const AppContext& app, Ui& ui, AccountTable& table);

// After the table was written: what was written is what a later save compares with.
void note_accounts_written(const AppContext& app, AccountTable& table);

}  // namespace tavo
