#pragma once
// A program folder and a server folder in a scratch folder, and a main window over them.

#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <string>

#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"
#include "ui/form1.h"
#include "workspace/workspace.h"

class QComboBox;
class QListWidget;

namespace tavo::testing {

// A control of the window by its name; the test stops when there is none.
template <class T>
T* child(ui::Form1& form, const QString& name) {
    T* found = form.findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", qPrintable(name));
    return found;
}

// The entries of a chooser or a list, in order.
QStringList texts(const QComboBox* combo);
QStringList texts(const QListWidget* list);

class WidgetFixture {
public:
    // tavo.ini is an [option] section naming the scratch server folder, followed by `ini`
    // (more keys or sections). Write further server or program files through `dir`
    // ("server/save/account.txt", "program/class-skill.txt") before open_window(). By default
    // the server has three accounts, a tiny item and job database and the program folder the
    // card tables, so that start-up shows no message.
    explicit WidgetFixture(const std::string& ini = "");
    ~WidgetFixture();

    ui::Form1& open_window();  // builds Form1 and runs the start-up
    // Copies the bundled demo server and program files over the scratch folders.
    void use_demo();
    fs::path program() const { return dir.path() / "program"; }
    fs::path server() const { return dir.path() / "server"; }

    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
    std::unique_ptr<ui::Form1> form;
};

}  // namespace tavo::testing
