#pragma once

#include <QtCore/QString>

namespace chimewell {

/// A folder of the user's own for the files that exist only while the program runs (the lock
/// that keeps one copy running). It is found from who the user is, never from the
/// environment, so that two copies started with different variables find the same folder.
/// Empty when none can be made.
QString userRuntimeFolder();

} // namespace chimewell
