#include "ui/tests/widget_fixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <cstdlib>

namespace tavo::testing {

QStringList texts(const QComboBox* combo) {
    QStringList all;
    for (int i = 0; i < combo->count(); ++i) all << combo->itemText(i);
    return all;
}

QStringList texts(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
    return all;
}

WidgetFixture::WidgetFixture(const std::string& ini) {
    ui.on_failure = [](const std::string& what) {
        QTest::qFail(("Scripted Ui: " + what).c_str(), __FILE__, __LINE__);
    };
    dir.make_server("server");
    // A small account file, so that start-up asks no version question; tests that need other
    // accounts write their own before open_window().
    dir.write("server/save/account.txt",
              "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
              "2000001\tanna\tpw\t-\tF\t3\t0\tanna@example.org\t-\t0\t-\t-\t0\t\r\n"
              "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
              "2000003\t%newid%\r\n");
    dir.write("server/conf/GM_account.txt", "// GM accounts\r\n");
    // The databases and card tables start-up reads, so that it shows no message.
    dir.write("server/db/item_db.txt",
              "501,Red_Potion,Red Potion,0,50,25,70,,,,,0xFFFFFFFF,7,2,,,,{},{}\r\n"
              "1201,Knife,Knife,4,50,25,400,17,,1,3,0x02A,2,2,1,1,1,{},{}\r\n");
    dir.write("server/db/job_db1.txt", "20000,500,0,0,0,0\r\n");
    dir.write("program/cardprefixnametable.txt", "4001#Lucky#\r\n");
    dir.write("program/cardpostfixnametable.txt", "// none\r\n");
    fs::create_directories(program());
    dir.write("program/tavo.ini", "[option]\neafolder\t" + server().string() + "\n" + ini);
    ws.app.program_folder = program();
}

WidgetFixture::~WidgetFixture() = default;

void WidgetFixture::use_demo() {
    const char* source = std::getenv("TAVO_SOURCE_DIR");
    const fs::path demo = fs::path(source != nullptr ? source : ".") / "demo";
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(demo / "server", server(), options);
    fs::copy(demo / "program", program(), options);
}

ui::Form1& WidgetFixture::open_window() {
    form = std::make_unique<ui::Form1>(ws, ui);
    form->form_load();
    return *form;
}

}  // namespace tavo::testing
