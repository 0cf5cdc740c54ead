// gen_server: writes a consistent synthetic eAthena server folder of any size.
//   gen_server --out DIR [--accounts N] [--generation 1.0.0|.52|817] [--chars-per-account X]
//              [--items N] [--cart-items N] [--storage-items N] [--storage-limit 300|600]
//              [--forged-share X] [--seed S]

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>

#include "tools/gen/server_gen.h"

// Whole numbers are decimal: CLI11 alone would read "010" as octal.
const CLI::Validator kDecimal(
    [](std::string& text) {
        const std::size_t digit = text.find_first_not_of('0');
        if (text.find_first_not_of("0123456789") != std::string::npos) return std::string();
        text = digit == std::string::npos ? "0" : text.substr(digit);
        return std::string();
    },
    "DECIMAL");

int main(int argc, char** argv) {
    tavo::gen::ServerOptions options;
    std::string db;
    CLI::App app{"Writes a synthetic eAthena server folder (db, save, conf)"};
    app.add_option("--out", options.out, "The server folder to write")->required();
    app.add_option("--db", db, "Copy item_db.txt, job_db1.txt and pet_db.txt from this folder");
    app.add_option("--accounts", options.accounts, "Accounts, the five server accounts included")
        ->transform(kDecimal);
    app.add_option("--generation", options.generation, "Account file generation")
        ->check(CLI::IsMember({"817", ".52", "1.0.0"}));
    app.add_option("--gm-accounts", options.gm_accounts, "GM accounts (ids from 704554)")
        ->transform(kDecimal);
    app.add_option("--register-share", options.register_share, "Share of accounts with registers");
    app.add_option("--chars-per-account", options.chars_per_account,
                   "Characters per account (average, 0-9)");
    app.add_option("--items", options.inventory_items, "Items per inventory (0-100)")
        ->transform(kDecimal);
    app.add_option("--cart-items", options.cart_items, "Items per merchant's cart (0-100)")
        ->transform(kDecimal);
    app.add_option("--storage-share", options.storage_share, "Share of accounts with a store");
    app.add_option("--storage-items", options.storage_items,
                   "Most items per store (1 to the store size)")
        ->transform(kDecimal);
    app.add_option("--storage-limit", options.storage_limit,
                   "The server's store size: 300, or 600 in later releases")
        ->transform(kDecimal)
        ->check(CLI::IsMember({300, 600}));
    app.add_option("--forged-share", options.forged_share, "Share of forged weapons");
    app.add_flag("--accounts-only", options.accounts_only,
                 "Accounts only: no characters, stores or groups");
    app.add_option("--seed", options.seed, "Random seed")->transform(kDecimal);
    CLI11_PARSE(app, argc, argv);
    if (!db.empty()) options.db = db;

    const auto start = std::chrono::steady_clock::now();
    try {
        const tavo::gen::ServerSummary s = tavo::gen::generate_server(options);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf(
            "%s: %lld accounts, %lld characters, %lld stores, %lld parties, %lld guilds, "
            "%lld pets (%.2f s)\n",
            options.out.c_str(), s.accounts, s.characters, s.stores, s.parties, s.guilds, s.pets,
            seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_server: %s\n", e.what());
        return 1;
    }
    return 0;
}
