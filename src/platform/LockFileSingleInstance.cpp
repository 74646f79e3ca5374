#include "LockFileSingleInstance.h"

#include "RuntimeFolder.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QCryptographicHash>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QSysInfo>
#include <QtCore/QTimer>
#include <QtCore/QtEndian>
#include <QtNetwork/QLocalServer>
#include <QtNetwork/QLocalSocket>
#include <optional>

namespace chimewell {

LockFileSingleInstance::LockFileSingleInstance(const QString& appDir, const QString& lockFolder)
{
    QString folder = lockFolder.isEmpty() ? userRuntimeFolder() : lockFolder;
    // Without a folder of the user's own, the shared temporary folder still keeps one copy
    // per application folder.
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    QString canonical = QFileInfo(appDir).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = appDir;
#ifdef Q_OS_WIN
    // One folder, however the letters of its path were typed.
    canonical = canonical.toCaseFolded();
#endif
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256);
    m_path = folder + "/chimewell-" + QString::fromLatin1(hash.toHex().left(16)) + ".lock";
#ifdef Q_OS_WIN
    // Pipe names are one namespace for every user: the name comes from the user's own lock.
    m_socketName =
        "chimewell-" +
        QString::fromLatin1(
            QCryptographicHash::hash(m_path.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
#else
    // Beside the lock, in a folder only the user can enter.
    m_socketName = m_path.left(m_path.size() - 5) + ".socket";
#endif
}

LockFileSingleInstance::~LockFileSingleInstance()
{
    delete m_server;
}

namespace {

// A message as it travels: its length (4 bytes, big-endian), then its bytes.
QByteArray framed(const QByteArray& bytes)
{
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(quint32(bytes.size()), message.data());
    return message + bytes;
}

// The message at the start of `buffer`, once all of it is there; `tooLarge` when it never
// can be.
std::optional<QByteArray> takeMessage(QByteArray& buffer, bool& tooLarge)
{
    if (buffer.size() < 4)
        return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(buffer.constData());
    tooLarge = length > LockFileSingleInstance::kLargestMessage;
    if (tooLarge || buffer.size() < 4 + qsizetype(length))
        return std::nullopt;
    QByteArray message = buffer.mid(4, length);
    buffer.remove(0, 4 + length);
    return message;
}

} // namespace

void LockFileSingleInstance::release()
{
    delete m_server;
    m_server = nullptr;
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

void LockFileSingleInstance::serve(Answer answer)
{
    if (m_server || !m_lock || !m_lock->isLocked())
        return;
    m_server = new QLocalServer;
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Connected before it listens: on Windows a request that comes while the server is being
    // set up is told during listen() itself, and would otherwise wait unanswered for the next.
    QObject::connect(m_server, &QLocalServer::newConnection, m_server, [this, answer] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            // A request that does not come whole within 5 s, or could never be whole, is
            // dropped unanswered.
            auto* buffer = new QByteArray;
            auto* limit = new QTimer(socket);
            limit->setSingleShot(true);
            limit->start(5000);
            const auto drop = [socket] {
                socket->abort();
                socket->deleteLater();
            };
            QObject::connect(limit, &QTimer::timeout, socket, drop);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [socket, buffer, answer, limit, drop] {
                                 buffer->append(socket->readAll());
                                 bool tooLarge = false;
                                 const auto request = takeMessage(*buffer, tooLarge);
                                 if (tooLarge) {
                                     drop();
                                     return;
                                 }
                                 if (!request)
                                     return;
                                 // The asker hangs up once it has read the answer: a
                                 // named pipe closed by this end loses what the other end
                                 // has not read yet. One that never reads is let go.
                                 socket->write(framed(answer(*request)));
                                 limit->start(10000);
                             });
        }
    });
    // What a killed copy left behind is ours: this copy holds the lock.
    QLocalServer::removeServer(m_socketName);
    if (!m_server->listen(m_socketName))
        qWarning("Chimewell takes no requests from the command line: %s",
                 qPrintable(m_server->errorString()));
}

SingleInstance::Asked LockFileSingleInstance::ask(const QByteArray& request, int timeoutMs,
                                                  QByteArray& reply)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return Asked::NobodyListens;
    socket.write(framed(request));
    QByteArray buffer;
    while (!deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))) &&
            socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0)
            break;
        buffer.append(socket.readAll());
        bool tooLarge = false;
        if (auto message = takeMessage(buffer, tooLarge)) {
            reply = *message;
            socket.disconnectFromServer();
            return Asked::Answered;
        }
        if (tooLarge)
            break;
    }
    return Asked::NoAnswer;
}

bool LockFileSingleInstance::tryAcquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a lock whose process is gone counts as stale, however old it is.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // A lock that names this very process was left by an earlier one that had the same id:
    // Windows hands process ids out again (Wine the same few, in the same order, after every
    // restart), and to Qt that process still runs.
    qint64 owner = 0;
    QString host;
    QString application;
    if (m_lock->error() == QLockFile::LockFailedError &&
        m_lock->getLockInfo(&owner, &host, &application) &&
        owner == QCoreApplication::applicationPid() &&
        // (Qt writes the computer's name as Windows spells it, in capitals.)
        (host.isEmpty() || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0))
        return m_lock->removeStaleLockFile() && m_lock->tryLock(0);
    return false;
}

} // namespace chimewell
