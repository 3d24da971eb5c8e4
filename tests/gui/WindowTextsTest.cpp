// What the window shows of names, paths, sizes, dates and catalogue texts, and what the
// folder box, the bars' menu and the favourites do with them.
#include "WindowFixture.h"
#include "common/IniFile.h"
#include "gui/DetailsPanels.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QToolBar>

namespace {

class WindowTexts : public WindowFixture {
protected:
    void TearDown() override {
        WindowFixture::TearDown();
        QLocale::setDefault(FLocale);
    }
    QString Saved(const QString& section, const QString& key) const {
        IniFile ini(program.File(QStringLiteral("Brisko.ini")));
        EXPECT_TRUE(ini.Load());
        return ini.ReadString(section, key, QStringLiteral("<none>"));
    }
    // The text a user gets who selects the whole label: all of its text when it is shown
    // as plain text, nothing when markup made it shorter.
    static QString SelectedText(QLabel* label) {
        label->setSelection(0, int(label->text().size()));
        return label->selectedText();
    }
    // Keys go to the box, which has the focus and hands them to its edit field.
    void TypeIntoFolderBox(const QString& text) {
        w->FolderCombo->lineEdit()->selectAll();
        QTest::keyClicks(w->FolderCombo, text);
        QTest::keyClick(w->FolderCombo, Qt::Key_Return);
    }

private:
    QLocale FLocale;
};

} // namespace

TEST_F(WindowTexts, TheBarsAreNeitherOfferedForClosingNorRestoredHidden) {
    // As an earlier version saved them after they were closed.
    program.Write(QStringLiteral("Brisko.ini"),
                  "[tbxtbMain]\nRev=2000\nVisible=0\n[tbxtwSystemComboBox]\nRev=2000\nVisible=0\n");
    Start();
    EXPECT_FALSE(w->tbxtbMain->isHidden());
    EXPECT_FALSE(w->tbxtwSystemComboBox->isHidden());
    const std::unique_ptr<QMenu> menu(w->createPopupMenu());
    ASSERT_TRUE(menu);
    const std::pair<QAction*, bool> offered[] = {
        {w->MIFolders, true},
        {w->tbxiGeneral, true},
        {w->tbxiDB, true},
        {w->tbxiFlags, true},
        {w->tbxtbMain->toggleViewAction(), false},
        {w->tbxtwSystemComboBox->toggleViewAction(), false},
    };
    for (const auto& [toggle, shown] : offered)
        EXPECT_EQ(menu->actions().contains(toggle) && toggle->isVisible(), shown)
            << toggle->text().toStdString();
}

TEST_F(WindowTexts, FavoritesShowTheirAmpersandsAndKeepKeysAfterAGap) {
    const QString amp = files.MakeFolder(QStringLiteral("R&D"));
    const QString plain = files.MakeFolder(QStringLiteral("plain"));
    const QString unread = files.MakeFolder(QStringLiteral("unread"));
    files.Write(QStringLiteral("R&D/x.pdb"), PalmBytes("xxxx"));
    program.Write(QStringLiteral("Brisko.ini"), "[Favorites]\n0=" + amp.toUtf8() +
                                                    "\n1=" + plain.toUtf8() +
                                                    "\n3=" + unread.toUtf8() + "\n");
    Start(plain);
    const QList<QAction*> items = w->MIFavorites->actions();
    ASSERT_EQ(items.size(), 3);
    for (QAction* item : items.mid(1)) {
        // No letter of a path becomes an access key, and "&&" shows as "&".
        EXPECT_TRUE(QKeySequence::mnemonic(item->text()).isEmpty()) << item->text().toStdString();
        EXPECT_EQ(item->text().replace(QStringLiteral("&&"), QStringLiteral("&")),
                  items.indexOf(item) == 1 ? amp : plain);
    }
    items[1]->trigger();
    EXPECT_EQ(w->CurrentFolder(), amp + QDir::separator());
    EXPECT_EQ(Names(), Words("x.pdb"));
    Close();
    EXPECT_EQ(Saved(QStringLiteral("Favorites"), QStringLiteral("0")), amp);
    EXPECT_EQ(Saved(QStringLiteral("Favorites"), QStringLiteral("1")), plain);
    EXPECT_EQ(Saved(QStringLiteral("Favorites"), QStringLiteral("2")), QStringLiteral("<none>"));
    EXPECT_EQ(Saved(QStringLiteral("Favorites"), QStringLiteral("3")), unread);
}

TEST_F(WindowTexts, EnterInTheFolderBoxListsWhatWasTyped) {
    const QString start = files.MakeFolder(QStringLiteral("start"));
    const QString other = files.MakeFolder(QStringLiteral("other"));
    files.MakeFolder(QStringLiteral("other/sub"));
    files.Write(QStringLiteral("other/o.pdb"), PalmBytes("oooo"));
    files.Write(QStringLiteral("other/sub/s.pdb"), PalmBytes("ssss"));
    const QString missing = files.File(QStringLiteral("missing"));
    const struct {
        QString typed;
        QString listed;   // the folder then listed and shown in the box
        QString tree;     // and in the tree (none for a folder that does not exist)
        const char* rows; // its rows
    } cases[] = {
        {other, other, other, "o.pdb"},
        {QStringLiteral("sub"), other + QStringLiteral("/sub"), other + QStringLiteral("/sub"),
         "s.pdb"},
        {QStringLiteral(".."), other, other, "o.pdb"},
        {missing, missing, QString(), ""},
        {start, start, start, ""},
    };
    Start(start);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        TypeIntoFolderBox(c.typed);
        EXPECT_EQ(w->CurrentFolder().toStdString(),
                  QString(c.listed + QDir::separator()).toStdString());
        EXPECT_EQ(w->FolderCombo->currentText().toStdString(),
                  QDir::toNativeSeparators(c.listed).toStdString());
        EXPECT_EQ(w->TreeFolder(), QDir::toNativeSeparators(c.tree));
        EXPECT_EQ(Names(), Words(c.rows));
        EXPECT_EQ(w->StatusText().contains(QStringLiteral("does not exist")), c.tree.isEmpty())
            << w->StatusText().toStdString();
    }
    EXPECT_TRUE(prompts.Messages.isEmpty());
}

// Sizes up to 999.999.999 and years as four digits, whatever width an earlier version saved.
TEST_F(WindowTexts, NineDigitSizesAndFourDigitYearsShowWhole) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    PalmFileBuilder b;
    b.creator = "book";
    // Noon of 2036-01-02 local time, in seconds since 1904.
    b.created = uint32_t(QDateTime(QDate(1904, 1, 1), QTime(0, 0))
                             .secsTo(QDateTime(QDate(2036, 1, 2), QTime(12, 0))));
    const QString book = b.WriteTo(files.File(QStringLiteral("book.pdb")));
    ASSERT_TRUE(QFile::resize(book, 999'999'999)); // sparse: no disk space taken
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2036, 12, 28), QTime(22, 58, 58)),
                                 QFileDevice::FileModificationTime));
    file.close();
    program.Write(QStringLiteral("Brisko.ini"), "[MainListView]\ncol2=65\ncol3=150\n");
    Start(files.Path());
    ASSERT_EQ(Names(), Words("book.pdb"));
    EXPECT_EQ(Column(0, 2), QStringLiteral("999.999.999"));
    EXPECT_EQ(Column(0, 3), QStringLiteral("12/28/2036 10:58:58 PM"));
    QTreeView* list = w->FileList();
    for (const int column : {2, 3}) {
        const int width = list->columnWidth(column);
        list->resizeColumnToContents(column); // what the cell and the caption need
        EXPECT_GE(width, list->columnWidth(column)) << column;
    }
    ClickRow(QStringLiteral("book.pdb"));
    EXPECT_EQ(w->DBInfo->DetailValue(4), QStringLiteral("1/2/2036"));
}

TEST_F(WindowTexts, TheStatusLineCountsTheMarkedRows) {
    files.Write(QStringLiteral("good.pdb"), PalmBytes("good"));
    files.Write(QStringLiteral("short.pdb"), "short");
    ASSERT_TRUE(QFile::link(files.File(QStringLiteral("gone")),
                            files.File(QStringLiteral("dangling.pdb"))));
    Start(files.Path());
    int marked = 0;
    for (int row = 0; row < w->FileModel().rowCount(); ++row)
        marked += w->FileModel().index(row, 0).data(Qt::ToolTipRole).toString().isEmpty() ? 0 : 1;
    EXPECT_EQ(marked, 2);
    EXPECT_TRUE(w->StatusText().startsWith(QStringLiteral("3 file(s). 2 ")))
        << w->StatusText().toStdString();
}

// Catalogue texts are shown as typed: neither as markup nor with bytes of a Windows
// catalogue replaced; and what was not changed is written back byte for byte.
TEST_F(WindowTexts, TheGeneralPanelShowsCatalogueTextsAsTheyWereWritten) {
    const QByteArray catalogue = "\xEF\xBB\xBF[memo]\r\nURL=\r\nProgram=<b>Z\xFCrich</b>\r\n"
                                 "Description=<font color=\"red\">Caf\xC3\xA9</font> & more\r\n"
                                 "\r\n";
    program.Write(QStringLiteral("CreatorIDs.ini"), catalogue);
    files.Write(QStringLiteral("memo.pdb"), PalmBytes("memo"));
    Start(files.Path());
    ClickRow(QStringLiteral("memo.pdb"));
    EXPECT_EQ(SelectedText(w->General->tbxlTitle), QString::fromUtf8("<b>Z\u00fcrich</b>"));
    EXPECT_EQ(SelectedText(w->General->tbxlFileInfo),
              QString::fromUtf8("<font color=\"red\">Caf\u00e9</font> & more"));
    Close();
    EXPECT_EQ(Read(program.File(QStringLiteral("CreatorIDs.ini"))), catalogue);
}
