// The list of installed languages on locale folders made here: which folders count, their
// order, codes in lower case and once only, English always offered, and the names.
#include "i18n/InstalledLanguages.h"

#include "I18nTestSupport.h"
#include "i18n/Translate.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A locale folder with the given folders, each holding LC_MESSAGES/default.mo unless its
// name ends in "!"; de holds the real German catalogues.
QString MakeLocale(const TempFolder& program, const QStringList& folders) {
    const QString locale = CopyBuiltCatalogues(program.Path());
    const QString german = locale + QStringLiteral("/de/LC_MESSAGES/default.mo");
    for (QString folder : folders) {
        const bool withCatalogue = !folder.endsWith(QLatin1Char('!'));
        folder = locale + QLatin1Char('/') + folder.remove(QLatin1Char('!'));
        QDir().mkpath(folder + QStringLiteral("/LC_MESSAGES"));
        if (withCatalogue)
            QFile::copy(german, folder + QStringLiteral("/LC_MESSAGES/default.mo"));
    }
    if (!folders.contains(QStringLiteral("de")))
        QDir(locale + QStringLiteral("/de")).removeRecursively();
    return locale;
}

QStringList Split(const char* items) {
    return QString::fromUtf8(items).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

} // namespace

TEST(InstalledLanguages, ListsTheCataloguesInNameOrderWithEnglishLast) {
    struct Case {
        const char* folders;
        const char* codes;
        const char* names; // in the start-up language, English here
    };
    const Case cases[] = {
        {"de|FR", "de|fr|en", "German|French|English"},
        {"de|it!", "de|en", "German|English"}, // it has no default.mo
        {"fr|en", "en|fr", "English|French"},  // en in its place, not again
        {"de|DE", "de|en", "German|English"},  // one code in two spellings
        {"pt_BR|en_us", "en_us|pt_br|en", "English (United States)|Portuguese (Brazil)|English"},
        {"xx|de_XX", "de_xx|xx|en", "<unknown>|<unknown>|English"},
        {"", "en", "English"},
    };
    for (const Case& c : cases) {
        TempFolder program;
        SetLanguageEnvironment("C");
        const QString locale = MakeLocale(program, Split(c.folders));
        InitTranslation(locale);
        const TGTLanguageList list = InstalledLanguages(locale);
        EXPECT_EQ(list.Codes, Split(c.codes)) << c.folders;
        EXPECT_EQ(list.Names, Split(c.names)) << c.folders;
    }
    TempFolder none;
    EXPECT_EQ(InstalledLanguages(none.File(QStringLiteral("locale"))).Codes, Split("en"));
}

TEST(InstalledLanguages, NamesAreInTheCurrentLanguage) {
    TempFolder program;
    SetLanguageEnvironment("C");
    const QString locale = MakeLocale(program, Split("de|FR|qq"));
    InitTranslation(locale);
    UseLanguage(QStringLiteral("de_DE"));
    EXPECT_EQ(InstalledLanguages(locale).Names, Split("Deutsch|Französisch|<unbekannt>|Englisch"));
}
