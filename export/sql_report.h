#pragma once
// What an export is asked to do and what it reports.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "check/check_findings.h"
#include "export/sql_schema.h"

namespace tavo {

struct SqlExportOptions {
    SqlEra era = SqlEra::Y2004;
    // Export although the check found records the schema cannot hold, leaving them out.
    bool force = false;
    // Set from another thread, it stops the export at its next few thousand lines (ExportStopped).
    const std::atomic<bool>* stop = nullptr;
};

struct ExportStopped {};

struct SqlExportReport {
    // The check's findings the schema cannot hold. Without force nothing was written.
    std::vector<Finding> blocking;
    bool refused = false;
    // What stayed behind: "save/athena.txt:12: Character 150003 (Kaelen): ..." each.
    std::vector<std::string> skipped;
    // Values written otherwise than the files hold them, with why (a memo text into the 2004
    // schema's number column).
    std::vector<std::string> changed;
    // Rows written, by table, in the order they were filled.
    std::vector<std::pair<std::string, std::uint64_t>> rows;
    // Problems the check found that the schema holds as they are (see tavo-cli check).
    std::size_t carried_problems = 0;
};

// "Exporting save/athena.txt: 12,000 lines"; called every few thousand lines.
using ExportProgress = std::function<void(const std::string& text)>;

}  // namespace tavo
