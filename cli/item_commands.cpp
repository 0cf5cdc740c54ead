// The item commands of tavo-cli: an account's store, and adding, changing and deleting items
// of a character's inventory or cart or of an account's store. They compose items through the
// item panel's page over the "Char Profile" and "Storage" pages, as the window does, so every
// rule and message of the window holds here too; each change is written at once, with the
// backup "Save to File" and "Save File" make.

#include <iostream>
#include <memory>

#include "accounts/account_form.h"
#include "app/numbers.h"
#include "app/text.h"
#include "cli/cli.h"
#include "pages/pages.h"
#include "refdata/item_db.h"

namespace tavo::cli {
namespace {

struct ItemOptions {
    std::optional<std::string> char_id;
    bool cart = false;
    std::optional<std::int32_t> storage;
    std::string item;                                    // an item id or an exact item name
    std::optional<std::string> qty, refine, cards, pet;  // checked by the parser
    std::optional<std::int32_t> forger, maker;
    std::optional<int> strength, element;
    int index = -1;
    bool all = false;
    bool line_needed = false;  // delete: INDEX or --all
};

// One item command's pages over the chosen list.
class ItemCommand {
public:
    ItemCommand(Session& s, const ItemOptions& o) : s_(s), o_(o), pages_(s.ws, s.ui) {}

    int add();
    int edit();
    int remove();

private:
    bool open_list();
    bool refuse(const std::string& text) {
        s_.ui.message(text, "Tavo", Icon::None);
        return false;
    }
    // An option the list cannot hold: a usage error.
    bool misuse(const std::string& text) {
        failed_ = kUsage;
        return refuse(text);
    }
    bool choose_item();
    bool apply_options();
    bool apply_cards();
    bool apply_smith(std::int32_t char_id, bool forging);
    bool select_line();
    int write();
    ItemListPage& list() {
        return o_.cart ? pages_.character.cart() : pages_.character.inventory();
    }
    bool on_store() const { return o_.storage.has_value(); }
    // The button of the chosen list's page.
    ItemOutcome press(ItemButton button) {
        return on_store() ? pages_.storage.press(button) : list().press(button);
    }
    std::string item_name() const { return pages_.item_panel.fields().name; }

    Session& s_;
    const ItemOptions& o_;
    Pages pages_;
    int failed_ = kFailed;  // the exit code of a refusal
};

bool ItemCommand::open_list() {
    if (on_store()) {
        if (!index_of_account(s_.ws.accounts.table(), *o_.storage)) {
            return refuse("No account with the id " + std::to_string(*o_.storage));
        }
        return pages_.storage.choose_account(*o_.storage);
    }
    const int messages = s_.ui.message_count();
    if (!pages_.character.open(*o_.char_id)) {
        return s_.ui.message_count() == messages ? refuse("No character with the id " + *o_.char_id)
                                                 : false;
    }
    return true;
}

bool ItemCommand::choose_item() {
    ItemPanelPage& panel = pages_.item_panel;
    panel.set_filter(0);
    int line = -1;
    if (const auto id = integer_in(o_.item, 0, kHighestId)) {
        line = panel.line_of_item(static_cast<std::int32_t>(*id));
    } else {
        for (const ItemChoice& choice : panel.choices()) {
            const ItemDbEntry& entry = s_.ws.ref.items[choice.table_index];
            if (entry.name == o_.item || entry.list_name == o_.item) {
                line = panel.line_of_item(entry.id);
                break;
            }
        }
    }
    if (line < 0) return refuse("No item \"" + o_.item + "\" in the item database.");
    panel.choose(line);
    return true;
}

bool ItemCommand::apply_smith(std::int32_t char_id, bool forging) {
    ItemPanelPage& panel = pages_.item_panel;
    const ItemKind kind = item_kind(static_cast<std::uint8_t>(leading_number(panel.fields().type)));
    if (forging ? kind != ItemKind::Equipment : kind != ItemKind::Usable) {
        return refuse(
            std::string(forging ? "Only a weapon is forged" : "Only a usable item is made") + "; " +
            item_name() + " is not one.");
    }
    if (!panel.open_state().forger) return refuse(item_name() + " cannot be forged.");
    const int line = s_.ws.forgers.line_of(char_id);
    if (line < 1) {
        return refuse(
            "Character " + std::to_string(char_id) +
            " is not in the forger list (a blacksmith, an alchemist or a GM's character).");
    }
    panel.choose_forger(line);
    return true;
}

bool ItemCommand::apply_cards() {
    ItemPanelPage& panel = pages_.item_panel;
    const std::vector<std::string_view> ids = split(*o_.cards, ',');
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const std::string_view text = slot < ids.size() ? ids[slot] : "0";
        const auto card = static_cast<std::int32_t>(integer_value(text));
        const int slot_i = static_cast<int>(slot);
        if (card == 0 && panel.card(slot_i) <= 0) continue;
        if (!panel.open_state().cards[slot]) {
            return refuse("Card " + std::to_string(slot + 1) + " is not open for " + item_name() +
                          ".");
        }
        const int line = panel.line_of_card(card);
        if (line < 0) {
            return refuse("Card " + std::string(text) + " does not fit " + item_name() + ".");
        }
        panel.choose_card(slot_i, line);
    }
    return true;
}

bool ItemCommand::apply_options() {
    ItemPanelPage& panel = pages_.item_panel;
    const PanelOpen& is = panel.open_state();
    if (o_.qty) {
        if (!is.qty && *o_.qty != "1") {
            return refuse("The quantity of " + item_name() + " is always 1.");
        }
        // The window puts a larger quantity down to the limit before one's eyes; here it
        // would go unseen.
        const std::int32_t most = s_.ws.app.settings.maxitemcount;
        if (integer_value(*o_.qty) > most) {
            return misuse("--qty: at most " + std::to_string(most) + " (maxitemcount of tavo.ini)");
        }
        panel.type_field(ItemField::Qty, *o_.qty);
    }
    if (o_.refine) {
        if (!is.refine) return refuse(item_name() + " cannot be refined.");
        panel.type_field(ItemField::Refine, *o_.refine);
    }
    if (o_.cards && !apply_cards()) return false;
    if (o_.forger && !apply_smith(*o_.forger, true)) return false;
    if (o_.maker && !apply_smith(*o_.maker, false)) return false;
    if (o_.strength || o_.element) {
        if (!panel.open_state().strength) return refuse("Strength and element need --forger.");
        if (o_.strength) panel.choose_strength(*o_.strength);
        if (o_.element) panel.choose_element(*o_.element);
    }
    if (o_.pet) {
        if (!is.pet_info) return refuse(item_name() + " is not a pet egg.");
        panel.type_pet_id(*o_.pet);
    }
    return true;
}

bool ItemCommand::select_line() {
    const int lines = on_store() ? pages_.storage.count() : list().list().count();
    if (o_.index < 0 || o_.index >= lines) {
        return refuse("No item at line " + std::to_string(o_.index) + " (the first line is 0).");
    }
    if (on_store()) {
        pages_.storage.select(o_.index);
    } else {
        list().select(o_.index);
    }
    return true;
}

// The change written as the page's save button writes it; with --theirs, a list another writer
// changed meanwhile keeps that writer's version, and the answer says that nothing was changed.
int ItemCommand::write() {
    if (on_store()) {
        if (!pages_.storage.press(ItemButton::SaveFile).done) return kFailed;
        if (!s_.ws.store.record().disk_version_kept) return kDone;
        return kept_on_disk(s_.ui, "The store of account " + std::to_string(*o_.storage));
    }
    if (!pages_.character.save()) return kFailed;
    if (!s_.ws.characters.state().disk_version_kept) return kDone;
    return kept_on_disk(s_.ui, "Character " + *o_.char_id);
}

int ItemCommand::add() {
    if (!open_list()) return kFailed;
    if (!press(ItemButton::New).panel_opened || !choose_item() || !apply_options() ||
        !pages_.item_panel.confirm()) {
        return failed_;
    }
    return write();
}

int ItemCommand::edit() {
    if (!open_list() || !select_line()) return kFailed;
    if (!press(ItemButton::Edit).panel_opened || !apply_options() || !pages_.item_panel.confirm()) {
        return failed_;
    }
    return write();
}

int ItemCommand::remove() {
    if (!open_list()) return kFailed;
    bool removed = false;
    if (o_.all) {
        removed = press(ItemButton::DeleteAll).done;
        if (!removed && s_.ui.message_count() == 0 && !s_.ui.declined()) {
            refuse("The list is empty.");
        }
    } else {
        if (!select_line()) return kFailed;
        removed = press(ItemButton::Delete).done;
    }
    return removed ? write() : kFailed;
}

int list_storage(Session& s, std::int32_t account) {
    if (!index_of_account(s.ws.accounts.table(), account)) {
        std::cerr << "No account with the id " << account << "\n";
        return kFailed;
    }
    Pages pages(s.ws, s.ui);
    StoragePage& store = pages.storage;
    if (!store.choose_account(account)) return kFailed;
    const std::vector<std::string> lines = store.lines();
    if (s.options.json) {
        nlohmann::json items = nlohmann::json::array();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            items.push_back({{"line", utf8(lines[i])}, {"item", item_text(s.ws.store.items()[i])}});
        }
        print_json({{"account", account},
                    {"label", store.label()},
                    {"count", store.count()},
                    {"maxstorage", s.ws.app.settings.maxstorage},
                    {"items", items}});
        return kDone;
    }
    for (const std::string& line : lines) std::cout << line << '\n';
    std::cout << store.label() << '\n';
    return kDone;
}

// "--cards A,B,C,D": up to four card numbers.
CLI::Validator card_numbers() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const std::vector<std::string_view> cards = split(text, ',');
            bool numbers = cards.size() <= 4;
            for (std::string_view card : cards) numbers = numbers && integer_in(card, 0, 32767);
            return numbers ? std::string()
                           : "up to four card numbers A,B,C,D in decimal digits, not " + text;
        },
        "A,B,C,D");
}

// The options every item command shares: which list.
void add_list_options(CLI::App* sub, ItemOptions& o) {
    auto* character = sub->add_option("--char", o.char_id, "A character's inventory (by id)")
                          ->transform(decimal(0, kHighestId));
    auto* cart = sub->add_flag("--cart", o.cart, "The character's cart instead of its inventory");
    auto* store = sub->add_option("--storage", o.storage, "An account's store (by account id)")
                      ->transform(decimal(0, kHighestId));
    cart->needs(character);
    character->excludes(store);
}

void add_item_options(CLI::App* sub, ItemOptions& o) {
    const CLI::Validator whole = decimal(0, kHighestId);
    sub->add_option("--qty", o.qty, "Quantity (at most maxitemcount)")->transform(whole);
    sub->add_option("--refine", o.refine, "Refine level (above 10 is stored as 10)")
        ->transform(whole);
    sub->add_option("--cards", o.cards, "Card numbers A,B,C,D (0 for an empty slot)")
        ->check(card_numbers());
    auto* forger =
        sub->add_option("--forger", o.forger, "The smith's character id")->transform(whole);
    sub->add_option("--strength", o.strength, "Forging strength 0-3")
        ->transform(decimal(0, 3))
        ->needs(forger);
    sub->add_option("--element", o.element, "Element 0-4 (ice, earth, fire, wind)")
        ->transform(decimal(0, 4))
        ->needs(forger);
    sub->add_option("--maker", o.maker, "The maker's character id (usable items)")
        ->transform(whole);
    sub->add_option("--pet", o.pet, "The pet id inside an egg (one of save/pet.txt)")
        ->transform(whole);
}

template <class Run>
void on_run(CLI::App* sub, const CliOptions& options, int& result, std::shared_ptr<ItemOptions> o,
            Run run) {
    sub->callback([&options, &result, o, run] {
        if (!o->char_id && !o->storage) {
            std::cerr << "Name the list: --char ID [--cart] or --storage ACCOUNT\n";
            result = kUsage;
            return;
        }
        if (o->line_needed && o->index < 0 && !o->all) {
            std::cerr << "Name the line to delete (INDEX, the first is 0), or --all\n";
            result = kUsage;
            return;
        }
        run_command(options, result, [o, run](Session& s) {
            ItemCommand command(s, *o);
            return run(command);
        });
    });
}

}  // namespace

void add_item_commands(CLI::App& app, const CliOptions& options, int& result) {
    auto account = std::make_shared<std::int32_t>(0);
    CLI::App* storage =
        app.add_subcommand("storage", "An account's store as the Storage tab lists it");
    add_id_option(storage, "ACCOUNT", *account, "The account id")->required();
    storage->callback([&options, &result, account] {
        run_command(options, result, [account](Session& s) { return list_storage(s, *account); });
    });

    CLI::App* item = app.add_subcommand("item", "Add, change or delete an item");
    item->require_subcommand(1);
    auto add = std::make_shared<ItemOptions>();
    CLI::App* add_cmd = item->add_subcommand("add", "Add an item");
    add_list_options(add_cmd, *add);
    add_cmd->add_option("ITEM", add->item, "An item id or an exact item name")->required();
    add_item_options(add_cmd, *add);
    on_run(add_cmd, options, result, add, [](ItemCommand& c) { return c.add(); });

    auto edit = std::make_shared<ItemOptions>();
    CLI::App* edit_cmd = item->add_subcommand("edit", "Change the item at a line (the first is 0)");
    add_list_options(edit_cmd, *edit);
    edit_cmd->add_option("INDEX", edit->index, "The item's line, counted from 0")
        ->transform(decimal(0, kHighestId))
        ->required();
    add_item_options(edit_cmd, *edit);
    on_run(edit_cmd, options, result, edit, [](ItemCommand& c) { return c.edit(); });

    auto del = std::make_shared<ItemOptions>();
    CLI::App* del_cmd = item->add_subcommand("delete", "Delete the item at a line, or --all");
    add_list_options(del_cmd, *del);
    auto* index = del_cmd->add_option("INDEX", del->index, "The item's line, counted from 0")
                      ->transform(decimal(0, kHighestId));
    auto* all = del_cmd->add_flag("--all", del->all, "Every item of the list");
    index->excludes(all);
    del->line_needed = true;
    on_run(del_cmd, options, result, del, [](ItemCommand& c) { return c.remove(); });
}

}  // namespace tavo::cli
