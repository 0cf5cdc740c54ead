#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/text_file.h"

namespace tavo::fuzz {
namespace {

fs::path make_scratch() {
    std::error_code ec;
    // A memory file system keeps millions of small rewrites off the disk.
    fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "tavo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    const fs::path root(pattern);
    for (const char* sub : {"program", "server/db", "server/save", "server/conf"}) {
        fs::create_directories(root / sub);
    }
    // The server folder check wants a file in each of its folders.
    for (const char* keep : {"server/db/.keep", "server/save/.keep", "server/conf/.keep"}) {
        put(root / keep, "x");
    }
    return root;
}

struct Scratch {
    fs::path root = make_scratch();
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

const fs::path& scratch() {
    static const Scratch folder;
    return folder.root;
}

AppContext scratch_app() {
    AppContext app;
    app.program_folder = scratch() / "program";
    app.settings.data_folder = (scratch() / "server").string() + "/";
    return app;
}

void put(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

std::string get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void remove(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    BreakScanner breaks(text);
    for (std::size_t begin = 0; begin < text.size();) {
        const BreakScanner::Break found = breaks.find(begin);
        const std::size_t end = found.at == std::string_view::npos ? text.size() : found.at;
        lines.push_back(text.substr(begin, end - begin));
        begin = end + found.length;
    }
    return lines;
}

void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace tavo::fuzz
