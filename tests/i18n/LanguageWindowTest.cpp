// The program's windows in the language of the settings, the environment and the
// "Language" menu, with the catalogues the build made. A German window is compared with
// an English one text by text: a text the same in both escaped translation, unless the
// German catalogue says it the same way.
#include "I18nTestSupport.h"
#include "common/IniFile.h"
#include "core/FileListModel.h"
#include "gui/DesktopPrompts.h"
#include "gui/FakePrompts.h"
#include "gui/TFBrowser.h"
#include "i18n/Translate.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <libintl.h>
#include <map>
#include <set>

namespace {

// A program folder with the built catalogues and, when given, a Language setting.
struct Program {
    TempFolder folder;
    FakePrompts prompts;

    Program(const QByteArray& lang, const std::optional<QByteArray>& language) {
        SetLanguageEnvironment(lang);
        InitTranslation(CopyBuiltCatalogues(folder.Path()));
        if (language)
            folder.Write(QStringLiteral("Brisko.ini"), "[Brisko]\nLanguage=" + *language + "\n");
    }
    std::unique_ptr<TFBrowser> Start() {
        auto window =
            std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(folder.Path()), prompts);
        window->show();
        return window;
    }
    QString WrittenLanguage() const {
        IniFile ini(folder.File(QStringLiteral("Brisko.ini")));
        ini.Load();
        return ini.ReadString(QStringLiteral("Brisko"), QStringLiteral("Language"),
                              QStringLiteral("<absent>"));
    }
};

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions)
        texts << action->text();
    return texts;
}

// Every text a user reads in a window and the controls it owns, by a path that is the
// same in every language; skipped objects (data, the language menu's items) left out.
using TextMap = std::map<QString, QString>;

void Collect(TextMap& texts, QObject* object, const QString& path,
             const std::set<const QObject*>& skipped) {
    if (skipped.count(object) || qobject_cast<QLineEdit*>(object))
        return;
    QStringList own;
    for (const char* property : {"windowTitle", "toolTip", "text", "title"})
        own << object->property(property).toString();
    if (auto* tabs = qobject_cast<QTabWidget*>(object))
        for (int i = 0; i < tabs->count(); ++i)
            own << tabs->tabText(i);
    if (auto* view = qobject_cast<QTreeView*>(object); view && !view->isHeaderHidden())
        for (int c = 0; c < view->model()->columnCount(); ++c)
            own << view->model()->headerData(c, Qt::Horizontal).toString();
    if (auto* tree = qobject_cast<QTreeWidget*>(object))
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            own << tree->topLevelItem(i)->text(0);
    for (int i = 0; i < own.size(); ++i)
        if (!own[i].isEmpty())
            texts[path + u':' + QString::number(i)] = own[i];
    int index = 0;
    for (QObject* child : object->children())
        Collect(texts, child,
                path + u'/' + QString::fromLatin1(child->metaObject()->className()) +
                    QString::number(index++),
                skipped);
}

// The main window's texts and those of each dialog its commands open, the Copy/Move
// dialog with a listed Palm file selected.
TextMap WindowTexts(Program& program) {
    TextMap texts;
    auto w = program.Start();
    std::set<const QObject*> skipped{w->FolderCombo};
    for (QAction* item : w->LanguageMenu->actions())
        skipped.insert(item);
    Collect(texts, w.get(), QStringLiteral("TFBrowser"), skipped);
    for (QAction* command : {w->TBXItem3, w->TBXItem4, w->MICopy}) {
        if (command == w->MICopy) { // after the Creator IDs, whose rows would be data
            PalmFileBuilder palm;
            program.folder.Write(QStringLiteral("files/Memo.pdb"), palm.Bytes());
            w->ListFolder(program.folder.File(QStringLiteral("files")));
            w->SelectAll();
        }
        program.prompts.DialogAnswers.push_back([&](QDialog* dialog) {
            Collect(texts, dialog, QString::fromLatin1(dialog->metaObject()->className()), {});
            return int(QDialog::Rejected);
        });
        command->trigger();
        program.prompts.DialogAnswers.clear();
    }
    return texts;
}

} // namespace

TEST(LanguageWindow, TheSettingOrElseTheEnvironmentChoosesTheLanguage) {
    const std::tuple<QByteArray, std::optional<QByteArray>, const char*, QString> cases[] = {
        // LANG, the Language setting (nullopt: no such key), the caption of the Files
        // menu, the setting after shut-down
        {"C", QByteArray("de"), "&Dateien", QStringLiteral("de")},
        {"de_DE.UTF-8", std::nullopt, "&Dateien", QStringLiteral("de_DE")},
        {"de_DE.UTF-8", QByteArray(""), "&Dateien", QString()},
        {"de_DE.UTF-8", QByteArray("en"), "&Files", QStringLiteral("en")},
        {"C", QByteArray("xx"), "&Files", QStringLiteral("xx")},
    };
    for (const auto& [lang, language, files, written] : cases) {
        SCOPED_TRACE(lang.toStdString() + " / " + language.value_or("<absent>").toStdString());
        Program program(lang, language);
        auto w = program.Start();
        EXPECT_EQ(Texts(w->menuBar()->actions()).value(0), QString::fromUtf8(files));
        w->close();
        EXPECT_EQ(program.WrittenLanguage(), written);
    }
}

TEST(LanguageWindow, TheGermanWindowsHaveNoEnglishLeft) {
    Program english("C", QByteArray("en"));
    const TextMap englishTexts = WindowTexts(english);
    Program german("C", QByteArray("de"));
    const TextMap germanTexts = WindowTexts(german);
    ASSERT_GT(germanTexts.size(), 60u);
    QStringList untranslated;
    for (const auto& [path, text] : germanTexts) {
        const auto other = englishTexts.find(path);
        const bool words =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
        if (other == englishTexts.end() || other->second != text || !words)
            continue;
        // The same in both: fine only where the catalogue translates it so (or for the
        // name); a text the catalogue translates otherwise escaped the lookup.
        const QByteArray id = text.toUtf8();
        const char* translation = dgettext("default", id.constData());
        if ((translation == id.constData() || QString::fromUtf8(translation) != text) &&
            text != QLatin1String("Brisko"))
            untranslated << path + QStringLiteral(" = ") + text;
    }
    EXPECT_TRUE(untranslated.isEmpty())
        << "English in the German windows (mark the text for translation and translate it):\n"
        << untranslated.join(QLatin1Char('\n')).toStdString();
}

// The menu names the languages in the start-up language; a choice is kept for the next
// start and changes nothing now. The desktop's message boxes get their buttons from the
// catalogue as well.
TEST(LanguageWindow, TheLanguageMenuStoresTheChoiceForTheNextStart) {
    Program program("de_DE.UTF-8", std::nullopt);
    auto w = program.Start();
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            box->reject();
        }
    });
    DesktopPrompts().AskOverwrite(w.get(), QStringLiteral("?"));
    buttons.sort();
    EXPECT_EQ(buttons, QString::fromUtf8("&Ja|&Nein|Ja für &alle|N&ein für alle").split(u'|'));

    const QStringList captions{QStringLiteral("Deutsch (de)"), QStringLiteral("Englisch (en)")};
    EXPECT_EQ(Texts(w->LanguageMenu->actions()), captions);
    w->LanguageMenu->actions().at(1)->trigger();
    EXPECT_EQ(
        program.prompts.Messages,
        QStringList{QStringLiteral("Starten Sie Brisko neu, um die neue Sprache zu verwenden.")});
    EXPECT_EQ(Texts(w->menuBar()->actions()).value(0), QStringLiteral("&Dateien"));
    w->close();
    EXPECT_EQ(program.WrittenLanguage(), QStringLiteral("en"));

    w = program.Start();
    EXPECT_EQ(Texts(w->menuBar()->actions()).value(0), QStringLiteral("&Files"));
    EXPECT_EQ(Texts(w->LanguageMenu->actions()), captions);
}
