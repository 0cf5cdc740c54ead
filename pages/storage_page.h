#pragma once
// The "Storage" page: the chosen account's store, its lines and label, the selection, which
// buttons are offered, New, Edit, Delete, Delete All and "Save File". It reads and changes the
// store document; tavo-cli's storage and item commands drive the same page. See pages/pages.h
// for how a page is used.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pages/item_list_page.h"

namespace tavo {

struct Workspace;
class Ui;

class StoragePage : public ItemPanelTarget {
public:
    StoragePage(Workspace& ws, Ui& ui, ItemPanelPage& panel);

    // Choosing an account reads its store (nothing chosen: an empty one). The first line is
    // selected, but Delete waits until a line is chosen.
    bool choose_account(std::optional<std::int32_t> account_id);
    std::optional<std::int32_t> account() const;

    ItemDestination destination() const override { return ItemDestination::Storage; }
    std::vector<std::string> lines() const;
    // "Qty [3/300]" with maxstorage; a store beyond the limit shows every item it holds:
    // "Qty [320/300]".
    std::string label() const;
    std::int32_t count() const;

    int selected() const { return selected_; }
    // A line chosen by the user (a click, the keys, or tavo-cli naming it).
    void select(int line);

    // New once an account is chosen; Edit and Delete All while the store has lines; Delete
    // once a line was chosen; "Save File" while the store has unsaved changes.
    bool offered(ItemButton button) const;
    // New: "Max item count reach." on a full store, else the panel opens for an add. Edit (and
    // a double click): the panel opens preset from the selected item. Delete and Delete All
    // after "Are you sure?". "Save File" writes the store.
    ItemOutcome press(ItemButton button);
    // The store document's modified flag.
    void observe_modified(std::function<void(bool)> observer);
    // The panel's confirm button for the store.
    bool store(PanelValues& values) override;

private:
    bool delete_selected();
    bool delete_all();

    Workspace& ws_;
    Ui& ui_;
    ItemPanelPage& panel_;
    int selected_ = -1;
    bool line_chosen_ = false;
};

}  // namespace tavo
