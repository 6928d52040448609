#pragma once

#include "DialogFixture.h"

#include "res/ControlIds.h"
#include "ui/CPlayerDlg.h"
#include "widgets/DialogBuilder.h"

#include <QComboBox>
#include <QRadioButton>
#include <QStringList>
#include <QTest>

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

    static Bytes head(const Bytes& report, std::size_t n)
    {
        return Bytes(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(n));
    }
};
