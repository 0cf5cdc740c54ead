#pragma once
// What every reader target shares: a Ui that answers No to everything, a scratch program and
// server folder on a memory file system, and a check that stops the run with a word on what
// broke. A target either runs under libFuzzer or, in an ordinary build, replays its inputs.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "app/ui.h"

namespace tavo::fuzz {

namespace fs = std::filesystem;

class SilentUi : public Ui {
public:
    void message(const std::string&, const std::string&, Icon) override { ++messages; }
    bool ask_yes_no(const std::string&, const std::string&, Icon) override { return false; }
    std::string browse_for_folder(const std::string&) override { return {}; }
    void progress_show() override {}
    void progress_set(const std::string&) override {}
    void progress_close() override {}
    bool progress_due() override { return false; }
    int messages = 0;
};

// The scratch folder of this process, with program/ and a server/ holding db/, save/ and
// conf/. Made on first use and removed when the process ends.
const fs::path& scratch();
// A context on the scratch folders: program/ is the program folder, server/ the DataFolder.
AppContext scratch_app();

// The whole file, made or replaced.
void put(const fs::path& path, std::string_view bytes);
std::string get(const fs::path& path);
void remove(const fs::path& path);

// The lines of a text the way LineReader gives them, without their breaks.
std::vector<std::string_view> lines_of(std::string_view text);

// The fuzzer's bytes as text.
inline std::string_view text_of(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Stops the run: the input that got here is the one libFuzzer keeps as a crash.
[[noreturn]] void fail(const char* condition, const char* file, int line);

}  // namespace tavo::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::tavo::fuzz::fail(#condition, __FILE__, __LINE__))

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
