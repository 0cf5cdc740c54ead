#pragma once
// Form2: the progress window shown during long reads and writes.

#include <QDialog>

class QLabel;

namespace tavo::ui {

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    void set_counter(const QString& text);
    QString counter() const;

private:
    QLabel* label1_;
    QLabel* label2_;
};

}  // namespace tavo::ui
