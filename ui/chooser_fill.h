#pragma once
// Filling a chooser, a list box or a field with the texts the core gives, without running its
// change handler; the caller selects afterwards, which runs the handler as a click would.

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
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

// Sets the field to the page's text when it differs from `shown`, what the field last
// showed (drawn here, or typed: the typing handler records it), so that a redraw while the
// user types keeps the cursor. Never read back from the field.
void draw_text(QLineEdit* edit, std::string& shown, const std::string& text);

// True when the entries' texts differ from `drawn`, what a chooser last showed; `drawn` then
// takes them and the caller refills the chooser. An unchanged chooser keeps its scroll place.
template <class Entries>
bool entries_changed(std::vector<std::string>& drawn, const Entries& entries) {
    bool same = drawn.size() == entries.size();
    for (std::size_t i = 0; same && i < drawn.size(); ++i) same = drawn[i] == entries[i].text;
    if (same) return false;
    drawn.clear();
    for (const auto& entry : entries) drawn.push_back(entry.text);
    return true;
}

}  // namespace tavo::ui
