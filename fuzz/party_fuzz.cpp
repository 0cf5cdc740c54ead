// save/party.txt: a party's name looked up and changed, and a member leaving it. Every other
// party goes back byte for byte.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const auto party = put_record_file(app, "save/party.txt", text_of(data, size));
    if (!party) return 0;
    const std::string id = std::to_string(party->id);
    SilentUi ui;
    const std::string read_name = party_name_of(app, ui, id);
    const std::string renamed =
        check_renamed(*party, save_party(app, ui, id, "Renamed", read_name), name_field_renamed);

    const auto account = first_member(*party, 3, 0);  // the first member's account leaves
    if (!account) return 0;
    delete_party_guild_pet(app, ui, id + ",0,0", *account, 0);
    check_member_left(renamed, *party);
    return 0;
}
