#include "i18n/InstalledLanguages.h"

#include "i18n/Translate.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

QString LanguageDisplayName(const QString& code) {
    const QString languageCode = code.section(QLatin1Char('_'), 0, 0).toLower();
    const QString territoryCode = code.section(QLatin1Char('_'), 1).toUpper();
    if (languageCode.isEmpty())
        return QString();
    const QLocale::Language language = QLocale::codeToLanguage(languageCode);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return QString();
    const QString name = QLocale::languageToString(language);
    if (!code.contains(QLatin1Char('_')))
        return name;
    const QLocale::Territory territory = QLocale::codeToTerritory(territoryCode);
    // Only pairs that some locale has, as a table of the installed locales would give.
    if (territory == QLocale::AnyTerritory ||
        QLocale::matchingLocales(language, QLocale::AnyScript, territory).isEmpty())
        return QString();
    return name + QStringLiteral(" (") + QLocale::territoryToString(territory) + QLatin1Char(')');
}

TGTLanguageList InstalledLanguages(const QString& localeFolder) {
    TGTLanguageList list;
    const QFileInfoList entries =
        QDir(localeFolder)
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (!QFileInfo(entry.filePath() + QStringLiteral("/LC_MESSAGES/default.mo")).isFile())
            continue;
        const QString code = entry.fileName().toLower();
        if (!list.Codes.contains(code))
            list.Codes << code;
    }
    if (!list.Codes.contains(QStringLiteral("en")))
        list.Codes << QStringLiteral("en");
    for (const QString& code : std::as_const(list.Codes)) {
        const QString name = LanguageDisplayName(code);
        list.Names << TranslatedIn("languages",
                                   name.isEmpty() ? QStringLiteral("<unknown>") : name);
    }
    return list;
}
