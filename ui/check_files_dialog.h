#pragma once
// "Check Files": the problems of the server folder, as `tavo-cli check` lists them, and below
// them the notes, in a window whose lines can be selected and copied.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace tavo {
struct AppContext;
}

namespace tavo::ui {

class CheckFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CheckFilesDialog(QWidget* parent = nullptr);

    // Checks the server folder anew and shows what was found.
    void check(const AppContext& app);

private:
    QPlainTextEdit* finding_list(const QString& name);

    QLabel* summary_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;
    QLabel* notes_caption_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

}  // namespace tavo::ui
