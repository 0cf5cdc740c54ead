#include "characters/character_deletion.h"

#include <algorithm>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {

bool delete_user_char(const AppContext& app, Ui& ui, std::string_view server_generation,
                      std::int32_t account_id) {
    const fs::path athena = app.server_file("save/athena.txt");
    if (!file_exists(athena)) return true;
    return guarded(ui, "delete_user_char", [&] {
        LineReader in(athena);
        AtomicWriter out = app.files.open(athena);
        double highest = 0;
        std::string_view line;
        while (in.next(line)) {
            const std::size_t first = line.find('\t');
            if (first == std::string_view::npos ||
                line.find('\t', first + 1) == std::string_view::npos) {
                continue;
            }
            const std::string_view account = piece(line.substr(first + 1), ',', 0);
            if (leading_number(account) == account_id) continue;
            highest = std::max(highest, leading_number(line.substr(0, first)));
            out.write_line(line);
        }
        if (server_generation == ".52" || server_generation == "1.0.0") {
            out.write_line(std::to_string(static_cast<long long>(highest) + 1) + "\t%newid%");
        }
        out.commit(app.server_file("save/athena.bak.txt"));
    });
}

}  // namespace tavo
