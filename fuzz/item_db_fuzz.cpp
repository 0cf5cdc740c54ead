// db/item_db.txt: the item table read, then sorted by name for the item chooser.

#include "fuzz/fuzz_support.h"
#include "refdata/item_db.h"

using namespace tavo;
using namespace tavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AppContext app = scratch_app();
    const std::string_view input = text_of(data, size);
    put(app.server_file("db/item_db.txt"), input);
    SilentUi ui;
    ItemTable items;
    load_itemdb(app, ui, items);
    FUZZ_CHECK(items.entries().size() <= lines_of(input).size());
    for (const ItemDbEntry& entry : items.entries()) {
        FUZZ_CHECK(items.find(entry.id) != nullptr);
        FUZZ_CHECK(entry.name.find('\n') == std::string::npos);
    }
    const std::size_t count = items.entries().size();
    sort_items_by_name(items);
    FUZZ_CHECK(items.entries().size() == count);
    for (std::size_t i = 1; i < count; ++i) {
        FUZZ_CHECK(!(items[i].name < items[i - 1].name));
    }
    for (const ItemDbEntry& entry : items.entries()) {
        const ItemDbEntry* found = items.find(entry.id);
        FUZZ_CHECK(found != nullptr && found->id == entry.id);
    }
    return 0;
}
