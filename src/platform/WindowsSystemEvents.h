#pragma once

#include "SystemEvents.h"

namespace chimewell {

/// WM_TIMECHANGE, WM_POWERBROADCAST and WM_ENDSESSION, which Windows sends to every top-level
/// window: heard through a hidden window of the program's own, which exists from the start,
/// also when the program starts hidden in the tray and has no other window.
class WindowsSystemEvents final : public SystemEvents
{
    Q_OBJECT
public:
    explicit WindowsSystemEvents(QObject* parent = nullptr);
    ~WindowsSystemEvents() override;

    /// Acts on one message of the hidden window; true when it was one of these events.
    bool handle(unsigned message, unsigned long long wParam);

private:
    void* m_window = nullptr;
};

} // namespace chimewell
