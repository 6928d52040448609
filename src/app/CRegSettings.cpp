#include "app/CRegSettings.h"

#include "res/StringTable.h"

#include <QDir>
#include <QSettings>

namespace {

// QSettings reads either separator as the start of a subkey, and an empty name would address the key itself.
bool isValidName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool isValidName(const char* name)
{
    return name != nullptr && isValidName(QString::fromUtf8(name));
}

QString valueKey(const char* section, const QString& valueName)
{
    return QStringLiteral("Settings/") + QString::fromUtf8(section) + QLatin1Char('/') + valueName;
}

} // namespace

CRegSettings::CRegSettings(const QString& registryKey, const QString& applicationName)
    : m_pszSection("variabili"), m_strRegistryKey(registryKey), m_strApplication(applicationName)
{}

int CRegSettings::WriteString(const char* section, const QString& valueName, const QString& text)
{
    return writeValue(section, valueName, text);
}

int CRegSettings::ReadString(const char* section, const QString& valueName, QString& buffer, int maxBytes,
                             const QString& defaultText)
{
    buffer = defaultText;
    QVariant value;
    if (const int result = readValue(section, valueName, value); result != 0) {
        return result;
    }
    if (value.typeId() != QMetaType::QString) {
        return kWrongType;
    }
    QString text = value.toString();
    if (maxBytes <= 0 || text.toUtf8().size() > maxBytes - 1) {
        return kMoreData;
    }
    buffer = std::move(text);
    return 0;
}

int CRegSettings::ReadStringById(const char* section, int stringId, QString& buffer, int maxBytes,
                                 const QString& defaultText)
{
    return ReadString(section, StringTable::load(stringId), buffer, maxBytes, defaultText);
}

int CRegSettings::ReadNumber(const char* section, const QString& valueName, std::uint32_t& value,
                             std::uint32_t defaultValue)
{
    value = defaultValue;
    QVariant stored;
    if (const int result = readValue(section, valueName, stored); result != 0) {
        return result;
    }
    bool ok = false;
    std::uint32_t number = 0;
    if (stored.typeId() == QMetaType::QString) {
        number = stored.toString().trimmed().toUInt(&ok);
    } else if (stored.typeId() == QMetaType::Int) {
        // A DWORD comes back as a signed int; its bits are the number.
        number = static_cast<std::uint32_t>(stored.toInt(&ok));
    } else if (stored.typeId() == QMetaType::UInt) {
        number = stored.toUInt(&ok);
    }
    if (!ok) {
        return kWrongType;
    }
    value = number;
    return 0;
}

int CRegSettings::readValue(const char* section, const QString& valueName, QVariant& value) const
{
    if (!isValidName(section) || !isValidName(valueName)) {
        return kInvalidName;
    }
    return readStored(valueKey(section, valueName), value);
}

int CRegSettings::readFrom(const QSettings& settings, const QString& key, QVariant& value)
{
    // Only a store that cannot be read at all counts. QSettings reports a FormatError to just the first
    // object that parses the file (later ones answer from its cache); what it could parse is what every
    // reader sees.
    if (settings.status() == QSettings::AccessError) {
        return kCannotOpen;
    }
    if (!settings.contains(key)) {
        return kNotFound;
    }
    value = settings.value(key);
    return 0;
}

int CRegSettings::writeValue(const char* section, const QString& valueName, const QVariant& value)
{
    if (!isValidName(section) || !isValidName(valueName)) {
        return kInvalidName;
    }
    if (m_bSaving) {
        m_pending.insert(valueKey(section, valueName), value);
        return 0;
    }
    return saveValues({{valueKey(section, valueName), value}});
}

void CRegSettings::BeginSave()
{
    m_bSaving = true;
    m_pending.clear();
}

int CRegSettings::EndSave()
{
    m_bSaving = false;
    const Values values = std::exchange(m_pending, {});
    return values.isEmpty() ? 0 : saveValues(values);
}

int CRegSettings::fail(int code, const QString& path, const QString& why)
{
    m_lastFailure =
        tr("Le impostazioni non sono state salvate in \"%1\": %2.").arg(QDir::toNativeSeparators(path), why);
    return code;
}
