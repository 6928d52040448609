#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QVariant>

#include <cstdint>

class QSettings;

// The program's persisted settings: named 32-bit numbers and strings under one per-user key.
//
// On Windows that key is HKEY_CURRENT_USER\Software\<registry key>\<application>\Settings\<section>.
// Elsewhere it is the group Settings/<section> of the per-user ini file QSettings keeps for the organisation
// <registry key> and the application, <config folder>/<registry key>/<application>.ini. Tests point that
// folder at a temporary one with QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder)
// before they use the store.
//
// Every call opens the store, does one read or one write and closes it again: nothing is held open between
// calls, and another instance of the program sees a value as soon as it has been written. Several values
// can be saved at once (BeginSave, EndSave). A read never creates anything. A write either replaces the file
// whole or leaves it as it was, even when the disk fills up under it. A store that is not a regular file
// (a FIFO, a device, a folder, also behind a link) is neither read nor written, and a read-only one is read
// and left alone: nothing here can wait on a file or write through a link onto something else.
class CRegSettings
{
    Q_DECLARE_TR_FUNCTIONS(CRegSettings)

public:
    // Results other than 0. They are the Win32 codes the registry functions give for the same cases.
    static constexpr int kCannotOpen = -1;
    static constexpr int kNotFound = 2;     // ERROR_FILE_NOT_FOUND
    static constexpr int kAccessDenied = 5; // ERROR_ACCESS_DENIED
    static constexpr int kWrongType = 13;   // ERROR_INVALID_DATA
    static constexpr int kWriteFault = 29;  // ERROR_WRITE_FAULT
    static constexpr int kInvalidName = 87; // ERROR_INVALID_PARAMETER
    static constexpr int kBusy = 170;       // ERROR_BUSY
    static constexpr int kMoreData = 234;   // ERROR_MORE_DATA

    CRegSettings(const QString& registryKey, const QString& applicationName);

    // 0 when written; kCannotOpen when the store cannot be opened or created, another code when the write
    // failed (the stored value is then the one from before).
    int WriteString(const char* section, const QString& valueName, const QString& text);
    int WriteNumber(const char* section, const QString& valueName, std::uint32_t value);

    // Puts defaultText in buffer, then the stored string when there is one that fits in maxBytes bytes of
    // UTF-8 with room for a terminating zero; 0 when the stored string was taken.
    int ReadString(const char* section, const QString& valueName, QString& buffer, int maxBytes,
                   const QString& defaultText);
    int ReadStringById(const char* section, int stringId, QString& buffer, int maxBytes,
                       const QString& defaultText);
    // Puts defaultValue in value, then the stored number when there is one (as WriteNumber keeps it: a
    // DWORD in the registry, its decimal text in an ini file); 0 when the stored number was taken.
    int ReadNumber(const char* section, const QString& valueName, std::uint32_t& value,
                   std::uint32_t defaultValue);

    // The writes between BeginSave() and EndSave() are gathered (each answers 0 unless its name is refused)
    // and EndSave() stores them all at once: one lock, one write, one rename. Its result is that of a write.
    void BeginSave();
    int EndSave();

    // Why the last write that failed did, for the user: in the program's language, naming the store.
    const QString& LastFailure() const { return m_lastFailure; }

    const char* const m_pszSection;

private:
    using Values = QMap<QString, QVariant>;

    int readValue(const char* section, const QString& valueName, QVariant& value) const;
    // The system's part (one file per kind of store): a value by its whole key, and a save of values.
    int readStored(const QString& key, QVariant& value) const;
    // What both kinds of store do with the QSettings that reads them.
    static int readFrom(const QSettings& settings, const QString& key, QVariant& value);
    int writeValue(const char* section, const QString& valueName, const QVariant& value);
    int saveValues(const Values& values);
    // The ini file's part.
    QString iniFilePath() const;
    int writeIniValues(const QString& path, const Values& values);
    int fail(int code, const QString& path, const QString& why);

    const QString m_strRegistryKey;
    const QString m_strApplication;
    bool m_bSaving = false;
    Values m_pending;
    QString m_lastFailure;
};
