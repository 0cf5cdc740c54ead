#include "workspace/account_deletion.h"

#include "accounts/account_editor.h"
#include "workspace/workspace.h"

namespace tavo {

// The character file is not edited yet: the characters stay until character deletion exists.
void delete_user_char(Workspace&, Ui&, std::int32_t) {}

// The store file is not edited yet: the store line stays until the storage editor exists.
void delete_user_storage(Workspace&, Ui&, std::int32_t) {}

std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool has_characters) {
    AccountStore& store = ws.accounts;
    if (index >= store.records.size()) return std::nullopt;
    if (!confirm_account_deletion(ui, store.records[index])) return std::nullopt;
    const std::int32_t id = store.records[index].account_id();
    if (has_characters) delete_user_char(ws, ui, id);
    delete_user_storage(ws, ui, id);
    return remove_account(store, index);
}

}  // namespace tavo
