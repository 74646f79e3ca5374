#include "WindowsSystemEvents.h"

#include <QtCore/QCoreApplication>
#include <windows.h>

namespace chimewell {

WindowsSystemEvents::WindowsSystemEvents(QObject* parent) : SystemEvents(parent)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowsSystemEvents::~WindowsSystemEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowsSystemEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_TIMECHANGE)
        emit clockChanged();
    else if (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMEAUTOMATIC)
        emit resumed();
    return false; // others may want them too
}

std::unique_ptr<SystemEvents> makeSystemEvents()
{
    return std::make_unique<WindowsSystemEvents>();
}

} // namespace chimewell
