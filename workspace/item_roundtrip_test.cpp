// Adding an item and deleting it again, then saving, must give back the character and store
// files byte for byte: the line rebuilt from the record is the line as read. Checked on the
// demo server and on a generated one.

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/text_file.h"
#include "characters/character_file.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"
#include "tools/gen/server_gen.h"
#include "workspace/item_editors.h"
#include "workspace/startup.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;
namespace {

using testing::ScriptedUi;
using testing::TempDir;

fs::path source_dir() {
    const char* source = std::getenv("TAVO_SOURCE_DIR");
    return source != nullptr ? fs::path(source) : fs::path(".");
}

class ItemRoundTrip : public ::testing::Test {
protected:
    void start(const fs::path& server) {
        fs::copy(source_dir() / "demo/program", dir.path() / "program",
                 fs::copy_options::recursive);
        ws.app.program_folder = dir.path() / "program";
        run_startup(ws, ui, {server.string()});
        athena = read_file(server / "save/athena.txt");
        storage = read_file(server / "save/storage.txt");
        this->server = server;
    }
    // Adds a potion to the list and deletes it again.
    template <class List>
    void add_and_delete(List& list) {
        ASSERT_TRUE(list.new_item(ui, eds.panel));
        eds.panel.choose(eds.panel.line_of_item(512));  // an apple
        eds.panel.fields().qty = "3"s;
        ASSERT_TRUE(eds.confirm());
        ui.answer({true});
        ASSERT_TRUE(list.delete_selected(ui));
    }
    void character_round_trip(const std::string& id) {
        ASSERT_TRUE(load_char_info(ws.app, ui, ws.ref, ws.characters, id));
        eds.inventory.reset();
        eds.cart.reset();
        add_and_delete(eds.inventory);
        add_and_delete(eds.cart);
        ASSERT_TRUE(character_unsaved.get());
        ASSERT_TRUE(save_char(ws.app, ui, ws.accounts.server_generation, ws.characters, id));
        EXPECT_TRUE(read_file(server / "save/athena.txt") == athena) << "athena.txt changed";
        EXPECT_TRUE(read_file(server / "save/athena.bak.txt") == athena);
    }
    void store_round_trip(std::int32_t account) {
        ASSERT_TRUE(ws.store.choose_account(ui, account));
        ASSERT_TRUE(ws.store.has_lines());
        add_and_delete(ws.store);
        ASSERT_TRUE(ws.store.save(ui));
        EXPECT_TRUE(read_file(server / "save/storage.txt") == storage) << "storage.txt changed";
    }

    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
    UnsavedFlag character_unsaved;
    ItemEditors eds{ws, ui, character_unsaved};
    fs::path server;
    std::string athena, storage;
};

TEST_F(ItemRoundTrip, TheDemoServer) {
    fs::copy(source_dir() / "demo/server", dir.path() / "server", fs::copy_options::recursive);
    start(dir.path() / "server");
    character_round_trip("150001");
    store_round_trip(2000001);
    EXPECT_TRUE(ui.unexpected.empty());
}

TEST_F(ItemRoundTrip, AGeneratedServer) {
    gen::ServerOptions options;
    options.out = dir.path() / "server";
    options.db = source_dir() / "demo/server/db";
    options.accounts = 2000;
    options.storage_share = 0.5;
    options.storage_items = 120;
    gen::generate_server(options);
    start(options.out);
    ws.app.settings.maxstorage = 300;
    const std::string line = read_lines(options.out / "save/athena.txt").at(0);
    character_round_trip(line.substr(0, line.find('\t')));
    const std::string store = read_lines(options.out / "save/storage.txt").at(0);
    store_round_trip(std::stoi(store.substr(0, store.find(','))));
    EXPECT_TRUE(ui.unexpected.empty());
}

}  // namespace
}  // namespace tavo
