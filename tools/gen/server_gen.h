#pragma once
// A synthetic eAthena server folder of any size, consistent across its files: accounts and GM
// levels, characters with inventories and carts, account stores, parties, guilds, pets and
// castles, in the line formats the server itself writes. Benchmarks and scale tests use it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tavo::gen {

struct ServerOptions {
    std::filesystem::path out;                // the server folder (db/, save/, conf/ made)
    std::optional<std::filesystem::path> db;  // copy item_db, job_db1 and pet_db from here
    long long accounts = 200;                 // all accounts, the five server accounts included
    std::string generation = "1.0.0";         // "817", ".52" or "1.0.0"
    int gm_accounts = 12;                     // ids from 704554
    double register_share = 0.25;             // accounts with account registers
    double chars_per_account = 1.5;           // average, at most 9 (slots 0-8)
    int inventory_items = 12;                 // items per inventory (at most 100)
    int cart_items = 8;                       // items per cart of a merchant (at most 100)
    double storage_share = 0.4;               // accounts with a store
    int storage_items = 20;                   // most items per store (at most storage_limit)
    int storage_limit = 300;                  // the server's store size: 300, later releases 600
    double forged_share = 0.05;               // forged weapons among the weapons
    bool accounts_only = false;               // no characters, stores or groups
    std::uint64_t seed = 1;
};

struct ServerSummary {
    long long accounts = 0;
    long long characters = 0;
    long long stores = 0;
    long long parties = 0;
    long long guilds = 0;
    long long pets = 0;
};

// Writes the folder with every file a server folder has, empty where there is nothing; fails
// with std::runtime_error when a file cannot be written or the store size is not 300 or 600.
ServerSummary generate_server(const ServerOptions& options);

}  // namespace tavo::gen
