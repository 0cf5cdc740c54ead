// save/party.txt: a party's name looked up and changed, and a member leaving it. Every other
// party goes back byte for byte.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const auto id = first_record_id(input);
    if (!id) return 0;
    const fs::path party = app.server_file("save/party.txt");
    put(party, input);
    SilentUi ui;
    const std::string read_name = find_party(app, ui, std::to_string(*id));

    FUZZ_CHECK(save_party(app, ui, std::to_string(*id), "Renamed", read_name));
    const std::string renamed = get(party);
    only_record_changed(input, renamed, *id, false, [](std::string_view old_line, auto line) {
        std::vector<std::string_view> a = split(old_line, '\t'), b = split(line, '\t');
        if (a.size() > 1) a[1] = "Renamed";
        return a == b;
    });

    // The first member's account leaves.
    std::string member;
    for (std::string_view line : lines_of(input)) {
        if (record_id(line) == *id) {
            member = std::string(piece(piece(line, '\t', 3), ',', 0));
            break;
        }
    }
    const auto account = as_i32(leading_number(member));
    if (!account) return 0;
    delete_party_guild_pet(app, ui, std::to_string(*id) + ",0,0", *account, 0);
    only_record_changed(renamed, get(party), *id, true, [](std::string_view old_line, auto line) {
        return split(old_line, '\t').size() == split(line, '\t').size();
    });
    return 0;
}
