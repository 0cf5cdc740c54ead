#include "export/sql_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

#include "app/failure.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

// Statements of many sizes, so that the file's blocks and the buffer's end fall everywhere.
std::string write_statements(SqlFile& file) {
    std::string expected;
    for (std::size_t size : {1u, 4095u, 4096u, 4097u, 1u << 20, (8u << 20) - 3, 7u, 3u << 20}) {
        std::string statement(size, static_cast<char>('a' + size % 26));
        file.execute(statement);
        expected += statement + ";\n";
    }
    return expected;
}

TEST(SqlFile, TheFileHoldsEveryByteWhetherWrittenDirectlyOrThroughTheCache) {
    testing::TempDir dir;
    for (const SqlFile::Writes writes : {SqlFile::Writes::Direct, SqlFile::Writes::Cached}) {
        const auto target = dir.path() / "out.sql";
        std::filesystem::remove(target);
        SqlFile file(target, "-- head\n", writes);
        const std::string expected = "-- head\n" + write_statements(file);
        EXPECT_FALSE(std::filesystem::exists(target));
        file.commit();
        EXPECT_EQ(testing::slurp(target), expected);
        if (writes == SqlFile::Writes::Cached) {
            EXPECT_EQ(file.direct_bytes(), 0u);
        }
        // Only the target is left: the temporary file became it.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(SqlFile, AFailedWriteFailsTheExportAndLeavesNoFile) {
    testing::TempDir dir;
    const auto target = dir.path() / "out.sql";
    // A file size limit makes the writer's writes fail part-way, as a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1 << 20;
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        SqlFile file(target, "-- head\n");
        write_statements(file);
        file.commit();
    } catch (const Failure&) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_signal);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // Never touched when refused: the file is only put in place by commit.
    {
        SqlFile file(target, "-- head\n");
        file.execute("SELECT 1");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace tavo
