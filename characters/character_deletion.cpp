#include "characters/character_deletion.h"

#include <algorithm>

#include "app/failure.h"
#include "app/file_batch.h"
#include "app/newid.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/character_index.h"

namespace tavo {

std::vector<LeavingCharacter> write_without_account(const AppContext& app, AtomicWriter& out,
                                                    ServerGeneration server_generation,
                                                    std::int32_t account_id) {
    std::vector<LeavingCharacter> leaving;
    LineReader in(app.server_file("save/athena.txt"));
    double highest = 0;
    NewIdCounter counter;
    std::string_view line;
    while (in.next(line)) {
        const std::optional<std::string_view> id = character_id_field(line);
        // A %newid% line stays where it is, as every line that is no character.
        if (!id) counter.take(line);
        if (id) {
            const std::string_view account = piece(piece(line, '\t', 1), ',', 0);
            if (leading_number(account) == account_id) {
                std::string items(piece(line, '\t', 15));
                items.append(1, ' ').append(piece(line, '\t', 16));
                leaving.push_back({to_i32(leading_number(*id)), std::string(piece(line, '\t', 9)),
                                   std::move(items)});
                continue;
            }
            highest = std::max(highest, leading_number(*id));
        }
        out.write_line(line);  // lines that are not characters stay in their place
    }
    if (writes_newid_line(server_generation) && !counter.seen()) {
        out.write_line(counter.line_after_read(highest));
    }
    return leaving;
}

bool delete_user_char(const AppContext& app, Ui& ui, ServerGeneration server_generation,
                      std::int32_t account_id) {
    const fs::path athena = app.server_file("save/athena.txt");
    if (!file_exists(athena)) return true;
    return guarded(ui, "delete_user_char", [&] {
        const auto make = [&](AtomicWriter& out) {
            write_without_account(app, out, server_generation, account_id);
            return true;
        };
        rewrite_from_disk(app.files, athena, make, app.server_file("save/athena.bak.txt"));
    });
}

}  // namespace tavo
