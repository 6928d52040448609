#include "PlayerDialogFixture.h"
#include "WavBuilder.h"

#include "ui/CPlanDlg.h"
#include "ui/CProgressDlg.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

// Several files at once from the main window: dropped or chosen together, agreed to in the plan window,
// sent under one progress window that can stop them.
namespace {

class PlayerDialogSet : public PlayerDialog
{
protected:
    // Files in the player's own format, of blocks of 64 samples each, named as given.
    QStringList write(const QStringList& titles, int blocks)
    {
        QStringList paths;
        for (const QString& title : titles) {
            paths << m_dir.filePath(title + QStringLiteral(".wav"));
            EXPECT_TRUE(
                WavBuilder::deviceFormat().data(WavBuilder::samples(64 * blocks)).writeTo(paths.back()));
        }
        return paths;
    }

    // Once a window of type T is the modal one, act runs on it (once).
    template <typename T> static void whenModal(const std::function<void(T&)>& act)
    {
        whenShown<T>([] { return qobject_cast<T*>(QApplication::activeModalWidget()); }, act);
    }

    // Once find gives a window, act runs on it (once).
    template <typename T>
    static void whenShown(const std::function<T*()>& find, const std::function<void(T&)>& act)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, find, act] {
            if (T* window = find()) {
                timer->stop();
                timer->deleteLater();
                act(*window);
            }
        });
        timer->start(10);
    }

    static QStringList rows(const CPlanDlg& plan)
    {
        QStringList result;
        QTableWidget* table = plan.table();
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column) {
                cells << table->item(row, column)->text();
            }
            result << cells.join(QLatin1Char('|'));
        }
        return result;
    }

    static QPushButton* button(QWidget& window, const QString& text)
    {
        for (auto* found : window.findChildren<QPushButton*>()) {
            if (found->text().remove(QLatin1Char('&')) == text) {
                return found;
            }
        }
        return nullptr;
    }

    static void drop(QWidget* target, const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
        }
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    }

    Bytes titleAt(std::size_t slot, std::size_t length)
    {
        const Bytes flash = player->flash();
        return Bytes(flash.begin() + static_cast<std::ptrdiff_t>(slot + 3),
                     flash.begin() + static_cast<std::ptrdiff_t>(slot + 3 + length));
    }

    QTemporaryDir m_dir;
};

TEST_F(PlayerDialogSet, ThreeFilesDroppedOntoTheListGoIntoFourTracksAfterThePlan)
{
    const QStringList paths = write({"Alba", "Brezza", "Cielo"}, 690);
    player->setConfig(0, 0x10, 60);
    runMainWindow([&](CPlayerDlg& dialog) {
        auto* combo = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
        QStringList shown;
        QString summary;
        whenModal<CPlanDlg>([&](CPlanDlg& plan) {
            EXPECT_EQ(plan.windowTitle(), "Carica più file");
            shown = rows(plan);
            for (auto* label : plan.findChildren<QLabel*>()) {
                summary += label->text();
            }
            QTest::mouseClick(button(plan, "Carica tutti"), Qt::LeftButton);
        });
        drop(combo, paths);
        ASSERT_TRUE(waitFor([&] { return !shown.isEmpty() && !app.IsBusy(); }));
        EXPECT_EQ(shown,
                  (QStringList{"Alba.wav|0:02|Brano 1 di 4|tutto", "Brezza.wav|0:02|Brano 2 di 4|tutto",
                               "Cielo.wav|0:02|Brano 3 di 4|tutto"}));
        EXPECT_TRUE(summary.contains("diviso in 4 brani da 11,9 s")) << summary.toStdString();
        EXPECT_TRUE(summary.contains("\"Brano 1\"")) << "what the new partition erases is named";
        // The window follows the player, divided anew.
        EXPECT_EQ(items(combo), (QStringList{"Alba (0:02)", "Brezza (0:02)", "Cielo (0:02)", "Brano 4"}));
        EXPECT_TRUE(DialogBuilder::control<QRadioButton>(dialog, IDC_PARTITION_4)->isChecked());
    });
    EXPECT_EQ(titleAt(0x00000, 4), (Bytes{'A', 'l', 'b', 'a'}));
    EXPECT_EQ(titleAt(0x40000, 6), (Bytes{'B', 'r', 'e', 'z', 'z', 'a'}));
    EXPECT_EQ(titleAt(0x80000, 5), (Bytes{'C', 'i', 'e', 'l', 'o'}));
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty()) << "a set that went in whole says nothing more";
}

TEST_F(PlayerDialogSet, AnnullaInTheMiddleOfTheSetSaysWhatEachFileBecame)
{
    const QStringList paths = write({"Alba", "Brezza", "Cielo"}, 200);
    player->setConfig(0, 0x10, 60);
    player->setAckDelay(std::chrono::milliseconds(2));
    runMainWindow([&](CPlayerDlg& dialog) {
        whenModal<CPlanDlg>(
            [](CPlanDlg& plan) { QTest::mouseClick(button(plan, "Carica tutti"), Qt::LeftButton); });
        // Annulla once the second file is on its way.
        const QRegularExpression second(
            QStringLiteral("^File 2 di 3: \"Brezza\" nel brano 2 di 4 — ([1-9]\\d?)%$"));
        QString pressedAt;
        whenShown<CProgressDlg>(
            [&]() -> CProgressDlg* {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    auto* progress = qobject_cast<CProgressDlg*>(window);
                    if (progress && progress->isVisible() &&
                        second.match(DialogBuilder::control<QLabel>(*progress, IDC_PROGRESS_DETAIL)->text())
                            .hasMatch()) {
                        return progress;
                    }
                }
                return nullptr;
            },
            [&](CProgressDlg& progress) {
                pressedAt = DialogBuilder::control<QLabel>(progress, IDC_PROGRESS_DETAIL)->text();
                QTest::mouseClick(DialogBuilder::control<QPushButton>(progress, IDCANCEL), Qt::LeftButton);
            });
        FileDialog::setNextFileNames(paths);
        choose(dialog, IDC_PARTITION_1, 0);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        ASSERT_FALSE(pressedAt.isEmpty());
        const QStringList said = MessageBox::takeRecorded();
        ASSERT_EQ(said.size(), 1);
        const QStringList lines = said[0].split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 3) << said[0].toStdString();
        EXPECT_EQ(lines[0], "Completo: \"Alba\" nel brano 1 di 4.");
        EXPECT_TRUE(lines[1].startsWith("Interrotto: \"Brezza\" nel brano 2 di 4 contiene solo i primi"))
            << lines[1].toStdString();
        EXPECT_EQ(lines[2], "Non inviato: \"Cielo\" nel brano 3 di 4.");
        // The track cut short keeps the file's name, with what its slot holds.
        const QStringList names = items(DialogBuilder::control<QComboBox>(dialog, IDC_TRACK));
        ASSERT_EQ(names.size(), 4);
        EXPECT_EQ(names[0], "Alba (0:01)");
        EXPECT_TRUE(names[1].startsWith("Brezza (0:")) << names[1].toStdString();
        EXPECT_EQ(names.mid(2), (QStringList{"Brano 3", "Brano 4"}));
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(qobject_cast<CProgressDlg*>(window)) << "the progress window goes with the set";
        }
    });
}

TEST_F(PlayerDialogSet, ModificaChoosesARowsPartInTheTrackWindow)
{
    QStringList paths = write({"Alba", "Brezza"}, 345);
    paths << m_dir.filePath(QStringLiteral("Appunti.txt"));
    QFile notes(paths.back());
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("non un brano\n");
    notes.close();
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_2, 0);
        takeReports();
        QStringList before;
        QStringList after;
        bool editableNotes = true;
        whenModal<CPlanDlg>([&](CPlanDlg& plan) {
            before = rows(plan);
            plan.table()->selectRow(2);
            editableNotes = plan.editButton()->isEnabled();
            plan.table()->selectRow(1);
            answerTrackWindow(true);
            QTest::mouseClick(plan.editButton(), Qt::LeftButton);
            after = rows(plan);
            QTest::mouseClick(button(plan, "Annulla"), Qt::LeftButton);
        });
        FileDialog::setNextFileNames(paths);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        ASSERT_EQ(after.size(), 3);
        EXPECT_FALSE(editableNotes) << "a file that cannot be loaded has no part to choose";
        EXPECT_TRUE(before[2].startsWith("Appunti.txt|?|—|non si carica: ")) << before[2].toStdString();
        EXPECT_EQ(before[1], "Brezza.wav|0:01|Brano 2 di 2|tutto");
        EXPECT_EQ(after[1], "Brezza.wav|0:01|Brano 2 di 2|da 0:00,0 a 0:01,0");
        EXPECT_EQ(after[0], before[0]);
        EXPECT_TRUE(takeReports().empty()) << "Annulla in the plan sends nothing";
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    });
}

} // namespace
