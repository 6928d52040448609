#include "app/QtTranslations.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslationsTest, QtsOwnButtonsSpeakItalian)
{
    ASSERT_TRUE(QtTranslations::install()) << "Qt's translations (qt6-translations-l10n) are missing";
    QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&'), "Apri");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Annulla");
}

} // namespace
