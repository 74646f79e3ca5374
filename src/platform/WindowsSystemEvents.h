#pragma once

#include "SystemEvents.h"

#include <QtCore/QAbstractNativeEventFilter>

namespace chimewell {

/// WM_TIMECHANGE and WM_POWERBROADCAST, which Windows sends to every top-level window.
class WindowsSystemEvents final : public SystemEvents, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit WindowsSystemEvents(QObject* parent = nullptr);
    ~WindowsSystemEvents() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

} // namespace chimewell
