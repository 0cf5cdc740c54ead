#include "workspace/account_deletion.h"

#include <memory>

#include "accounts/account_form.h"
#include "accounts/account_write.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "storage/storage_file.h"
#include "workspace/deletion.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

constexpr const char* kStorage = "save/storage.txt";
constexpr const char* kAccountRegisters = "save/accreg.txt";

// A store that another writer changed meanwhile: the releases were made without its eggs.
[[noreturn]] void store_changed() {
    throw Failure(err::kPathFileAccess,
                  "The account's store changed on disk while it was being deleted");
}

// Each stage adds a file the deletion changes; its content is made from the file on disk, and
// made again when another writer changes the file before its rename. A missing file has
// nothing of the account; a folder in its place fails the deletion.
void stage_account_line(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_missing(path)) return;
    batch.add(path, std::string(kAccountFile),
              [&app, id](AtomicWriter& out) { return write_account_file_without(app, out, id); });
}

// The pets of the store's eggs.
std::vector<std::int32_t> stage_storage(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kStorage);
    if (is_missing(path)) return {};
    auto eggs = std::make_shared<std::optional<std::vector<std::int32_t>>>();
    const auto make = [&app, id, eggs](AtomicWriter& out) {
        const std::optional<std::string> items = write_storage_without(app, out, id);
        std::vector<std::int32_t> now = egg_pets(items.value_or(std::string()));
        if (*eggs && **eggs != now) store_changed();
        *eggs = std::move(now);
        return items.has_value();
    };
    batch.add(path, kStorage, make, app.server_file("save/storage.bak.txt"));
    return eggs->value_or(std::vector<std::int32_t>{});
}

// save/accreg.txt: "account_id TAB name,value ..." for the accounts with registers.
void stage_account_registers(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountRegisters);
    if (is_missing(path)) return;
    batch.add(path, kAccountRegisters, [path, id](AtomicWriter& out) {
        LineReader in(path);
        bool found = false;
        std::string_view line;
        while (in.next(line)) {
            if (!line.starts_with("//") && leading_number(piece(line, '\t', 0)) == id) {
                found = true;
                continue;
            }
            out.write_line(line, in.line_break());
        }
        return found;
    });
}

void stage_gm_entry(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kGmFile);
    if (is_missing(path)) return;
    batch.add(path, std::string(kGmFile), [path, id](AtomicWriter& out) {
        const auto lines = remove_gm_entry_lines(read_lines(path), id);
        if (!lines) return false;
        for (const std::string& line : *lines) out.write_line(line);
        return true;
    });
}

}  // namespace

std::optional<std::string> delete_account_files(Workspace& ws, Ui& ui, std::int32_t account_id) {
    const AppContext& app = ws.app;
    FileBatch batch(app.files);
    LeavingSet leaving;
    leaving.add_account(account_id);
    return commit_deletion(batch, [&] {
        stage_account_line(app, batch, account_id);
        const std::vector<LeavingCharacter> left = stage_leaving_characters(ws, batch, leaving);
        std::vector<std::int32_t> store_eggs = stage_storage(app, batch, account_id);
        stage_releases(ws, ui, batch, left, std::move(store_eggs));
        stage_account_registers(app, batch, account_id);
        stage_gm_entry(app, batch, account_id);
    });
}

std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool confirmed) {
    AccountTable& table = ws.accounts.table();
    if (index >= table.records.size()) return std::nullopt;
    // The account table is rewritten without the account: refused before anything else goes.
    if (!table.load_state.allow_write(ui)) return std::nullopt;
    if (!confirmed && !confirm_account_deletion(ui, table.records[index])) return std::nullopt;
    const std::int32_t id = table.records[index].account_id();
    if (const std::optional<std::string> failed = delete_account_files(ws, ui, id)) {
        ui.message("The account " + std::to_string(id) + " was not deleted: " + *failed, "Tavo",
                   Icon::Warning);
        return std::nullopt;
    }
    // The file already lacks the account: whether the table still differs from the file is
    // up to its other edits.
    const bool modified = table.modified.get();
    table.unsaved_accounts.erase(id);
    const std::size_t next = remove_account(table, index);
    table.modified = modified;
    return next;
}

}  // namespace tavo
