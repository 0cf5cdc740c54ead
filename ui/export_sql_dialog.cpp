#include "ui/export_sql_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/latin1.h"

namespace tavo::ui {

ExportSqlDialog::ExportSqlDialog(const AppContext& app, Ui& ui, QWidget* parent)
    : QDialog(parent), page_(app), ui_(ui) {
    setObjectName("ExportSql");
    setWindowTitle(ExportSqlPage::title());
    file_ = new QLineEdit(this);
    file_->setObjectName("ExportFile");
    auto* browse = new QPushButton("Browse…", this);
    browse->setObjectName("ExportBrowse");
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(file_, 1);
    file_row->addWidget(browse);
    schema_ = new QComboBox(this);
    schema_->setObjectName("ExportSchema");
    for (const ExportSqlPage::SchemaEntry& entry : page_.schemas()) {
        schema_->addItem(qs(entry.text), static_cast<int>(entry.era));
    }
    auto* form = new QFormLayout;
    form->addRow("SQL file:", file_row);
    form->addRow("Schema:", schema_);
    auto* hint = new QLabel(qs(page_.hint()), this);
    hint->setWordWrap(true);
    summary_ = new QPlainTextEdit(this);
    summary_->setObjectName("ExportSummary");
    summary_->setReadOnly(true);
    summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    export_ = buttons->addButton(qs(page_.caption(ExportSqlButton::Export)),
                                 QDialogButtonBox::AcceptRole);
    export_->setObjectName("ExportButton");
    anyway_ = buttons->addButton(qs(page_.caption(ExportSqlButton::ExportAnyway)),
                                 QDialogButtonBox::ActionRole);
    anyway_->setObjectName("ExportAnyway");
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(hint);
    column->addWidget(summary_, 1);
    column->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, [this] { browse_clicked(); });
    connect(file_, &QLineEdit::textEdited, this, [this](const QString& text) {
        page_.set_file(QFile::encodeName(text).toStdString());
        render();
    });
    connect(schema_, &QComboBox::currentIndexChanged, this, [this](int index) {
        page_.choose_schema(static_cast<SqlEra>(schema_->itemData(index).toInt()));
        render();
    });
    connect(export_, &QPushButton::clicked, this, [this] { press(ExportSqlButton::Export); });
    connect(anyway_, &QPushButton::clicked, this, [this] { press(ExportSqlButton::ExportAnyway); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(820, 480);
    render();
}

void ExportSqlDialog::browse_clicked() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, ExportSqlPage::title(), QFile::decodeName(page_.suggested_file().c_str()),
        ExportSqlPage::file_filter());
    if (chosen.isEmpty()) return;
    file_->setText(chosen);
    page_.set_file(QFile::encodeName(chosen).toStdString());
    render();
}

void ExportSqlDialog::press(ExportSqlButton button) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    page_.press(button, ui_);
    QApplication::restoreOverrideCursor();
    summary_->setPlainText(qs(page_.summary()));
    render();
}

void ExportSqlDialog::render() {
    export_->setEnabled(page_.offered(ExportSqlButton::Export));
    anyway_->setVisible(page_.offered(ExportSqlButton::ExportAnyway));
}

}  // namespace tavo::ui
