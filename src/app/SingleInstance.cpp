#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {

// How long a later instance waits for the first one to take its request; the first one answers from its
// event loop, which a download keeps turning.
constexpr int kRequestTimeoutMs = 2000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");

} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder)
{
    const QString where =
        folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
    m_lockPath = QDir(where).filePath(name + QStringLiteral(".lock"));
    m_serverName = serverName(name, where);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // The lock names this process: one left behind by a program that crashed is taken over at once.
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            m_lock.reset();
            return false;
        }
        m_lock.reset();
        return true;
    }
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a program that crashed would stop the listening.
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName)) {
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    }
    return true;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            if (socket->readLine() == kActivate) {
                emit activationRequested();
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::activateRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kRequestTimeoutMs)) {
        return false;
    }
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(kRequestTimeoutMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kRequestTimeoutMs)) {
            return false;
        }
    }
    return socket.readLine() == kDone;
}
