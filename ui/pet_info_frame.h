#pragma once
// "Pet Info" (Frame3_2) of the item panel: the pet inside an egg, whose name can be changed
// in save/pet.txt at once.

#include <QGroupBox>
#include <string>

class QLineEdit;
class QPushButton;

namespace tavo {
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class PetInfoFrame : public QGroupBox {
    Q_OBJECT
public:
    PetInfoFrame(Workspace& ws, Ui& ui, QWidget* parent = nullptr);

    // Shows the pet of an egg (pet id, monster name, pet name), the name locked.
    void show_pet(std::int32_t pet_id, const QString& type, const QString& name);
    // Empties the three fields.
    void clear();
    // The item panel's view of an egg: the pet id can be typed for a new egg; "Edit Name"
    // works for a pet that exists.
    void show_fields(const QString& id, const QString& type, const QString& name, bool can_rename);

signals:
    void idEdited(const QString& id);

private:
    void edit_or_save_name();
    void cancel_name();
    void lock_name(bool locked);

    Workspace& ws_;
    Ui& ui_;
    std::int32_t pet_id_ = 0;
    // The pet's name as read from save/pet.txt: a rename does not overwrite another writer's.
    std::string read_name_;
    bool editing_name_ = false;
    QLineEdit* pet_fields_[3];
    QPushButton* edit_name_button_;
    QPushButton* cancel_button_;
};

}  // namespace tavo::ui
