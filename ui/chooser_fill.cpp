#include "ui/chooser_fill.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "ui/latin1.h"

namespace tavo::ui {
namespace {

QStringList shown(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) list.append(qs(text));
    return list;
}

constexpr int kVisibleEntries = 20;

}  // namespace

QComboBox* new_chooser(const QString& name) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setMaxVisibleItems(kVisibleEntries);
    // Some styles show every entry at once unless told to use a list popup.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    return combo;
}

void fill_combo(QComboBox* combo, const std::vector<std::string>& texts) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(shown(texts));
    combo->setCurrentIndex(-1);
}

void fill_list(QListWidget* list, const std::vector<std::string>& texts) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(shown(texts));
    list->setCurrentRow(-1);
}

void draw_text(QLineEdit* edit, std::string& shown, const std::string& text) {
    if (shown == text) return;
    shown = text;
    edit->setText(qs(text));
}

}  // namespace tavo::ui
