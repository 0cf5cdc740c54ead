#pragma once
// Filling a chooser or a list box with the texts the core gives, without running its change
// handler; the caller selects afterwards, which runs the handler as a click would.

#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QString;

namespace tavo::ui {

// A drop-down chooser named `name` whose list shows a screenful at a time, however many
// classes or skills it holds.
QComboBox* new_chooser(const QString& name);

// Clears the combo box, adds the texts and leaves nothing selected.
void fill_combo(QComboBox* combo, const std::vector<std::string>& texts);
// Clears the list box, adds the texts and leaves nothing selected.
void fill_list(QListWidget* list, const std::vector<std::string>& texts);

}  // namespace tavo::ui
