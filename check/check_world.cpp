#include "check/check_world.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

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

bool readable_by_lines(World& world, std::string_view file) {
    const fs::path path = world.app.server_file(file);
    world.report.stamps.emplace_back(std::string(file), stamp_of(path));
    if (!file_exists(path)) {
        if (!is_missing(path)) note_not_a_file(world, file);
        return false;
    }
    if (ends_lines_in_cr(path)) {
        note_cr_lines(world, file);
        return false;
    }
    return true;
}

std::uint64_t line_start_from(const fs::path& path, std::uint64_t near) {
    const std::uint64_t length = file_length(path);
    if (near == 0 || near >= length) return std::min(near, length);
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(near - 1));
    std::vector<char> window(1 << 16);
    for (std::uint64_t at = near - 1; in;) {
        in.read(window.data(), static_cast<std::streamsize>(window.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        const void* lf = std::memchr(window.data(), '\n', got);
        if (lf != nullptr)
            return at + static_cast<std::size_t>(static_cast<const char*>(lf) - window.data()) + 1;
        at += got;
    }
    return length;
}

std::uint64_t character_parts_meet(const fs::path& path) {
    return line_start_from(path, file_length(path) / 32 * 15);
}

void World::take_groups(World& groups) {
    parties_read = groups.parties_read;
    party_ids = std::move(groups.party_ids);
    guilds_read = groups.guilds_read;
    guild_ids = std::move(groups.guild_ids);
    members = std::move(groups.members);
    kept = std::move(groups.kept);
    std::move(groups.found.findings.begin(), groups.found.findings.end(),
              std::back_inserter(found.findings));
    std::move(groups.report.stamps.begin(), groups.report.stamps.end(),
              std::back_inserter(report.stamps));
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
