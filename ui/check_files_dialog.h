#pragma once
// "Check Files": the problems of the server folder, as `tavo-cli check` lists them, and below
// them the notes, in a window whose lines can be selected and copied.

#include <QDialog>
#include <functional>

#include "check/check_findings.h"
#include "check/finding_target.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tavo {
struct AppContext;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class CheckFilesDialog : public QDialog {
    Q_OBJECT
public:
    // "Fix…" asks its question and gives its messages through `ui`; a double-click on a
    // finding hands its account, character or store to `choose`.
    CheckFilesDialog(const AppContext& app, Ui& ui,
                     std::function<void(const FindingTarget&)> choose, QWidget* parent = nullptr);

    // Checks the server folder anew and shows what was found.
    void check();
    // "Fix…": the repairs `tavo-cli check --fix` makes, after its question; then checks again.
    void fix();
    // A double-click on line `line` of the problems (or of the notes).
    void finding_chosen(int line, bool notes);

    QPushButton* fix_button() const { return fix_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* finding_list(const QString& name);
    void render();

    const AppContext& app_;
    Ui& ui_;
    std::function<void(const FindingTarget&)> choose_;
    CheckReport report_;
    std::vector<const Finding*> problem_lines_;
    std::vector<const Finding*> note_lines_;
    QPushButton* fix_ = nullptr;

    QLabel* summary_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;
    QLabel* notes_caption_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

}  // namespace tavo::ui
