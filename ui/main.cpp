#include <QApplication>
#include <QFile>
#include <QTimer>

#include "ui/form1.h"
#include "ui/qt_ui.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavo");

    tavo::Workspace ws;
    ws.app.program_folder = QFile::encodeName(QApplication::applicationDirPath()).toStdString();
    tavo::ui::QtUi ui;
    tavo::ui::Form1 form(ws, ui);
    ui.set_owner(&form);
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.form_load(); });
    return QApplication::exec();
}
