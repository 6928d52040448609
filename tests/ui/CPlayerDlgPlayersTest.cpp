#include "PlayerRack.h"

#include "app/CPlayerApp.h"
#include "device/UiMessagePump.h"
#include "res/ControlIds.h"
#include "ui/CPlayerDlg.h"
#include "ui/WidgetAppUi.h"
#include "widgets/DialogBuilder.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The main window with two players on the machine, "sim:1" and "sim:2" (the second with a serial number).
class PlayersInTheWindow : public ::testing::Test
{
protected:
    PlayersInTheWindow()
    {
        app.SetBackend(PlayerRack::twoPlayers(first, second));
        app.SetUi(&ui);
        MessageBox::setRecording(true);
    }
    ~PlayersInTheWindow() override
    {
        app.CloseDevice();
        app.SetUi(nullptr);
    }

    void runMainWindow(const std::function<void(CPlayerDlg&)>& body)
    {
        app.OpenDevice();
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CPlayerDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            body(*dialog);
            dialog->reject();
        });
        ui.runMainWindow(app);
    }

    // Opens the window's menu as a right click does; the entries as it shows them ("[x] " before a checked
    // one, "-" for a separator), and the one whose text begins with choose taken from the keyboard.
    static QStringList menu(CPlayerDlg& dialog, const QString& choose = {})
    {
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            QAction* chosen = nullptr;
            for (QAction* action : popup->actions()) {
                shown << (action->isSeparator() ? QStringLiteral("-")
                                                : (action->isChecked() ? "[x] " : "") + action->text());
                if (!choose.isEmpty() && action->text().startsWith(choose)) {
                    chosen = action;
                }
            }
            if (!chosen) {
                popup->close();
                return;
            }
            popup->setActiveAction(chosen);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dialog, &event);
        return shown;
    }

    WidgetAppUi ui;
    CPlayerApp app;
    UiMessagePump pump{app.Messages()};
    FaultInjectingPlayer* first = nullptr;
    FaultInjectingPlayer* second = nullptr;
};

TEST_F(PlayersInTheWindow, TheMenuSwitchesPlayersAndOneThatLeavesIsNotReplacedByTheOneThatStays)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* device = DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT);
        auto* play = DialogBuilder::control<QPushButton>(dialog, IDC_PLAY);
        EXPECT_EQ(device->text(), "Lettore primo");
        EXPECT_EQ(device->toolTip(), "sim:1");

        const QStringList offered = menu(dialog, QStringLiteral("Lettore secondo"));
        EXPECT_EQ(offered, (QStringList{"[x] Lettore primo (sim:1)",
                                        "Lettore secondo (sim:2, numero di serie ZU-0002)", "-",
                                        "&Informazioni su ZoffinoUSB..."}));
        EXPECT_EQ(device->text(), "Lettore secondo");
        EXPECT_EQ(device->toolTip(), "sim:2");
        EXPECT_EQ(app.Link().openPath(), "sim:2");

        // The player in use goes; the first one, still there, is not taken in its place, and the window
        // says there is one to choose, not that there is none.
        second->unplug();
        app.OnDevicesChanged({"sim:2"});
        EXPECT_EQ(device->text(), "<Nessun lettore in uso: sceglierne uno dal menu>");
        EXPECT_TRUE(device->toolTip().contains("tasto destro")) << device->toolTip().toStdString();
        EXPECT_FALSE(play->isEnabled());
        EXPECT_FALSE(app.Link().canWrite());

        EXPECT_EQ(menu(dialog, QStringLiteral("Lettore primo")),
                  (QStringList{"Lettore primo (sim:1)", "-", "&Informazioni su ZoffinoUSB..."}));
        EXPECT_EQ(device->text(), "Lettore primo");
        EXPECT_EQ(device->toolTip(), "sim:1");
        EXPECT_EQ(app.Link().openPath(), "sim:1");
    });
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_F(PlayersInTheWindow, WithNoneInUseTheTextFollowsThePlayersThatComeAndGo)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* device = DialogBuilder::control<QLabel>(dialog, IDC_DEVICE_TEXT);
        first->unplug();
        app.OnDevicesChanged({"sim:1"});
        ASSERT_EQ(device->text(), "<Nessun lettore in uso: sceglierne uno dal menu>");
        EXPECT_LE(device->fontMetrics().horizontalAdvance(device->text()), device->contentsRect().width());

        // The last one goes: none at all, said as at a start without a player.
        second->unplug();
        app.OnDevicesChanged({"sim:2"});
        EXPECT_EQ(device->text(), CPlayerDlg::NoPlayerText());
        EXPECT_TRUE(device->toolTip().isEmpty());
    });
}

} // namespace
