// save/athena.txt: the first character is loaded, written back in its place and loaded
// again. Every other character line goes back byte for byte, and the rewritten line reads
// back to itself.

#include "app/text_file.h"
#include "characters/character_file.h"
#include "fuzz/fuzz_support.h"
#include "refdata/refdata.h"

namespace {

using namespace tavo;
using namespace tavo::fuzz;

// The character lines of a file: blank lines and %newid% lines are not among them.
std::vector<std::string_view> character_lines(std::string_view text) {
    std::vector<std::string_view> kept;
    for (std::string_view line : lines_of(text)) {
        if (character_id_field(line)) kept.push_back(line);
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    static const RefData ref;
    const std::string_view input = text_of(data, size);
    const fs::path athena = app.server_file("save/athena.txt");
    put(athena, input);
    const std::vector<std::string_view> before = character_lines(input);
    if (before.empty()) return 0;
    const std::string id_text(*character_id_field(before.front()));

    SilentUi ui;
    CharacterState state;
    if (!load_char_info(app, ui, ref, state, id_text)) return 0;
    const std::string rebuilt = character_line(state.current);
    if (!save_char(app, ui, ServerGeneration::V100, state, id_text)) return 0;

    const std::string written = get(athena);
    std::vector<std::string_view> after = character_lines(written);
    FUZZ_CHECK(after.size() == before.size());
    FUZZ_CHECK(after.front() == rebuilt);
    for (std::size_t i = 1; i < before.size(); ++i) FUZZ_CHECK(after[i] == before[i]);
    FUZZ_CHECK(written.find("\t%newid%") != std::string::npos);  // the file's own, or one added

    // The rewritten line alone: it must load, and rebuild to itself.
    put(athena, rebuilt + "\r\n");
    CharacterState again;
    FUZZ_CHECK(load_char_info(app, ui, ref, again, *character_id_field(rebuilt)));
    FUZZ_CHECK(character_line(again.current) == rebuilt);
    return 0;
}
