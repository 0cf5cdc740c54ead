#include "storage/store_editor.h"

#include "app/settings.h"
#include "app/ui.h"
#include "items/item_builder.h"
#include "items/item_naming.h"
#include "items/item_panel_editor.h"

namespace tavo {

StoreEditor::StoreEditor(const AppContext& app) : app_(app) {}

void StoreEditor::clear() {
    record_ = StorageRecord{};
    selected_ = -1;
}

bool StoreEditor::choose_account(Ui& ui, std::optional<std::int32_t> account_id) {
    clear();
    unsaved.set(false);
    account_ = account_id;
    if (!account_id) return true;
    const bool done = load_storage(app_, ui, *account_id, record_);
    selected_ = has_lines() ? 0 : -1;
    return done;
}

std::int32_t StoreEditor::count() const {
    return static_cast<std::int32_t>(record_.items.size());
}

std::vector<std::string> StoreEditor::lines(const ItemNaming& naming) const {
    std::vector<std::string> out;
    out.reserve(record_.items.size());
    for (const ItemSlot& item : record_.items) out.push_back(item_list_text(naming, item));
    return out;
}

std::string StoreEditor::label() const {
    return "Qty [" + std::to_string(count()) + "/" + std::to_string(app_.settings.maxstorage) + "]";
}

void StoreEditor::select(int line) {
    selected_ = line >= 0 && line < static_cast<int>(record_.items.size()) ? line : -1;
}

bool StoreEditor::new_item(Ui& ui, ItemPanelEditor& panel) {
    if (!account_) return false;
    if (count() >= app_.settings.maxstorage) {
        ui.message("Max item count reach.", "Tavo");
        return false;
    }
    if (record_.items.empty()) record_.account_id = *account_;
    panel.open(ItemDestination::Storage, ItemAction::Add);
    return true;
}

bool StoreEditor::edit_item(ItemPanelEditor& panel) {
    if (selected_ < 0 || selected_ >= static_cast<int>(record_.items.size())) return false;
    panel.open(ItemDestination::Storage, ItemAction::Save);
    panel.preset(record_.items[static_cast<std::size_t>(selected_)]);
    return true;
}

bool StoreEditor::confirm(Ui& ui, ItemPanelEditor& panel) {
    std::optional<std::size_t> selected;
    if (selected_ >= 0) selected = static_cast<std::size_t>(selected_);
    const std::optional<std::size_t> stored =
        confirm_item(panel, ui, app_.settings.maxitemcount, {record_.items, nullptr, 0, selected});
    if (!stored) return false;
    selected_ = static_cast<int>(*stored);
    unsaved.set(true);
    return true;
}

bool StoreEditor::delete_selected(Ui& ui) {
    if (selected_ < 0 || selected_ >= static_cast<int>(record_.items.size())) return false;
    if (!ui.ask_yes_no("Are you sure?", "Tavo")) return false;
    record_.items.erase(record_.items.begin() + selected_);
    if (selected_ >= static_cast<int>(record_.items.size())) {
        selected_ = static_cast<int>(record_.items.size()) - 1;
    }
    unsaved.set(true);
    return true;
}

bool StoreEditor::delete_all(Ui& ui) {
    if (record_.items.empty()) return false;
    if (!ui.ask_yes_no("Are you sure?", "Tavo")) return false;
    record_.items.clear();
    selected_ = -1;
    unsaved.set(true);
    return true;
}

bool StoreEditor::save(Ui& ui) {
    if (!account_) return false;
    if (!save_storage(app_, ui, *account_, record_, app_.settings.maxstorage)) return false;
    select(selected_);  // the store may be the one on disk now
    unsaved.set(false);
    return true;
}

}  // namespace tavo
