// The translation engine with the catalogues the build made: the start-up language,
// switching under any environment, ll_CC served by ll, the translator from the
// catalogue's header, and Qt's own button texts.
#include "i18n/Translate.h"

#include "I18nTestSupport.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <gtest/gtest.h>

namespace {

// The engine on a program folder with the built catalogues, started under LANG.
struct Engine {
    TempFolder program;
    explicit Engine(const QByteArray& lang = "C") {
        SetLanguageEnvironment(lang);
        InitTranslation(CopyBuiltCatalogues(program.Path()));
    }
};

} // namespace

// glibc ignores LANGUAGE in the "C" messages locale, which LANG=C and a LANG naming a
// locale that is not installed both give.
TEST(Translate, StartsInLangsLanguageAndSwitchesWhateverTheEnvironment) {
    const std::tuple<QByteArray, QString, const char*> cases[] = {
        {"de_DE.UTF-8", QStringLiteral("de_DE"), "&Dateien"},
        {"de_AT", QStringLiteral("de_AT"), "&Dateien"},
        {"C", QStringLiteral("C"), "&Files"},
        {"xx_YY.UTF-8", QStringLiteral("xx_YY"), "&Files"}};
    for (const auto& [lang, language, files] : cases) {
        SCOPED_TRACE(lang.toStdString());
        Engine engine(lang);
        EXPECT_EQ(CurrentLanguage(), language);
        EXPECT_EQ(Translated("&Files"), QString::fromUtf8(files));
        UseLanguage(QStringLiteral("de"));
        EXPECT_EQ(Translated("&Files"), QStringLiteral("&Dateien"));
        UseLanguage(QStringLiteral("en"));
        EXPECT_EQ(Translated("&Files"), QStringLiteral("&Files"));
    }
}

TEST(Translate, TheCodeFindsItsCatalogueWithFallbackAndWithoutRegardToCase) {
    Engine engine;
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

// Qt's standard buttons (message boxes, button boxes) ask QCoreApplication::translate and
// get our catalogue's texts.
TEST(Translate, TheTranslatorAndQtsButtonTextsComeFromTheCurrentCatalogue) {
    Engine engine;
    EXPECT_EQ(CurrentTranslator(), QString()) << "English has no catalogue";
    UseLanguage(QStringLiteral("de_AT"));
    EXPECT_FALSE(CurrentTranslator().isEmpty() ||
                 CurrentTranslator().contains(QLatin1String("FULL NAME")))
        << CurrentTranslator().toStdString();
    EXPECT_EQ(CatalogueHeaderField(QStringLiteral("Language: de\nLAST-translator:  Ana \n"),
                                   QStringLiteral("Last-Translator")),
              QStringLiteral("Ana"));
    EXPECT_EQ(QCoreApplication::translate("QGnomeTheme", "&Cancel"), QStringLiteral("&Abbrechen"));
}

// Qt's own texts (file pickers, the edit box's menu, key names in menus) follow the
// language through Qt's translations, and go back to English with it; a language we have
// no catalogue for stays English there too.
TEST(Translate, QtsOwnTextsFollowTheLanguage) {
    Engine engine;
    const auto shortcut = []() -> QString {
        return QKeySequence(QKeyCombination(Qt::CTRL, Qt::Key_I))
                   .toString(QKeySequence::NativeText) +
               u' ' + QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText);
    };
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"de", "Suchen in:", "&Kopieren", "Strg+I Entf"},
        {"en", "Look in:", "&Copy", "Ctrl+I Del"},
        {"de_AT", "Suchen in:", "&Kopieren", "Strg+I Entf"},
        {"fr", "Look in:", "&Copy", "Ctrl+I Del"},
        {"C", "Look in:", "&Copy", "Ctrl+I Del"},
    };
    for (const auto& [code, lookIn, copy, keys] : cases) {
        SCOPED_TRACE(code);
        UseLanguage(QString::fromLatin1(code));
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8(lookIn))
            << "Qt's translations come with qt6-translations-l10n (scripts/setup)";
        EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"),
                  QString::fromUtf8(copy));
        EXPECT_EQ(shortcut(), QString::fromUtf8(keys));
        // Our catalogue keeps its own texts for Qt's buttons.
        EXPECT_EQ(
            QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QString::fromUtf8(std::string_view(code).starts_with("de") ? "Abbrechen" : "Cancel"));
    }
}
