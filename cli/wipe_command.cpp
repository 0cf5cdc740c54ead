// tavo-cli wipe full|users|chars|items: the "Server Wipe" dialog's four wipes, their boxes as
// options, driven through the dialog's page. --dry-run reports what would go and writes nothing;
// otherwise the dialog's question needs --yes.

#include <iostream>
#include <map>
#include <memory>

#include "cli/cli.h"
#include "pages/wipe_page.h"

namespace tavo::cli {
namespace {

struct WipeOptions {
    bool dry_run = false;
    bool include_gm = false;
    std::string not_since;
    std::string ip;
    std::vector<std::string> families;
    std::map<ItemBox, bool> items;
    std::string zeny;
};

const std::map<std::string, WipeFamily>& family_names() {
    static const std::map<std::string, WipeFamily> names{
        {"novice", WipeFamily::Novice},    {"swordman", WipeFamily::Swordman},
        {"acolyte", WipeFamily::Acolyte},  {"mage", WipeFamily::Mage},
        {"archer", WipeFamily::Archer},    {"thief", WipeFamily::Thief},
        {"merchant", WipeFamily::Merchant}};
    return names;
}

nlohmann::json plan_json(const WipePlan& plan) {
    return {{"accounts", plan.accounts},
            {"characters", plan.characters},
            {"stores", plan.stores},
            {"account_count", plan.accounts.size()},
            {"character_count", plan.characters.size()},
            {"store_count", plan.stores.size()},
            {"changed_characters", plan.changed_characters}};
}

void print_ids(const char* what, const std::vector<std::int32_t>& ids) {
    std::cout << what << ":";
    for (const std::int32_t id : ids) std::cout << ' ' << id;
    std::cout << '\n';
}

// The boxes and texts of the frame as the options set them; false (said) for a value the
// dialog's boxes would not take.
bool fill_page(Session& s, WipePage& page, WipeFrame frame, const WipeOptions& o) {
    switch (frame) {
        case WipeFrame::Users:
            page.set_box(frame, static_cast<int>(UserBox::SpareGm), !o.include_gm);
            page.set_box(frame, static_cast<int>(UserBox::NotSince), !o.not_since.empty());
            page.set_box(frame, static_cast<int>(UserBox::Ip), !o.ip.empty());
            // The dialog wants a date in its box even when only the IP rule is on; without
            // --not-since the box holds one that no rule reads.
            if (!page.set_text(WipeText::Date, o.not_since.empty() ? "1970-01-01" : o.not_since) ||
                (!o.ip.empty() && !page.set_text(WipeText::Ip, o.ip))) {
                s.ui.message("--not-since takes yyyy-mm-dd and --ip digits and dots.", "Tavo",
                             Icon::None);
                return false;
            }
            return true;
        case WipeFrame::Chars:
            page.set_box(frame, 0, !o.include_gm);
            for (int i = 0; i < kWipeFamilyCount; ++i) page.set_box(frame, i + 1, false);
            for (const std::string& name : o.families) {
                page.set_box(frame, static_cast<int>(family_names().at(name)) + 1, true);
            }
            return true;
        case WipeFrame::Items:
            for (int i = 0; i < kItemBoxCount; ++i) page.set_box(frame, i, false);
            page.set_box(frame, static_cast<int>(ItemBox::SpareGm), !o.include_gm);
            for (const auto& [box, on] : o.items) page.set_box(frame, static_cast<int>(box), on);
            if (!o.zeny.empty()) {
                page.set_box(frame, static_cast<int>(ItemBox::Zeny), true);
                const std::string signs = "0=-+";
                page.choose_zeny(static_cast<int>(signs.find(o.zeny.front())));
                if (o.zeny != "0" && !page.set_text(WipeText::Amount, o.zeny.substr(1))) {
                    s.ui.message("--zeny takes 0, =A, -A or +A with A in digits.", "Tavo",
                                 Icon::None);
                    return false;
                }
            }
            return true;
        case WipeFrame::Full: return true;
    }
    return true;
}

int run_wipe_command(Session& s, WipeFrame frame, const WipeOptions& o) {
    WipePage page(s.ws, s.ui);
    page.show(frame);
    if (!fill_page(s, page, frame, o)) return kUsage;
    if (o.dry_run) {
        const std::optional<WipePlan> plan = page.plan(frame);
        if (!plan) return kFailed;
        if (s.options.json) {
            nlohmann::json report = plan_json(*plan);
            report["dry_run"] = true;
            print_json(report);
            return kDone;
        }
        print_ids("accounts", plan->accounts);
        print_ids("characters", plan->characters);
        print_ids("stores", plan->stores);
        std::cout << "Dry run, nothing was written: " << deleted_counts(*plan) << '\n';
        if (frame == WipeFrame::Items) {
            std::cout << plan->changed_characters << " characters will be changed.\n";
        }
        return kDone;
    }
    if (!page.press_wipe(frame).wiped) return kFailed;
    if (s.options.json) {
        nlohmann::json report = plan_json(page.last_plan());
        report["dry_run"] = false;
        report["files"] = page.last_done().files;
        report["backup"] = page.last_done().backup_folder.string();
        print_json(report);
    }
    return kDone;
}

CLI::App* add_wipe(CLI::App* wipe, const std::string& name, const std::string& description,
                   WipeOptions& o, bool gm) {
    CLI::App* sub = wipe->add_subcommand(name, description);
    sub->add_flag("--dry-run", o.dry_run,
                  "Report what would go (accounts, characters and stores by id, and the counts) "
                  "and write nothing");
    if (gm) sub->add_flag("--include-gm", o.include_gm, "Wipe GM accounts too (the GM box clear)");
    return sub;
}

}  // namespace

void add_wipe_command(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* wipe = app.add_subcommand(
        "wipe",
        "The server wipes of the \"Server Wipe\" dialog, each file rewritten once after a copy "
        "into save/backup-YYYYMMDD-HHMMSS/ (the question needs --yes)");
    wipe->require_subcommand(1);
    auto o = std::make_shared<WipeOptions>();
    const auto run = [&options, &result, o](WipeFrame frame) {
        run_command(options, result,
                    [o, frame](Session& s) { return run_wipe_command(s, frame, *o); });
    };

    add_wipe(wipe, "full", "Empty every save file and reset the castle table", *o, false)
        ->callback([run] { run(WipeFrame::Full); });

    CLI::App* users =
        add_wipe(wipe, "users",
                 "Delete idle accounts, or those of an IP, with everything they hold", *o, true);
    users->add_option("--not-since", o->not_since, "Accounts not logged in since yyyy-mm-dd");
    users->add_option("--ip", o->ip, "Accounts whose last login came from this IP address");
    users->callback([run, o, &result] {
        if (o->not_since.empty() && o->ip.empty()) {
            std::cerr << "wipe users takes --not-since DATE, --ip IP or both\n";
            result = kUsage;
            return;
        }
        run(WipeFrame::Users);
    });

    CLI::App* chars = add_wipe(wipe, "chars", "Delete characters by job family", *o, true);
    std::vector<std::string> names;
    for (const auto& entry : family_names()) names.push_back(entry.first);
    chars
        ->add_option("--family", o->families,
                     "novice, swordman, acolyte, mage, archer, thief, merchant")
        ->check(CLI::IsMember(names))
        ->required();
    chars->callback([run] { run(WipeFrame::Chars); });

    CLI::App* items =
        add_wipe(wipe, "items",
                 "Clear inventories, carts, stores, memo points, skills or variables, "
                 "change zeny",
                 *o, true);
    const std::pair<const char*, ItemBox> flags[] = {{"--inventory", ItemBox::Inventory},
                                                     {"--cart", ItemBox::Cart},
                                                     {"--storage", ItemBox::Storage},
                                                     {"--guild-storage", ItemBox::GuildStorage},
                                                     {"--memo", ItemBox::Memo},
                                                     {"--skills", ItemBox::Skills},
                                                     {"--vars", ItemBox::Vars}};
    for (const auto& [flag, box] : flags) {
        items->add_flag_callback(
            flag, [o, item = box] { o->items[item] = true; }, "Wipe these");
    }
    items->add_option("--zeny", o->zeny, "0, =A (at most maxzeny), -A (at least 0) or +A")
        ->check([](const std::string& text) -> std::string {
            if (text == "0") return {};
            if (text.size() < 2 || std::string("=-+").find(text.front()) == std::string::npos ||
                text.find_first_not_of("0123456789", 1) != std::string::npos) {
                return "0, =A, -A or +A with A in digits, not " + text;
            }
            return {};
        });
    items->callback([run, o, &result] {
        if (o->items.empty() && o->zeny.empty()) {
            std::cerr << "wipe items takes at least one of --inventory --cart --storage "
                         "--guild-storage --memo --skills --vars --zeny\n";
            result = kUsage;
            return;
        }
        run(WipeFrame::Items);
    });
}

}  // namespace tavo::cli
