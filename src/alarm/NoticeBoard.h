#pragma once

#include "platform/DesktopNotifier.h"

#include <QtCore/QObject>

namespace chimewell {

/// Where the alarms' notices show: the desktop's notifications, the tray icon's balloons, a
/// window of the program's own. Each notice has a number, by which its buttons and its closing
/// come back.
class NoticeBoard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~NoticeBoard() override = default;

    /// Shows `notice` the best way there is, and returns its number. An urgent notice stays
    /// until it is withdrawn or the user closes it.
    virtual int tell(const Notice& notice) = 0;
    /// Shows `notice` in place of notice `id`, where it shows.
    virtual void retell(int id, const Notice& notice) = 0;
    /// Takes notice `id` away, wherever it shows.
    virtual void withdraw(int id) = 0;

signals:
    /// A button of notice `id` was pressed.
    void actionInvoked(int id, const QString& key);
    /// The user closed notice `id`.
    void dismissed(int id);
};

} // namespace chimewell
