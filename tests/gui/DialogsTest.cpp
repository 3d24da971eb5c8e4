// The Creator IDs, Options and About dialogs, opened from the main window's commands.
#include "WindowFixture.h"
#include "dialogs/TFInfo.h"
#include "dialogs/TFOptionen.h"
#include "dialogs/TFUeber.h"
#include "gui/DetailsPanels.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <functional>

namespace {

using Answer = std::optional<QString>;

// A gettext catalogue whose only entry is its header, the translation of the empty text.
QByteArray CatalogueWithHeader(const QByteArray& header) {
    QByteArray mo;
    for (quint32 word :
         {0x950412deu, 0u, 1u, 28u, 36u, 0u, 44u, 0u, 44u, quint32(header.size()), 45u})
        for (int shift = 0; shift < 32; shift += 8)
            mo.append(char((word >> shift) & 0xff));
    return mo + '\0' + header + '\0';
}

QStringList ColumnOf(TFInfo& d, int column) {
    QStringList texts;
    for (int i = 0; i < d.LVIDs->topLevelItemCount(); ++i)
        texts << d.LVIDs->topLevelItem(i)->text(column);
    return texts;
}

QTreeWidgetItem* Row(TFInfo& d, const char* creatorID) {
    return d.LVIDs->findItems(QString::fromUtf8(creatorID), Qt::MatchExactly, 0).value(0);
}

QStringList Cells(const QTreeWidgetItem* row) {
    return {row->text(0), row->text(1), row->text(2), row->text(3)};
}

void Click(TFInfo& d, QTreeWidgetItem* row, bool twice = false) {
    const QPoint at = d.LVIDs->visualItemRect(row).center();
    QTest::mouseClick(d.LVIDs->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(d.LVIDs->viewport(), Qt::LeftButton, {}, at);
}

class Dialogs : public WindowFixture {
protected:
    // Runs check on the dialog that command opens, as the user's dealings with it while it
    // is shown. False when no such dialog opened.
    template <typename Dialog>
    bool WhileOpen(QAction* command, const std::function<void(Dialog&)>& check) {
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
    bool WhileCreatorIDs(const std::function<void(TFInfo&)>& check) {
        return WhileOpen<TFInfo>(w->TBXItem4, check);
    }
    bool WhileOptions(const std::function<void(TFOptionen&)>& check) {
        return WhileOpen<TFOptionen>(w->TBXItem3, check);
    }
    void WriteCatalogue(const QByteArray& text) const {
        program.Write(QStringLiteral("CreatorIDs.ini"), text);
    }
    QStringList Entry(int i) {
        const TLinks* e = w->Catalogue().LinkAt(i);
        return {QString::fromStdString(e->Program), QString::fromStdString(e->Description),
                QString::fromStdString(e->URL)};
    }
};

} // namespace

TEST_F(Dialogs, EditAsksAllThreeBoxesAndTheEntryShowsEverywhere) {
    WriteCatalogue("[memo]\r\nProgram=Memo Pad\r\nDescription=Notes\r\nURL=https://old\r\n");
    files.Write(QStringLiteral("memo.pdb"), PalmBytes("memo"));
    Start(files.Path());
    const QString p = QStringLiteral("P"), d = QStringLiteral("D"), u = QStringLiteral("U");
    const Answer cancel;
    const QStringList old{QStringLiteral("Memo Pad"), QStringLiteral("Notes"),
                          QStringLiteral("https://old")};
    const struct {
        std::array<Answer, 3> answers;
        QStringList expected;
        bool byDoubleClick;
    } cases[] = {
        {{QString(), QString(), QString()}, {QString(), QString(), QString()}, false},
        {{cancel, d, cancel}, {old[0], d, old[2]}, true},
        {{p, cancel, u}, {p, old[1], u}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(QLatin1Char('|')).toStdString());
        w->Catalogue().UpdateLink("memo", "Memo Pad", "Notes", "https://old", 0);
        prompts.TextQuestions.clear();
        prompts.TextAnswers.assign(c.answers.begin(), c.answers.end());
        ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& dialog) {
            QTreeWidgetItem* row = Row(dialog, "memo");
            Click(dialog, row, c.byDoubleClick);
            if (!c.byDoubleClick)
                dialog.SBEdit->click();
            EXPECT_EQ(Cells(row).mid(1), c.expected);
        }));
        QStringList asked;
        for (const auto& q : prompts.TextQuestions)
            asked << q.Caption << q.Prompt << q.Initial;
        EXPECT_EQ(asked, (QStringList{QStringLiteral("Program (memo)"),
                                      QStringLiteral("Please enter the program name:"), old[0],
                                      QStringLiteral("Description (memo)"),
                                      QStringLiteral("Please enter the description:"), old[1],
                                      QStringLiteral("URL (memo)"),
                                      QStringLiteral("Please enter the programs URL:"), old[2]}));
        EXPECT_EQ(Entry(0), c.expected);
    }
    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& dialog) {
        EXPECT_EQ(Cells(Row(dialog, "memo")), (QStringList{QStringLiteral("memo"), p, old[1], u}));
    }));
    ClickRow(QStringLiteral("memo.pdb"));
    EXPECT_EQ(w->General->tbxlTitle->text() + w->General->tbxlFileInfo->text(),
              QStringLiteral("PNotes"));
    Close();
    EXPECT_EQ(Read(program.File(QStringLiteral("CreatorIDs.ini"))),
              QByteArray("[memo]\r\nProgram=P\r\nDescription=Notes\r\nURL=U\r\n\r\n"));
}

TEST_F(Dialogs, ResetEmptiesTheSelectedEntryAndWithoutASelectionNothingHappens) {
    WriteCatalogue("[memo]\r\nProgram=Memo Pad\r\nURL=https://m\r\n[todo]\r\nProgram=To Do\r\n");
    Start();
    const QStringList empty{QStringLiteral("memo"), {}, {}, {}};
    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& d) {
        Click(d, Row(d, "memo"));
        d.SBReset->click();
        EXPECT_EQ(Cells(Row(d, "memo")), empty);
    }));
    EXPECT_TRUE(prompts.Questions.isEmpty() && prompts.TextQuestions.isEmpty());
    EXPECT_EQ(Entry(0), QStringList(3));
    EXPECT_EQ(Entry(1)[0], QStringLiteral("To Do"));

    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& d) {
        EXPECT_EQ(Cells(Row(d, "memo")), empty);
        d.LVIDs->clearSelection(); // Ctrl+Space on the row that starts selected
        EXPECT_FALSE(d.SBEdit->isEnabled() || d.SBReset->isEnabled());
        d.SBEditClick();
        d.SBResetClick();
        QTest::keyClick(d.LVIDs, Qt::Key_Return);
    }));
    EXPECT_TRUE(prompts.TextQuestions.isEmpty());
    EXPECT_EQ(Entry(1)[0], QStringLiteral("To Do"));
}

TEST_F(Dialogs, TwoRowsOfOneCreatorIdChangeTheLaterEntry) {
    Start();
    w->Catalogue().AddLink({"dupe", "First", "", ""});
    w->Catalogue().AddLink({"dupe", "Second", "", ""});
    prompts.TextAnswers = {QStringLiteral("Changed")};
    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& d) {
        ASSERT_EQ(ColumnOf(d, 1), Words("First Second"));
        d.SBEdit->click(); // on the top row
        EXPECT_EQ(ColumnOf(d, 1), Words("Changed Second")) << "the selected row shows the change";
    }));
    EXPECT_EQ(prompts.TextQuestions.value(0).Initial, QStringLiteral("Second"));
    EXPECT_EQ(Entry(0)[0], QStringLiteral("First"));
    EXPECT_EQ(Entry(1)[0], QStringLiteral("Changed"));
}

TEST_F(Dialogs, HeaderClicksSortByTheCellOrderAndKeepTheSelection) {
    Start();
    for (const auto& [creator, name] :
         {std::pair{"eeee", ""}, {"bbbb", "9"}, {"aaaa", "10"}, {"dddd", "xyz"}, {"cccc", "abc"}})
        w->Catalogue().AddLink({creator, name, "", ""});
    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& d) {
        EXPECT_EQ(ColumnOf(d, 0), Words("aaaa bbbb cccc dddd eeee")) << "opened by creator ID";
        Click(d, Row(d, "cccc"));
        ClickSection(d.LVIDs->header(), 1);
        EXPECT_EQ(ColumnOf(d, 1), QStringList{QString()} + Words("9 10 abc xyz"));
        ClickSection(d.LVIDs->header(), 1);
        EXPECT_EQ(ColumnOf(d, 1), Words("xyz abc 10 9") + QStringList{QString()});
        ClickSection(d.LVIDs->header(), 0);
        EXPECT_EQ(ColumnOf(d, 0), Words("aaaa bbbb cccc dddd eeee")) << "a new column ascends";
        EXPECT_EQ(d.LVIDs->selectedItems().value(0), Row(d, "cccc"));
    }));
}

TEST_F(Dialogs, EditByKeyboardAndEntriesKeepTheirBytes) {
    // A creator ID in the Palm character set, and texts in Windows-1252, which is no UTF-8:
    // no byte may change by passing through the boxes unedited.
    WriteCatalogue("[Caf\xe9]\r\nProgram=Tr\xe9sor\r\nDescription=\xe9t\xe9\r\n");
    Start();
    // Cancel; OK on the text as shown (read as Windows-1252); a new address.
    prompts.TextAnswers = {std::nullopt, QString::fromUtf8("\u00e9t\u00e9"),
                           QStringLiteral("https://c")};
    ASSERT_TRUE(WhileCreatorIDs([&](TFInfo& d) {
        QTreeWidgetItem* row = Row(d, "Café");
        ASSERT_TRUE(row && row->isSelected()) << "the first row starts selected";
        QTest::keyClick(d.LVIDs, Qt::Key_Return);
        EXPECT_EQ(row->text(3), QStringLiteral("https://c"));
        QTest::keyClick(d.LVIDs, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_EQ(prompts.TextQuestions.value(0).Caption, QStringLiteral("Program (Café)"));
    EXPECT_EQ(prompts.TextQuestions.value(0).Initial, QStringLiteral("Trésor"));
    const TLinks* entry = w->Catalogue().LinkAt(0);
    EXPECT_EQ(entry->CreatorID + '|' + entry->Program + '|' + entry->Description + '|' + entry->URL,
              "Caf\xe9|Tr\xe9sor|\xe9t\xe9|https://c");
}

TEST_F(Dialogs, OptionsChangeOnlyOnOkAndTheListAndInstallFollow) {
    const QString tool = files.Write(QStringLiteral("PInstall.exe"), "MZ");
    for (const char* name : {"a.pdb", "b.prc"})
        files.Write(QString::fromLatin1(name), PalmBytes("aaaa"));
    files.Write(QStringLiteral("c.zip"), "PK");
    Start(files.Path());
    w->Settings().ShowZIP = false;
    EXPECT_FALSE(w->MIInstall->isEnabled());
    const BrowserSettings before = w->Settings();
    for (const bool ok : {false, true}) {
        prompts.PickedFiles = {tool};
        prompts.PickedFolders = {files.Path()};
        ASSERT_TRUE(WhileOptions([&](TFOptionen& d) {
            EXPECT_TRUE(d.RBRememberLastDirectory->isChecked());
            EXPECT_FALSE(d.EStandardPfad->isEnabled() || d.SBBrowse->isEnabled());
            EXPECT_TRUE(d.CBPRC->isChecked() && d.CBPDB->isChecked() && !d.CBZip->isChecked());
            d.SBInstallTool->click();
            d.RBUserDefined->click();
            d.CBPRC->setChecked(false);
            (ok ? d.BOK : d.BCancel)->click();
        }));
        if (!ok) {
            EXPECT_EQ(w->Settings(), before);
            EXPECT_EQ(Names(), Words("a.pdb b.prc")) << "listed again all the same";
        }
    }
    const BrowserSettings& s = w->Settings();
    EXPECT_EQ(s.InstallTool, tool);
    EXPECT_EQ(s.StartPath, files.Path());
    EXPECT_FALSE(s.RememberLastDirectory || s.ShowPRC || s.ShowZIP);
    EXPECT_TRUE(s.ShowPDB);
    EXPECT_EQ(Names(), Words("a.pdb"));
    EXPECT_TRUE(w->MIInstall->isEnabled());
    QFile::remove(tool);
    ASSERT_TRUE(WhileOptions([](TFOptionen&) {}));
    EXPECT_FALSE(w->MIInstall->isEnabled()) << "evaluated again after Cancel";
}

// Settings saying "User defined" without a folder: the picker opens as the dialog shows,
// and when it is cancelled the choice goes back to remembering the last folder.
TEST_F(Dialogs, UserDefinedWithoutAFolderAsksAndACancelledPickerGoesBack) {
    Start();
    w->Settings().RememberLastDirectory = false;
    prompts.PickedFolders = {QString()};
    ASSERT_TRUE(WhileOptions([&](TFOptionen& d) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.PickedFolders.empty(); }, 2000));
        EXPECT_TRUE(d.RBRememberLastDirectory->isChecked());
        EXPECT_FALSE(d.EStandardPfad->isEnabled() || d.SBBrowse->isEnabled());
    }));
}

TEST_F(Dialogs, AboutShowsVersionTranslatorAndAWebAddressToClick) {
    program.Write(QStringLiteral("locale/xx/LC_MESSAGES/default.mo"),
                  CatalogueWithHeader("Content-Type: text/plain; charset=UTF-8\n"
                                      "Last-Translator: Jan Nov\xc3\xa1k <jan@example.org>\n"));
    // Whether the window applies its language setting or not, xx is in use.
    program.Write(QStringLiteral("Brisko.ini"), "[Brisko]\nLanguage=xx\n");
    InitTranslation(program.File(QStringLiteral("locale")));
    UseLanguage(QStringLiteral("xx"));
    Start();
    const bool opened = WhileOpen<TFUeber>(w->TBXItem2, [&](TFUeber& d) {
        EXPECT_EQ(d.VersionLabel->text(), QStringLiteral("Brisko 0.5.0.0 beta"));
        EXPECT_EQ(d.LTranslator->text(), QStringLiteral("Jan Novák <jan@example.org>"));
        WebAddressLabel* web = d.LWeb;
        QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(2, 2));
        web->setFocus();
        QTest::keyClick(web, Qt::Key_Space);
        EXPECT_EQ(prompts.Opened, (QList<QUrl>(2, QUrl(web->text()))));
        QTest::keyClick(&d, Qt::Key_Return); // OK is the default button
        EXPECT_FALSE(d.isVisible());
    });
    UseLanguage(QStringLiteral("C"));
    EXPECT_TRUE(opened);
}
