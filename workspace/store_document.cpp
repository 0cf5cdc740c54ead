#include "workspace/store_document.h"

#include "app/settings.h"

namespace tavo {

bool StoreDocument::load(Ui& ui, std::optional<std::int32_t> account_id) {
    record_ = StorageRecord{};
    modified_.set(false);
    account_ = account_id;
    if (!account_id) return true;
    return load_storage(app_, ui, *account_id, record_);
}

bool StoreDocument::save(Ui& ui) {
    if (!account_) return false;
    if (!save_storage(app_, ui, *account_, record_, app_.settings.maxstorage)) return false;
    modified_.set(false);
    return true;
}

}  // namespace tavo
