#include "ui/options_about_tab.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tavo::ui {

OptionsAboutTab::OptionsAboutTab(QWidget* parent) : QWidget(parent) {
    setObjectName("OptionsAboutTab");
    text_about_ = new QPlainTextEdit(this);
    text_about_->setObjectName("Textabout");
    text_about_->setReadOnly(true);
    text_about_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_about_);
}

void OptionsAboutTab::set_text(const QString& text) {
    text_about_->setPlainText(text);
}

}  // namespace tavo::ui
