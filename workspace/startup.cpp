#include "workspace/startup.h"

#include "accounts/account_file.h"
#include "app/about.h"
#include "refdata/battle_config.h"
#include "workspace/workspace.h"

namespace tavo {

void run_startup(Workspace& ws, Ui& ui, const StartOptions& options,
                 const StartupObserver& after_step) {
    const auto done = [&](StartupStep step) {
        if (after_step) after_step(step);
    };
    done(StartupStep::Caption);
    load_app_option(ws.app, ui, options);
    done(StartupStep::AppOption);
    // The map, skill and job class lists of tavo.ini.
    done(StartupStep::Maps);
    done(StartupStep::Skills);
    done(StartupStep::JobClass);
    load_some_battle_var(ws.app, ui, ws.ref.limits);
    done(StartupStep::BattleVar);
    ws.about = about_text(ws.app.settings, ws.ref.limits.max_parameter);
    done(StartupStep::About);
    load_account(ws.app, ui, ws.accounts);
    done(StartupStep::Account);
    // The item database, then the card-name tables of the client.
    done(StartupStep::ItemDb);
    done(StartupStep::CardDb);
    // The forger list of the item panel.
    done(StartupStep::Forger);
    // The item table sorted by name and the item panel reset.
    done(StartupStep::ItemPanel);
    done(StartupStep::FirstTab);
}

}  // namespace tavo
