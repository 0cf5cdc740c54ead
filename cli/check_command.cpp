// tavo-cli check: every problem of the server folder with its file, line and a plain sentence;
// --fix mends the ones with one right answer after one question.

#include <iostream>
#include <memory>

#include "check/server_check.h"
#include "cli/cli.h"

namespace tavo::cli {
namespace {

nlohmann::json report_json(const CheckReport& report, std::size_t repaired) {
    nlohmann::json list = nlohmann::json::array();
    for (const Finding& f : report.findings) {
        nlohmann::json item = {{"file", utf8(f.file)},
                               {"line", f.line},
                               {"kind", std::string(kind_code(f.kind))},
                               {"problem", std::string(problem_code(f.problem))},
                               {"text", utf8(f.text)}};
        if (f.repair) item["repair"] = utf8(f.repair->what);
        if (f.repair && !f.repair->removes.empty()) item["removes"] = f.repair->removes;
        list.push_back(std::move(item));
    }
    const std::size_t problems = report.problems();
    return {{"problems", list},
            {"count", problems},
            {"notes", report.findings.size() - problems},
            {"repaired", repaired}};
}

void print_report(const CheckReport& report) {
    for (const Finding& f : report.findings) std::cout << finding_text(f) << '\n';
}

void run_check(const CliOptions& options, bool fix, int& result) {
    Session session(options);
    if (!session.start(kSettingsOnly) || session.ui.declined()) {
        result = kFailed;
        return;
    }
    const AppContext& app = session.ws.app;
    CheckReport report = check_server(app);
    std::size_t repaired = 0;
    bool printed = false;
    if (fix && report.repairable() > 0) {
        if (!options.json) print_report(report);
        printed = true;
        repaired = repair_server(app, session.ui, report);
        if (session.ui.declined()) {
            result = kFailed;
            return;
        }
        if (repaired > 0) {
            if (!options.json) std::cout << "Repaired: " << repaired << ". Checked again:\n";
            report = check_server(app);
            printed = false;
        }
    }
    if (options.json) {
        print_json(report_json(report, repaired));
    } else {
        if (!printed) print_report(report);
        const std::size_t notes = report.findings.size() - report.problems();
        std::cerr << report.problems() << " problem(s) found"
                  << (notes > 0 ? ", " + std::to_string(notes) + " note(s)" : std::string())
                  << ".\n";
    }
    // Notes alone do not fail the check.
    result = report.problems() == 0 ? kDone : kFailed;
}

}  // namespace

void add_check_command(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* check = app.add_subcommand(
        "check",
        "List every problem of the server's files (file:line: sentence, or --json), and notes such "
        "as files left by an interrupted write; exit 1 when any problem was found");
    auto fix = std::make_shared<bool>(false);
    check->add_flag("--fix", *fix,
                    "Repair what has one right answer (a low %newid% counter, a member or a "
                    "store of someone missing), with backups, and remove the files interrupted "
                    "writes left, after one question (--yes)");
    check->callback([&options, &result, fix] { run_check(options, *fix, result); });
}

}  // namespace tavo::cli
