#include "wipe/save_files.h"

#include "app/settings.h"

namespace tavo {

void empty_save_file(const AppContext& app, std::string_view relative) {
    app.files.rewrite(app.server_file(relative), {});
}

}  // namespace tavo
