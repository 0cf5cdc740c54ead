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
    bool export_offered() const { return !file_.empty(); }
    bool export_anyway_offered() const { return mode_ == Mode::Refused; }

    // Checks the server folder and writes the file, with the progress window. Refused when the
    // check finds what the schema cannot hold, unless `anyway`.
    Mode press_export(Ui& ui, bool anyway = false);
    // The last outcome in words: rows per table and what was left out, or why nothing was
    // written.
    const std::string& summary() const { return summary_; }
    // The hint under the choices.
    std::string hint() const;

private:
    const AppContext& app_;
    std::vector<SchemaEntry> schemas_;
    SqlEra era_ = SqlEra::Y2004;
    std::string file_;
    Mode mode_ = Mode::Choosing;
    std::string summary_;
};

}  // namespace tavo
