#include "ui/user_info_tab.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QValidator>

#include "accounts/account_file.h"
#include "ui/check_files_dialog.h"
#include "ui/latin1.h"
#include "workspace/account_deletion.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

enum class Lock { Never, InEditMode };

struct FieldLayout {
    const char* label;
    int typing_limit;
    Lock lock;
    bool digits_only;
};

// Text2 0 to 11. The typing limits of name and password follow the server, which cuts both to
// 23 characters; e-mail, error message and memo take what the server keeps (39, 19, 254).
const FieldLayout kFields[12] = {
    {"User ID", 20, Lock::Never, false},       {"Username", 23, Lock::InEditMode, false},
    {"Password", 23, Lock::InEditMode, false}, {"Last Login", 50, Lock::Never, false},
    {"Login Count", 5, Lock::Never, false},    {"Bank", 12, Lock::Never, false},
    {"Validity", 12, Lock::InEditMode, true},  {"Ban", 12, Lock::InEditMode, true},
    {"E-mail", 39, Lock::InEditMode, false},   {"Error Msg", 19, Lock::InEditMode, false},
    {"Memo", 254, Lock::InEditMode, false},    {"IP", 12, Lock::Never, false},
};

const char* const kCombos[3] = {"Sex", "Status", "GM Lvl"};
const char* const kButtons[6] = {"New Player", "New GM",    "Edit Record",
                                 "Cancel",     "Save File", "Delete"};

// What the user types or pastes may not make a text longer than its limit, nor bring in a
// character the file's single-byte text cannot hold; a longer text set by the program is shown
// in full and can still be shortened.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int limit) : QValidator(edit), limit_(limit) {
        // The text before an edit: the edit control has already taken the new one when it asks.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { length_before_ = static_cast<int>(text.size()); });
    }
    State validate(QString& input, int&) const override {
        if (input.size() > limit_ && input.size() > length_before_) return Invalid;
        for (QChar c : input) {
            if (c.unicode() > 0xFF) return Invalid;
        }
        return Acceptable;
    }

private:
    int limit_;
    int length_before_ = 0;
};

// Text2_KeyPress for Validity and Ban: a typed character other than a digit is discarded.
// Pasted text is not filtered; storing the record then reports it.
class DigitFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.size() == 1 && text[0].isPrint() && (text[0] < '0' || text[0] > '9')) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

UserInfoTab::UserInfoTab(Workspace& ws, Ui& ui, QWidget* parent)
    : QWidget(parent), ws_(ws), ui_(ui) {
    setObjectName("UserInfoTab");
    // A locked field looks like the greyed ones, so that only what a mode unlocked invites typing.
    setStyleSheet("QLineEdit[readOnly=\"true\"] { background: palette(window); }");
    build();
    end_mode();
    show_form(AccountForm{});
}

void UserInfoTab::build() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_frame4());
    layout->addWidget(build_frame5());
    layout->addStretch();
}

QGroupBox* UserInfoTab::build_frame4() {
    auto* frame = new QGroupBox("Account", this);
    frame->setObjectName("Frame4");
    auto* digits = new DigitFilter(this);
    for (int i = 0; i < 12; ++i) {
        auto* edit = new QLineEdit(frame);
        edit->setObjectName(QString("Text2_%1").arg(i));
        edit->setValidator(new TypingLimit(edit, kFields[i].typing_limit));
        if (kFields[i].digits_only) edit->installEventFilter(digits);
        if (kFields[i].lock == Lock::Never) edit->setEnabled(false);
        text2_[i] = edit;
    }
    for (int i = 0; i < 3; ++i) {
        combo1_[i] = new QComboBox(frame);
        combo1_[i]->setObjectName(QString("Combo1_%1").arg(i));
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    const auto label = [frame](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString(text) + ":", frame);
        l->setBuddy(buddy);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    // Left: who the account is; right: its history and limits; below: the longer texts.
    const int left[] = {0, 1, 2};
    const int right[] = {3, 4, 5, 6, 7, 11};
    int row = 0;
    for (int field : left) {
        grid->addWidget(label(kFields[field].label, text2_[field]), row, 0);
        grid->addWidget(text2_[field], row++, 1);
    }
    for (int combo = 0; combo < 3; ++combo) {
        grid->addWidget(label(kCombos[combo], combo1_[combo]), row, 0);
        grid->addWidget(combo1_[combo], row++, 1);
    }
    row = 0;
    for (int field : right) {
        grid->addWidget(label(kFields[field].label, text2_[field]), row, 2);
        grid->addWidget(text2_[field], row++, 3);
    }
    for (int field : {8, 9, 10}) {
        grid->addWidget(label(kFields[field].label, text2_[field]), row, 0);
        grid->addWidget(text2_[field], row++, 1, 1, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 6; ++i) {
        command2_[i] = new QPushButton(kButtons[i], frame);
        command2_[i]->setObjectName(QString("Command2_%1").arg(i));
        connect(command2_[i], &QPushButton::clicked, this, [this, i] { command2_click(i); });
    }
    for (int i : {0, 1, 2, 3}) buttons->addWidget(command2_[i]);
    buttons->addStretch();
    buttons->addWidget(command2_[5]);
    buttons->addWidget(command2_[4]);
    command2_[4]->setEnabled(false);

    auto* column = new QVBoxLayout(frame);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);
    return frame;
}

// The server wipes come with their own dialog; until then they are shown but not offered.
// "Check Files" lists what is wrong in the server's files.
QGroupBox* UserInfoTab::build_frame5() {
    auto* frame = new QGroupBox("Server Tools", this);
    frame->setObjectName("Frame5");
    auto* row = new QHBoxLayout(frame);
    for (int i = 0; i < 4; ++i) {
        const char* caption = i == 0 ? "Server Wipes" : i == 1 ? "Check Files" : "...";
        command8_[i] = new QPushButton(caption, frame);
        command8_[i]->setObjectName(QString("Command8_%1").arg(i));
        command8_[i]->setEnabled(i == 1);
        row->addWidget(command8_[i]);
    }
    connect(command8_[1], &QPushButton::clicked, this, [this] {
        if (check_files_ == nullptr) check_files_ = new CheckFilesDialog(this);
        check_files_->check(ws_.app);
        check_files_->show();
        check_files_->raise();
    });
    row->addStretch();
    return frame;
}

void UserInfoTab::command2_click(int index) {
    const QString caption = command2_[index]->text();
    switch (index) {
        case 0: caption == "New Player" ? begin_new(false) : save_new(false); break;
        case 1: caption == "New GM" ? begin_new(true) : save_new(true); break;
        case 2: caption == "Edit Record" ? begin_edit() : save_edit(); break;
        case 3: cancel(); break;
        case 4: save_file(); break;
        case 5: delete_account(); break;
        default: break;
    }
    after_button();
}

void UserInfoTab::begin_new(bool gm) {
    const AccountStore& store = ws_.accounts;
    for (int i : {gm ? 0 : 1, 2, 5}) command2_[i]->setEnabled(false);
    AccountForm form;
    if (gm) {
        const std::optional<std::int32_t> id = next_gm_id(ui_, store);
        if (!id) return;  // the range is used up; Cancel or another account brings the buttons back
        form = new_account_form(*id, kNewGmLevel);
        mode_ = Mode::NewGm;
        command2_[1]->setText("Save GM");
    } else {
        // The GM level list stays disabled and keeps what it showed.
        form = new_account_form(next_player_id(store),
                                static_cast<std::uint8_t>(combo1_[2]->currentData().toInt()));
        mode_ = Mode::NewPlayer;
        command2_[0]->setText("Save Player");
    }
    show_form(form);
    combo1_[0]->setEnabled(true);
    combo1_[1]->setEnabled(true);
    combo1_[2]->setEnabled(gm);
    set_editable(true);
    text2_[1]->setFocus();
}

void UserInfoTab::save_new(bool gm) {
    switch (save_new_account(ws_.app, ui_, ws_.accounts, read_form(), gm)) {
        case EditResult::Refused: text2_[1]->setFocus(); return;
        case EditResult::Failed: return;  // the mode and what was typed stay
        case EditResult::Saved: break;
    }
    end_mode();
    emit accountAdded(static_cast<int>(ws_.accounts.records.size()) - 1);
}

bool UserInfoTab::chosen_editable() const {
    return selected_ && *selected_ < ws_.accounts.records.size() && can_edit_account(*selected_);
}

void UserInfoTab::begin_edit() {
    if (!chosen_editable()) return;
    for (int i : {0, 1, 5}) command2_[i]->setEnabled(false);
    mode_ = Mode::Edit;
    command2_[2]->setText("Save Record");
    set_editable(true);
    set_lists_enabled(true);
    text2_[1]->setFocus();
    userid_before_edit_ = ws_.accounts.records[*selected_].userid();
}

void UserInfoTab::save_edit() {
    if (!chosen_editable()) return;
    const std::size_t index = *selected_;
    switch (
        save_edited_account(ws_.app, ui_, ws_.accounts, index, read_form(), userid_before_edit_)) {
        case EditResult::Refused: text2_[1]->setFocus(); return;
        case EditResult::Failed: return;
        case EditResult::Saved: break;
    }
    end_mode();
    show_form(account_to_form(ws_.accounts.records[index]));
    emit accountChanged(static_cast<int>(index));
}

void UserInfoTab::cancel() {
    end_mode();
    emit reshowRequested();
}

void UserInfoTab::save_file() {
    AccountStore& store = ws_.accounts;
    const auto image = store.image;
    std::optional<std::int32_t> chosen;
    if (selected_ && *selected_ < store.records.size()) {
        chosen = store.records[*selected_].account_id();
    }
    save_account(ws_.app, ui_, store);
    // Put onto a file another writer changed: the list shows the table anew.
    if (store.image == image) return;
    const std::optional<std::size_t> row = chosen ? index_of_account(store, *chosen) : std::nullopt;
    emit tableReplaced(row ? static_cast<int>(*row) : -1);
}

void UserInfoTab::delete_account() {
    if (!selected_) return;
    const std::size_t index = *selected_;
    const bool characters = has_characters ? has_characters() : false;
    const std::optional<std::size_t> next = tavo::delete_account(ws_, ui_, index, characters);
    if (!next) return;
    const int select = ws_.accounts.records.empty() ? -1 : static_cast<int>(*next);
    emit accountRemoved(static_cast<int>(index), select);
}

void UserInfoTab::after_button() {
    refresh_save_button();
    emit tableChanged();
}

void UserInfoTab::refresh_save_button() {
    command2_[4]->setEnabled(ws_.accounts.modified);
}

void UserInfoTab::show_account(std::optional<std::size_t> index) {
    if (index && *index >= ws_.accounts.records.size()) index.reset();
    selected_ = index;
    end_mode();
    show_form(index ? account_to_form(ws_.accounts.records[*index]) : AccountForm{});
}

// Every mode ends the same way: the captions come back, the fields are locked and the lists
// disabled, so that nothing looks editable that would not be stored.
void UserInfoTab::end_mode() {
    mode_ = Mode::None;
    for (int i : {0, 1, 2}) command2_[i]->setText(kButtons[i]);
    for (int i : {0, 1, 3}) command2_[i]->setEnabled(true);
    const bool chosen = selected_.has_value();
    command2_[2]->setEnabled(chosen && can_edit_account(*selected_));
    command2_[5]->setEnabled(chosen);
    set_editable(false);
    set_lists_enabled(false);
}

void UserInfoTab::set_editable(bool editable) {
    for (int i = 0; i < 12; ++i) {
        if (kFields[i].lock != Lock::InEditMode) continue;
        text2_[i]->setReadOnly(!editable);
        text2_[i]->style()->unpolish(text2_[i]);  // the style sheet looks at readOnly again
        text2_[i]->style()->polish(text2_[i]);
    }
}

void UserInfoTab::set_lists_enabled(bool enabled) {
    for (QComboBox* combo : combo1_) combo->setEnabled(enabled);
}

void UserInfoTab::fill_list(QComboBox* combo, const std::vector<ListEntry>& entries,
                            std::uint8_t value) {
    combo->clear();
    for (const ListEntry& entry : entries) combo->addItem(qs(entry.text), int{entry.value});
    combo->setCurrentIndex(entry_position(entries, value));
}

void UserInfoTab::show_form(const AccountForm& form) {
    const std::string* texts[12] = {&form.user_id,    &form.username,    &form.password,
                                    &form.last_login, &form.login_count, nullptr,
                                    &form.validity,   &form.ban,         &form.email,
                                    &form.error_msg,  &form.memo,        &form.ip};
    for (int i = 0; i < 12; ++i) {
        text2_[i]->setText(texts[i] != nullptr ? qs(*texts[i]) : QString("Soon"));
        text2_[i]->setCursorPosition(0);
    }
    fill_list(combo1_[0], sex_entries(), form.sex);
    fill_list(combo1_[1], status_entries(form.state), form.state);
    fill_list(combo1_[2], gm_level_entries(form.gm_level), form.gm_level);
}

AccountForm UserInfoTab::read_form() const {
    AccountForm form;
    std::string* texts[12] = {&form.user_id,     &form.username,  &form.password, &form.last_login,
                              &form.login_count, nullptr,         &form.validity, &form.ban,
                              &form.email,       &form.error_msg, &form.memo,     &form.ip};
    for (int i = 0; i < 12; ++i) {
        if (texts[i] != nullptr) *texts[i] = bytes(text2_[i]->text());
    }
    form.sex = static_cast<std::uint8_t>(combo1_[0]->currentData().toInt());
    form.state = static_cast<std::uint8_t>(combo1_[1]->currentData().toInt());
    form.gm_level = static_cast<std::uint8_t>(combo1_[2]->currentData().toInt());
    return form;
}

}  // namespace tavo::ui
