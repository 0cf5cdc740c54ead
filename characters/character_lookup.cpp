#include "characters/character_lookup.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {
namespace {

// A name as the index keeps it.
std::string indexed_name(std::string_view line) {
    const std::string_view name = piece(line, '\t', 2);
    return std::string(name.substr(0, std::min<std::size_t>(name.size(), UINT16_MAX)));
}

}  // namespace

// A pass over athena.txt that reads as far as its questions need. It notes where each line it
// passed starts and which character id it holds, so that a later question looks there first and
// then reads on from where the pass stopped.
class CharacterScan {
public:
    explicit CharacterScan(const fs::path& athena)
        : path_(athena), stamp_(stamp_of(athena)), reader_(athena) {}

    // The file is as it was when the pass began.
    bool current() const { return stamp_of(path_) == stamp_; }

    std::optional<std::string> line_with_id(std::string_view id_text) {
        const double number = leading_number(id_text);
        for (const Passed& passed : passed_) {
            if (passed.char_id != number) continue;
            std::string line = read_line_at(path_, passed.offset, passed.length);
            if (character_id_field(line) == id_text) return line;
        }
        std::string_view line;
        while (read_on(line)) {
            if (line.size() > id_text.size() && line.starts_with(id_text) &&
                line[id_text.size()] == '\t') {
                return std::string(line);
            }
        }
        return std::nullopt;
    }

    void find_names(const std::vector<std::int32_t>& char_ids) {
        std::unordered_set<double> wanted;
        for (const std::int32_t id : char_ids) {
            if (!names_.contains(id)) wanted.insert(id);
        }
        if (wanted.empty()) return;
        for (const Passed& passed : passed_) {
            if (wanted.empty()) return;
            if (wanted.erase(passed.char_id) == 0) continue;
            const std::string line = read_line_at(path_, passed.offset, passed.length);
            names_.emplace(static_cast<std::int32_t>(passed.char_id), indexed_name(line));
        }
        std::string_view line;
        while (!wanted.empty() && read_on(line)) {
            const double id = passed_.back().char_id;
            if (wanted.erase(id) > 0)
                names_.emplace(static_cast<std::int32_t>(id), indexed_name(line));
        }
        for (const double id : wanted) names_.emplace(static_cast<std::int32_t>(id), std::nullopt);
    }

    std::optional<std::string> name_of(std::int32_t char_id) {
        find_names({char_id});
        return names_.at(char_id);
    }

private:
    struct Passed {
        double char_id = 0;
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
    };

    // The next character line (three fields at least), noted as passed; false at the end.
    bool read_on(std::string_view& line) {
        while (reader_.next(line)) {
            const std::optional<std::string_view> id = character_id_field(line);
            if (!id) continue;
            passed_.push_back({leading_number(*id), reader_.line_offset(),
                               static_cast<std::uint32_t>(line.size())});
            return true;
        }
        return false;
    }

    fs::path path_;
    std::optional<FileStamp> stamp_;
    LineReader reader_;
    std::vector<Passed> passed_;
    std::unordered_map<std::int32_t, std::optional<std::string>> names_;
};

CharacterLookup::CharacterLookup() = default;
CharacterLookup::~CharacterLookup() = default;
CharacterLookup::CharacterLookup(CharacterLookup&&) noexcept = default;
CharacterLookup& CharacterLookup::operator=(CharacterLookup&&) noexcept = default;

const CharacterIndex& CharacterLookup::index(const fs::path& athena) {
    return index_.get(athena, CharacterIndex::build);
}

const CharacterIndex& CharacterLookup::of_account(const fs::path& athena, double account_id) {
    if (!lazy_ || index_.holds(athena)) return index(athena);
    if (account_id != account_id_) account_.forget();
    account_id_ = account_id;
    return account_.get(athena, [account_id](const fs::path& path) {
        return CharacterIndex::build_of_account(path, account_id);
    });
}

CharacterScan& CharacterLookup::scan(const fs::path& athena) {
    if (!scan_ || !scan_->current()) {
        scan_.reset();
        scan_ = std::make_unique<CharacterScan>(athena);
    }
    return *scan_;
}

std::optional<std::string> CharacterLookup::line_with_id(const fs::path& athena,
                                                         std::string_view id_text) {
    if (!has_content(athena)) return std::nullopt;
    if (lazy_ && !index_.holds(athena)) return scan(athena).line_with_id(id_text);
    const CharacterEntry* entry = index(athena).first_with_id_text(id_text);
    if (entry == nullptr) return std::nullopt;
    return read_line_at(athena, entry->offset, entry->length);
}

std::optional<std::string> CharacterLookup::name_of(const fs::path& athena, std::int32_t char_id) {
    if (!has_content(athena)) return std::nullopt;
    if (lazy_ && !index_.holds(athena)) return scan(athena).name_of(char_id);
    const CharacterIndex& all = index(athena);
    const CharacterEntry* entry = all.first_with_char_id(char_id);
    if (entry == nullptr) return std::nullopt;
    return std::string(all.name(*entry));
}

void CharacterLookup::find_names(const fs::path& athena,
                                 const std::vector<std::int32_t>& char_ids) {
    if (char_ids.empty() || !lazy_ || index_.holds(athena) || !has_content(athena)) return;
    scan(athena).find_names(char_ids);
}

}  // namespace tavo
