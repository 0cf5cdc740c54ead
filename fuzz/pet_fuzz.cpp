// save/pet.txt: a pet's name and class looked up, its name changed, and the pet deleted with
// its owner. Every other pet goes back byte for byte.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const auto id = first_record_id(input);
    if (!id) return 0;
    const fs::path pet = app.server_file("save/pet.txt");
    put(pet, input);
    SilentUi ui;
    find_pet(app, ui, 0, *id);
    const std::string read_name = find_pet(app, ui, 1, *id);

    FUZZ_CHECK(save_pet(app, ui, *id, "Renamed", read_name));
    const std::string renamed = get(pet);
    only_record_changed(input, renamed, *id, false, [](std::string_view old_line, auto line) {
        // The class and everything after the head stay.
        const std::string_view head = piece(old_line, '\t', 0);
        const std::string_view new_head = piece(line, '\t', 0);
        return new_head == std::string(piece(head, ',', 0)) + "," +
                               std::string(piece(head, ',', 1)) + ",Renamed" &&
               line.substr(new_head.size()) == old_line.substr(head.size());
    });

    delete_party_guild_pet(app, ui, "0,0," + std::to_string(*id), 0, 0);
    // The pet is gone, or, when it was not to be deleted (id 0), stays as it was.
    only_record_changed(renamed, get(pet), *id, true, [](auto a, auto b) { return a == b; });
    return 0;
}
