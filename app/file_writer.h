#pragma once
// Every rewrite of a file goes through here and is atomic: the new content goes to a temporary
// file in the same folder, is flushed and synced, takes the old file's permissions and is then
// renamed over it. A failure at any point leaves the old file as it was and is reported as a
// Failure. A backup copy, where one is made, is written just before the rename. Lines end the
// way the old file's lines end (an administrator's LF file stays LF); a new file gets CR LF. A
// file whose last line had no break still ends without one.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

namespace fs = std::filesystem;

// The low-level write: at most `size` bytes to `fd`; the count written, or -1 with errno set.
// Tests replace it to make a write fail part-way.
using WriteFn = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

class AtomicWriter {
public:
    AtomicWriter(const fs::path& target, WriteFn write);
    ~AtomicWriter();
    AtomicWriter(AtomicWriter&& other) noexcept;
    AtomicWriter& operator=(AtomicWriter&&) = delete;
    AtomicWriter(const AtomicWriter&) = delete;

    void write(std::string_view text);
    // The line followed by the file's line end, or by `line_break` (the break it was read with;
    // empty for a last line without one). The break is changed where the bytes would read back
    // as other lines: CR LF after a line that ends in CR, a lone CR after an empty line that
    // follows a lone CR. A line holding a break anywhere else would be read as two: it is
    // refused, and the file stays as it was. The break of the last line is left out when the
    // old file ended without one.
    void write_line(std::string_view line);
    void write_line(std::string_view line, std::string_view line_break);
    std::string_view line_end() const { return line_end_; }
    // Puts the new content in place. With a backup path, the old file (when there is one) is
    // first copied there, replacing an older backup.
    void commit(const fs::path& backup = {});

    // commit in steps, for a batch of files that changes together: the content written and
    // synced, the old file copied to the backup, then the rename. Until the rename the old
    // file is as it was.
    void prepare();
    void keep_backup(const fs::path& backup);
    void put_in_place();

private:
    void put(std::string_view text);
    void put_pending_break();
    void flush();
    void write_all(const char* data, std::size_t size);
    void discard() noexcept;
    void make_backup(const fs::path& backup);

    fs::path target_;
    fs::path temp_;
    std::string_view line_end_;
    WriteFn write_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t written_ = 0;
    std::uint64_t started_ = 0;   // written up to here and handed to the disk
    bool after_lone_cr_ = false;  // the last byte written is a CR that ends a line
    std::string pending_break_;   // the break of the last line, written when more follows
    bool ends_unbroken_ = false;  // the old file's last line has no break
};

// Called with the target before a rewrite starts; it refuses the write by throwing.
using BeforeWrite = std::function<void(const fs::path& target)>;

class FileWriter {
public:
    FileWriter();
    explicit FileWriter(WriteFn write);

    // The one hook every rewrite passes (the running-server guard); empty for none.
    void before_write(BeforeWrite hook) { before_write_ = std::move(hook); }

    AtomicWriter open(const fs::path& target) const;
    // The whole file replaced by content (the content already holds its line breaks).
    void rewrite(const fs::path& target, std::string_view content) const;
    // The whole file replaced by lines, each ending the way the old file's lines end.
    void rewrite_lines(const fs::path& target, const std::vector<std::string>& lines) const;
    // As rewrite, with the old file copied to backup first.
    void rewrite_with_backup(const fs::path& target, const fs::path& backup,
                             std::string_view content) const;
    // A copy of from at to, replacing to.
    void copy(const fs::path& from, const fs::path& to) const;

private:
    WriteFn write_;
    BeforeWrite before_write_;
};

}  // namespace tavo
