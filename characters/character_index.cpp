#include "characters/character_index.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {
namespace {

using Key = std::pair<double, std::uint32_t>;

// The first four TAB-separated fields; false for a line of fewer than three fields.
bool leading_fields(std::string_view line, std::string_view (&fields)[4]) {
    std::size_t start = 0;
    int found = 0;
    while (found < 4) {
        const std::size_t tab = line.find('\t', start);
        fields[found++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (found < 3) return false;
    if (found == 3) fields[3] = {};
    return true;
}

std::vector<Key>::const_iterator first_of(const std::vector<Key>& keys, double value) {
    return std::lower_bound(keys.begin(), keys.end(), Key{value, 0});
}

}  // namespace

CharacterIndex CharacterIndex::build(const fs::path& athena) {
    CharacterIndex index;
    if (!file_exists(athena) || file_length(athena) == 0) return index;
    LineReader reader(athena);
    std::string_view line;
    std::string_view fields[4];
    while (reader.next(line)) {
        if (!leading_fields(line, fields)) continue;
        CharacterEntry entry;
        entry.id_text = fields[0];
        entry.slot_text = piece(fields[1], ',', 1);
        entry.name = fields[2];
        entry.class_text = piece(fields[3], ',', 0);
        entry.account_id = leading_number(piece(fields[1], ',', 0));
        entry.char_id = leading_number(fields[0]);
        entry.offset = reader.line_offset();
        entry.length = static_cast<std::uint32_t>(line.size());
        index.highest_ = std::max(index.highest_, entry.char_id);
        index.entries_.push_back(std::move(entry));
    }
    const auto count = static_cast<std::uint32_t>(index.entries_.size());
    index.by_account_.reserve(count);
    index.by_char_id_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        index.by_account_.emplace_back(index.entries_[i].account_id, i);
        index.by_char_id_.emplace_back(index.entries_[i].char_id, i);
    }
    std::sort(index.by_account_.begin(), index.by_account_.end());
    std::sort(index.by_char_id_.begin(), index.by_char_id_.end());
    return index;
}

std::vector<const CharacterEntry*> CharacterIndex::of_account(double account_id) const {
    std::vector<const CharacterEntry*> found;
    for (auto it = first_of(by_account_, account_id);
         it != by_account_.end() && it->first == account_id; ++it) {
        found.push_back(&entries_[it->second]);
    }
    return found;
}

const CharacterEntry* CharacterIndex::first_with_id_text(std::string_view id_text) const {
    // Every such line holds the number of id_text; the first of them written exactly so wins.
    const double number = leading_number(id_text);
    for (auto it = first_of(by_char_id_, number); it != by_char_id_.end() && it->first == number;
         ++it) {
        if (entries_[it->second].id_text == id_text) return &entries_[it->second];
    }
    return nullptr;
}

const CharacterEntry* CharacterIndex::first_with_char_id(double char_id) const {
    const auto it = first_of(by_char_id_, char_id);
    return it != by_char_id_.end() && it->first == char_id ? &entries_[it->second] : nullptr;
}

std::string read_line_at(const fs::path& path, std::uint64_t offset, std::uint32_t length) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw failure_from_errno(errno);
    std::string line(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(fd, line.data() + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            const int error = got < 0 ? errno : EIO;
            ::close(fd);
            throw failure_from_errno(error);
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return line;
}

}  // namespace tavo
