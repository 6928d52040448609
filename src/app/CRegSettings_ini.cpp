#include "app/CRegSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QUuid>

#include <filesystem>
#include <system_error>

// The store as an ini file of QSettings' format, where the system has no registry.

namespace {

// How long a save waits for another writer of the same file (another program saving at that moment).
constexpr int kLockTimeoutMs = 1500;

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Removes a half-made file on every way out of a write that has not handed it over yet.
struct LeftoverFile
{
    QString path;
    ~LeftoverFile()
    {
        if (!path.isEmpty()) {
            QFile::remove(path);
        }
    }
};

} // namespace

int CRegSettings::WriteNumber(const char* section, const QString& valueName, std::uint32_t value)
{
    // An ini file keeps every value as text, and this is the text QSettings writes for a quint32. Writing the
    // text itself lets the check of the written file compare like with like.
    return writeValue(section, valueName, QString::number(value));
}

int CRegSettings::readStored(const QString& key, QVariant& value) const
{
    const QString path = iniFilePath();
    // Opening a FIFO or a device would wait, or read for ever.
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        return kCannotOpen;
    }
    return readFrom(QSettings(path, QSettings::IniFormat), key, value);
}

int CRegSettings::saveValues(const Values& values)
{
    return writeIniValues(iniFilePath(), values);
}

QString CRegSettings::iniFilePath() const
{
    // Qt keeps its folder for the user's ini files to itself, and a QSettings made for our own name would
    // read our file (and the organisation's) at once, whatever they are. One made for a name that cannot
    // exist says where the folder is without reading anything.
    const QString probe = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                    QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("p"))
                              .fileName();
    const QString folder = QFileInfo(QFileInfo(probe).absolutePath()).absolutePath();
    return folder + QLatin1Char('/') + m_strRegistryKey + QLatin1Char('/') + m_strApplication +
           QStringLiteral(".ini");
}

int CRegSettings::writeIniValues(const QString& path, const Values& values)
{
    const QFileInfo old(path);
    if (old.isSymLink() && !old.exists()) {
        return fail(kCannotOpen, path, tr("è un collegamento a un file che non esiste"));
    }
    // Never written through onto a FIFO, a device or a folder, whatever a link leads to.
    if (old.exists() && !old.isFile()) {
        return fail(kCannotOpen, path, tr("non è un file normale; toglierlo per salvarle"));
    }
    if (old.exists() && (!old.isWritable() || !(old.permissions() & QFileDevice::WriteOwner))) {
        return fail(kAccessDenied, path, tr("il file è in sola lettura"));
    }
    if (!QDir().mkpath(old.absolutePath())) {
        return fail(kCannotOpen, path, tr("la cartella non si può creare"));
    }
    // Two instances saving at once must not lose each other's values between the read and the rename below.
    // QSettings takes the same lock for its own writes to this file.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        return fail(kBusy, path, tr("un altro programma lo sta usando"));
    }

    // The whole file is written again, so everything else in it comes along.
    Values wanted;
    {
        const QSettings current(path, QSettings::IniFormat);
        if (current.status() == QSettings::AccessError) {
            return fail(kCannotOpen, path, tr("il file non si può leggere"));
        }
        for (const QString& name : current.allKeys()) {
            wanted.insert(name, current.value(name));
        }
    }
    wanted.insert(values);

    // A symbolic link to the file (kept with the user's other dotfiles, say) stays a link; its target is
    // replaced.
    const QString target = old.exists() ? old.canonicalFilePath() : path;
    const QString cannotWrite = tr("il file non si può scrivere (disco pieno?)");

    // QSettings saves through QSaveFile, and Qt 6.4's QSaveFile misses an error in the final flush (a full
    // disk, a quota): it renames the truncated file over the old one. So the new file is made beside the
    // store, read back under a name QSettings has never opened (for one it has, it would answer from its
    // cache) and only a complete one replaces the store.
    QTemporaryFile staging(target + QStringLiteral(".XXXXXX"));
    if (!staging.open()) {
        return fail(kWriteFault, path, cannotWrite);
    }
    const QString written = staging.fileName();
    staging.close();
    {
        QSettings out(written, QSettings::IniFormat);
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            out.setValue(it.key(), it.value());
        }
        out.sync();
        if (out.status() != QSettings::NoError) {
            return fail(kWriteFault, path, cannotWrite);
        }
    }
    LeftoverFile checked{written + QStringLiteral("~")};
    std::error_code error;
    std::filesystem::rename(fsPath(written), fsPath(checked.path), error);
    if (error) {
        return fail(kWriteFault, path, cannotWrite);
    }
    {
        const QSettings in(checked.path, QSettings::IniFormat);
        if (in.status() != QSettings::NoError || in.allKeys().size() != wanted.size()) {
            return fail(kWriteFault, path, cannotWrite);
        }
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            if (in.value(it.key()) != it.value()) {
                return fail(kWriteFault, path, cannotWrite);
            }
        }
    }

    if (old.exists()) {
        QFile file(checked.path);
        file.setPermissions(old.permissions());
        // QSettings takes a file with the size and the modification time (to the millisecond) it last saw for
        // unchanged and answers from its cache. Two saves within a millisecond, or across a clock that went
        // back, must still differ.
        const QDateTime oldTime = old.lastModified();
        if (QFileInfo(checked.path).lastModified() <= oldTime && file.open(QIODevice::ReadWrite)) {
            file.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
        }
    }
    std::filesystem::rename(fsPath(checked.path), fsPath(target), error);
    if (error) {
        return fail(kWriteFault, path, cannotWrite);
    }
    checked.path.clear();
    return 0;
}
