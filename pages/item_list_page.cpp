#include "pages/item_list_page.h"

#include "app/settings.h"
#include "app/text.h"
#include "app/ui.h"
#include "refdata/refdata.h"
#include "refdata/weight.h"
#include "workspace/character_document.h"

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

ItemListPage::ItemListPage(ItemListKind kind, CharacterDocument& character,
                           const AppSettings& settings, ItemPanelPage& panel, Ui& ui)
    : kind_(kind), character_(character), settings_(settings), panel_(panel), ui_(ui) {}

ItemDestination ItemListPage::destination() const {
    return kind_ == ItemListKind::Inventory ? ItemDestination::Inventory : ItemDestination::Cart;
}

ItemList& ItemListPage::edited_list() {
    CharacterRecord& record = character_.current();
    return kind_ == ItemListKind::Inventory ? record.inventory : record.cart;
}
const ItemList& ItemListPage::list() const {
    const CharacterRecord& record = character_.current();
    return kind_ == ItemListKind::Inventory ? record.inventory : record.cart;
}

std::vector<std::string> ItemListPage::lines() const {
    std::vector<std::string> out;
    if (!character_.loaded()) return out;
    out.reserve(list().items.size());
    for (const ItemSlot& item : list().items) {
        out.push_back(kind_ == ItemListKind::Inventory ? equipped_item_line(panel_.naming(), item)
                                                       : item_list_text(panel_.naming(), item));
    }
    return out;
}

std::string ItemListPage::caption() const {
    // Before a character is shown: the inventory's caption is empty, the cart's as designed.
    if (!character_.loaded()) {
        return kind_ == ItemListKind::Inventory ? "" : "Cart [Merchant/BlackSmith/Alchemist]";
    }
    const ItemList& l = list();
    return kind_ == ItemListKind::Inventory
               ? inventory_weight_caption(l.weight, l.max_weight, l.count(), settings_.maxinventory)
               : cart_weight_caption(l.weight, l.max_weight, l.count(), settings_.maxinventory);
}

void ItemListPage::select(int line) {
    selected_ = line >= 0 && line < list().count() ? line : -1;
}

void ItemListPage::reset() {
    selected_ = character_.loaded() && !list().items.empty() ? 0 : -1;
}

bool ItemListPage::offered(ItemButton button) const {
    if (!character_.loaded()) return false;
    switch (button) {
        case ItemButton::New: return true;
        case ItemButton::Edit:
        case ItemButton::Delete:
        case ItemButton::DeleteAll: return !list().items.empty();
        case ItemButton::SaveFile: return character_.modified();
    }
    return false;
}

ItemOutcome ItemListPage::press(ItemButton button) {
    ItemOutcome outcome;
    if (!offered(button)) return outcome;
    switch (button) {
        case ItemButton::New:
            if (list().count() >= settings_.maxinventory) {
                ui_.message("Max item count reach.", "Tavo");
                break;
            }
            panel_.open(*this, ItemAction::Add);
            outcome.done = outcome.panel_opened = true;
            break;
        case ItemButton::Edit:
            if (selected_ < 0 || selected_ >= list().count()) break;
            panel_.open(*this, ItemAction::Save);
            panel_.preset(list().items[static_cast<std::size_t>(selected_)]);
            outcome.done = outcome.panel_opened = true;
            break;
        case ItemButton::Delete: outcome.done = outcome.lines_changed = delete_selected(); break;
        case ItemButton::DeleteAll: outcome.done = outcome.lines_changed = delete_all(); break;
        case ItemButton::SaveFile: break;  // the character page's "Save to File"
    }
    return outcome;
}

bool ItemListPage::store(PanelValues& values) {
    ItemList& l = edited_list();
    std::optional<std::size_t> selected;
    if (selected_ >= 0) selected = static_cast<std::size_t>(selected_);
    const std::optional<std::size_t> stored =
        confirm_item(values, panel_.naming().ref.items, panel_.naming().app, ui_,
                     settings_.maxitemcount, {l.items, &l.weight, l.max_weight, selected});
    if (!stored) return false;
    selected_ = static_cast<int>(*stored);
    character_.mark_modified();
    return true;
}

bool ItemListPage::delete_selected() {
    ItemList& l = edited_list();
    if (selected_ < 0 || selected_ >= l.count()) return false;
    if (!ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    const auto k = static_cast<std::size_t>(selected_);
    const ItemSlot& item = l.items[k];
    CharacterRecord& record = character_.current();
    if (kind_ == ItemListKind::Inventory) {
        record.equip_view = clear_equip_view(item.equip, record.equip_view);
    }
    l.weight -= item_weight(panel_.naming().ref.items, item.nameid) * item.amount;
    l.items.erase(l.items.begin() + static_cast<std::ptrdiff_t>(k));
    if (selected_ >= l.count()) selected_ = l.count() - 1;
    character_.mark_modified();
    return true;
}

bool ItemListPage::delete_all() {
    ItemList& l = edited_list();
    if (l.items.empty()) return false;
    if (!ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    if (kind_ == ItemListKind::Inventory) character_.current().equip_view = "0,0,0,0,0";
    l.items.clear();
    l.weight = 0;
    selected_ = -1;
    character_.mark_modified();
    return true;
}

}  // namespace tavo
