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

CheckFilesDialog::CheckFilesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("CheckFiles");
    setWindowTitle("Check Files");
    summary_ = new QLabel(this);
    summary_->setObjectName("CheckSummary");
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName("CheckList");
    lines_->setReadOnly(true);
    lines_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton("Copy All", QDialogButtonBox::ActionRole);
    copy->setObjectName("CopyAll");
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(lines_->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(summary_);
    column->addWidget(lines_);
    column->addWidget(buttons);
    resize(900, 420);
}

void CheckFilesDialog::check(const AppContext& app) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CheckReport report = check_server(app);
    QApplication::restoreOverrideCursor();
    QString text;
    for (const Finding& finding : report.findings) text += qs(finding_text(finding)) + "\n";
    lines_->setPlainText(text);
    const QString folder = qs(app.settings.data_folder);
    const std::size_t notes = report.findings.size() - report.problems();
    const QString noted = notes > 0 ? ", " + QString::number(notes) + " note(s)" : QString();
    summary_->setText(report.findings.empty() ? "No problems found in " + folder + "."
                                              : QString::number(report.problems()) + " problem(s)" +
                                                    noted + " found in " + folder +
                                                    ". Select lines and copy them with Ctrl+C.");
}

}  // namespace tavo::ui
