#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "ui/form1.h"
#include "ui/qt_ui.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("tavo %s\n", TAVO_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavo");

    tavo::Workspace ws;
    tavo::set_program_folders(ws.app,
                              QFile::encodeName(QApplication::applicationDirPath()).toStdString());
    tavo::ui::QtUi ui;
    tavo::ui::Form1 form(ws, ui);
    ui.set_owner(&form);
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.form_load(); });
    return QApplication::exec();
}
