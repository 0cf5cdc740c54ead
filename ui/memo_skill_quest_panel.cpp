#include "ui/memo_skill_quest_panel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages/memo_skill_quest_page.h"
#include "ui/chooser_fill.h"
#include "ui/latin1.h"

namespace tavo::ui {

MemoSkillQuestPanel::MemoSkillQuestPanel(MemoSkillQuestPage& page, QWidget* parent)
    : OverlayPanel("Memo/Skills/Quest", "Frame8", parent), page_(page) {
    auto* lanes = new QHBoxLayout;
    lanes->addWidget(lane(
        0, "Memo Points",
        {ListButton::MemoAdd, ListButton::MemoEdit, ListButton::MemoDelete, ListButton::ListMaps}));
    lanes->addWidget(
        lane(1, "Skills", {ListButton::SkillAdd, ListButton::SkillEdit, ListButton::SkillDelete}));
    lanes->addWidget(lane(2, "Quest Variables",
                          {ListButton::QuestAdd, ListButton::QuestEdit, ListButton::QuestDelete}));
    const char* captions[] = {"Ok", "Cancel"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        command12_[i] = new QPushButton(captions[i]);
        command12_[i]->setObjectName(QString("Command12_%1").arg(i));
        buttons->addWidget(command12_[i]);
    }
    set_default_button(command12_[0]);
    set_cancel_button(command12_[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lanes);
    layout->addLayout(buttons);
    connect(command12_[0], &QPushButton::clicked, this, [this] {
        page_.ok();
        emit changed();
    });
    connect(command12_[1], &QPushButton::clicked, this, [this] {
        page_.cancel();
        emit changed();
    });
}

QWidget* MemoSkillQuestPanel::lane(int index, const char* caption,
                                   std::initializer_list<ListButton> buttons) {
    auto* frame = new QGroupBox(caption);
    auto* list = new QListWidget;
    list->setObjectName(QString("List%1").arg(7 + index));
    list->setMinimumSize(index == 1 ? 220 : 180, 220);
    lists_[static_cast<std::size_t>(index)] = list;
    const auto which = static_cast<CharList>(index);
    connect(list, &QListWidget::currentRowChanged, this, [this, which](int row) {
        if (rendering_) return;
        page_.select(which, row);
        emit changed();
    });
    auto* row = new QHBoxLayout;
    for (const ListButton button : buttons) {
        const int number = static_cast<int>(button);
        auto* push = new QPushButton(qs(page_.caption(button)));
        push->setObjectName(QString("Command11_%1").arg(number));
        command11_[static_cast<std::size_t>(number)] = push;
        row->addWidget(push);
        connect(push, &QPushButton::clicked, this, [this, button] {
            page_.press(button);
            emit changed();
        });
    }
    // A double click edits the entry, as "Edit" does.
    const ListButton edit = *(buttons.begin() + 1);
    connect(list, &QListWidget::itemDoubleClicked, this, [this, edit] {
        page_.press(edit);
        emit changed();
    });
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(list);
    layout->addLayout(row);
    return frame;
}

QPushButton* MemoSkillQuestPanel::button(ListButton button) const {
    return command11_[static_cast<std::size_t>(button)];
}

void MemoSkillQuestPanel::render() {
    rendering_ = true;
    for (int i = 0; i < 3; ++i) {
        const auto which = static_cast<CharList>(i);
        std::vector<std::string> lines = page_.lines(which);
        QListWidget* list = lists_[static_cast<std::size_t>(i)];
        if (lines != shown_[static_cast<std::size_t>(i)]) {
            fill_list(list, lines);
            shown_[static_cast<std::size_t>(i)] = std::move(lines);
        }
        list->setCurrentRow(page_.selected(which));
    }
    for (std::size_t i = 0; i < command11_.size(); ++i) {
        if (command11_[i] == nullptr) continue;
        const auto button = static_cast<ListButton>(i);
        command11_[i]->setText(qs(page_.caption(button)));
        command11_[i]->setEnabled(page_.offered(button));
    }
    rendering_ = false;
}

}  // namespace tavo::ui
