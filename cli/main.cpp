#include "cli/cli.h"

namespace tavo::cli {

void add_commands(CLI::App& app, const CliOptions& options, int& result) {
    add_info_command(app, options, result);
    add_refdata_commands(app, options, result);
    add_account_commands(app, options, result);
    add_character_commands(app, options, result);
    add_item_commands(app, options, result);
    add_check_command(app, options, result);
    add_overview_commands(app, options, result);
    add_wipe_command(app, options, result);
    add_batch_command(app, options, result);
}

}  // namespace tavo::cli

int main(int argc, char** argv) {
    using namespace tavo::cli;
    CLI::App app{"tavo-cli: edit the text save files of an eAthena server without a desktop"};
    app.require_subcommand(1);
    CliOptions options;
    app.add_option("--data", options.data, "The server folder (overrides eafolder of tavo.ini)");
    app.add_flag("--yes", options.yes, "Answer Yes to every question");
    app.add_flag("--json", options.json, "Print listings as JSON");
    auto* mine = app.add_flag("--mine", options.mine,
                              "A record changed both here and on disk since it was read: write "
                              "this version");
    app.add_flag("--theirs", options.theirs,
                 "A record changed both here and on disk since it was read: keep the one on disk")
        ->excludes(mine);
    app.add_flag("--drop-excess", options.drop_excess,
                 "A list with more items than maxinventory or maxstorage may be saved without "
                 "those beyond it (they are refused otherwise)");
    app.add_flag("--force", options.force,
                 "Write even while the server answers on its port (it overwrites its files at "
                 "every save)");
    app.add_flag("--quiet", options.quiet, "No start-up note on missing program folder files");
    app.set_version_flag("--version", "tavo-cli " TAVO_VERSION);
    app.fallthrough();

    int result = kDone;
    add_commands(app, options, result);
    // The export reads the files as they are on disk: it is no line of a batch.
    add_export_command(app, options, result);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kDone : kUsage;
    }
    // A step that reported an error fails the run even when the command carried on.
    if (result == kDone && error_reported()) return kFailed;
    return result;
}
