#include "app/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "app/failure.h"
#include "app/file_writer.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::slurp;
using testing::TempDir;

std::vector<std::string> lines_of(const TempDir& dir, std::string_view name,
                                  std::string_view content) {
    return read_lines(dir.write(name, content));
}

TEST(ReadLines, LineBreaksOfEitherKindAndNoneAtTheEnd) {
    TempDir dir;
    const std::vector<std::string> expected{"a", "b", "c"};
    EXPECT_EQ(lines_of(dir, "lf", "a\nb\nc\n"), expected);
    EXPECT_EQ(lines_of(dir, "crlf", "a\r\nb\r\nc\r\n"), expected);
    EXPECT_EQ(lines_of(dir, "last", "a\r\nb\nc"), expected);
    EXPECT_EQ(lines_of(dir, "blanks", " a\t\n\n b"), (std::vector<std::string>{" a\t", "", " b"}));
    EXPECT_EQ(lines_of(dir, "one-cr", "a\r\r\n"), std::vector<std::string>{"a\r"});
    EXPECT_EQ(lines_of(dir, "old-mac", "a\rb\rc\r"), expected);
    EXPECT_EQ(lines_of(dir, "mixed", "a\rb\r\nc"), expected);
    EXPECT_EQ(lines_of(dir, "cr-blank", "a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(lines_of(dir, "empty", "").empty());
    EXPECT_EQ(lines_of(dir, "one-break", "\n"), std::vector<std::string>{""});
}

TEST(ReadLines, LinesLongerThanTheReadBufferAndWhereEachStarts) {
    TempDir dir;
    const std::string longest(3 << 20, 'x');
    LineReader reader(dir.write("long", "a\r\n" + longest + "\nb"));
    std::string_view line;
    std::vector<std::pair<std::string, std::uint64_t>> read;
    while (reader.next(line)) read.emplace_back(line, reader.line_offset());
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], std::make_pair(std::string("a"), std::uint64_t{0}));
    EXPECT_EQ(read[1], std::make_pair(longest, std::uint64_t{3}));
    EXPECT_EQ(read[2], std::make_pair(std::string("b"), std::uint64_t{4 + longest.size()}));
}

// A CR at the end of one read chunk may be half of a CR LF whose LF comes with the next.
TEST(ReadLines, BreaksAcrossTheReadChunkAndTheBreakOfEachLine) {
    TempDir dir;
    const std::string first((1 << 20) - 1, 'a');
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        LineReader reader(dir.write("chunk", first + end + "b" + end + "c"));
        std::string_view line;
        ASSERT_TRUE(reader.next(line));
        EXPECT_EQ(line.size(), first.size());
        EXPECT_EQ(reader.line_break(), end);
        ASSERT_TRUE(reader.next(line));
        EXPECT_EQ(line, "b");
        EXPECT_EQ(reader.line_offset(), first.size() + end.size());
        ASSERT_TRUE(reader.next(line));
        EXPECT_EQ(line, "c");
        EXPECT_EQ(reader.line_break(), "");
        EXPECT_FALSE(reader.next(line));
    }
}

TEST(Rewrite, LinesEndTheWayTheOldFileEndsThem) {
    TempDir dir;
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        const fs::path path = dir.write("file.txt", "one" + end + "two" + end);
        FileWriter().rewrite_lines(path, {"three", "four"});
        EXPECT_EQ(slurp(path), "three" + end + "four" + end);
        // A line read before "\r\r\n" keeps its CR: any other break would split or eat it.
        FileWriter().rewrite_lines(path, {"cr\r", "last"});
        EXPECT_EQ(read_lines(path), (std::vector<std::string>{"cr\r", "last"}));
    }
    FileWriter().rewrite_lines(dir.path() / "new.txt", {"new"});
    EXPECT_EQ(slurp(dir.path() / "new.txt"), "new\r\n");
    // A file whose last line had no break still ends without one, however many lines follow.
    const fs::path open_end = dir.write("open.txt", "one\ntwo");
    FileWriter().rewrite_lines(open_end, {"one", "two", "three"});
    EXPECT_EQ(slurp(open_end), "one\ntwo\nthree");
}

// Lines written with the breaks they were read with, whatever their neighbours (a store
// removed from between them, say), read back as the same lines: no CR pairs with the LF or
// CR LF of the next line, and none splits a line.
TEST(Rewrite, EveryLineReadsBackWhateverItsNeighbours) {
    TempDir dir;
    const fs::path path = dir.write("file.txt", "");
    const std::vector<std::string> lines{"", "a", "\r", "a\r"};
    const std::vector<std::string> breaks{"\n", "\r", "\r\n"};
    std::vector<std::pair<std::string, std::string>> pieces;
    for (const std::string& line : lines) {
        for (const std::string& end : breaks) pieces.emplace_back(line, end);
    }
    for (const auto& first : pieces) {
        for (const auto& second : pieces) {
            for (const auto& third : pieces) {
                AtomicWriter out = FileWriter().open(path);
                std::vector<std::string> written;
                for (const auto* piece : {&first, &second, &third}) {
                    out.write_line(piece->first, piece->second);
                    written.push_back(piece->first);
                }
                out.write_line("last", "");
                written.emplace_back("last");
                out.commit();
                ASSERT_EQ(read_lines(path), written) << ::testing::PrintToString(slurp(path));
            }
        }
    }
}

TEST(Rewrite, ALineHoldingABreakIsRefusedAndTheFileStays) {
    TempDir dir;
    const fs::path path = dir.write("pet.txt", "1,2,Poring\r\n");
    for (const std::string bad : {"1,2,Po\rring", "1,2,Po\nring", "\r\n"}) {
        EXPECT_THROW(FileWriter().rewrite_lines(path, {"0,0,x", bad}), Failure);
        EXPECT_EQ(slurp(path), "1,2,Poring\r\n");
    }
}

TEST(FileChecks, EmptyAndMissingDiffer) {
    TempDir dir;
    const fs::path empty = dir.write("empty.txt", "");
    EXPECT_TRUE(file_exists(empty));
    EXPECT_EQ(file_length(empty), 0u);
    EXPECT_FALSE(file_exists(dir.path() / "missing.txt"));
    EXPECT_EQ(file_length(dir.path() / "missing.txt"), 0u);
    EXPECT_FALSE(file_exists(dir.path()));  // a folder is not a file
    EXPECT_TRUE(is_new_file(empty));
    EXPECT_TRUE(is_new_file(dir.path() / "missing.txt"));
    EXPECT_FALSE(is_new_file(dir.path()));
    EXPECT_FALSE(is_new_file(dir.write("one.txt", "x")));
    try {
        LineReader reader(dir.path() / "missing.txt");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 53);
        EXPECT_EQ(error_report_text(f, "load_account"), "Error 53, File not found (" +
                                                            dir.path().filename().string() +
                                                            "/missing.txt)\r\nin load_account");
    }
}

TEST(FolderPresent, NeedsAVisibleOrdinaryFile) {
    TempDir dir;
    fs::create_directories(dir.path() / "only-folders/sub");
    dir.write("hidden/.keep", "");
    dir.write("fresh/account.txt", "");  // a fresh save folder holds files of 0 bytes
    EXPECT_FALSE(folder_present(dir.path() / "missing"));
    EXPECT_FALSE(folder_present(dir.path() / "only-folders"));
    EXPECT_FALSE(folder_present(dir.path() / "hidden"));
    EXPECT_TRUE(folder_present(dir.path() / "fresh"));
}

TEST(ResolveIn, FindsTheOneEntryThatMatchesWithoutCase) {
    TempDir dir;
    dir.write("conf/GM_account.txt", "704554 99\n");
    dir.write("Save/account.txt", "");
    EXPECT_EQ(resolve_in(dir.path(), "conf\\gm_account.txt"), dir.path() / "conf/GM_account.txt");
    EXPECT_EQ(resolve_in(dir.path(), "save/account.txt"), dir.path() / "Save/account.txt");
    EXPECT_EQ(resolve_in(dir.path(), "save/athena.txt"), dir.path() / "Save/athena.txt");
    dir.write("two/a.txt", "");
    dir.write("two/A.TXT", "");
    EXPECT_EQ(resolve_in(dir.path(), "two/a.Txt"), dir.path() / "two/a.Txt");  // ambiguous
    EXPECT_EQ(resolve_in(dir.path(), "two/A.TXT"), dir.path() / "two/A.TXT");  // exact wins
}

TEST(Rewrite, ReplacesTheWholeFileKeepingItsPermissions) {
    TempDir dir;
    const fs::path file = dir.write("save/athena.txt", "old line\n");
    ::chmod(file.c_str(), 0640);
    FileWriter files;
    files.rewrite(file, "new\r\n");
    EXPECT_EQ(slurp(file), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    files.rewrite(file, "");  // every line dropped
    EXPECT_TRUE(file_exists(file));
    EXPECT_EQ(file_length(file), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "save"), {}), 1);  // no leftovers
}

TEST(Rewrite, TheBackupHoldsTheContentBeforeTheLastRewrite) {
    TempDir dir;
    const fs::path file = dir.write("save/athena.txt", "first\r\n");
    const fs::path backup = dir.path() / "save/athena.bak.txt";
    FileWriter files;
    files.rewrite_with_backup(file, backup, "second\r\n");
    files.rewrite_with_backup(file, backup, "third\r\n");
    EXPECT_EQ(slurp(file), "third\r\n");
    EXPECT_EQ(slurp(backup), "second\r\n");
    files.rewrite_with_backup(dir.path() / "save/new.txt", dir.path() / "save/new.bak.txt", "x");
    EXPECT_FALSE(file_exists(dir.path() / "save/new.bak.txt"));  // nothing to back up
}

// A backup is as private as its file: the old file itself where a hard link can be made, and a
// copy with the file's permissions (not the older backup's, nor the default) where it cannot.
TEST(Rewrite, TheBackupIsAsPrivateAsItsFile) {
    TempDir dir;
    const fs::path file = dir.write("save/account.txt", "first\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    for (const bool links : {true, false}) {
        FileWriter files;
        if (!links) {
            files.calls().link = [](const char*, const char*) {
                errno = EXDEV;  // another file system
                return -1;
            };
        }
        const fs::path backup = dir.write("save/account.bak.txt", "older\n");
        fs::permissions(backup, fs::perms::owner_all | fs::perms::group_read);
        const std::string before = slurp(file);
        files.rewrite_with_backup(file, backup, "next\n");
        EXPECT_EQ(slurp(backup), before);
        for (const fs::path& written : {file, backup}) {
            EXPECT_EQ(fs::status(written).permissions(),
                      fs::perms::owner_read | fs::perms::owner_write)
                << links;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "save"), {}), 2);
    }
}

TEST(Rewrite, AFailurePartWayLeavesTheOriginalByteIdentical) {
    TempDir dir;
    const std::string original = "line one\r\nline two\nno break at the end";
    const fs::path file = dir.write("save/account.txt", original);
    const fs::path backup = dir.path() / "save/account.bak.txt";
    for (const int error : {ENOSPC, EIO}) {
        std::size_t written = 0;
        FileWriter failing([&](int fd, const char* data, std::size_t size) -> ssize_t {
            if (written >= 5) {
                errno = error;
                return -1;
            }
            const std::size_t part = std::min<std::size_t>(size, 5 - written);
            written += part;
            return ::write(fd, data, part);
        });
        written = 0;
        try {
            AtomicWriter writer = failing.open(file);
            for (int i = 0; i < 1000; ++i) writer.write_line("a much longer replacement line");
            writer.commit(backup);
            FAIL() << "the write should fail";
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), error == ENOSPC ? 61 : 57);
        }
        EXPECT_EQ(slurp(file), original);
        EXPECT_FALSE(file_exists(backup));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "save"), {}), 1);
    }
}

TEST(Copy, ReplacesTheTarget) {
    TempDir dir;
    const fs::path from = dir.write("a.txt", std::string(3 << 20, 'q'));
    const fs::path to = dir.write("b.txt", "old");
    FileWriter().copy(from, to);
    EXPECT_EQ(slurp(to), slurp(from));
}

TEST(Guarded, ReportsTheFailureNamingTheProcedure) {
    testing::ScriptedUi ui;
    EXPECT_FALSE(guarded(ui, "read_gm_lvl", [] { throw Failure(err::kFileNotFound); }));
    EXPECT_TRUE(guarded(ui, "read_gm_lvl", [] {}));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].text, "Error 53, File not found\r\nin read_gm_lvl");
    EXPECT_EQ(ui.shown()[0].title, "Tavo");
    EXPECT_EQ(ui.shown()[0].icon, Icon::None);
}

TEST(Progress, ClosesOnEveryPathAndEndsOnTheLatestCount) {
    struct Throttled : testing::ScriptedUi {
        int calls = 0;
        bool progress_due() override { return ++calls % 100 == 1; }
    } ui;
    guarded(ui, "load_account", [&] {
        Progress progress(ui);
        for (int n = 1; n <= 1000; ++n) progress.reading(n);
        throw Failure(err::kTypeMismatch);
    });
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Error 13, Type mismatch\r\nin load_account"});
    EXPECT_FALSE(ui.progress_open);
    EXPECT_EQ(ui.progress_closes, 1);
    EXPECT_EQ(ui.progress_texts.size(), 11u);
    EXPECT_EQ(ui.progress_texts.back(), "Reading 1000 lines");
}

}  // namespace
}  // namespace tavo
