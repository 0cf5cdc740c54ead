// save/guild.txt: a guild's name looked up and changed, and a member leaving it (the master
// handing over, the last member taking the guild and its castles along). Every other guild
// goes back byte for byte, and so does every castle of another guild.

#include "characters/guild_party_pet.h"
#include "fuzz/record_checks.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const auto id = first_record_id(input);
    if (!id) return 0;
    const fs::path guild = app.server_file("save/guild.txt");
    const fs::path castle = app.server_file("save/castle.txt");
    put(guild, input);
    const std::string other = "1," + std::to_string(*id == 77 ? 78 : 77) + ",1,2,3";
    const std::string castles = "0," + std::to_string(*id) + ",1,2,3\r\n" + other + "\r\n";
    put(castle, castles);
    SilentUi ui;
    const std::string read_name = find_guild(app, ui, *id);

    FUZZ_CHECK(save_guild(app, ui, std::to_string(*id), "Renamed", read_name));
    const std::string renamed = get(guild);
    only_record_changed(input, renamed, *id, false, [](std::string_view old_line, auto line) {
        std::vector<std::string_view> a = split(old_line, '\t'), b = split(line, '\t');
        if (a.size() > 1) a[1] = "Renamed";
        return a == b;
    });

    // The first member's character leaves.
    std::string member;
    for (std::string_view line : lines_of(input)) {
        if (record_id(line) == *id) {
            member = std::string(piece(piece(line, '\t', 6), ',', 1));
            break;
        }
    }
    const auto char_id = as_i32(leading_number(member));
    if (!char_id) return 0;
    delete_party_guild_pet(app, ui, "0," + std::to_string(*id) + ",0", 0, *char_id);
    only_record_changed(renamed, get(guild), *id, true, [](std::string_view old_line, auto line) {
        return split(old_line, '\t').size() == split(line, '\t').size();
    });
    const std::string castles_after = get(castle);
    const std::vector<std::string_view> castle_lines = lines_of(castles_after);
    FUZZ_CHECK(castle_lines.size() == 2 && castle_lines[1] == other);
    return 0;
}
