// The languages offered in the "Language" menu: the catalogues beside the program, named
// in the current language through the domain "languages".
#pragma once

#include <QString>
#include <QStringList>

// Two parallel lists: Names[i] is the display name of Codes[i].
struct TGTLanguageList {
    QStringList Names;
    QStringList Codes;
};

// The English name of a language code, the message identifier of the domain
// "languages": "German" for de, "German (Austria)" for de_AT (case does not matter),
// empty when no locale has that language (and country). Names come from Qt's locale
// data, since Linux has no list of installed locales with display names.
QString LanguageDisplayName(const QString& code);

// Every folder of localeFolder that holds LC_MESSAGES/default.mo, in name order without
// regard to case (as the Windows file system lists them; Linux lists in no useful
// order), each code in lower case and once only; then "en" when no code is exactly
// "en", so that English is always offered. A code without a name is "<unknown>"; every
// name passes through the domain "languages".
TGTLanguageList InstalledLanguages(const QString& localeFolder);
