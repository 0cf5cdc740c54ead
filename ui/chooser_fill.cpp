#include "ui/chooser_fill.h"

#include <QComboBox>
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

}  // namespace

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

}  // namespace tavo::ui
