#include "AudioFileMaker.h"
#include "BlockCommits.h"
#include "LinkFixture.h"
#include "WavBuilder.h"

#include "device/Protocol.h"
#include "download/TrackSlot.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Several files in one go: the plan the user agrees to once, and what each slot holds afterwards.
class SetLoaderTest : public LinkFixture
{
protected:
    void SetUp() override
    {
        player = &useSimulatedPlayer();
        ASSERT_EQ(app.OpenDevice(), 0);
        app.m_Config = DeviceConfig::fromControls(false, 0, false, 60);
        player->setConfig(0, 0x00, 60);
        for (int track = 0; track < CPlayerApp::kTrackCount; ++track) {
            app.m_strTrackName[static_cast<std::size_t>(track)] = CPlayerApp::DefaultTrackName(track);
        }
    }

    // Files of 3, 5 and 20 s, tones of different pitches so that no slot could pass for another.
    QStringList threeFiles()
    {
        QStringList paths;
        const std::array<std::pair<const char*, double>, 3> files{
            {{"Alba.mp3", 3}, {"Brezza.flac", 5}, {"Cielo.wav", 20}}};
        int pitch = 300;
        for (const auto& [name, seconds] : files) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            const QString kind = QFileInfo(path).suffix();
            const AudioFileMaker::Format format =
                kind == "mp3"    ? AudioFileMaker::Format{"mp3", "libmp3lame", 44100, 2, 128000}
                : kind == "flac" ? AudioFileMaker::Format{"flac", "flac", 44100, 2}
                                 : AudioFileMaker::Format{"wav", "pcm_s16le", 32000, 1};
            EXPECT_EQ(
                AudioFileMaker::write(path, format, seconds, AudioFileMaker::sine(pitch, 0.5, format.rate)),
                "");
            pitch += 200;
            paths << path;
        }
        return paths;
    }

    Bytes slotBytes(const Bytes& flash, int mode, int track) const
    {
        const TrackSlot slot = *TrackSlot::forTrack(mode, track);
        return Bytes(flash.begin() + slot.start, flash.begin() + slot.end());
    }

    FaultInjectingPlayer* player = nullptr;
    DeviceConfig controls{0, 0x00, 60};
    QTemporaryDir dir;
};

TEST_F(SetLoaderTest, ThreeFilesOnAOneTrackPlayerGoIntoFourTracksAsThreeSingleLoadsWould)
{
    const QStringList paths = threeFiles();
    app.m_strTrackName[0] = QStringLiteral("Sigla");
    ui.answers = {true};
    const SetOutcome outcome = app.LoadFiles(paths, 0, 0, false, controls);
    ASSERT_TRUE(outcome.complete()) << outcome.report().toStdString();
    ASSERT_EQ(ui.messages.size(), 1) << "one question, the plan";
    const QString plan = ui.messages[0];
    EXPECT_TRUE(plan.contains("\"Alba\" (0:03) → Brano 1 di 4: tutto")) << plan.toStdString();
    EXPECT_TRUE(plan.contains("\"Cielo\" (0:20) → Brano 3 di 4: da 0:00,0 a 0:11,8")) << plan.toStdString();
    EXPECT_TRUE(plan.contains("diviso in 4 brani da 11,9 s")) << plan.toStdString();
    EXPECT_TRUE(plan.contains(": \"Sigla\".")) << plan.toStdString();
    EXPECT_EQ(ui.progress.size(), 1u) << "one progress window for the set";
    EXPECT_EQ(app.m_Config.partitionMode(), 2);
    EXPECT_EQ(app.m_strTrackName[0], "Alba");
    EXPECT_EQ(app.m_strTrackName[2], "Cielo");
    EXPECT_EQ(app.m_strTrackName[3], "Brano 4");
    const Bytes set = player->flash();

    // The same files one by one, agreeing to the conversion and the cut.
    for (int track = 0; track < 3; ++track) {
        ui.answers = {true, true};
        ASSERT_EQ(app.LoadFile(paths[track], track, 2, DeviceConfig::fromControls(false, 2, false, 60)),
                  LoadResult::Done);
    }
    const Bytes single = player->flash();
    for (int track = 0; track < 3; ++track) {
        EXPECT_TRUE(slotBytes(set, 2, track) == slotBytes(single, 2, track)) << "track " << track;
    }
}

TEST_F(SetLoaderTest, AStopInTheMiddleLeavesTheFirstCompleteTheSecondClosedAndTheThirdUntouched)
{
    const QStringList paths = threeFiles();
    app.m_Config = DeviceConfig::fromControls(false, 2, false, 60);
    player->setConfig(0, 0x02, 60);
    const Bytes before = player->flash();
    // Alba's 3 s are about 1030 blocks; the stop comes 500 blocks into Brezza.
    ui.stopAfterPositions = 1540;
    ui.answers = {true};
    const SetOutcome outcome = app.LoadFiles(paths, 0, 2, false, controls);
    ASSERT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.files[0].state, SetOutcome::State::Complete);
    EXPECT_EQ(outcome.files[1].state, SetOutcome::State::CutShort);
    EXPECT_EQ(outcome.files[2].state, SetOutcome::State::NotSent);
    const QString report = ui.messages.back();
    EXPECT_TRUE(report.contains("Completo: \"Alba\" nel brano 1 di 4.")) << report.toStdString();
    EXPECT_TRUE(report.contains("Interrotto: \"Brezza\" nel brano 2 di 4 contiene solo i primi 1,"))
        << report.toStdString();
    EXPECT_TRUE(report.contains("Non inviato: \"Cielo\" nel brano 3 di 4.")) << report.toStdString();

    const Bytes after = player->flash();
    const TrackSlot second = *TrackSlot::forTrack(2, 1);
    // Closed: every sector after the one the stop reached starts with an end mark.
    for (std::uint32_t sector = second.start + Protocol::kSectorSize; sector < second.end();
         sector += Protocol::kSectorSize) {
        EXPECT_EQ(after[sector], 0xFF) << std::hex << sector;
    }
    EXPECT_TRUE(slotBytes(after, 2, 2) == slotBytes(before, 2, 2)) << "the third slot is untouched";
    EXPECT_EQ(app.m_strTrackName[1], "Brezza");
    EXPECT_EQ(app.m_strTrackName[2], "Brano 3");
}

TEST_F(SetLoaderTest, APlayerLostInTheMiddleStopsTheSetAndSaysWhatEachFileBecame)
{
    const QStringList paths = threeFiles();
    app.m_Config = DeviceConfig::fromControls(false, 2, false, 60);
    player->setConfig(0, 0x02, 60);
    app.m_strTrackName[2] = QStringLiteral("Vecchia");
    // Three reports a block: the player goes about 500 blocks into Brezza.
    player->failWritesAfter(3 * 1540);
    ui.answers = {true};
    const SetOutcome outcome = app.LoadFiles(paths, 0, 2, false, controls);
    EXPECT_EQ(outcome.files[0].state, SetOutcome::State::Complete);
    EXPECT_EQ(outcome.files[1].state, SetOutcome::State::CutShort);
    EXPECT_EQ(outcome.files[2].state, SetOutcome::State::NotSent);
    const QString report = ui.messages.back();
    EXPECT_TRUE(report.contains("il lettore non ha risposto")) << report.toStdString();
    EXPECT_EQ(app.m_strTrackName[2], "Vecchia") << "a track not sent keeps its name";
}

TEST_F(SetLoaderTest, WhatCannotBeLoadedIsNamedInThePlanAndTakesNoTrack)
{
    QStringList paths = threeFiles();
    const QString notes = dir.filePath(QStringLiteral("Appunti.mp3"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("non un brano\n");
    file.close();
    paths.insert(1, notes);
    // From the seventh track on, two of the three readable files fit.
    ui.answers = {true};
    const SetOutcome outcome = app.LoadFiles(paths, 6, 0, false, controls);
    const QString plan = ui.messages.front();
    EXPECT_TRUE(plan.contains("\"Appunti\" (?) → —: non si carica")) << plan.toStdString();
    EXPECT_TRUE(plan.contains("\"Cielo\" (0:20) → —: non entra")) << plan.toStdString();
    EXPECT_TRUE(plan.contains("Entrano 2 file su 3")) << plan.toStdString();
    EXPECT_EQ(outcome.files[1].state, SetOutcome::State::Skipped);
    EXPECT_EQ(outcome.files[0].state, SetOutcome::State::Complete);
    EXPECT_EQ(outcome.files[2].state, SetOutcome::State::Complete);
    EXPECT_EQ(app.m_strTrackName[7], "Brezza");
    EXPECT_EQ(app.m_Config.partitionMode(), 3);

    // Declined: nothing sent, no name changed.
    ui.messages.clear();
    ui.answers = {false};
    player->recordOutputReports(true);
    EXPECT_TRUE(app.LoadFiles(paths, 0, 3, false, controls).declined);
    EXPECT_TRUE(player->outputReports().empty());
    EXPECT_EQ(app.m_strTrackName[0], "Brano 1");
}

} // namespace
