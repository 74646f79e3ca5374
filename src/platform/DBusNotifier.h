#pragma once

#include "DesktopNotifier.h"

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QPair>
#include <QtCore/QSet>
#include <QtCore/QTimer>
#include <QtDBus/QDBusError>
#include <QtDBus/QDBusPendingCall>

class QDBusServiceWatcher;

namespace chimewell {

/// Notifications through org.freedesktop.Notifications on the session bus. Every call is
/// asynchronous; a notice whose Notify is not answered within kAnswerMs counts as failed, and
/// the server's notice, should it come later, is closed. An urgent notice that the server
/// closes by itself (expired, closed for another client) or loses in a restart is shown again.
class DBusNotifier final : public DesktopNotifier
{
    Q_OBJECT
public:
    /// How long a call is waited for at all: a late answer is still taken, to close its notice.
    static constexpr int kCallTimeoutMs = 120'000;
    /// How long Notify may take before the notice is told another way.
    static constexpr int kAnswerMs = 10'000;
    /// How long a server that went away is waited for before its notices are told another way.
    static constexpr int kServerBackMs = 5'000;

    /// `iconFile`: a picture of the program, shown by servers that draw one.
    explicit DBusNotifier(const QString& iconFile = {}, QObject* parent = nullptr);
    /// Waits a moment for the notices withdrawn last to be closed: the program is ending, and
    /// a notice left behind would keep buttons that nothing answers.
    ~DBusNotifier() override;

    bool isAvailable() const override;
    void notify(int id, const Notice& notice) override;
    void withdraw(int id) override;

private slots:
    void onActionInvoked(uint serverId, const QString& key);
    void onClosed(uint serverId, uint reason);

private:
    void send(int id, int sending, const Notice& notice, const QStringList& capabilities);
    void taken(int id, int sending, uint serverId);
    void close(uint serverId);
    void callFailed(int id, int sending, const QDBusError& error);
    /// The notice is told another way from now on.
    void giveUp(int id);
    void showAgain();

    QString m_iconFile;
    QVariant m_image; // the image-data hint, when the picture could be read
    int m_sendings = 0;
    QHash<int, int> m_latestSending;        // a notice's latest Notify call, until withdrawn
    QSet<int> m_waiting;                    // Notify calls not answered yet
    QHash<int, uint> m_serverIdOf;          // notice -> the server's id, once it answered
    QHash<uint, int> m_noticeOf;            // the server's id -> notice
    QHash<int, Notice> m_shown;             // what each notice shows, until withdrawn or dismissed
    QSet<int> m_shownAgain;                 // notices sent again after their server went away
    QHash<int, int> m_quickCloses;          // urgent notices the server closed at once, in a row
    QHash<int, qint64> m_shownAt;           // when the server took each notice (ms since epoch)
    QList<QPair<uint, QString>> m_early;    // buttons pressed before Notify's answer arrived
    QList<QPair<uint, uint>> m_earlyCloses; // closes (with their reason) before the answer
    QList<QDBusPendingCall> m_closing;      // CloseNotification calls not answered yet
    QDBusServiceWatcher* m_owner = nullptr;
    QTimer m_ownerSettles;
};

} // namespace chimewell
