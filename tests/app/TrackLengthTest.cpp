#include "LinkFixture.h"
#include "WavBuilder.h"

#include "app/QtTranslations.h"
#include "download/TrackSlot.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

// The length kept beside each track's name: what a load records, what the list shows, what the store keeps.
namespace {

class TrackLength : public LinkFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           dir.filePath(QStringLiteral("config")));
    }

    QString wav(const QString& name, std::size_t samples)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(samples)).writeTo(path));
        return path;
    }

    // The store as the program keeps it, for writing what an older program left there.
    static std::unique_ptr<QSettings> store()
    {
        auto settings =
            std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                        QStringLiteral("Quenmark Audio"), QStringLiteral("ZoffinoUSB"));
        settings->beginGroup(QStringLiteral("Settings/variabili"));
        return settings;
    }

    QTemporaryDir dir;
};

TEST_F(TrackLength, ALoadRecordsWhatReachedThePlayerAndAStoppedOneOnlyThat)
{
    useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    const auto controls = [](int mode) {
        return DeviceConfig::fromControls(false, mode, false, 60);
    };
    // 11 s less a few samples: the last partial block stays behind, and 10.99 s reads 0:11.
    ui.answers = {true};
    ASSERT_EQ(app.LoadFile(wav("Sigla.wav", 11 * 22050 - 20), 0, 2, controls(2)), LoadResult::Done);
    EXPECT_EQ(app.TrackLabel(0), "Sigla (0:11)");
    ASSERT_EQ(app.LoadFile(wav("Corta.wav", 300), 2, 2, controls(2)), LoadResult::Done);
    EXPECT_EQ(app.TrackLabel(2), "Corta (0:01)") << "a track with sound never reads 0:00";

    // Five seconds of file, stopped after 1000 blocks: 2.9 s reached the slot. The load divided the player
    // anew, so the track it erased loses its name and length, as after a load that ran to the end.
    ui.stopAfterPositions = 1000;
    ui.answers = {true};
    EXPECT_EQ(app.LoadFile(wav("Lunga.wav", 5 * 22050), 1, 1, controls(1)), LoadResult::Stopped);
    EXPECT_EQ(app.TrackLabel(1), "Lunga (0:03)");
    EXPECT_EQ(app.TrackLabel(2), "Brano 3");
    EXPECT_EQ(app.m_nTrackTenths[2], 0u);
}

TEST_F(TrackLength, LengthsComeBackFromTheStoreAndAStoreFromBeforeThemStillLoads)
{
    {
        const auto old = store();
        old->setValue("Brano1", "Vecchia");
        old->setValue("Brano2", "Sigla");
        old->setValue("Durata2", "abc");
        old->setValue("Brano3", "");
        old->setValue("Durata3", "50");
        old->setValue("Brano4", "Gonfiata");
        old->setValue("Durata4", "99999");
    }
    app.LoadSettings(QStringLiteral("ZoffinoUSB"));
    // Names without a length (none stored, unreadable, or nothing a slot could hold), and a length
    // without its name goes with it.
    EXPECT_EQ(app.TrackLabel(0), "Vecchia");
    EXPECT_EQ(app.TrackLabel(1), "Sigla");
    EXPECT_EQ(app.TrackLabel(2), "Brano 3");
    EXPECT_EQ(app.TrackLabel(3), "Gonfiata");
    EXPECT_EQ(app.TrackLabel(7), "Brano 8");

    app.NoteTrackLoaded(1, QStringLiteral("Sigla"), 242496);
    app.NoteTrackLoaded(4, QStringLiteral("Coda"), TrackSlot::forTrack(0, 0)->capacity());
    app.NoteTrackLoaded(5, QStringLiteral("Prima"), 22050);
    app.ForgetTrack(5);
    app.SaveSettings();
    EXPECT_EQ(store()->value("Durata2").toString(), "109") << "tenths of a second, rounded down";
    EXPECT_EQ(store()->value("Durata6").toString(), "0");

    CPlayerApp next;
    next.LoadSettings(QStringLiteral("ZoffinoUSB"));
    EXPECT_EQ(next.TrackLabel(1), "Sigla (0:11)");
    EXPECT_EQ(next.TrackLabel(4), "Coda (0:48)") << "the longest a track can be comes back too";
    EXPECT_EQ(next.TrackLabel(5), "Brano 6");
}

// A run in English shows the default names in English and leaves them in the store as an Italian run
// reads them; a name the user gave stays as it is.
TEST_F(TrackLength, DefaultNamesFollowTheLanguageOfEachRun)
{
    {
        const auto old = store();
        old->setValue("Brano1", "Brano 1");
        old->setValue("Brano2", "Sigla");
    }
    ASSERT_TRUE(QtTranslations::installProgramTexts(UiLanguage::English));
    app.LoadSettings(QStringLiteral("ZoffinoUSB"));
    const QString english = app.TrackLabel(0);
    const QString given = app.TrackLabel(1);
    app.SaveSettings();
    ASSERT_TRUE(QtTranslations::installProgramTexts(UiLanguage::Italian));
    EXPECT_EQ(english, "Track 1");
    EXPECT_EQ(given, "Sigla");
    EXPECT_EQ(store()->value("Brano1").toString(), "Brano 1");
    EXPECT_EQ(store()->value("Brano3").toString(), "Brano 3");
}

} // namespace
