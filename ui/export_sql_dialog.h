#pragma once
// "Export to SQL…": renders the export page (file, schema, summary) and forwards the presses.

#include <QDialog>

#include "pages/export_sql_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavo {
struct AppContext;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class ExportSqlDialog : public QDialog {
    Q_OBJECT
public:
    ExportSqlDialog(const AppContext& app, Ui& ui, QWidget* parent = nullptr);

private:
    void browse_clicked();
    void press(ExportSqlButton button);
    void render();

    ExportSqlPage page_;
    Ui& ui_;
    QLineEdit* file_ = nullptr;
    QComboBox* schema_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* anyway_ = nullptr;
};

}  // namespace tavo::ui
