#include "app/CRegSettings.h"

#include "res/StringTable.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const char* const kSection = "variabili";
const QString kSong = QStringLiteral("Canzone più bella"); // 17 characters, 18 bytes of UTF-8

class CRegSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    void TearDown() override { StringTable::clearOverrides(); }

    QString path(const QString& name = QStringLiteral("Quenmark Audio/ZoffinoUSB.ini")) const
    {
        return m_dir.filePath(name);
    }
    static QByteArray bytes(const QString& file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    static void put(const QString& file, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
    // A number as the store gives it back, as its text; nothing when there is none.
    std::optional<unsigned> number(const char* name)
    {
        QString text;
        bool ok = false;
        const unsigned value = m_store.ReadString(kSection, name, text, 255, {}) == 0 ? text.toUInt(&ok) : 0;
        return ok ? std::optional<unsigned>(value) : std::nullopt;
    }
    QStringList storeFolder() const
    {
        return QDir(path("Quenmark Audio")).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_dir;
    CRegSettings m_store{QStringLiteral("Quenmark Audio"), QStringLiteral("ZoffinoUSB")};
    QString m_text;
};

TEST_F(CRegSettingsTest, WithNothingStoredReadsGiveTheirDefaultsAndTheFirstWriteMakesTheFile)
{
    EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, "Brano 1"), CRegSettings::kNotFound);
    EXPECT_EQ(m_text, "Brano 1");
    EXPECT_EQ(number("Config3"), std::nullopt);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty()) << "a read created something";

    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 5), 0);
    EXPECT_EQ(storeFolder(), QStringList{"ZoffinoUSB.ini"}) << "something was left behind";
    EXPECT_EQ(number("Config1"), 5u);
}

TEST_F(CRegSettingsTest, StringsComeBackAsStoredWhenTheyFit)
{
    const QString odd = QStringLiteral(" Rock, pop; \"live\" = @1 \\ a/b ");
    for (const QString& text : {kSong, odd, QString()}) {
        EXPECT_EQ(m_store.WriteString(kSection, "Brano2", text), 0);
        EXPECT_EQ(m_store.ReadString(kSection, "Brano2", m_text, 255, "Brano 2"), 0);
        EXPECT_EQ(m_text, text);
    }
    // 18 bytes and the terminating zero need 19; counting characters would let the string through.
    EXPECT_EQ(m_store.WriteString(kSection, "Brano2", kSong), 0);
    EXPECT_EQ(m_store.ReadStringById(kSection, IDS_BRANO1 + 1, m_text, 19, "Brano 2"), 0);
    EXPECT_EQ(m_store.ReadString(kSection, "Brano2", m_text, 18, "Brano 2"), CRegSettings::kMoreData);
    EXPECT_EQ(m_text, "Brano 2");
}

TEST_F(CRegSettingsTest, NumbersKeepTheLastValue)
{
    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 5), 0);
    EXPECT_EQ(number("Config1"), 5u);
    // QSettings' cache goes by size and modification time: a save must look newer even than a future file.
    const QDateTime future = QDateTime::currentDateTime().addSecs(3600);
    {
        QFile stored(path());
        ASSERT_TRUE(stored.open(QIODevice::ReadWrite) &&
                    stored.setFileTime(future, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 0xFFFFFFFF), 0);
    EXPECT_GT(QFileInfo(path()).lastModified(), future);
    EXPECT_EQ(number("Config1"), 0xFFFFFFFFu);
}

TEST_F(CRegSettingsTest, TheFileHoldsTheValuesUnderSettingsVariabiliAndKeepsTheRest)
{
    // The store reached through a link (the user's dotfiles) is written where the link points.
    put(path("dotfiles/zoffino.ini"), "[Altro]\nchiave=\"uno, due\"\nlista=a, b\n");
    ASSERT_TRUE(QDir().mkpath(path("Quenmark Audio")) && QFile::link(path("dotfiles/zoffino.ini"), path()));
    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 42), 0);
    EXPECT_EQ(m_store.WriteString(kSection, "Brano1", kSong), 0);

    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(bytes(path()).contains(
        "[Settings]\nvariabili\\Brano1=Canzone pi\xc3\xb9 bella\nvariabili\\Config1=42\n"))
        << bytes(path()).constData();
    const QSettings file(path(), QSettings::IniFormat);
    EXPECT_EQ(file.allKeys(), QStringList({"Altro/chiave", "Altro/lista", "Settings/variabili/Brano1",
                                           "Settings/variabili/Config1"}));
    EXPECT_EQ(file.value("Altro/chiave"), QString("uno, due"));
    EXPECT_EQ(file.value("Altro/lista"), QStringList({"a", "b"}));
}

TEST_F(CRegSettingsTest, AStoreThatCannotBeWrittenKeepsWhatItHeld)
{
    // Its folder would have to be made under a regular file.
    put(path("blocker"), "x");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("blocker/config"));
    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 9), CRegSettings::kCannotOpen);
    EXPECT_EQ(number("Config1"), std::nullopt);
    EXPECT_EQ(bytes(path("blocker")), "x");

    // The disk fills up while the new file is written (root is held to the limit too); Qt 6.4 on its own
    // would rename the truncated file into place.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    ASSERT_EQ(m_store.WriteString(kSection, "Brano1", "vecchio"), 0);
    ASSERT_EQ(m_store.WriteNumber(kSection, "Config1", 7), 0);
    const QByteArray before = bytes(path());
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = 512;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    const int result = m_store.WriteString(kSection, "Brano1", QString(4000, QLatin1Char('n')));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, CRegSettings::kWriteFault);
    EXPECT_EQ(bytes(path()), before);
    EXPECT_EQ(storeFolder(), QStringList{"ZoffinoUSB.ini"});
    EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, ""), 0);
    EXPECT_EQ(m_text, "vecchio");

    // A store that cannot be read is not written either.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("unreadable"));
    ASSERT_TRUE(QDir().mkpath(path("unreadable/Quenmark Audio/ZoffinoUSB.ini")));
    EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, "Brano 1"), CRegSettings::kCannotOpen);
    EXPECT_EQ(m_text, "Brano 1");
    EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 4), CRegSettings::kCannotOpen);
}

TEST_F(CRegSettingsTest, ASaveStoresTheValuesAtOnceAndGivesUpOnABusyStoreWithoutHanging)
{
    m_store.BeginSave();
    for (const char* name : {"Config1", "Config2", "Config3"}) {
        EXPECT_EQ(m_store.WriteNumber(kSection, name, 7), 0);
    }
    EXPECT_EQ(m_store.WriteString(kSection, "Brano1", kSong), 0);
    EXPECT_EQ(m_store.WriteString(kSection, "", "x"), CRegSettings::kInvalidName);
    EXPECT_FALSE(QFileInfo::exists(path())) << "nothing is written before the save ends";
    EXPECT_EQ(m_store.EndSave(), 0);
    EXPECT_EQ(number("Config3"), 7u);
    EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, ""), 0);
    EXPECT_EQ(m_text, kSong);

    // Another program holds the store: the save gives up after a moment, says so and changes nothing.
    QLockFile other(path() + ".lock");
    ASSERT_TRUE(other.tryLock(0));
    const QByteArray before = bytes(path());
    m_store.BeginSave();
    m_store.WriteNumber(kSection, "Config1", 1);
    m_store.WriteNumber(kSection, "Config2", 2);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_store.EndSave(), CRegSettings::kBusy);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(bytes(path()), before);
    EXPECT_TRUE(m_store.LastFailure().contains(QDir::toNativeSeparators(path())));
    EXPECT_TRUE(m_store.LastFailure().contains("un altro programma")) << m_store.LastFailure().toStdString();
}

TEST_F(CRegSettingsTest, AReadOnlyStoreIsReadAndLeftAlone)
{
    ASSERT_EQ(m_store.WriteString(kSection, "Brano1", kSong), 0);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                  QFileDevice::ReadOther));
    const QByteArray before = bytes(path());
    EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, ""), 0);
    EXPECT_EQ(m_text, kSong);
    // Also for root, whom the permissions would not stop.
    EXPECT_EQ(m_store.WriteString(kSection, "Brano1", "altro"), CRegSettings::kAccessDenied);
    EXPECT_EQ(bytes(path()), before);
    EXPECT_EQ(QFileInfo(path()).permissions() & QFileDevice::WriteOwner, 0);
    EXPECT_TRUE(m_store.LastFailure().contains("sola lettura"));
}

#ifdef Q_OS_UNIX
TEST_F(CRegSettingsTest, AStoreThatIsNotARegularFileIsNeitherReadNorWrittenAndNothingWaits)
{
    // A FIFO waits for a writer when opened; a link must not be written through onto it either.
    const QString fifo = path("elsewhere/fifo");
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")) && QDir().mkpath(path("Quenmark Audio")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const bool viaLink : {false, true}) {
        SCOPED_TRACE(viaLink ? "a link to a FIFO" : "a FIFO");
        QFile::remove(path());
        if (viaLink) {
            ASSERT_TRUE(QFile::link(fifo, path()));
        } else {
            ASSERT_TRUE(QFile::rename(fifo, path()));
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(m_store.ReadString(kSection, "Brano1", m_text, 255, "Brano 1"), CRegSettings::kCannotOpen);
        EXPECT_EQ(m_text, "Brano 1");
        EXPECT_EQ(m_store.WriteNumber(kSection, "Config1", 3), CRegSettings::kCannotOpen);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_TRUE(m_store.LastFailure().contains("non è un file normale"));
        const QFileInfo fifoNow(viaLink ? fifo : path());
        EXPECT_FALSE(fifoNow.isFile() || fifoNow.isDir()) << "the FIFO was replaced";
        if (!viaLink) {
            ASSERT_TRUE(QFile::rename(path(), fifo));
        }
    }
}
#endif

TEST_F(CRegSettingsTest, ANameThatIsEmptyOrAPathIsRefused)
{
    // It would reach the key itself or another one.
    StringTable::setOverride(IDS_BRANO1, "");
    EXPECT_EQ(m_store.ReadStringById(kSection, IDS_BRANO1, m_text, 255, "Brano 1"),
              CRegSettings::kInvalidName);
    EXPECT_EQ(m_text, "Brano 1");
    EXPECT_EQ(m_store.WriteString(kSection, "", "x"), CRegSettings::kInvalidName);
    EXPECT_EQ(m_store.WriteNumber(kSection, "../Config1", 1), CRegSettings::kInvalidName);
    EXPECT_EQ(m_store.WriteNumber("", "Config1", 1), CRegSettings::kInvalidName);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
}

} // namespace
