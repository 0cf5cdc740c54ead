#pragma once
// The Ui of the editor: Qt message boxes, the folder picker and Form2.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "app/ui.h"
#include "ui/form2.h"

namespace tavo::ui {

class QtUi : public Ui {
public:
    QtUi();
    ~QtUi() override;
    // The window that owns the boxes and the progress window.
    void set_owner(QWidget* owner);

    void message(const std::string& text, const std::string& title, Icon icon) override;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon) override;
    std::string browse_for_folder(const std::string& instruction) override;
    void progress_show() override;
    void progress_set(const std::string& text) override;
    void progress_close() override;
    bool progress_due() override;

    Form2* progress_window() const { return form2_; }

private:
    void pump();

    QPointer<QWidget> owner_;
    QPointer<Form2> form2_;
    bool can_raise_ = true;
    QElapsedTimer since_paint_;
    unsigned calls_ = 0;
};

}  // namespace tavo::ui
