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
#include "testsupport/quiet_ui.h"

namespace tavo::fuzz {

namespace fs = std::filesystem;

// Messages are counted, never shown: a reader's complaint about hostile bytes is expected.
using SilentUi = testing::QuietUi;

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
