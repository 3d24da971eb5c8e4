// Copy and move: the overwrite question's answers across a run, and that no file is ever
// lost or damaged (onto itself, a replace that fails half-way).
#include "core/CopyMove.h"

#include "platform/NativePath.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every entry under a folder with its content: what must not change when nothing is done.
QStringList Snapshot(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries << path + u'=' +
                       (it.fileInfo().isFile() ? QString::fromLatin1(Read(path)) : QString());
    }
    entries.sort();
    return entries;
}

// A file system whose writes fail after a number of bytes, and whose renames may cross
// file systems.
struct FailingFileSystem {
    long bytesLeft = -1; // -1: never fails
    bool otherFileSystem = false;
    FileSystemCalls calls{[this](int fd, const void* data, size_t size) -> long {
                              if (bytesLeft >= 0 && long(size) > bytesLeft) {
                                  if (bytesLeft == 0) {
                                      errno = ENOSPC;
                                      return -1;
                                  }
                                  size = size_t(bytesLeft);
                              }
                              const long written = FileSystemCalls::Real().Write(fd, data, size);
                              if (bytesLeft >= 0 && written > 0)
                                  bytesLeft -= written;
                              return written;
                          },
                          [this](const QString& from, const QString& to, bool replace) {
                              return otherFileSystem
                                         ? EXDEV
                                         : FileSystemCalls::Real().Rename(from, to, replace);
                          }};
};

} // namespace

TEST(CopyMove, EachAnswerOfTheOverwriteQuestionHoldsAsItSays) {
    using A = OverwriteAnswer;
    using O = ItemOutcome;
    // a, c and d exist in the target; b does not.
    const struct {
        std::vector<A> answers;
        std::vector<std::string> asked;
        std::vector<O> outcomes;
    } cases[] = {
        {{A::Yes, A::No, A::No},
         {"a.pdb", "c.pdb", "d.pdb"},
         {O::Done, O::Done, O::Declined, O::Declined}},
        {{A::YesToAll}, {"a.pdb"}, {O::Done, O::Done, O::Done, O::Done}},
        {{A::NoToAll}, {"a.pdb"}, {O::Declined, O::Done, O::Declined, O::Declined}},
        {{A::No, A::YesToAll}, {"a.pdb", "c.pdb"}, {O::Declined, O::Done, O::Done, O::Done}},
    };
    const QStringList names{QStringLiteral("a.pdb"), QStringLiteral("b.pdb"),
                            QStringLiteral("c.pdb"), QStringLiteral("d.pdb")};
    for (bool copy : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << (copy ? "copy, case " : "move, case ") << &c - cases);
            TempFolder root;
            std::vector<CopyMoveItem> items;
            for (const QString& name : names) {
                items.push_back(
                    {root.Write(QStringLiteral("source/") + name, name.toUtf8()), name});
                if (name != QStringLiteral("b.pdb"))
                    root.Write(QStringLiteral("target/") + name, "old");
            }
            CopyMoveRun run(copy);
            std::vector<std::string> asked;
            run.AskOverwrite = [&](const QString& name) {
                asked.push_back(name.toStdString());
                return asked.size() <= c.answers.size() ? c.answers[asked.size() - 1] : A::No;
            };
            const CopyMoveReport report = run.Run(root.File(QStringLiteral("target")), items);
            EXPECT_EQ(asked, c.asked);
            EXPECT_EQ(report.Outcomes, c.outcomes);
            EXPECT_TRUE(report.Failures.isEmpty());
            for (size_t i = 0; i < items.size(); ++i) {
                const bool done = c.outcomes[i] == O::Done;
                const QString& name = items[i].Name;
                EXPECT_EQ(Read(root.File(QStringLiteral("target/") + name)),
                          done ? name.toUtf8() : QByteArray("old"))
                    << name.toStdString();
                // A moved file leaves its folder; a declined one stays where it was.
                EXPECT_EQ(QFileInfo::exists(items[i].Source), copy || !done) << name.toStdString();
            }
        }
    }
}

TEST(CopyMove, WhatCannotBeDoneIsReportedWithItsCauseAndChangesNothing) {
    enum Setup {
        TargetIsAFile,
        TargetMissing,
        FolderInTheWay,
        WriteProtected,
        SourceGone,
        SameFileByAlias
    };
    const struct {
        Setup setup;
        const char* folderError; // %1: the target folder
        const char* itemError;
    } cases[] = {
        {TargetIsAFile, "%1 is not a folder.", nullptr},
        {TargetMissing, "The folder %1 does not exist.", nullptr},
        {FolderInTheWay, nullptr, "a b.pdb: a folder of that name is in the way"},
        {WriteProtected, nullptr, "a b.pdb: the existing file is write-protected"},
        {SourceGone, nullptr, "a b.pdb: No such file or directory"},
        {SameFileByAlias, nullptr, "a b.pdb: the target is the file itself"},
    };
    for (const auto& c : cases)
        for (const bool copy : {true, false}) {
            SCOPED_TRACE(std::to_string(c.setup) + (copy ? ", copy" : ", move"));
            TempFolder root;
            const QString source = root.Write(QStringLiteral("source/a b.pdb"), "content");
            QString folder = root.MakeFolder(QStringLiteral("target"));
            switch (c.setup) {
            case TargetIsAFile:
                folder = root.Write(QStringLiteral("file"), "a file");
                break;
            case TargetMissing:
                folder = root.File(QStringLiteral("missing"));
                break;
            case FolderInTheWay:
                root.MakeFolder(QStringLiteral("target/a b.pdb"));
                break;
            case WriteProtected:
                QFile::setPermissions(root.Write(QStringLiteral("target/a b.pdb"), "old"),
                                      QFile::ReadOwner);
                break;
            case SourceGone:
                QFile::remove(source);
                break;
            case SameFileByAlias:
                folder = root.File(QStringLiteral("alias"));
                ASSERT_TRUE(QFile::link(root.File(QStringLiteral("source")), folder));
                break;
            }
            const QStringList before = Snapshot(root.Path());
            CopyMoveRun run(copy);
            run.AskOverwrite = [](const QString&) {
                return OverwriteAnswer::YesToAll;
            };
            const CopyMoveReport report = run.Run(folder, {{source, QStringLiteral("a b.pdb")}});
            EXPECT_EQ(report.FolderError,
                      c.folderError ? QString::fromLatin1(c.folderError).arg(folder) : QString());
            EXPECT_EQ(report.Outcomes,
                      std::vector<ItemOutcome>{c.folderError ? ItemOutcome::NotReached
                                                             : ItemOutcome::Failed});
            EXPECT_EQ(report.Failures,
                      c.itemError ? QStringList{QString::fromLatin1(c.itemError)} : QStringList());
            EXPECT_EQ(Snapshot(root.Path()), before);
        }
}

TEST(CopyMove, ATargetFolderWhoseNameIsNotUtf8IsReachedByItsBytes) {
    const struct {
        const char* what;
        bool made;
        const char* folderError; // %1: the folder's shown name
    } cases[] = {
        {"there", true, nullptr},
        {"missing", false, "The folder %1 does not exist."},
    };
    for (const auto& c : cases)
        for (const bool copy : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (copy ? ", copy" : ", move"));
            TempFolder root;
            const QString source = root.Write(QStringLiteral("a.pdb"), "content");
            const QByteArray folderBytes = QFile::encodeName(root.Path()) + "/Ziel\xE9";
            if (c.made) {
                ASSERT_EQ(::mkdir(folderBytes.constData(), 0700), 0);
            }
            const QString folder = DecodePath(folderBytes);
            const CopyMoveReport report =
                CopyMoveRun(copy).Run(folder, {{source, QStringLiteral("a.pdb")}});
            EXPECT_EQ(report.FolderError, c.folderError
                                              ? QString::fromLatin1(c.folderError)
                                                    .arg(root.File(QStringLiteral("Ziel\u00E9")))
                                              : QString());
            EXPECT_EQ(report.Outcomes, std::vector<ItemOutcome>{c.made ? ItemOutcome::Done
                                                                       : ItemOutcome::NotReached});
            struct stat copied {};
            EXPECT_EQ(::stat(QByteArray(folderBytes + "/a.pdb").constData(), &copied) == 0, c.made);
        }
}

TEST(CopyMove, AReplaceThatFailsHalfWayKeepsTheOldFileWhole) {
    TempFolder root;
    const QString source = root.Write(QStringLiteral("source/big.pdb"), QByteArray(300000, 'n'));
    const QString target = root.Write(QStringLiteral("target/big.pdb"), "old content");
    for (bool copy : {true, false}) {
        FailingFileSystem disk;
        disk.bytesLeft = 100000;
        disk.otherFileSystem = true; // a move has to copy, too
        const CopyMoveFileResult result = CopyMoveFile(source, target, copy, true, disk.calls);
        EXPECT_EQ(result.Status, CopyMoveStatus::Failed);
        EXPECT_EQ(result.Error, QStringLiteral("No space left on device"));
        EXPECT_EQ(Read(target), QByteArray("old content"));
        EXPECT_EQ(Read(source).size(), 300000) << "source kept";
        EXPECT_EQ(QDir(root.File(QStringLiteral("target"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("big.pdb")});
    }
}

// A move to another file system copies, too, and then removes the source.
TEST(CopyMove, ACopyOrAMoveToAnotherFileSystemKeepsContentDateAndPermissions) {
    const QDateTime stamp(QDate(2001, 2, 3), QTime(4, 5, 6));
    for (const bool copy : {true, false}) {
        TempFolder root;
        const QString source = root.Write(QStringLiteral("r.prc"), QByteArray(200000, 'a'), stamp);
        const QString target = root.MakeFolder(QStringLiteral("target")) + QStringLiteral("/r.prc");
        QFile::setPermissions(source, QFile::ReadOwner | QFile::ReadGroup);
        FailingFileSystem disk;
        disk.otherFileSystem = true;
        ASSERT_EQ(CopyMoveFile(source, target, copy, false, disk.calls).Status,
                  CopyMoveStatus::Done);
        EXPECT_EQ(QFileInfo::exists(source), copy);
        EXPECT_EQ(Read(target), QByteArray(200000, 'a'));
        const QFileInfo written(target);
        EXPECT_EQ(written.lastModified(), stamp);
        EXPECT_EQ(written.permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::WriteGroup | QFile::ReadOther),
                  QFile::ReadOwner | QFile::ReadGroup);
    }
}
