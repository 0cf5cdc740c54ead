#include "workspace/startup.h"

#include "app/about.h"
#include "app/running_server.h"
#include "app/ui.h"
#include "refdata/battle_config.h"
#include "refdata/program_ini.h"
#include "workspace/workspace.h"

namespace tavo {

void run_startup(Workspace& ws, Ui& ui, const StartOptions& options,
                 const StartupObserver& after_step) {
    const auto done = [&](StartupStep step) {
        if (after_step) after_step(step);
    };
    done(StartupStep::Caption);
    load_app_option(ws.app, ui, options);
    guard_writes(ws.app, ui, options.while_running);
    if (options.warn_running_server) {
        if (const auto server = running_server(ws.app.settings.data_folder)) {
            ui.message(running_server_warning(*server), "Tavo", Icon::Warning);
        }
    }
    done(StartupStep::AppOption);
    {
        // One read of tavo.ini serves the map, skill and job class lists.
        const ProgramIni ini = read_program_ini(ws.app);
        load_maps(ws.app, ui, ini, ws.ref.maps);
        done(StartupStep::Maps);
        load_skills(ws.app, ui, ini, ws.ref.skills);
        done(StartupStep::Skills);
        load_jobclass(ws.app, ui, ini, ws.ref.jobs);
        done(StartupStep::JobClass);
    }
    load_some_battle_var(ws.app, ui, ws.ref.limits);
    done(StartupStep::BattleVar);
    ws.about = about_text(ws.app.settings, ws.ref.limits.max_parameter);
    done(StartupStep::About);
    ws.accounts.load(ui);
    done(StartupStep::Account);
    load_itemdb(ws.app, ui, ws.ref.items);
    sort_items_by_name(ws.ref.items);
    done(StartupStep::ItemDb);
    load_carddb(ws.app, ui, ws.ref.cards);
    done(StartupStep::CardDb);
    ws.forgers.load(ws.app, ui, ws.characters.state().index);
    done(StartupStep::Forger);
    done(StartupStep::ItemPanel);
    done(StartupStep::FirstTab);
}

}  // namespace tavo
