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

#include "accounts/account_time.h"
#include "ui/latin1.h"

namespace tavo::ui {
namespace {

const char* const kLists[3] = {"Sex", "Status", "GM Lvl"};
constexpr AccountButton kButtons[kAccountButtonCount] = {
    AccountButton::NewPlayer, AccountButton::NewGm,    AccountButton::EditRecord,
    AccountButton::Cancel,    AccountButton::SaveFile, AccountButton::Delete};

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

// Text2_KeyPress: a typed character the page refuses for the field is discarded. Pasted text is
// not filtered; storing the record then reports it.
class KeyFilter : public QObject {
public:
    KeyFilter(AccountField field, QObject* parent) : QObject(parent), field_(field) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.size() == 1 && text[0].isPrint() &&
                !AccountPage::takes_character(field_, text[0].unicode())) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AccountField field_;
};

}  // namespace

UserInfoTab::UserInfoTab(AccountPage& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName("UserInfoTab");
    // A locked field looks like the greyed ones, so that only what a mode unlocked invites typing.
    setStyleSheet("QLineEdit[readOnly=\"true\"] { background: palette(window); }");
    build();
    page_.observe_modified(
        [this](bool) { buttons_[4]->setEnabled(page_.offered(AccountButton::SaveFile)); });
    render();
}

void UserInfoTab::build() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_account_frame());
    layout->addWidget(build_server_tools());
    layout->addStretch();
}

QGroupBox* UserInfoTab::build_account_frame() {
    auto* frame = new QGroupBox("Account", this);
    frame->setObjectName("Frame4");
    for (int i = 0; i < kAccountFieldCount; ++i) {
        const auto which = static_cast<AccountField>(i);
        auto* edit = new QLineEdit(frame);
        edit->setObjectName(QString("Text2_%1").arg(i));
        edit->setValidator(
            new TypingLimit(edit, static_cast<int>(AccountPage::field_limit(which))));
        edit->installEventFilter(new KeyFilter(which, edit));
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
            page_.type_field(which, bytes(text));
            if (which == AccountField::Validity || which == AccountField::Ban) {
                render_time_caption(which);
            }
        });
        fields_[i] = edit;
    }
    for (int i = 0; i < 3; ++i) {
        lists_[i] = new QComboBox(frame);
        lists_[i]->setObjectName(QString("Combo1_%1").arg(i));
        const auto list = static_cast<AccountList>(i);
        connect(lists_[i], &QComboBox::currentIndexChanged, this, [this, list](int index) {
            if (rendering_ || index < 0) return;
            const std::vector<ListEntry> entries = page_.entries(list);
            if (index < static_cast<int>(entries.size())) {
                page_.choose_entry(list, entries[static_cast<std::size_t>(index)].value);
            }
        });
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    const auto label = [frame](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString(text) + ":", frame);
        l->setBuddy(buddy);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto field_label = [&](int i) {
        return label(account_field_rule(static_cast<AccountField>(i)).label, fields_[i]);
    };
    // Left: who the account is; right: its history and limits; below: the longer texts.
    const int left[] = {0, 1, 2};
    const int right[] = {3, 4, 5, 6, 7, 11};
    int row = 0;
    for (int i : left) {
        grid->addWidget(field_label(i), row, 0);
        grid->addWidget(fields_[i], row++, 1);
    }
    for (int list = 0; list < 3; ++list) {
        grid->addWidget(label(kLists[list], lists_[list]), row, 0);
        grid->addWidget(lists_[list], row++, 1);
    }
    row = 0;
    // Only Validity and Ban have a date beside them; the other fields take that room too, so
    // a last-login time with its milliseconds fits at 800x600.
    for (int i : right) {
        const auto field = static_cast<AccountField>(i);
        const bool dated = field == AccountField::Validity || field == AccountField::Ban;
        grid->addWidget(field_label(i), row, 2);
        grid->addWidget(fields_[i], row++, 3, 1, dated ? 1 : 2);
    }
    // The date a Validity or Ban number means, beside it.
    validity_date_ = new QLabel(frame);
    validity_date_->setObjectName("ValidityDate");
    ban_date_ = new QLabel(frame);
    ban_date_->setObjectName("BanDate");
    grid->addWidget(validity_date_, 3, 4);
    grid->addWidget(ban_date_, 4, 4);
    for (QLabel* date : {validity_date_, ban_date_}) {
        date->setMinimumWidth(date->fontMetrics().horizontalAdvance("= 2038-01-19 03:14"));
        date->setToolTip(
            "Seconds since 1970-01-01 00:00 UTC; a date typed as yyyy-mm-dd is "
            "turned into its seconds when the record is saved");
    }
    for (int i : {8, 9, 10}) {
        grid->addWidget(field_label(i), row, 0);
        grid->addWidget(fields_[i], row++, 1, 1, 4);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < kAccountButtonCount; ++i) {
        buttons_[i] = new QPushButton(frame);
        buttons_[i]->setObjectName(QString("Command2_%1").arg(i));
        connect(buttons_[i], &QPushButton::clicked, this,
                [this, i] { button_clicked(kButtons[i]); });
    }
    for (int i : {0, 1, 2, 3}) buttons->addWidget(buttons_[i]);
    buttons->addStretch();
    buttons->addWidget(buttons_[5]);
    buttons->addWidget(buttons_[4]);

    auto* column = new QVBoxLayout(frame);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);
    set_tab_order();
    return frame;
}

// Down the left column, down the right one, then the long texts and the buttons.
void UserInfoTab::set_tab_order() {
    const auto f = [this](AccountField which) { return static_cast<QWidget*>(field(which)); };
    const std::vector<QWidget*> order = {f(AccountField::Username),
                                         f(AccountField::Password),
                                         lists_[0],
                                         lists_[1],
                                         lists_[2],
                                         f(AccountField::Validity),
                                         f(AccountField::Ban),
                                         f(AccountField::Email),
                                         f(AccountField::ErrorMsg),
                                         f(AccountField::Memo),
                                         buttons_[0],
                                         buttons_[1],
                                         buttons_[2],
                                         buttons_[3],
                                         buttons_[5],
                                         buttons_[4]};
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

// Enter presses the mode's save button, Escape its "Cancel"; without a mode both go on to the
// window.
void UserInfoTab::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && page_.enter_button()) {
        buttons_[static_cast<int>(*page_.enter_button())]->click();
        return;
    }
    if (key == Qt::Key_Escape && page_.escape_cancels()) {
        buttons_[static_cast<int>(AccountButton::Cancel)]->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

QGroupBox* UserInfoTab::build_server_tools() {
    auto* frame = new QGroupBox("Server Tools", this);
    frame->setObjectName("Frame5");
    auto* row = new QHBoxLayout(frame);
    for (int i = 0; i < kServerToolCount; ++i) {
        server_tools_[i] = new QPushButton(frame);
        server_tools_[i]->setObjectName(QString("Command8_%1").arg(i));
        row->addWidget(server_tools_[i]);
    }
    connect(server_tools_[static_cast<int>(ServerTool::CheckFiles)], &QPushButton::clicked, this,
            [this] { emit checkFilesRequested(); });
    row->addStretch();
    return frame;
}

void UserInfoTab::button_clicked(AccountButton button) {
    const AccountOutcome outcome = page_.press(button);
    render();
    if (outcome.focus_username && page_.mode() != AccountMode::Browse) {
        field(AccountField::Username)->setFocus();
    }
    if (pressed_) pressed_(outcome);
}

// Captions, offered buttons, locked fields and enabled lists all follow the page's mode, so
// that nothing looks editable that would not be stored.
void UserInfoTab::render() {
    for (int i = 0; i < kAccountButtonCount; ++i) {
        buttons_[i]->setText(qs(page_.caption(kButtons[i])));
        buttons_[i]->setEnabled(page_.offered(kButtons[i]));
    }
    for (int i = 0; i < kServerToolCount; ++i) {
        const auto tool = static_cast<ServerTool>(i);
        server_tools_[i]->setText(qs(page_.caption(tool)));
        server_tools_[i]->setEnabled(page_.offered(tool));
    }
    for (int i = 0; i < kAccountFieldCount; ++i) {
        const auto which = static_cast<AccountField>(i);
        fields_[i]->setEnabled(AccountPage::field_typable(which));
        if (!AccountPage::field_typable(which)) continue;
        fields_[i]->setReadOnly(!page_.field_unlocked(which));
        fields_[i]->style()->unpolish(fields_[i]);  // the style sheet looks at readOnly again
        fields_[i]->style()->polish(fields_[i]);
    }
    render_form();
}

void UserInfoTab::render_form() {
    rendering_ = true;
    const AccountForm& form = page_.form();
    for (int i = 0; i < kAccountFieldCount; ++i) {
        fields_[i]->setText(qs(page_.field_text(static_cast<AccountField>(i))));
        fields_[i]->setCursorPosition(0);
    }
    const std::uint8_t values[3] = {form.sex, form.state, form.gm_level};
    for (int i = 0; i < 3; ++i) {
        const auto list = static_cast<AccountList>(i);
        const std::vector<ListEntry> entries = page_.entries(list);
        QComboBox* combo = lists_[i];
        combo->clear();
        for (const ListEntry& entry : entries) {
            combo->addItem(qs(entry.text));
            if (list == AccountList::Status) {
                combo->setItemData(combo->count() - 1, qs(state_meaning(entry.value)),
                                   Qt::ToolTipRole);
            }
        }
        combo->setCurrentIndex(entry_position(entries, values[i]));
        combo->setEnabled(page_.list_enabled(list));
    }
    lists_[1]->setToolTip(qs(state_meaning(form.state)));
    for (AccountField which : {AccountField::Validity, AccountField::Ban})
        render_time_caption(which);
    rendering_ = false;
}

// The date beside Validity or Ban, of the field's text as the page holds it.
void UserInfoTab::render_time_caption(AccountField which) {
    QLabel* label = which == AccountField::Validity ? validity_date_ : ban_date_;
    label->setText(qs(AccountPage::time_caption(page_.field_text(which))));
}

}  // namespace tavo::ui
