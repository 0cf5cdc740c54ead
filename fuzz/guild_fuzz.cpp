// save/guild.txt: a guild's name looked up and changed, and a member leaving it (the master
// handing over, the last member taking the guild and its castles along). Every other guild
// goes back byte for byte, and so does every castle of another guild.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const auto guild = put_record_file(app, "save/guild.txt", text_of(data, size));
    if (!guild) return 0;
    const std::string id = std::to_string(guild->id);
    const fs::path castle = app.server_file("save/castle.txt");
    const std::string other = "1," + std::to_string(guild->id == 77 ? 78 : 77) + ",1,2,3";
    put(castle, "0," + id + ",1,2,3\r\n" + other + "\r\n");
    SilentUi ui;
    const std::string read_name = guild_name_of(app, ui, guild->id);
    const std::string renamed =
        check_renamed(*guild, save_guild(app, ui, id, "Renamed", read_name), name_field_renamed);

    const auto char_id = first_member(*guild, 6, 1);  // the first member's character leaves
    if (!char_id) return 0;
    delete_party_guild_pet(app, ui, "0," + id + ",0", 0, *char_id);
    check_member_left(renamed, *guild);
    const std::string castles_after = get(castle);
    const std::vector<std::string_view> castle_lines = lines_of(castles_after);
    FUZZ_CHECK(castle_lines.size() == 2 && castle_lines[1] == other);
    return 0;
}
