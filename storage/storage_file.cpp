#include "storage/storage_file.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {

bool write_storage_without(const AppContext& app, AtomicWriter& out, std::int32_t account_id) {
    LineReader in(app.server_file("save/storage.txt"));
    bool found = false;
    std::string_view line;
    while (in.next(line)) {
        const std::string_view head = piece(piece(line, '\t', 0), ',', 0);
        if (leading_number(head) == account_id) {
            found = true;
        } else {
            out.write_line(line);
        }
    }
    return found;
}

bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id) {
    const fs::path storage = app.server_file("save/storage.txt");
    if (!file_exists(storage)) return true;
    return guarded(ui, "delete_user_storage", [&] {
        AtomicWriter out = app.files.open(storage);
        write_storage_without(app, out, account_id);
        out.commit(app.server_file("save/storage.bak.txt"));
    });
}

}  // namespace tavo
