// save/pet.txt: a pet's name and class looked up, its name changed, and the pet deleted with
// its owner. Every other pet goes back byte for byte.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const auto pet = put_record_file(app, "save/pet.txt", text_of(data, size));
    if (!pet) return 0;
    SilentUi ui;
    pet_class_of(app, ui, pet->id);
    const std::string read_name = pet_name_of(app, ui, pet->id);
    const auto renamed_head = [](std::string_view old_line, std::string_view line) {
        // The class and everything after the head stay.
        const std::string_view head = piece(old_line, '\t', 0);
        const std::string_view new_head = piece(line, '\t', 0);
        return new_head == std::string(piece(head, ',', 0)) + "," +
                               std::string(piece(head, ',', 1)) + ",Renamed" &&
               line.substr(new_head.size()) == old_line.substr(head.size());
    };
    const std::string renamed =
        check_renamed(*pet, save_pet(app, ui, pet->id, "Renamed", read_name), renamed_head);

    delete_party_guild_pet(app, ui, "0,0," + std::to_string(pet->id), 0, 0);
    // The pet is gone, or, when it was not to be deleted (id 0), stays as it was.
    only_record_changed(renamed, get(pet->path), pet->id, true,
                        [](auto a, auto b) { return a == b; });
    return 0;
}
