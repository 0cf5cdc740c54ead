#include "ui/memo_quest_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages/memo_skill_quest_page.h"
#include "ui/chooser_fill.h"
#include "ui/latin1.h"

namespace tavo::ui {
namespace {

// Refills a chooser when its texts changed since it was last drawn.
void draw_chooser(QComboBox* combo, std::vector<std::string>& shown,
                  const std::vector<std::string>& texts, int chosen) {
    if (shown != texts) {
        shown = texts;
        fill_combo(combo, texts);
    }
    combo->setCurrentIndex(chosen);
}

}  // namespace

MemoQuestPanel::MemoQuestPanel(MemoSkillQuestPage& page, QWidget* parent)
    : OverlayPanel("Add / Edit Memo Point / Quest", "Frame9", parent), page_(page) {
    label7_ = new QLabel;
    label7_->setObjectName("Label7");
    text8_ = new QLineEdit;
    text8_->setObjectName("Text8");
    text8_->setMinimumWidth(280);
    choosers_ = new QWidget;
    for (int index = 0; index < 3; ++index) {
        combo10_[index] = new_chooser(QString("Combo10_%1").arg(index));
    }
    class_chooser()->setMinimumContentsLength(24);
    skill_chooser()->setMinimumContentsLength(32);
    auto* form = new QFormLayout(choosers_);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("Class", class_chooser());
    form->addRow("Skill", skill_chooser());
    form->addRow("Level", level_chooser());
    const char* captions[] = {"Ok", "Cancel"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        command13_[i] = new QPushButton(captions[i]);
        command13_[i]->setObjectName(QString("Command13_%1").arg(i));
        buttons->addWidget(command13_[i]);
    }
    set_default_button(command13_[0]);
    set_cancel_button(command13_[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label7_);
    layout->addWidget(text8_);
    layout->addWidget(choosers_);
    layout->addLayout(buttons);

    connect(text8_, &QLineEdit::textEdited, this, [this](const QString& text) {
        shown_text_ = bytes(text);
        page_.type_text(shown_text_);
    });
    connect(text8_, &QLineEdit::returnPressed, command13_[0], &QPushButton::click);
    connect(class_chooser(), &QComboBox::currentIndexChanged, this,
            [this](int index) { chosen(&MemoSkillQuestPage::choose_class, index); });
    connect(skill_chooser(), &QComboBox::currentIndexChanged, this,
            [this](int index) { chosen(&MemoSkillQuestPage::choose_skill, index); });
    connect(level_chooser(), &QComboBox::currentIndexChanged, this,
            [this](int index) { chosen(&MemoSkillQuestPage::choose_level, index); });
    connect(command13_[0], &QPushButton::clicked, this, [this] {
        page_.frame_ok();
        emit changed();
    });
    connect(command13_[1], &QPushButton::clicked, this, [this] {
        page_.frame_cancel();
        emit changed();
    });
}

// A choice the user made (not one drawn by render) goes to the page.
void MemoQuestPanel::chosen(void (MemoSkillQuestPage::*choose)(int), int index) {
    if (rendering_) return;
    (page_.*choose)(index);
    emit changed();
}

void MemoQuestPanel::render() {
    rendering_ = true;
    setTitle(qs(page_.frame_caption()));
    label7_->setText(qs(page_.prompt()));
    const bool choosers = page_.uses_choosers();
    text8_->setVisible(!choosers);
    choosers_->setVisible(choosers);
    draw_text(text8_, shown_text_, page_.text());
    draw_chooser(class_chooser(), shown_classes_, page_.class_entries(), page_.class_chosen());
    class_chooser()->setEnabled(page_.class_chooser_open());
    draw_chooser(skill_chooser(), shown_skills_, page_.skill_entries().entries,
                 page_.skill_chosen());
    draw_chooser(level_chooser(), shown_levels_, page_.level_entries(), page_.level_chosen());
    rendering_ = false;
}

}  // namespace tavo::ui
