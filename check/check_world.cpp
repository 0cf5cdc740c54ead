#include "check/check_world.h"

#include <algorithm>
#include <fstream>

namespace tavo {
namespace check {

bool ends_lines_in_cr(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char head[1 << 16];
    in.read(head, sizeof head);
    const std::string_view text(head, static_cast<std::size_t>(in.gcount()));
    const std::string_view first = text.substr(0, text.find('\n'));
    const std::size_t cr = first.find('\r');
    return cr != std::string_view::npos && cr + 1 < first.size();
}

std::size_t records_to_expect(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> head(1 << 18);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    const auto read = static_cast<std::size_t>(in.gcount());
    const auto lines =
        static_cast<std::size_t>(std::count(head.begin(), head.begin() + read, '\n'));
    if (read == 0 || lines == 0) return 1;
    const double per_line = static_cast<double>(read) / static_cast<double>(lines);
    const auto length = static_cast<double>(file_length(path));
    return static_cast<std::size_t>(std::min(length / per_line * 1.05, length / 64)) + 1;
}

void note_unreadable_file(World& world, std::string_view file, const Failure& failure) {
    world.found.add(Problem::UnreadableLine, file, 0,
                    "The file cannot be read: " + failure.description() + ".");
}

// The server splits lines at LF only: a file of CR-ended lines is one line to it.
void note_cr_lines(World& world, std::string_view file) {
    world.found.add(Problem::UnreadableLine, file, 1,
                    "The lines of this file end in CR alone: the server reads the whole file as "
                    "one line.");
}

void note_not_a_file(World& world, std::string_view file) {
    world.found.add(Problem::MissingFile, file, 0,
                    "A folder (or something else that is no file) stands where this file belongs: "
                    "the server finds no file here.");
}

}  // namespace check

}  // namespace tavo
