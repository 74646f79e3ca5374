#include "QtMessageBox.h"

#include <QtWidgets/QMessageBox>

namespace chimewell {

void QtMessageBox::show(const QString& text, MessageIcon icon)
{
    const QMessageBox::Icon kind = icon == MessageIcon::Information   ? QMessageBox::Information
                                   : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                      : QMessageBox::Critical;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(kind, QStringLiteral("Chimewell"), shown, QMessageBox::Ok);
    // The set-foreground flag: the box comes up in front even when the program is hidden.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setTextFormat(Qt::PlainText);
    box.raise();
    box.activateWindow();
    box.exec();
}

} // namespace chimewell
