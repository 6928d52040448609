#include "RecordingSoundOutput.h"
#include "WavBuilder.h"

#include "cli/CliTool.h"
#include "cli/TerminalProgress.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The tool as a script runs it: no terminal on its input, its output and messages in files, a simulated
// player on an image of the test's own, and a settings store of the test's own.
class CliToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           dir.filePath(QStringLiteral("config")));
    }

    struct Run
    {
        int exit = -1;
        QString out;
        QString err;
    };

    Run run(QStringList arguments, const CliTool::SoundOutputFactory& makeSound = {})
    {
        arguments.prepend(QStringLiteral("zoffino"));
        std::fflush(stdout);
        std::fflush(stderr);
        const int savedIn = ::dup(STDIN_FILENO), savedOut = ::dup(STDOUT_FILENO),
                  savedErr = ::dup(STDERR_FILENO);
        const QByteArray outPath = dir.filePath(QStringLiteral("out")).toLocal8Bit();
        const QByteArray errPath = dir.filePath(QStringLiteral("err")).toLocal8Bit();
        redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
        redirect(STDOUT_FILENO, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC);
        redirect(STDERR_FILENO, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC);
        Run result;
        result.exit = CliTool::run(arguments, makeSound);
        std::fflush(stdout);
        std::fflush(stderr);
        for (auto [saved, fd] :
             {std::pair{savedIn, STDIN_FILENO}, {savedOut, STDOUT_FILENO}, {savedErr, STDERR_FILENO}}) {
            ::dup2(saved, fd);
            ::close(saved);
        }
        result.out = read(QString::fromLocal8Bit(outPath));
        result.err = read(QString::fromLocal8Bit(errPath));
        return result;
    }

    Run onPlayer(QStringList arguments)
    {
        arguments.prepend(QStringLiteral("--simulate=") + dir.filePath(QStringLiteral("flash.bin")));
        return run(arguments);
    }

    QString wav(const char* name, std::size_t samples)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(samples)).writeTo(path));
        return path;
    }

    QTemporaryDir dir;

private:
    static void redirect(int fd, const char* path, int flags)
    {
        const int opened = ::open(path, flags, 0600);
        ::dup2(opened, fd);
        ::close(opened);
    }

    static QString read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

TEST_F(CliToolTest, WhatACommandDoesNotTakeIsRefusedWithTheUsageBeforeAnyPlayerIsLookedFor)
{
    const QStringList wrong[] = {
        {QStringLiteral("bogus")},
        {},
        {QStringLiteral("info"), QStringLiteral("extra")},
        {QStringLiteral("play"), QStringLiteral("1"), QStringLiteral("2")},
        {QStringLiteral("stop"), QStringLiteral("--track"), QStringLiteral("1")},
        {QStringLiteral("load"), QStringLiteral("a.wav"), QStringLiteral("--track"), QStringLiteral("1"),
         QStringLiteral("--loop"), QStringLiteral("on")},
        {QStringLiteral("config"), QStringLiteral("--partition"), QStringLiteral("3")},
    };
    for (const QStringList& arguments : wrong) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        // No simulated player is named: a usage error must come before the real player is looked for.
        const Run result = run(arguments);
        EXPECT_EQ(result.exit, CliTool::kUsage);
        EXPECT_TRUE(result.err.contains(QStringLiteral("zoffino --help"))) << result.err.toStdString();
        EXPECT_FALSE(result.err.contains(QStringLiteral("Unable to open"))) << result.err.toStdString();
    }
}

TEST_F(CliToolTest, InfoCountsTracksInItalian)
{
    const Run result = onPlayer({QStringLiteral("info")});
    EXPECT_EQ(result.exit, CliTool::kDone) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("Con 1 brano: 47,5 s ciascuno\n")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("Con 8 brani: 5,9 s ciascuno\n")));
}

TEST_F(CliToolTest, InfoListsTheTracksAsTheWindowNamesThemAndOnlyReadsTheStore)
{
    const QString stored = dir.filePath(QStringLiteral("config/Quenmark Audio/ZoffinoUSB.ini"));
    ASSERT_EQ(onPlayer({QStringLiteral("info")}).exit, CliTool::kDone);
    EXPECT_FALSE(QFile::exists(stored)) << "info made a store";

    // 3 s less the last partial block: 0:03.
    const Run loaded = onPlayer(
        {QStringLiteral("load"), wav("sigla.wav", 3 * 22050), QStringLiteral("--track"), QStringLiteral("2"),
         QStringLiteral("--partition"), QStringLiteral("4"), QStringLiteral("--yes")});
    ASSERT_EQ(loaded.exit, CliTool::kDone) << loaded.err.toStdString();
    const auto bytes = [&] {
        QFile file(stored);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    const QDateTime modified = QFileInfo(stored).lastModified();
    const Run info = onPlayer({QStringLiteral("info")});
    EXPECT_EQ(info.exit, CliTool::kDone) << info.err.toStdString();
    EXPECT_TRUE(
        info.out.endsWith(QStringLiteral("Con 8 brani: 5,9 s ciascuno\nBrano 1: Brano 1\n"
                                         "Brano 2: sigla (0:03)\nBrano 3: Brano 3\nBrano 4: Brano 4\n")))
        << info.out.toStdString();
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(QFileInfo(stored).lastModified(), modified);
}

TEST_F(CliToolTest, ARepartitionNobodyAgreedToIsNotSentAndTheTracksKeepTheirNames)
{
    ASSERT_EQ(onPlayer({QStringLiteral("load"), wav("sigla.wav", 640), QStringLiteral("--track"),
                        QStringLiteral("1"), QStringLiteral("--partition"), QStringLiteral("1")})
                  .exit,
              CliTool::kDone);

    const Run declined =
        onPlayer({QStringLiteral("config"), QStringLiteral("--partition"), QStringLiteral("8")});
    EXPECT_EQ(declined.exit, CliTool::kFailed);
    EXPECT_TRUE(declined.err.contains(QStringLiteral("la divisione in 8 brani cancella dal lettore il brano: "
                                                     "\"sigla\"")))
        << declined.err.toStdString();
    EXPECT_TRUE(declined.err.contains(QStringLiteral("--yes")));
    EXPECT_TRUE(onPlayer({QStringLiteral("info")}).out.contains(QStringLiteral("Brani: 1\n")));

    const Run agreed = onPlayer({QStringLiteral("config"), QStringLiteral("--partition"), QStringLiteral("8"),
                                 QStringLiteral("--yes")});
    EXPECT_EQ(agreed.exit, CliTool::kDone) << agreed.err.toStdString();
    EXPECT_TRUE(agreed.out.contains(QStringLiteral("Brani: 8\n")));
    // The name of the track the new division erased is the default one again, as in the window.
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenmark Audio"),
                    QStringLiteral("ZoffinoUSB"));
    EXPECT_EQ(store.value(QStringLiteral("Settings/variabili/Brano1")).toString(), QStringLiteral("Brano 1"));
}

TEST_F(CliToolTest, ListNamesThePlayerByWhatDeviceTakesAndDeviceRefusesWhatIsNoPlayer)
{
    const Run list = onPlayer({QStringLiteral("list")});
    EXPECT_EQ(list.exit, CliTool::kDone) << list.err.toStdString();
    EXPECT_EQ(list.out, QStringLiteral("sim:player  Zoffino USB - lettore simulato, 1 MiB\n"));

    const Run named =
        onPlayer({QStringLiteral("--device"), QStringLiteral("sim:player"), QStringLiteral("info")});
    EXPECT_EQ(named.exit, CliTool::kDone) << named.err.toStdString();

    // Neither a missing node nor a file is a player: refused as when there is none, with the players there
    // are.
    const QString file = wav("brano.wav", 640);
    for (const QString& path : {dir.filePath(QStringLiteral("hidraw9")), file}) {
        const Run refused =
            onPlayer({QStringLiteral("--device=") + path, QStringLiteral("play"), QStringLiteral("1")});
        EXPECT_EQ(refused.exit, CliTool::kNoPlayer);
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("--device ") + path + QStringLiteral(": non ")))
            << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(QStringLiteral("Lettori collegati: sim:player.")))
            << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
    EXPECT_EQ(onPlayer({QStringLiteral("--device="), QStringLiteral("info")}).exit, CliTool::kUsage);
}

TEST_F(CliToolTest, FilesThatCannotMakeATrackAreRefusedWithoutTouchingThePlayer)
{
    const Run empty = onPlayer(
        {QStringLiteral("load"), wav("vuoto.wav", 10), QStringLiteral("--track"), QStringLiteral("1")});
    EXPECT_EQ(empty.exit, CliTool::kRefusedFile);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("non contiene suoni"))) << empty.err.toStdString();
    EXPECT_FALSE(empty.err.contains(QStringLiteral("Download")));

    const Run remote = onPlayer({QStringLiteral("load"), QStringLiteral("http://example.invalid/brano.mp3"),
                                 QStringLiteral("--track"), QStringLiteral("1")});
    EXPECT_EQ(remote.exit, CliTool::kRefusedFile);
    EXPECT_TRUE(remote.err.contains(QStringLiteral("solo file locali"))) << remote.err.toStdString();
}

TEST_F(CliToolTest, AnImageThatMayOnlyBeReadIsShownButNotChanged)
{
    ASSERT_EQ(onPlayer({QStringLiteral("info")}).exit, CliTool::kDone);
    const QString image = dir.filePath(QStringLiteral("flash.bin"));
    const QByteArray before = [&] {
        QFile file(image);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_TRUE(QFile::setPermissions(image, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    const Run info = onPlayer({QStringLiteral("info")});
    EXPECT_EQ(info.exit, CliTool::kDone) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Lettore: ")));
    for (const QStringList& change :
         {QStringList{QStringLiteral("load"), wav("brano.wav", 640), QStringLiteral("--track"),
                      QStringLiteral("1")},
          QStringList{QStringLiteral("config"), QStringLiteral("--loop"), QStringLiteral("on")}}) {
        const Run refused = onPlayer(change);
        EXPECT_EQ(refused.exit, CliTool::kFailed);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("è in sola lettura"))) << refused.err.toStdString();
    }
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(CliToolTest, CtrlCBeforeTheFirstBlockSendsNothingAndEndsAsAnInterruptedProgramDoes)
{
    TerminalProgress::s_interrupted = 1;
    const Run result = onPlayer({QStringLiteral("load"), wav("brano.wav", 6400), QStringLiteral("--track"),
                                 QStringLiteral("1"), QStringLiteral("--yes")});
    TerminalProgress::s_interrupted = 0;
    EXPECT_EQ(result.exit, CliTool::kInterrupted);
    EXPECT_TRUE(result.err.contains(QStringLiteral("nulla è stato inviato al lettore")))
        << result.err.toStdString();
    QFile image(dir.filePath(QStringLiteral("flash.bin")));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.read(256), QByteArray(256, char(0xFF))) << "no track header, no samples";
}

// A preview that has sounded whole by the time it is looked at.
class FinishedSound : public RecordingSoundOutput
{
public:
    explicit FinishedSound(std::vector<std::vector<std::uint8_t>>& heard) : m_heard(heard) {}
    bool play(std::vector<std::uint8_t> samples) override
    {
        m_heard.push_back(samples);
        return RecordingSoundOutput::play(std::move(samples));
    }
    bool playing() const override { return false; }

private:
    std::vector<std::vector<std::uint8_t>>& m_heard;
};

TEST_F(CliToolTest, PreviewPlaysWhatConvertWritesAndSaysWhyWhenItCannot)
{
    const QString song = dir.filePath(QStringLiteral("canzone.wav"));
    ASSERT_TRUE(WavBuilder().fmt(1, 1, 22050, 16).data(WavBuilder::samples(4 * 22050)).writeTo(song));
    const QString out = dir.filePath(QStringLiteral("parte.wav"));
    const QStringList part{QStringLiteral("--partition"), QStringLiteral("8"),
                           QStringLiteral("--start"),     QStringLiteral("1.5"),
                           QStringLiteral("--fade-out"),  QStringLiteral("0,5")};
    const Run converted = run(QStringList{QStringLiteral("convert"), song, out} + part);
    ASSERT_EQ(converted.exit, CliTool::kDone) << converted.err.toStdString();

    std::vector<std::vector<std::uint8_t>> heard;
    const Run previewed = run(QStringList{QStringLiteral("preview"), song} + part,
                              [&heard] { return std::make_unique<FinishedSound>(heard); });
    EXPECT_EQ(previewed.exit, CliTool::kDone) << previewed.err.toStdString();
    ASSERT_EQ(heard.size(), 1u);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The rest of 2 s from 1.5 s; an odd data chunk has its pad byte after it.
    ASSERT_EQ(heard[0].size(), 11025u);
    const QByteArray data = file.readAll().mid(44, 11025);
    EXPECT_TRUE(std::equal(heard[0].begin(), heard[0].end(), data.begin(), data.end(),
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));

    const Run silent = run({QStringLiteral("preview"), song}, [] {
        auto none = std::make_unique<RecordingSoundOutput>();
        none->reason = QStringLiteral("Nessuna uscita audio.");
        return none;
    });
    EXPECT_EQ(silent.exit, CliTool::kFailed);
    EXPECT_TRUE(silent.err.contains(QStringLiteral("Nessuna uscita audio."))) << silent.err.toStdString();
}

} // namespace
