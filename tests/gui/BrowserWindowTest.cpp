// The main window as a user meets it: start-up and shut-down with the settings file,
// listing, the details panels, sorting, keys, install commands, favourites.
#include "WindowFixture.h"
#include "common/IniFile.h"
#include "gui/DetailsPanels.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>

namespace {

class BrowserWindow : public WindowFixture {
protected:
    QString Saved(const char* section, const char* key) const {
        IniFile ini(program.File(QStringLiteral("Brisko.ini")));
        EXPECT_TRUE(ini.Load());
        return ini.ReadString(QString::fromLatin1(section), QString::fromLatin1(key),
                              QStringLiteral("<none>"));
    }
    QString Creator() const { return w->DBInfo->DetailValue(2); }
    QString Sep(const QString& folder) const { return folder + QDir::separator(); }
};

} // namespace

TEST_F(BrowserWindow, FirstRunShowsEveryPanelOpensTheManualOnceAndSavesOnClosing) {
    program.Write(QStringLiteral("manual/index.html"), "<html></html>");
    files.Write(QStringLiteral("a.pdb"), PalmBytes("newC"));
    Start(files.Path());
    for (QDockWidget* dock : {w->TBXdpFolders, w->tbxdpGeneral, w->tbxdpDBInfo, w->tbxdpFlags})
        EXPECT_FALSE(dock->isHidden()) << dock->objectName().toStdString();
    for (QAction* toggle : {w->MIFolders, w->tbxiGeneral, w->tbxiDB, w->tbxiFlags})
        EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(prompts.Opened,
              QList<QUrl>{QUrl::fromLocalFile(program.File(QStringLiteral("manual/index.html")))});
    EXPECT_TRUE(QDir(TempFolderPath()).exists());
    Close();
    EXPECT_EQ(Saved("Brisko", "ShowPDB"), QStringLiteral("1"));
    EXPECT_EQ(Read(program.File(QStringLiteral("CreatorIDs.ini"))),
              QByteArray("[newC]\r\nURL=\r\nProgram=\r\nDescription=\r\n\r\n"));
    Start();
    EXPECT_EQ(prompts.Opened.size(), 1) << "the manual opens at the first run only";
}

TEST_F(BrowserWindow, PanelsColumnsBoundsAndFavoritesComeBackAsSaved) {
    const QString kept1 = files.MakeFolder(QStringLiteral("one"));
    const QString kept2 = files.MakeFolder(QStringLiteral("two"));
    const QString gone = files.File(QStringLiteral("gone"));
    program.Write(QStringLiteral("Brisko.ini"),
                  "[Brisko]\nTreeViewVisible=0\nFileInfoFlagsVisible=0\nMainWindowWidth=1000\n"
                  "MainWindowHeight=600\nMainWindowX=0x20\n[MainListView]\ncol0=300\ncol2=-1\n"
                  "[Favorites]\n0=" +
                      kept1.toUtf8() + "\n1=" + gone.toUtf8() + "\n2=" + kept2.toUtf8() + "\n");
    Start();
    EXPECT_TRUE(w->TBXdpFolders->isHidden() && w->tbxdpFlags->isHidden());
    EXPECT_FALSE(w->MIFolders->isChecked() || w->tbxiFlags->isChecked());
    EXPECT_FALSE(w->tbxdpGeneral->isHidden());
    EXPECT_EQ(w->FileList()->columnWidth(0), 300);
    // -1 keeps the designed width, measured for the largest size (WindowTextsTest).
    EXPECT_GE(w->FileList()->columnWidth(2), 65);
    EXPECT_EQ(w->size(), QSize(1000, 600));
    EXPECT_EQ(w->x(), 32);
    QStringList favourites;
    for (QAction* item : w->MIFavorites->actions())
        favourites << item->text();
    EXPECT_EQ(favourites.mid(1), (QStringList{kept1, kept2}));

    w->MIFolders->trigger();
    EXPECT_TRUE(!w->TBXdpFolders->isHidden() && w->MIFolders->isChecked());
    w->tbxiGeneral->trigger();
    w->tbxdpDBInfo->setFloating(true);
    w->tbxdpDBInfo->move(300, 200);
    w->addDockWidget(Qt::LeftDockWidgetArea, w->tbxdpGeneral);
    Close();
    EXPECT_EQ(Saved("Brisko", "TreeViewVisible"), QStringLiteral("1"));
    EXPECT_EQ(Saved("Brisko", "FileInfoGeneralVisible"), QStringLiteral("0"));
    // A favourite whose folder is away (an unplugged drive) is kept for its return.
    EXPECT_EQ((QStringList{Saved("Favorites", "0"), Saved("Favorites", "1"),
                           Saved("Favorites", "2"), Saved("Favorites", "3")}),
              (QStringList{kept1, kept2, gone, QStringLiteral("<none>")}));

    Start();
    EXPECT_TRUE(w->tbxdpDBInfo->isFloating());
    EXPECT_EQ(w->tbxdpDBInfo->pos(), QPoint(300, 200));
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpGeneral), Qt::LeftDockWidgetArea);
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpFlags), Qt::RightDockWidgetArea);
    w->tbxdpDBInfo->close(); // its own close button
    EXPECT_FALSE(w->tbxiDB->isChecked());
}

TEST_F(BrowserWindow, TheListingCountsUnreadableFilesAndThePanelsDescribeTheClickedFile) {
    PalmFileBuilder b;
    b.creator = "memo";
    b.attributes = 0x0048;
    b.recordOffsets = {100, 120, 140};
    b.WriteTo(files.File(QStringLiteral("memo.pdb")));
    files.Write(QStringLiteral("addr.pdb"), PalmBytes("addr"));
    files.Write(QStringLiteral("bad.pdb"), "short");
    files.Write(QStringLiteral("b.zip"), "PK");
    program.Write(
        QStringLiteral("CreatorIDs.ini"),
        "[memo]\r\nProgram=Memo Pad\r\nDescription=Notes\r\nURL=https://example.org/memo\r\n");
    Start(files.Path());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Brisko - ") + Sep(files.Path()));
    // Which rows and how they look is FolderListingTest's and FileListModelTest's part.
    EXPECT_TRUE(w->StatusText().startsWith(QStringLiteral("4 file(s). 1 ")))
        << w->StatusText().toStdString();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << "no message box per listing";
    const QString url = QStringLiteral("https://example.org/memo");

    ClickRow(QStringLiteral("memo.pdb"));
    EXPECT_EQ(w->General->tbxlTitle->text(), QStringLiteral("Memo Pad"));
    EXPECT_EQ(w->General->tbxlFileInfo->text(), QStringLiteral("Notes"));
    EXPECT_EQ(w->General->TBXLink->toolTip(), url);
    Q_EMIT w->General->TBXLink->linkActivated(url);
    EXPECT_EQ(prompts.Opened.last(), QUrl(url));
    EXPECT_EQ(w->DBInfo->DetailValue(0), QStringLiteral("3"));
    EXPECT_EQ(Creator(), QStringLiteral("memo"));
    EXPECT_TRUE(w->Flags->Boxes[2]->isChecked() && w->Flags->Boxes[5]->isChecked());
    EXPECT_FALSE(w->Flags->Boxes[0]->isChecked());
    EXPECT_EQ(w->StatusText(), QStringLiteral("1 file(s) selected."));

    ClickRow(QStringLiteral("addr.pdb")); // the listing added it with empty texts
    EXPECT_EQ(w->General->tbxlTitle->text(), QStringLiteral("Not specified"));
    EXPECT_EQ(w->General->tbxlFileInfo->text(), QStringLiteral("No description"));
    EXPECT_TRUE(w->General->TBXLink->isHidden());

    ClickRow(QStringLiteral("b.zip"));
    EXPECT_EQ(w->General->tbxlTitle->text() + w->DBInfo->DetailValue(0), QString());

    ClickRow(QStringLiteral("memo.pdb"));
    ClickRow(QStringLiteral("bad.pdb"));
    EXPECT_EQ(prompts.Messages, QStringList{QStringLiteral("bad.pdb: Error reading file")});
    EXPECT_EQ(Creator(), QString());

    // A file no listing has read: no catalogue entry, nothing of the last file stays.
    ClickRow(QStringLiteral("memo.pdb"));
    w->ShowDetails(files.Write(QStringLiteral("new.pdb"), PalmBytes("nEw!")));
    EXPECT_EQ(w->General->tbxlTitle->text(), QString());
    EXPECT_TRUE(w->General->TBXLink->isHidden());
    EXPECT_EQ(Creator(), QStringLiteral("nEw!"));
}

TEST_F(BrowserWindow, HeaderClicksSortAndArrowKeysShowTheRowToCome) {
    const std::tuple<const char*, const char*, int, int> rows[] = {{"b.pdb", "mmmm", 25000, 2005},
                                                                   {"C.pdb", "AAAA", 1000, 2007},
                                                                   {"a.pdb", "zzzz", 999, 2006},
                                                                   {"d.pdb", "dddd", 2000, 2004}};
    for (const auto& [name, creator, size, year] : rows)
        files.Write(QString::fromLatin1(name), PalmBytes(creator, size),
                    QDateTime(QDate(year, 1, 1), QTime(10, 0)));
    Start(files.Path());

    ClickHeader(2);
    EXPECT_EQ(Texts(2), Words("999 1.000 2.000 25.000"));
    ClickHeader(2); // the same column again: descending
    EXPECT_EQ(Texts(2), Words("25.000 2.000 1.000 999"));
    ClickHeader(0); // another column keeps the direction
    EXPECT_EQ(Names(), Words("d.pdb C.pdb b.pdb a.pdb")) << "without regard to case";
    ClickHeader(3);
    EXPECT_EQ(Names(), Words("C.pdb a.pdb b.pdb d.pdb"));
    w->TBXItem1->trigger(); // lists unsorted; the kept column reverses at the next click
    ClickHeader(3);
    EXPECT_EQ(Names(), Words("d.pdb b.pdb a.pdb C.pdb"));

    w->FileList()->setFocus();
    ClickRow(QStringLiteral("b.pdb"));
    const struct {
        Qt::Key key;
        const char* shown;
    } keys[] = {{Qt::Key_Down, "zzzz"}, {Qt::Key_Up, "mmmm"},   {Qt::Key_End, "AAAA"},
                {Qt::Key_Down, "AAAA"}, {Qt::Key_Home, "dddd"}, {Qt::Key_Up, "dddd"}};
    for (const auto& k : keys) {
        QTest::keyClick(w->FileList(), k.key);
        EXPECT_EQ(Creator(), QLatin1String(k.shown)) << k.key;
    }
    w->MISelectAll->trigger();
    EXPECT_EQ(w->StatusText(), QStringLiteral("4 file(s) selected."));
}

TEST_F(BrowserWindow, FavoritesAndOneLevelUpListTheirFolder) {
    const QString folder = files.MakeFolder(QStringLiteral("Backup"));
    files.Write(QStringLiteral("Backup/x.pdb"), PalmBytes("xxxx"));
    files.Write(QStringLiteral("top.pdb"), PalmBytes("topp"));
    Start(folder);
    QAction* add = w->MIFavorites->actions().first();
    add->trigger();
    add->trigger();
    ASSERT_EQ(w->MIFavorites->actions().size(), 3);
    EXPECT_EQ(w->MIFavorites->actions()[1]->text(), QDir::toNativeSeparators(folder));

    ClickRow(QStringLiteral("x.pdb"));
    w->TBXItem14->trigger(); // One level up clears the panels
    EXPECT_EQ(w->CurrentFolder(), Sep(files.Path()));
    EXPECT_TRUE(Names().contains(QStringLiteral("top.pdb")));
    EXPECT_EQ(Creator(), QString());
    EXPECT_EQ(w->TreeFolder(), QDir::toNativeSeparators(files.Path()));

    w->MIFavorites->actions()[2]->trigger();
    EXPECT_EQ(w->CurrentFolder(), Sep(folder));
    EXPECT_EQ(Names(), Words("x.pdb"));
    EXPECT_EQ(w->TreeFolder(), QDir::toNativeSeparators(folder));
    Close();
    Start();
    ASSERT_EQ(w->MIFavorites->actions().size(), 3);
    EXPECT_EQ(w->MIFavorites->actions()[2]->text(), QDir::toNativeSeparators(folder));
}

TEST_F(BrowserWindow, TheStartFolderFollowsTheTreeOnlyWhenRemembering) {
    const QString first = files.MakeFolder(QStringLiteral("first"));
    const QString second = files.MakeFolder(QStringLiteral("second"));
    for (const bool remember : {true, false}) {
        program.Write(QStringLiteral("Brisko.ini"), "[Brisko]\nStartPath=" + first.toUtf8());
        Start();
        EXPECT_EQ(w->CurrentFolder(), Sep(first));
        w->Settings().RememberLastDirectory = remember;
        w->ListFolder(second);
        Close();
        EXPECT_EQ(Saved("Brisko", "StartPath"), remember ? second : first);
    }
}
