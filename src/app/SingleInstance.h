#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// One ZoffinoUSB per user: two programs on one player would interleave their blocks in its memory. The
// first program takes a lock and listens; a later one finds the lock taken, asks the first to bring its
// window to the front, and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // name tells the lock and the channel apart from other programs'; folder is where they live, by default
    // the user's runtime folder.
    explicit SingleInstance(const QString& name, const QString& folder = QString());
    ~SingleInstance() override;

    // True when no other instance runs: this one then holds the lock and listens. A lock that cannot be
    // made at all (no such folder, no permission) does not stop the program either.
    bool claim();
    // Asks the instance that holds the lock to come to the front; true when it took the request.
    bool activateRunning();

signals:
    // Another instance asked this one to come to the front.
    void activationRequested();

private:
    void onConnection();
    // Where the running instance listens: one file per system (SingleInstance_win.cpp, _local.cpp).
    static QString serverName(const QString& name, const QString& folder);

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
