#include "pages/pages.h"

#include "app/ui.h"
#include "workspace/naming.h"
#include "workspace/workspace.h"

namespace tavo {

Pages::Pages(Workspace& ws, Ui& ui)
    : ws(ws),
      ui(ui),
      accounts(ws, ui),
      finder(ws),
      item_panel(item_naming(ws, ui), ws.forgers),
      character(ws, ui, item_panel),
      storage(ws, ui, item_panel),
      maps(ws.ref.maps),
      basic_info(ws, ui, character, maps),
      memo(ws, ui, maps) {}

bool Pages::modified() const {
    return ws.accounts.modified() || ws.characters.modified() || ws.store.modified();
}

bool Pages::may_leave_account() {
    if (!accounts.may_discard_typing()) return false;
    if (!ws.characters.modified() && !ws.store.modified()) return true;
    if (!ui.ask_yes_no(kDiscardChangesQuestion, "Tavo")) return false;
    ws.characters.discard();
    ws.store.discard();
    return true;
}

bool Pages::may_close() {
    if (!modified() && !accounts.typing()) return true;
    return ui.ask_yes_no(kDiscardChangesQuestion, "Tavo");
}

void Pages::close_character_panels() {
    basic_info.cancel();
    memo.close();
    maps.hide();
}

bool Pages::do_it() {
    const std::optional<std::string> point = maps.picked();
    const std::optional<MapsTarget> target = maps.chosen_target();
    if (!maps.shown() || !point || !target) return false;
    if (basic_info.is_open()) return basic_info.put_position(*target, *point);
    return memo.add_picked(*point);
}

void Pages::show_account(std::optional<std::size_t> index) {
    item_panel.close();
    close_character_panels();
    const auto& records = ws.accounts.table().records;
    if (index && *index >= records.size()) index.reset();
    accounts.select(index);
    if (!index) {
        storage.choose_account(std::nullopt);
        return;
    }
    const std::int32_t id = records[*index].account_id();
    storage.choose_account(id);
    character.list(id);
}

}  // namespace tavo
