// tavo.ini: the settings and the server folder read, the folder written back when it is
// accepted, and the pick lists (maps, skills, job classes) read. Only eafolder lines change.

#include "app/text.h"
#include "fuzz/fuzz_support.h"
#include "refdata/program_ini.h"
#include "refdata/refdata.h"

using namespace tavo;
using namespace tavo::fuzz;

namespace {

bool is_eafolder_line(std::string_view line) {
    return piece(line, '\t', 0) == "eafolder";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const fs::path ini_path = app.program_file("tavo.ini");
    put(ini_path, input);
    SilentUi ui;
    load_app_option(app, ui);
    FUZZ_CHECK(app.settings.maxblvl <= 999 && app.settings.maxjlvl <= 200);
    FUZZ_CHECK(!app.settings.data_folder.empty() && app.settings.data_folder.back() == '/');

    const std::string after = get(ini_path);
    if (after != input) {
        const std::vector<std::string_view> a = lines_of(input), b = lines_of(after);
        FUZZ_CHECK(a.size() == b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            FUZZ_CHECK(a[i] == b[i] || (is_eafolder_line(a[i]) && is_eafolder_line(b[i])));
        }
    }

    RefData ref;
    const ProgramIni ini = read_program_ini(app);
    load_maps(app, ui, ini, ref.maps);
    load_skills(app, ui, ini, ref.skills);
    load_jobclass(app, ui, ini, ref.jobs);
    return 0;
}
