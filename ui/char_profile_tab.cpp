#include "ui/char_profile_tab.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/chooser_fill.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"

namespace tavo::ui {
namespace {

QGroupBox* make_frame(int index, const QString& caption, QWidget* content) {
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(QString("Frame1_%1").arg(index));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    frame->hide();
    return frame;
}

}  // namespace

CharProfileTab::CharProfileTab(CharProfilePage& page, QWidget* parent)
    : QWidget(parent), page_(page) {
    setObjectName("CharProfileTab");
    page_.set_group_separator(bytes(QLocale().groupSeparator()));
    character_chooser_ = new QComboBox;
    character_chooser_->setObjectName("Combo5");
    character_chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    character_chooser_->setMinimumContentsLength(36);
    view_chooser_ = new QComboBox;
    view_chooser_->setObjectName("Combo6");
    for (const char* view : kCharacterViews) view_chooser_->addItem(view);
    view_chooser_->setCurrentIndex(-1);

    profile_text_ = new QPlainTextEdit;
    profile_text_->setObjectName("Text6");
    profile_text_->setReadOnly(true);
    profile_text_->setTabStopDistance(
        profile_text_->fontMetrics().horizontalAdvance(QString(24, 'x')));
    auto* inventory_list = new QListWidget;
    inventory_list->setObjectName("List3");
    auto* cart_list = new QListWidget;
    cart_list->setObjectName("List4");
    lanes_[0] = {&page_.inventory(), inventory_list, inventory_buttons_, {}};
    lanes_[1] = {&page_.cart(), cart_list, cart_buttons_, {}};
    view_frames_[0] = make_frame(0, "Status/Stats", profile_text_);
    view_frames_[1] = make_frame(
        1, "Inventory", item_frame_content(inventory_list, inventory_buttons_, "Command4_%1"));
    view_frames_[2] = make_frame(2, "Cart [Merchant/BlackSmith/Alchemist]",
                                 item_frame_content(cart_list, cart_buttons_, "Command5_%1"));

    save_to_file_button_ = new QPushButton("Save to File");
    save_to_file_button_->setObjectName("Command4_4");
    page_.observe_modified(
        [this](bool) { save_to_file_button_->setEnabled(page_.save_offered()); });

    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel("Character:"));
    choose->addWidget(character_chooser_, 1);
    choose->addSpacing(12);
    choose->addWidget(new QLabel("View:"));
    choose->addWidget(view_chooser_);
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        command6_[i] = new QPushButton(kCharacterButtons[static_cast<std::size_t>(i)]);
        command6_[i]->setObjectName(QString("Command6_%1").arg(i));
        buttons->addWidget(command6_[i]);
        connect(command6_[i], &QPushButton::clicked, this,
                [this, i] { press_character_button(static_cast<CharacterButton>(i)); });
    }
    buttons->addStretch();
    buttons->addWidget(save_to_file_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    for (QGroupBox* frame : view_frames_) layout->addWidget(frame, 1);
    layout->addStretch(0);
    layout->addLayout(buttons);

    connect(character_chooser_, &QComboBox::activated, this,
            [this](int index) { character_chosen(index); });
    connect(view_chooser_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (rendering_) return;
        page_.set_view(index);
        render_view();
    });
    connect(save_to_file_button_, &QPushButton::clicked, this, [this] {
        page_.save();
        render();
    });
    for (Lane& lane : lanes_) {
        for (int i = 0; i < 4; ++i) {
            connect(lane.buttons[i], &QPushButton::clicked, this,
                    [this, &lane, i] { item_button(lane, static_cast<ItemButton>(i)); });
        }
        connect(lane.list, &QListWidget::currentRowChanged, this, [this, &lane](int row) {
            if (rendering_) return;
            lane.page->select(row);
            render_items();
        });
        connect(lane.list, &QListWidget::itemDoubleClicked, this,
                [this, &lane] { item_button(lane, ItemButton::Edit); });
    }
    render();
}

QWidget* CharProfileTab::item_frame_content(QListWidget* list, QPushButton** buttons,
                                            const char* name) {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    auto* row = new QHBoxLayout;
    const char* captions[] = {"New", "Edit", "Delete", "Delete All"};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(captions[i]);
        buttons[i]->setObjectName(QString(name).arg(i));
        row->addWidget(buttons[i]);
    }
    row->addStretch();
    layout->addLayout(row);
    return content;
}

void CharProfileTab::item_button(Lane& lane, ItemButton button) {
    const ItemOutcome outcome = lane.page->press(button);
    if (outcome.panel_opened && panel_ != nullptr) panel_->open_over(this);
    if (outcome.lines_changed) render_items();
}

void CharProfileTab::press_character_button(CharacterButton button) {
    switch (button) {
        case CharacterButton::EditBasic:
        case CharacterButton::EditMemoSkillQuest: emit editorRequested(button); return;
        case CharacterButton::DeleteCharacter:
        case CharacterButton::DeleteAll:
            if (page_.delete_characters(button == CharacterButton::DeleteAll)) {
                render();
                emit characterChanged();
            }
            return;
    }
}

void CharProfileTab::character_chosen(int index) {
    if (index >= 0) page_.choose(static_cast<std::size_t>(index));
    // On No the chooser goes back to the character with the pending changes.
    render();
    emit characterChanged();
}

void CharProfileTab::render() {
    render_chooser();
    render_view();
    profile_text_->setPlainText(qs(page_.profile()));
    render_items();
    save_to_file_button_->setEnabled(page_.save_offered());
    for (int i = 0; i < 4; ++i) {
        command6_[i]->setEnabled(page_.offered(static_cast<CharacterButton>(i)));
    }
}

void CharProfileTab::render_chooser() {
    const QSignalBlocker block(character_chooser_);
    std::vector<std::string> texts;
    for (const CharacterChoice& entry : page_.entries()) texts.push_back(entry.text);
    fill_combo(character_chooser_, texts);
    const std::optional<std::size_t> chosen = page_.chosen();
    character_chooser_->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
    character_chooser_->setEnabled(page_.choosers_enabled());
    view_chooser_->setEnabled(page_.choosers_enabled());
}

void CharProfileTab::render_view() {
    rendering_ = true;
    const std::optional<CharacterView> view = page_.view();
    view_chooser_->setCurrentIndex(view ? static_cast<int>(*view) : -1);
    for (int i = 0; i < 3; ++i) view_frames_[i]->setVisible(view && static_cast<int>(*view) == i);
    rendering_ = false;
}

void CharProfileTab::render_items() {
    rendering_ = true;
    for (Lane& lane : lanes_) render_lane(lane);
    view_frames_[1]->setTitle(qs(page_.inventory().caption()));
    view_frames_[2]->setTitle(qs(page_.cart().caption()));
    rendering_ = false;
}

void CharProfileTab::render_lane(Lane& lane) {
    std::vector<std::string> lines = lane.page->lines();
    if (lines != lane.shown) {
        fill_list(lane.list, lines);
        lane.shown = std::move(lines);
    }
    lane.list->setCurrentRow(lane.page->selected());
    for (int i = 0; i < 4; ++i) {
        lane.buttons[i]->setEnabled(lane.page->offered(static_cast<ItemButton>(i)));
    }
}

}  // namespace tavo::ui
