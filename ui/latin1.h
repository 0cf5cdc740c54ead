#pragma once
// File text is bytes; the window shows them as Latin-1 so that every byte of a name survives
// a load and a save.

#include <QByteArray>
#include <QString>
#include <string>

namespace tavo::ui {

inline QString qs(const std::string& text) {
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

inline std::string bytes(const QString& text) {
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

}  // namespace tavo::ui
