// The server check of what interrupted rewrites leave beside the files they rewrite.

#include <algorithm>

#include "app/file_writer.h"
#include "check/check_world.h"

namespace tavo::check {
namespace {

std::string size_text(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKiB = 1024;
    if (bytes < 10 * kKiB) return std::to_string(bytes) + " bytes";
    if (bytes < 10 * kKiB * kKiB) return std::to_string(bytes / kKiB) + " KB";
    return std::to_string(bytes / (kKiB * kKiB)) + " MB";
}

std::string leftover_text(const Leftover& leftover, const std::string& of, std::uintmax_t bytes) {
    if (leftover.old_content) {
        return "The content of " + of + " from before a write that was cut off (" +
               size_text(bytes) + "). Should " + of +
               " miss anything, it is here; otherwise it can go.";
    }
    return "A temporary file left by a write of " + of + " that was cut off (" + size_text(bytes) +
           "). " + of + " itself is whole; this can go.";
}

}  // namespace

void check_leftovers(World& world) {
    for (const std::string_view folder : {std::string_view("save"), std::string_view("conf")}) {
        std::vector<std::string> names;
        std::error_code ec;
        const fs::path path = world.app.server_file(folder);
        for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::optional<Leftover> leftover = leftover_of(name);
            if (!leftover) continue;
            const std::string file = std::string(folder) + "/" + name;
            const fs::path at = path / name;
            world.report.stamps.emplace_back(file, stamp_of(at));
            world.found.add(
                Problem::LeftoverFile, file, 0,
                leftover_text(*leftover, std::string(folder) + "/" + leftover->of, file_length(at)),
                Repair{Repair::Edit::RemoveFile, 0, 0, "remove it", {}});
        }
    }
}

}  // namespace tavo::check
