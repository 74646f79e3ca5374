#include "QtMessageBox.h"

#include <QtCore/QEventLoop>
#include <QtCore/QPointer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

namespace chimewell {
namespace {

// Shows a box modal to the window that asked and to nothing else, so that a ringing alarm's
// notice window keeps working while it is open, and returns the button pressed. The box goes
// with that window, should it close meanwhile.
QMessageBox::StandardButton runBox(QMessageBox::Icon kind, const QString& text,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton byDefault)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A window that must stay answerable (an alarm's notice) is never a box's owner.
    QWidget* owner = QApplication::activeWindow();
    if (owner && owner->property("neverBlocked").toBool())
        owner = nullptr;
    QPointer<QMessageBox> box =
        new QMessageBox(kind, QStringLiteral("Chimewell"), shown, buttons, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setDefaultButton(byDefault);
    // The set-foreground flag: the box comes up in front even when the program is hidden.
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->setTextFormat(Qt::PlainText);
    QMessageBox::StandardButton pressed = QMessageBox::NoButton;
    QEventLoop loop;
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [&pressed, &box](QAbstractButton* b) { pressed = box->standardButton(b); });
    QObject::connect(box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
    box->show();
    box->raise();
    box->activateWindow();
    loop.exec(QEventLoop::DialogExec);
    return pressed;
}

} // namespace

void QtMessageBox::show(const QString& text, MessageIcon icon)
{
    const QMessageBox::Icon kind = icon == MessageIcon::Information   ? QMessageBox::Information
                                   : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                      : QMessageBox::Critical;
    runBox(kind, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBox::ask(const QString& text)
{
    return runBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}

} // namespace chimewell
