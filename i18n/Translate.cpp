#include "i18n/Translate.h"

#include "i18n/QtTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstring>
#include <libintl.h>
#include <memory>

namespace {

constexpr const char* DefaultDomain = "default";
constexpr const char* LanguagesDomain = "languages";

struct Engine {
    QString LocaleFolder;
    QString Language;
    QtTextsTranslator* QtTexts = nullptr;
    QTranslator* QtBase = nullptr; // Qt's own German, French, ... of the current language
};

Engine& State() {
    static Engine engine;
    return engine;
}

// glibc's gettext ignores LANGUAGE while the messages locale is "C", which is what
// LANG=C and LANG=<a locale that is not installed> leave us with.
void LeaveTheCMessagesLocale() {
#ifdef LC_MESSAGES
    const char* current = std::setlocale(LC_MESSAGES, nullptr);
    if (current && std::strcmp(current, "C") != 0 && std::strcmp(current, "POSIX") != 0)
        return;
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8", "en_US.utf8"})
        if (std::setlocale(LC_MESSAGES, name))
            return;
#endif
}

// A code reaches LANGUAGE, and through it a path: letters, digits, "_", "-" and "@"
// only, so that a settings file cannot point the lookup out of the locale folder.
bool IsPlainCode(const QString& code) {
    if (code.isEmpty())
        return false;
    for (const QChar c : code)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_') &&
            c != QLatin1Char('-') && c != QLatin1Char('@'))
            return false;
    return true;
}

// The folder of the locale folder whose name is code without regard to case (the menu
// offers lower-case codes, LANG gives de_DE), or code itself when there is none.
QString FolderFor(const QString& code) {
    if (State().LocaleFolder.isEmpty())
        return code;
    const QStringList entries =
        QDir(State().LocaleFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(code, Qt::CaseInsensitive) == 0)
            return entry;
    return code;
}

// Qt's own catalogue of its texts (file dialogs, the edit box's menu, key names such as
// "Del" and "Ctrl") in the language, from the system's Qt translations. Our catalogue's
// texts for Qt's buttons stay first: the translator installed last is asked first.
void UseQtsOwnTexts(const QString& code) {
    Engine& engine = State();
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    if (engine.QtBase) {
        QCoreApplication::removeTranslator(engine.QtBase);
        delete engine.QtBase;
        engine.QtBase = nullptr;
    }
    // Only with a catalogue of ours: a language we lack stays English throughout.
    const QString language = code.section(QLatin1Char('_'), 0, 0);
    auto hasCatalogue = [&engine](const QString& folder) {
        return !engine.LocaleFolder.isEmpty() &&
               QFile::exists(engine.LocaleFolder + u'/' + FolderFor(folder) +
                             QStringLiteral("/LC_MESSAGES/default.mo"));
    };
    if (IsPlainCode(code) && (hasCatalogue(code) || hasCatalogue(language))) {
        auto translator = std::make_unique<QTranslator>(application);
        const QLocale locale(code);
        if (locale.language() != QLocale::C &&
            translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            engine.QtBase = translator.release();
            QCoreApplication::installTranslator(engine.QtBase);
        }
    }
    if (engine.QtTexts) {
        QCoreApplication::removeTranslator(engine.QtTexts);
        QCoreApplication::installTranslator(engine.QtTexts);
    }
}

} // namespace

QString Translated(const char* text) {
    // The empty text would give the catalogue's header.
    if (!text || !*text)
        return QString();
    // Catalogues hold UTF-8; without a bound catalogue gettext returns the text itself.
    return QString::fromUtf8(dgettext(DefaultDomain, text));
}

QString TranslatedPlural(const char* singular, const char* plural, unsigned long n) {
    return QString::fromUtf8(dngettext(DefaultDomain, singular, plural, n));
}

QString TranslatedIn(const char* domain, const QString& text) {
    if (text.isEmpty())
        return QString();
    const QByteArray key = text.toUtf8();
    return QString::fromUtf8(dgettext(domain, key.constData()));
}

QString DefaultLanguage() {
    const QString lang = qEnvironmentVariable("LANG");
    if (!lang.isEmpty())
        return lang.section(QLatin1Char('.'), 0, 0);
    return QLocale::system().name().section(QLatin1Char('.'), 0, 0);
}

void InitTranslation(const QString& localeFolder) {
    Engine& engine = State();
    engine.LocaleFolder = localeFolder;
    const QByteArray folder = QFile::encodeName(localeFolder);
    for (const char* domain : {DefaultDomain, LanguagesDomain}) {
        bindtextdomain(domain, folder.constData());
        bind_textdomain_codeset(domain, "UTF-8");
    }
    textdomain(DefaultDomain);
    if (!engine.QtTexts && QCoreApplication::instance()) {
        engine.QtTexts = new QtTextsTranslator(QCoreApplication::instance());
        QCoreApplication::installTranslator(engine.QtTexts);
    }
    engine.Language.clear();
    UseLanguage(DefaultLanguage());
}

void UseLanguage(const QString& code) {
    if (code.isEmpty())
        return;
    State().Language = code;
    QByteArray languages = "C"; // stops the lookup: every text stays English
    if (IsPlainCode(code)) {
        const QString base = code.section(QLatin1Char('@'), 0, 0);
        const QString language = base.section(QLatin1Char('_'), 0, 0);
        QString list = FolderFor(code);
        if (language != code)
            list += QLatin1Char(':') + FolderFor(language);
        languages = list.toUtf8();
    }
    LeaveTheCMessagesLocale();
    qputenv("LANGUAGE", languages);
    // Naming the current domain again is gettext's signal that the environment changed:
    // it drops the translations it has cached.
    textdomain(DefaultDomain);
    UseQtsOwnTexts(code);
}

QString CurrentLanguage() {
    return State().Language;
}

QString LocaleFolder() {
    return State().LocaleFolder;
}

QString CatalogueHeaderField(const QString& header, const QString& field) {
    const QStringList lines = header.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed().compare(field, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return QString();
}

QString CurrentTranslator() {
    // The header is the translation of the empty text.
    static const char empty[] = "";
    const char* header = dgettext(DefaultDomain, empty);
    if (header == empty)
        return QString();
    return CatalogueHeaderField(QString::fromUtf8(header), QStringLiteral("Last-Translator"));
}
