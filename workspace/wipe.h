#pragma once
// The server wipes, on the files under save/ rather than on the records the window holds:
//   full   every save file emptied, the castle table reset;
//   users  idle accounts, or those of an IP, with their characters, stores and registers;
//   chars  characters by job family;
//   items  inventories, carts, memo points, skills, variables, zeny, Kafra and guild stores.
// A wipe first decides everything in one pass (the plan: what goes, by id, and the counts the
// question shows), then rewrites each file it changes once, all of them or none, after copying
// each into save/backup-YYYYMMDD-HHMMSS/. Deleted characters leave their parties, guilds,
// castles, pets and friends the way a single deletion does; removed eggs take their pets along.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "workspace/wipe_rules.h"

namespace tavo {

struct Workspace;
class Ui;

enum class WipeKind { Full, Users, Chars, Items };

struct WipeRequest {
    WipeKind kind = WipeKind::Full;
    UserRules users;
    bool spare_gm_chars = true;
    std::array<bool, kWipeFamilyCount> families{};
    ItemRules items;
};

// What a wipe will do, decided before anything is written.
struct WipePlan {
    WipeKind kind = WipeKind::Full;
    std::vector<std::int32_t> accounts;    // deleted
    std::vector<std::int32_t> characters;  // deleted
    std::vector<std::int32_t> stores;      // deleted Kafra stores, by account
    long long changed_characters = 0;      // characters an item wipe changes
    std::vector<std::string> files;        // the files it rewrites or empties ("save/pet.txt")
};

// The decision pass, with the progress window. Fails (Failure naming the file) when a file
// cannot be read.
WipePlan plan_wipe(const Workspace& ws, Ui& ui, const WipeRequest& request);

// "N accounts, M characters and K stores will be deleted."
std::string deleted_counts(const WipePlan& plan);

struct WipeDone {
    std::filesystem::path backup_folder;  // empty when nothing needed a change
    std::vector<std::string> files;       // the files rewritten or emptied
};

// Carries the plan out. The wipe is the plan's: the accounts and characters decided, not those
// a new reading would pick. Nothing (success, `done` filled) or what failed; then no file was
// changed and the backup folder, when made, holds the files as they were.
std::optional<std::string> run_wipe(Workspace& ws, Ui& ui, const WipeRequest& request,
                                    const WipePlan& plan, WipeDone& done);

// The message after a wipe: what changed and where the old files are.
std::string wipe_done_message(const WipePlan& plan, const WipeDone& done);

}  // namespace tavo
