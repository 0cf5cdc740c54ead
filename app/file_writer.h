#pragma once
// Every rewrite of a file goes through here and is atomic: the new content goes to a temporary
// file in the same folder, is flushed and synced, takes the old file's permissions and is then
// renamed over it. A failure at any point leaves the old file as it was and is reported as a
// Failure naming the file. A backup, where one is made, is the old file itself, given the backup
// name once the new content is in place. Lines end the way the old file's lines end (an
// administrator's LF file stays LF); a new file gets CR LF. A file whose last line had no break
// still ends without one.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_stamp.h"

namespace tavo {

namespace fs = std::filesystem;

// The low-level write: at most `size` bytes to `fd`; the count written, or -1 with errno set.
using WriteFn = std::function<ssize_t(int fd, const char* data, std::size_t size)>;
// rename(2) and link(2): 0, or -1 with errno set.
using PathCallFn = std::function<int(const char* from, const char* to)>;
// copy_file_range(2) onto where `to_fd` stands: at most `size` bytes of `from_fd` from
// `*from_offset` on (which it advances); the count copied, 0 at the end of the file, or -1 with
// errno set.
using CopyRangeFn =
    std::function<ssize_t(int from_fd, off_t* from_offset, int to_fd, std::size_t size)>;

// The calls a rewrite makes that tests replace: a write or a rename that fails, a file system
// without hard links, or another writer that comes in between the merge and the rename.
struct FileCalls {
    WriteFn write;
    PathCallFn rename;
    PathCallFn link;
    // Copies the bytes of another file without passing them through this process. Empty: they
    // are read and go through `write` (a writer made with its own write function has none).
    CopyRangeFn copy_range;
    // Runs when a batch's new content of target is complete, right before the file on disk is
    // looked at a last time and the new content is renamed over it.
    std::function<void(const fs::path& target)> before_rename;
};

class AtomicWriter {
public:
    AtomicWriter(const fs::path& target, FileCalls calls);
    ~AtomicWriter();
    AtomicWriter(AtomicWriter&& other) noexcept;
    AtomicWriter& operator=(AtomicWriter&&) = delete;
    AtomicWriter(const AtomicWriter&) = delete;

    void write(std::string_view text);
    // `count` bytes of the file `from`, open at `fd`, from `offset` on (to its end without a
    // count), written as they are; the count written. Fails when the file has fewer.
    std::uint64_t copy_from(int fd, const fs::path& from, std::uint64_t offset,
                            std::optional<std::uint64_t> count);
    // The line followed by the file's line end, or by `line_break` (the break it was read with;
    // empty for a last line without one). The break is changed where the bytes would read back
    // as other lines: CR LF after a line that ends in CR, a lone CR after an empty line that
    // follows a lone CR. A line holding a break anywhere else would be read as two: it is
    // refused, and the file stays as it was. The break of the last line is left out when the
    // old file ended without one.
    void write_line(std::string_view line);
    void write_line(std::string_view line, std::string_view line_break);
    std::string_view line_end() const { return line_end_; }
    // The new file takes the permissions of this file instead of those of the file it replaces.
    void take_mode_of(const fs::path& file) { mode_of_ = file; }
    // Puts the new content in place. With a backup path, the old file (when there is one) then
    // goes there, replacing an older backup; when that fails, the old file is put back.
    void commit(const fs::path& backup = {});

    // commit in steps, for a batch of files that changes together: the content written and
    // synced; the old file kept under a second name; the rename; the backup made from the kept
    // file; then either the second names dropped, or the old file (and the older backup) put
    // back.
    void prepare();
    // Whether another writer replaced or changed the file since this writer was opened (its
    // identity, size or modification time differ).
    bool changed_on_disk() const;
    void keep_original();
    void put_in_place();
    void keep_backup(const fs::path& backup);
    void drop_original() noexcept;
    void restore_original();
    // Where the old content stays when it could not be put back; empty when there is none.
    const fs::path& kept() const { return kept_; }
    const fs::path& target() const { return target_; }

private:
    void put(std::string_view text);
    void put_pending_break();
    void flush();
    void write_all(const char* data, std::size_t size);
    void note_written(std::uint64_t count);
    std::uint64_t copy_through_buffer(int fd, const fs::path& from, std::uint64_t offset,
                                      std::optional<std::uint64_t> count);
    void discard() noexcept;
    fs::path second_name(const fs::path& file) const;

    fs::path target_;
    fs::path temp_;
    fs::path kept_;          // a second name of the old file while the batch may still put it back
    fs::path backup_;        // the backup made from it, while it may still be taken back
    fs::path older_backup_;  // the backup it replaced, meanwhile
    fs::path mode_of_;
    std::optional<FileStamp> opened_;  // the file on disk when this writer was opened
    bool existed_ = false;             // there was an old file to replace
    bool in_place_ = false;
    std::string_view line_end_;
    FileCalls calls_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t written_ = 0;
    std::uint64_t started_ = 0;   // written up to here and handed to the disk
    bool after_lone_cr_ = false;  // the last byte written is a CR that ends a line
    std::string pending_break_;   // the break of the last line, written when more follows
    bool ends_unbroken_ = false;  // the old file's last line has no break
};

// What an interrupted rewrite leaves beside its target (after a kill): the temporary file
// (".athena.txt.Ab12Cd"), the old content kept until its end (".athena.txt.kept812"), or a
// backup on its way (".athena.bak.txt.link812"). `of` names the file it belongs to.
struct Leftover {
    std::string of;
    bool old_content = false;  // the kept content of `of` from before the interrupted change
};
std::optional<Leftover> leftover_of(std::string_view file_name);

// Called with the target before a rewrite starts; it refuses the write by throwing.
using BeforeWrite = std::function<void(const fs::path& target)>;

class FileWriter {
public:
    FileWriter();
    explicit FileWriter(WriteFn write);
    // The calls every writer opened from here makes; tests replace some of them.
    FileCalls& calls() { return calls_; }
    const FileCalls& calls() const { return calls_; }

    // The one hook every rewrite passes (the running-server guard); empty for none.
    void before_write(BeforeWrite hook) { before_write_ = std::move(hook); }
    const BeforeWrite& write_hook() const { return before_write_; }

    AtomicWriter open(const fs::path& target) const;
    // The whole file replaced by content (the content already holds its line breaks).
    void rewrite(const fs::path& target, std::string_view content) const;
    // The whole file replaced by lines, each ending the way the old file's lines end.
    void rewrite_lines(const fs::path& target, const std::vector<std::string>& lines) const;
    // As rewrite, with the old file copied to backup first.
    void rewrite_with_backup(const fs::path& target, const fs::path& backup,
                             std::string_view content) const;
    // A copy of from at to, replacing to, with the permissions of from.
    void copy(const fs::path& from, const fs::path& to) const;

private:
    FileCalls calls_;
    BeforeWrite before_write_;
};

}  // namespace tavo
