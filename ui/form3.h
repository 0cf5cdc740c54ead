#pragma once
// Form3, the "Server Wipe" dialog: the column of Command1 buttons, the four frames with their
// boxes, options and text boxes, and each frame's "Wipe". It renders the wipe page and forwards
// clicks and keys; `wiped` tells the window to read its accounts, character and store again.

#include <QDialog>
#include <array>
#include <map>
#include <string>

#include "pages/wipe_page.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavo::ui {

class Form3 : public QDialog {
    Q_OBJECT
public:
    Form3(Workspace& ws, Ui& ui, QWidget* parent = nullptr);

    WipePage& page() { return page_; }

signals:
    void wiped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* build_frame(WipeFrame frame);
    QLineEdit* text_box(WipeText box, const QString& name);
    bool key_pressed(WipeText box, QLineEdit* edit, int key, const QString& text);
    void render();

    WipePage page_;
    std::map<WipeFrame, QGroupBox*> frames_;
    std::map<WipeFrame, std::vector<QCheckBox*>> boxes_;
    std::array<QRadioButton*, kZenyOptionCount> zeny_{};
    std::map<WipeText, QLineEdit*> texts_;
    std::map<WipeText, std::string> shown_;  // what each box shows, as last taken from the page
};

}  // namespace tavo::ui
