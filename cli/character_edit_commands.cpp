// The character editing commands of tavo-cli: `char set` through the "Edit Basic Character
// Info" page, `char memo|skill|var` through the Memo/Skills/Quest page, `char delete` and
// `chars delete` through the "Char Profile" page's deletions. Every rule and message is the
// window's; each change is written the way "Save to File" writes it.

#include <iostream>
#include <map>
#include <memory>

#include "app/numbers.h"
#include "app/text.h"
#include "cli/cli.h"
#include "pages/pages.h"

namespace tavo::cli {
namespace {

// A refusal in the window's words, on stderr.
void say(Session& s, const std::string& text) {
    s.ui.message(text, "Tavo", Icon::None);
}

// The fields `char set` takes and `char ID --json` shows, with the box each fills.
const std::map<std::string, BasicBox>& field_boxes() {
    static const std::map<std::string, BasicBox> boxes{
        {"name", BasicBox::Name},
        {"base_level", BasicBox::BaseLevel},
        {"job_level", BasicBox::JobLevel},
        {"zeny", BasicBox::Zeny},
        {"str", BasicBox::Str},
        {"agi", BasicBox::Agi},
        {"vit", BasicBox::Vit},
        {"int", BasicBox::Int},
        {"dex", BasicBox::Dex},
        {"luk", BasicBox::Luk},
        {"stat_points", BasicBox::StatPoints},
        {"skill_points", BasicBox::SkillPoints},
        {"hair", BasicBox::Hair},
        {"hair_color", BasicBox::HairColor},
        {"clothes_color", BasicBox::ClothesColor},
        {"guild_name", BasicBox::GuildName},
        {"party_name", BasicBox::PartyName},
        {"pet_name", BasicBox::PetName},
    };
    return boxes;
}

constexpr const char* kFieldNames =
    "name, class, base_level, job_level, zeny, str, agi, vit, int, dex, luk, stat_points, "
    "skill_points, save=MAP,X,Y, last=MAP,X,Y, hair, hair_color, clothes_color, guild_name, "
    "party_name, pet_name";

struct Assignment {
    std::string field;
    std::string value;
};

// FIELD=VALUE checked before anything is read: a usage error names what is wrong.
std::optional<Assignment> parse_assignment(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        std::cerr << "Expected FIELD=VALUE: " << text << "\n";
        return std::nullopt;
    }
    Assignment a{text.substr(0, equals), text.substr(equals + 1)};
    const bool digits = !a.value.empty() && a.value.find_first_not_of("0123456789") == a.value.npos;
    if (a.field == "save" || a.field == "last") {
        const std::vector<std::string_view> values = split(a.value, ',');
        const auto is_digits = [](std::string_view v) {
            return !v.empty() && v.find_first_not_of("0123456789") == v.npos;
        };
        if (values.size() == 3 && is_digits(values[1]) && is_digits(values[2])) return a;
        std::cerr << a.field << " is MAP,X,Y with X and Y in decimal digits: " << a.value << "\n";
        return std::nullopt;
    }
    if (a.field == "class") return a;
    const auto box = field_boxes().find(a.field);
    if (box == field_boxes().end()) {
        std::cerr << "Unknown field " << a.field << " (" << kFieldNames << ")\n";
        return std::nullopt;
    }
    if (BasicInfoPage::digits_only(box->second) && !digits) {
        std::cerr << a.field << " takes decimal digits only, as its box does: " << a.value << "\n";
        return std::nullopt;
    }
    return a;
}

// The character opened on the pages; false (said) when it cannot be read.
bool open_character(Session& s, Pages& pages, const std::string& id) {
    const int messages = s.ui.message_count();
    if (pages.character.open(id)) return true;
    if (s.ui.message_count() == messages) std::cerr << "No character with the id " << id << "\n";
    return false;
}

// "Save to File" after an edit; the exit code.
int save_character(Session& s, Pages& pages, const std::string& id) {
    if (s.ws.characters.modified()) {
        if (!pages.character.save()) return kFailed;
        if (s.ws.characters.state().disk_version_kept) {
            return kept_on_disk(s.ui, "Character " + id);
        }
    }
    std::cout << "Character " << id << " changed.\n";
    return kDone;
}

int set_character(Session& s, const std::string& id, const std::vector<Assignment>& changes) {
    Pages pages(s.ws, s.ui);
    if (!open_character(s, pages, id)) return kFailed;
    BasicInfoPage& page = pages.basic_info;
    page.open();
    for (const Assignment& a : changes) {
        if (a.field == "class") {
            int line = page.class_line_of(a.value);
            for (std::size_t i = 0; line < 0 && i < page.class_entries().size(); ++i) {
                const std::string& text = page.class_entries()[i].text;
                if (text.substr(text.find(']') + 2) == a.value) line = static_cast<int>(i);
            }
            if (line < 0) {
                say(s, "No class \"" + a.value + "\" in the job class list of tavo.ini.");
                return kFailed;
            }
            page.choose_class(line);
        } else if (a.field == "save" || a.field == "last") {
            const BasicBox map = a.field == "save" ? BasicBox::SaveMap : BasicBox::LastMap;
            const int at = static_cast<int>(map);
            for (int i = 0; i < 3; ++i) {
                page.type(static_cast<BasicBox>(at + i), std::string(piece(a.value, ',', i)));
            }
        } else {
            page.type(field_boxes().at(a.field), a.value);
        }
    }
    if (!page.ok()) return kFailed;
    return save_character(s, pages, id);
}

// What `char memo|skill|var` names.
struct ListCommand {
    CharList list = CharList::Memo;
    std::string action;             // add, edit or delete
    std::vector<std::string> args;  // INDEX first for edit and delete; then the entry
};

ListButton button_of(CharList list, const std::string& action) {
    const int base = list == CharList::Memo ? 0 : list == CharList::Skills ? 5 : 10;
    const int offset = action == "add" ? 0 : action == "edit" ? 1 : 2;
    return static_cast<ListButton>(base + offset);
}

// The choosers set to a skill (an id or an exact name) and a level; false (said) when the
// skill or the level is not there to choose.
bool choose_skill(Session& s, MemoSkillQuestPage& page, const std::string& skill,
                  const std::string& level) {
    const std::optional<long long> id = integer_in(skill, 0, 32767);
    int line = -1;
    for (std::size_t i = 0; line < 0 && i < page.skill_entries().table_index.size(); ++i) {
        const int table = page.skill_entries().table_index[i];
        if (table < 0) continue;
        const SkillEntry& entry = s.ws.ref.skills.entries[static_cast<std::size_t>(table)];
        if ((id && entry.id == *id) || entry.name == skill) line = static_cast<int>(i);
    }
    if (line < 0) {
        say(s, "No skill \"" + skill + "\" in the skill list of tavo.ini.");
        return false;
    }
    page.choose_skill(line);
    const std::vector<std::string> levels = page.level_entries();
    const auto found = std::find(levels.begin(), levels.end(), level);
    if (found == levels.end()) {
        say(s, page.skill_entries().entries[static_cast<std::size_t>(line)] +
                   " takes a level from 0 to " + (levels.empty() ? "0" : levels.back()) + ", not " +
                   level + ".");
        return false;
    }
    page.choose_level(static_cast<int>(found - levels.begin()));
    return true;
}

int edit_list(Session& s, const std::string& id, const ListCommand& c) {
    Pages pages(s.ws, s.ui);
    if (!open_character(s, pages, id)) return kFailed;
    MemoSkillQuestPage& page = pages.memo;
    page.open();
    std::size_t next = 0;
    if (c.action != "add") {
        const std::optional<long long> index = integer_in(c.args.front(), 0, 1000000);
        if (!index || *index >= static_cast<long long>(page.lines(c.list).size())) {
            say(s, "No entry at line " + c.args.front() + " (the first line is 0).");
            return kFailed;
        }
        page.select(c.list, static_cast<int>(*index));
        next = 1;
    }
    const std::vector<std::string> before = page.lines(c.list);
    const ListButton button = button_of(c.list, c.action);
    if (!page.offered(button)) {
        say(s, "The list is full: \"Add\" takes no more entries.");
        return kFailed;
    }
    if (!page.press(button)) return kFailed;
    if (c.action != "delete") {
        if (c.list == CharList::Skills) {
            if (!choose_skill(s, page, c.args[next], c.args[next + 1])) return kFailed;
        } else {
            page.type_text(c.args[next]);
        }
        if (!page.frame_ok()) return kFailed;
        if (page.lines(c.list) == before) return kFailed;  // a duplicate, said in a message
    }
    return save_character(s, pages, id);
}

int delete_characters(Session& s, const std::string& id, std::optional<std::int32_t> account) {
    Pages pages(s.ws, s.ui);
    if (account) {
        if (!pages.character.list(*account)) return kFailed;
        if (pages.character.count() == 0) {
            say(s, "Account " + std::to_string(*account) + " has no characters.");
            return kFailed;
        }
    } else if (!open_character(s, pages, id)) {
        return kFailed;
    }
    if (!pages.character.delete_characters(account.has_value())) return kFailed;
    if (account) {
        std::cout << "The characters of account " << *account << " deleted.\n";
    } else {
        std::cout << "Character " << id << " deleted.\n";
    }
    return kDone;
}

void add_list_command(CLI::App* character, const CliOptions& options, int& result,
                      const std::string& name, CharList list, const std::string& entry) {
    auto id = std::make_shared<std::string>();
    auto command = std::make_shared<ListCommand>();
    command->list = list;
    CLI::App* sub = character->add_subcommand(
        name, "add " + entry + " | edit INDEX " + entry +
                  " | delete INDEX (asks \"Are you "
                  "sure?\": answer with --yes); INDEX counts the list's lines from 0");
    sub->add_option("ID", *id, "The character id")->transform(decimal(0, kHighestId))->required();
    sub->add_option("ACTION", command->action, "add, edit or delete")
        ->check(CLI::IsMember({"add", "edit", "delete"}))
        ->required();
    sub->add_option("ARGS", command->args, "INDEX and " + entry);
    const std::size_t entry_args = list == CharList::Skills ? 2 : 1;
    sub->callback([&options, &result, id, command, entry_args, entry] {
        const std::size_t wanted =
            (command->action == "add" ? 0 : 1) + (command->action == "delete" ? 0 : entry_args);
        if (command->args.size() != wanted) {
            std::cerr << command->action << " takes "
                      << (command->action == "add"    ? entry
                          : command->action == "edit" ? "INDEX " + entry
                                                      : std::string("INDEX"))
                      << "\n";
            result = kUsage;
            return;
        }
        run_command(options, result,
                    [id, command](Session& s) { return edit_list(s, *id, *command); });
    });
}

}  // namespace

void add_character_edit_commands(CLI::App* character, CLI::App* chars, const CliOptions& options,
                                 int& result) {
    auto set_id = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    CLI::App* set = character->add_subcommand(
        "set", std::string("Change fields as \"Edit Basic Character Info\" does: ") + kFieldNames +
                   "; then the character is saved");
    set->add_option("ID", *set_id, "The character id")
        ->transform(decimal(0, kHighestId))
        ->required();
    set->add_option("FIELD=VALUE", *assignments, "The fields to change")->required();
    set->callback([&options, &result, set_id, assignments] {
        auto changes = std::make_shared<std::vector<Assignment>>();
        for (const std::string& text : *assignments) {
            const std::optional<Assignment> a = parse_assignment(text);
            if (!a) {
                result = kUsage;
                return;
            }
            changes->push_back(*a);
        }
        run_command(options, result,
                    [set_id, changes](Session& s) { return set_character(s, *set_id, *changes); });
    });

    add_list_command(character, options, result, "memo", CharList::Memo, "MAP,X,Y");
    add_list_command(character, options, result, "skill", CharList::Skills, "SKILL LEVEL");
    add_list_command(character, options, result, "var", CharList::Quest, "NAME,VALUE");

    auto delete_id = std::make_shared<std::string>();
    CLI::App* remove = character->add_subcommand(
        "delete",
        "Delete a character with its party and guild places, pets (eggs included) and friend "
        "lists, at once (asks \"Are you sure?\": answer with --yes)");
    remove->add_option("ID", *delete_id, "The character id")
        ->transform(decimal(0, kHighestId))
        ->required();
    remove->callback([&options, &result, delete_id] {
        run_command(options, result, [delete_id](Session& s) {
            return delete_characters(s, *delete_id, std::nullopt);
        });
    });

    auto account = std::make_shared<std::int32_t>(0);
    CLI::App* remove_all = chars->add_subcommand(
        "delete",
        "Delete every character of an account, as \"Del All Chars\" does, with their party and "
        "guild places, pets and friend lists (asks \"Are you sure?\": answer with --yes)");
    add_id_option(remove_all, "ACCOUNT", *account, "The account id")->required();
    remove_all->callback([&options, &result, account] {
        run_command(options, result,
                    [account](Session& s) { return delete_characters(s, {}, *account); });
    });
}

}  // namespace tavo::cli
