// The clean-up after a killed run takes the program's own leftovers only: never a file
// that another running copy of the program is still writing, never anything that merely
// looks like a leftover, never what a link points at.
#include "core/LeftoverCleanup.h"

#include "core/ProgramPaths.h"
#include "platform/SafeWrite.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

enum EntryKind { AbandonedFile, PlainFile, Folder, Link };

QStringList Entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

TEST(LeftoverCleanup, RemovesAbandonedTemporariesAndNothingElse) {
    TempFolder temp;
    const QString folder = temp.MakeFolder(QStringLiteral("data"));
    const QString outside = temp.Write(QStringLiteral("outside.pdb"), "linked to");
    const struct {
        const char* name;
        EntryKind kind;
        bool removed;
    } cases[] = {
        {".brisko-k3j2x9.part", AbandonedFile, true},
        {".brisko-0.part", AbandonedFile, true},
        {".brisko-K3J2.part", PlainFile, false}, // not a name the program makes
        {".brisko-.part", PlainFile, false},
        {"x.brisko-abc.part", PlainFile, false},
        {".brisko-abc.part.pdb", PlainFile, false},
        {".brisko-abc1.part", Link, false}, // a link is not a temporary file
        {".brisko-abc2.part", Folder, false},
        {"Brisko.ini", PlainFile, false},
    };
    for (const auto& c : cases) {
        const QString path = folder + u'/' + QString::fromLatin1(c.name);
        if (c.kind == Folder)
            QDir().mkpath(path);
        else if (c.kind == Link)
            QFile::link(outside, path);
        else
            temp.Write(QStringLiteral("data/") + QString::fromLatin1(c.name), "content");
    }
    // A file another running copy is writing right now.
    QString error;
    const FolderHandle handle = FolderHandle::Open(folder, &error);
    ASSERT_TRUE(handle.IsValid()) << error.toStdString();
    PendingFile inProgress;
    ASSERT_TRUE(inProgress.Create(handle, &error));
    ASSERT_TRUE(inProgress.Write("half", 4, &error));
    // Finished but not yet named: still held.
    PendingFile finished;
    ASSERT_TRUE(finished.Create(handle, &error));
    ASSERT_TRUE(finished.Finish(std::nullopt, std::nullopt, false, &error));
    const QStringList held{QFileInfo(inProgress.TemporaryPath()).fileName(),
                           QFileInfo(finished.TemporaryPath()).fileName()};

    EXPECT_EQ(RemoveAbandonedTemporaries(handle), 2);
    const QStringList left = Entries(folder);
    for (const auto& c : cases)
        EXPECT_EQ(left.contains(QString::fromLatin1(c.name)), !c.removed) << c.name;
    for (const QString& name : held)
        EXPECT_TRUE(left.contains(name)) << "a running write lost its file";
    EXPECT_TRUE(QFileInfo::exists(outside));
    EXPECT_TRUE(finished.Commit(QStringLiteral("done.pdb"), false, &error)) << error.toStdString();
}

// An archive copy made by a process that then ends without shutting down.
void ExtractInKilledProcess(const QString& tempFolder, const QString& archivePath) {
    const pid_t child = fork();
    if (child == 0) {
        ExtractionFolder extraction(tempFolder);
        ZipArchive archive;
        if (!archive.Open(archivePath))
            _exit(2);
        for (const ZipEntry& entry : archive.Entries())
            if (!extraction.Extract(archive, entry, 1).Error.isEmpty())
                _exit(3);
        _exit(0); // no destructors, no RemoveWritten: as killed
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(LeftoverCleanup, RemovesExtractionFoldersOfKilledRunsOnly) {
    TempFolder root;
    const QString archivePath = ZipBuilder()
                                    .Add("memo.pdb", "memo")
                                    .Add("x/todo.pdb", "todo")
                                    .WriteTo(root.File(QStringLiteral("books.zip")));
    ProgramPaths paths;
    paths.DataFolder = root.MakeFolder(QStringLiteral("program")) + u'/';
    paths.TempFolder = root.MakeFolder(QStringLiteral("program/Temp")) + u'/';
    const QString marker = QStringLiteral("/.brisko-extraction");

    ExtractInKilledProcess(paths.TempFolder, archivePath);
    ExtractInKilledProcess(paths.TempFolder, archivePath);
    const QStringList killed = Entries(paths.TempFolder);
    ASSERT_EQ(killed.size(), 2);
    // Someone put files of their own into the second one: those stay, and the folder.
    const QString shared = paths.TempFolder + killed[1];
    root.Write(QStringLiteral("program/Temp/") + killed[1] + QStringLiteral("/notes.txt"), "mine");
    QFile::link(root.Write(QStringLiteral("linked.pdb"), "linked"),
                shared + QStringLiteral("/link.pdb"));

    // A running copy of the program with an archive open.
    ExtractionFolder running(paths.TempFolder);
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(archivePath));
    const ExtractionFolder::Result copy = running.Extract(archive, archive.Entries()[0], 1);
    ASSERT_TRUE(copy.Error.isEmpty()) << copy.Error.toStdString();

    // What is not the program's: a folder whose marker file holds other text, a marker
    // that is a link, a plain folder, a file, and a link to a killed run's folder copy
    // outside Temp (removing through it would reach outside).
    root.Write(QStringLiteral("program/Temp/notes") + marker, "my own notes");
    root.Write(QStringLiteral("program/Temp/notes/keep.pdb"), "keep");
    root.MakeFolder(QStringLiteral("program/Temp/linked-marker"));
    const QString realMarker = paths.TempFolder + killed[0] + marker;
    QFile::link(realMarker, paths.TempFolder + QStringLiteral("linked-marker") + marker);
    root.Write(QStringLiteral("program/Temp/plain/keep.pdb"), "keep");
    root.Write(QStringLiteral("program/Temp/stray.pdb"), "keep");
    ExtractInKilledProcess(root.MakeFolder(QStringLiteral("elsewhere")), archivePath);
    const QString elsewhere = root.File(QStringLiteral("elsewhere/")) +
                              Entries(root.File(QStringLiteral("elsewhere")))[0];
    QFile::link(elsewhere, paths.TempFolder + QStringLiteral("link-to-elsewhere"));

    RemoveLeftoversOfKilledRuns(paths);

    QStringList expected{QStringLiteral("link-to-elsewhere"),
                         QStringLiteral("linked-marker"),
                         QStringLiteral("notes"),
                         QStringLiteral("plain"),
                         QStringLiteral("stray.pdb"),
                         killed[1],
                         QFileInfo(copy.Path).dir().dirName()};
    expected.sort();
    EXPECT_EQ(Entries(paths.TempFolder), expected);
    EXPECT_TRUE(QFileInfo(copy.Path).isFile()) << "a running program lost its copy";
    EXPECT_TRUE(QFileInfo::exists(root.File(QStringLiteral("program/Temp/notes/keep.pdb"))));
    EXPECT_EQ(Entries(elsewhere).size(), 3) << "a link was followed"; // marker, memo, todo
    EXPECT_EQ(Entries(shared),
              (QStringList{QStringLiteral("link.pdb"), QStringLiteral("notes.txt")}));
    EXPECT_EQ(Read(root.File(QStringLiteral("linked.pdb"))), "linked");

    // At its shut-down the running copy removes all it made, its marker included.
    running.RemoveWritten();
    expected.removeOne(QFileInfo(copy.Path).dir().dirName());
    EXPECT_EQ(Entries(paths.TempFolder), expected);
}

} // namespace
