// Adding an item and deleting it again, then saving, must give back the character and store
// files byte for byte: the line rebuilt from the record is the line as read. Checked on the
// demo server and on a generated one.

#include <gtest/gtest.h>

#include "app/text_file.h"
#include "characters/character_file.h"
#include "testsupport/demo_workspace.h"
#include "testsupport/temp_dir.h"
#include "tools/gen/server_gen.h"
#include "workspace/item_editors.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;
namespace {

class ItemRoundTrip : public ::testing::Test {
protected:
    void start(const fs::path& server) {
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
        EXPECT_TRUE(ui.unexpected.empty());
    }

    testing::DemoWorkspace demo;
    testing::ScriptedUi& ui = demo.ui;
    Workspace& ws = demo.ws;
    UnsavedFlag character_unsaved;
    ItemEditors eds{ws, ui, character_unsaved};
    fs::path server;
    std::string athena, storage;
};

TEST_F(ItemRoundTrip, TheDemoServer) {
    start(demo.dir.path() / "server");
    character_round_trip("150001");
    store_round_trip(2000001);
}

TEST_F(ItemRoundTrip, AGeneratedServer) {
    gen::ServerOptions options;
    options.out = demo.dir.path() / "generated";
    options.db = demo.dir.path() / "server/db";
    options.accounts = 2000;
    options.storage_share = 0.5;
    options.storage_items = 120;
    gen::generate_server(options);
    testing::name_port_zero(options.out);
    start(options.out);
    ws.app.settings.maxstorage = 300;
    const std::string line = read_lines(options.out / "save/athena.txt").at(0);
    character_round_trip(line.substr(0, line.find('\t')));
    const std::string store = read_lines(options.out / "save/storage.txt").at(0);
    store_round_trip(std::stoi(store.substr(0, store.find(','))));
}

}  // namespace
}  // namespace tavo
