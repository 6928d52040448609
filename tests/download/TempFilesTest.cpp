#include "download/TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

// What a killed process left in the temporary folder, as the next start finds it.
namespace {

// A process that has ended and been reaped: its id names no process any more.
qint64 goneProcess()
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
}

TEST(TempFiles, WhatAGoneProcessLeftIsRemovedAndWhatARunningOneUsesStays)
{
    QTemporaryDir temp;
    QTemporaryDir outside;
    const QDir folder(temp.path());
    const QString gone = QString::number(goneProcess());
    const QString running = QString::number(QCoreApplication::applicationPid());

    // A converted track's folder and a source's samples, of the gone process.
    ASSERT_TRUE(folder.mkpath(QStringLiteral("zoffino-%1-aBcD12/sub").arg(gone)));
    touch(folder.filePath(QStringLiteral("zoffino-%1-aBcD12/sub/brano.wav").arg(gone)));
    touch(folder.filePath(QStringLiteral("zoffino-%1-XyZw34").arg(gone)));
    // Inside its folder, a link to a file that is no temporary one.
    touch(outside.filePath(QStringLiteral("mio.wav")));
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("mio.wav")),
                            folder.filePath(QStringLiteral("zoffino-%1-aBcD12/link.wav").arg(gone))));
    // A running process's, a link named as ours, and names that are not ours.
    touch(folder.filePath(QStringLiteral("zoffino-%1-Run123").arg(running)));
    ASSERT_TRUE(QFile::link(outside.path(), folder.filePath(QStringLiteral("zoffino-%1-Link12").arg(gone))));
    touch(folder.filePath(QStringLiteral("zoffino-%1-abcdef.pcm").arg(gone)));
    touch(folder.filePath(QStringLiteral("zoffino-uhid-%1-abcdef").arg(gone)));

    EXPECT_EQ(TempFiles::removeLeftovers(temp.path()), 2);
    QStringList kept{QStringLiteral("zoffino-%1-Run123").arg(running),
                     QStringLiteral("zoffino-%1-Link12").arg(gone),
                     QStringLiteral("zoffino-%1-abcdef.pcm").arg(gone),
                     QStringLiteral("zoffino-uhid-%1-abcdef").arg(gone)};
    kept.sort();
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name), kept);
    EXPECT_TRUE(QFileInfo::exists(outside.filePath(QStringLiteral("mio.wav"))))
        << "a link is removed, never what it points to";
}

TEST(TempFiles, TheNamesGivenAreKnownAsThisProcesssOwn)
{
    QTemporaryDir temp;
    QTemporaryFile file(TempFiles::nameTemplate(temp.path()));
    ASSERT_TRUE(file.open());
    QTemporaryDir folder(TempFiles::nameTemplate(temp.path()));
    ASSERT_TRUE(folder.isValid());
    for (const QString& path : {file.fileName(), folder.path()}) {
        EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(temp.path()).absoluteFilePath());
        EXPECT_EQ(TempFiles::ownerOf(QFileInfo(path).fileName()), QCoreApplication::applicationPid())
            << path.toStdString();
    }
    EXPECT_EQ(TempFiles::removeLeftovers(temp.path()), 0);
}

} // namespace
