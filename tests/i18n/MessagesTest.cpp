// The messages of the settings file, the catalogue file and the safe file write, the
// archive's size limits, and the counted texts, in German: each comes from the catalogue,
// with its file named.
#include "I18nTestSupport.h"
#include "common/IniFile.h"
#include "creators/CreatorCatalogue.h"
#include "i18n/Translate.h"
#include "platform/AtomicFile.h"
#include "platform/WriteError.h"
#include "support/TempFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The message of what fails: the error text, or the text of the write error thrown.
QString Message(const std::function<QString()>& fail) {
    try {
        return fail();
    } catch (const EWriteError& error) {
        return QString::fromUtf8(error.what());
    }
}

} // namespace

TEST(Messages, TheSettingsAndCatalogueMessagesAreTranslated) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    UseLanguage(QStringLiteral("de"));
    const QString folder = program.MakeFolder(QStringLiteral("a folder.ini"));
    const QString readOnly = program.Write(QStringLiteral("kept.ini"), "[Brisko]\n");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    const std::pair<std::function<QString()>, QString> cases[] = {
        {[&] {
             IniFile ini(folder);
             ini.Load();
             return ini.ErrorText();
         },
         folder + QStringLiteral(" kann nicht gelesen werden: es ist ein Ordner")},
        {[&] {
             IniFile ini(folder);
             ini.Load();
             ini.Save();
             return QString();
         },
         QStringLiteral("In ") + folder +
             QStringLiteral(" kann nicht geschrieben werden: die Datei ließ sich nicht lesen, und "
                            "sie zu schreiben würde verlieren, was sie enthält")},
        {[&] {
             WriteFileAtomically(readOnly, "x");
             return QString();
         },
         QStringLiteral("In ") + readOnly +
             QStringLiteral(" kann nicht geschrieben werden: die Datei ist schreibgeschützt")},
        {[&] {
             WriteFileAtomically(folder, "x");
             return QString();
         },
         QStringLiteral("In ") + folder +
             QStringLiteral(" kann nicht geschrieben werden: es ist ein Ordner")},
        {[&] {
             ListeDerLinks catalogue;
             catalogue.LoadCreatorIDs(folder);
             return catalogue.ErrorText();
         },
         folder + QStringLiteral(" kann nicht gelesen werden: ")},
        {[&] {
             ListeDerLinks catalogue;
             catalogue.SaveCreatorIDs(folder);
             return QString();
         },
         QStringLiteral("In ") + folder +
             QStringLiteral(" kann nicht geschrieben werden: ihr jetziger Inhalt lässt sich nicht "
                            "lesen (")},
    };
    for (const auto& [fail, german] : cases) {
        const QString message = Message(fail);
        EXPECT_TRUE(message.startsWith(german))
            << message.toStdString() << "\n  does not start with\n"
            << german.toStdString();
    }
}

// A limit below a MiB is counted in the language's word for bytes; MiB is the same in both.
TEST(Messages, SizeLimitsAreNamedInTheLanguage) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    const std::tuple<const char*, int64_t, const char*> cases[] = {
        {"en", 4096, "4096 bytes"},
        {"de", 4096, "4096 Bytes"},
        {"de", int64_t(256) << 20, "256 MiB"},
    };
    for (const auto& [code, bytes, expected] : cases) {
        UseLanguage(QString::fromLatin1(code));
        EXPECT_EQ(SizeLimitText(bytes), QString::fromUtf8(expected)) << code << ' ' << bytes;
    }
}

// Counted texts take the language's form for the count: German and English have one
// form for 1 and another for every other count, 0 included.
TEST(Messages, CountedTextsTakeTheFormOfTheirCount) {
    TempFolder program;
    SetLanguageEnvironment("C");
    InitTranslation(CopyBuiltCatalogues(program.Path()));
    const char* singular = "%d could not be read; point at the marked row to see why.";
    const char* plural = "%d could not be read; point at a marked row to see why.";
    const std::tuple<const char*, unsigned long, const char*> cases[] = {
        {"en", 1, "%d could not be read; point at the marked row to see why."},
        {"en", 3, "%d could not be read; point at a marked row to see why."},
        {"de", 1,
         "%d konnte nicht gelesen werden; zeigen Sie auf die markierte Zeile, um den "
         "Grund zu sehen."},
        {"de", 0,
         "%d konnten nicht gelesen werden; zeigen Sie auf eine markierte Zeile, um den "
         "Grund zu sehen."},
        {"de", 8,
         "%d konnten nicht gelesen werden; zeigen Sie auf eine markierte Zeile, um den "
         "Grund zu sehen."},
    };
    for (const auto& [code, count, expected] : cases) {
        UseLanguage(QString::fromLatin1(code));
        EXPECT_EQ(TranslatedPlural(singular, plural, count), QString::fromUtf8(expected))
            << code << ' ' << count;
    }
}
