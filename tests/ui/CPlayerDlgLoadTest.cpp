#include "AudioFileMaker.h"
#include "PlayerDialogFixture.h"
#include "WavBuilder.h"

#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

// Loading a file into a track from the main window: what is asked first, what the player and the list hold
// afterwards, and what the window allows meanwhile.
namespace {

TEST_F(PlayerDialog, ALoadedNameShowsWithItsLengthAfterTheNextPartitionChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.wav"));
    // 1.6 s: shown as 0:02.
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(35280)).writeTo(path));
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_2, 1);
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_EQ(app.m_strTrackName[1], "Canzone");
        auto* combo = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
        EXPECT_EQ(items(combo), (QStringList{"Brano 1", "Brano 2"}));
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_2), Qt::LeftButton);
        EXPECT_EQ(items(combo), (QStringList{"Brano 1", "Canzone (0:02)"}));
        EXPECT_EQ(combo->accessibleName(), "Brano");
    });
    const Bytes flash = player->flash();
    EXPECT_EQ(Bytes(flash.begin() + 0x80003, flash.begin() + 0x8000A),
              (Bytes{'C', 'a', 'n', 'z', 'o', 'n', 'e'}));
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_EQ(app.m_Config.Config2, 0x01) << "the configuration is packed from the controls";
}

TEST_F(PlayerDialog, AnMp3IsLoadedThroughTheTrackWindow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.mp3"));
    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", 44100, 2, 128000};
    ASSERT_EQ(AudioFileMaker::write(path, mp3, 3, AudioFileMaker::sine(440, 0.5, 44100)), "");
    player->setConfig(0, 0x12, 60);
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_4, 3);
        answerTrackWindow(true);
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty()) << "the track window asks instead";
        EXPECT_EQ(app.m_strTrackName[3], "Canzone");
        EXPECT_EQ(items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)),
                  (QStringList{"Brano 1", "Brano 2", "Brano 3", "Brano 4"}));
    });
    const Bytes flash = player->flash();
    EXPECT_EQ(Bytes(flash.begin() + 0xC0003, flash.begin() + 0xC000A),
              (Bytes{'C', 'a', 'n', 'z', 'o', 'n', 'e'}));
    // Three seconds of a tone, swinging around the middle of the 8-bit range.
    const auto [low, high] =
        std::minmax_element(flash.begin() + 0xC0080, flash.begin() + 0xC0080 + 3 * 22050);
    EXPECT_LT(*low, 0x40);
    EXPECT_GT(*high, 0xC0);
}

TEST_F(PlayerDialog, WhileADownloadRunsNothingElseStartsAndTheWindowStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lungo.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(64 * 150)).writeTo(path));
    player->setAckDelay(std::chrono::milliseconds(2));
    player->setConfig(0, 0x10, 60);
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_1, 0);
        bool checked = false;
        QTimer::singleShot(50, [&] {
            checked = true;
            EXPECT_TRUE(app.IsBusy());
            for (int id : {IDC_PLAY, IDC_LOAD, IDC_DIAGNOSTICS}) {
                EXPECT_FALSE(DialogBuilder::control<QPushButton>(dialog, id)->isEnabled()) << id;
            }
            EXPECT_FALSE(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)->isEnabled());
            dialog.reject();
            dialog.close();
            EXPECT_TRUE(dialog.isVisible());
        });
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_TRUE(checked);
        EXPECT_TRUE(DialogBuilder::control<QPushButton>(dialog, IDC_PLAY)->isEnabled());
        EXPECT_TRUE(DialogBuilder::control<QPushButton>(dialog, IDC_DIAGNOSTICS)->isEnabled());
    });
}

TEST_F(PlayerDialog, ALoadThatSendsNothingLeavesTheTrackItsName)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("Appunti.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("non un brano\n");
    file.close();
    const QString wide = dir.filePath(QStringLiteral("Canzone.wav"));
    ASSERT_TRUE(WavBuilder().fmt(1, 1, 22050, 16).data(WavBuilder::samples(640)).writeTo(wide));
    app.m_strTrackName[1] = QStringLiteral("Sigla");
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_2, 1);
        takeReports();
        FileDialog::setNextFileName(text);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_EQ(MessageBox::takeRecorded().size(), 1) << "the refusal is said";
        // The track window, cancelled.
        answerTrackWindow(false);
        FileDialog::setNextFileName(wide);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
        EXPECT_TRUE(takeReports().empty());

        // The player still holds "Sigla", and the list, refilled, says so.
        EXPECT_EQ(app.m_strTrackName[1], "Sigla");
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_2), Qt::LeftButton);
        EXPECT_EQ(items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)),
                  (QStringList{"Brano 1", "Sigla"}));
    });
}

TEST_F(PlayerDialog, ALoadThatRepartitionsAsksLastNamingTheTracksItErases)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(640)).writeTo(path));
    const QString notes = dir.filePath(QStringLiteral("Appunti.mp3"));
    ASSERT_TRUE(WavBuilder().raw(WavBuilder::samples(5000)).writeTo(notes));
    const QString song = dir.filePath(QStringLiteral("Lunga.flac"));
    ASSERT_EQ(
        AudioFileMaker::write(song, {"flac", "flac", 44100, 2}, 1, AudioFileMaker::sine(440, 0.5, 44100)),
        "");
    app.m_strTrackName[0] = QStringLiteral("Sigla");
    runMainWindow([&](CPlayerDlg& dialog) {
        // The player holds two tracks; the second slot of four lies in the first of them.
        choose(dialog, IDC_PARTITION_4, 1);
        takeReports();
        // What cannot be loaded is said before anything is asked.
        FileDialog::setNextFileName(notes);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        QStringList asked = MessageBox::takeRecorded();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains("Appunti.mp3")) << asked[0].toStdString();
        // The track window first, the erasing last.
        answerTrackWindow(true);
        MessageBox::setNextAnswers({false});
        FileDialog::setNextFileName(song);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        asked = MessageBox::takeRecorded();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains("\"Sigla\"")) << asked[0].toStdString();
        EXPECT_TRUE(takeReports().empty());

        MessageBox::setNextAnswers({false});
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        asked = MessageBox::takeRecorded();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains("diviso in 2 brani")) << asked[0].toStdString();
        EXPECT_TRUE(asked[0].contains("il brano: \"Sigla\".")) << asked[0].toStdString();
        EXPECT_TRUE(takeReports().empty()) << "declined: nothing is sent";
        EXPECT_EQ(app.m_strTrackName[1], "Brano 2");

        MessageBox::setNextAnswers({true});
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_EQ(MessageBox::takeRecorded().size(), 1);
        EXPECT_FALSE(takeReports().empty());
        EXPECT_EQ(app.m_strTrackName[1], "Canzone");
        EXPECT_EQ(app.m_strTrackName[0], "Brano 1") << "the erased track's name goes";

        // Same partition as the player's now: no question.
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    });
}

} // namespace
