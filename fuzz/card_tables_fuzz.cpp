// The two card-name tables of the program folder: the input up to its first NUL byte is
// cardprefixnametable.txt, the rest cardpostfixnametable.txt.

#include "fuzz/fuzz_support.h"
#include "refdata/card_names.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    const std::size_t nul = input.find('\0');
    const std::string_view prefix = input.substr(0, nul);
    const std::string_view postfix =
        nul == std::string_view::npos ? std::string_view{} : input.substr(nul + 1);
    put(app.program_file("cardprefixnametable.txt"), prefix);
    put(app.program_file("cardpostfixnametable.txt"), postfix);
    SilentUi ui;
    CardTable cards;
    load_carddb(app, ui, cards);
    FUZZ_CHECK(cards.entries().size() <= lines_of(prefix).size());
    for (const CardNameEntry& entry : cards.entries()) {
        const CardNameEntry* first = cards.find(entry.id);
        FUZZ_CHECK(first != nullptr && first->id == entry.id);
        FUZZ_CHECK(entry.postfix <= 1);
    }
    return 0;
}
