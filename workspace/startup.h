#pragma once
// The start-up sequence without widgets. Each step reports its own failure and the next step
// runs regardless; the editor refreshes its widgets after each step through the observer.

#include <functional>

#include "app/settings.h"

namespace tavo {

struct Workspace;
class Ui;

enum class StartupStep {
    Caption = 1,
    AppOption,
    Maps,
    Skills,
    JobClass,
    BattleVar,
    About,
    Account,
    ItemDb,  // read and sorted by name
    CardDb,
    Forger,
    ItemPanel,  // the window prepares its item panel over the table and the forgers
    FirstTab,
};

using StartupObserver = std::function<void(StartupStep)>;

void run_startup(Workspace& ws, Ui& ui, const StartOptions& options = {},
                 const StartupObserver& after_step = {});

// Steps of the start-up that a tavo-cli command takes alone, as the start-up takes them: the
// lists of tavo.ini (maps, skills, job classes), battle_athena.conf and the About text; the item
// table sorted by name and the card tables.
void load_program_lists(Workspace& ws, Ui& ui, const StartupObserver& after_step = {});
void load_item_tables(Workspace& ws, Ui& ui, const StartupObserver& after_step = {});

}  // namespace tavo
