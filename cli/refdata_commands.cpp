// tavo-cli listings of the reference tables: items, jobs, skills, maps.

#include <cstdio>
#include <iostream>

#include "app/text.h"
#include "cli/cli.h"
#include "refdata/skills.h"

namespace tavo::cli {
namespace {

struct ItemFilter {
    std::string find;
    int type = -1;

    bool passes(const ItemDbEntry& item) const {
        if (type >= 0 && item.type != type) return false;
        if (find.empty()) return true;
        const std::string wanted = to_lower(find);
        return contains(to_lower(item.name), wanted) ||
               contains(to_lower(item.list_name), wanted) || std::to_string(item.id) == find;
    }
};

void print_items(const Session& session, const ItemFilter& filter) {
    nlohmann::json rows = nlohmann::json::array();
    if (!session.options.json) {
        std::printf("%6s %5s %5s %7s %10s  %s\n", "ID", "TYPE", "SLOTS", "WEIGHT", "LOCATIONS",
                    "NAME");
    }
    for (const ItemDbEntry& item : session.ws.ref.items.entries()) {
        if (!filter.passes(item)) continue;
        if (session.options.json) {
            rows.push_back({{"id", item.id},
                            {"list_name", utf8(item.list_name)},
                            {"name", utf8(item.name)},
                            {"type", item.type},
                            {"slots", item.slot_count},
                            {"weight", item.weight},
                            {"equip_locations", item.equip_locations}});
        } else {
            std::printf("%6d %5d %5d %7d %10d  %s\n", item.id, item.type, item.slot_count,
                        item.weight, item.equip_locations, item.name.c_str());
        }
    }
    if (session.options.json) print_json(rows);
}

void print_jobs(const Session& session) {
    const JobClassTable& jobs = session.ws.ref.jobs;
    nlohmann::json rows = nlohmann::json::array();
    if (!session.options.json) std::printf("%6s %11s  %s\n", "ID", "BASE WEIGHT", "NAME");
    for (int k = 0; k < jobs.count; ++k) {
        const JobClassEntry& job = jobs.entries[k];
        if (session.options.json) {
            rows.push_back(
                {{"id", job.id}, {"name", utf8(job.name)}, {"base_weight", job.base_weight}});
        } else {
            std::printf("%6d %11d  %s\n", job.id, job.base_weight, job.name.c_str());
        }
    }
    if (session.options.json) print_json(rows);
}

void print_skills(const Session& session, const std::vector<int>& table_index) {
    nlohmann::json rows = nlohmann::json::array();
    if (!session.options.json) std::printf("%6s %9s  %s\n", "ID", "MAX LEVEL", "NAME");
    for (const int index : table_index) {
        const SkillEntry& skill = session.ws.ref.skills.entries[index];
        if (session.options.json) {
            rows.push_back(
                {{"id", skill.id}, {"name", utf8(skill.name)}, {"max_level", skill.max_level}});
        } else {
            std::printf("%6d %9d  %s\n", skill.id, skill.max_level, skill.name.c_str());
        }
    }
    if (session.options.json) print_json(rows);
}

void print_maps(const Session& session) {
    if (!session.options.json) {
        for (const std::string& map : session.ws.ref.maps) std::cout << map << '\n';
        return;
    }
    nlohmann::json rows = nlohmann::json::array();
    for (const std::string& map : session.ws.ref.maps) rows.push_back(utf8(map));
    print_json(rows);
}

// Runs the start-up with what the command reads and then body; the command fails when no
// server folder was found.
template <class Body>
void run(const CliOptions& options, int& result, unsigned reads, Body&& body) {
    Session session(options);
    if (!session.start(reads)) {
        result = kFailed;
        return;
    }
    result = body(session);
}

}  // namespace

void add_refdata_commands(CLI::App& app, const CliOptions& options, int& result) {
    auto filter = std::make_shared<ItemFilter>();
    CLI::App* items = app.add_subcommand("items", "The item database, sorted by name");
    items->add_option("--find", filter->find, "Only items whose name holds TEXT (or id TEXT)");
    items
        ->add_option("--type", filter->type,
                     "Only items of this type (0 healing, 2 usable, "
                     "3 loot, 4 weapon, 5 armor, 6 card, 7 egg, ...)")
        ->transform(decimal(0, 255));
    items->callback([&options, &result, filter] {
        run(options, result, kItemTables, [&](Session& s) {
            print_items(s, *filter);
            return kDone;
        });
    });

    app.add_subcommand("jobs", "The job classes of tavo.ini with their base weights")
        ->callback([&options, &result] {
            run(options, result, kProgramLists, [](Session& s) {
                print_jobs(s);
                return kDone;
            });
        });

    auto class_id = std::make_shared<std::string>();
    CLI::App* skills = app.add_subcommand("skills", "The skills of tavo.ini");
    skills->add_option("--class", *class_id, "Only the skills of this job class (class-skill.txt)")
        ->transform(decimal(0, kHighestId));
    skills->callback([&options, &result, class_id] {
        run(options, result, kProgramLists, [&](Session& s) {
            std::vector<int> table_index;
            if (class_id->empty()) {
                for (int i = 0; i < s.ws.ref.skills.count; ++i) table_index.push_back(i);
            } else {
                const ClassSkills chosen =
                    skills_of_class(s.ws.app, s.ui, s.ws.ref.skills, *class_id);
                if (!chosen.available) return static_cast<int>(kFailed);
                table_index = chosen.table_index;
            }
            print_skills(s, table_index);
            return static_cast<int>(kDone);
        });
    });

    app.add_subcommand("maps", "The map list of tavo.ini")->callback([&options, &result] {
        run(options, result, kProgramLists, [](Session& s) {
            print_maps(s);
            return kDone;
        });
    });
}

}  // namespace tavo::cli
