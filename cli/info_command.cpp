#include <iostream>

#include "cli/cli.h"

namespace tavo::cli {

void add_info_command(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* info = app.add_subcommand("info", "The settings in force (the Options/About page)");
    info->callback([&options, &result] {
        Session session(options);
        if (!session.start()) {
            result = kFailed;
            return;
        }
        const AppSettings& s = session.ws.app.settings;
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
                        {"max_cart_weight", session.ws.ref.limits.max_cart_weight}});
        } else {
            std::string text = session.ws.about;
            for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
                text.replace(at, 2, "\n");
            }
            std::cout << text;
        }
        result = kDone;
    });
}

}  // namespace tavo::cli
