#include "ui/form3.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/latin1.h"

namespace tavo::ui {
namespace {

constexpr WipeFrame kFrames[] = {WipeFrame::Full, WipeFrame::Items, WipeFrame::Chars,
                                 WipeFrame::Users};

// The check box arrays of the frames, and the name of each frame's "Wipe".
QString box_array(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Items: return "Check2";
        case WipeFrame::Chars: return "Check3";
        case WipeFrame::Users: return "Check4";
        case WipeFrame::Full: break;
    }
    return "Check1";
}

QString wipe_button(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Items: return "Command3";
        case WipeFrame::Chars: return "Command4";
        case WipeFrame::Users: return "Command5";
        case WipeFrame::Full: break;
    }
    return "Command2";
}

}  // namespace

Form3::Form3(Workspace& ws, Ui& ui, QWidget* parent) : QDialog(parent), page_(ws, ui) {
    setObjectName("Form3");
    setWindowTitle("Server Wipe");
    auto* layout = new QHBoxLayout(this);
    auto* buttons = new QVBoxLayout;
    for (const int index : {0, 1, 2, 4, kWipeExitButton}) {
        auto* button = new QPushButton(qs(WipePage::button_caption(index)), this);
        button->setObjectName(QString("Command1_%1").arg(index));
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, index] {
            if (index == kWipeExitButton) {
                close();
                return;
            }
            page_.show(static_cast<WipeFrame>(index));
            render();
        });
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    for (const WipeFrame frame : kFrames) layout->addWidget(build_frame(frame), 1);
    render();
}

QGroupBox* Form3::build_frame(WipeFrame frame) {
    auto* group = new QGroupBox(qs(WipePage::frame_caption(frame)), this);
    group->setObjectName(QString("Frame1_%1").arg(static_cast<int>(frame)));
    frames_[frame] = group;
    auto* grid = new QGridLayout(group);
    const int count = WipePage::box_count(frame);
    for (int i = 0; i < count; ++i) {
        auto* box = new QCheckBox(qs(page_.box_caption(frame, i)), group);
        box->setObjectName(box_array(frame) + QString("_%1").arg(i));
        connect(box, &QCheckBox::clicked, this, [this, frame, i](bool on) {
            page_.set_box(frame, i, on);
            render();
        });
        boxes_[frame].push_back(box);
        grid->addWidget(box, frame == WipeFrame::Full ? i % 6 : i,
                        frame == WipeFrame::Full ? i / 6 : 0);
    }
    int row = count;
    if (frame == WipeFrame::Full) {
        auto* label = new QLabel(qs(WipePage::full_label()), group);
        label->setWordWrap(true);
        grid->addWidget(label, 6, 0, 1, 2);
        row = 7;
    } else if (frame == WipeFrame::Chars) {
        auto* label = new QLabel(qs(WipePage::chars_label()), group);
        label->setWordWrap(true);
        grid->addWidget(label, row++, 0);
    } else if (frame == WipeFrame::Users) {
        grid->addWidget(text_box(WipeText::Date, "Text2_0"), 1, 1);
        grid->addWidget(text_box(WipeText::Ip, "Text2_1"), 2, 1);
    } else {
        for (int option = 0; option < kZenyOptionCount; ++option) {
            zeny_[option] = new QRadioButton(qs(WipePage::zeny_caption(option)), group);
            zeny_[option]->setObjectName(QString("Option1_%1").arg(option));
            connect(zeny_[option], &QRadioButton::clicked, this, [this, option] {
                page_.choose_zeny(option);
                render();
            });
            grid->addWidget(zeny_[option], row + option, 0);
        }
        grid->addWidget(text_box(WipeText::Amount, "Text1"), row, 1);
        row += kZenyOptionCount;
    }
    auto* wipe = new QPushButton(qs(WipePage::wipe_caption()), group);
    wipe->setObjectName(wipe_button(frame));
    connect(wipe, &QPushButton::clicked, this, [this, frame] {
        const WipeOutcome outcome = page_.press_wipe(frame);
        render();
        if (outcome.wiped) emit wiped();
    });
    grid->addWidget(wipe, row, 0);
    grid->setRowStretch(row + 1, 1);
    return group;
}

QLineEdit* Form3::text_box(WipeText box, const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(WipePage::max_length(box));
    edit->installEventFilter(this);
    texts_[box] = edit;
    // Pasted text goes through the page's rules; what it refuses is taken back.
    connect(edit, &QLineEdit::textEdited, this, [this, box, edit](const QString& text) {
        if (!page_.set_text(box, bytes(text))) edit->setText(qs(page_.text(box)));
        shown_[box] = page_.text(box);
    });
    return edit;
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (const auto& [box, edit] : texts_) {
            if (edit != watched) continue;
            const auto* key = static_cast<QKeyEvent*>(event);
            return key_pressed(box, edit, key->key(), key->text());
        }
    }
    return QDialog::eventFilter(watched, event);
}

// True when the key was dealt with here (taken or refused).
bool Form3::key_pressed(WipeText box, QLineEdit* edit, int key, const QString& text) {
    const char typed = key == Qt::Key_Backspace ? '\b'
                       : text.size() == 1       ? text.at(0).toLatin1()
                                                : '\0';
    if (typed == '\0') return false;  // arrows, Tab, Enter: the box's own keys
    if (!WipePage::accepts_key(box, typed)) return true;
    if (box != WipeText::Date) return false;
    // The date is typed over the template: the dashes stay, Backspace puts the letter back.
    std::string date = page_.text(WipeText::Date);
    int at = edit->cursorPosition();
    const std::string_view letters = "yyyy-mm-dd";
    if (typed == '\b') {
        if (at > 0 && date[static_cast<std::size_t>(at - 1)] == '-') --at;
        if (at == 0) return true;
        --at;
        date[static_cast<std::size_t>(at)] = letters[static_cast<std::size_t>(at)];
    } else {
        if (at < 10 && date[static_cast<std::size_t>(at)] == '-') ++at;
        if (at >= 10) return true;
        date[static_cast<std::size_t>(at)] = typed;
        ++at;
    }
    page_.set_text(WipeText::Date, date);
    edit->setText(qs(date));
    shown_[WipeText::Date] = date;
    edit->setCursorPosition(at);
    return true;
}

void Form3::render() {
    for (const WipeFrame frame : kFrames) {
        frames_[frame]->setVisible(page_.frame() == frame);
        for (std::size_t i = 0; i < boxes_[frame].size(); ++i) {
            QCheckBox* box = boxes_[frame][i];
            box->setChecked(page_.checked(frame, static_cast<int>(i)));
            box->setEnabled(page_.box_enabled(frame, static_cast<int>(i)));
        }
    }
    for (int option = 0; option < kZenyOptionCount; ++option) {
        zeny_[option]->setChecked(page_.zeny_option() == option);
        zeny_[option]->setEnabled(page_.zeny_options_enabled());
    }
    for (const auto& [box, edit] : texts_) {
        // Only a text the page changed itself is put back, so the cursor stays where one types.
        if (shown_[box] != page_.text(box)) {
            shown_[box] = page_.text(box);
            edit->setText(qs(shown_[box]));
            if (box == WipeText::Date) edit->setCursorPosition(0);  // typed over from its start
        }
        edit->setEnabled(page_.text_enabled(box));
    }
    QLineEdit* amount = texts_[WipeText::Amount];
    amount->setVisible(page_.amount_visible());
    // The amount box stands beside the chosen option.
    if (auto* grid = qobject_cast<QGridLayout*>(frames_[WipeFrame::Items]->layout())) {
        grid->removeWidget(amount);
        grid->addWidget(amount, kItemBoxCount + page_.zeny_option(), 1);
    }
}

}  // namespace tavo::ui
