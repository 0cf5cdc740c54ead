#pragma once
// An export into a .sql file for the `mariadb` client: written beside the target and renamed
// over it only when the export is whole, so a failed or refused export leaves no half file.

#include <filesystem>
#include <memory>
#include <string_view>

#include "app/file_writer.h"
#include "export/sql_rows.h"

namespace tavo {

class SqlFile : public SqlSink {
public:
    // `header` goes first, as SQL comments.
    SqlFile(const std::filesystem::path& target, const FileCalls& calls, std::string_view header);
    void execute(std::string_view statement) override;
    // Puts the file in place; without it the file is not written.
    void commit();

private:
    AtomicWriter out_;
};

}  // namespace tavo
