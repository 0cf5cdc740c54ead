#pragma once
// An export into a .sql file for the `mariadb` client: written to a temporary file beside the
// target and renamed over it only when the export is whole, so that a failed or refused export
// leaves no half file. It is not a server file: nothing waits for it on the disk (no fsync), and
// a file cut short by a crash is the temporary one, never the target.

#include <filesystem>
#include <string>
#include <string_view>

#include "export/sql_rows.h"
#include "export/sql_schema.h"

namespace tavo {

class SqlFile : public SqlSink {
public:
    // `header` goes first, as SQL comments. Fails with a Failure naming the file when the
    // temporary file cannot be made.
    SqlFile(const std::filesystem::path& target, std::string_view header);
    ~SqlFile() override;
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    void execute(std::string_view statement) override;
    // Puts the file in place; without it the target is not touched.
    void commit();

private:
    void write_out();
    void write_all(std::string_view bytes);
    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    std::string buffer_;
};

// The comment a .sql file starts with: which folder, which schema, and how to load it.
std::string sql_file_header(const std::string& server_folder, SqlEra era);

}  // namespace tavo
