#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

// The program's persisted settings: named 32-bit numbers and strings under one per-user key.
//
// On Windows that key is HKEY_CURRENT_USER\Software\<registry key>\<application>\Settings\<section>.
// Elsewhere it is the group Settings/<section> of the per-user ini file QSettings keeps for the organisation
// <registry key> and the application, <config folder>/<registry key>/<application>.ini. Tests point that
// folder at a temporary one with QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder)
// before they use the store.
//
// Every call opens the store, does one read or one write and closes it again: nothing is held open between
// calls, and another instance of the program sees a value as soon as it has been written. A read never
// creates anything. A write either replaces the file whole or leaves it as it was, even when the disk fills
// up under it.
class CRegSettings
{
public:
    // Results other than 0. They are the Win32 codes the registry functions give for the same cases.
    static constexpr int kCannotOpen = -1;
    static constexpr int kNotFound = 2;     // ERROR_FILE_NOT_FOUND
    static constexpr int kWrongType = 13;   // ERROR_INVALID_DATA
    static constexpr int kWriteFault = 29;  // ERROR_WRITE_FAULT
    static constexpr int kInvalidName = 87; // ERROR_INVALID_PARAMETER
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

    // The stored number; defaultValue when there is none or it is not a 32-bit unsigned number.
    std::uint32_t ReadNumber(const char* section, const QString& valueName, std::uint32_t defaultValue);

    const QString m_strKey;
    const char* const m_pszSection;

private:
    int readValue(const char* section, const QString& valueName, QVariant& value) const;
    int writeValue(const char* section, const QString& valueName, const QVariant& value) const;
    QString iniFilePath() const;
    int writeIniValue(const QString& key, const QVariant& value) const;

    const QString m_strRegistryKey;
    const QString m_strApplication;
};
