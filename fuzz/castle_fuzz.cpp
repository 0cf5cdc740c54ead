// save/castle.txt: the castles of a guild given up. Each keeps its id and its number of
// values; every castle of another guild goes back byte for byte.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    std::optional<std::int32_t> guild;
    for (std::string_view line : lines_of(input)) {
        if (record_id(line, ',')) {
            guild = as_i32(leading_number(piece(line, ',', 1)));
            break;
        }
    }
    if (!guild) return 0;
    const fs::path castle = app.server_file("save/castle.txt");
    put(castle, input);
    SilentUi ui;
    clear_guild_castles(app, ui, *guild);
    const std::vector<std::string_view> before = lines_of(input);
    const std::string written = get(castle);
    const std::vector<std::string_view> after = lines_of(written);
    FUZZ_CHECK(before.size() == after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool held =
            record_id(before[i], ',') && leading_number(piece(before[i], ',', 1)) == *guild;
        if (!held) {
            FUZZ_CHECK(after[i] == before[i]);
            continue;
        }
        FUZZ_CHECK(piece(after[i], ',', 0) == piece(before[i], ',', 0));
        FUZZ_CHECK(split(after[i], ',').size() == split(before[i], ',').size());
    }
    return 0;
}
