#include "app/OpenFailureAdvice.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

TEST(OpenFailureAdviceTest, PermissionAdviceGivesTheRuleTheProjectShipsAndTheCommandsThatLoadIt)
{
    QFile shipped(QStringLiteral(ZOFFINO_SOURCE_DIR "/dist/70-zoffino.rules"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QString rules = QString::fromUtf8(shipped.readAll());
    EXPECT_TRUE(rules.contains(QString::fromLatin1(OpenFailureAdvice::kUdevRule)));

    EXPECT_TRUE(OpenFailureAdvice::isPermission(EACCES));
    EXPECT_TRUE(OpenFailureAdvice::isPermission(EPERM));
    const QString advice = OpenFailureAdvice::forCode(EACCES);
    EXPECT_TRUE(advice.contains("permesso"));
    for (const char* step : {"udevadm control --reload", "udevadm trigger", "ricollegare"}) {
        EXPECT_TRUE(advice.contains(QString::fromLatin1(step))) << step;
    }
    // Another failure names the system's reason instead.
    EXPECT_TRUE(OpenFailureAdvice::forCode(EBUSY).contains(QString::fromLocal8Bit(std::strerror(EBUSY))));
}

} // namespace
