#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QString>

// A file the user chose to send to the player. It is opened only when it is a regular file: nothing whose
// opening or reading could block the user-interface thread (a FIFO, a socket, a device) is ever opened.
// Whatever goes wrong is told in the user's language, naming the file and what to do; the system's own words
// follow only where they add something.
class SourceFile
{
    Q_DECLARE_TR_FUNCTIONS(SourceFile)

public:
    explicit SourceFile(QString path);

    // Empty when the file is open for reading; otherwise what to tell the user.
    QString open();
    QFile& file() { return m_file; }

    // What to tell the user when a read came back short of what the file held at opening: it got shorter,
    // or it could not be read.
    QString readFailure();
    // The file's size or modification time is no longer what it was when it was opened.
    bool changedSinceOpened();
    QString changedMessage() const;

private:
    QString shownName() const;
    // Opens the file if it is a regular one (one file per system: SourceFile_unix.cpp, _other.cpp); the
    // refusal for the user otherwise.
    QString openRegular();
    static QString notRegular(const QString& name, const QString& kind);
    static QString openFailure(const QString& name, int error);

    QString m_path;
    QFile m_file;
    qint64 m_openedSize = 0;
    QDateTime m_openedModified;
};
