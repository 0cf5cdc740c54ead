#include "pages/storage_page.h"

#include "app/settings.h"
#include "app/ui.h"
#include "refdata/refdata.h"
#include "workspace/workspace.h"

namespace tavo {

StoragePage::StoragePage(Workspace& ws, Ui& ui, ItemPanelPage& panel)
    : ws_(ws), ui_(ui), panel_(panel) {}

bool StoragePage::choose_account(std::optional<std::int32_t> account_id) {
    const bool done = ws_.store.load(ui_, account_id);
    selected_ = ws_.store.items().empty() ? -1 : 0;
    line_chosen_ = false;
    return done;
}

std::optional<std::int32_t> StoragePage::account() const {
    return ws_.store.account();
}

std::int32_t StoragePage::count() const {
    return static_cast<std::int32_t>(ws_.store.items().size());
}

std::vector<std::string> StoragePage::lines() const {
    std::vector<std::string> out;
    out.reserve(ws_.store.items().size());
    for (const ItemSlot& item : ws_.store.items()) {
        out.push_back(item_list_text(panel_.naming(), item));
    }
    return out;
}

std::string StoragePage::label() const {
    return "Qty [" + std::to_string(count()) + "/" + std::to_string(ws_.app.settings.maxstorage) +
           "]";
}

void StoragePage::select(int line) {
    selected_ = line >= 0 && line < count() ? line : -1;
    line_chosen_ = selected_ >= 0;
}

void StoragePage::observe_modified(std::function<void(bool)> observer) {
    ws_.store.observe_modified(std::move(observer));
}

bool StoragePage::offered(ItemButton button) const {
    const bool has_lines = count() > 0;
    switch (button) {
        case ItemButton::New: return account().has_value();
        case ItemButton::Edit:
        case ItemButton::DeleteAll: return has_lines;
        case ItemButton::Delete: return has_lines && line_chosen_ && selected_ >= 0;
        case ItemButton::SaveFile: return ws_.store.modified();
    }
    return false;
}

ItemOutcome StoragePage::press(ItemButton button) {
    ItemOutcome outcome;
    if (!offered(button)) return outcome;
    switch (button) {
        case ItemButton::New:
            if (count() >= ws_.app.settings.maxstorage) {
                ui_.message("Max item count reach.", "Tavo");
                break;
            }
            if (ws_.store.items().empty()) ws_.store.record().account_id = *account();
            panel_.open(*this, ItemAction::Add);
            outcome.done = outcome.panel_opened = true;
            break;
        case ItemButton::Edit:
            if (selected_ < 0) break;
            panel_.open(*this, ItemAction::Save);
            panel_.preset(ws_.store.items()[static_cast<std::size_t>(selected_)]);
            outcome.done = outcome.panel_opened = true;
            break;
        case ItemButton::Delete: outcome.done = outcome.lines_changed = delete_selected(); break;
        case ItemButton::DeleteAll: outcome.done = outcome.lines_changed = delete_all(); break;
        case ItemButton::SaveFile:
            // The store may be the one on disk now.
            outcome.done = outcome.lines_changed = ws_.store.save(ui_);
            if (selected_ >= count()) selected_ = count() - 1;
            break;
    }
    return outcome;
}

bool StoragePage::store(PanelValues& values) {
    std::optional<std::size_t> selected;
    if (selected_ >= 0) selected = static_cast<std::size_t>(selected_);
    const std::optional<std::size_t> stored =
        confirm_item(values, ws_.ref.items, ws_.app, ui_, ws_.app.settings.maxitemcount,
                     {ws_.store.items(), nullptr, 0, selected});
    if (!stored) return false;
    selected_ = static_cast<int>(*stored);
    ws_.store.mark_modified();
    return true;
}

bool StoragePage::delete_selected() {
    std::vector<ItemSlot>& items = ws_.store.items();
    if (selected_ < 0 || selected_ >= count()) return false;
    if (!ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    items.erase(items.begin() + selected_);
    if (selected_ >= count()) selected_ = count() - 1;
    ws_.store.mark_modified();
    return true;
}

bool StoragePage::delete_all() {
    if (ws_.store.items().empty()) return false;
    if (!ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    ws_.store.items().clear();
    selected_ = -1;
    line_chosen_ = false;
    ws_.store.mark_modified();
    return true;
}

}  // namespace tavo
