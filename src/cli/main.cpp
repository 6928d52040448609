#include "cli/CliTool.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark Audio"));
    QCoreApplication::setApplicationName(QStringLiteral("zoffino"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    return CliTool::run(QCoreApplication::arguments());
}
