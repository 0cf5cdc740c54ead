#include "ui/tests/widget_fixture.h"

namespace tavo::testing {

WidgetFixture::WidgetFixture(const std::string& ini) {
    dir.make_server("server");
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
