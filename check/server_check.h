#pragma once
// The check of a whole server folder ("tavo-cli check", "Check Files"): every save file read
// once by the server's own reading rules, listing the lines it cannot read, what crashes it or
// changes silently at its next load or save, and what the files say about each other that
// cannot be true. Nothing is written; repair_server mends only what has one right answer.

#include <cstddef>
#include <string>
#include <string_view>

#include "check/check_findings.h"

namespace tavo {

struct AppContext;
class Ui;

CheckReport check_server(const AppContext& app);

// Lists the repairs in one question, with the records each removes, and, on Yes, makes them:
// each file rewritten once, its old content kept in a backup beside it (save/party.bak.txt),
// every other line byte for byte. A file changed since the check is left alone, with a message.
// No finding rests on a file read only in part; and nothing is repaired, with a message instead
// of the question, when stores would go while the account file holds no player account.
// Returns how many were made.
std::size_t repair_server(const AppContext& app, Ui& ui, const CheckReport& report);

// The backup name of a save file: save/party.txt gives save/party.bak.txt.
std::string backup_name(std::string_view file);

}  // namespace tavo
