#pragma once
// The "Storage" tab: the chosen account's Kafra storage.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace tavo::ui {

class StorageTab : public QWidget {
    Q_OBJECT
public:
    explicit StorageTab(QWidget* parent = nullptr);
    // "Save File" (Command3_4): enabled while the store has unsaved changes.
    QPushButton* save_button() const { return buttons_[4]; }

private:
    QListWidget* list2_;
    QLabel* label2_;
    QPushButton* buttons_[5];
};

}  // namespace tavo::ui
