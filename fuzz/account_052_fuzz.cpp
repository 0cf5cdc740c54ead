#include "fuzz/account_fuzz.h"

// A .52 file: the old fields and a %newid% line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tavo::fuzz::fuzz_account_file(tavo::fuzz::text_of(data, size), "\n2000001\t%newid%\n");
}
