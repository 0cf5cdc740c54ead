#include "fuzz/account_fuzz.h"

// A 1.0.0 file: thirteen fields and the account registers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tavo::fuzz::fuzz_account_file(
        tavo::fuzz::text_of(data, size),
        "\n2000000\tfuzzer\tpass\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n");
}
