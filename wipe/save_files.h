#pragma once
// The server's save files as the wipes leave them. An emptied file stays in place with 0 bytes,
// as in a fresh save folder: the char server opens friends.txt and storage.txt without checking
// and crashes when one of them is missing.

#include <string_view>

namespace tavo {

struct AppContext;

// Empties the save file (a name such as "save/friends.txt"), creating it when it is missing.
// The file is replaced atomically and never removed; on failure it is as it was and a Failure
// is thrown.
void empty_save_file(const AppContext& app, std::string_view relative);

}  // namespace tavo
