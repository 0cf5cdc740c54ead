#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views.

#include <QWidget>

class QPushButton;

namespace tavo::ui {

class CharProfileTab : public QWidget {
    Q_OBJECT
public:
    explicit CharProfileTab(QWidget* parent = nullptr);
    // "Save to File" (Command4_4): enabled while the current character has unsaved changes.
    QPushButton* save_button() const { return save_to_file_; }

private:
    QPushButton* save_to_file_;
};

}  // namespace tavo::ui
