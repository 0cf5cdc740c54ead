#include "ui/check_files_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/settings.h"
#include "app/ui.h"
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
    list->viewport()->installEventFilter(this);
    list->setToolTip("Double-click a line to choose its account, character or store.");
    return list;
}

CheckFilesDialog::CheckFilesDialog(const AppContext& app, Ui& ui,
                                   std::function<void(const FindingTarget&)> choose,
                                   QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui), choose_(std::move(choose)) {
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
    fix_ = buttons->addButton("Fix…", QDialogButtonBox::ActionRole);
    fix_->setObjectName("CheckFix");
    connect(fix_, &QPushButton::clicked, this, [this] { fix(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(summary_);
    column->addWidget(lines_, 3);
    column->addWidget(notes_caption_);
    column->addWidget(notes_, 1);
    column->addWidget(buttons);
    QSize size(900, 420);
    if (const QScreen* shown = screen(); shown != nullptr) {
        size = size.boundedTo(shown->availableGeometry().size() - QSize(40, 60));
    }
    resize(size);
}

void CheckFilesDialog::check() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    report_ = check_server(app_);
    QApplication::restoreOverrideCursor();
    render();
}

void CheckFilesDialog::fix() {
    if (report_.repairable() == 0) return;
    if (repair_server(app_, ui_, report_) > 0) check();
}

void CheckFilesDialog::render() {
    QString problems;
    QString notes;
    problem_lines_.clear();
    note_lines_.clear();
    for (const Finding& finding : report_.findings) {
        const bool note = finding.kind == FindingKind::Note;
        (note ? notes : problems) += qs(finding_text(finding)) + "\n";
        (note ? note_lines_ : problem_lines_).push_back(&finding);
    }
    lines_->setPlainText(problems);
    notes_->setPlainText(notes);
    notes_caption_->setVisible(!notes.isEmpty());
    notes_->setVisible(!notes.isEmpty());
    const bool repairable = report_.repairable() > 0;
    fix_->setEnabled(repairable);
    fix_->setToolTip(repairable ? "Repair what has one right answer, with backups, after one "
                                  "question: as tavo-cli check --fix does."
                                : "Nothing found has one right repair.");
    const QString folder = qs(app_.settings.data_folder);
    const std::size_t problem_count = report_.problems();
    const std::size_t note_count = report_.findings.size() - problem_count;
    const QString found = problem_count == 0 ? QString("No problems")
                                             : QString::number(problem_count) + " problem(s)";
    const QString noted =
        note_count > 0 ? ", " + QString::number(note_count) + " note(s)" : QString();
    const QString advice = report_.findings.empty()
                               ? QString()
                               : " Select lines and copy them with Ctrl+C; double-click one to "
                                 "choose its account.";
    summary_->setText(found + noted + " found in " + folder + "." + advice);
}

void CheckFilesDialog::finding_chosen(int line, bool notes) {
    const std::vector<const Finding*>& lines = notes ? note_lines_ : problem_lines_;
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) return;
    const auto target = finding_target(app_, report_, *lines[static_cast<std::size_t>(line)]);
    if (const auto* why = std::get_if<std::string>(&target)) {
        ui_.message(*why, "Check Files", Icon::Information);
        return;
    }
    if (choose_) choose_(std::get<FindingTarget>(target));
}

bool CheckFilesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QPlainTextEdit* list : {lines_, notes_}) {
            if (watched != list->viewport()) continue;
            const auto* click = static_cast<QMouseEvent*>(event);
            finding_chosen(list->cursorForPosition(click->position().toPoint()).blockNumber(),
                           list == notes_);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tavo::ui
