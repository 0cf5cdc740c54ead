#include "app/file_batch.h"

namespace tavo {

AtomicWriter& FileBatch::open(const fs::path& target, std::string name, fs::path backup) {
    current_ = name;
    entries_.push_back(Entry{files_.open(target), std::move(name), std::move(backup)});
    return entries_.back().writer;
}

void FileBatch::add_lines(const fs::path& target, std::string name,
                          const std::vector<std::string>& lines) {
    AtomicWriter& out = open(target, std::move(name));
    for (const std::string& line : lines) out.write_line(line);
}

void FileBatch::commit() {
    for (Entry& entry : entries_) {
        current_ = entry.name;
        entry.writer.prepare();
    }
    for (Entry& entry : entries_) {
        current_ = entry.name;
        entry.writer.keep_backup(entry.backup);
    }
    for (Entry& entry : entries_) {
        current_ = entry.name;
        entry.writer.put_in_place();
    }
}

}  // namespace tavo
