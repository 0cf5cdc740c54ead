#pragma once
// A floating panel ("Add / Edit Item", "MAPS", ...): a framed box raised over the tab area,
// hidden until opened. Its default button answers Enter and its Cancel button Escape.

#include <QGroupBox>

class QPushButton;

namespace tavo::ui {

class OverlayPanel : public QGroupBox {
    Q_OBJECT
public:
    OverlayPanel(const QString& caption, const QString& object_name, QWidget* parent);

    // Shows the panel over `area` (a widget of the same window), at its top-left corner plus
    // the offset, raised above everything else.
    void show_over(QWidget* area, QPoint offset = QPoint(12, 12));
    // Shown over `area` when it was hidden, hidden when not `shown`; a shown panel stays where
    // it is.
    void show_or_hide(bool shown, QWidget* area, QPoint offset = QPoint(12, 12));
    void set_default_button(QPushButton* button) { default_ = button; }
    void set_cancel_button(QPushButton* button) { cancel_ = button; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* default_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace tavo::ui
