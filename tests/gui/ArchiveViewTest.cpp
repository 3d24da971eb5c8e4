// The archive view through the real window: a double-click opens an archive in the list,
// each row describes its own entry, a damaged entry keeps its marked row, the file
// commands are off, Refresh lists the archive again, One level up and the tree leave it.
#include "WindowFixture.h"
#include "gui/DetailsPanels.h"
#include "gui/FolderTreeView.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>

namespace {

class ArchiveView : public WindowFixture {
protected:
    // a.pdb, docs/readme.txt, sub\b.prc (stored with a backslash), x/c.pdb and y/c.pdb
    // of different creators, a file too short for a header, and a damaged entry; an
    // install tool that would be offered outside the archive.
    void OpenBackup() {
        files.Write(QStringLiteral("keep.pdb"), PalmBytes("keep"));
        program.Write(QStringLiteral("Brisko.ini"),
                      "[Brisko]\nInstallTool=" +
                          files.Write(QStringLiteral("t.exe"), "MZ").toUtf8());
        DamageEntry(ZipBuilder()
                        .Add("a.pdb", PalmBytes("aaaa", 1536))
                        .Add("docs/readme.txt", "text")
                        .Add("sub\\b.prc", PalmBytes("bbbb", 800))
                        .Add("x/c.pdb", PalmBytes("xxxx", 100))
                        .Add("y/c.pdb", PalmBytes("yyyy", 200))
                        .Add("short.pdb", "short")
                        .Add("damaged.pdb", QByteArray(5000, 'd'))
                        .WriteTo(files.File(QStringLiteral("Backup.ZIP"))),
                    "damaged.pdb");
        Start(files.Path());
        DoubleClickRow(QStringLiteral("Backup.ZIP"));
        ASSERT_TRUE(w->ArchiveView());
    }
    QStringList FilesInTemp() const {
        QStringList found;
        QDirIterator it(TempFolderPath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }
    static QString Native(const char* name) {
        return QDir::toNativeSeparators(QString::fromLatin1(name));
    }
    QString Creator() const { return w->DBInfo->DetailValue(2); }
};

} // namespace

TEST_F(ArchiveView, EachPalmEntryDescribesItsOwnCopyWhichShutDownRemoves) {
    OpenBackup();
    // Five copies and the marker of their folder.
    EXPECT_EQ(FilesInTemp().size(), 6) << FilesInTemp().join(u' ').toStdString();
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("a.pdb"), Native("sub/b.prc"), Native("x/c.pdb"),
                                    Native("y/c.pdb"), QStringLiteral("short.pdb"),
                                    QStringLiteral("damaged.pdb")}));
    EXPECT_EQ(Texts(1).mid(0, 4), Words("aaaa bbbb xxxx yyyy"));
    EXPECT_EQ(Texts(2).mid(0, 2),
              (QStringList{QStringLiteral("1.5 KB"), QStringLiteral("800 Bytes")}));
    EXPECT_NE(w->Catalogue().FindLink("yyyy"), -1) << "new creators join the catalogue";
    for (const int row : {4, 5}) {
        EXPECT_EQ(w->FileModel().Row(row).Icon, RowIcon::Unreadable);
        EXPECT_FALSE(w->FileModel().index(row, 0).data(Qt::ToolTipRole).toString().isEmpty());
    }
    EXPECT_TRUE(w->StatusText().startsWith(QStringLiteral("6 file(s). 2 ")))
        << w->StatusText().toStdString();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << "a bad entry is marked, not a message box";
    for (QAction* command : {w->MICopy, w->MIMove, w->MIDelete, w->MIInstall})
        EXPECT_FALSE(command->isEnabled()) << command->text().toStdString();

    // x/c.pdb and y/c.pdb share a file name but not a copy.
    ClickRow(Native("y/c.pdb"));
    EXPECT_EQ(Creator(), QStringLiteral("yyyy"));
    ClickRow(Native("x/c.pdb"));
    EXPECT_EQ(Creator(), QStringLiteral("xxxx"));
    w->MIOpen->trigger();
    DoubleClickRow(Native("y/c.pdb")); // opens the copy; the view stays
    EXPECT_TRUE(w->ArchiveView());
    ASSERT_EQ(prompts.Opened.size(), 2);
    const QString opened = prompts.Opened[0].toLocalFile();
    EXPECT_TRUE(opened.startsWith(TempFolderPath())) << opened.toStdString();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("c.pdb"));
    EXPECT_EQ(Read(opened), PalmBytes("xxxx", 100));
    EXPECT_EQ(Read(prompts.Opened[1].toLocalFile()), PalmBytes("yyyy", 200));

    // The damaged entry was never extracted: its row tells why.
    ClickRow(QStringLiteral("damaged.pdb"));
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(prompts.Messages[0].startsWith(QStringLiteral("damaged.pdb: ")))
        << prompts.Messages[0].toStdString();
    EXPECT_EQ(Creator(), QString());
    for (const QString& file : FilesInTemp())
        EXPECT_FALSE(file.endsWith(QLatin1String("readme.txt"))) << "other entries stay packed";

    const QString mine = program.Write(QStringLiteral("Temp/mine.pdb"), "mine");
    program.MakeFolder(QStringLiteral("Temp/d.pdb"));
    Close();
    EXPECT_EQ(FilesInTemp(), QStringList{mine});
    EXPECT_EQ(QDir(TempFolderPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              Words("d.pdb mine.pdb"));
}

TEST_F(ArchiveView, RefreshReadsTheArchiveAgainOneLevelUpAndTheTreeLeaveIt) {
    OpenBackup();
    ZipBuilder()
        .Add("new.pdb", PalmBytes("neww"))
        .WriteTo(files.File(QStringLiteral("Backup.ZIP")));
    w->TBXItem1->trigger();
    EXPECT_TRUE(w->ArchiveView());
    EXPECT_EQ(Names(), Words("new.pdb"));

    // Del does nothing here, whichever way it comes.
    Select(Words("new.pdb"));
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Delete);
    w->DeleteSelectedFiles();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(Names(), Words("new.pdb"));

    w->TBXItem14->trigger();
    EXPECT_FALSE(w->ArchiveView());
    EXPECT_EQ(w->CurrentFolder(), files.Path() + QDir::separator());
    EXPECT_TRUE(Names().contains(QStringLiteral("keep.pdb")));
    for (QAction* command : {w->MICopy, w->MIMove, w->MIDelete, w->MIInstall})
        EXPECT_TRUE(command->isEnabled()) << command->text().toStdString();

    // A click on the folder the tree already shows also leaves the view.
    DoubleClickRow(QStringLiteral("Backup.ZIP"));
    ASSERT_TRUE(w->ArchiveView());
    QTreeView* tree = w->FolderTree();
    tree->scrollTo(tree->currentIndex());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(tree->currentIndex()).center());
    EXPECT_FALSE(w->ArchiveView());
    EXPECT_TRUE(Names().contains(QStringLiteral("keep.pdb")));
}

TEST_F(ArchiveView, ArchivesThatCannotBeOpenedLeaveTheFolderAsItWasAndSayWhy) {
    files.Write(QStringLiteral("keep.pdb"), PalmBytes("keep"));
    files.Write(QStringLiteral("text.zip"), "not an archive");
    // libzip writes no file for an archive without entries: its end record alone.
    files.Write(QStringLiteral("empty.zip"), QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    ZipBuilder().AddFolder("only/").WriteTo(files.File(QStringLiteral("folders.zip")));
    Start(files.Path());
    const QStringList before = Names();
    for (const QString& name : Words("text.zip empty.zip folders.zip")) {
        SCOPED_TRACE(name.toStdString());
        prompts.Messages.clear();
        DoubleClickRow(name);
        EXPECT_FALSE(w->ArchiveView());
        EXPECT_EQ(Names(), before);
        ASSERT_EQ(prompts.Messages.size(), 1);
        EXPECT_TRUE(prompts.Messages[0].contains(name)) << prompts.Messages[0].toStdString();
        EXPECT_TRUE(w->MICopy->isEnabled());
    }
}

TEST_F(ArchiveView, DroppedRowsCopyTheirExtractedFilesOutOfTheArchive) {
    OpenBackup();
    const QString target = files.MakeFolder(QStringLiteral("out"));
    Select({QStringLiteral("a.pdb"), Native("sub/b.prc"), QStringLiteral("damaged.pdb")});
    prompts.ConfirmAnswers = {true};
    Q_EMIT qobject_cast<FolderTreeView*>(w->FolderTree())->FilesDropped(target);
    QTest::qWait(0); // the drop is handled once the drag has ended
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Copy selected files?")});
    EXPECT_EQ(Read(target + QStringLiteral("/a.pdb")), PalmBytes("aaaa", 1536));
    EXPECT_EQ(Read(target + QStringLiteral("/b.prc")), PalmBytes("bbbb", 800));
    ASSERT_EQ(prompts.Messages.size(), 1) << "the damaged entry is reported";
    EXPECT_TRUE(prompts.Messages[0].contains(QStringLiteral("damaged.pdb: ")));
    EXPECT_TRUE(w->ArchiveView());
    EXPECT_EQ(Names().size(), 6) << "a copy keeps its rows";
    EXPECT_TRUE(w->SelectedRows().isEmpty());
}

TEST_F(ArchiveView, AStartRemovesWhatAKilledRunLeftAndNothingElse) {
    const QString archivePath = ZipBuilder()
                                    .Add("a.pdb", PalmBytes("aaaa"))
                                    .WriteTo(files.File(QStringLiteral("Backup.zip")));
    {
        // A run that ended without shutting down: its copies stay, held by nobody.
        ExtractionFolder killed(TempFolderPath() + u'/');
        ZipArchive archive;
        ASSERT_TRUE(archive.Open(archivePath));
        ASSERT_TRUE(killed.Extract(archive, archive.Entries()[0], 1).Error.isEmpty());
    }
    ASSERT_EQ(FilesInTemp().size(), 2);
    program.Write(QStringLiteral(".brisko-k3j2.part"), "half a settings file");
    program.Write(QStringLiteral("Temp/mine.pdb"), "mine");
    program.Write(QStringLiteral(".brisko-notes.txt"), "mine");

    Start(files.Path());
    EXPECT_EQ(QDir(TempFolderPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              Words("mine.pdb"));
    EXPECT_FALSE(QFileInfo::exists(program.File(QStringLiteral(".brisko-k3j2.part"))));
    EXPECT_TRUE(QFileInfo::exists(program.File(QStringLiteral(".brisko-notes.txt"))));
}
