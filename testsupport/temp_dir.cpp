#include "testsupport/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tavo::testing {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tavo-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = fs::path(name.data());
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::write(std::string_view relative, std::string_view content) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file;
}

std::string TempDir::read(std::string_view relative) const {
    return slurp(path_ / relative);
}

fs::path TempDir::make_server(std::string_view relative) const {
    const fs::path root = path_ / relative;
    write((fs::path(relative) / "db/item_db.txt").string(), "");
    write((fs::path(relative) / "save/account.txt").string(), "");
    write((fs::path(relative) / "conf/battle_athena.conf").string(), "");
    return root;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace tavo::testing
