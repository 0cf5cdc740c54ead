// Adding an item and deleting it again, then saving, must give back the character and store
// files byte for byte: the line rebuilt from the record is the line as read. Checked on the
// demo server and on a generated one.

#include <gtest/gtest.h>

#include "app/text_file.h"
#include "pages/pages.h"
#include "testsupport/demo_workspace.h"
#include "testsupport/temp_dir.h"
#include "tools/gen/server_gen.h"

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
    // Adds an apple to the list and deletes it again, through the list's page and the panel.
    template <class Page>
    void add_and_delete(Page& page) {
        ASSERT_TRUE(page.press(ItemButton::New).panel_opened);
        pages.item_panel.choose(pages.item_panel.line_of_item(512));
        pages.item_panel.type_field(ItemField::Qty, "3"s);
        ASSERT_TRUE(pages.item_panel.confirm());
        page.select(page.selected());
        ui.answer({true});
        ASSERT_TRUE(page.press(ItemButton::Delete).done);
    }
    void character_round_trip(const std::string& id) {
        ASSERT_TRUE(pages.character.open(id));
        add_and_delete(pages.character.inventory());
        add_and_delete(pages.character.cart());
        ASSERT_TRUE(ws.characters.modified());
        ASSERT_TRUE(pages.character.save());
        EXPECT_TRUE(read_file(server / "save/athena.txt") == athena) << "athena.txt changed";
        EXPECT_TRUE(read_file(server / "save/athena.bak.txt") == athena);
    }
    void store_round_trip(std::int32_t account) {
        ASSERT_TRUE(pages.storage.choose_account(account));
        ASSERT_GT(pages.storage.count(), 0);
        add_and_delete(pages.storage);
        ASSERT_TRUE(pages.storage.press(ItemButton::SaveFile).done);
        EXPECT_TRUE(read_file(server / "save/storage.txt") == storage) << "storage.txt changed";
        EXPECT_TRUE(ui.unexpected.empty());
    }

    testing::DemoWorkspace demo;
    testing::ScriptedUi& ui = demo.ui;
    Workspace& ws = demo.ws;
    Pages pages{ws, ui};
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
