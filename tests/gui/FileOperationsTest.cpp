// Copy, move, delete to the trash, open and install through the real window.
#include "WindowFixture.h"
#include "dialogs/TFDialog.h"
#include "gui/DetailsPanels.h"
#include "gui/FolderTreeView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

class FileOperations : public WindowFixture {
protected:
    QString target = files.MakeFolder(QStringLiteral("target"));

    // The folder view lists in file-system order, so sort by name.
    void StartWithFiles(const QStringList& names) {
        for (const QString& name : names)
            files.Write(name, "new " + name.toUtf8());
        Start(files.Path());
        w->FileModel().sort(0, Qt::AscendingOrder);
    }
    // Answers the Copy/Move dialog: does something to it, then clicks a button.
    void Answer(const std::function<void(TFDialog&)>& fill) {
        prompts.DialogAnswers = {[fill](QDialog* dialog) {
            fill(*qobject_cast<TFDialog*>(dialog));
            return dialog->result();
        }};
    }
    // The given target typed into the field, then OK.
    void AnswerTarget(const QString& folder) {
        Answer([folder](TFDialog& d) {
            d.EPfad->setText(folder);
            d.BOK->setEnabled(true); // as after a browse
            d.BOK->click();
        });
    }
    void Drop() {
        Q_EMIT qobject_cast<FolderTreeView*>(w->FolderTree())->FilesDropped(target);
        QTest::qWait(0); // the drop is handled once the drag has ended
        QCoreApplication::processEvents();
    }
    QByteArray Target(const char* name) const { return Read(target + u'/' + QLatin1String(name)); }
    QByteArray Source(const char* name) const { return Read(files.File(QLatin1String(name))); }
};

} // namespace

TEST_F(FileOperations, CopyAsksOnlyForExistingTargetsAndTheDialogOffersTheLastFolder) {
    for (const char* existing : {"a.pdb", "c.pdb", "d.pdb"})
        files.Write(QStringLiteral("target/") + QLatin1String(existing), "old");
    StartWithFiles(Words("a.pdb b.pdb c.pdb d.pdb"));
    w->MICopy->trigger();
    EXPECT_TRUE(prompts.DialogsShown.isEmpty()) << "no selection: no dialog";

    w->SelectAll();
    QString shown;
    bool okEnabled = true;
    Answer([&](TFDialog& d) {
        shown = d.windowTitle() + d.EPfad->text();
        okEnabled = d.BOK->isEnabled();
        d.Button2->click();
    });
    w->MIMove->trigger();
    EXPECT_EQ(prompts.DialogsShown, QStringList{QStringLiteral("TFDialog")});
    EXPECT_EQ(shown, QStringLiteral("Move"));
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(Names().size(), 4) << "Cancel changes nothing";

    prompts.OverwriteAnswers = {OverwriteAnswer::No, OverwriteAnswer::YesToAll};
    AnswerTarget(target); // without its separator
    w->MICopy->trigger();
    EXPECT_EQ(prompts.Questions,
              (QStringList{QStringLiteral("File \"a.pdb\" already exists. Overwrite?"),
                           QStringLiteral("File \"c.pdb\" already exists. Overwrite?")}));
    EXPECT_EQ(Target("a.pdb") + Target("b.pdb") + Target("c.pdb") + Target("d.pdb"),
              QByteArray("oldnew b.pdbnew c.pdbnew d.pdb"));
    EXPECT_EQ(Names(), Words("a.pdb b.pdb c.pdb d.pdb")) << "a copy keeps every row";
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    EXPECT_TRUE(prompts.Messages.isEmpty());

    Select(Words("a.pdb"));
    Answer([&](TFDialog& d) {
        shown = d.EPfad->text();
        okEnabled = d.BOK->isEnabled();
        d.EPfad->clear();
        d.BOK->click();
    });
    w->MICopy->trigger();
    EXPECT_EQ(shown, target);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(w->LastTargetFolder(), QString()) << "OK on an empty target copies nothing";
    EXPECT_EQ(prompts.Questions.size(), 2);
}

TEST_F(FileOperations, ATypedRelativeTargetLiesInTheListedFolderAndIsOfferedAgainAsTyped) {
    StartWithFiles(Words("a.pdb b.pdb"));
    const struct {
        const char* typed;
        bool copy;
        const char* file;
        QStringList rowsAfter;
    } runs[] = {
        {"target", true, "a.pdb", Words("a.pdb b.pdb")},
        {"./target/", false, "b.pdb", Words("a.pdb")},
    };
    for (const auto& run : runs) {
        Select(Words(run.file));
        AnswerTarget(QLatin1String(run.typed));
        (run.copy ? w->MICopy : w->MIMove)->trigger();
        EXPECT_EQ(Target(run.file), "new " + QByteArray(run.file)) << run.typed;
        EXPECT_EQ(Names(), run.rowsAfter) << run.typed;
        EXPECT_TRUE(prompts.Messages.isEmpty()) << run.typed;
        EXPECT_EQ(w->LastTargetFolder(), QLatin1String(run.typed));
    }
}

TEST_F(FileOperations, MoveRemovesMovedRowsAndReportsWhatStayedOnceWithTheCause) {
    StartWithFiles(Words("a.pdb b.pdb c.pdb d.pdb"));
    files.Write(QStringLiteral("target/b.pdb"), "old");
    QFile::remove(files.File(QStringLiteral("c.pdb"))); // gone behind the window's back
    w->SelectAll();
    prompts.OverwriteAnswers = {OverwriteAnswer::No};
    AnswerTarget(target + u'/');
    w->MIMove->trigger();
    EXPECT_EQ(Names(), Words("b.pdb c.pdb"));
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    EXPECT_EQ(Target("a.pdb") + Target("b.pdb"), QByteArray("new a.pdbold"));
    EXPECT_EQ(Source("a.pdb"), QByteArray("<missing>"));
    EXPECT_EQ(prompts.Messages,
              QStringList{
                  QStringLiteral("These files were not moved:\nc.pdb: No such file or directory")});
    EXPECT_EQ(prompts.Questions.size(), 1) << "the missing file brings no question";

    // Into the listed folder itself: nothing moves, the row stays.
    prompts.Messages.clear();
    Select({QStringLiteral("b.pdb")});
    AnswerTarget(files.Path());
    w->MIMove->trigger();
    EXPECT_EQ(Names(), Words("b.pdb c.pdb"));
    EXPECT_EQ(Source("b.pdb"), QByteArray("new b.pdb"));
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(
        prompts.Messages[0].contains(QStringLiteral("b.pdb: the target is the file itself")));
}

TEST_F(FileOperations, ADropOnATreeFolderAsksOnceAndAlwaysCopies) {
    StartWithFiles(Words("a.pdb b.pdb c.pdb"));
    Select({QStringLiteral("b.pdb")});
    prompts.ConfirmAnswers = {false};
    Drop();
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Copy \"b.pdb\"")});
    EXPECT_EQ(Target("b.pdb"), QByteArray("<missing>"));

    w->SelectAll();
    prompts.ConfirmAnswers = {true};
    Drop();
    EXPECT_EQ(prompts.Questions.last(), QStringLiteral("Copy selected files?"));
    EXPECT_EQ(Target("c.pdb"), QByteArray("new c.pdb"));
    EXPECT_EQ(Names().size(), 3);
    EXPECT_EQ(w->LastTargetFolder(), QString()) << "a drop is no dialog";
}

TEST_F(FileOperations, DeletedFilesGoToTheTrashFromWhereTheyCanBeRestored) {
    // The trash of the files' own file system: the home folder beside the files.
    const QString home = files.MakeFolder(QStringLiteral("home/.local/share"));
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(files.File(QStringLiteral("home"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    StartWithFiles(Words("a.pdb b.pdb c.pdb d.pdb"));

    Select({QStringLiteral("b.pdb")});
    prompts.ConfirmAnswers = {false};
    w->MIDelete->trigger();
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Move \"b.pdb\" to trash?")});
    EXPECT_EQ(Source("b.pdb"), QByteArray("new b.pdb"));

    Select(Words("b.pdb c.pdb d.pdb"));
    QFile::remove(files.File(QStringLiteral("c.pdb"))); // gone behind the window's back
    prompts.ConfirmAnswers = {true};
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Delete);
    EXPECT_EQ(prompts.Questions.last(), QStringLiteral("Move selected files to trash?"));
    EXPECT_EQ(Names(), Words("a.pdb c.pdb"));
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    EXPECT_EQ(prompts.Messages, QStringList{QStringLiteral("These files were not moved to the "
                                                           "trash:\nc.pdb: it no longer exists")});

    // Restored as the desktop's trash does it: the info file names the original place.
    const QString trash = home + QStringLiteral("/Trash");
    const QString info = QString::fromUtf8(Read(trash + QStringLiteral("/info/b.pdb.trashinfo")));
    EXPECT_TRUE(info.contains(
        QStringLiteral("Path=") +
        QString::fromUtf8(QUrl::toPercentEncoding(files.File(QStringLiteral("b.pdb")), "/"))))
        << info.toStdString();
    EXPECT_EQ(Read(trash + QStringLiteral("/files/b.pdb")), QByteArray("new b.pdb"));
    EXPECT_EQ(Read(trash + QStringLiteral("/files/d.pdb")), QByteArray("new d.pdb"));
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
}

TEST_F(FileOperations, OpenAndDoubleClickOpenTheTopmostFileWithItsProgram) {
    StartWithFiles(Words("a.pdb b.pdb c.pdb"));
    auto url = [&](const char* name) {
        return QUrl::fromLocalFile(files.File(QLatin1String(name)));
    };
    Select(Words("c.pdb b.pdb"));
    w->MIOpen->trigger();
    EXPECT_EQ(prompts.Opened, QList<QUrl>{url("b.pdb")});
    EXPECT_EQ(w->SelectedRows(), (QList<int>{1, 2})) << "the selection stays";
    DoubleClickRow(QStringLiteral("a.pdb"));
    Select(Words("c.pdb"));
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Return);
    EXPECT_EQ(prompts.Opened, (QList<QUrl>{url("b.pdb"), url("a.pdb"), url("c.pdb")}));
}

TEST_F(FileOperations, InstallHandsTheSelectedPathsToTheToolInItsForm) {
    // A Wine that writes down what it was asked to start, and a prefix whose only drive
    // is Wine's usual Z: for the whole file system.
    TempFolder wine;
    const QString recorder = wine.Write(
        QStringLiteral("wine"),
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/part\"\n"
        "mv \"$(dirname \"$0\")/part\" \"$(dirname \"$0\")/args\"\n");
    QFile::setPermissions(recorder, QFile::permissions(recorder) | QFile::ExeOwner);
    QDir().mkpath(wine.File(QStringLiteral("prefix/dosdevices")));
    QFile::link(QStringLiteral("/"), wine.File(QStringLiteral("prefix/dosdevices/z:")));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(wine.Path()) + ":/usr/bin:/bin");
    qputenv("WINEPREFIX", QFile::encodeName(wine.File(QStringLiteral("prefix"))));
    auto recorded = [&] {
        const QString file = wine.File(QStringLiteral("args"));
        if (!QTest::qWaitFor([&] { return QFile::exists(file); }, 10000))
            return QStringList{QStringLiteral("<not started>")};
        QStringList lines = QString::fromUtf8(Read(file)).split(u'\n');
        QFile::remove(file);
        lines.removeLast();
        return lines;
    };
    auto windowsPath = [&](const char* name) -> QString {
        return QStringLiteral("Z:") + files.File(QLatin1String(name)).replace(u'/', u'\\');
    };

    StartWithFiles(
        {QStringLiteral("My file.pdb"), QStringLiteral("other one.prc"), QStringLiteral("z.pdb")});
    const QString first = windowsPath("My file.pdb"), second = windowsPath("other one.prc");
    // PInstall takes each path quoted; which tools do is InstallCommandTest's part.
    const QString tool = files.Write(QStringLiteral("tools/PInstall.exe"), "MZ");
    w->Settings().InstallTool = tool;
    w->UpdateInstallCommands();
    Select({QStringLiteral("other one.prc"), QStringLiteral("My file.pdb")});
    prompts.ConfirmAnswers = {true}; // they are no Palm databases: installed all the same
    w->MIInstall->trigger();
    EXPECT_EQ(recorded(), (QStringList{tool, first, second}));
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    EXPECT_EQ(Names().size(), 3);
    EXPECT_TRUE(prompts.Messages.isEmpty());

    qputenv("PATH", "/nonexistent"); // without Wine the tool cannot start: the user is told
    Select(Words("z.pdb"));
    prompts.ConfirmAnswers = {true};
    w->MIInstall->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(prompts.Messages[0].contains(QStringLiteral("Wine")))
        << prompts.Messages[0].toStdString();
    qputenv("PATH", oldPath);
    qunsetenv("WINEPREFIX");
}

// The details describe no file that left the list; a copy leaves them as they were.
TEST_F(FileOperations, TheDetailsOfAMovedOrTrashedFileAreCleared) {
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    const QString home = files.MakeFolder(QStringLiteral("home/.local/share"));
    qputenv("HOME", QFile::encodeName(files.File(QStringLiteral("home"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    for (const char* name : {"a.pdb", "b.pdb", "c.pdb"})
        files.Write(QLatin1String(name), PalmFileBytes("Brsk"));
    Start(files.Path());
    w->FileModel().sort(0, Qt::AscendingOrder);
    const struct {
        const char* file;
        std::function<void()> command;
        bool cleared;
    } cases[] = {
        {"a.pdb",
         [&] {
             AnswerTarget(target);
             w->MICopy->trigger();
         },
         false},
        {"a.pdb",
         [&] {
             AnswerTarget(target + QStringLiteral("/moved"));
             QDir().mkpath(target + QStringLiteral("/moved"));
             w->MIMove->trigger();
         },
         true},
        {"b.pdb",
         [&] {
             prompts.ConfirmAnswers = {true};
             w->MIDelete->trigger();
         },
         true},
    };
    for (const auto& c : cases) {
        Select({QLatin1String(c.file)});
        w->ShowDetails(files.File(QLatin1String(c.file)));
        ASSERT_EQ(w->DBInfo->DetailValue(2), QStringLiteral("Brsk")) << c.file;
        c.command();
        EXPECT_EQ(w->DBInfo->DetailValue(2).isEmpty(), c.cleared) << c.file << c.cleared;
    }
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
}
