#include "export/sql_file.h"

namespace tavo {

SqlFile::SqlFile(const std::filesystem::path& target, const FileCalls& calls,
                 std::string_view header)
    : out_(target, calls) {
    out_.write(header);
}

void SqlFile::execute(std::string_view statement) {
    out_.write(statement);
    out_.write(";\n");
}

void SqlFile::commit() {
    out_.commit();
}

}  // namespace tavo
