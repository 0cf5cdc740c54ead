#pragma once
// The chosen account's Kafra storage as a document: its record, its modified flag and its load
// and save.

#include <cstdint>
#include <functional>
#include <optional>

#include "app/modified_flag.h"
#include "storage/storage_file.h"

namespace tavo {

struct AppContext;
class Ui;

class StoreDocument {
public:
    explicit StoreDocument(const AppContext& app) : app_(app) {}
    StoreDocument(const StoreDocument&) = delete;
    StoreDocument& operator=(const StoreDocument&) = delete;

    // Choosing an account: the store emptied (clear_storage) and the account's read
    // (load_storage); nothing chosen leaves it empty. Unsaved changes are dropped: the window
    // asks before it chooses another account. False after a reported failure.
    bool load(Ui& ui, std::optional<std::int32_t> account_id);
    std::optional<std::int32_t> account() const { return account_; }

    StorageRecord& record() { return record_; }
    const StorageRecord& record() const { return record_; }
    std::vector<ItemSlot>& items() { return record_.items; }
    const std::vector<ItemSlot>& items() const { return record_.items; }

    // The store differs from save/storage.txt.
    bool modified() const { return modified_.get(); }
    void observe_modified(std::function<void(bool)> observer) {
        modified_.observe(std::move(observer));
    }
    void mark_modified() { modified_.set(true); }
    // The user agreed to throw the changes away.
    void discard() { modified_.set(false); }

    // "Save File": save_storage of the chosen account; the flag clears when written.
    bool save(Ui& ui);

private:
    const AppContext& app_;
    std::optional<std::int32_t> account_;
    StorageRecord record_;
    ModifiedFlag modified_;
};

}  // namespace tavo
