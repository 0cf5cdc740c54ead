#include <iostream>

#include "app/numbers.h"
#include "characters/character_file.h"
#include "characters/guild_party_pet.h"
#include "characters/profile.h"
#include "cli/cli.h"
#include "refdata/weight.h"
#include "workspace/naming.h"

namespace tavo::cli {
namespace {

std::string lf_lines(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    return text;
}

int list_characters(Session& s, std::int32_t account_id) {
    if (!load_char_list(s.ws.app, s.ui, s.ws.ref, s.ws.characters, account_id)) return kFailed;
    if (s.options.json) {
        print_json(s.ws.characters.chooser);
    } else {
        for (const std::string& entry : s.ws.characters.chooser) std::cout << entry << '\n';
    }
    return kDone;
}

nlohmann::json item_list_json(const std::string& caption, const std::vector<std::string>& lines) {
    return {{"caption", caption}, {"items", lines}};
}

int show_character(Session& s, const std::string& id) {
    CharacterState& state = s.ws.characters;
    if (!load_char_info(s.ws.app, s.ui, s.ws.ref, state, id)) return kFailed;
    const CharacterRecord& r = state.current;
    const ItemNaming naming = item_naming(s.ws, s.ui);
    std::vector<std::string> inventory, cart;
    for (const ItemSlot& item : r.inventory.items)
        inventory.push_back(equipped_item_line(naming, item));
    for (const ItemSlot& item : r.cart.items) cart.push_back(addlistitem(naming, item));
    const std::int32_t limit = s.ws.app.settings.maxinventory;
    const std::string inventory_caption = inventory_weight_caption(
        r.inventory.weight, r.inventory.max_weight, r.inventory.count(), limit);
    const std::string cart_caption =
        cart_weight_caption(r.cart.weight, r.cart.max_weight, r.cart.count(), limit);
    const std::string profile = lf_lines(show_char_profile(s.ws.app, s.ui, s.ws.ref, r));
    if (s.options.json) {
        print_json({{"profile", profile},
                    {"inventory", item_list_json(inventory_caption, inventory)},
                    {"cart", item_list_json(cart_caption, cart)}});
        return kDone;
    }
    std::cout << profile << inventory_caption << '\n';
    for (const std::string& line : inventory) std::cout << "  " << line << '\n';
    std::cout << cart_caption << '\n';
    for (const std::string& line : cart) std::cout << "  " << line << '\n';
    return kDone;
}

void print_name(const CliOptions& options, const char* kind, const std::string& id,
                const std::string& name) {
    if (options.json) {
        print_json({{kind, id}, {"name", name}});
    } else {
        std::cout << name << '\n';
    }
}

}  // namespace

void add_character_commands(CLI::App& app, const CliOptions& options, int& result) {
    static std::int32_t account_id = 0;
    static std::string id;
    CLI::App* chars = app.add_subcommand("chars", "The characters of an account (the chooser)");
    chars->add_option("ACCOUNT", account_id, "Account id")->required();
    chars->callback(
        [&] { result = run(options, [](Session& s) { return list_characters(s, account_id); }); });

    CLI::App* character = app.add_subcommand("char", "A character's profile, inventory and cart");
    character->add_option("ID", id, "Character id")->required();
    character->callback(
        [&] { result = run(options, [](Session& s) { return show_character(s, id); }); });

    for (const char* kind : {"guild", "party", "pet"}) {
        CLI::App* sub = app.add_subcommand(kind, std::string("The name of a ") + kind);
        sub->add_option("ID", id, std::string("The ") + kind + " id")->required();
        sub->callback([&, kind] {
            result = run(options, [kind](Session& s) {
                const std::string k = kind;
                std::string name;
                if (k == "guild") name = find_guild(s.ws.app, s.ui, leading_i32(id));
                if (k == "party") name = find_party(s.ws.app, s.ui, id);
                if (k == "pet") name = find_pet(s.ws.app, s.ui, 1, leading_i32(id));
                print_name(s.options, kind, id, name);
                return kDone;
            });
        });
    }
}

}  // namespace tavo::cli
