#pragma once
// A scratch folder for a test, removed with everything in it when the test ends.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavo::testing {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    // Writes a file below the folder (folders made as needed) and returns its path.
    fs::path write(std::string_view relative, std::string_view content) const;
    std::string read(std::string_view relative) const;
    // A server folder with db/, save/ and conf/, each holding a file, its servers on port 0
    // (name_port_zero).
    fs::path make_server(std::string_view relative) const;

private:
    fs::path path_;
};

// Conf files that put the login, char and map servers of a server folder on port 0, which the
// running-server guard never finds listening: an eAthena server running on the test machine is
// not taken for the folder's own, and the folder's writes are not refused.
void name_port_zero(const fs::path& server);

// The bytes of a file.
std::string slurp(const fs::path& path);

}  // namespace tavo::testing
