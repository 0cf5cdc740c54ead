#include "pages/item_panel_page.h"

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

ItemPanelPage::ItemPanelPage(const ItemNaming& naming, ForgerList& forgers)
    : naming_(naming), forgers_(forgers), cards_{{0, "[0000] None"}} {}

void ItemPanelPage::open(ItemPanelTarget& target, ItemAction action) {
    forgers_.refresh(naming_.app, naming_.ui, naming_.characters);
    forger_ = std::min<int>(forger_, static_cast<int>(forgers_.entries().size()) - 1);
    target_ = &target;
    action_ = action;
    open_ = true;
    if (choices_.empty()) set_filter(filter_);
    if (action == ItemAction::Add && !choices_.empty()) choose(0);
}

void ItemPanelPage::close() {
    open_ = false;
    shown_prefix_.clear();
}

std::string ItemPanelPage::caption() const {
    return confirm_caption(target_ != nullptr ? target_->destination() : ItemDestination::Inventory,
                           action_);
}

bool ItemPanelPage::confirm() {
    shown_prefix_.clear();
    if (!open_ || target_ == nullptr) return false;
    PanelValues composed = values();
    const bool stored = target_->store(composed);
    fields_.qty = composed.qty;  // a quantity above maxitemcount was put down to it
    if (stored) close();
    return stored;
}

PanelValues ItemPanelPage::values() const {
    PanelValues v;
    v.item_id = fields_.item_id;
    v.qty = fields_.qty;
    v.refine = fields_.refine;
    v.forging = is_.forger;
    v.maker = forgers_.entries()[static_cast<std::size_t>(forger_)].char_id;
    v.strength = strength_;
    v.element = element_;
    for (int slot = 0; slot < 4; ++slot) {
        const int line = card_index_[slot];
        if (line >= 0) v.cards[slot] = cards_[static_cast<std::size_t>(line)].card_id;
    }
    v.pet_id = pet_.id;
    v.egg_pet = pet_.found_id;
    v.add = action_ == ItemAction::Add;
    return v;
}

const std::string& ItemPanelPage::field_text(ItemField field) const {
    switch (field) {
        case ItemField::Qty: return fields_.qty;
        case ItemField::Type: return fields_.type;
        case ItemField::Slots: return fields_.slot_count;
        case ItemField::Refine: return fields_.refine;
        case ItemField::ItemId: return fields_.item_id;
        case ItemField::Name: break;
    }
    return fields_.name;
}

void ItemPanelPage::type_field(ItemField field, std::string text) {
    if (field == ItemField::Qty) fields_.qty = std::move(text);
    if (field == ItemField::Refine) fields_.refine = std::move(text);
}

bool ItemPanelPage::field_open(ItemField field) const {
    if (field == ItemField::Qty) return is_.qty;
    if (field == ItemField::Refine) return is_.refine;
    return true;
}

void ItemPanelPage::set_filter(std::size_t filter) {
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

bool ItemPanelPage::type_key(int code) {
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

int ItemPanelPage::line_of_item(std::int32_t item_id) const {
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].item_id == item_id) return static_cast<int>(i);
    }
    return -1;
}

const ItemDbEntry* ItemPanelPage::chosen_entry() const {
    if (chosen_ < 0 || chosen_ >= static_cast<int>(choices_.size())) return nullptr;
    return &naming_.ref.items[choices_[static_cast<std::size_t>(chosen_)].table_index];
}

void ItemPanelPage::choose(int index) {
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

// The card choosers hold only "None": no item carries the cards of the item chosen before.
void ItemPanelPage::no_cards() {
    cards_ = {{0, "[0000] None"}};
    std::fill(std::begin(card_index_), std::end(card_index_), 0);
    std::fill(std::begin(is_.cards), std::end(is_.cards), false);
}

// The card frame is hidden for the kinds that are neither equipment, usable items nor eggs.
void ItemPanelPage::apply_kind(const ItemDbEntry& entry) {
    is_.element = is_.strength = is_.forger = false;
    no_cards();
    is_.card_frame = item_kind(entry.type) != ItemKind::Other;
    is_.edit_pet_name = false;
    switch (item_kind(entry.type)) {
        case ItemKind::Equipment:
            fields_.qty = "1"s;
            is_.qty = false;
            is_.refine = true;
            is_.forger = entry.type == kWeaponType && entry.slot_count == 0;
            if (entry.slot_count >= 1) {
                is_.cards[0] = true;
                load_card_combo(entry.equip_locations);
                // "Card 1" at "None": a weapon may be forged instead.
                card_rules(true);
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

void ItemPanelPage::load_card_combo(std::int32_t location) {
    cards_ = {{0, "[0000] None"}};
    for (const ItemDbEntry& entry : naming_.ref.items.entries()) {
        if (entry.type == 6 && same_location_family(location, entry.equip_locations)) {
            cards_.push_back({entry.id, card_entry(entry.id, entry.name)});
        }
    }
    std::fill(std::begin(card_index_), std::end(card_index_), 0);
}

int ItemPanelPage::line_of_card(std::int32_t card_id) const {
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        if (cards_[i].card_id == card_id) return static_cast<int>(i);
    }
    return -1;
}

std::uint8_t ItemPanelPage::shown_type() const {
    return static_cast<std::uint8_t>(std::clamp(leading_number(fields_.type), 0.0, 255.0));
}

std::int32_t ItemPanelPage::shown_slots() const {
    return static_cast<std::int32_t>(std::clamp(leading_number(fields_.slot_count), 0.0, 255.0));
}

void ItemPanelPage::choose_card(int slot, int index) {
    if (slot < 0 || slot > 3) return;
    card_index_[slot] = index >= 0 && index < static_cast<int>(cards_.size()) ? index : -1;
    card_rules(true);
}

// Cards fill the slots in order, and a carded item is not a forged one. A preset only opens
// the choosers: the cards an item already holds stay as they are.
void ItemPanelPage::card_rules(bool clear) {
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

void ItemPanelPage::choose_forger(int index) {
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

void ItemPanelPage::select_forger_of(std::int32_t char_id) {
    int line = forgers_.line_of(char_id);
    if (line < 0) {
        const ItemNaming& n = naming_;
        const auto high = static_cast<std::int16_t>(char_id >> 16);
        const auto low = static_cast<std::int16_t>(char_id & 0xFFFF);
        line = forgers_.add_unlisted(char_id, find_forger(n, low, high));
    }
    forger_ = line;
}

int ItemPanelPage::card_or_added(std::int32_t card_id) {
    int line = line_of_card(card_id);
    if (line < 0) {
        // A card the choosers do not offer for this item: kept, so an edit does not drop it.
        cards_.push_back({card_id, card_entry(card_id, card_name(naming_.ref.cards, card_id))});
        line = static_cast<int>(cards_.size()) - 1;
    }
    return line;
}

void ItemPanelPage::preset(const ItemSlot& item) {
    fields_.qty = std::to_string(item.amount);
    fields_.refine = std::to_string(item.refine);
    set_filter(0);
    const int line = line_of_item(item.nameid);
    if (line < 0) {
        // An item the table does not hold keeps its number and everything it carries: only its
        // quantity is open, and nothing of the item shown before stays. The pet of an egg is
        // shown, so that its name can still be changed.
        chosen_ = -1;
        fields_.item_id = std::to_string(item.nameid);
        fields_.name = item_name(naming_.ref.items, item.nameid);
        fields_.type = fields_.slot_count = "0"s;
        is_ = PanelOpen{};
        is_.refine = false;
        is_.card_frame = false;
        no_cards();
        element_ = strength_ = forger_ = 0;
        pet_ = {};
    } else {
        choose(line);
    }
    const std::int32_t marker = static_cast<std::uint16_t>(item.card0);
    if (line < 0 && marker != kPetEggMarker) return;
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

void ItemPanelPage::edit_or_save_pet_name() {
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

void ItemPanelPage::cancel_pet_name() {
    pet_.name_open = false;
    if (is_.edit_pet_name) {
        pet_.name = pet_.read_name = pet_name_of(naming_.app, naming_.ui, pet_.found_id);
    }
}

void ItemPanelPage::preset_cards(const ItemSlot& item) {
    const std::int16_t cards[4] = {item.card0, item.card1, item.card2, item.card3};
    for (int slot = 0; slot < 4; ++slot) card_index_[slot] = card_or_added(cards[slot]);
    if (is_.cards[0]) card_rules(false);
}

}  // namespace tavo
