// Copy and move: the overwrite question's answers across a run, and that no file is ever
// lost or damaged (onto itself, a replace that fails half-way, a move to another file
// system).
#include "browser/CopyMove.h"

#include "support/PalmFileBuilder.h" // WriteBytes
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <deque>
#include <gtest/gtest.h>

namespace {

class CopyMove : public ::testing::Test {
protected:
    TempFolder root;
    QString source = root.MakeFolder(QStringLiteral("source"));
    QString target = root.MakeFolder(QStringLiteral("target"));

    std::vector<CopyMoveItem> Items(const QStringList& names) {
        std::vector<CopyMoveItem> items;
        for (const QString& name : names) {
            if (!QFileInfo::exists(source + u'/' + name))
                WriteBytes(source + u'/' + name, "new " + name.toUtf8());
            items.push_back({source + u'/' + name, name});
        }
        return items;
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QByteArray Target(const QString& name) const { return Read(target + u'/' + name); }
    QStringList Leftovers() const { // half-written temporary files
        return QDir(target).entryList({QStringLiteral(".brisko-*")}, QDir::Files | QDir::Hidden);
    }
};

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

TEST_F(CopyMove, EachAnswerOfTheOverwriteQuestionHoldsAsItSays) {
    using A = OverwriteAnswer;
    using O = ItemOutcome;
    // a, c and d exist in the target; b does not.
    const struct {
        const char* name;
        std::vector<A> answers;
        std::vector<std::string> asked;
        std::vector<O> outcomes;
    } cases[] = {
        {"Yes, No, No",
         {A::Yes, A::No, A::No},
         {"a.pdb", "c.pdb", "d.pdb"},
         {O::Done, O::Done, O::Declined, O::Declined}},
        {"Yes to All", {A::YesToAll}, {"a.pdb"}, {O::Done, O::Done, O::Done, O::Done}},
        {"No to All", {A::NoToAll}, {"a.pdb"}, {O::Declined, O::Done, O::Declined, O::Declined}},
        {"No, then Yes to All",
         {A::No, A::YesToAll},
         {"a.pdb", "c.pdb"},
         {O::Declined, O::Done, O::Done, O::Done}},
    };
    for (bool copy : {true, false}) {
        for (const auto& c : cases) {
            TempFolder fresh;
            source = fresh.MakeFolder(QStringLiteral("source"));
            target = fresh.MakeFolder(QStringLiteral("target"));
            for (const char* existing : {"a.pdb", "c.pdb", "d.pdb"})
                fresh.Write(QStringLiteral("target/") + QLatin1String(existing), "old");
            const QStringList names{QStringLiteral("a.pdb"), QStringLiteral("b.pdb"),
                                    QStringLiteral("c.pdb"), QStringLiteral("d.pdb")};
            const auto items = Items(names);

            CopyMoveRun run(copy);
            std::deque<A> answers(c.answers.begin(), c.answers.end());
            std::vector<std::string> asked;
            run.AskOverwrite = [&](const QString& name) {
                asked.push_back(name.toStdString());
                const A answer = answers.empty() ? A::No : answers.front();
                if (!answers.empty())
                    answers.pop_front();
                return answer;
            };
            const CopyMoveReport report = run.Run(target, items);
            const std::string what = std::string(copy ? "copy, " : "move, ") + c.name;
            EXPECT_EQ(asked, c.asked) << what;
            EXPECT_EQ(report.Outcomes, c.outcomes) << what;
            EXPECT_TRUE(report.Failures.isEmpty()) << what;
            for (size_t i = 0; i < size_t(names.size()); ++i) {
                const QString& name = names[qsizetype(i)];
                const bool done = c.outcomes[i] == O::Done;
                EXPECT_EQ(Target(name), done ? "new " + name.toUtf8() : QByteArray("old"))
                    << what << ' ' << name.toStdString();
                // A moved file leaves its folder; a declined one stays where it was.
                EXPECT_EQ(QFileInfo::exists(source + u'/' + name), copy || !done)
                    << what << ' ' << name.toStdString();
            }
        }
    }
}

TEST_F(CopyMove, OnlyAnExistingTargetBringsTheQuestionOtherFailuresAreReported) {
    root.MakeFolder(QStringLiteral("target/folder.pdb"));
    root.Write(QStringLiteral("target/locked.pdb"), "old");
    QFile::setPermissions(target + QStringLiteral("/locked.pdb"), QFile::ReadOwner);
    auto items = Items({QStringLiteral("folder.pdb"), QStringLiteral("locked.pdb")});
    items.insert(items.begin(), {source + QStringLiteral("/gone.pdb"), QStringLiteral("gone.pdb")});

    CopyMoveRun run(true);
    QStringList asked;
    run.AskOverwrite = [&](const QString& name) {
        asked << name;
        return OverwriteAnswer::YesToAll;
    };
    const CopyMoveReport report = run.Run(target, items);
    EXPECT_EQ(asked, QStringList{QStringLiteral("folder.pdb")})
        << "the missing source asks nothing";
    EXPECT_EQ(report.Outcomes, (std::vector<ItemOutcome>{ItemOutcome::Failed, ItemOutcome::Failed,
                                                         ItemOutcome::Failed}));
    ASSERT_EQ(report.Failures.size(), 3);
    EXPECT_EQ(report.Failures[0], QStringLiteral("gone.pdb: No such file or directory"));
    EXPECT_EQ(report.Failures[1],
              QStringLiteral("folder.pdb: a folder of that name is in the way"));
    EXPECT_EQ(report.Failures[2],
              QStringLiteral("locked.pdb: the existing file is write-protected"));
    EXPECT_EQ(Target(QStringLiteral("locked.pdb")), QByteArray("old"));

    const CopyMoveReport nowhere = run.Run(root.File(QStringLiteral("no such folder")), items);
    EXPECT_FALSE(nowhere.FolderError.isEmpty());
    EXPECT_EQ(nowhere.Outcomes, std::vector<ItemOutcome>(3, ItemOutcome::NotReached));
}

TEST_F(CopyMove, AFileCopiedOrMovedOntoItselfIsLeftAlone) {
    const auto items = Items({QStringLiteral("a.pdb")});
    for (bool copy : {true, false}) {
        CopyMoveRun run(copy);
        bool asked = false;
        run.AskOverwrite = [&](const QString&) {
            asked = true;
            return OverwriteAnswer::Yes;
        };
        const CopyMoveReport report = run.Run(source + u'/', items);
        EXPECT_FALSE(asked);
        EXPECT_EQ(report.Outcomes[0], ItemOutcome::Failed);
        EXPECT_EQ(report.Failures,
                  QStringList{QStringLiteral("a.pdb: the target is the file itself")});
        EXPECT_EQ(Read(source + QStringLiteral("/a.pdb")), QByteArray("new a.pdb"));
    }
    // Also through another name of the same folder.
    ASSERT_TRUE(QFile::link(source, root.File(QStringLiteral("alias"))));
    EXPECT_EQ(CopyMoveFile(source + QStringLiteral("/a.pdb"),
                           root.File(QStringLiteral("alias/a.pdb")), true, true)
                  .Status,
              CopyMoveStatus::SameFile);
    EXPECT_EQ(Read(source + QStringLiteral("/a.pdb")), QByteArray("new a.pdb"));
}

TEST_F(CopyMove, AReplaceThatFailsHalfWayKeepsTheOldFileWhole) {
    root.Write(QStringLiteral("source/big.pdb"), QByteArray(300000, 'n'));
    root.Write(QStringLiteral("target/big.pdb"), "old content");
    for (bool copy : {true, false}) {
        FailingFileSystem disk;
        disk.bytesLeft = 100000;
        disk.otherFileSystem = true; // a move has to copy, too
        const CopyMoveFileResult result =
            CopyMoveFile(source + QStringLiteral("/big.pdb"), target + QStringLiteral("/big.pdb"),
                         copy, true, disk.calls);
        EXPECT_EQ(result.Status, CopyMoveStatus::Failed);
        EXPECT_EQ(result.Error, QStringLiteral("No space left on device"));
        EXPECT_EQ(Target(QStringLiteral("big.pdb")), QByteArray("old content"));
        EXPECT_EQ(Read(source + QStringLiteral("/big.pdb")).size(), 300000) << "source kept";
        EXPECT_TRUE(Leftovers().isEmpty());
    }
}

TEST_F(CopyMove, AMoveToAnotherFileSystemCopiesCompletelyThenRemovesTheSource) {
    const QDateTime stamp(QDate(2003, 4, 5), QTime(6, 7, 8));
    root.Write(QStringLiteral("source/a.pdb"), QByteArray(200000, 'a'), stamp);
    FailingFileSystem disk;
    disk.otherFileSystem = true;
    CopyMoveRun run(false, disk.calls);
    run.AskOverwrite = [](const QString&) {
        return OverwriteAnswer::No;
    };
    const CopyMoveReport moved = run.Run(target, Items({QStringLiteral("a.pdb")}));
    EXPECT_EQ(moved.Outcomes[0], ItemOutcome::Done);
    EXPECT_FALSE(QFileInfo::exists(source + QStringLiteral("/a.pdb")));
    EXPECT_EQ(Target(QStringLiteral("a.pdb")), QByteArray(200000, 'a'));
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/a.pdb")).lastModified(), stamp);

    // The disk fills up during the copy: the source stays, no part of a copy does.
    root.Write(QStringLiteral("source/b.pdb"), QByteArray(200000, 'b'));
    disk.bytesLeft = 50000;
    const CopyMoveReport failed = run.Run(target, Items({QStringLiteral("b.pdb")}));
    EXPECT_EQ(failed.Outcomes[0], ItemOutcome::Failed);
    EXPECT_EQ(Read(source + QStringLiteral("/b.pdb")).size(), 200000);
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/b.pdb")));
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(CopyMove, ACopyKeepsTheDateAndPermissionsOfItsSource) {
    const QDateTime stamp(QDate(2001, 2, 3), QTime(4, 5, 6));
    const QString file = root.Write(QStringLiteral("source/r.prc"), "app", stamp);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
    ASSERT_EQ(CopyMoveFile(file, target + QStringLiteral("/r.prc"), true, false).Status,
              CopyMoveStatus::Done);
    const QFileInfo copy(target + QStringLiteral("/r.prc"));
    EXPECT_EQ(copy.lastModified(), stamp);
    EXPECT_EQ(copy.permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::WriteGroup | QFile::ReadOther),
              QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_EQ(CopyMoveFile(file, target + QStringLiteral("/r.prc"), true, false).Status,
              CopyMoveStatus::TargetExists);
}
