#include "AudioFileMaker.h"
#include "RecordingSoundOutput.h"

#include "download/TrackSlot.h"
#include "download/TrackSource.h"
#include "ui/CTrackDlg.h"
#include "ui/WaveformView.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRate = TrackSlot::kSampleRate;

// The "Inizio" field: the spin boxes hold line edits of their own.
QLineEdit* startField(const CTrackDlg& dialog)
{
    for (auto* field : dialog.findChildren<QLineEdit*>()) {
        if (field->accessibleName() == QStringLiteral("Inizio")) {
            return field;
        }
    }
    return nullptr;
}

QPushButton* button(const CTrackDlg& dialog, const QString& text)
{
    for (auto* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

// The track window over 20 s of sound, loud from 9 s to 13 s and quiet around, for an 8-track slot
// (5.9 s).
class TrackWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("forte.wav"));
        const auto signal = [](int, std::int64_t i) {
            const double t = static_cast<double>(i) / 44100;
            return (t >= 9 && t < 13 ? 0.8 : 0.05) * std::sin(2 * M_PI * 330 * t);
        };
        ASSERT_EQ(AudioFileMaker::write(path, {"wav", "pcm_s16le", 44100, 2}, 20, signal), "");
        source = std::make_unique<TrackSource>(path);
        ASSERT_EQ(source->open(), "");
        source->startReading();
        slot = *TrackSlot::forTrack(3, 0);
        TrackPart initial;
        initial.length = slot.capacity();
        dialog = std::make_unique<CTrackDlg>(*source, slot, initial, &sound);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            dialog->poll();
            return button(*dialog, "Parte più forte")->isEnabled();
        }));
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<TrackSource> source;
    TrackSlot slot;
    RecordingSoundOutput sound;
    std::unique_ptr<CTrackDlg> dialog;
};

TEST_F(TrackWindow, TheKeysTheMouseAndTheLoudestPartMoveThePart)
{
    auto* view = dialog->findChild<WaveformView*>();
    QLineEdit* start = startField(*dialog);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(dialog->part().start, kRate / 10u);
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(dialog->part().start, kRate * 11u / 10);
    EXPECT_EQ(start->text(), "0:01,1");
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(dialog->part().end(), 20u * kRate);
    EXPECT_EQ(dialog->part().fadeOut, 0) << "the file's own end does not click";
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(dialog->part().start, 0u);
    EXPECT_EQ(dialog->part().fadeIn, 0);
    EXPECT_GT(dialog->part().fadeOut, 0) << "the cut into the sound fades";

    // Dragged by a quarter of the view: a quarter of the file.
    const QPoint from(view->width() / 8, view->height() / 2);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from + QPoint(view->width() / 4, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(view->width() / 4, 0));
    EXPECT_NEAR(static_cast<double>(dialog->part().start) / kRate, 5.0, 0.3);

    QTest::mouseClick(button(*dialog, "Parte più forte"), Qt::LeftButton);
    const double loudest = static_cast<double>(dialog->part().start) / kRate;
    EXPECT_LE(loudest, 9.05);
    EXPECT_GE(loudest, 13 - slot.seconds() - 0.05);

    start->setFocus();
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("0:02,5"));
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(dialog->part().start, kRate * 25u / 10);
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the field only moves the part";
}

TEST_F(TrackWindow, WhatLoadsIsWhatWasHeard)
{
    QTest::mouseClick(button(*dialog, "Parte più forte"), Qt::LeftButton);
    QTest::keyClick(dialog.get(), Qt::Key_Space);
    ASSERT_TRUE(sound.sounding);
    ASSERT_EQ(sound.played.size(), 1u);
    const std::vector<std::uint8_t>& heard = sound.played.back();
    ASSERT_EQ(heard.size(), slot.capacity());
    EXPECT_EQ(button(*dialog, "Ferma")->text(), "Ferma");
    QTest::mouseClick(button(*dialog, "Carica"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(sound.sounding) << "loading stops the preview";
    EXPECT_EQ(dialog->prepared().samples, heard);
    // Brought to -1 dBFS: the loud part swings over most of the 8-bit range.
    const auto [low, high] = std::minmax_element(heard.begin(), heard.end());
    EXPECT_LT(*low, 20);
    EXPECT_GT(*high, 235);
}

TEST_F(TrackWindow, FadesShapeTheBytesAndMovingThePartStopsThePreview)
{
    auto* fadeIn = dialog->findChildren<QDoubleSpinBox*>().value(0);
    ASSERT_NE(fadeIn, nullptr);
    // From where the loud tone begins: without the fade the first samples would swing at full range.
    QLineEdit* start = startField(*dialog);
    start->setFocus();
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("0:09"));
    QTest::keyClick(start, Qt::Key_Return);
    fadeIn->setValue(2.0);
    QTest::keyClick(dialog.get(), Qt::Key_Space);
    ASSERT_TRUE(sound.sounding);
    const auto swing = [&](std::size_t from, std::size_t count) {
        const auto [low, high] =
            std::minmax_element(sound.played.back().begin() + static_cast<std::ptrdiff_t>(from),
                                sound.played.back().begin() + static_cast<std::ptrdiff_t>(from + count));
        return *high - *low;
    };
    EXPECT_LT(swing(0, kRate / 20), 30) << "the first 50 ms are nearly silent";
    EXPECT_GT(swing(3 * kRate, kRate / 10), 200);
    QTest::keyClick(dialog->findChild<WaveformView*>(), Qt::Key_Right);
    EXPECT_FALSE(sound.sounding);
    EXPECT_EQ(button(*dialog, "Ascolta")->text(), "Ascolta");
    EXPECT_EQ(dialog->part().fadeIn, 2.0) << "a fade the user chose stays when the part moves";
}

TEST_F(TrackWindow, WithoutSoundOutputListeningIsOffAndSaysWhy)
{
    sound.reason = QStringLiteral("Nessuna uscita audio.");
    TrackPart initial;
    initial.length = slot.capacity();
    CTrackDlg silent(*source, slot, initial, &sound);
    QPushButton* listen = button(silent, "Ascolta");
    EXPECT_FALSE(listen->isEnabled());
    EXPECT_EQ(listen->toolTip(), sound.reason);
    EXPECT_TRUE(button(silent, "Carica")->isEnabled());
}

TEST(TrackWindowOnADamagedFile, ClosesOnItsOwnSoThatTheLoadCanSayWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rotto.flac"));
    ASSERT_EQ(
        AudioFileMaker::write(path, {"flac", "flac", 44100, 2}, 20, AudioFileMaker::sine(440, 0.5, 44100)),
        "");
    QFile file(path);
    ASSERT_TRUE(file.resize(file.size() / 3));
    TrackSource source(path);
    ASSERT_EQ(source.open(), "");
    source.startReading();
    TrackPart initial;
    initial.length = TrackSlot::forTrack(0, 0)->capacity();
    CTrackDlg dialog(source, *TrackSlot::forTrack(0, 0), initial, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(source.progress().state, TrackSource::State::Failed);
    EXPECT_FALSE(source.progress().error.isEmpty());
}

} // namespace
