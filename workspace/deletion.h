#pragma once
// Deleting characters is one act across the server's files: their lines in athena.txt, their
// places in parties and guilds (a party or guild goes with its last member, a guild's castles
// with the guild), their pets (the one out and those in the eggs they carry), their friend
// lists and their places in others'. "Delete Character", "Del All Chars", account deletion and
// the wipes all go this one way: the characters are decided up front and every file is
// rewritten once, however many they are. Every new file is made first; the renames begin only
// when all are ready, and a failure puts back every file already replaced.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "characters/character_deletion.h"

namespace tavo {

struct Workspace;
class FileBatch;
class Ui;

// The pets inside the eggs of an item list; an item that cannot be read holds none.
std::vector<std::int32_t> egg_pets(std::string_view items);

// athena.txt without the leaving characters, added to the batch (with its backup). The
// characters that leave are returned; when another writer changes their lines or eggs before
// the rename, the batch fails: their releases were made without the change.
std::vector<LeavingCharacter> stage_leaving_characters(const Workspace& ws, FileBatch& batch,
                                                       const LeavingSet& leaving);
// Their parties, guilds, castles, pets (with the further pets given, such as those of a store's
// eggs) and friends, added to the batch.
void stage_releases(const Workspace& ws, Ui& ui, FileBatch& batch,
                    const std::vector<LeavingCharacter>& leaving, std::vector<std::int32_t> pets);

// Runs the stages, which add files to the batch, and commits it. Nothing (success), or what
// failed: the file that could not be written, with why, and what the files are like now
// ("... could not be written. No file was changed.").
std::optional<std::string> commit_deletion(FileBatch& batch, const std::function<void()>& stages);

// Deletes the characters with everything of them. Nothing (success, also when none was found)
// or what failed, as commit_deletion says it. A party, guild, pet or castle that another
// writer changed too is settled by the changed-on-disk guard (asked through ui), and a refusal
// writes no file at all.
std::optional<std::string> delete_characters_files(Workspace& ws, Ui& ui,
                                                   const LeavingSet& leaving);

// One character (delete_char), or every character of an account (delete_user_char).
std::optional<std::string> delete_char(Workspace& ws, Ui& ui, std::int32_t char_id);
std::optional<std::string> delete_user_char(Workspace& ws, Ui& ui, std::int32_t account_id);

}  // namespace tavo
