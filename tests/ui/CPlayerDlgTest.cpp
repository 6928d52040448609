#include "AudioFileMaker.h"
#include "DialogFixture.h"
#include "WavBuilder.h"

#include "device/PollingDeviceWatcher.h"
#include "device/Protocol.h"
#include "res/StringTable.h"
#include "ui/CAboutDlg.h"
#include "ui/CPlayerDlg.h"
#include "widgets/DialogBuilder.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

QStringList items(QComboBox* combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i) {
        result << combo->itemText(i);
    }
    return result;
}

// Picks a partition and a track as the user does: a click on the radio button, then the list.
void choose(CPlayerDlg& dialog, int radioId, int track)
{
    QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, radioId), Qt::LeftButton);
    auto* combo = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
    for (int i = 0; i <= track; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

Bytes head(const Bytes& report, std::size_t n)
{
    return Bytes(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(n));
}

class PlayerDialog : public DialogFixture
{
protected:
    void SetUp() override
    {
        player->setText("Lettore di prova");
        player->setConfig(0, 0x11, 60);
        for (int i = 0; i < CPlayerApp::kTrackCount; ++i) {
            app.m_strTrackName[static_cast<std::size_t>(i)] = QStringLiteral("Brano %1").arg(i + 1);
        }
    }
};

TEST_F(PlayerDialog, StartsFromThePlayersTextAndConfiguration)
{
    player->setConfig(0x80, 0x12, 70);
    runMainWindow([&](CPlayerDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Gestione Zoffino USB");
        EXPECT_EQ(DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT)->text(), "Lettore di prova");
        EXPECT_TRUE(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_4)->isChecked());
        EXPECT_TRUE(DialogBuilder::control<QCheckBox>(dialog, IDC_LOOP)->isChecked());
        EXPECT_EQ(items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)),
                  (QStringList{"Brano 1", "Brano 2", "Brano 3", "Brano 4"}));
        EXPECT_EQ(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)->currentIndex(), -1);
        EXPECT_FALSE(DialogBuilder::control<QPushButton>(dialog, IDC_PLAY)->isEnabled())
            << "no track chosen yet";
        EXPECT_TRUE(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_1)->isEnabled());

        auto* capacity = DialogBuilder::control<QLabel>(dialog, IDC_CAPACITY);
        EXPECT_EQ(capacity->text(), "Durata massima: 11,9 s");

        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_1), Qt::LeftButton);
        EXPECT_EQ(items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)), QStringList{"Brano 1"});
        EXPECT_EQ(capacity->text(), "Durata massima: 47,5 s");
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_8), Qt::LeftButton);
        EXPECT_EQ(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)->count(), 8);
        EXPECT_EQ(capacity->text(), "Durata massima: 5,9 s");
    });
}

TEST_F(PlayerDialog, PlayReportsForEachPartitionAndTrack)
{
    struct Case
    {
        int radio, track;
        Bytes report;
    };
    const Case cases[] = {
        {IDC_PARTITION_1, 0, {2, 8, 0, 0, 0, 15}},
        {IDC_PARTITION_4, 3, {2, 8, 12, 0, 0, 3}},
        {IDC_PARTITION_8, 5, {2, 8, 20, 0, 0, 3}},
        {IDC_PARTITION_2, 1, {2, 8, 4, 0, 0, 3}},
    };
    runMainWindow([&](CPlayerDlg& dialog) {
        for (const Case& c : cases) {
            choose(dialog, c.radio, c.track);
            takeReports();
            const QSignalSpy shown(&dialog, &CPlayerDlg::playStateShown);
            QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_PLAY), Qt::LeftButton);
            const auto reports = takeReports();
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(head(reports[0], 6), c.report) << "radio " << c.radio << " track " << c.track;
            // An empty slot ends at once: the window shows the play start and end, and the next play
            // starts from "Suona".
            ASSERT_TRUE(waitFor([&] { return shown.size() == 2; }));
            EXPECT_TRUE(shown[0][0].toBool());
            EXPECT_FALSE(shown[1][0].toBool());
        }
    });
}

TEST_F(PlayerDialog, ThePlayButtonFollowsThePlayerAndStopsIt)
{
    player->setConfig(0x80, 0x00, 60); // looping; an invalid configuration, repaired to 0, 0, 60 at start
    // A track in the first slot: a header, then samples.
    player->fillFlash(0, 0x10000, 0xFF);
    player->fillFlash(0, 128, 0x00);
    player->writeFlash(128, WavBuilder::samples(6400));
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* play = DialogBuilder::control<QPushButton>(dialog, IDC_PLAY);
        QTest::mouseClick(DialogBuilder::control<QCheckBox>(dialog, IDC_LOOP), Qt::LeftButton);
        choose(dialog, IDC_PARTITION_1, 0);
        // Toggling Loop sends nothing by itself; the player loops once a download sent the configuration.
        player->setConfig(0x80, 0x00, 60);
        takeReports();
        QTest::mouseClick(play, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return play->text() == "Interrompi"; }));
        EXPECT_NE(app.m_bPlaying, 0);

        takeReports();
        QTest::mouseClick(play, Qt::LeftButton);
        const auto reports = takeReports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(head(reports[0], 5), (Bytes{2, 3, 0, 0, 60}));
        ASSERT_TRUE(waitFor([&] { return play->text() == "Suona"; }));
    });
}

TEST_F(PlayerDialog, DefaultFollowsTheFirstTrack)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* defaultBox = DialogBuilder::control<QCheckBox>(dialog, IDC_DEFAULT);
        choose(dialog, IDC_PARTITION_4, 0);
        EXPECT_TRUE(defaultBox->isChecked());
        EXPECT_TRUE(defaultBox->isEnabled());
        QTest::keyClick(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK), Qt::Key_Down);
        EXPECT_FALSE(defaultBox->isChecked());
    });
}

TEST_F(PlayerDialog, ALoadedNameShowsAfterTheNextPartitionChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(640)).writeTo(path));
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_2, 1);
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_EQ(app.m_strTrackName[1], "Canzone");
        auto* combo = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
        EXPECT_EQ(items(combo), (QStringList{"Brano 1", "Brano 2"}));
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_2), Qt::LeftButton);
        EXPECT_EQ(items(combo), (QStringList{"Brano 1", "Canzone"}));
    });
    const Bytes flash = player->flash();
    EXPECT_EQ(Bytes(flash.begin() + 0x80003, flash.begin() + 0x8000A),
              (Bytes{'C', 'a', 'n', 'z', 'o', 'n', 'e'}));
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_EQ(app.m_Config.Config2, 0x01) << "the configuration is packed from the controls";
}

TEST_F(PlayerDialog, AnMp3IsLoadedAfterOneQuestion)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.mp3"));
    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", 44100, 2, 128000};
    ASSERT_EQ(AudioFileMaker::write(path, mp3, 3, AudioFileMaker::sine(440, 0.5, 44100)), "");
    player->setConfig(0, 0x12, 60);
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_4, 3);
        MessageBox::setNextAnswers({true});
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        const QStringList asked = MessageBox::takeRecorded();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains("MP3, 44100 Hz, stereo, 0:03")) << asked[0].toStdString();
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

TEST_F(PlayerDialog, APlayerPulledOutAndPluggedInIsFollowedWithoutABox)
{
    app.SetWatcher(std::make_unique<PollingDeviceWatcher>(*app.Backend(), std::chrono::milliseconds(20)));
    player->fillFlash(0, 0x10000, 0xFF);
    player->fillFlash(0, 128, 0x00);
    player->writeFlash(128, WavBuilder::samples(6400));
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* text = DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT);
        auto* play = DialogBuilder::control<QPushButton>(dialog, IDC_PLAY);
        auto* partition = DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_1);
        choose(dialog, IDC_PARTITION_1, 0);
        // Playing in a loop: the player is pulled out while it plays.
        player->setConfig(0x80, 0x00, 60);
        QTest::mouseClick(play, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return play->text() == "Interrompi"; }));

        player->unplug();
        EXPECT_TRUE(waitFor([&] { return text->text() == "<Lettore USB non trovato>"; }));
        EXPECT_FALSE(partition->isEnabled());
        EXPECT_EQ(play->text(), "Suona");

        player->replug();
        EXPECT_TRUE(waitFor([&] { return text->text() == "Lettore di prova"; }));
        EXPECT_TRUE(partition->isEnabled());
        EXPECT_TRUE(partition->isChecked());
    });
    app.SetWatcher(nullptr);
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_F(PlayerDialog, WithoutAPlayerOnlyTheListAndTheDiagnosticsWork)
{
    player->setPresent(false);
    runMainWindow([&](CPlayerDlg& dialog) {
        EXPECT_EQ(DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT)->text(),
                  "<Lettore USB non trovato>");
        QTest::keyClick(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK), Qt::Key_Down);
        for (int id : {IDC_PLAY, IDC_LOAD}) {
            EXPECT_FALSE(DialogBuilder::control<QPushButton>(dialog, id)->isEnabled()) << id;
        }
        for (int id : {IDC_DEFAULT, IDC_LOOP}) {
            EXPECT_FALSE(DialogBuilder::control<QCheckBox>(dialog, id)->isEnabled()) << id;
        }
        for (int id : {IDC_PARTITION_1, IDC_PARTITION_2, IDC_PARTITION_4, IDC_PARTITION_8}) {
            EXPECT_FALSE(DialogBuilder::control<QRadioButton>(dialog, id)->isEnabled()) << id;
        }
        EXPECT_TRUE(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)->isEnabled());
        EXPECT_TRUE(DialogBuilder::control<QPushButton>(dialog, IDC_DIAGNOSTICS)->isEnabled());
    });
    const QStringList shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Unable to open VxD, Error code: 103\n\n")) << shown[0].toStdString();
    EXPECT_EQ(app.m_Config.Config3, 60) << "the defaults, as no player answered";
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
        // The conversion's question, declined.
        MessageBox::setNextAnswers({false});
        FileDialog::setNextFileName(wide);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_EQ(MessageBox::takeRecorded().size(), 1);
        EXPECT_TRUE(takeReports().empty());

        // The player still holds "Sigla", and the list, refilled, says so.
        EXPECT_EQ(app.m_strTrackName[1], "Sigla");
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_2), Qt::LeftButton);
        EXPECT_EQ(items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)),
                  (QStringList{"Brano 1", "Sigla"}));
    });
}

TEST_F(PlayerDialog, ALoadThatRepartitionsAsksFirstNamingTheTracksItErases)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Canzone.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(640)).writeTo(path));
    app.m_strTrackName[0] = QStringLiteral("Sigla");
    runMainWindow([&](CPlayerDlg& dialog) {
        // The player holds two tracks; the second slot of four lies in the first of them.
        choose(dialog, IDC_PARTITION_4, 1);
        takeReports();
        MessageBox::setNextAnswers({false});
        FileDialog::setNextFileName(path);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        const QStringList asked = MessageBox::takeRecorded();
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

TEST_F(PlayerDialog, TrackCommandsNeedASelectedTrackAndTheControlsSayWhatTheyAre)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* load = DialogBuilder::control<QPushButton>(dialog, IDC_LOAD);
        auto* play = DialogBuilder::control<QPushButton>(dialog, IDC_PLAY);
        auto* defaultBox = DialogBuilder::control<QCheckBox>(dialog, IDC_DEFAULT);
        choose(dialog, IDC_PARTITION_2, 0);
        EXPECT_TRUE(load->isEnabled() && play->isEnabled() && defaultBox->isEnabled());
        // A partition change empties the selection, and with it what acts on a track.
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_4), Qt::LeftButton);
        EXPECT_FALSE(load->isEnabled() || play->isEnabled() || defaultBox->isEnabled());
        EXPECT_FALSE(defaultBox->isChecked());

        auto* track = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
        QLabel* label = nullptr;
        for (auto* candidate : dialog.findChildren<QLabel*>()) {
            label = candidate->buddy() == track ? candidate : label;
        }
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "Brano:");
        EXPECT_EQ(DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT)->accessibleName(),
                  "Lettore: Lettore di prova");
        EXPECT_TRUE(
            DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_8)->toolTip().contains("5,9 s"));
        EXPECT_FALSE(DialogBuilder::control<QCheckBox>(dialog, IDC_LOOP)->toolTip().isEmpty());

        // The About entry from the keyboard.
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
            bool offered = false;
            QTimer::singleShot(0, [&] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    offered = menu->objectName() == "systemMenu" && menu->activeAction() != nullptr;
                    menu->close();
                }
            });
            QTest::keyClick(track, key, modifiers);
            EXPECT_TRUE(offered) << key;
        }
    });
}

TEST_F(PlayerDialog, AMessageBoxBelongsToTheMainWindowWhenNoWindowIsActive)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        QApplication::setActiveWindow(nullptr);
        ui.messageBox(QStringLiteral("prova"), MessageIcon::Warning);
        EXPECT_EQ(MessageBox::lastParent(), &dialog);
    });
    MessageBox::takeRecorded();
}

TEST_F(PlayerDialog, TheAboutEntryOpensTheAboutBoxForItsCommandsOnly)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        const auto opens = [&](unsigned id) {
            bool opened = false;
            QTimer::singleShot(0, [&] {
                if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
                    opened = true;
                    EXPECT_EQ(about->windowTitle(), "Informazioni su Zoffino USB");
                    // Enter is the OK button's.
                    QTest::keyClick(about, Qt::Key_Return);
                    EXPECT_FALSE(about->isVisible());
                    about->accept();
                }
            });
            dialog.OnSysCommand(id, 0);
            QCoreApplication::processEvents();
            return opened;
        };
        EXPECT_TRUE(opens(16));
        EXPECT_TRUE(opens(31));
        EXPECT_FALSE(opens(32));
        EXPECT_FALSE(opens(0xF060));

        // The entry of the window's menu.
        bool offered = false;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                offered = menu->actions().size() == 1 &&
                          menu->actions()[0]->text() == "&Informazioni su ZoffinoUSB...";
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dialog, &event);
        EXPECT_TRUE(offered);

        StringTable::setOverride(IDS_ABOUTBOX, QString());
        offered = false;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                offered = true;
                menu->close();
            }
        });
        QApplication::sendEvent(&dialog, &event);
        QCoreApplication::processEvents();
        EXPECT_FALSE(offered);
        StringTable::clearOverrides();
    });
}

} // namespace
