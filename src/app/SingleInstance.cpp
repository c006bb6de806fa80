#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

namespace app {

namespace {

QString LockFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::tempPath();
    return dir;
}

const QByteArray kShowRequest = QByteArrayLiteral("show\n");

} // namespace

SingleInstance::SingleInstance(const QString& lockName)
    : lock_(std::make_unique<QLockFile>(QDir(LockFolder()).filePath(lockName)))
    , lockPath_(QDir(LockFolder()).filePath(lockName))
{
    // A running program may hold the lock for days: age alone never makes it
    // stale. A lock whose process is gone (a crash, a power cut) is stale and
    // is taken over at once, so a crashed instance never blocks the next start.
    lock_->setStaleLockTime(0);
    first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
    if (first_)
        lock_->unlock();
}

QString SingleInstance::socketPath() const
{
    // A full path in the user's own runtime folder: another user's program
    // is never asked.
    return lockPath_ + QStringLiteral(".socket");
}

bool SingleInstance::ListenForLaterStarts(std::function<void()> show)
{
    if (!first_)
        return false;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock's holder listens, so a socket file left behind by a
    // crashed instance is ours to remove.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this, show] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            const auto read = [socket, show] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == kShowRequest)
                        show();
                }
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            read(); // what arrived with the connection
        }
    });
    return true;
}

bool SingleInstance::AskFirstToShow() const
{
    if (first_)
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kShowRequest);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return sent;
}

void BringToFront(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace app
