#pragma once
// "Export to SQL…": the choices of the dialog (the file, the schema), what it offers, and the
// texts it shows. An export the check stops lists why and then offers "Export Anyway", which
// leaves those records out and names them.

#include <string>
#include <vector>

#include "export/sql_report.h"

namespace tavo {

struct AppContext;
class Ui;

// The buttons of the dialog.
enum class ExportSqlButton { Export, ExportAnyway };

class ExportSqlPage {
public:
    enum class Mode { Choosing, Refused, Exported, Failed };
    struct SchemaEntry {
        SqlEra era;
        std::string text;
    };

    explicit ExportSqlPage(const AppContext& app);

    static const char* title() { return "Export to SQL"; }
    const std::vector<SchemaEntry>& schemas() const { return schemas_; }
    SqlEra schema() const { return era_; }
    void choose_schema(SqlEra era);

    // The .sql file; a new choice starts over from Choosing.
    const std::string& file() const { return file_; }
    void set_file(std::string path);
    // The name the file chooser starts with: beside the server folder, named by the schema.
    std::string suggested_file() const;
    // What the file chooser lists.
    static const char* file_filter() { return "SQL files (*.sql);;All files (*)"; }

    Mode mode() const { return mode_; }
    std::string caption(ExportSqlButton button) const;
    // "Export" once a file is chosen; "Export Anyway" after a refusal only.
    bool offered(ExportSqlButton button) const;

    // Checks the server folder and writes the file, with the progress window. "Export" is
    // refused when the check finds what the schema cannot hold; "Export Anyway" leaves those
    // records out. A button not offered does nothing.
    Mode press(ExportSqlButton button, Ui& ui);
    // The last outcome in words: rows per table and what was left out, or why nothing was
    // written.
    const std::string& summary() const { return summary_; }
    // The report of the last export or refusal.
    const SqlExportReport& report() const { return report_; }
    // The hint under the choices.
    std::string hint() const;

private:
    const AppContext& app_;
    std::vector<SchemaEntry> schemas_;
    SqlEra era_ = SqlEra::Y2004;
    std::string file_;
    Mode mode_ = Mode::Choosing;
    std::string summary_;
    SqlExportReport report_;
};

}  // namespace tavo
