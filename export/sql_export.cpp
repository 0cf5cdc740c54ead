#include "export/sql_export.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "app/failure.h"
#include "app/run_together.h"
#include "check/check_world.h"
#include "check/server_check.h"
#include "export/export_run.h"
#include "export/sql_text.h"

namespace tavo {
namespace {

// The statements before the rows: the session as the rows need it, and the tables.
void begin_export(sqlx::ExportRun& run) {
    run.sink.execute("SET NAMES latin1");
    // Strict for every engine, so that nothing is cut silently; 0 is an id, not "the next id";
    // backslashes escape.
    run.sink.execute(
        "SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_AUTO_VALUE_ON_ZERO,NO_ENGINE_SUBSTITUTION'");
    run.sink.execute("ALTER DATABASE CHARACTER SET latin1 COLLATE latin1_swedish_ci");
    std::string lock = "LOCK TABLES ";
    bool first = true;
    for (const SqlTable& t : sql_tables(run.era)) {
        run.sink.execute(t.create);
        if (!t.filled) continue;
        run.sink.execute("ALTER TABLE `" + t.name + "` DISABLE KEYS");
        lock.append(first ? "`" : ", `").append(t.name).append("` WRITE");
        first = false;
    }
    run.sink.execute(lock);
}

void end_export(sqlx::ExportRun& run) {
    run.flush_all();
    run.sink.execute("UNLOCK TABLES");
    for (const SqlTable& t : sql_tables(run.era)) {
        if (t.filled) run.sink.execute("ALTER TABLE `" + t.name + "` ENABLE KEYS");
    }
    // The next ids the files promise; MariaDB ignores a value not above the highest id.
    if (run.next_account > 0) {
        run.sink.execute("ALTER TABLE `login` AUTO_INCREMENT = " +
                         std::to_string(run.next_account));
    }
    if (run.next_char > 0 && run.era == SqlEra::Y2013) {
        run.sink.execute("ALTER TABLE `char` AUTO_INCREMENT = " + std::to_string(run.next_char));
    }
}

// The rows of every file into the sink, the records of report.blocking left out.
void export_rows(const AppContext& app, const SqlExportOptions& options, SqlSink& sink,
                 SqlExportReport& report, const ExportProgress& progress) {
    sqlx::ExportRun run(app, options, sink, report, progress);
    begin_export(run);
    sqlx::export_accounts(run);
    sqlx::export_account_registers(run);
    sqlx::export_characters(run);
    sqlx::export_stores(run);
    sqlx::export_pets(run);
    sqlx::export_parties(run);
    sqlx::export_guilds(run);
    sqlx::export_guild_stores(run);
    sqlx::export_castles(run);
    sqlx::export_friends(run);
    if (options.era == SqlEra::Y2013) sqlx::export_map_registers(run);
    end_export(run);
    for (const SqlTable& t : sql_tables(options.era)) {
        if (t.filled) report.rows.emplace_back(t.name, run.table(t.name).rows());
    }
}

// What the check adds to the report of an export it let through: the problems the rows carry as
// they are, and the GM levels written otherwise, before the changes the rows name.
void add_check_notes(SqlExportReport& report, const CheckReport& check) {
    report.carried_problems = check.problems() - report.blocking.size();
    // The schema keeps a GM level in the account's row: a level for an account not made yet
    // has nowhere to go, and one above 99 goes in as the 99 the server takes.
    std::vector<std::string> levels;
    for (const Finding& f : check.findings) {
        if (f.problem == Problem::GmWithoutAccount) {
            levels.push_back(finding_text(f) + " The level is not carried.");
        } else if (f.problem == Problem::GmLevelAbove99) {
            levels.push_back(finding_text(f) + " It is written as 99.");
        }
    }
    report.changed.insert(report.changed.begin(), levels.begin(), levels.end());
}

}  // namespace

std::vector<Finding> findings_sql_cannot_hold(const CheckReport& check) {
    std::vector<Finding> found;
    for (const Finding& f : check.findings) {
        switch (f.problem) {
            case Problem::UnreadableLine:
            case Problem::DuplicateAccountId:
            case Problem::DuplicateCharId:
            case Problem::DuplicateCharName:
            case Problem::DuplicateStore:
            case Problem::CharacterWithoutAccount:
            case Problem::StoreWithoutAccount:
            case Problem::MemberWithoutCharacter:
            case Problem::PetWithoutOwner:
            case Problem::CastleWithoutGuild:
            case Problem::FriendWithoutCharacter:
            case Problem::RegistersWithoutAccount: found.push_back(f); break;
            default: break;
        }
    }
    return found;
}

std::optional<SqlExportReport> refused_export(const CheckReport& check, bool force) {
    SqlExportReport report;
    report.blocking = findings_sql_cannot_hold(check);
    if (report.blocking.empty() || force) return std::nullopt;
    report.refused = true;
    return report;
}

SqlExportReport export_sql(const AppContext& app, const CheckReport& check,
                           const SqlExportOptions& options, SqlSink& sink,
                           const ExportProgress& progress) {
    if (auto refused = refused_export(check, options.force)) return std::move(*refused);
    SqlExportReport report;
    report.blocking = findings_sql_cannot_hold(check);
    for (const Finding& f : report.blocking) {
        report.skipped.push_back(finding_text(f));
    }
    export_rows(app, options, sink, report, progress);
    add_check_notes(report, check);
    return report;
}

SqlExportReport check_and_export_sql(const AppContext& app, const SqlExportOptions& options,
                                     SqlSink& sink, const ExportProgress& progress) {
    if (options.force) return export_sql(app, check_server(app), options, sink, progress);
    CheckReport check;
    std::exception_ptr check_failed;
    std::atomic<bool> stop{false};
    SqlExportOptions hopeful = options;
    hopeful.stop = &stop;
    std::exception_ptr export_failed;
    SqlExportReport report;
    run_together(
        [&] {
            try {
                check = check_server(app);
                if (refused_export(check, false)) stop = true;
            } catch (...) {
                check_failed = std::current_exception();
                stop = true;
            }
        },
        [&] {
            try {
                export_rows(app, hopeful, sink, report, progress);
            } catch (const ExportStopped&) {
            } catch (...) {
                export_failed = std::current_exception();
            }
        });
    // As when the check runs first: its failure or its refusal is the answer.
    if (check_failed) std::rethrow_exception(check_failed);
    // The sink then holds rows of records the check keeps back: the caller drops it.
    if (auto refused = refused_export(check, false)) return std::move(*refused);
    if (export_failed) std::rethrow_exception(export_failed);
    add_check_notes(report, check);
    return report;
}

std::string export_summary(const SqlExportReport& report) {
    std::string text;
    if (report.refused) {
        text = "Nothing was exported: the check found " + std::to_string(report.blocking.size()) +
               " problem(s) the SQL schema cannot hold.\nMend them (tavo-cli check --fix mends "
               "some), or export anyway, which leaves these records out:\n";
        for (const Finding& f : report.blocking) text += finding_text(f) + "\n";
        return text;
    }
    text = "Rows written:\n";
    for (const auto& [table, rows] : report.rows) {
        text += "  " + table + ": " + sqlx::with_commas(rows) + "\n";
    }
    if (!report.skipped.empty()) {
        text += "Left out (" + std::to_string(report.skipped.size()) + "):\n";
        for (const std::string& s : report.skipped) text += "  " + s + "\n";
    }
    if (!report.changed.empty()) {
        text += "Written otherwise (" + std::to_string(report.changed.size()) + "):\n";
        for (const std::string& s : report.changed) text += "  " + s + "\n";
    }
    if (report.carried_problems > 0) {
        text += std::to_string(report.carried_problems) +
                " other problem(s) of the check went across as the files hold them "
                "(tavo-cli check lists them).\n";
    }
    return text;
}

}  // namespace tavo
