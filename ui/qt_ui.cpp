#include "ui/qt_ui.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "ui/latin1.h"

namespace tavo::ui {
namespace {

// About 30 repaints a second, however many lines go by.
constexpr qint64 kRepaintMs = 33;

QMessageBox::Icon box_icon(Icon icon) {
    switch (icon) {
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

// The offscreen platform of the tests cannot raise windows and says so on every call.
QtUi::QtUi() : can_raise_(QGuiApplication::platformName() != QLatin1String("offscreen")) {}

QtUi::~QtUi() {
    delete form2_;
}

void QtUi::set_owner(QWidget* owner) {
    owner_ = owner;
}

void QtUi::message(const std::string& text, const std::string& title, Icon icon) {
    QMessageBox box(box_icon(icon), qs(title), qs(text), QMessageBox::Ok, owner_);
    box.exec();
}

bool QtUi::ask_yes_no(const std::string& text, const std::string& title, Icon icon) {
    QMessageBox box(box_icon(icon), qs(title), qs(text), QMessageBox::Yes | QMessageBox::No,
                    owner_);
    // Every question here discards, deletes or overwrites: Enter and Escape keep things as
    // they are.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::string QtUi::browse_for_folder(const std::string& instruction) {
    const QString folder = QFileDialog::getExistingDirectory(
        owner_, QFile::decodeName(instruction.c_str()), QString(), QFileDialog::ShowDirsOnly);
    return QFile::encodeName(folder).toStdString();
}

void QtUi::progress_show() {
    if (form2_ == nullptr) form2_ = new Form2(owner_);
    form2_->set_counter(QString());
    form2_->show();
    if (can_raise_) form2_->raise();
    since_paint_.start();
    pump();
}

void QtUi::progress_set(const std::string& text) {
    if (form2_ == nullptr) return;
    form2_->set_counter(qs(text));
    if (can_raise_) form2_->raise();
    form2_->repaint();
    pump();
    since_paint_.restart();
}

// The window keeps painting during a long read or write, but clicks and keys wait until it is
// done: a click on "Delete" or another account in the middle of a save would change the table
// the save is walking through.
void QtUi::pump() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Asked once a line: the clock is read only every 256th time, which is still far more often
// than a repaint is due.
bool QtUi::progress_due() {
    if ((++calls_ & 0xFF) != 0) return false;
    return form2_ == nullptr || !since_paint_.isValid() || since_paint_.elapsed() >= kRepaintMs;
}

void QtUi::progress_close() {
    if (form2_ != nullptr) form2_->hide();
}

}  // namespace tavo::ui
