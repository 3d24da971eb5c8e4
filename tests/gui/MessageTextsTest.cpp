// File names that look like placeholders ("%d", "%s", "%e", "%1") appear in the window's
// questions and messages as they are, never filled in themselves.
#include "WindowFixture.h"
#include "dialogs/TFDialog.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

class MessageTexts : public WindowFixture {
protected:
    void AnswerTarget(const QString& folder) {
        prompts.DialogAnswers = {[folder](QDialog* dialog) {
            auto* d = qobject_cast<TFDialog*>(dialog);
            d->EPfad->setText(folder);
            d->BOK->setEnabled(true);
            d->BOK->click();
            return dialog->result();
        }};
    }
};

} // namespace

TEST_F(MessageTexts, NamesHoldingPlaceholdersAreShownAsTheyAre) {
    const QStringList names = {QStringLiteral("100%d %s.pdb"), QStringLiteral("%1%2 %e.prc"),
                               QStringLiteral("%d%d.pdb"), QStringLiteral("50%.pdb")};
    const QString target = files.MakeFolder(QStringLiteral("target %s%e%1"));
    for (const QString& name : names) {
        files.Write(name, PalmBytes("abcd"));
        files.Write(QStringLiteral("target %s%e%1/") + name, "old");
    }
    const QString archive = files.Write(QStringLiteral("a%e%s%d%1.zip"), "not an archive");
    Start(files.Path());

    struct Case {
        const char* what;
        std::function<void()> act;
        std::function<QStringList()> shown;
        QStringList expected;
    };
    QStringList overwriteQuestions;
    for (const QString& name : names)
        overwriteQuestions << QStringLiteral("File \"") + name +
                                  QStringLiteral("\" already exists. Overwrite?");
    const QString missing = files.File(QStringLiteral("gone %s %e"));
    const Case cases[] = {
        {"the overwrite question",
         [&] {
             Select(names);
             prompts.OverwriteAnswers = {OverwriteAnswer::No, OverwriteAnswer::No,
                                         OverwriteAnswer::No, OverwriteAnswer::No};
             AnswerTarget(target);
             w->MICopy->trigger();
         },
         [&] {
             QStringList sorted = prompts.Questions;
             sorted.sort();
             return sorted;
         },
         [&] {
             QStringList sorted = overwriteQuestions;
             sorted.sort();
             return sorted;
         }()},
        {"the trash question",
         [&] {
             Select({names[1]});
             w->MIDelete->trigger(); // answered No
         },
         [&] { return prompts.Questions; },
         {QStringLiteral("Move \"%1%2 %e.prc\" to trash?")}},
        {"a target folder that does not exist",
         [&] {
             Select({names[0]});
             AnswerTarget(missing);
             w->MICopy->trigger();
         },
         [&] { return prompts.Messages; },
         {QStringLiteral("The folder ") + missing + QStringLiteral(" does not exist.")}},
        {"an archive that cannot be opened",
         [&] { DoubleClickRow(QStringLiteral("a%e%s%d%1.zip")); },
         [&] { return prompts.Messages; },
         {archive + QStringLiteral(" cannot be opened as a ZIP archive: Not a zip archive")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.Questions.clear();
        prompts.Messages.clear();
        c.act();
        EXPECT_EQ(c.shown(), c.expected);
    }
}
