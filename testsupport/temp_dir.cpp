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
    for (const char* file : {"db/item_db.txt", "save/account.txt", "conf/battle_athena.conf"}) {
        write((fs::path(relative) / file).string(), "");
    }
    name_port_zero(path_ / relative);
    return path_ / relative;
}

void name_port_zero(const fs::path& server) {
    for (const char* server_name : {"login", "char", "map"}) {
        std::ofstream(server / "conf" / (std::string(server_name) + "_athena.conf"),
                      std::ios::binary | std::ios::trunc)
            << server_name << "_port: 0\n";
    }
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace tavo::testing
