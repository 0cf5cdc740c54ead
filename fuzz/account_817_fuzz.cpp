#include "fuzz/account_fuzz.h"

// An 817 file: seven or eight fields, no %newid% line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tavo::fuzz::fuzz_account_file(tavo::fuzz::text_of(data, size), "");
}
