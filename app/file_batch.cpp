#include "app/file_batch.h"

#include <algorithm>

namespace tavo {
namespace {

// Another writer that saves again and again is not raced for ever.
constexpr int kMostRounds = 5;

}  // namespace

bool FileBatch::add(const fs::path& target, std::string name, Make make, fs::path backup) {
    current_ = name;
    Entry& entry = entries_.emplace_back(
        Entry{std::nullopt, std::move(name), target, std::move(backup), std::move(make)});
    entry.writer.emplace(files_.open(target));
    if (entry.make(*entry.writer)) return true;
    entries_.pop_back();
    return false;
}

std::vector<fs::path> FileBatch::targets() const {
    std::vector<fs::path> all;
    for (const Entry& entry : entries_) {
        if (entry.writer) all.push_back(entry.target);
    }
    return all;
}

void FileBatch::commit() {
    for (Entry& entry : entries_) {
        current_ = entry.name;
        entry.writer->prepare();
    }
    // The old files are kept while a later step may still fail: a later rename, or a backup,
    // which is made once every file is in place.
    const bool backups = std::any_of(entries_.begin(), entries_.end(),
                                     [](const Entry& entry) { return !entry.backup.empty(); });
    std::size_t replaced = 0;
    try {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (!settle(i)) continue;
            AtomicWriter& writer = *entries_[i].writer;
            if (backups || i + 1 < entries_.size()) writer.keep_original();
            writer.put_in_place();
            replaced = i + 1;
        }
        for (Entry& entry : entries_) {
            current_ = entry.name;
            if (entry.writer && !entry.backup.empty()) entry.writer->keep_backup(entry.backup);
        }
    } catch (...) {
        put_back(replaced);
        throw;
    }
    for (Entry& entry : entries_) {
        if (entry.writer) entry.writer->drop_original();
    }
}

// Right before the rename of entry `index`: its file as it is now. False when the file needs
// no change any more.
bool FileBatch::settle(std::size_t index) {
    const Entry& entry = entries_[index];
    for (int round = 0;; ++round) {
        current_ = entry.name;
        if (!entry.writer) return false;
        if (files_.calls().before_rename) files_.calls().before_rename(entry.writer->target());
        if (!entry.writer->changed_on_disk()) return true;
        if (round == kMostRounds) {
            throw Failure(err::kPathFileAccess,
                          entry.name + " kept changing on disk while it was being written");
        }
        make_again(index);
    }
}

void FileBatch::make_again(std::size_t from) {
    for (std::size_t i = from; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        current_ = entry.name;
        entry.writer.reset();
        entry.writer.emplace(files_.open(entry.target));
        if (!entry.make(*entry.writer)) {
            entry.writer.reset();
            continue;
        }
        entry.writer->prepare();
    }
}

void FileBatch::put_back(std::size_t replaced) noexcept {
    for (std::size_t i = replaced; i-- > 0;) {
        Entry& entry = entries_[i];
        if (!entry.writer) continue;
        try {
            entry.writer->restore_original();
        } catch (...) {
            std::string text = entry.name + " was changed and could not be put back";
            if (!entry.writer->kept().empty()) {
                text += " (its old content is in " + file_shown(entry.writer->kept()) + ")";
            }
            not_put_back_.push_back(text + ".");
        }
    }
}

std::string FileBatch::outcome() const {
    if (not_put_back_.empty()) return "No file was changed.";
    std::string text;
    for (const std::string& file : not_put_back_) text += file + " ";
    return text + "No other file was changed.";
}

Failure FileBatch::told(const Failure& failure) const {
    if (entries_.size() < 2 && not_put_back_.empty()) return failure;
    const std::string& file = failure.file().empty() ? current_ : failure.file();
    return Failure(failure.number(), failure.description() + " (" + file + "). " + outcome());
}

void rewrite_from_disk(const FileWriter& files, const fs::path& target, const FileBatch::Make& make,
                       const fs::path& backup) {
    FileBatch batch(files);
    if (batch.add(target, file_shown(target), make, backup)) batch.commit();
}

}  // namespace tavo
