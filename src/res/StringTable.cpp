#include "res/StringTable.h"

#include <QHash>

namespace {

QHash<int, QString>& overrides()
{
    static QHash<int, QString> texts;
    return texts;
}

} // namespace

void StringTable::setOverride(int id, const QString& text)
{
    overrides().insert(id, text);
}

void StringTable::clearOverrides()
{
    overrides().clear();
}

QString StringTable::load(int id)
{
    if (const auto found = overrides().constFind(id); found != overrides().constEnd()) {
        return *found;
    }
    switch (id) {
    case IDS_ABOUTBOX:
        return QStringLiteral("&Informazioni su ZoffinoUSB...");
    case IDS_CONFIG1:
        return QStringLiteral("Config1");
    case IDS_CONFIG2:
        return QStringLiteral("Config2");
    case IDS_BRANO1:
    case IDS_BRANO1 + 1:
    case IDS_BRANO1 + 2:
    case IDS_BRANO1 + 3:
        return QStringLiteral("Brano%1").arg(id - IDS_BRANO1 + 1);
    case IDS_CONFIG3:
        return QStringLiteral("Config3");
    default:
        return {};
    }
}
