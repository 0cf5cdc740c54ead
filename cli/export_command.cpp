// tavo-cli export-sql: the server folder into an eAthena SQL schema, as a .sql file for the
// `mariadb` client or straight into a server on this machine.

#include <iostream>
#include <memory>

#include "app/failure.h"
#include "check/server_check.h"
#include "cli/cli.h"
#include "export/sql_export.h"
#include "pages/export_sql_page.h"
#ifdef TAVO_HAVE_MARIADB
#include "export/mariadb_sink.h"
#endif

namespace tavo::cli {
namespace {

struct ExportArgs {
    std::string schema = "2004";
    std::string out;
    std::string into;
    std::string database;
    std::string user;
    bool force = false;
};

nlohmann::json report_json(const SqlExportReport& report) {
    nlohmann::json rows = nlohmann::json::object();
    for (const auto& [table, count] : report.rows) rows[table] = count;
    nlohmann::json skipped = nlohmann::json::array();
    for (const std::string& s : report.skipped) skipped.push_back(utf8(s));
    nlohmann::json changed = nlohmann::json::array();
    for (const std::string& s : report.changed) changed.push_back(utf8(s));
    nlohmann::json blocking = nlohmann::json::array();
    for (const Finding& f : report.blocking) blocking.push_back(utf8(finding_text(f)));
    return {{"refused", report.refused},
            {"rows", rows},
            {"skipped", skipped},
            {"changed", changed},
            {"blocking", blocking}};
}

void print(const CliOptions& options, const SqlExportReport& report) {
    if (options.json) {
        print_json(report_json(report));
    } else {
        (report.refused ? std::cerr : std::cout) << export_summary(report);
    }
}

// --out is the "Export to SQL" page, pressed as the window presses it.
int export_to_file(Session& session, const ExportArgs& args, bool force) {
    ExportSqlPage page(session.ws.app);
    page.choose_schema(*sql_era_named(args.schema));
    page.set_file(args.out);
    const auto button = force ? ExportSqlButton::ExportAnyway : ExportSqlButton::Export;
    // "Export Anyway" is offered once "Export" was refused.
    if (page.press(ExportSqlButton::Export, session.ui) == ExportSqlPage::Mode::Refused &&
        button == ExportSqlButton::ExportAnyway) {
        page.press(button, session.ui);
    }
    if (page.mode() == ExportSqlPage::Mode::Failed) return kFailed;
    print(session.options, page.report());
    return page.mode() == ExportSqlPage::Mode::Exported ? kDone : kFailed;
}

int run_export(Session& session, const ExportArgs& args) {
    const bool force = args.force || session.options.force;
    if (!args.out.empty()) return export_to_file(session, args, force);
#ifdef TAVO_HAVE_MARIADB
    const AppContext& app = session.ws.app;
    SqlExportOptions options;
    options.era = *sql_era_named(args.schema);
    options.force = force;
    const CheckReport check = check_server(app);
    if (const auto refused = refused_export(check, options.force)) {
        print(session.options, *refused);
        return kFailed;
    }
    SqlExportReport report;
    const bool done = guarded(session.ui, "export_sql", [&] {
        MariadbSink server(args.into, args.database, args.user);
        try {
            report = export_sql(app, check, options, server);
        } catch (...) {
            server.drop_created_tables();
            throw;
        }
    });
    if (!done) return kFailed;
    print(session.options, report);
    return kDone;
#else
    std::cerr << "This tavo-cli was built without MariaDB's connector (libmariadb-dev): write "
                 "a file with --out and load it with the mariadb client.\n";
    return kFailed;
#endif
}

}  // namespace

void add_export_command(CLI::App& app, const CliOptions& options, int& result) {
    auto args = std::make_shared<ExportArgs>();
    CLI::App* command = app.add_subcommand(
        "export-sql",
        "Write every record of the server folder into an eAthena SQL schema (latin1), as a .sql "
        "file or into a MariaDB server through its unix socket; refused while the check finds "
        "what the schema cannot hold, unless --force");
    command
        ->add_option("--schema", args->schema, "The schema: 2004 (same era as the files) or 2013")
        ->check(CLI::IsMember({"2004", "2013"}));
    auto* out = command->add_option("--out", args->out, "The .sql file to write");
    auto* into = command->add_option("--into", args->into,
                                     "The unix socket of a MariaDB server to write into");
    out->excludes(into);
    auto* database = command->add_option("--database", args->database,
                                         "The database --into writes into (made in latin1 when "
                                         "missing; its tables must not exist yet)");
    into->needs(database);
    database->needs(into);
    command
        ->add_option("--user", args->user,
                     "The MariaDB user for --into (default: the login name, by socket)")
        ->needs(into);
    command->add_flag("--force", args->force,
                      "Export although the check found records the schema cannot hold, leaving "
                      "them out and naming them");
    command->callback([&options, &result, args] {
        if (args->out.empty() && args->into.empty()) {
            std::cerr << "export-sql needs --out FILE.sql or --into SOCKET --database NAME.\n";
            result = kUsage;
            return;
        }
        Session session(options);
        if (!session.start(false) || session.ui.declined()) {
            result = kFailed;
            return;
        }
        result = run_export(session, *args);
    });
}

}  // namespace tavo::cli
