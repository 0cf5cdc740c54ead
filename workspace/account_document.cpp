#include "workspace/account_document.h"

#include "accounts/account_form.h"
#include "accounts/account_merge.h"
#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "app/failure.h"
#include "app/ui.h"

namespace tavo {

bool AccountDocument::load(Ui& ui) {
    const bool loaded = load_account(app_, ui, table_);
    // A batch's GM levels wait for its end, however often the table is read.
    table_.hold_gm_levels = batch_;
    return loaded;
}

bool AccountDocument::load_for_edit(Ui& ui, std::int32_t account_id,
                                    const std::optional<std::string>& name) {
    const bool loaded = load_for_one_edit(app_, ui, account_id, name, table_);
    table_.hold_gm_levels = batch_;
    return loaded;
}

bool AccountDocument::save(Ui& ui) {
    if (batch_) return table_.load_state.allow_write(ui);
    return save_account(app_, ui, table_);
}

ServerGeneration AccountDocument::generation(Ui& ui) {
    if (table_.server_generation != ServerGeneration::Unknown) return table_.server_generation;
    if (!generation_) {
        generation_ = ServerGeneration::Unknown;
        guarded(ui, "load_account", [&] { generation_ = read_server_generation(app_, ui); });
    }
    return *generation_;
}

void AccountDocument::start_batch() {
    batch_ = true;
    table_.hold_gm_levels = true;
}

bool AccountDocument::held() const {
    return batch_ && (modified() || !table_.held_gm_levels.empty());
}

void AccountDocument::stage_held(Ui& ui, FileBatch& files) {
    edited_.clear();
    for (const AccountRecord& record : table_.records) {
        if (record.edited()) edited_.push_back(record.account_id());
    }
    stage_account_save(app_, ui, table_, files, modified());
}

std::vector<std::string> AccountDocument::held_written() {
    account_save_done(app_, table_);
    // An account the batch changed that is no longer Tavo's edit took the file's version.
    std::vector<std::string> kept;
    for (const std::int32_t id : edited_) {
        const std::optional<std::size_t> index = index_of_account(table_, id);
        if (index && !table_.records[*index].edited()) {
            kept.push_back(account_label(table_.records[*index]));
        }
    }
    return kept;
}

}  // namespace tavo
