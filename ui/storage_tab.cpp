#include "ui/storage_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages/storage_page.h"
#include "ui/chooser_fill.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"

namespace tavo::ui {

StorageTab::StorageTab(StoragePage& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName("StorageTab");
    list2_ = new QListWidget(this);
    list2_->setObjectName("List2");
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label2_);
    buttons->addStretch();
    const char* captions[] = {"New", "Edit", "Delete", "Delete All", "Save File"};
    for (int i = 0; i < 5; ++i) {
        buttons_[i] = new QPushButton(captions[i], this);
        buttons_[i]->setObjectName(QString("Command3_%1").arg(i));
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] { press_button(i); });
        buttons->addWidget(buttons_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list2_);
    layout->addLayout(buttons);

    connect(list2_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (rendering_) return;
        page_.select(row);
        render();
    });
    // A click on the line already selected chooses it too (List2_Click).
    connect(list2_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        page_.select(list2_->row(item));
        render();
    });
    connect(list2_, &QListWidget::itemDoubleClicked, this, [this] { press_button(1); });
    page_.observe_modified([this](bool) { render(); });
    render();
}

void StorageTab::render() {
    rendering_ = true;
    std::vector<std::string> lines = page_.lines();
    if (lines != shown_lines_) {
        fill_list(list2_, lines);
        shown_lines_ = std::move(lines);
    }
    list2_->setCurrentRow(page_.selected());
    label2_->setText(qs(page_.label()));
    for (int i = 0; i < 5; ++i) buttons_[i]->setEnabled(page_.offered(static_cast<ItemButton>(i)));
    rendering_ = false;
}

void StorageTab::press_button(int index) {
    const ItemOutcome outcome = page_.press(static_cast<ItemButton>(index));
    if (outcome.panel_opened && panel_ != nullptr) panel_->open_over(this);
    render();
}

}  // namespace tavo::ui
