// The main window as a user meets it: start-up and shut-down with the settings file,
// listing, the details panels, sorting, keys, install commands, favourites, Temp.
#include "FakePrompts.h"
#include "browser/DetailsPanels.h"
#include "browser/FileListModel.h"
#include "browser/TFBrowser.h"
#include "common/IniFile.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray PalmBytes(const std::string& creator, int extra = 0, const std::string& type = "DATA") {
    PalmFileBuilder b;
    b.name = "Test";
    b.type = type;
    b.creator = creator;
    b.tail = QByteArray(extra, 'x');
    return b.Bytes();
}

class BrowserWindow : public ::testing::Test {
protected:
    TempFolder program; // stands for the program's folder
    TempFolder files;   // the user's Palm files
    FakePrompts prompts;

    std::unique_ptr<TFBrowser> Start(const QString& startFolder = {}) {
        auto window = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()),
                                                  prompts, startFolder);
        window->show();
        return window;
    }
    static void Close(std::unique_ptr<TFBrowser>& window) {
        window->close();
        window.reset();
    }
    QString Settings() const { return program.File(QStringLiteral("Brisko.ini")); }
    void WriteSettings(const QByteArray& text) const {
        program.Write(QStringLiteral("Brisko.ini"), text);
    }
    static QStringList ColumnTexts(TFBrowser& w, int column) {
        QStringList texts;
        for (int row = 0; row < w.FileModel().rowCount(); ++row)
            texts << w.FileModel().index(row, column).data().toString();
        return texts;
    }
    static void ClickRow(TFBrowser& w, int row) {
        QTreeView* list = w.FileList();
        const QRect rect = list->visualRect(w.FileModel().index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents(); // the click's details follow the selection
    }
    static void ClickHeader(TFBrowser& w, int column) {
        QHeaderView* header = w.FileList()->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
};

} // namespace

TEST_F(BrowserWindow, FirstRunTakesTheDefaultsOpensTheManualAndWritesTheSettings) {
    program.Write(QStringLiteral("manual/index.html"), "<html></html>");
    auto w = Start();
    for (QDockWidget* dock : {w->TBXdpFolders, w->tbxdpGeneral, w->tbxdpDBInfo, w->tbxdpFlags})
        EXPECT_FALSE(dock->isHidden()) << dock->objectName().toStdString();
    for (QAction* toggle : {w->MIFolders, w->tbxiGeneral, w->tbxiDB, w->tbxiFlags})
        EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(w->Settings().ShowPDB && w->Settings().ShowPRC && w->Settings().ShowZIP);
    ASSERT_EQ(prompts.Opened.size(), 1);
    EXPECT_EQ(prompts.Opened[0],
              QUrl::fromLocalFile(program.File(QStringLiteral("manual/index.html"))));
    EXPECT_TRUE(QDir(program.File(QStringLiteral("Temp"))).exists());
    Close(w);

    IniFile ini(Settings());
    ASSERT_TRUE(ini.Load());
    for (const char* key :
         {"StartPath", "Language", "InstallTool", "RememberLastDirectory", "TreeViewVisible",
          "FileInfoGeneralVisible", "FileInfoDBVisible", "FileInfoFlagsVisible", "ShowPRC",
          "ShowPDB", "ShowZIP", "MainWindowWidth", "MainWindowHeight", "MainWindowX", "MainWindowY",
          "FoldersWidth"})
        EXPECT_TRUE(ini.ValueExists(QStringLiteral("Brisko"), QString::fromLatin1(key))) << key;
    for (const char* section : {"MainListView", "DBListView", "tbxtbMain", "TBXdpFolders",
                                "tbxdpGeneral", "tbxdpDBInfo", "tbxdpFlags"})
        EXPECT_TRUE(ini.SectionExists(QString::fromLatin1(section))) << section;
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Favorites")));

    prompts.Opened.clear();
    w = Start();
    EXPECT_TRUE(prompts.Opened.isEmpty()) << "the manual opens at the first run only";
}

TEST_F(BrowserWindow, WrittenSettingsRestorePanelsColumnsBoundsAndFavorites) {
    const QString kept1 = files.MakeFolder(QStringLiteral("one"));
    const QString kept2 = files.MakeFolder(QStringLiteral("two"));
    const QString gone = files.File(QStringLiteral("gone"));
    WriteSettings("[Brisko]\nTreeViewVisible=0\nFileInfoFlagsVisible=0\nMainWindowWidth=1000\n"
                  "MainWindowHeight=800\nMainWindowX=0x20\nMainWindowY=-4\n[MainListView]\ncol0="
                  "300\ncol2=-1\n[Favorites]\n0=" +
                  kept1.toUtf8() + "\n1=" + gone.toUtf8() + "\n2=" + kept2.toUtf8() + "\n");
    auto w = Start();
    EXPECT_TRUE(w->TBXdpFolders->isHidden());
    EXPECT_FALSE(w->MIFolders->isChecked());
    EXPECT_TRUE(w->tbxdpFlags->isHidden());
    EXPECT_FALSE(w->tbxiFlags->isChecked());
    EXPECT_FALSE(w->tbxdpGeneral->isHidden());
    EXPECT_EQ(w->FileList()->columnWidth(0), 300);
    EXPECT_EQ(w->FileList()->columnWidth(2), 65) << "-1 keeps the designed width";
    EXPECT_EQ(w->size(), QSize(1000, 800));
    EXPECT_EQ(w->x(), 32);
    QStringList favourites;
    for (QAction* item : w->MIFavorites->actions())
        favourites << item->text();
    EXPECT_EQ(favourites.mid(1), (QStringList{kept1, kept2}));

    w->MIFolders->trigger(); // shown again, checked again
    EXPECT_FALSE(w->TBXdpFolders->isHidden());
    EXPECT_TRUE(w->MIFolders->isChecked());
    w->tbxiGeneral->trigger();
    Close(w);

    IniFile ini(Settings());
    ASSERT_TRUE(ini.Load());
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Brisko"), QStringLiteral("TreeViewVisible"), false));
    EXPECT_FALSE(
        ini.ReadBool(QStringLiteral("Brisko"), QStringLiteral("FileInfoGeneralVisible"), true));
    // A favourite whose folder is away (an unplugged drive) is kept for its return.
    const QString f = QStringLiteral("Favorites");
    EXPECT_EQ(ini.ReadString(f, QStringLiteral("0"), {}), kept1);
    EXPECT_EQ(ini.ReadString(f, QStringLiteral("1"), {}), kept2);
    EXPECT_EQ(ini.ReadString(f, QStringLiteral("2"), {}), gone);
    EXPECT_FALSE(ini.ValueExists(f, QStringLiteral("3")));
}

TEST_F(BrowserWindow, FloatingAndMovedPanelsComeBackWhereTheyWere) {
    auto w = Start();
    w->tbxdpFlags->setFloating(true);
    w->tbxdpFlags->move(300, 200);
    w->addDockWidget(Qt::LeftDockWidgetArea, w->tbxdpGeneral);
    Close(w);
    w = Start();
    EXPECT_TRUE(w->tbxdpFlags->isFloating());
    EXPECT_EQ(w->tbxdpFlags->pos(), QPoint(300, 200));
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpGeneral), Qt::LeftDockWidgetArea);
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpDBInfo), Qt::RightDockWidgetArea);
    w->tbxdpFlags->close(); // its own close button
    EXPECT_FALSE(w->tbxiFlags->isChecked());
    w->tbxiFlags->trigger();
    EXPECT_FALSE(w->tbxdpFlags->isHidden());
}

TEST_F(BrowserWindow, ListingShowsEachKindInOrderAndMarksUnreadableFiles) {
    files.Write(QStringLiteral("z.pdb"), PalmBytes("zzzz", 1234567 - 78));
    files.Write(QStringLiteral("short.pdb"), "only ten b");
    files.Write(QStringLiteral("a.prc"), PalmBytes("Zip"));
    files.Write(QStringLiteral("m.zip"), "PK");
    files.Write(QStringLiteral("readme.txt"), "text");
    auto w = Start(files.Path());

    EXPECT_EQ(w->CurrentFolder(), files.Path() + QDir::separator());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Brisko - ") + w->CurrentFolder());
    const QStringList names = ColumnTexts(*w, 0);
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(QSet<QString>(names.begin(), names.begin() + 2),
              (QSet<QString>{QStringLiteral("z.pdb"), QStringLiteral("short.pdb")}));
    EXPECT_EQ(names.mid(2), (QStringList{QStringLiteral("a.prc"), QStringLiteral("m.zip")}));
    const int z = int(names.indexOf(QStringLiteral("z.pdb")));
    const int bad = int(names.indexOf(QStringLiteral("short.pdb")));
    EXPECT_EQ(ColumnTexts(*w, 2)[z], QStringLiteral("1.234.567"));
    EXPECT_EQ(ColumnTexts(*w, 1)[3], QStringLiteral("Zip"));

    // The unreadable file keeps its row, marked, with the reader's message as its tip.
    EXPECT_EQ(ColumnTexts(*w, 1)[bad], QString());
    EXPECT_EQ(w->FileModel().index(bad, 0).data(Qt::ToolTipRole).toString(),
              QStringLiteral("Error reading file"));
    EXPECT_EQ(w->FileModel().Row(bad).Icon, RowIcon::Unreadable);
    // A creator ID that reads "Zip" is still a Palm file.
    EXPECT_EQ(w->FileModel().Row(2).Icon, RowIcon::PalmFile);
    EXPECT_TRUE(w->StatusText().startsWith(QStringLiteral("4 file(s). 1 ")));
    EXPECT_TRUE(prompts.Messages.isEmpty()) << "no message box per listing";
    EXPECT_TRUE(w->MICopy->isEnabled() && w->MIMove->isEnabled() && w->MIDelete->isEnabled());
    EXPECT_NE(w->Catalogue().FindLink("zzzz"), -1);
    EXPECT_NE(w->Catalogue().FindLink("Zip"), -1);
}

TEST_F(BrowserWindow, DetailsPanelsDescribeTheClickedFile) {
    PalmFileBuilder b;
    b.type = "DATA";
    b.creator = "memo";
    b.attributes = 0x0048;
    b.version = 65535;
    b.modNumber = 0x80000000u;
    b.backedUp = 0;
    b.recordOffsets = {100, 120, 140};
    b.WriteTo(files.File(QStringLiteral("memo.pdb")));
    files.Write(QStringLiteral("addr.pdb"), PalmBytes("addr"));
    files.Write(QStringLiteral("b.zip"), "PK");
    program.Write(
        QStringLiteral("CreatorIDs.ini"),
        "[memo]\r\nProgram=Memo Pad\r\nDescription=Notes\r\nURL=https://example.org/memo\r\n");
    auto w = Start(files.Path());
    const int memo = int(ColumnTexts(*w, 0).indexOf(QStringLiteral("memo.pdb")));
    const int addr = int(ColumnTexts(*w, 0).indexOf(QStringLiteral("addr.pdb")));

    ClickRow(*w, memo);
    EXPECT_EQ(w->General->tbxlTitle->text(), QStringLiteral("Memo Pad"));
    EXPECT_TRUE(w->General->tbxlTitle->font().underline());
    EXPECT_EQ(w->General->tbxlFileInfo->text(), QStringLiteral("Notes"));
    EXPECT_FALSE(w->General->TBXLink->isHidden());
    EXPECT_EQ(w->General->TBXLink->toolTip(), QStringLiteral("https://example.org/memo"));
    Q_EMIT w->General->TBXLink->linkActivated(QStringLiteral("https://example.org/memo"));
    EXPECT_EQ(prompts.Opened.last(), QUrl(QStringLiteral("https://example.org/memo")));
    EXPECT_EQ(w->DBInfo->DetailValue(0), QStringLiteral("3"));
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("memo"));
    EXPECT_EQ(w->DBInfo->DetailValue(3), QStringLiteral("65535"));
    EXPECT_EQ(w->DBInfo->DetailValue(6), QStringLiteral("Unknown"));
    EXPECT_EQ(w->DBInfo->DetailValue(7), QStringLiteral("-2147483648"));
    std::array<bool, FlagCount> checked{};
    for (int i = 0; i < FlagCount; ++i)
        checked[size_t(i)] = w->Flags->Boxes[size_t(i)]->isChecked();
    EXPECT_EQ(checked, (std::array<bool, FlagCount>{false, false, true, false, false, true}));
    EXPECT_EQ(w->StatusText(), QStringLiteral("1 file(s) selected."));

    // The listing added addr with empty texts.
    ClickRow(*w, addr);
    EXPECT_EQ(w->General->tbxlTitle->text(), QStringLiteral("Not specified"));
    EXPECT_EQ(w->General->tbxlFileInfo->text(), QStringLiteral("No description"));
    EXPECT_TRUE(w->General->TBXLink->isHidden());

    // An archive row clears the panels.
    ClickRow(*w, int(ColumnTexts(*w, 0).indexOf(QStringLiteral("b.zip"))));
    EXPECT_EQ(w->General->tbxlTitle->text(), QString());
    EXPECT_EQ(w->DBInfo->DetailValue(0), QString());

    // A file no listing has read: no catalogue entry, nothing of the last file stays.
    ClickRow(*w, memo);
    files.Write(QStringLiteral("new.pdb"), PalmBytes("nEw!"));
    w->ShowDetails(files.File(QStringLiteral("new.pdb")));
    EXPECT_EQ(w->General->tbxlTitle->text(), QString());
    EXPECT_TRUE(w->General->TBXLink->isHidden());
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("nEw!"));
}

TEST_F(BrowserWindow, AnUnreadableFileClearsThePanelsAndNamesTheFile) {
    files.Write(QStringLiteral("good.pdb"), PalmBytes("good"));
    files.Write(QStringLiteral("bad.pdb"), "short");
    auto w = Start(files.Path());
    const QStringList names = ColumnTexts(*w, 0);
    ClickRow(*w, int(names.indexOf(QStringLiteral("good.pdb"))));
    ASSERT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("good"));
    ClickRow(*w, int(names.indexOf(QStringLiteral("bad.pdb"))));
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_EQ(prompts.Messages[0], QStringLiteral("bad.pdb: Error reading file"));
    EXPECT_EQ(w->DBInfo->DetailValue(2), QString());
}

TEST_F(BrowserWindow, HeaderClicksSortWithTheDirectionRule) {
    files.Write(QStringLiteral("b.pdb"), PalmBytes("mmmm", 25000 - 78),
                QDateTime(QDate(2005, 1, 1), QTime(10, 0)));
    files.Write(QStringLiteral("C.pdb"), PalmBytes("AAAA", 1000 - 78),
                QDateTime(QDate(2007, 1, 1), QTime(10, 0)));
    files.Write(QStringLiteral("a.pdb"), PalmBytes("zzzz", 999 - 78),
                QDateTime(QDate(2006, 1, 1), QTime(10, 0)));
    auto w = Start(files.Path());
    const QStringList abc{QStringLiteral("a.pdb"), QStringLiteral("b.pdb"),
                          QStringLiteral("C.pdb")};
    const QStringList cba{QStringLiteral("C.pdb"), QStringLiteral("b.pdb"),
                          QStringLiteral("a.pdb")};

    ClickHeader(*w, 2); // Size ascending: 999, 1.000, 25.000
    EXPECT_EQ(ColumnTexts(*w, 2), (QStringList{QStringLiteral("999"), QStringLiteral("1.000"),
                                               QStringLiteral("25.000")}));
    ClickHeader(*w, 2); // Size again: descending
    EXPECT_EQ(ColumnTexts(*w, 2), (QStringList{QStringLiteral("25.000"), QStringLiteral("1.000"),
                                               QStringLiteral("999")}));
    ClickHeader(*w, 0); // another column keeps the direction: Name descending
    EXPECT_EQ(ColumnTexts(*w, 0), cba);
    ClickHeader(*w, 0);
    EXPECT_EQ(ColumnTexts(*w, 0), abc) << "names compare without regard to case";
    ClickHeader(*w, 1);
    EXPECT_EQ(ColumnTexts(*w, 1), (QStringList{QStringLiteral("AAAA"), QStringLiteral("mmmm"),
                                               QStringLiteral("zzzz")}));
    ClickHeader(*w, 3);
    EXPECT_EQ(ColumnTexts(*w, 0), (QStringList{QStringLiteral("b.pdb"), QStringLiteral("a.pdb"),
                                               QStringLiteral("C.pdb")}));
    EXPECT_EQ(w->FileList()->header()->sortIndicatorSection(), 3);

    // A refresh lists in file-system order; the kept column reverses at the next click.
    w->TBXItem1->trigger();
    ClickHeader(*w, 3);
    EXPECT_EQ(ColumnTexts(*w, 0), (QStringList{QStringLiteral("C.pdb"), QStringLiteral("a.pdb"),
                                               QStringLiteral("b.pdb")}));
}

TEST_F(BrowserWindow, ArrowHomeAndEndKeysShowTheDetailsOfTheRowToCome) {
    for (const char* creator : {"aaaa", "bbbb", "cccc", "dddd"})
        files.Write(QString::fromLatin1(creator) + QStringLiteral(".pdb"), PalmBytes(creator));
    auto w = Start(files.Path());
    ClickHeader(*w, 0);
    QTreeView* list = w->FileList();
    list->setFocus();
    auto creatorShown = [&] {
        return w->DBInfo->DetailValue(2);
    };

    ClickRow(*w, 1);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(creatorShown(), QStringLiteral("cccc"));
    QTest::keyClick(list, Qt::Key_Up); // the selection is on row 2 now
    EXPECT_EQ(creatorShown(), QStringLiteral("bbbb"));
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(creatorShown(), QStringLiteral("dddd"));
    QTest::keyClick(list, Qt::Key_Down); // on the last row: nothing changes
    EXPECT_EQ(creatorShown(), QStringLiteral("dddd"));
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(creatorShown(), QStringLiteral("aaaa"));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(creatorShown(), QStringLiteral("aaaa"));

    w->MISelectAll->trigger();
    EXPECT_EQ(w->StatusText(), QStringLiteral("4 file(s) selected."));
}

TEST_F(BrowserWindow, InstallCommandsFollowTheInstallTool) {
    const QString tool = files.Write(QStringLiteral("PInstall.exe"), "MZ");
    WriteSettings("[Brisko]\nInstallTool=" + files.File(QStringLiteral("deleted.exe")).toUtf8() +
                  "\n");
    auto w = Start(files.Path());
    EXPECT_FALSE(w->MIInstall->isEnabled());
    w->Settings().InstallTool = tool;
    w->UpdateInstallCommands();
    EXPECT_TRUE(w->MIInstall->isEnabled());
    w->SetFileCommands(false);
    EXPECT_FALSE(w->MIInstall->isEnabled());
    EXPECT_FALSE(w->MICopy->isEnabled());
    w->TBXItem1->trigger(); // any listing enables the file commands again
    EXPECT_TRUE(w->MIInstall->isEnabled());
    EXPECT_TRUE(w->MICopy->isEnabled());
}

TEST_F(BrowserWindow, FavoritesAreAddedListedAndKept) {
    const QString folder = files.MakeFolder(QStringLiteral("Backup"));
    files.Write(QStringLiteral("Backup/x.pdb"), PalmBytes("xxxx"));
    auto w = Start(folder);
    QAction* add = w->MIFavorites->actions().first();
    add->trigger();
    add->trigger();
    ASSERT_EQ(w->MIFavorites->actions().size(), 3);
    EXPECT_EQ(w->MIFavorites->actions()[1]->text(), QDir::toNativeSeparators(folder));
    w->ListFolder(files.Path());
    w->MIFavorites->actions()[2]->trigger();
    EXPECT_EQ(w->CurrentFolder(), folder + QDir::separator());
    EXPECT_EQ(ColumnTexts(*w, 0), QStringList{QStringLiteral("x.pdb")});
    EXPECT_EQ(w->TreeFolder(), QDir::toNativeSeparators(folder));
    Close(w);

    w = Start();
    ASSERT_EQ(w->MIFavorites->actions().size(), 3);
    EXPECT_EQ(w->MIFavorites->actions()[2]->text(), QDir::toNativeSeparators(folder));
}

TEST_F(BrowserWindow, StartFolderFollowsTheTreeOnlyWhenRemembering) {
    const QString first = files.MakeFolder(QStringLiteral("first"));
    const QString second = files.MakeFolder(QStringLiteral("second"));
    WriteSettings("[Brisko]\nStartPath=" + first.toUtf8() + "\n");
    auto w = Start();
    EXPECT_EQ(w->CurrentFolder(), first + QDir::separator());
    w->ListFolder(second);
    Close(w);
    w = Start();
    EXPECT_EQ(w->CurrentFolder(), second + QDir::separator()) << "remembered";
    w->Settings().RememberLastDirectory = false;
    w->Settings().StartPath = first;
    w->ListFolder(second);
    Close(w);
    w = Start();
    EXPECT_EQ(w->CurrentFolder(), first + QDir::separator());
    Close(w);

    // A folder given on the command line is listed but not remembered.
    w = Start(second);
    EXPECT_EQ(w->CurrentFolder(), second + QDir::separator());
    w->Settings().RememberLastDirectory = false;
    Close(w);
    IniFile ini(Settings());
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Brisko"), QStringLiteral("StartPath"), {}), first);
}

TEST_F(BrowserWindow, OneLevelUpListsTheParentAndClearsThePanels) {
    const QString sub = files.MakeFolder(QStringLiteral("sub"));
    files.Write(QStringLiteral("top.pdb"), PalmBytes("topp"));
    files.Write(QStringLiteral("sub/s.pdb"), PalmBytes("subb"));
    auto w = Start(sub);
    ClickRow(*w, 0);
    ASSERT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("subb"));
    w->TBXItem14->trigger();
    EXPECT_EQ(w->CurrentFolder(), files.Path() + QDir::separator());
    EXPECT_TRUE(ColumnTexts(*w, 0).contains(QStringLiteral("top.pdb")));
    EXPECT_EQ(w->DBInfo->DetailValue(2), QString());
    EXPECT_EQ(w->TreeFolder(), QDir::toNativeSeparators(files.Path()));
}

TEST_F(BrowserWindow, ShutDownWritesTheCatalogueAndLeavesOthersFilesInTemp) {
    files.Write(QStringLiteral("a.pdb"), PalmBytes("newC"));
    auto w = Start(files.Path());
    program.Write(QStringLiteral("Temp/a.pdb"), "x");
    program.Write(QStringLiteral("Temp/b.PRC"), "x");
    program.Write(QStringLiteral("Temp/c.txt"), "x");
    program.MakeFolder(QStringLiteral("Temp/d.pdb"));
    Close(w);
    // Only what the archive views extracted is removed (their tests show that).
    QStringList left = QDir(program.File(QStringLiteral("Temp")))
                           .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("a.pdb"), QStringLiteral("b.PRC"),
                                 QStringLiteral("c.txt"), QStringLiteral("d.pdb")}));

    QFile catalogue(program.File(QStringLiteral("CreatorIDs.ini")));
    ASSERT_TRUE(catalogue.open(QIODevice::ReadOnly));
    EXPECT_EQ(catalogue.readAll(),
              QByteArray("[newC]\r\nURL=\r\nProgram=\r\nDescription=\r\n\r\n"));
}

TEST_F(BrowserWindow, SettingsThatCannotBeWrittenAreReportedAndTheRestIsSaved) {
    files.Write(QStringLiteral("a.pdb"), PalmBytes("keep"));
    program.MakeFolder(QStringLiteral("Brisko.ini")); // in the way of the settings file
    auto w = Start(files.Path());
    prompts.Messages.clear();
    Close(w);
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(prompts.Messages[0].contains(Settings())) << prompts.Messages[0].toStdString();
    EXPECT_TRUE(QFile::exists(program.File(QStringLiteral("CreatorIDs.ini"))))
        << "the catalogue is saved all the same";
}
