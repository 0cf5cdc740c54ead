#pragma once
// The guild, party, pet and castle records a character refers to (save/guild.txt,
// save/party.txt, save/pet.txt, save/castle.txt): names looked up and changed, and a deleted
// character's ties released. Every change rewrites its whole file at once, without a backup.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct AppContext;
class FileBatch;
class Ui;

// One of party.txt, guild.txt, pet.txt and castle.txt held as lines while releases change it.
// A file without content is never written. Another writer may change the file before the lines
// are written: what was read is kept to put the changes onto the file as it is then.
struct TieFile {
    const char* name = "";
    const char* kind = "";  // how a record is named in a question: "Party"
    bool changed = false;
    std::vector<std::string> lines;
    std::vector<std::string> read;
};

// One release, kept to be made again on the files as another writer left them.
struct TieRelease {
    double party_id = 0;
    double guild_id = 0;
    double pet_id = 0;
    std::int32_t account_id = 0;
    std::int32_t char_id = 0;
};

// The four files a character's ties live in, read once for a deletion of many characters and
// written together with the rest of it, with the releases made on them.
struct CharacterTies {
    TieFile party{"save/party.txt", "Party", false, {}, {}};
    TieFile guild{"save/guild.txt", "Guild", false, {}, {}};
    TieFile pet{"save/pet.txt", "Pet", false, {}, {}};
    TieFile castle{"save/castle.txt", "Castle", false, {}, {}};
    std::vector<TieRelease> releases;
};
CharacterTies read_character_ties(const AppContext& app);
// The changed files go into the batch; the others stay as they are. When another writer changed
// any of the files since they were read, the releases are made again on the files as they are
// now, so that whichever version of a record is kept, the leaving characters and pets are gone
// from it. A file another writer changed keeps that writer's records; a record both changed is
// settled by the changed-on-disk guard between Tavo's version and the other writer's released
// one. All this is done again for a file that changes before its rename; a refusal fails the
// batch, which then puts back every file it already replaced.
void stage_character_ties(const AppContext& app, Ui& ui, const CharacterTies& ties,
                          FileBatch& batch);

// The guild's name: "No Guild" for id 0, "Guild [id]" when guild.txt has no such guild.
std::string guild_name_of(const AppContext& app, Ui& ui, std::int32_t guild_id);
// The party's name: "No Party" for "0", "Party [id]" when party.txt has no such party.
std::string party_name_of(const AppContext& app, Ui& ui, std::string_view party_id);
// The pet's name, and its class (monster id) as pet.txt holds it. "No Pet" for id 0,
// "No Name [id]" when pet.txt has no such pet.
std::string pet_name_of(const AppContext& app, Ui& ui, std::int32_t pet_id);
std::string pet_class_of(const AppContext& app, Ui& ui, std::int32_t pet_id);
// Whether pet.txt holds the pet (a missing file holds none); fails when it cannot be read.
bool pet_exists(const AppContext& app, std::int32_t pet_id);

// Renames every line of that id. `read_name` is the name as Tavo read it: a name another
// writer gave since then stays when Tavo's is the one read, and the changed-on-disk guard
// settles it when both changed. A name that would break the line (TAB, CR or LF) is refused
// with a message and nothing is written. Returns the name the file holds afterwards, or
// nothing when refused, when the record is no longer there, or when the file could not be
// written.
std::optional<std::string> save_guild(const AppContext& app, Ui& ui, std::string_view guild_id,
                                      std::string_view new_name, std::string_view read_name);
std::optional<std::string> save_party(const AppContext& app, Ui& ui, std::string_view party_id,
                                      std::string_view new_name, std::string_view read_name);
std::optional<std::string> save_pet(const AppContext& app, Ui& ui, std::int32_t pet_id,
                                    std::string_view new_name, std::string_view read_name);

// Releases a character about to be deleted: it leaves its party and guild (the last member
// takes the party or guild with it, a guild's castles are given up; a leader or master hands
// over to the first remaining member) and its pet is deleted. Other pets that name it as their
// owner (eggs it handed on) stay with their account and no character. `party_guild_pet` is field 9
// of the character line.
void delete_party_guild_pet(const AppContext& app, Ui& ui, std::string_view party_guild_pet,
                            std::int32_t account_id, std::int32_t char_id);
// The same release on lines in memory.
void release_character(CharacterTies& ties, std::string_view party_guild_pet,
                       std::int32_t account_id, std::int32_t char_id);
// The pet record of an egg that leaves with its holder is deleted.
void release_pet(CharacterTies& ties, std::int32_t pet_id);

// Gives up the castles of a guild: every castle it holds keeps its id, all else becomes 0.
void clear_guild_castles(const AppContext& app, Ui& ui, std::int32_t guild_id);

}  // namespace tavo
