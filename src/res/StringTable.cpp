#include "res/StringTable.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("StringTable", "&Informazioni su ZoffinoUSB...");
    // The other entries name stored values: a translation would lose what an earlier run stored.
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
