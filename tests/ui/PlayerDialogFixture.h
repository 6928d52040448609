#pragma once

#include "DialogFixture.h"

#include "res/ControlIds.h"
#include "ui/CPlayerDlg.h"
#include "ui/CTrackDlg.h"
#include "widgets/DialogBuilder.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <vector>

// The main window on a simulated player that says "Lettore di prova", with a name for every track.
class PlayerDialog : public DialogFixture
{
protected:
    using Bytes = std::vector<std::uint8_t>;

    void SetUp() override
    {
        player->setText("Lettore di prova");
        player->setConfig(0, 0x11, 60);
        for (int i = 0; i < CPlayerApp::kTrackCount; ++i) {
            app.m_strTrackName[static_cast<std::size_t>(i)] = QStringLiteral("Brano %1").arg(i + 1);
        }
    }

    static QStringList items(QComboBox* combo)
    {
        QStringList result;
        for (int i = 0; i < combo->count(); ++i) {
            result << combo->itemText(i);
        }
        return result;
    }

    // Picks a partition and a track as the user does: a click on the radio button, then the list.
    static void choose(CPlayerDlg& dialog, int radioId, int track)
    {
        QTest::mouseClick(DialogBuilder::control<QRadioButton>(dialog, radioId), Qt::LeftButton);
        auto* combo = DialogBuilder::control<QComboBox>(dialog, IDC_TRACK);
        for (int i = 0; i <= track; ++i) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
    }

    // When the track window comes up, waits until its part can be loaded and presses "Carica", or
    // "Annulla", as the user does.
    static void answerTrackWindow(bool load)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, load] {
            auto* window = qobject_cast<CTrackDlg*>(QApplication::activeModalWidget());
            QPushButton* chosen = nullptr;
            for (auto* button : window ? window->findChildren<QPushButton*>() : QList<QPushButton*>{}) {
                if (button->text() == (load ? QStringLiteral("Carica") : QStringLiteral("Annulla"))) {
                    chosen = button;
                }
            }
            if (chosen && chosen->isEnabled()) {
                timer->deleteLater();
                QTest::mouseClick(chosen, Qt::LeftButton);
            }
        });
        timer->start(10);
    }

    static Bytes head(const Bytes& report, std::size_t n)
    {
        return Bytes(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(n));
    }
};
