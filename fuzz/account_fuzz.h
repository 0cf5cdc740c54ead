#pragma once
// save/account.txt of one generation: the file is read, written back untouched and read
// again; then every account is rebuilt from its fields, written and read once more. The
// including target names the line that settles its generation (TAVO_FUZZ_GENERATION_LINE).

#include <algorithm>

#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "fuzz/fuzz_support.h"

namespace tavo::fuzz {

inline void same_table(const AccountTable& a, const AccountTable& b) {
    FUZZ_CHECK(a.server_generation == b.server_generation);
    FUZZ_CHECK(a.records.size() == b.records.size());
    FUZZ_CHECK(a.kept_lines.size() == b.kept_lines.size());
    for (std::size_t i = 0; i < a.kept_lines.size(); ++i) {
        FUZZ_CHECK(a.kept_lines[i].text == b.kept_lines[i].text);
        FUZZ_CHECK(a.kept_lines[i].before == b.kept_lines[i].before);
    }
}

// What the server reads of an account must survive a rebuild.
inline void same_accounts(const AccountTable& a, const AccountTable& b) {
    same_table(a, b);
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        const AccountRecord& x = a.records[i];
        const AccountRecord& y = b.records[i];
        FUZZ_CHECK(x.account_id() == y.account_id());
        FUZZ_CHECK(x.userid() == y.userid());
        FUZZ_CHECK(x.pass() == y.pass());
        FUZZ_CHECK(x.sex() == y.sex());
        FUZZ_CHECK(x.state() == y.state());
        FUZZ_CHECK(x.logincount() == y.logincount());
        FUZZ_CHECK(x.connect_until() == y.connect_until());
        FUZZ_CHECK(x.ban_until() == y.ban_until());
        FUZZ_CHECK(x.regs() == y.regs());
    }
}

// A file without comments gets the server's header on its first save, and a later server's
// file without a %newid% line gets one at its end; the rest of the table must be as it was.
inline AccountTable without_added_header(const AccountTable& before, AccountTable after) {
    const auto counter = [](const KeptLine& kept) { return kept.newid; };
    if (std::none_of(before.kept_lines.begin(), before.kept_lines.end(), counter)) {
        std::erase_if(after.kept_lines, counter);
    }
    if (before.has_header) return after;
    const std::vector<std::string_view>& header = account_file_header();
    FUZZ_CHECK(after.has_header && after.kept_lines.size() >= header.size());
    for (std::size_t i = 0; i < header.size(); ++i) {
        FUZZ_CHECK(after.kept_lines[i].text == header[i] && after.kept_lines[i].before == 0);
    }
    after.kept_lines.erase(after.kept_lines.begin(),
                           after.kept_lines.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return after;
}

inline AccountTable load(const AppContext& app) {
    SilentUi ui;
    AccountTable table;
    FUZZ_CHECK(load_account(app, ui, table));
    return table;
}

inline void save(const AppContext& app, AccountTable& table) {
    SilentUi ui;
    FUZZ_CHECK(save_account(app, ui, table));
}

inline int fuzz_account_file(std::string_view input, std::string_view generation_line) {
    static const AppContext app = scratch_app();
    const fs::path path = app.server_file(kAccountFile);
    std::string file(input);
    file += generation_line;
    put(path, file);
    AccountTable first = load(app);
    // Without an account line the table holds the default accounts: nothing was read.
    if (!first.image || first.records.empty() || first.records.front().edited()) return 0;
    for (const AccountRecord& record : first.records) {
        FUZZ_CHECK(!record.edited());
        FUZZ_CHECK(account_line(record, first.server_generation) == record.line());
    }
    save(app, first);
    const AccountTable second = load(app);
    same_table(first, without_added_header(first, second));
    for (std::size_t i = 0; i < first.records.size(); ++i) {
        FUZZ_CHECK(first.records[i].line() == second.records[i].line());
    }

    AccountTable rebuilt = second;
    for (AccountRecord& record : rebuilt.records) record.assign(record.fields());
    save(app, rebuilt);
    AccountTable third = load(app);
    same_accounts(second, third);
    // A rebuilt line is rebuilt to itself.
    const std::string written = get(path);
    for (AccountRecord& record : third.records) record.assign(record.fields());
    save(app, third);
    FUZZ_CHECK(get(path) == written);
    return 0;
}

}  // namespace tavo::fuzz
