#include "ui/tests/widget_fixture.h"

namespace tavo::testing {

WidgetFixture::WidgetFixture(const std::string& ini) {
    dir.make_server("server");
    // A small account file, so that start-up asks no version question; tests that need other
    // accounts write their own before open_window().
    dir.write("server/save/account.txt",
              "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
              "2000001\tanna\tpw\t-\tF\t3\t0\tanna@example.org\t-\t0\t-\t-\t0\t\r\n"
              "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
              "2000003\t%newid%\r\n");
    dir.write("server/conf/GM_account.txt", "// GM accounts\r\n");
    fs::create_directories(program());
    dir.write("program/tavo.ini", "[option]\neafolder\t" + server().string() + "\n" + ini);
    ws.app.program_folder = program();
}

WidgetFixture::~WidgetFixture() = default;

ui::Form1& WidgetFixture::open_window() {
    form = std::make_unique<ui::Form1>(ws, ui);
    form->form_load();
    return *form;
}

}  // namespace tavo::testing
