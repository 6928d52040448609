#include "app/CRegSettings.h"

#include <QSettings>

// The store as the user's own registry key, where the system has one.

int CRegSettings::WriteNumber(const char* section, const QString& valueName, std::uint32_t value)
{
    // QSettings stores an int as a REG_DWORD and gives it back as one; the bits are the number.
    return writeValue(section, valueName, QVariant(static_cast<qint32>(value)));
}

int CRegSettings::readStored(const QString& key, QVariant& value) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_strRegistryKey, m_strApplication);
    // The store is the user's own key, not the organisation's defaults nor the machine's.
    settings.setFallbacksEnabled(false);
    return readFrom(settings, key, value);
}

int CRegSettings::saveValues(const Values& values)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_strRegistryKey, m_strApplication);
    settings.setFallbacksEnabled(false);
    const QString path = settings.fileName();
    if (settings.status() == QSettings::AccessError) {
        return fail(kCannotOpen, path, tr("la chiave non si può aprire"));
    }
    // The registry replaces each value atomically.
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        settings.setValue(it.key(), it.value());
    }
    settings.sync();
    return settings.status() == QSettings::NoError
               ? 0
               : fail(kWriteFault, path, tr("il registro non ha accettato i valori"));
}
