#pragma once
// The "Options/About" tab: what the program is for and the settings in force.

#include <QWidget>

class QPlainTextEdit;

namespace tavo::ui {

class OptionsAboutTab : public QWidget {
    Q_OBJECT
public:
    explicit OptionsAboutTab(QWidget* parent = nullptr);
    void set_text(const QString& text);

private:
    QPlainTextEdit* text_about_;
};

}  // namespace tavo::ui
