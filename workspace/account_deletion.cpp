#include "workspace/account_deletion.h"

#include <string>

#include "accounts/account_editor.h"
#include "app/ui.h"
#include "characters/character_deletion.h"
#include "storage/storage_file.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

void report_kept(Ui& ui, std::int32_t account_id, const char* what, const char* file) {
    ui.message("The account " + std::to_string(account_id) + " was not deleted: its " + what +
                   " could not be removed from " + file + ".",
               "Tavo", Icon::Warning);
}

}  // namespace

bool delete_user_char(Workspace& ws, Ui& ui, std::int32_t account_id) {
    return tavo::delete_user_char(ws.app, ui, ws.accounts.server_generation, account_id);
}

bool delete_user_storage(Workspace& ws, Ui& ui, std::int32_t account_id) {
    return tavo::delete_user_storage(ws.app, ui, account_id);
}

std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool has_characters) {
    AccountStore& store = ws.accounts;
    if (index >= store.records.size()) return std::nullopt;
    // The account table will be saved without the account: refused before anything else goes.
    if (!store.load_state.allow_write(ui)) return std::nullopt;
    if (!confirm_account_deletion(ui, store.records[index])) return std::nullopt;
    const std::int32_t id = store.records[index].account_id();
    if (has_characters && !delete_user_char(ws, ui, id)) {
        report_kept(ui, id, "characters", "save/athena.txt");
        return std::nullopt;
    }
    if (!delete_user_storage(ws, ui, id)) {
        report_kept(ui, id, "store", "save/storage.txt");
        return std::nullopt;
    }
    return remove_account(store, index);
}

}  // namespace tavo
