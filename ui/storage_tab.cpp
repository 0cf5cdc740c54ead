#include "ui/storage_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/chooser_fill.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "workspace/item_editors.h"

namespace tavo::ui {

StorageTab::StorageTab(ItemEditors& editors, Ui& ui, QWidget* parent)
    : QWidget(parent), editors_(editors), store_(editors.store), ui_(ui) {
    setObjectName("StorageTab");
    list2_ = new QListWidget(this);
    list2_->setObjectName("List2");
    label2_ = new QLabel("Qty [0/100]", this);
    label2_->setObjectName("Label2");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label2_);
    buttons->addStretch();
    const char* captions[] = {"New", "Edit", "Delete", "Delete All", "Save File"};
    for (int i = 0; i < 5; ++i) {
        buttons_[i] = new QPushButton(captions[i], this);
        buttons_[i]->setObjectName(QString("Command3_%1").arg(i));
        buttons_[i]->setEnabled(false);
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] { press_button(i); });
        buttons->addWidget(buttons_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list2_);
    layout->addLayout(buttons);

    connect(list2_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!rendering_) store_.select(row);
        render();
    });
    connect(list2_, &QListWidget::itemDoubleClicked, this, [this] { press_button(1); });
    store_.unsaved.observe([this](bool) { render(); });
}

void StorageTab::clear_storage() {
    store_.clear();
    render();
}

void StorageTab::load_storage(std::optional<std::int32_t> account_id) {
    store_.choose_account(ui_, account_id);
    render();
}

void StorageTab::render() {
    rendering_ = true;
    std::vector<std::string> lines = store_.lines(editors_.naming);
    if (lines != shown_lines_) {
        fill_list(list2_, lines);
        shown_lines_ = std::move(lines);
    }
    list2_->setCurrentRow(store_.selected());
    label2_->setText(qs(store_.label()));
    buttons_[0]->setEnabled(store_.account().has_value());
    for (int i : {1, 2, 3}) buttons_[i]->setEnabled(store_.has_lines());
    buttons_[4]->setEnabled(store_.unsaved.get());
    rendering_ = false;
}

void StorageTab::open_panel(bool edit) {
    if (panel_ == nullptr) return;
    const bool opened =
        edit ? store_.edit_item(editors_.panel) : store_.new_item(ui_, editors_.panel);
    if (opened) panel_->open_over(this);
}

void StorageTab::press_button(int index) {
    switch (index) {
        case 0: open_panel(false); break;
        case 1: open_panel(true); break;
        case 2: store_.delete_selected(ui_); break;
        case 3: store_.delete_all(ui_); break;
        case 4: store_.save(ui_); break;
        default: break;
    }
    render();
}

}  // namespace tavo::ui
