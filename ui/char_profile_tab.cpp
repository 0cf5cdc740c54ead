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
#include <tuple>

#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "workspace/item_editors.h"

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

CharProfileTab::CharProfileTab(CharacterEditor& editor, ItemEditors& items, QWidget* parent)
    : QWidget(parent), editor_(editor), items_(items) {
    setObjectName("CharProfileTab");
    editor_.set_group_separator(bytes(QLocale().groupSeparator()));
    character_chooser_ = new QComboBox;
    character_chooser_->setObjectName("Combo5");
    character_chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    character_chooser_->setMinimumContentsLength(36);
    view_chooser_ = new QComboBox;
    view_chooser_->setObjectName("Combo6");
    view_chooser_->addItems({"View Stats & Status", "View Inventory items", "View Cart items"});
    view_chooser_->setCurrentIndex(-1);
    character_chooser_->setEnabled(false);
    view_chooser_->setEnabled(false);

    profile_text_ = new QPlainTextEdit;
    profile_text_->setObjectName("Text6");
    profile_text_->setReadOnly(true);
    profile_text_->setTabStopDistance(
        profile_text_->fontMetrics().horizontalAdvance(QString(24, 'x')));
    inventory_list_ = new QListWidget;
    inventory_list_->setObjectName("List3");
    cart_list_ = new QListWidget;
    cart_list_->setObjectName("List4");
    view_frames_[0] = make_frame(0, "Status/Stats", profile_text_);
    view_frames_[1] = make_frame(
        1, "Inventory", item_frame_content(inventory_list_, inventory_buttons_, "Command4_%1"));
    view_frames_[2] = make_frame(2, "Cart [Merchant/BlackSmith/Alchemist]",
                                 item_frame_content(cart_list_, cart_buttons_, "Command5_%1"));

    save_to_file_button_ = new QPushButton("Save to File");
    save_to_file_button_->setObjectName("Command4_4");
    save_to_file_button_->setEnabled(false);
    editor_.unsaved().observe([this](bool unsaved) { save_to_file_button_->setEnabled(unsaved); });

    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel("Character:"));
    choose->addWidget(character_chooser_, 1);
    choose->addSpacing(12);
    choose->addWidget(new QLabel("View:"));
    choose->addWidget(view_chooser_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_to_file_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    for (QGroupBox* frame : view_frames_) layout->addWidget(frame, 1);
    layout->addStretch(0);
    layout->addLayout(buttons);

    connect(character_chooser_, &QComboBox::activated, this, [this] { character_chosen(); });
    connect(view_chooser_, &QComboBox::currentIndexChanged, this, [this] { view_chosen(); });
    connect(save_to_file_button_, &QPushButton::clicked, this, [this] { editor_.save(); });
    // Plain names, not a structured binding: clang 14 cannot capture those in a lambda.
    for (const auto& lane : {std::tuple{&items_.inventory, inventory_list_, inventory_buttons_},
                             std::tuple{&items_.cart, cart_list_, cart_buttons_}}) {
        ItemListEditor* const list_editor = std::get<0>(lane);
        QListWidget* const list = std::get<1>(lane);
        QPushButton* const* const buttons = std::get<2>(lane);
        for (int i = 0; i < 4; ++i) {
            connect(buttons[i], &QPushButton::clicked, this,
                    [this, list_editor, i] { item_button(*list_editor, i); });
        }
        connect(list, &QListWidget::currentRowChanged, this, [this, list_editor](int row) {
            if (rendering_) return;
            list_editor->select(row);
            render_items();
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, list_editor] { item_button(*list_editor, 1); });
    }
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
        buttons[i]->setEnabled(false);
        row->addWidget(buttons[i]);
    }
    row->addStretch();
    layout->addLayout(row);
    return content;
}

void CharProfileTab::item_button(ItemListEditor& list_editor, int index) {
    bool open = false;
    switch (index) {
        case 0: open = list_editor.new_item(items_.ui, items_.panel); break;
        case 1: open = list_editor.edit_item(items_.panel); break;
        case 2: list_editor.delete_selected(items_.ui); break;
        case 3: list_editor.delete_all(items_.ui); break;
        default: break;
    }
    if (open && panel_ != nullptr) panel_->open_over(this);
    render_items();
}

void CharProfileTab::render_items() {
    rendering_ = true;
    render_list(items_.inventory, inventory_list_, inventory_buttons_);
    render_list(items_.cart, cart_list_, cart_buttons_);
    view_frames_[1]->setTitle(qs(items_.inventory.caption()));
    view_frames_[2]->setTitle(qs(items_.cart.caption()));
    rendering_ = false;
}

void CharProfileTab::render_list(ItemListEditor& list_editor, QListWidget* list,
                                 QPushButton** buttons) {
    list->clear();
    for (const std::string& line : list_editor.lines(items_.naming)) list->addItem(qs(line));
    list->setCurrentRow(list_editor.selected());
    const bool loaded = editor_.sheet().has_value();
    buttons[0]->setEnabled(loaded);
    for (int i : {1, 2, 3}) buttons[i]->setEnabled(loaded && list_editor.has_lines());
}

void CharProfileTab::load_char_list(std::int32_t account_id) {
    // The chooser shows what the listing gave, also after a failure part-way: nothing of the
    // account chosen before may stay in it.
    editor_.list(account_id);
    render_chooser();
    if (editor_.view()) {
        const QSignalBlocker block(view_chooser_);
        view_chooser_->setCurrentIndex(static_cast<int>(*editor_.view()));
    }
    view_chosen();
    show_char_profile();
    character_chooser_->setEnabled(editor_.count() > 0);
    view_chooser_->setEnabled(editor_.count() > 0);
}

void CharProfileTab::choose_character(const std::string& char_id) {
    const std::vector<CharacterChoice>& entries = editor_.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id != char_id) continue;
        if (editor_.chosen() != i) editor_.choose(i);
        render_chooser();
        show_char_profile();
        return;
    }
}

void CharProfileTab::render_chooser() {
    const QSignalBlocker block(character_chooser_);
    character_chooser_->clear();
    for (const CharacterChoice& entry : editor_.entries()) {
        character_chooser_->addItem(qs(entry.text), qs(entry.id));
    }
    const std::optional<std::size_t> chosen = editor_.chosen();
    character_chooser_->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
}

void CharProfileTab::character_chosen() {
    const int index = character_chooser_->currentIndex();
    if (index >= 0) editor_.choose(static_cast<std::size_t>(index));
    {
        // On No the chooser goes back to the character with the pending changes.
        const QSignalBlocker block(character_chooser_);
        const std::optional<std::size_t> chosen = editor_.chosen();
        character_chooser_->setCurrentIndex(chosen ? static_cast<int>(*chosen) : -1);
    }
    show_char_profile();
}

void CharProfileTab::view_chosen() {
    for (QGroupBox* frame : view_frames_) frame->hide();
    const int view = view_chooser_->currentIndex();
    if (view < 0 || view >= 3) return;
    editor_.set_view(static_cast<CharacterView>(view));
    view_frames_[view]->show();
}

void CharProfileTab::show_char_profile() {
    const std::optional<CharacterSheet>& sheet = editor_.sheet();
    if (!sheet) {
        clear_views();
        return;
    }
    profile_text_->setPlainText(qs(sheet->profile));
    items_.inventory.reset();
    items_.cart.reset();
    render_items();
    view_frames_[2]->setEnabled(true);
}

void CharProfileTab::clear_inventory_caption() {
    view_frames_[1]->setTitle(QString());
}

void CharProfileTab::clear_views() {
    profile_text_->clear();
    inventory_list_->clear();
    cart_list_->clear();
    for (QPushButton* button : inventory_buttons_) button->setEnabled(false);
    for (QPushButton* button : cart_buttons_) button->setEnabled(false);
}

}  // namespace tavo::ui
