// The translation engine with the catalogues the build made: the start-up language,
// switching under any environment, ll_CC served by ll, the translator from the
// catalogue's header, and Qt's own button texts.
#include "i18n/Translate.h"

#include "I18nTestSupport.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// glibc ignores LANGUAGE in the "C" messages locale, which LANG=C and a LANG naming a
// locale that is not installed both give.
TEST(Translate, StartsInLangsLanguageAndSwitchesWhateverTheEnvironment) {
    struct Case {
        QByteArray lang;
        QString language;  // at start
        const char* files; // the caption of the Files menu at start
    };
    const Case cases[] = {{"de_DE.UTF-8", QStringLiteral("de_DE"), "&Dateien"},
                          {"de_AT", QStringLiteral("de_AT"), "&Dateien"},
                          {"C", QStringLiteral("C"), "&Files"},
                          {"POSIX", QStringLiteral("POSIX"), "&Files"},
                          {"xx_YY.UTF-8", QStringLiteral("xx_YY"), "&Files"}};
    for (const Case& c : cases) {
        const std::string lang = c.lang.toStdString();
        TempFolder program;
        SetLanguageEnvironment(c.lang);
        InitTranslation(CopyBuiltCatalogues(program.Path()));
        EXPECT_EQ(CurrentLanguage(), c.language) << lang;
        EXPECT_EQ(Translated("&Files"), QString::fromUtf8(c.files)) << lang;
        UseLanguage(QStringLiteral("de"));
        EXPECT_EQ(Translated("&Files"), QStringLiteral("&Dateien")) << lang;
        UseLanguage(QStringLiteral("en"));
        EXPECT_EQ(Translated("&Files"), QStringLiteral("&Files")) << lang;
    }
}

TEST(Translate, TheCodeFindsItsCatalogueWithFallbackAndWithoutRegardToCase) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    // One after another: every switch must drop what the lookup cached.
    const std::pair<const char*, const char*> cases[] = {
        {"de_AT", "&Dateien"}, {"fr", "&Files"},    {"DE_de", "&Dateien"},      {"C", "&Files"},
        {"De", "&Dateien"},    {"../de", "&Files"}, {"de_CH@euro", "&Dateien"}, {"de:fr", "&Files"},
        {"", "&Files"}, // empty: kept
    };
    for (const auto& [code, files] : cases) {
        UseLanguage(QString::fromLatin1(code));
        EXPECT_EQ(Translated("&Files"), QString::fromUtf8(files)) << code;
    }
}

TEST(Translate, TheTranslatorComesFromTheCurrentCataloguesHeader) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    EXPECT_EQ(CurrentTranslator(), QString()) << "English has no catalogue";
    UseLanguage(QStringLiteral("de_AT"));
    QFile po(QStringLiteral(BRISKO_SOURCE_DIR "/locale/de/default.po"));
    ASSERT_TRUE(po.open(QIODevice::ReadOnly));
    const QString inSource =
        QRegularExpression(QStringLiteral("Last-Translator: (.*?)\\\\n"))
            .match(QString::fromUtf8(po.readAll())
                       .remove(QStringLiteral("\"\n\""))) // wrapped lines joined
            .captured(1);
    EXPECT_EQ(CurrentTranslator(), inSource);
    EXPECT_FALSE(inSource.isEmpty() || inSource.contains(QLatin1String("FULL NAME")))
        << "the template's placeholder";
    EXPECT_EQ(CatalogueHeaderField(QStringLiteral("Language: de\nLAST-translator:  Ana \n"),
                                   QStringLiteral("Last-Translator")),
              QStringLiteral("Ana"));
}

// Qt's standard buttons (message boxes, button boxes) ask QCoreApplication::translate.
TEST(Translate, QtsButtonTextsGoThroughTheCatalogue) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    UseLanguage(QStringLiteral("de"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
    EXPECT_EQ(QCoreApplication::translate("QGnomeTheme", "&Cancel"), QStringLiteral("&Abbrechen"));
    // Only the button texts: other contexts and texts keep Qt's English.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Files"), QStringLiteral("&Files"));
}
