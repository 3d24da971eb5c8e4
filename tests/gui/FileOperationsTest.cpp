// Copy, move, delete to the trash, open and install through the real window.
#include "WindowFixture.h"
#include "browser/FolderTreeView.h"
#include "dialogs/TFDialog.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>

namespace {

class FileOperations : public WindowFixture {
protected:
    QString target = files.MakeFolder(QStringLiteral("target"));

    // Three files; the folder view lists them in file-system order, so sort by name.
    void StartWithFiles(const QStringList& names) {
        for (const QString& name : names)
            files.Write(name, "new " + name.toUtf8());
        Start(files.Path());
        w->FileModel().sort(0, Qt::AscendingOrder);
    }
    // The dialog's answer: the given target typed into the field, then OK.
    static std::function<int(QDialog*)> TypeAndOk(const QString& folder) {
        return [folder](QDialog* dialog) {
            auto* copyMove = qobject_cast<TFDialog*>(dialog);
            copyMove->EPfad->setText(folder);
            copyMove->BOK->setEnabled(true); // as after a browse
            copyMove->BOK->click();
            return dialog->result();
        };
    }
    QByteArray Target(const QString& name) const { return Read(target + u'/' + name); }
};

} // namespace

TEST_F(FileOperations, CopyToAsksOnlyForExistingTargetsAndEachAnswerHoldsForTheRun) {
    using A = OverwriteAnswer;
    const QStringList names{QStringLiteral("a.pdb"), QStringLiteral("b.pdb"),
                            QStringLiteral("c.pdb"), QStringLiteral("d.pdb")};
    const struct {
        std::deque<A> answers;
        int questions;
        QList<bool> replaced; // a, c, d
    } cases[] = {
        {{A::Yes, A::No, A::Yes}, 3, {true, false, true}},
        {{A::No, A::YesToAll}, 2, {false, true, true}},
        {{A::NoToAll}, 1, {false, false, false}},
        {{A::YesToAll}, 1, {true, true, true}},
    };
    StartWithFiles(names);
    for (const auto& c : cases) {
        for (const char* existing : {"a.pdb", "c.pdb", "d.pdb"})
            files.Write(QStringLiteral("target/") + QLatin1String(existing), "old");
        QFile::remove(target + QStringLiteral("/b.pdb"));
        prompts.Questions.clear();
        prompts.OverwriteAnswers = c.answers;
        prompts.DialogAnswers = {TypeAndOk(target)};
        w->SelectAll();
        w->MICopy->trigger();

        ASSERT_EQ(prompts.Questions.size(), c.questions);
        EXPECT_EQ(prompts.Questions[0],
                  QStringLiteral("File \"a.pdb\" already exists. Overwrite?"));
        EXPECT_EQ(Target(QStringLiteral("b.pdb")), QByteArray("new b.pdb")) << "new: no question";
        EXPECT_EQ(Target(QStringLiteral("a.pdb")), c.replaced[0] ? "new a.pdb" : "old");
        EXPECT_EQ(Target(QStringLiteral("c.pdb")), c.replaced[1] ? "new c.pdb" : "old");
        EXPECT_EQ(Target(QStringLiteral("d.pdb")), c.replaced[2] ? "new d.pdb" : "old");
        EXPECT_EQ(Names(), names) << "a copy keeps every row";
        EXPECT_TRUE(w->SelectedRows().isEmpty());
        EXPECT_TRUE(prompts.Messages.isEmpty());
    }
    EXPECT_EQ(w->LastTargetFolder(), target);
}

TEST_F(FileOperations, TheCopyMoveDialogAndItsRememberedFolder) {
    StartWithFiles({QStringLiteral("a.pdb")});
    // No selection: no dialog.
    w->MICopy->trigger();
    EXPECT_TRUE(prompts.DialogsShown.isEmpty());

    Select({QStringLiteral("a.pdb")});
    QString shownTarget;
    bool okEnabled = true;
    QString title;
    prompts.DialogAnswers = {[&](QDialog* dialog) {
        auto* d = qobject_cast<TFDialog*>(dialog);
        shownTarget = d->EPfad->text();
        okEnabled = d->BOK->isEnabled();
        title = d->windowTitle();
        d->Button2->click();
        return d->result();
    }};
    w->MIMove->trigger();
    EXPECT_EQ(prompts.DialogsShown, QStringList{QStringLiteral("TFDialog")});
    EXPECT_EQ(shownTarget, QString());
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(title, QStringLiteral("Move"));
    EXPECT_EQ(w->LastTargetFolder(), QString()) << "Cancel changes nothing";
    EXPECT_EQ(Names(), QStringList{QStringLiteral("a.pdb")});

    // A folder given without its separator, then offered again with OK enabled.
    prompts.DialogAnswers = {TypeAndOk(target)};
    w->MICopy->trigger();
    EXPECT_EQ(Target(QStringLiteral("a.pdb")), QByteArray("new a.pdb"));
    Select({QStringLiteral("a.pdb")});
    prompts.DialogAnswers = {[&](QDialog* dialog) {
        auto* d = qobject_cast<TFDialog*>(dialog);
        shownTarget = d->EPfad->text();
        okEnabled = d->BOK->isEnabled();
        d->EPfad->clear(); // OK with an empty target copies nothing
        d->BOK->click();
        return d->result();
    }};
    w->MICopy->trigger();
    EXPECT_EQ(shownTarget, target);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(w->LastTargetFolder(), QString());
    EXPECT_TRUE(prompts.Questions.isEmpty());
}

TEST_F(FileOperations, MoveRemovesMovedRowsAndReportsWhatStayedOnceWithTheCause) {
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb"), QStringLiteral("c.pdb"),
                    QStringLiteral("d.pdb")});
    files.Write(QStringLiteral("target/b.pdb"), "old");
    QFile::remove(files.File(QStringLiteral("c.pdb"))); // gone behind the window's back
    w->SelectAll();
    prompts.OverwriteAnswers = {OverwriteAnswer::No};
    prompts.DialogAnswers = {TypeAndOk(target + u'/')};
    w->MIMove->trigger();

    EXPECT_EQ(Names(), (QStringList{QStringLiteral("b.pdb"), QStringLiteral("c.pdb")}));
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    EXPECT_EQ(Target(QStringLiteral("a.pdb")), QByteArray("new a.pdb"));
    EXPECT_EQ(Target(QStringLiteral("b.pdb")), QByteArray("old"));
    EXPECT_FALSE(QFileInfo::exists(files.File(QStringLiteral("a.pdb"))));
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_EQ(prompts.Messages[0],
              QStringLiteral("These files were not moved:\nc.pdb: No such file or directory"));
    EXPECT_EQ(prompts.Questions.size(), 1) << "the missing file brings no question";
}

TEST_F(FileOperations, AMoveToAnotherFileSystemCopiesThenRemoves) {
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb")});
    FileSystemCalls otherDisk = FileSystemCalls::Real();
    otherDisk.Rename = [](const QString&, const QString&, bool) {
        return EXDEV;
    };
    w->SetFileSystemCalls(otherDisk);
    w->SelectAll();
    prompts.DialogAnswers = {TypeAndOk(target)};
    w->MIMove->trigger();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_EQ(Target(QStringLiteral("a.pdb")), QByteArray("new a.pdb"));
    EXPECT_EQ(Target(QStringLiteral("b.pdb")), QByteArray("new b.pdb"));
    EXPECT_FALSE(QFileInfo::exists(files.File(QStringLiteral("a.pdb"))));
    EXPECT_TRUE(prompts.Messages.isEmpty());
}

TEST_F(FileOperations, CopyingOrMovingIntoTheListedFolderChangesNothing) {
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb")});
    for (QAction* command : {w->MICopy, w->MIMove}) {
        prompts.Messages.clear();
        w->SelectAll();
        prompts.OverwriteAnswers = {OverwriteAnswer::YesToAll};
        prompts.DialogAnswers = {TypeAndOk(files.Path())};
        command->trigger();
        EXPECT_EQ(Names(), (QStringList{QStringLiteral("a.pdb"), QStringLiteral("b.pdb")}));
        EXPECT_EQ(Read(files.File(QStringLiteral("a.pdb"))), QByteArray("new a.pdb"));
        EXPECT_EQ(Read(files.File(QStringLiteral("b.pdb"))), QByteArray("new b.pdb"));
        ASSERT_EQ(prompts.Messages.size(), 1);
        EXPECT_TRUE(
            prompts.Messages[0].contains(QStringLiteral("a.pdb: the target is the file itself")));
    }
    EXPECT_TRUE(prompts.Questions.isEmpty());
}

TEST_F(FileOperations, ADropOnATreeFolderAsksOnceAndAlwaysCopies) {
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb"), QStringLiteral("c.pdb")});
    auto* tree = qobject_cast<FolderTreeView*>(w->FolderTree());
    ASSERT_NE(tree, nullptr);
    auto drop = [&] {
        Q_EMIT tree->FilesDropped(target);
        QTest::qWait(0);
        QCoreApplication::processEvents();
    };
    Select({QStringLiteral("b.pdb")});
    prompts.ConfirmAnswers = {false};
    drop();
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Copy \"b.pdb\"")});
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/b.pdb")));

    w->SelectAll();
    prompts.ConfirmAnswers = {true};
    drop();
    EXPECT_EQ(prompts.Questions.last(), QStringLiteral("Copy selected files?"));
    EXPECT_EQ(Target(QStringLiteral("c.pdb")), QByteArray("new c.pdb"));
    EXPECT_EQ(Names().size(), 3);
    EXPECT_EQ(w->LastTargetFolder(), QString()) << "a drop is no dialog";
}

TEST_F(FileOperations, DeletedFilesGoToTheTrashFromWhereTheyCanBeRestored) {
    // The trash of the files' own file system: the home folder beside the files.
    const QString home = files.MakeFolder(QStringLiteral("home"));
    files.MakeFolder(QStringLiteral("home/.local/share"));
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb"), QStringLiteral("c.pdb"),
                    QStringLiteral("d.pdb")});

    Select({QStringLiteral("b.pdb")});
    prompts.ConfirmAnswers = {false};
    w->MIDelete->trigger();
    EXPECT_EQ(prompts.Questions, QStringList{QStringLiteral("Move \"b.pdb\" to trash?")});
    EXPECT_TRUE(QFileInfo::exists(files.File(QStringLiteral("b.pdb"))));

    Select({QStringLiteral("b.pdb"), QStringLiteral("c.pdb"), QStringLiteral("d.pdb")});
    QFile::remove(files.File(QStringLiteral("c.pdb"))); // gone behind the window's back
    prompts.ConfirmAnswers = {true};
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Delete);
    EXPECT_EQ(prompts.Questions.last(), QStringLiteral("Move selected files to trash?"));
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("a.pdb"), QStringLiteral("c.pdb")}));
    EXPECT_TRUE(w->SelectedRows().isEmpty());
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_EQ(
        prompts.Messages[0],
        QStringLiteral("These files were not moved to the trash:\nc.pdb: it no longer exists"));

    // Restored as the desktop's trash does it: the info file names the original place.
    const QString trash = home + QStringLiteral("/.local/share/Trash");
    QFile info(trash + QStringLiteral("/info/b.pdb.trashinfo"));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QString infoText = QString::fromUtf8(info.readAll());
    EXPECT_TRUE(infoText.contains(
        QStringLiteral("Path=") +
        QString::fromUtf8(QUrl::toPercentEncoding(files.File(QStringLiteral("b.pdb")), "/"))))
        << infoText.toStdString();
    ASSERT_TRUE(
        QFile::rename(trash + QStringLiteral("/files/b.pdb"), files.File(QStringLiteral("b.pdb"))));
    EXPECT_EQ(Read(files.File(QStringLiteral("b.pdb"))), QByteArray("new b.pdb"));
    EXPECT_EQ(Read(trash + QStringLiteral("/files/d.pdb")), QByteArray("new d.pdb"));

    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
}

TEST_F(FileOperations, OpenAndDoubleClickOpenTheTopmostFileWithItsProgram) {
    StartWithFiles({QStringLiteral("a.pdb"), QStringLiteral("b.pdb"), QStringLiteral("c.pdb")});
    Select({QStringLiteral("c.pdb"), QStringLiteral("b.pdb")});
    w->MIOpen->trigger();
    EXPECT_EQ(prompts.Opened,
              QList<QUrl>{QUrl::fromLocalFile(files.File(QStringLiteral("b.pdb")))});
    EXPECT_EQ(SelectedNames(), (QStringList{QStringLiteral("b.pdb"), QStringLiteral("c.pdb")}));
    DoubleClickRow(QStringLiteral("a.pdb"));
    EXPECT_EQ(prompts.Opened.last(), QUrl::fromLocalFile(files.File(QStringLiteral("a.pdb"))));
    Select({QStringLiteral("c.pdb")});
    FocusList();
    QTest::keyClick(w->FileList(), Qt::Key_Return);
    EXPECT_EQ(prompts.Opened.last(), QUrl::fromLocalFile(files.File(QStringLiteral("c.pdb"))));
    EXPECT_EQ(prompts.Opened.size(), 3);
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
    const QByteArray winePath = QFile::encodeName(wine.Path()) + ":/usr/bin:/bin";
    qputenv("PATH", winePath);
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
    auto windowsPath = [](QString path) -> QString {
        return QStringLiteral("Z:") + path.replace(u'/', u'\\');
    };

    StartWithFiles(
        {QStringLiteral("My file.pdb"), QStringLiteral("other one.prc"), QStringLiteral("z.pdb")});
    const QString first = windowsPath(files.File(QStringLiteral("My file.pdb")));
    const QString second = windowsPath(files.File(QStringLiteral("other one.prc")));
    const struct {
        const char* tool;
        bool eachQuoted;
    } cases[] = {{"PInstall.exe", true},
                 {"pinstall.exe", true},
                 {"Instapp.exe", false},
                 {"PInstall2.exe", false}};
    for (const auto& c : cases) {
        const QString tool = files.Write(QStringLiteral("tools/") + QLatin1String(c.tool), "MZ");
        w->Settings().InstallTool = tool;
        w->UpdateInstallCommands();
        ASSERT_TRUE(w->MIInstall->isEnabled());
        Select({QStringLiteral("other one.prc"), QStringLiteral("My file.pdb")});
        w->MIInstall->trigger();
        QStringList expected{tool, first, second};
        if (!c.eachQuoted)
            expected = QStringList{tool, QString(first + u' ' + second)};
        EXPECT_EQ(recorded(), expected) << c.tool;
        EXPECT_TRUE(w->SelectedRows().isEmpty());
        EXPECT_EQ(Names().size(), 3);
    }
    EXPECT_TRUE(prompts.Messages.isEmpty());

    // Without Wine the tool cannot start: the user is told.
    qputenv("PATH", "/nonexistent");
    Select({QStringLiteral("z.pdb")});
    w->MIInstall->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1);
    EXPECT_TRUE(prompts.Messages[0].contains(QStringLiteral("Wine")))
        << prompts.Messages[0].toStdString();
    qputenv("PATH", oldPath);
    qunsetenv("WINEPREFIX");
}
