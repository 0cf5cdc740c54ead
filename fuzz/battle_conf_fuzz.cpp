// conf/battle_athena.conf: the two limits the editor takes from it.

#include "fuzz/fuzz_support.h"
#include "refdata/battle_config.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    put(app.server_file("conf/battle_athena.conf"), text_of(data, size));
    SilentUi ui;
    BattleLimits limits;
    load_some_battle_var(app, ui, limits);
    return 0;
}
