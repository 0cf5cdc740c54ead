#pragma once
// Filling a chooser or a list box with the texts the core gives, without running its change
// handler; the caller selects afterwards, which runs the handler as a click would.

#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace tavo::ui {

// Clears the combo box, adds the texts and leaves nothing selected.
void fill_combo(QComboBox* combo, const std::vector<std::string>& texts);
// Clears the list box, adds the texts and leaves nothing selected.
void fill_list(QListWidget* list, const std::vector<std::string>& texts);

}  // namespace tavo::ui
