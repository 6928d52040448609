// Times the settings store on a store file of about 100 MB (a million other values) and prints:
//   large_store_read_s    the four track names read at start
//   large_store_save_s    the seven values saved at exit
// Usage: settings_bench

#include "app/CRegSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const QString path = folder.filePath(QStringLiteral("Quenmark Audio/ZoffinoUSB.ini"));
    QDir().mkpath(folder.filePath(QStringLiteral("Quenmark Audio")));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.write("[Altro]\n");
        const QByteArray value(90, 'x');
        for (int i = 0; i < 1'000'000; ++i) {
            file.write(QByteArray("k") + QByteArray::number(i) + '=' + value + '\n');
        }
    }

    using Clock = std::chrono::steady_clock;
    CRegSettings store(QStringLiteral("Quenmark Audio"), QStringLiteral("ZoffinoUSB"));
    const auto start = Clock::now();
    QString name;
    for (int n = 1; n <= 4; ++n) {
        store.ReadString(store.m_pszSection, QStringLiteral("Brano%1").arg(n), name, 255, QString());
    }
    const auto read = Clock::now();
    store.BeginSave();
    for (int n = 1; n <= 3; ++n) {
        store.WriteNumber(store.m_pszSection, QStringLiteral("Config%1").arg(n), 60);
    }
    for (int n = 1; n <= 4; ++n) {
        store.WriteString(store.m_pszSection, QStringLiteral("Brano%1").arg(n), QStringLiteral("Brano"));
    }
    if (store.EndSave() != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(store.LastFailure()));
        return 1;
    }
    const auto saved = Clock::now();
    std::printf("large_store_read_s: %.2f\n", std::chrono::duration<double>(read - start).count());
    std::printf("large_store_save_s: %.2f\n", std::chrono::duration<double>(saved - read).count());
    return 0;
}
