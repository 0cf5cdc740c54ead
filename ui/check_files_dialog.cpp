#include "ui/check_files_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings.h"
#include "check/server_check.h"
#include "ui/latin1.h"

namespace tavo::ui {

QPlainTextEdit* CheckFilesDialog::finding_list(const QString& name) {
    auto* list = new QPlainTextEdit(this);
    list->setObjectName(name);
    list->setReadOnly(true);
    list->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return list;
}

CheckFilesDialog::CheckFilesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("CheckFiles");
    setWindowTitle("Check Files");
    summary_ = new QLabel(this);
    summary_->setObjectName("CheckSummary");
    lines_ = finding_list("CheckList");
    notes_caption_ = new QLabel("Notes: worth knowing, harmless to the server", this);
    notes_ = finding_list("CheckNotes");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton("Copy All", QDialogButtonBox::ActionRole);
    copy->setObjectName("CopyAll");
    connect(copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(lines_->toPlainText() + notes_->toPlainText());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(summary_);
    column->addWidget(lines_, 3);
    column->addWidget(notes_caption_);
    column->addWidget(notes_, 1);
    column->addWidget(buttons);
    resize(900, 420);
}

void CheckFilesDialog::check(const AppContext& app) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CheckReport report = check_server(app);
    QApplication::restoreOverrideCursor();
    QString problems;
    QString notes;
    for (const Finding& finding : report.findings) {
        (finding.kind == FindingKind::Note ? notes : problems) += qs(finding_text(finding)) + "\n";
    }
    lines_->setPlainText(problems);
    notes_->setPlainText(notes);
    notes_caption_->setVisible(!notes.isEmpty());
    notes_->setVisible(!notes.isEmpty());
    const QString folder = qs(app.settings.data_folder);
    const std::size_t problem_count = report.problems();
    const std::size_t note_count = report.findings.size() - problem_count;
    const QString found = problem_count == 0 ? QString("No problems")
                                             : QString::number(problem_count) + " problem(s)";
    const QString noted =
        note_count > 0 ? ", " + QString::number(note_count) + " note(s)" : QString();
    const QString advice =
        report.findings.empty() ? QString() : " Select lines and copy them with Ctrl+C.";
    summary_->setText(found + noted + " found in " + folder + "." + advice);
}

}  // namespace tavo::ui
