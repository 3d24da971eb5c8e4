#include "i18n/Translate.h"

#include <libintl.h>

QString Translated(const char* text) {
    // Catalogues hold UTF-8; without a bound catalogue gettext returns the text itself.
    return QString::fromUtf8(dgettext("default", text));
}

#include <QLocale>

QString DefaultLanguage() {
    const QString lang = qEnvironmentVariable("LANG");
    if (!lang.isEmpty())
        return lang.section(QLatin1Char('.'), 0, 0);
    return QLocale::system().name().section(QLatin1Char('.'), 0, 0);
}
