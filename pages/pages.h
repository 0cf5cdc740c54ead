#pragma once
// The pages of the editor over one workspace, and the rules that span them.
//
// How a page is used. A page is the state of one page, panel or dialog over the documents of
// the workspace (workspace/*_document.h): its mode, its selection, the entries of its lists and
// choosers with their ids, its field rules and the texts it shows. The window and tavo-cli use
// a page the same way:
//   1. Input goes in as calls: a chosen line (`select`, `choose`), typed text (`set_form`,
//      `type_field`), a pressed button (`press`).
//   2. A press returns what it did (an outcome struct): whether it was done, what changed and
//      so what must be drawn again. Messages and questions go through the Ui on the way.
//   3. Everything shown is read back from the page: captions, whether a button is offered
//      (`offered`), lines, labels, field texts. Unsaved state is the documents' `modified()`.
// A widget renders its page and forwards input, nothing else: it never decides from a
// widget's caption, enabled state or text, and never parses an id out of a display text.

#include <optional>

#include "pages/account_finder.h"
#include "pages/account_page.h"
#include "pages/basic_info_page.h"
#include "pages/char_profile_page.h"
#include "pages/item_panel_page.h"
#include "pages/maps_frame.h"
#include "pages/memo_skill_quest_page.h"
#include "pages/storage_page.h"

namespace tavo {

struct Workspace;
class Ui;

class Pages {
public:
    Pages(Workspace& ws, Ui& ui);

    // Any document holds unsaved changes: the window title's mark.
    bool modified() const;
    // Before another account is chosen: one question when typed values or unsaved character
    // or store changes would go. True when the account may change (the changes are dropped).
    bool may_leave_account();
    // Before the window closes: the same question over every document and typed values.
    bool may_close();
    // An account chosen in the list (List1_Click): the User Info page shows it, the store and
    // the characters of the account are read. Nothing chosen empties the pages.
    void show_account(std::optional<std::size_t> index);
    // The character panels closed: the basic editor, the Memo/Skills/Quest panel with its frame,
    // and the maps frame.
    void close_character_panels();

    // "Do it" of the maps frame: the picked map into the save or last position of the open
    // basic editor, or else a memo point of the open Memo/Skills/Quest panel.
    bool do_it();

    Workspace& ws;
    Ui& ui;
    AccountPage accounts;
    AccountFinder finder;
    ItemPanelPage item_panel;
    CharProfilePage character;
    StoragePage storage;
    MapsFrame maps;
    BasicInfoPage basic_info;
    MemoSkillQuestPage memo;
};

}  // namespace tavo
