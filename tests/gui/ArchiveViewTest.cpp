// The archive view through the real window: a double-click opens an archive in the list,
// each row describes its own entry, a damaged entry keeps its marked row, the file
// commands are off, Refresh lists the archive again, One level up and the tree leave it.
#include "WindowFixture.h"
#include "browser/DetailsPanels.h"
#include "browser/FolderTreeView.h"
#include "support/ZipBuilder.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>

namespace {

class ArchiveView : public WindowFixture {
protected:
    QString sep = QDir::separator();
    QString SubB() const { return QStringLiteral("sub") + sep + QStringLiteral("b.prc"); }
    QString XC() const { return QStringLiteral("x") + sep + QStringLiteral("c.pdb"); }
    QString YC() const { return QStringLiteral("y") + sep + QStringLiteral("c.pdb"); }

    // a.pdb, docs/readme.txt, sub\b.prc (stored with a backslash), x/c.pdb and y/c.pdb
    // of different creators, a file too short for a header, and a damaged entry.
    QString WriteBackup() {
        files.Write(QStringLiteral("keep.pdb"), PalmBytes("keep"));
        const QString path = ZipBuilder()
                                 .Add("a.pdb", PalmBytes("aaaa", 1536))
                                 .Add("docs/readme.txt", "text")
                                 .Add("sub\\b.prc", PalmBytes("bbbb", 800))
                                 .Add("x/c.pdb", PalmBytes("xxxx", 100))
                                 .Add("y/c.pdb", PalmBytes("yyyy", 200))
                                 .Add("short.pdb", "short")
                                 .Add("damaged.pdb", QByteArray(5000, 'd'))
                                 .WriteTo(files.File(QStringLiteral("Backup.ZIP")));
        DamageEntry(path, "damaged.pdb");
        return path;
    }
    void OpenBackup() {
        WriteBackup();
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
};

} // namespace

TEST_F(ArchiveView, EachPalmEntryIsListedInOrderAndDescribesItsOwnCopy) {
    OpenBackup();
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("a.pdb"), SubB(), XC(), YC(),
                                    QStringLiteral("short.pdb"), QStringLiteral("damaged.pdb")}));
    EXPECT_EQ(Column(0, 1), QStringLiteral("aaaa"));
    EXPECT_EQ(Column(0, 2), QStringLiteral("1.5 KB"));
    EXPECT_EQ(Column(1, 2), QStringLiteral("800 Bytes"));
    EXPECT_EQ(Column(2, 1), QStringLiteral("xxxx"));
    EXPECT_EQ(Column(3, 1), QStringLiteral("yyyy"));
    EXPECT_NE(w->Catalogue().FindLink("yyyy"), -1) << "new creators join the catalogue";
    for (const QString& bad : {QStringLiteral("short.pdb"), QStringLiteral("damaged.pdb")}) {
        const int row = RowOf(bad);
        EXPECT_EQ(w->FileModel().Row(row).Icon, RowIcon::Unreadable);
        EXPECT_FALSE(w->FileModel().index(row, 0).data(Qt::ToolTipRole).toString().isEmpty());
    }
    EXPECT_TRUE(w->StatusText().startsWith(QStringLiteral("6 file(s). 2 ")))
        << w->StatusText().toStdString();
    EXPECT_TRUE(prompts.Messages.isEmpty()) << "a bad entry is marked, not a message box";
    for (QAction* command : {w->MICopy, w->MIMove, w->MIDelete, w->MIInstall})
        EXPECT_FALSE(command->isEnabled()) << command->text().toStdString();

    // x/c.pdb and y/c.pdb share a file name but not a copy.
    ClickRow(XC());
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("xxxx"));
    ClickRow(YC());
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("yyyy"));
    ClickRow(XC());
    EXPECT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("xxxx"));
    w->MIOpen->trigger();
    ASSERT_EQ(prompts.Opened.size(), 1);
    const QString opened = prompts.Opened[0].toLocalFile();
    EXPECT_TRUE(opened.startsWith(TempFolderPath())) << opened.toStdString();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("c.pdb"));
    EXPECT_EQ(Read(opened), PalmBytes("xxxx", 100));
    DoubleClickRow(YC()); // opens the copy; the view stays
    ASSERT_EQ(prompts.Opened.size(), 2);
    EXPECT_EQ(Read(prompts.Opened[1].toLocalFile()), PalmBytes("yyyy", 200));
    EXPECT_TRUE(w->ArchiveView());

    // The damaged entry was never extracted: its row tells why.
    ClickRow(QStringLiteral("damaged.pdb"));
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(prompts.Messages[0].startsWith(QStringLiteral("damaged.pdb: ")))
        << prompts.Messages[0].toStdString();
    EXPECT_EQ(w->DBInfo->DetailValue(2), QString());
    for (const QString& file : FilesInTemp())
        EXPECT_FALSE(file.endsWith(QLatin1String("readme.txt"))) << "other entries stay packed";
}

TEST_F(ArchiveView, RefreshReadsTheArchiveAgainOneLevelUpAndTheTreeLeaveIt) {
    OpenBackup();
    ZipBuilder()
        .Add("new.pdb", PalmBytes("neww"))
        .WriteTo(files.File(QStringLiteral("Backup.ZIP")));
    w->TBXItem1->trigger();
    EXPECT_TRUE(w->ArchiveView());
    EXPECT_EQ(Names(), QStringList{QStringLiteral("new.pdb")});

    // Del does nothing here, whichever way it comes.
    Select({QStringLiteral("new.pdb")});
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Delete);
    w->DeleteSelectedFiles();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(Names(), QStringList{QStringLiteral("new.pdb")});

    w->TBXItem14->trigger();
    EXPECT_FALSE(w->ArchiveView());
    EXPECT_EQ(w->CurrentFolder(), files.Path() + QDir::separator());
    EXPECT_TRUE(Names().contains(QStringLiteral("keep.pdb")));
    EXPECT_TRUE(w->MICopy->isEnabled() && w->MIMove->isEnabled() && w->MIDelete->isEnabled());

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
    const QString whole = ZipBuilder()
                              .Add("a.pdb", PalmBytes("aaaa", 3000))
                              .WriteTo(files.File(QStringLiteral("whole.zip")));
    QFile source(whole);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray wholeBytes = source.readAll();
    files.Write(QStringLiteral("truncated.zip"), wholeBytes.left(wholeBytes.size() / 2));
    // libzip writes no file for an archive without entries: its end record alone.
    files.Write(QStringLiteral("empty.zip"), QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    ZipBuilder().AddFolder("only/").WriteTo(files.File(QStringLiteral("folders.zip")));
    Start(files.Path());
    const QStringList before = Names();

    for (const char* name : {"text.zip", "truncated.zip", "empty.zip", "folders.zip"}) {
        prompts.Messages.clear();
        DoubleClickRow(QString::fromLatin1(name));
        EXPECT_FALSE(w->ArchiveView()) << name;
        EXPECT_EQ(Names(), before) << name;
        ASSERT_EQ(prompts.Messages.size(), 1) << name;
        EXPECT_TRUE(prompts.Messages[0].contains(QString::fromLatin1(name)))
            << prompts.Messages[0].toStdString();
        EXPECT_TRUE(w->MICopy->isEnabled());
    }
}

TEST_F(ArchiveView, DroppedRowsCopyTheirExtractedFilesOutOfTheArchive) {
    OpenBackup();
    const QString target = files.MakeFolder(QStringLiteral("out"));
    Select({QStringLiteral("a.pdb"), SubB(), QStringLiteral("damaged.pdb")});
    prompts.ConfirmAnswers = {true};
    auto* tree = qobject_cast<FolderTreeView*>(w->FolderTree());
    ASSERT_NE(tree, nullptr);
    Q_EMIT tree->FilesDropped(target);
    QTest::qWait(0); // the drop is handled once the drag has ended
    QCoreApplication::processEvents();

    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Copy selected files?")});
    EXPECT_EQ(Read(target + QStringLiteral("/a.pdb")), PalmBytes("aaaa", 1536));
    EXPECT_EQ(Read(target + QStringLiteral("/b.prc")), PalmBytes("bbbb", 800));
    ASSERT_EQ(prompts.Messages.size(), 1) << "the damaged entry is reported";
    EXPECT_TRUE(prompts.Messages[0].contains(QStringLiteral("damaged.pdb: ")));
    EXPECT_TRUE(w->ArchiveView());
    EXPECT_EQ(Names().size(), 6) << "a copy keeps its rows";
    EXPECT_TRUE(w->SelectedRows().isEmpty());
}

TEST_F(ArchiveView, ShutDownRemovesTheExtractedCopiesAndNothingElse) {
    OpenBackup();
    EXPECT_EQ(FilesInTemp().size(), 5) << FilesInTemp().join(u' ').toStdString();
    const QString mine = program.Write(QStringLiteral("Temp/mine.pdb"), "mine");
    w->close();
    w.reset();
    EXPECT_EQ(FilesInTemp(), QStringList{mine});
    EXPECT_EQ(QDir(TempFolderPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("mine.pdb")});
}
