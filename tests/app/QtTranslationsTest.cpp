#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString buttonText(QDialogButtonBox::StandardButton which)
{
    QDialogButtonBox buttons(which);
    return buttons.button(which)->text().remove('&');
}

QString tracks(int count)
{
    return QCoreApplication::translate("CPlayerApp", "%n brani", "division", count);
}

TEST(QtTranslationsTest, TheFirstLanguageWithACatalogueWinsAndTheRestIsItalian)
{
    using L = UiLanguage;
    const std::vector<std::pair<QStringList, UiLanguage>> cases{
        {{"en-GB", "en-Latn-GB"}, L::English},
        {{"en-US", "en"}, L::English},
        {{"it-IT", "it"}, L::Italian},
        {{"C"}, L::Italian},
        {{"POSIX"}, L::Italian},
        {{}, L::Italian},
        {{"fr-FR", "fr"}, L::Italian},       // no French catalogue
        {{"fr", "en", "en-US"}, L::English}, // LANGUAGE=fr:en
        {{"de", "it", "en"}, L::Italian},
        {{"C", "en"}, L::Italian},
    };
    for (const auto& [languages, expected] : cases) {
        EXPECT_EQ(QtTranslations::languageFor(languages), expected) << languages.join(',').toStdString();
    }
}

// The suite speaks Italian (its main installs it); each language is installed here, then Italian again.
TEST(QtTranslationsTest, BothLanguagesReachQtsOwnButtonsAndThePlurals)
{
    ASSERT_TRUE(QtTranslations::install(UiLanguage::English))
        << "Qt's translations (qt6-translations-l10n) are missing";
    EXPECT_EQ(buttonText(QDialogButtonBox::Open), "Open");
    EXPECT_EQ(tracks(1), "one track");
    EXPECT_EQ(tracks(4), "4 tracks");
    EXPECT_EQ(QCoreApplication::translate("IDD_PLAYER", "Suona"), "Play");

    ASSERT_TRUE(QtTranslations::install(UiLanguage::Italian));
    EXPECT_EQ(buttonText(QDialogButtonBox::Open), "Apri");
    EXPECT_EQ(buttonText(QDialogButtonBox::Cancel), "Annulla");
    EXPECT_EQ(tracks(1), "un brano");
    EXPECT_EQ(tracks(4), "4 brani");
    EXPECT_EQ(QCoreApplication::translate("IDD_PLAYER", "Suona"), "Suona");
}

} // namespace
