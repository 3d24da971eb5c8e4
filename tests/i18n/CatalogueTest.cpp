// The German catalogue against the sources as they are now, with gettext's own tools:
// every marked text translated, every translation keeping the %d and %s of its text; and
// every catalogue of language names naming every installed language.
#include "I18nTestSupport.h"
#include "SourceTexts.h"
#include "i18n/InstalledLanguages.h"
#include "i18n/Translate.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
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

// The scanner itself: what counts as a text shown unmarked, and what does not.
TEST(Catalogues, TheScannerFindsTextsShownWithoutAMark) {
    const std::pair<const char*, const char*> cases[] = {
        // flagged text (empty: nothing), source
        {"Gone.", "void f() { FPrompts.Error(this, QStringLiteral(\"Gone.\")); }"},
        {"", "void f() { FPrompts.Error(this, Translated(\"Gone.\")); }"},
        {"Sure?", "void f() { prompts->Confirm(this, \"Sure?\"); }"},
        {"Title", "void f() { QMessageBox::critical(p, QString::fromLatin1(\"Title\"), t); }"},
        {"", "void f() { box.Error(this, Translated(\"No %s.\").replace(QStringLiteral(\"%s\"), "
             "x)); }"},
        {"", "void f() { FPrompts.Error(this, name + QStringLiteral(\": \") + why); }"},
        {"", "void f() { setWindowTitle(QStringLiteral(\"Brisko - \") + folder); }"},
        {"", "void f() { w->setObjectName(QStringLiteral(\"LWeb\")); }"},
        {"", "// FPrompts.Error(this, QStringLiteral(\"a comment\"));\n"
             "/* setText(\"nor this\") */ #include \"x.h\""},
        {"Please enter:",
         "void f() {\n"
         "  auto ask = [&](const char* prompt, int n) { return Translated(prompt); };\n"
         "  ask(\"Please enter:\", 1);\n}"},
        {"", "void f() {\n"
             "  auto ask = [&](const char* prompt, int n) { return Translated(prompt); };\n"
             "  ask(N_(\"Please enter:\"), 1);\n}"},
        {"Copy", "QAction* Make(QObject* p, const char* caption) { return new "
                 "QAction(Translated(caption), p); }\n"
                 "void g() { Make(this, \"Copy\"); }"},
        {"", "QAction* Make(QObject* p, const char* caption) { return new "
             "QAction(Translated(caption), p); }\n"
             "void g() { Make(this, N_(\"Copy\")); }"},
        {"", "void f() { label->setText(TranslatedPlural(\"%d file\", \"%d files\", n)); }"},
    };
    for (const auto& [flagged, source] : cases) {
        const QList<UnmarkedText> found = FindUnmarkedTexts(QString::fromUtf8(source));
        QStringList texts;
        for (const UnmarkedText& text : found)
            texts << text.Text;
        EXPECT_EQ(texts.join(u'|'), QString::fromUtf8(flagged)) << source;
    }
}

// Every text that a question, a box, a picker, a window title or a control shows is
// marked, so that it reaches the catalogue and is translated.
TEST(Catalogues, EveryTextShownInAPromptBoxOrDialogIsMarked) {
    const QDir root(QStringLiteral(BRISKO_SOURCE_DIR));
    static const QRegularExpression notProgram(
        QStringLiteral("^(build.*|tests|bench|fuzz|\\..*)$"));
    QStringList unmarked;
    int files = 0;
    for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (notProgram.match(folder).hasMatch())
            continue;
        QDirIterator it(root.filePath(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            ++files;
            for (const UnmarkedText& text : FindUnmarkedTexts(QString::fromUtf8(file.readAll())))
                unmarked << root.relativeFilePath(path) + u':' + QString::number(text.Line) +
                                QStringLiteral(": \"") + text.Text + QStringLiteral("\" in ") +
                                text.Call;
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_TRUE(unmarked.isEmpty())
        << "Shown to the user but not marked with Translated() or N_():\n"
        << unmarked.join(u'\n').toStdString();
}
