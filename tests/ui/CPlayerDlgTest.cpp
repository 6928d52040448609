#include "PlayerDialogFixture.h"
#include "WavBuilder.h"

#include "device/PollingDeviceWatcher.h"
#include "res/StringTable.h"
#include "ui/CAboutDlg.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

namespace {

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
        // A new user is told what the disabled commands wait for.
        EXPECT_EQ(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK)->placeholderText(),
                  "Scegliere un brano");
        EXPECT_TRUE(load->toolTip().contains("Scegliere prima un brano")) << load->toolTip().toStdString();

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
