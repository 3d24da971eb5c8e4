// The German catalogue against the sources as they are now, with gettext's own tools:
// every marked text translated, every translation keeping the %d and %s of its text; and
// every catalogue of language names naming every installed language.
#include "I18nTestSupport.h"
#include "i18n/InstalledLanguages.h"
#include "i18n/Translate.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Runs a tool; its output, or its errors when it fails.
std::pair<bool, QString> RunTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    const bool ok = tool.waitForFinished(60000) && tool.exitCode() == 0;
    return {ok, QString::fromUtf8(ok ? tool.readAllStandardOutput() : tool.readAllStandardError())};
}

} // namespace

TEST(Catalogues, EveryMarkedTextHasAGermanTranslationThatKeepsItsDirectives) {
    TempFolder work;
    const QString pot = work.File(QStringLiteral("default.pot"));
    const QString merged = work.File(QStringLiteral("de.po"));
    // The template as the "pot" target makes it, merged into the German catalogue: the
    // merge takes the c-format marks from the template, whatever the catalogue says.
    const auto [extracted, extractErrors] =
        RunTool(QStringLiteral(BRISKO_CMAKE),
                {QStringLiteral("-DSOURCE_DIR=" BRISKO_SOURCE_DIR),
                 QStringLiteral("-DXGETTEXT=" BRISKO_GETTEXT_BIN "/xgettext"),
                 QStringLiteral("-DOUTPUT=") + pot, QStringLiteral("-P"),
                 QStringLiteral(BRISKO_SOURCE_DIR "/locale/ExtractTemplate.cmake")});
    ASSERT_TRUE(extracted) << extractErrors.toStdString();
    const auto [ok, mergeErrors] =
        RunTool(QStringLiteral(BRISKO_GETTEXT_BIN "/msgmerge"),
                {QStringLiteral("--quiet"), QStringLiteral("--no-fuzzy-matching"),
                 QStringLiteral("--output-file=") + merged,
                 QStringLiteral(BRISKO_SOURCE_DIR "/locale/de/default.po"), pot});
    ASSERT_TRUE(ok) << mergeErrors.toStdString();

    for (const char* kind : {"--untranslated", "--only-fuzzy"}) {
        const auto [listed, missing] =
            RunTool(QStringLiteral(BRISKO_GETTEXT_BIN "/msgattrib"),
                    {QString::fromLatin1(kind), QStringLiteral("--no-obsolete"), merged});
        ASSERT_TRUE(listed) << missing.toStdString();
        EXPECT_TRUE(missing.isEmpty())
            << "Without a German translation in locale/de/default.po (build the target "
               "update-po, then translate these):\n"
            << missing.toStdString();
    }
    const auto [formatsKept, lost] = RunTool(
        QStringLiteral(BRISKO_GETTEXT_BIN "/msgfmt"),
        {QStringLiteral("--check-format"), QStringLiteral("--output-file=/dev/null"), merged});
    // msgfmt names lines of the merged file, which goes with the test: show them.
    QString entries;
    QFile mergedFile(merged);
    mergedFile.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromUtf8(mergedFile.readAll()).split(QLatin1Char('\n'));
    auto at = QRegularExpression(QStringLiteral("de\\.po:(\\d+):")).globalMatch(lost);
    while (at.hasNext())
        entries += lines.mid(at.next().captured(1).toInt() - 2, 2).join(QLatin1Char('\n')) + u'\n';
    EXPECT_TRUE(formatsKept) << "German translations that lose or change a %d or %s:\n"
                             << entries.toStdString() << lost.toStdString();
}

TEST(Catalogues, EveryCatalogueOfLanguageNamesNamesEveryInstalledLanguage) {
    const QString locale = QStringLiteral(BRISKO_LOCALE_DIR);
    SetLanguageEnvironment("C");
    InitTranslation(locale);
    const QStringList codes = InstalledLanguages(locale).Codes + QStringList{QStringLiteral("xx")};
    for (const QString& language : QDir(locale).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!QFile::exists(locale + QLatin1Char('/') + language +
                           QStringLiteral("/LC_MESSAGES/languages.mo")))
            continue;
        UseLanguage(language);
        for (const QString& code : codes) {
            QString name = LanguageDisplayName(code);
            if (name.isEmpty())
                name = QStringLiteral("<unknown>");
            EXPECT_NE(TranslatedIn("languages", name), name)
                << language.toStdString() << " lacks the name of " << code.toStdString();
        }
    }
}
