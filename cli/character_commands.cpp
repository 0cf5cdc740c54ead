// The character commands of tavo-cli: an account's characters, one character as the "Char
// Profile" tab shows it, and the names of guilds, parties and pets.

#include <iostream>
#include <memory>

#include "app/numbers.h"
#include "app/text.h"
#include "characters/guild_party_pet.h"
#include "cli/cli.h"
#include "pages/pages.h"

namespace tavo::cli {
namespace {

nlohmann::json utf8_lines(const std::vector<std::string>& lines) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& line : lines) list.push_back(utf8(line));
    return list;
}

int list_characters(Session& s, std::int32_t account_id) {
    // The chooser's entries; listing alone loads no character.
    if (!s.ws.characters.list(s.ui, account_id)) return kFailed;
    std::vector<std::string> texts;
    for (const CharacterChoice& entry : s.ws.characters.choices()) texts.push_back(entry.text);
    if (s.options.json) {
        print_json(utf8_lines(texts));
    } else {
        for (const std::string& text : texts) std::cout << text << '\n';
    }
    return kDone;
}

// Every field `char set` takes, under its name, as the "Edit Basic Character Info" boxes show it,
// with the memo points, skills and variables as their lists hold them.
nlohmann::json fields_json(Session& s, Pages& pages) {
    BasicInfoPage& basic = pages.basic_info;
    basic.open();
    const auto text = [&basic](BasicBox box) { return utf8(basic.box(box)); };
    const auto number = [&basic](BasicBox box) {
        return static_cast<long long>(leading_number(basic.box(box)));
    };
    const auto point = [&text](BasicBox map) {
        const int at = static_cast<int>(map);
        return text(map) + "," + text(static_cast<BasicBox>(at + 1)) + "," +
               text(static_cast<BasicBox>(at + 2));
    };
    const CharacterRecord& r = s.ws.characters.current();
    nlohmann::json fields = {
        {"id", r.char_id},
        {"account_id", r.account_id},
        {"slot", r.char_num},
        {"name", text(BasicBox::Name)},
        {"class", static_cast<long long>(leading_number(piece(r.class_levels, ',', 0)))},
        {"base_level", number(BasicBox::BaseLevel)},
        {"job_level", number(BasicBox::JobLevel)},
        {"zeny", number(BasicBox::Zeny)},
        {"str", number(BasicBox::Str)},
        {"agi", number(BasicBox::Agi)},
        {"vit", number(BasicBox::Vit)},
        {"int", number(BasicBox::Int)},
        {"dex", number(BasicBox::Dex)},
        {"luk", number(BasicBox::Luk)},
        {"stat_points", number(BasicBox::StatPoints)},
        {"skill_points", number(BasicBox::SkillPoints)},
        {"save", point(BasicBox::SaveMap)},
        {"last", point(BasicBox::LastMap)},
        {"hair", number(BasicBox::Hair)},
        {"hair_color", number(BasicBox::HairColor)},
        {"clothes_color", number(BasicBox::ClothesColor)},
        {"guild_name", text(BasicBox::GuildName)},
        {"party_name", text(BasicBox::PartyName)},
        {"pet_name", text(BasicBox::PetName)},
        {"memo", utf8_lines(pages.memo.lines(CharList::Memo))},
        {"skills", utf8_lines(r.skills)},
        {"vars", utf8_lines(r.regs)}};
    basic.cancel();
    return fields;
}

int show_character(Session& s, const std::string& id) {
    Pages pages(s.ws, s.ui);
    CharProfilePage& page = pages.character;
    pages.memo.open();
    const int messages = s.ui.message_count();
    if (!page.open(id)) {
        if (s.ui.message_count() == messages)
            std::cerr << "No character with the id " << id << "\n";
        return kFailed;
    }
    const std::string profile = lf_lines(page.profile());
    const auto list_json = [](const ItemListPage& list) {
        return nlohmann::json{{"caption", list.caption()}, {"items", utf8_lines(list.lines())}};
    };
    if (s.options.json) {
        nlohmann::json document = fields_json(s, pages);
        document["profile"] = utf8(profile);
        document["inventory"] = list_json(page.inventory());
        document["cart"] = list_json(page.cart());
        print_json(document);
        return kDone;
    }
    std::cout << profile;
    for (const ItemListPage* list : {&page.inventory(), &page.cart()}) {
        std::cout << list->caption() << '\n';
        for (const std::string& line : list->lines()) std::cout << "  " << line << '\n';
    }
    return kDone;
}

// The guild, party or pet name as the profile shows it.
int show_name(Session& s, const std::string& kind, const std::string& id) {
    const std::int32_t number = as_i32(leading_number(id)).value_or(0);
    std::string name;
    if (kind == "guild") name = guild_name_of(s.ws.app, s.ui, number);
    if (kind == "party") name = party_name_of(s.ws.app, s.ui, id);
    if (kind == "pet") name = pet_name_of(s.ws.app, s.ui, number);
    if (s.options.json) {
        print_json({{"id", utf8(id)}, {"name", utf8(name)}});
    } else {
        std::cout << name << '\n';
    }
    return kDone;
}

}  // namespace

void add_character_commands(CLI::App& app, const CliOptions& options, int& result) {
    auto account = std::make_shared<std::int32_t>(0);
    CLI::App* chars = app.add_subcommand(
        "chars", "The characters of an account, as the chooser lists them (chars ACCOUNT)");
    CLI::Option* account_option = add_id_option(chars, "ACCOUNT", *account, "The account id");
    chars->require_subcommand(0, 1);

    auto id = std::make_shared<std::string>();
    CLI::App* character = app.add_subcommand(
        "char", "A character's profile, inventory and cart lines (char ID), or change it");
    CLI::Option* id_option =
        character->add_option("ID", *id, "The character id")->transform(decimal(0, kHighestId));
    character->require_subcommand(0, 1);
    add_character_edit_commands(character, chars, options, result);

    chars->callback([&options, &result, account, account_option, chars] {
        if (!chars->get_subcommands().empty()) return;
        if (account_option->count() == 0) {
            std::cerr << "chars: give an ACCOUNT, or use \"chars delete ACCOUNT\"\n";
            result = kUsage;
            return;
        }
        run_command(options, result,
                    [account](Session& s) { return list_characters(s, *account); });
    });
    character->callback([&options, &result, id, id_option, character] {
        if (!character->get_subcommands().empty()) return;
        if (id_option->count() == 0) {
            std::cerr << "char: give an ID, or use \"char set\", \"char memo\", \"char skill\", "
                         "\"char var\" or \"char delete\"\n";
            result = kUsage;
            return;
        }
        run_command(options, result, [id](Session& s) { return show_character(s, *id); });
    });

    for (const std::string kind : {"guild", "party", "pet"}) {
        auto name_id = std::make_shared<std::string>();
        CLI::App* sub = app.add_subcommand(kind, "The name of a " + kind);
        sub->add_option("ID", *name_id, "The " + kind + " id")
            ->transform(decimal(0, kHighestId))
            ->required();
        sub->callback([&options, &result, kind, name_id] {
            run_command(options, result,
                        [&kind, name_id](Session& s) { return show_name(s, kind, *name_id); });
        });
    }
}

}  // namespace tavo::cli
