// save/storage.txt: an account's storage line removed, and the items of every line read and
// written again. The other lines go back byte for byte, the old file into the backup.

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "characters/item_slot.h"
#include "fuzz/fuzz_support.h"
#include "storage/storage_file.h"

namespace {

using namespace tavo;
using namespace tavo::fuzz;

double owner(std::string_view line) {
    return leading_number(piece(piece(line, '\t', 0), ',', 0));
}

// An item reads back from its own text as it was.
void items_round_trip(std::string_view line) {
    for (std::string_view entry : list_entries(piece(line, '\t', 1))) {
        ItemSlot item;
        try {
            item = parse_item(entry);
        } catch (const Failure&) {
            continue;
        }
        std::string text = item_text(item);
        FUZZ_CHECK(text.back() == ' ');
        text.pop_back();
        FUZZ_CHECK(parse_item(text) == item);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const std::vector<std::string_view> before = lines_of(input);
    for (std::string_view line : before) items_round_trip(line);
    if (before.empty()) return 0;
    const auto account_id = as_i32(owner(before.front()));
    if (!account_id) return 0;

    const fs::path storage = app.server_file("save/storage.txt");
    put(storage, input);
    SilentUi ui;
    FUZZ_CHECK(delete_user_storage(app, ui, *account_id));
    FUZZ_CHECK(get(app.server_file("save/storage.bak.txt")) == input);
    const std::string written = get(storage);
    // Empty lines are left out: when every line after an empty one goes, it is left without
    // its break (the file ends the way it ended), which is no line.
    std::vector<std::string_view> kept;
    for (std::string_view line : before) {
        if (!line.empty() && owner(line) != *account_id) kept.push_back(line);
    }
    std::vector<std::string_view> written_lines = lines_of(written);
    std::erase_if(written_lines, [](std::string_view line) { return line.empty(); });
    FUZZ_CHECK(written_lines == kept);
    return 0;
}
