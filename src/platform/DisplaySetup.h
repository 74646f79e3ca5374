#pragma once

#include <QtCore/QtGlobal>

namespace chimewell {

/// Settings of the display connection, made before the application object exists.
inline void prepareDisplay()
{
    // On X11, shared-memory image transfers make every repaint wait for a completion event:
    // with the clock redrawn each second that alone woke the program four times a second.
    // The windows are small, so plain transfers cost nothing noticeable. (Other platforms
    // ignore the variable.)
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

} // namespace chimewell
