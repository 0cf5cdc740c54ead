#pragma once
// The "Storage" tab: the chosen account's Kafra storage.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace tavo {
class AccountRecord;
}

namespace tavo::ui {

class StorageTab : public QWidget {
    Q_OBJECT
public:
    explicit StorageTab(QWidget* parent = nullptr);
    // "Save File" (Command3_4): enabled while the store has unsaved changes.
    QPushButton* save_button() const { return buttons_[4]; }

    // Choosing an account empties the store shown and reads the account's store. The store
    // file is read here once the storage editor exists; until then both do nothing.
    void clear_storage() {}
    void load_storage(const AccountRecord&) {}

private:
    QListWidget* list2_;
    QLabel* label2_;
    QPushButton* buttons_[5];
};

}  // namespace tavo::ui
