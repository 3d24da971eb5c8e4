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

TEST(InstalledLanguages, ListsTheCataloguesInNameOrderWithEnglishLastNamedInTheCurrentLanguage) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // The folders; the codes; their names in English, and in German where given.
        {"de|FR|it!|qq", "de|fr|qq|en", "German|French|<unknown>|English",
         "Deutsch|Französisch|<unbekannt>|Englisch"},
        {"fr|FR|en", "en|fr", "English|French", nullptr},
        {"pt_BR|en_us|xx|de_XX", "de_xx|en_us|pt_br|xx|en",
         "<unknown>|English (United States)|Portuguese (Brazil)|<unknown>|English", nullptr},
        {"", "en", "English", nullptr},
    };
    for (const auto& [folders, codes, names, germanNames] : cases) {
        SCOPED_TRACE(folders);
        TempFolder program;
        SetLanguageEnvironment("C");
        const QString locale = MakeLocale(program, Split(folders));
        InitTranslation(locale);
        EXPECT_EQ(InstalledLanguages(locale).Codes, Split(codes));
        EXPECT_EQ(InstalledLanguages(locale).Names, Split(names));
        if (germanNames) {
            UseLanguage(QStringLiteral("de"));
            EXPECT_EQ(InstalledLanguages(locale).Names, Split(germanNames));
        }
    }
    TempFolder none;
    EXPECT_EQ(InstalledLanguages(none.File(QStringLiteral("locale"))).Codes, Split("en"));
}
