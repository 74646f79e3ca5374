#pragma once

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <memory>

namespace chimewell {

/// A button on a notification: the key it reports, and its label.
struct NoticeAction
{
    QString key;
    QString label;
};

/// What a notification says and how insistently.
struct Notice
{
    QString title;
    QString text;
    /// Stays until dismissed, where the desktop allows it (an alarm, a missed alarm).
    bool urgent = false;
    QList<NoticeAction> actions;
    /// Where `text` is a summary: the whole of it, for the program's own notice window.
    QString details;
};

/// The desktop's notification service (org.freedesktop.Notifications on Linux). The caller
/// names each notice by a number of its own; the service's answers come later, as signals.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~DesktopNotifier() override = default;

    /// Whether a service can be asked now: one runs, or the session can start one.
    virtual bool isAvailable() const = 0;
    /// Shows `notice` as notice `id`, in place of an earlier notice `id` that still shows. The
    /// text is shown exactly as given, never read as markup.
    virtual void notify(int id, const Notice& notice) = 0;
    /// Takes notice `id` away, if it shows (or as soon as the service says that it does).
    virtual void withdraw(int id) = 0;

signals:
    /// A button of notice `id` was pressed, however long the service took to take the notice.
    void actionInvoked(int id, const QString& key);
    /// The user closed notice `id`.
    void dismissed(int id);
    /// The service did not take notice `id`: it has to be told another way.
    void failed(int id);
};

/// The notification service of the system the program was built for, showing `iconFile` where
/// it draws a picture; none where the system has no such service (Windows), whose notices then
/// go to the tray icon and the program's own notice window.
std::unique_ptr<DesktopNotifier> makeDesktopNotifier(const QString& iconFile);

} // namespace chimewell
