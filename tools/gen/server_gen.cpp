#include "tools/gen/server_gen.h"

#include "tools/gen/gen_db.h"
#include "tools/gen/gen_world.h"

namespace tavo::gen {
namespace {

void copy_or_write_db(const ServerOptions& options) {
    const fs::path db = options.out / "db";
    if (!options.db) {
        write_db(db);
        return;
    }
    for (const char* name : {"item_db.txt", "job_db1.txt", "pet_db.txt"}) {
        fs::copy_file(*options.db / name, db / name, fs::copy_options::overwrite_existing);
    }
}

void write_empty(const fs::path& file) {
    Out out(file);
}

}  // namespace

ServerSummary generate_server(const ServerOptions& options) {
    if (options.storage_limit != 300 && options.storage_limit != 600) {
        throw std::runtime_error("the store size is 300 or 600 items");
    }
    for (const char* folder : {"db", "save", "conf"}) fs::create_directories(options.out / folder);
    Rng rng(options.seed);
    ServerSummary summary;
    World world = plan_accounts(options, rng);
    summary.accounts = static_cast<long long>(world.accounts.size());
    write_accounts(options, world, rng);
    write_gm_file(options, world);

    copy_or_write_db(options);
    {
        Out conf(options.out / "conf" / "battle_athena.conf");
        conf << "// battle configuration\nmax_parameter: 99\nmax_cart_weight: 8000\n";
    }
    // Without characters every other save file is still written: the server wants them all.
    if (!options.accounts_only) plan_characters(options, world, rng);
    write_characters(options, world, rng);
    ServerOptions stores = options;
    if (options.accounts_only) stores.storage_share = 0;
    write_storage(stores, world, rng, summary.stores);
    write_groups_pets_castles(options, world, rng);
    // The char server opens friends.txt without checking and crashes when it is missing.
    for (const char* name : {"friends.txt", "g_storage.txt", "accreg.txt", "mapreg.txt"})
        write_empty(options.out / "save" / name);
    summary.characters = static_cast<long long>(world.chars.size());
    summary.parties = static_cast<long long>(world.parties.size());
    summary.guilds = static_cast<long long>(world.guilds.size());
    summary.pets = static_cast<long long>(world.pets.size());
    return summary;
}

}  // namespace tavo::gen
