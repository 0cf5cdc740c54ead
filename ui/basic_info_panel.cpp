#include "ui/basic_info_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/chooser_fill.h"
#include "ui/latin1.h"

namespace tavo::ui {
namespace {

using Box = BasicBox;

}  // namespace

BasicInfoPanel::BasicInfoPanel(BasicInfoPage& page, QWidget* parent)
    : OverlayPanel("Edit Basic Character Info", "Frame6", parent), page_(page) {
    combo7_ = new_chooser("Combo7");
    combo7_->setMinimumContentsLength(24);
    const char* captions[] = {"Ok", "Cancel", "List Maps"};
    for (int i = 0; i < 3; ++i) {
        command9_[i] = new QPushButton(captions[i]);
        command9_[i]->setObjectName(QString("Command9_%1").arg(i));
    }
    set_default_button(command9_[0]);
    set_cancel_button(command9_[1]);
    auto* note = new QLabel(kMapNamesNote);
    note->setObjectName("MapNamesNote");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command9_[2]);
    buttons->addStretch();
    buttons->addWidget(command9_[0]);
    buttons->addWidget(command9_[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_boxes());
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(combo7_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!rendering_) page_.choose_class(index);
    });
    connect(command9_[0], &QPushButton::clicked, this, [this] {
        page_.ok();
        emit changed();
    });
    connect(command9_[1], &QPushButton::clicked, this, [this] {
        page_.cancel();
        emit changed();
    });
    connect(command9_[2], &QPushButton::clicked, this, [this] {
        page_.toggle_maps();
        emit changed();
    });
}

QLineEdit* BasicInfoPanel::make_box(Box box) {
    const auto index = static_cast<std::size_t>(box);
    auto* edit = new QLineEdit;
    edit->setObjectName(QString("Text3_%1").arg(index));
    edit->setReadOnly(!BasicInfoPage::typed(box));
    if (BasicInfoPage::digits_only(box)) {
        // The digit filter: the keys 0-9 and Backspace.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        edit->setMaximumWidth(110);
    }
    connect(edit, &QLineEdit::textEdited, this, [this, box, index](const QString& text) {
        shown_[index] = bytes(text);
        page_.type(box, shown_[index]);
    });
    text3_[index] = edit;
    return edit;
}

QWidget* BasicInfoPanel::build_boxes() {
    auto* boxes = new QWidget;
    auto* grid = new QGridLayout(boxes);
    grid->setContentsMargins(0, 0, 0, 0);
    int line = 0;
    const auto add = [&](const char* label, QWidget* widget) {
        grid->addWidget(new QLabel(label), line, 0);
        grid->addWidget(widget, line++, 1);
    };
    const auto boxes_of = [this](std::initializer_list<Box> list) {
        std::vector<QLineEdit*> edits;
        for (const Box b : list) edits.push_back(make_box(b));
        auto* holder = new QWidget;
        auto* layout = new QHBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        for (QLineEdit* edit : edits) layout->addWidget(edit);
        return holder;
    };
    add("Char ID / Char #", boxes_of({Box::CharId, Box::Slot}));
    add("Name", make_box(Box::Name));
    add("Class", combo7_);
    add("Base Lvl / Job Lvl", boxes_of({Box::BaseLevel, Box::JobLevel}));
    add("HP/max HP", boxes_of({Box::Hp, Box::MaxHp}));
    add("SP/max SP", boxes_of({Box::Sp, Box::MaxSp}));
    add("Zeny", make_box(Box::Zeny));
    add("STR / AGI / VIT", boxes_of({Box::Str, Box::Agi, Box::Vit}));
    add("INT / DEX / LUK", boxes_of({Box::Int, Box::Dex, Box::Luk}));
    add("Stat Point / Skill Point", boxes_of({Box::StatPoints, Box::SkillPoints}));
    add("Save Position MAP (x,y)", boxes_of({Box::SaveMap, Box::SaveX, Box::SaveY}));
    add("Last Position MAP (x,y)", boxes_of({Box::LastMap, Box::LastX, Box::LastY}));
    add("Guild Name", make_box(Box::GuildName));
    add("Party Name", make_box(Box::PartyName));
    add("Pet Name", make_box(Box::PetName));
    add("Hair Style / Hair Color / Clothes Color",
        boxes_of({Box::Hair, Box::HairColor, Box::ClothesColor}));
    return boxes;
}

void BasicInfoPanel::render() {
    rendering_ = true;
    for (std::size_t i = 0; i < text3_.size(); ++i) {
        if (text3_[i] != nullptr) draw_text(text3_[i], shown_[i], page_.box(static_cast<Box>(i)));
    }
    if (entries_changed(shown_classes_, page_.class_entries())) {
        fill_combo(combo7_, shown_classes_);
    }
    combo7_->setCurrentIndex(page_.class_chosen());
    command9_[2]->setText(qs(page_.maps_caption()));
    rendering_ = false;
}

}  // namespace tavo::ui
