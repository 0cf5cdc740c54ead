// Without libFuzzer: runs the target once on every input file named, or on every file of a
// named folder, so the checked-in inputs are regression tests of every build. Options that
// libFuzzer would take ("-runs=0") are ignored.

#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"

namespace {

int replay(const std::filesystem::path& path) {
    const std::string bytes = tavo::fuzz::get(path);
    std::printf("%s\n", path.c_str());
    return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        if (argv[i][0] == '-') continue;
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file()) inputs += 1 + replay(entry.path());
            }
        } else {
            inputs += 1 + replay(arg);
        }
    }
    std::printf("%d inputs ran\n", inputs);
    return inputs > 0 ? 0 : 1;
}
