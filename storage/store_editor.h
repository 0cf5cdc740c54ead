#pragma once
// The "Storage" tab without widgets: the store of the chosen account, its lines and label,
// the selection, which buttons work, New, Edit, Delete, Delete All and "Save File", and the
// store's own unsaved flag. The tab renders this state; tavo-cli's storage and item commands
// go through the same calls.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/unsaved_flag.h"
#include "storage/storage_file.h"

namespace tavo {

struct AppContext;
struct ItemNaming;
class ItemPanelEditor;
class Ui;

class StoreEditor {
public:
    explicit StoreEditor(const AppContext& app);

    // Choosing an account: the store emptied (clear_storage) and the account's read
    // (load_storage). Nothing chosen leaves it empty. Unsaved changes are dropped: the window
    // asks before it chooses another account.
    bool choose_account(Ui& ui, std::optional<std::int32_t> account_id);
    // clear_storage
    void clear();

    const StorageRecord& record() const { return record_; }
    std::optional<std::int32_t> account() const { return account_; }
    std::int32_t count() const;
    std::vector<std::string> lines(const ItemNaming& naming) const;
    // "Qty [3/100]"; a store beyond the limit shows every item it holds: "Qty [120/100]"
    std::string label() const;

    int selected() const { return selected_; }
    void select(int line);
    // Edit, Delete and Delete All work while the list has lines.
    bool has_lines() const { return !record_.items.empty(); }

    // New: "Max item count reach." on a full store, else the panel opens for an add.
    bool new_item(Ui& ui, ItemPanelEditor& panel);
    bool edit_item(ItemPanelEditor& panel);
    bool confirm(Ui& ui, ItemPanelEditor& panel);
    bool delete_selected(Ui& ui);
    bool delete_all(Ui& ui);
    // "Save File": writes the store and clears the unsaved flag. True when written.
    bool save(Ui& ui);

    UnsavedFlag unsaved;

private:
    const AppContext& app_;
    std::optional<std::int32_t> account_;
    StorageRecord record_;
    int selected_ = -1;
};

}  // namespace tavo
