#include "workspace/store_document.h"

#include <algorithm>

#include "app/file_batch.h"
#include "app/settings.h"

namespace tavo {

bool StoreDocument::load(Ui& ui, std::optional<std::int32_t> account_id) {
    record_ = StorageRecord{};
    modified_.set(false);
    account_ = account_id;
    if (!account_id) return true;
    if (const auto held = held_.find(*account_id); held != held_.end()) {
        record_ = held->second.record;
        return true;
    }
    return load_storage(app_, ui, *account_id, record_, batch_ ? &index_ : nullptr);
}

bool StoreDocument::save(Ui& ui) {
    if (!account_) return false;
    if (batch_) {
        std::optional<StoreChange> change =
            store_change(app_, ui, *account_, record_, app_.settings.maxstorage);
        if (!change) return false;
        // What the batch writes: items beyond maxstorage that the user let go are gone.
        record_.items.resize(std::min(change->count, record_.items.size()));
        held_.insert_or_assign(*account_, Held{record_, std::move(*change)});
        modified_.set(false);
        return true;
    }
    if (!save_storage(app_, ui, *account_, record_, app_.settings.maxstorage)) return false;
    modified_.set(false);
    return true;
}

void StoreDocument::stage_held(Ui& ui, FileBatch& files) {
    staged_.clear();
    for (auto& [account, held] : held_) staged_.push_back(held.change);
    const auto make = [this, &ui](AtomicWriter& out) {
        write_stores(app_, ui, staged_, out);
        return true;
    };
    files.add(app_.server_file(kStorageFile), std::string(kStorageFile), make,
              app_.server_file(kStorageBackup));
}

std::vector<std::string> StoreDocument::held_written() {
    std::vector<std::string> kept;
    for (const StoreChange& change : staged_) {
        if (change.written != change.line) kept.push_back(change.label);
    }
    held_.clear();
    staged_.clear();
    return kept;
}

}  // namespace tavo
