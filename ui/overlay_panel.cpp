#include "ui/overlay_panel.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tavo::ui {

OverlayPanel::OverlayPanel(const QString& caption, const QString& object_name, QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(object_name);
    setAutoFillBackground(true);
    setStyleSheet(
        QStringLiteral(
            "QGroupBox#%1 { border: 1px solid palette(dark); border-radius: 4px; margin-top: 1.4em;"
            " background: palette(window); }"
            "QGroupBox#%1::title { subcontrol-origin: margin; left: 8px; padding: 0 4px;"
            " background: palette(window); }")
            .arg(object_name));
    hide();
}

void OverlayPanel::show_over(QWidget* area, QPoint offset) {
    QWidget* host = parentWidget();
    const QPoint corner =
        area != nullptr && host != nullptr
            ? area->mapTo(host->window(), QPoint(0, 0)) - host->mapTo(host->window(), QPoint(0, 0))
            : QPoint(0, 0);
    adjustSize();
    move(corner + offset);
    show();
    raise();
}

void OverlayPanel::show_or_hide(bool shown, QWidget* area, QPoint offset) {
    if (!shown) {
        hide();
    } else if (isHidden()) {
        show_over(area, offset);
    }
}

void OverlayPanel::keyPressEvent(QKeyEvent* event) {
    QPushButton* target = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) target = default_;
    if (event->key() == Qt::Key_Escape) target = cancel_;
    if (target != nullptr) {  // a disabled button ignores the click
        target->click();
        event->accept();
        return;
    }
    QGroupBox::keyPressEvent(event);
}

}  // namespace tavo::ui
