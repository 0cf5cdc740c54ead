#include <iostream>

#include "cli/cli.h"

namespace tavo::cli {
namespace {

int postfix_cards(const CardTable& cards) {
    int count = 0;
    for (const CardNameEntry& card : cards.entries()) count += card.postfix;
    return count;
}

}  // namespace

void add_info_command(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* info = app.add_subcommand("info", "The settings in force (the Options/About page)");
    info->callback([&options, &result] {
        Session session(options);
        if (!session.start(kProgramLists | kItemTables)) {
            result = kFailed;
            return;
        }
        const AppSettings& s = session.ws.app.settings;
        const RefData& ref = session.ws.ref;
        if (options.json) {
            print_json({{"data_folder", s.data_folder},
                        {"maxblvl", s.maxblvl},
                        {"maxjlvl", s.maxjlvl},
                        {"maxzeny", s.maxzeny},
                        {"maxstpoint", s.maxstpoint},
                        {"maxskpoint", s.maxskpoint},
                        {"maxitemcount", s.maxitemcount},
                        {"maxinventory", s.maxinventory},
                        {"maxstorage", s.maxstorage},
                        {"max_parameter", session.ws.ref.limits.max_parameter},
                        {"max_cart_weight", session.ws.ref.limits.max_cart_weight},
                        {"tables",
                         {{"items", ref.items.count()},
                          {"card_names", ref.cards.count()},
                          {"postfix_cards", postfix_cards(ref.cards)},
                          {"job_classes", ref.jobs.count},
                          {"skills", ref.skills.count},
                          {"maps", ref.maps.size()}}}});
        } else {
            std::cout << lf_lines(session.ws.about);
            std::cout << "\nTables loaded:\n"
                      << "Items : " << ref.items.count() << "\n"
                      << "Card names : " << ref.cards.count() << " (" << postfix_cards(ref.cards)
                      << " postfix)\n"
                      << "Job classes : " << ref.jobs.count << "\n"
                      << "Skills : " << ref.skills.count << "\n"
                      << "Maps : " << ref.maps.size() << "\n";
        }
        result = kDone;
    });
}

}  // namespace tavo::cli
