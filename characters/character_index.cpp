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

// Texts longer than an entry can say (a 65,535-byte name) are cut in the index only; the
// line itself is read whole when the character is loaded.
std::uint16_t text_length(std::string_view text) {
    return static_cast<std::uint16_t>(std::min<std::size_t>(text.size(), UINT16_MAX));
}

}  // namespace

void CharacterIndex::add(std::string_view line, std::uint64_t offset,
                         std::string_view (&fields)[4]) {
    CharacterEntry entry;
    const std::string_view slot = piece(fields[1], ',', 1);
    const std::string_view job = piece(fields[3], ',', 0);
    entry.account_id = leading_number(piece(fields[1], ',', 0));
    entry.char_id = leading_number(fields[0]);
    entry.offset = offset;
    entry.length = static_cast<std::uint32_t>(line.size());
    entry.texts = static_cast<std::uint32_t>(texts_.size());
    entry.id_length = text_length(fields[0]);
    entry.slot_length = text_length(slot);
    entry.name_length = text_length(fields[2]);
    entry.class_length = text_length(job);
    texts_.append(fields[0].substr(0, entry.id_length));
    texts_.append(slot.substr(0, entry.slot_length));
    texts_.append(fields[2].substr(0, entry.name_length));
    texts_.append(job.substr(0, entry.class_length));
    highest_ = std::max(highest_, entry.char_id);
    entries_.push_back(entry);
}

CharacterIndex CharacterIndex::build(const fs::path& athena) {
    return build_from(athena, nullptr);
}

CharacterIndex CharacterIndex::build_of_account(const fs::path& athena, double account_id) {
    return build_from(athena, &account_id);
}

CharacterIndex CharacterIndex::build_from(const fs::path& athena, const double* only_account) {
    CharacterIndex index;
    if (!has_content(athena)) return index;
    LineReader reader(athena);
    std::string_view line;
    std::string_view fields[4];
    while (reader.next(line)) {
        if (!leading_fields(line, fields)) continue;
        if (only_account && leading_number(piece(fields[1], ',', 0)) != *only_account) continue;
        index.add(line, reader.line_offset(), fields);
    }
    const auto count = static_cast<std::uint32_t>(index.entries_.size());
    index.by_account_.reserve(count);
    index.by_char_id_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        index.by_account_.emplace_back(index.entries_[i].account_id, i);
        index.by_char_id_.emplace_back(index.entries_[i].char_id, i);
    }
    // The server writes its characters sorted by account; only another order needs a sort.
    for (auto* keys : {&index.by_account_, &index.by_char_id_}) {
        if (!std::is_sorted(keys->begin(), keys->end())) std::sort(keys->begin(), keys->end());
    }
    return index;
}

std::string_view CharacterIndex::id_text(const CharacterEntry& e) const {
    return std::string_view(texts_).substr(e.texts, e.id_length);
}

std::string_view CharacterIndex::slot_text(const CharacterEntry& e) const {
    return std::string_view(texts_).substr(e.texts + e.id_length, e.slot_length);
}

std::string_view CharacterIndex::name(const CharacterEntry& e) const {
    return std::string_view(texts_).substr(e.texts + e.id_length + e.slot_length, e.name_length);
}

std::string_view CharacterIndex::class_text(const CharacterEntry& e) const {
    return std::string_view(texts_).substr(e.texts + e.id_length + e.slot_length + e.name_length,
                                           e.class_length);
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
        if (this->id_text(entries_[it->second]) == id_text) return &entries_[it->second];
    }
    return nullptr;
}

const CharacterEntry* CharacterIndex::first_with_char_id(double char_id) const {
    const auto it = first_of(by_char_id_, char_id);
    return it != by_char_id_.end() && it->first == char_id ? &entries_[it->second] : nullptr;
}

std::optional<std::string_view> character_id_field(std::string_view line) {
    const std::size_t first = line.find('\t');
    if (first == std::string_view::npos || line.find('\t', first + 1) == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(0, first);
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
