#include "items/item_panel_editor.h"

#include <algorithm>
#include <cmath>

#include "app/numbers.h"
#include "app/text.h"
#include "characters/character_file.h"
#include "characters/guild_party_pet.h"
#include "refdata/item_db.h"
#include "refdata/refdata.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;
namespace {

constexpr std::int32_t kForgedWeapon = 255;
constexpr std::int32_t kMadeItem = 254;
constexpr std::int32_t kPetEggMarker = 65280;  // card0 -256 read as unsigned

// Weapon locations fit each other, and so do the headgear locations.
bool same_location_family(std::int32_t a, std::int32_t b) {
    const auto weapon = [](std::int32_t l) { return l == 2 || l == 34; };
    const auto head = [](std::int32_t l) {
        return l == 1 || l == 256 || l == 512 || l == 768 || l == 769;
    };
    return a == b || (weapon(a) && weapon(b)) || (head(a) && head(b));
}

std::string card_entry(std::int32_t card_id, std::string_view name) {
    std::string entry(1, '[');
    return entry.append(zero_pad(card_id, 3)).append("] ").append(name);
}

std::int32_t composed_id(std::int16_t low, std::int16_t high) {
    return static_cast<std::int32_t>(high) * 65536 + static_cast<std::uint16_t>(low);
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && to_lower(text.substr(0, prefix.size())) == prefix;
}

}  // namespace

std::string confirm_caption(ItemDestination destination, ItemAction action) {
    const char* where = destination == ItemDestination::Inventory ? "Inventory"
                        : destination == ItemDestination::Cart    ? "Cart"
                                                                  : "Storage";
    return std::string(action == ItemAction::Add ? "Add to " : "Save to ") + where;
}

bool passes_item_filter(std::uint8_t type, std::size_t filter) {
    switch (filter) {
        case 0: return true;
        case 1: return type == 0 || type == 10;
        case 2: return type == 3;
        case 3: return type == 4;
        case 4: return type == 5;
        case 5: return type == 6;
        case 6: return type == 7;
        default: return false;
    }
}

ItemKind item_kind(std::uint8_t type) {
    if (type <= 2) return ItemKind::Usable;
    if (type == kWeaponType || type == kArmorType) return ItemKind::Equipment;
    if (type == kEggType) return ItemKind::Egg;
    return ItemKind::Other;
}

bool is_unstackable_type(std::uint8_t type) {
    return type == kWeaponType || type == kArmorType || type == kEggType || type == kPetArmorType;
}

ItemPanelEditor::ItemPanelEditor(const ItemNaming& naming, ForgerList& forgers)
    : naming_(naming), forgers_(forgers), cards_{{0, "[0000] None"}} {}

void ItemPanelEditor::open(ItemDestination destination, ItemAction action) {
    forgers_.refresh(naming_.app, naming_.ui, naming_.characters);
    forger_ = std::min<int>(forger_, static_cast<int>(forgers_.entries().size()) - 1);
    destination_ = destination;
    action_ = action;
    open_ = true;
    if (choices_.empty()) set_filter(filter_);
    if (action == ItemAction::Add && !choices_.empty()) choose(0);
}

void ItemPanelEditor::close() {
    open_ = false;
    shown_prefix_.clear();
}

void ItemPanelEditor::set_filter(std::size_t filter) {
    filter_ = filter;
    choices_.clear();
    const auto& entries = naming_.ref.items.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (passes_item_filter(entries[i].type, filter)) {
            choices_.push_back({i, entries[i].id, entries[i].list_name});
        }
    }
    chosen_ = -1;
}

bool ItemPanelEditor::type_key(int code) {
    bool search = false;
    if (is_alpha_code(code) || code == ' ' || code == '_') {
        prefix_ += static_cast<char>(code);
        search = true;
    } else if (code == 27) {
        prefix_.clear();
    } else if (code == 8 && !prefix_.empty()) {
        prefix_.pop_back();
        search = true;
    }
    shown_prefix_ = prefix_;
    if (!search) return false;
    const std::string wanted = to_lower(prefix_);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (starts_with_ignoring_case(choices_[i].text, wanted)) {
            choose(static_cast<int>(i));
            return true;
        }
    }
    chosen_ = -1;
    return false;
}

int ItemPanelEditor::line_of_item(std::int32_t item_id) const {
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].item_id == item_id) return static_cast<int>(i);
    }
    return -1;
}

const ItemDbEntry* ItemPanelEditor::chosen_entry() const {
    if (chosen_ < 0 || chosen_ >= static_cast<int>(choices_.size())) return nullptr;
    return &naming_.ref.items[choices_[static_cast<std::size_t>(chosen_)].table_index];
}

void ItemPanelEditor::choose(int index) {
    chosen_ = index >= 0 && index < static_cast<int>(choices_.size()) ? index : -1;
    const ItemDbEntry* entry = chosen_entry();
    if (entry == nullptr) return;
    if (fields_.qty == "0" || fields_.qty.empty()) fields_.qty = "1"s;
    fields_.type = std::to_string(entry->type);
    fields_.slot_count = std::to_string(entry->slot_count);
    fields_.item_id = std::to_string(entry->id);
    fields_.name = entry->name;
    if (fields_.refine.empty()) fields_.refine = "0"s;
    is_.pet_info = false;
    element_ = strength_ = forger_ = 0;
    apply_kind(*entry);
}

void ItemPanelEditor::apply_kind(const ItemDbEntry& entry) {
    is_.element = is_.strength = is_.forger = false;
    std::fill(std::begin(is_.cards), std::end(is_.cards), false);
    is_.card_frame = false;
    is_.edit_pet_name = false;
    switch (item_kind(entry.type)) {
        case ItemKind::Equipment:
            is_.card_frame = true;
            fields_.qty = "1"s;
            is_.qty = false;
            is_.refine = true;
            is_.forger = entry.type == kWeaponType && entry.slot_count == 0;
            // A slotless item offers no card; the choosers must not carry the cards of the
            // item chosen before into this one.
            cards_ = {{0, "[0000] None"}};
            std::fill(std::begin(card_index_), std::end(card_index_), 0);
            if (entry.slot_count >= 1) {
                is_.cards[0] = true;
                load_card_combo(entry.equip_locations);
            }
            break;
        case ItemKind::Egg:
            is_.pet_info = true;
            pet_ = {};
            fields_.qty = "1"s;
            is_.qty = false;
            fields_.refine = "0"s;
            is_.refine = false;
            break;
        case ItemKind::Usable:
            is_.qty = true;
            is_.forger = true;  // the maker of a brewed item
            fields_.refine = "0"s;
            is_.refine = false;
            break;
        case ItemKind::Other:
            is_.qty = true;
            is_.refine = false;
            break;
    }
}

void ItemPanelEditor::load_card_combo(std::int32_t location) {
    cards_ = {{0, "[0000] None"}};
    for (const ItemDbEntry& entry : naming_.ref.items.entries()) {
        if (entry.type == 6 && same_location_family(location, entry.equip_locations)) {
            cards_.push_back({entry.id, card_entry(entry.id, entry.name)});
        }
    }
    std::fill(std::begin(card_index_), std::end(card_index_), 0);
}

int ItemPanelEditor::line_of_card(std::int32_t card_id) const {
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        if (cards_[i].card_id == card_id) return static_cast<int>(i);
    }
    return -1;
}

std::uint8_t ItemPanelEditor::shown_type() const {
    return static_cast<std::uint8_t>(std::clamp(leading_number(fields_.type), 0.0, 255.0));
}

std::int32_t ItemPanelEditor::shown_slots() const {
    return static_cast<std::int32_t>(std::clamp(leading_number(fields_.slot_count), 0.0, 255.0));
}

void ItemPanelEditor::choose_card(int slot, int index) {
    if (slot < 0 || slot > 3) return;
    card_index_[slot] = index >= 0 && index < static_cast<int>(cards_.size()) ? index : -1;
    card_rules(true);
}

// Cards fill the slots in order, and a carded item is not a forged one. A preset only opens
// the choosers: the cards an item already holds stay as they are.
void ItemPanelEditor::card_rules(bool clear) {
    const auto holds_card = [&](int slot) { return card_index_[slot] >= 1; };
    const std::int32_t slots = shown_slots();
    is_.cards[1] = is_.cards[2] = is_.cards[3] = false;
    if (holds_card(0)) {
        is_.cards[1] = slots > 1;
        element_ = strength_ = forger_ = 0;
        is_.element = is_.strength = is_.forger = false;
    } else if (shown_type() == kWeaponType) {
        if (clear) card_index_[1] = card_index_[2] = card_index_[3] = 0;
        is_.forger = true;
    }
    is_.cards[2] = holds_card(1) && slots > 2;
    if (!is_.cards[2] && clear) card_index_[2] = card_index_[3] = 0;
    is_.cards[3] = holds_card(2) && slots > 3;
    if (!is_.cards[3] && clear) card_index_[3] = 0;
}

void ItemPanelEditor::choose_forger(int index) {
    forger_ = index >= 0 && index < static_cast<int>(forgers_.entries().size()) ? index : 0;
    if (forger_ >= 1) {
        is_.cards[0] = false;
        if (shown_type() == kWeaponType) is_.element = is_.strength = true;
    } else {
        is_.element = is_.strength = false;
        element_ = strength_ = 0;
        // Back to no smith: a slotted weapon takes cards again.
        if (shown_type() == kWeaponType && shown_slots() >= 1) is_.cards[0] = true;
    }
}

void ItemPanelEditor::select_forger_of(std::int32_t char_id) {
    int line = forgers_.line_of(char_id);
    if (line < 0) {
        const ItemNaming& n = naming_;
        const auto high = static_cast<std::int16_t>(char_id >> 16);
        const auto low = static_cast<std::int16_t>(char_id & 0xFFFF);
        line = forgers_.add_unlisted(char_id, find_forger(n, low, high));
    }
    forger_ = line;
}

int ItemPanelEditor::card_or_added(std::int32_t card_id) {
    int line = line_of_card(card_id);
    if (line < 0) {
        // A card the choosers do not offer for this item: kept, so an edit does not drop it.
        cards_.push_back({card_id, card_entry(card_id, card_name(naming_.ref.cards, card_id))});
        line = static_cast<int>(cards_.size()) - 1;
    }
    return line;
}

void ItemPanelEditor::preset(const ItemSlot& item) {
    fields_.qty = std::to_string(item.amount);
    fields_.refine = std::to_string(item.refine);
    set_filter(0);
    const int line = line_of_item(item.nameid);
    if (line >= 0) {
        choose(line);
    } else {
        // An item the table does not hold keeps its number.
        fields_.item_id = std::to_string(item.nameid);
        fields_.name = item_name(naming_.ref.items, item.nameid);
        fields_.type = fields_.slot_count = "0"s;
    }
    const std::int32_t marker = static_cast<std::uint16_t>(item.card0);
    if (marker == kForgedWeapon) {
        element_ = std::clamp(item.card1 % 10, 0, 4);
        strength_ = std::clamp(static_cast<int>(std::lround(item.card1 / 10 / 128.0)), 0, 3);
        const int element = element_, strength = strength_;
        select_forger_of(composed_id(item.card2, item.card3));
        choose_forger(forger_);
        element_ = element;
        strength_ = strength;
    } else if (marker == kMadeItem) {
        select_forger_of(composed_id(item.card2, item.card3));
        is_.element = is_.strength = false;
    } else if (marker == kPetEggMarker) {
        const std::int32_t pet_id = composed_id(item.card1, item.card2);
        is_.pet_info = true;
        pet_ = {};
        pet_.id = std::to_string(pet_id);
        pet_.found_id = pet_id;
        const std::string pet_class = pet_class_of(naming_.app, naming_.ui, pet_id);
        pet_.type = find_pet_type(naming_, as_i32(leading_number(pet_class)).value_or(0));
        pet_.name = pet_.read_name = pet_name_of(naming_.app, naming_.ui, pet_id);
        is_.edit_pet_name = true;
    } else if (item_kind(shown_type()) == ItemKind::Equipment) {
        preset_cards(item);
    }
}

void ItemPanelEditor::edit_or_save_pet_name() {
    if (!is_.edit_pet_name || pet_.name.empty()) return;
    if (!pet_.name_open) {
        pet_.name_open = true;
        return;
    }
    // A name the server would misread is refused; the box stays open for a correction.
    const auto name = save_pet(naming_.app, naming_.ui, pet_.found_id, pet_.name, pet_.read_name);
    if (!name) return;
    pet_.name = pet_.read_name = *name;  // another writer's name, when it was kept
    pet_.name_open = false;
}

void ItemPanelEditor::cancel_pet_name() {
    pet_.name_open = false;
    if (is_.edit_pet_name) {
        pet_.name = pet_.read_name = pet_name_of(naming_.app, naming_.ui, pet_.found_id);
    }
}

void ItemPanelEditor::preset_cards(const ItemSlot& item) {
    const std::int16_t cards[4] = {item.card0, item.card1, item.card2, item.card3};
    for (int slot = 0; slot < 4; ++slot) card_index_[slot] = card_or_added(cards[slot]);
    if (is_.cards[0]) card_rules(false);
}

std::string ItemPanelEditor::duplicate_key() const {
    const std::int32_t maker = forgers_.entries()[static_cast<std::size_t>(forger_)].char_id;
    return fields_.item_id + "-" + zero_pad(maker, 5);
}

std::string item_duplicate_key(const ItemSlot& item) {
    const std::int32_t marker = static_cast<std::uint16_t>(item.card0);
    const std::int32_t maker = marker == kForgedWeapon || marker == kMadeItem
                                   ? composed_id(item.card2, item.card3)
                                   : item.card2;
    return std::to_string(item.nameid) + "-" + zero_pad(maker, 5);
}

int count_duplicates(const std::vector<ItemSlot>& items, std::string_view key,
                     std::optional<std::size_t> except) {
    int found = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != except && item_duplicate_key(items[i]) == key) ++found;
    }
    return found;
}

}  // namespace tavo
