// The Creator IDs, Options and About dialogs, opened from the main window's commands.
#include "FakePrompts.h"
#include "browser/DetailsPanels.h"
#include "browser/FileListModel.h"
#include "browser/TFBrowser.h"
#include "creators/TFInfo.h"
#include "dialogs/TFOptionen.h"
#include "dialogs/TFUeber.h"
#include "i18n/Translate.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Answer = std::optional<QString>;

QByteArray PalmBytes(const std::string& creator) {
    PalmFileBuilder b;
    b.creator = creator;
    return b.Bytes();
}

// A gettext catalogue whose only entry is its header, the translation of the empty text.
QByteArray CatalogueWithHeader(const QByteArray& header) {
    QByteArray mo;
    for (quint32 word :
         {0x950412deu, 0u, 1u, 28u, 36u, 0u, 44u, 0u, 44u, quint32(header.size()), 45u})
        for (int shift = 0; shift < 32; shift += 8)
            mo.append(char((word >> shift) & 0xff));
    return mo + '\0' + header + '\0';
}

// Runs check on the dialog that command opens, as the user's dealings with it while it is
// shown. False when no such dialog opened.
template <typename Dialog>
bool WhileOpen(FakePrompts& prompts, QAction* command, const std::function<void(Dialog&)>& check) {
    bool seen = false;
    prompts.DialogAnswers.push_back([&](QDialog* shown) {
        auto* dialog = qobject_cast<Dialog*>(shown);
        if (!dialog)
            return int(QDialog::Rejected);
        seen = true;
        check(*dialog);
        return dialog->result();
    });
    command->trigger();
    prompts.DialogAnswers.clear(); // an answer left over would outlive seen
    return seen;
}

QStringList Column(TFInfo& d, int column) {
    QStringList texts;
    for (int i = 0; i < d.LVIDs->topLevelItemCount(); ++i)
        texts << d.LVIDs->topLevelItem(i)->text(column);
    return texts;
}

QTreeWidgetItem* Row(TFInfo& d, const QString& creatorID) {
    const auto found = d.LVIDs->findItems(creatorID, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList Cells(const QTreeWidgetItem* row) {
    return {row->text(0), row->text(1), row->text(2), row->text(3)};
}

void Click(TFInfo& d, QTreeWidgetItem* row) {
    QTest::mouseClick(d.LVIDs->viewport(), Qt::LeftButton, {},
                      d.LVIDs->visualItemRect(row).center());
}

void ClickHeader(TFInfo& d, int column) {
    QHeaderView* header = d.LVIDs->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
}

class Dialogs : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    FakePrompts prompts;

    std::unique_ptr<TFBrowser> Start(const QString& startFolder = {}) {
        auto window = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()),
                                                  prompts, startFolder);
        window->show();
        return window;
    }
    void WriteCatalogue(const QByteArray& text) const {
        program.Write(QStringLiteral("CreatorIDs.ini"), text);
    }
    static QStringList Names(TFBrowser& w) {
        QStringList names;
        for (int row = 0; row < w.FileModel().rowCount(); ++row)
            names << w.FileModel().index(row, 0).data().toString();
        return names;
    }
};

} // namespace

TEST_F(Dialogs, EditAsksThreeBoxesAndACancelKeepsThatText) {
    WriteCatalogue("[memo]\r\nProgram=Memo Pad\r\nDescription=Notes\r\nURL=https://old\r\n");
    auto w = Start();
    const QString p = QStringLiteral("P"), d = QStringLiteral("D"), u = QStringLiteral("U");
    const Answer cancel;
    const QString memoPad = QStringLiteral("Memo Pad"), notes = QStringLiteral("Notes"),
                  old = QStringLiteral("https://old");
    const struct {
        std::array<Answer, 3> answers;
        QStringList expected;
    } cases[] = {
        {{p, d, u}, {p, d, u}},
        {{p, cancel, cancel}, {p, notes, old}},
        {{cancel, d, cancel}, {memoPad, d, old}},
        {{cancel, cancel, u}, {memoPad, notes, u}},
        {{cancel, cancel, cancel}, {memoPad, notes, old}},
        {{QString(), QString(), QString()}, {QString(), QString(), QString()}},
    };
    bool byDoubleClick = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(QLatin1Char('|')).toStdString());
        w->Catalogue().UpdateLink("memo", "Memo Pad", "Notes", "https://old", 0);
        prompts.TextQuestions.clear();
        prompts.TextAnswers.assign(c.answers.begin(), c.answers.end());
        byDoubleClick = !byDoubleClick;
        ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& dialog) {
            QTreeWidgetItem* row = Row(dialog, QStringLiteral("memo"));
            Click(dialog, row);
            if (byDoubleClick)
                QTest::mouseDClick(dialog.LVIDs->viewport(), Qt::LeftButton, {},
                                   dialog.LVIDs->visualItemRect(row).center());
            else
                dialog.SBEdit->click();
            EXPECT_EQ(Cells(row).mid(1), c.expected);
        }));
        QStringList asked;
        for (const auto& q : prompts.TextQuestions)
            asked << q.Caption << q.Prompt << q.Initial;
        EXPECT_EQ(asked,
                  (QStringList{QStringLiteral("Program (memo)"),
                               QStringLiteral("Please enter the program name:"),
                               QStringLiteral("Memo Pad"), QStringLiteral("Description (memo)"),
                               QStringLiteral("Please enter the description:"),
                               QStringLiteral("Notes"), QStringLiteral("URL (memo)"),
                               QStringLiteral("Please enter the programs URL:"),
                               QStringLiteral("https://old")}))
            << "all three boxes, also after a Cancel";
        const TLinks* entry = w->Catalogue().LinkAt(0);
        EXPECT_EQ((QStringList{QString::fromStdString(entry->Program),
                               QString::fromStdString(entry->Description),
                               QString::fromStdString(entry->URL)}),
                  c.expected);
    }
}

TEST_F(Dialogs, AnEditedEntryShowsWhenReopenedInTheGeneralPanelAndInTheFile) {
    files.Write(QStringLiteral("addr.pdb"), PalmBytes("addr"));
    auto w = Start(files.Path()); // the listing adds addr with empty texts
    prompts.TextAnswers = {QStringLiteral("Address Book"), QStringLiteral("Contacts"),
                           QStringLiteral("https://a")};
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        EXPECT_EQ(Cells(Row(d, QStringLiteral("addr"))),
                  (QStringList{QStringLiteral("addr"), {}, {}, {}}));
        d.SBEdit->click(); // the only row starts selected
    }));
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        EXPECT_EQ(Cells(Row(d, QStringLiteral("addr"))),
                  (QStringList{QStringLiteral("addr"), QStringLiteral("Address Book"),
                               QStringLiteral("Contacts"), QStringLiteral("https://a")}));
    }));
    QTreeView* list = w->FileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(w->FileModel().index(0, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(w->General->tbxlTitle->text(), QStringLiteral("Address Book"));
    EXPECT_EQ(w->General->tbxlFileInfo->text(), QStringLiteral("Contacts"));

    w->close();
    QFile file(program.File(QStringLiteral("CreatorIDs.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[addr]\r\nURL=https://a\r\nProgram=Address Book\r\n"
                                         "Description=Contacts\r\n\r\n"));
}

TEST_F(Dialogs, ResetEmptiesTheSelectedEntryWithoutAQuestion) {
    WriteCatalogue("[memo]\r\nProgram=Memo Pad\r\nURL=https://m\r\n[todo]\r\nProgram=To Do\r\n");
    auto w = Start();
    const QStringList empty{QStringLiteral("memo"), {}, {}, {}};
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        Click(d, Row(d, QStringLiteral("memo")));
        d.SBReset->click();
        EXPECT_EQ(Cells(Row(d, QStringLiteral("memo"))), empty);
    }));
    EXPECT_TRUE(prompts.Questions.isEmpty() && prompts.TextQuestions.isEmpty());
    EXPECT_EQ(w->Catalogue().LinkAt(0)->Program + w->Catalogue().LinkAt(0)->URL, "");
    EXPECT_EQ(w->Catalogue().LinkAt(1)->Program, "To Do");
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        EXPECT_EQ(Cells(Row(d, QStringLiteral("memo"))), empty);
    }));
}

TEST_F(Dialogs, WithoutASelectedRowEditAndResetDoNothing) {
    for (const bool withEntries : {false, true}) {
        SCOPED_TRACE(withEntries ? "rows, none selected" : "empty catalogue");
        if (withEntries)
            WriteCatalogue("[memo]\r\nProgram=Memo Pad\r\n");
        auto w = Start();
        ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
            EXPECT_EQ(d.LVIDs->topLevelItemCount(), withEntries ? 1 : 0);
            d.LVIDs->clearSelection(); // Ctrl+Space on the row that starts selected
            EXPECT_FALSE(d.SBEdit->isEnabled() || d.SBReset->isEnabled());
            d.SBEditClick();
            d.SBResetClick();
            QTest::keyClick(d.LVIDs, Qt::Key_Return);
        }));
        EXPECT_TRUE(prompts.TextQuestions.isEmpty());
        EXPECT_EQ(w->Catalogue().LinkCount() ? w->Catalogue().LinkAt(0)->Program : "Memo Pad",
                  "Memo Pad");
    }
}

TEST_F(Dialogs, TwoRowsOfOneCreatorIdChangeTheLaterEntry) {
    auto w = Start();
    w->Catalogue().AddLink({"dupe", "First", "", ""});
    w->Catalogue().AddLink({"dupe", "Second", "", ""});
    prompts.TextAnswers = {QStringLiteral("Changed")};
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        ASSERT_EQ(Column(d, 1), (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
        d.SBEdit->click(); // on the top row
        EXPECT_EQ(Column(d, 1), (QStringList{QStringLiteral("Changed"), QStringLiteral("Second")}))
            << "the selected row shows the change";
    }));
    EXPECT_EQ(prompts.TextQuestions.value(0).Initial, QStringLiteral("Second"));
    EXPECT_EQ(w->Catalogue().LinkAt(0)->Program, "First");
    EXPECT_EQ(w->Catalogue().LinkAt(1)->Program, "Changed");
}

TEST_F(Dialogs, HeaderClicksSortByTheCellOrderAndKeepTheSelection) {
    auto w = Start();
    for (const auto& [creator, name] :
         {std::pair{"eeee", ""}, {"bbbb", "9"}, {"aaaa", "10"}, {"dddd", "xyz"}, {"cccc", "abc"}})
        w->Catalogue().AddLink({creator, name, "", ""});
    QStringList byCreator{QStringLiteral("aaaa"), QStringLiteral("bbbb"), QStringLiteral("cccc"),
                          QStringLiteral("dddd"), QStringLiteral("eeee")};
    QStringList byProgram{QString(), QStringLiteral("9"), QStringLiteral("10"),
                          QStringLiteral("abc"), QStringLiteral("xyz")};
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        EXPECT_EQ(Column(d, 0), byCreator) << "opened sorted by creator ID";
        Click(d, Row(d, QStringLiteral("cccc")));
        ClickHeader(d, 1);
        EXPECT_EQ(Column(d, 1), byProgram) << "empty, numbers by value, then text";
        ClickHeader(d, 1);
        std::reverse(byProgram.begin(), byProgram.end());
        EXPECT_EQ(Column(d, 1), byProgram);
        ClickHeader(d, 0);
        EXPECT_EQ(Column(d, 0), byCreator) << "another column starts ascending";
        ClickHeader(d, 0);
        std::reverse(byCreator.begin(), byCreator.end());
        EXPECT_EQ(Column(d, 0), byCreator);
        EXPECT_EQ(d.LVIDs->selectedItems().value(0), Row(d, QStringLiteral("cccc")));
    }));
}

TEST_F(Dialogs, EditByKeyboardAndEntriesKeepTheirBytes) {
    // A creator ID in the Palm character set, and texts in Windows-1252, which is no UTF-8:
    // no byte may change by passing through the boxes unedited.
    WriteCatalogue("[Caf\xe9]\r\nProgram=Tr\xe9sor\r\nDescription=\xe9t\xe9\r\n");
    auto w = Start();
    // Cancel; OK on the text as shown; a new address.
    prompts.TextAnswers = {std::nullopt, QString::fromStdString("\xe9t\xe9"),
                           QStringLiteral("https://c")};
    ASSERT_TRUE(WhileOpen<TFInfo>(prompts, w->TBXItem4, [&](TFInfo& d) {
        QTreeWidgetItem* row = Row(d, QStringLiteral("Café"));
        ASSERT_TRUE(row && row->isSelected()) << "the first row starts selected";
        QTest::keyClick(d.LVIDs, Qt::Key_Return);
        EXPECT_EQ(row->text(3), QStringLiteral("https://c"));
        QTest::keyClick(d.LVIDs, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_EQ(prompts.TextQuestions.value(0).Caption, QStringLiteral("Program (Café)"));
    const TLinks* entry = w->Catalogue().LinkAt(0);
    EXPECT_EQ(entry->CreatorID + '|' + entry->Program + '|' + entry->Description + '|' + entry->URL,
              "Caf\xe9|Tr\xe9sor|\xe9t\xe9|https://c");
}

TEST_F(Dialogs, OptionsChangeNothingUnlessOkButListAgain) {
    const QString tool = files.Write(QStringLiteral("tools/Instapp.exe"), "MZ");
    const QString palm = files.MakeFolder(QStringLiteral("palm"));
    auto w = Start(palm);
    w->Settings().InstallTool = tool;
    w->Settings().StartPath = files.Path();
    w->Settings().ShowZIP = false;
    const BrowserSettings before = w->Settings();
    for (const bool byEscape : {false, true}) {
        const QString name = byEscape ? QStringLiteral("e.pdb") : QStringLiteral("c.pdb");
        files.Write(QStringLiteral("palm/") + name, PalmBytes("late")); // appears on listing
        prompts.PickedFiles = {files.File(QStringLiteral("other.exe"))};
        prompts.PickedFolders = {files.Path()};
        ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [&](TFOptionen& d) {
            EXPECT_EQ(d.EInstallieren->text(), tool);
            EXPECT_EQ(d.EStandardPfad->text(), files.Path());
            EXPECT_TRUE(d.RBRememberLastDirectory->isChecked());
            EXPECT_FALSE(d.EStandardPfad->isEnabled() || d.SBBrowse->isEnabled());
            EXPECT_TRUE(d.CBPRC->isChecked() && d.CBPDB->isChecked() && !d.CBZip->isChecked());
            d.SBInstallTool->click();
            d.RBUserDefined->click();
            d.CBPDB->setChecked(false);
            if (byEscape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.BCancel->click();
        }));
        EXPECT_EQ(w->Settings(), before);
        EXPECT_TRUE(Names(*w).contains(name));
    }
}

TEST_F(Dialogs, OptionsOkWritesTheSixSettingsAndTheListAndInstallFollow) {
    const QString tool = files.Write(QStringLiteral("PInstall.exe"), "MZ");
    files.Write(QStringLiteral("a.pdb"), PalmBytes("aaaa"));
    files.Write(QStringLiteral("b.prc"), PalmBytes("bbbb"));
    files.Write(QStringLiteral("c.zip"), "PK");
    auto w = Start(files.Path());
    EXPECT_FALSE(w->MIInstall->isEnabled());
    prompts.PickedFiles = {tool};
    prompts.PickedFolders = {files.Path()};
    ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [&](TFOptionen& d) {
        d.SBInstallTool->click();
        d.RBUserDefined->click();
        d.CBPRC->setChecked(false);
        d.CBZip->setChecked(false);
        d.BOK->click();
    }));
    const BrowserSettings& s = w->Settings();
    EXPECT_EQ(s.InstallTool, tool);
    EXPECT_EQ(s.StartPath, files.Path());
    EXPECT_FALSE(s.RememberLastDirectory || s.ShowPRC || s.ShowZIP);
    EXPECT_TRUE(s.ShowPDB);
    EXPECT_EQ(Names(*w), QStringList{QStringLiteral("a.pdb")});
    EXPECT_TRUE(w->MIInstall->isEnabled());

    ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [&](TFOptionen& d) {
        EXPECT_TRUE(d.RBUserDefined->isChecked() && d.EStandardPfad->isEnabled());
        d.CBPDB->setChecked(false);
        d.BOK->click();
    }));
    EXPECT_TRUE(Names(*w).isEmpty()) << "all three file types off";

    QFile::remove(tool);
    ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [](TFOptionen&) {}));
    EXPECT_FALSE(w->MIInstall->isEnabled()) << "evaluated again after Cancel";
}

TEST_F(Dialogs, UserDefinedWithoutAFolderAndACancelledPickerGoesBack) {
    auto w = Start();
    auto expectRemembering = [](TFOptionen& d) {
        EXPECT_TRUE(d.RBRememberLastDirectory->isChecked());
        EXPECT_FALSE(d.EStandardPfad->isEnabled() || d.SBBrowse->isEnabled());
    };
    prompts.PickedFolders = {QString()}; // cancelled
    ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [&](TFOptionen& d) {
        d.RBUserDefined->click();
        EXPECT_TRUE(prompts.PickedFolders.empty()) << "the folder picker opened";
        expectRemembering(d);
    }));

    // Settings saying "User defined" without a folder: the picker opens as the dialog shows.
    w->Settings().RememberLastDirectory = false;
    prompts.PickedFolders = {QString()};
    ASSERT_TRUE(WhileOpen<TFOptionen>(prompts, w->TBXItem3, [&](TFOptionen& d) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.PickedFolders.empty(); }, 2000));
        expectRemembering(d);
    }));
}

TEST_F(Dialogs, AboutShowsTheVersionOnceAndAWebAddressThatActsAsALink) {
    auto w = Start();
    for (int opening = 0; opening < 2; ++opening)
        ASSERT_TRUE(WhileOpen<TFUeber>(prompts, w->TBXItem2, [&](TFUeber& d) {
            EXPECT_EQ(d.VersionLabel->text(), QStringLiteral("Brisko 0.5.0.0 beta"));
            EXPECT_EQ(d.LTranslationBy->text(), QStringLiteral("Translation by:"));
            EXPECT_EQ(d.LTranslator->text(), QStringLiteral("The Brisko developers"));
            QTest::keyClick(&d, Qt::Key_Return); // OK is the default button
            EXPECT_FALSE(d.isVisible());
        }));

    ASSERT_TRUE(WhileOpen<TFUeber>(prompts, w->TBXItem2, [&](TFUeber& d) {
        WebAddressLabel* web = d.LWeb;
        auto look = [&] {
            return std::pair{web->palette().color(QPalette::WindowText), web->font().underline()};
        };
        EXPECT_EQ(look(), (std::pair{QColor(Qt::black), false}));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), web->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(web, &enter);
        EXPECT_EQ(look(), (std::pair{QColor(Qt::blue), true}));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(web, &leave);
        EXPECT_EQ(look(), (std::pair{QColor(Qt::black), false}));

        QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(2, 2));
        web->setFocus();
        QTest::keyClick(web, Qt::Key_Space);
        ASSERT_EQ(prompts.Opened.size(), 2);
        EXPECT_EQ(prompts.Opened[0].toString(), web->text());
    }));
}

TEST_F(Dialogs, TheTranslatorComesFromTheCatalogueUnchanged) {
    program.Write(QStringLiteral("locale/xx/LC_MESSAGES/default.mo"),
                  CatalogueWithHeader("Content-Type: text/plain; charset=UTF-8\n"
                                      "Last-Translator: Jan Nov\xc3\xa1k <jan@example.org>\n"));
    // Whether the window applies its language setting or not, xx is in use.
    program.Write(QStringLiteral("Brisko.ini"), "[Brisko]\nLanguage=xx\n");
    InitTranslation(program.File(QStringLiteral("locale")));
    UseLanguage(QStringLiteral("xx"));
    auto w = Start();
    const bool opened = WhileOpen<TFUeber>(prompts, w->TBXItem2, [&](TFUeber& d) {
        EXPECT_EQ(d.LTranslator->text(), QStringLiteral("Jan Novák <jan@example.org>"));
    });
    UseLanguage(QStringLiteral("C"));
    EXPECT_TRUE(opened);
}
