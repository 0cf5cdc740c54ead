#include "items/item_list_editor.h"

#include "app/settings.h"
#include "app/text.h"
#include "app/ui.h"
#include "items/item_builder.h"
#include "items/item_naming.h"
#include "items/item_panel_editor.h"
#include "refdata/weight.h"

namespace tavo {
namespace {

// The view position of each sprite location.
int view_position(std::int32_t location) {
    switch (location) {
        case 2:
        case 34: return 0;
        case 32: return 1;
        case 256: return 2;
        case 512: return 3;
        case 1: return 4;
        default: return -1;
    }
}

}  // namespace

std::string clear_equip_view(std::int32_t location, std::string_view view) {
    std::vector<std::string_view> values = split(view, ',');
    const int position = view_position(location);
    if (values.size() != 5 || position < 0) return std::string(view);
    values[static_cast<std::size_t>(position)] = "0";
    std::string joined;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) joined += ',';
        joined.append(values[i]);
    }
    return joined;
}

ItemListEditor::ItemListEditor(ItemListKind kind, CharacterRecord& record,
                               const AppSettings& settings, const ItemTable& items,
                               UnsavedFlag& unsaved)
    : kind_(kind), record_(record), settings_(settings), items_(items), unsaved_(unsaved) {}

ItemList& ItemListEditor::list() {
    return kind_ == ItemListKind::Inventory ? record_.inventory : record_.cart;
}
const ItemList& ItemListEditor::list() const {
    return kind_ == ItemListKind::Inventory ? record_.inventory : record_.cart;
}

std::vector<std::string> ItemListEditor::lines(const ItemNaming& naming) const {
    std::vector<std::string> out;
    out.reserve(list().items.size());
    for (const ItemSlot& item : list().items) {
        out.push_back(kind_ == ItemListKind::Inventory ? equipped_item_line(naming, item)
                                                       : item_list_text(naming, item));
    }
    return out;
}

std::string ItemListEditor::caption() const {
    const ItemList& l = list();
    return kind_ == ItemListKind::Inventory
               ? inventory_weight_caption(l.weight, l.max_weight, l.count(), settings_.maxinventory)
               : cart_weight_caption(l.weight, l.max_weight, l.count(), settings_.maxinventory);
}

void ItemListEditor::select(int line) {
    selected_ = line >= 0 && line < list().count() ? line : -1;
}

void ItemListEditor::reset() {
    selected_ = has_lines() ? 0 : -1;
}

bool ItemListEditor::new_item(Ui& ui, ItemPanelEditor& panel) {
    if (list().count() >= settings_.maxinventory) {
        ui.message("Max item count reach.", "Tavo");
        return false;
    }
    panel.open(
        kind_ == ItemListKind::Inventory ? ItemDestination::Inventory : ItemDestination::Cart,
        ItemAction::Add);
    return true;
}

bool ItemListEditor::edit_item(ItemPanelEditor& panel) {
    if (selected_ < 0 || selected_ >= list().count()) return false;
    panel.open(
        kind_ == ItemListKind::Inventory ? ItemDestination::Inventory : ItemDestination::Cart,
        ItemAction::Save);
    panel.preset(list().items[static_cast<std::size_t>(selected_)]);
    return true;
}

bool ItemListEditor::confirm(Ui& ui, ItemPanelEditor& panel) {
    ItemList& l = list();
    std::optional<std::size_t> selected;
    if (selected_ >= 0) selected = static_cast<std::size_t>(selected_);
    const std::optional<std::size_t> stored = confirm_item(
        panel, ui, settings_.maxitemcount, {l.items, &l.weight, l.max_weight, selected});
    if (!stored) return false;
    selected_ = static_cast<int>(*stored);
    unsaved_.set(true);
    return true;
}

bool ItemListEditor::delete_selected(Ui& ui) {
    ItemList& l = list();
    if (selected_ < 0 || selected_ >= l.count()) return false;
    if (!ui.ask_yes_no("Are you sure?", "Tavo")) return false;
    const auto k = static_cast<std::size_t>(selected_);
    const ItemSlot& item = l.items[k];
    if (kind_ == ItemListKind::Inventory) {
        record_.equip_view = clear_equip_view(item.equip, record_.equip_view);
    }
    l.weight -= item_weight(items_, item.nameid) * item.amount;
    l.items.erase(l.items.begin() + static_cast<std::ptrdiff_t>(k));
    if (selected_ >= l.count()) selected_ = l.count() - 1;
    unsaved_.set(true);
    return true;
}

bool ItemListEditor::delete_all(Ui& ui) {
    ItemList& l = list();
    if (l.items.empty()) return false;
    if (!ui.ask_yes_no("Are you sure?", "Tavo")) return false;
    if (kind_ == ItemListKind::Inventory) record_.equip_view = "0,0,0,0,0";
    l.items.clear();
    l.weight = 0;
    selected_ = -1;
    unsaved_.set(true);
    return true;
}

}  // namespace tavo
