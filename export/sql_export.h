#pragma once
// Moving a text server to SQL: every record of the server folder written into the tables of an
// eAthena SQL schema, in one streaming pass over each file. What the check finds that the schema
// cannot hold (duplicate ids, references to records that do not exist, lines the server cannot
// read) stops the export unless it is forced; forced, exactly those records stay behind and are
// named. A value the schema has no room for is named with its record, never cut silently.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "check/check_findings.h"
#include "export/sql_report.h"
#include "export/sql_rows.h"

namespace tavo {

struct AppContext;

// The findings of the check that an export cannot carry into the schema.
std::vector<Finding> findings_sql_cannot_hold(const CheckReport& check);

// The report of an export the check stops (it found what the schema cannot hold, and the export
// is not forced), or nothing when the export may go on. Nothing need be opened before.
std::optional<SqlExportReport> refused_export(const CheckReport& check, bool force);

// Writes the whole server folder into the sink: the session settings (latin1,
// NO_AUTO_VALUE_ON_ZERO, strict), the era's tables, the rows and the counters; a refused export
// (refused_export) writes nothing. Fails with a Failure when a file cannot be read or the sink
// fails part-way.
SqlExportReport export_sql(const AppContext& app, const CheckReport& check,
                           const SqlExportOptions& options, SqlSink& sink,
                           const ExportProgress& progress = {});

// The check and the export at once, on two threads: a server the check lets through is exported
// in the time of the longer of the two. When the check finds what the schema cannot hold, the
// export stops there and the refused report comes back; the sink has then been given rows and
// must be dropped (a file not committed). A forced export is checked first, as export_sql.
SqlExportReport check_and_export_sql(const AppContext& app, const SqlExportOptions& options,
                                     SqlSink& sink, const ExportProgress& progress = {});

// The summary the export ends with: rows per table, what stayed behind and what changed.
std::string export_summary(const SqlExportReport& report);

}  // namespace tavo
