#include "pages/export_sql_page.h"

#include "app/failure.h"
#include "app/settings.h"
#include "app/ui.h"
#include "export/sql_export.h"
#include "export/sql_file.h"

namespace tavo {
namespace {

// The progress window for the length of an export, closed on every way out.
class ProgressWindow {
public:
    explicit ProgressWindow(Ui& ui) : ui_(ui) { ui_.progress_show(); }
    ~ProgressWindow() { ui_.progress_close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    void show(const std::string& text) {
        if (ui_.progress_due()) ui_.progress_set(text);
    }

private:
    Ui& ui_;
};

}  // namespace

ExportSqlPage::ExportSqlPage(const AppContext& app)
    : app_(app),
      schemas_{{SqlEra::Y2004, "2004: the SQL server of the same era as the text files"},
               {SqlEra::Y2013, "2013: the last eAthena SQL server (map names without .gat)"}} {}

void ExportSqlPage::choose_schema(SqlEra era) {
    era_ = era;
    mode_ = Mode::Choosing;
}

void ExportSqlPage::set_file(std::string path) {
    file_ = std::move(path);
    mode_ = Mode::Choosing;
}

std::string ExportSqlPage::suggested_file() const {
    std::filesystem::path folder(app_.settings.data_folder);
    if (!folder.has_filename()) folder = folder.parent_path();
    return (folder.parent_path() / ("ragnarok-" + std::string(sql_era_name(era_)) + ".sql"))
        .string();
}

std::string ExportSqlPage::hint() const {
    return "The file creates the schema's tables in a latin1 database: load it with "
           "mariadb DATABASE < FILE.sql";
}

std::string ExportSqlPage::caption(ExportSqlButton button) const {
    return button == ExportSqlButton::Export ? "Export" : "Export Anyway";
}

bool ExportSqlPage::offered(ExportSqlButton button) const {
    if (button == ExportSqlButton::ExportAnyway) return mode_ == Mode::Refused;
    return !file_.empty();
}

ExportSqlPage::Mode ExportSqlPage::press(ExportSqlButton button, Ui& ui) {
    if (!offered(button)) return mode_;
    const bool anyway = button == ExportSqlButton::ExportAnyway;
    ProgressWindow progress(ui);
    progress.show("Checking the server folder");
    SqlExportOptions options;
    options.era = era_;
    options.force = anyway;
    report_ = {};
    const bool written = guarded(ui, "export_sql", [&] {
        SqlFile file(file_, sql_file_header(app_.settings.data_folder, era_));
        report_ = check_and_export_sql(app_, options, file,
                                       [&](const std::string& text) { progress.show(text); });
        if (!report_.refused) file.commit();
    });
    if (!written) {
        summary_ = "Nothing was written to " + file_ + ".";
        return mode_ = Mode::Failed;
    }
    if (report_.refused) {
        summary_ = export_summary(report_);
        return mode_ = Mode::Refused;
    }
    summary_ = "Written to " + file_ + ".\n" + export_summary(report_);
    return mode_ = Mode::Exported;
}

}  // namespace tavo
