// Tests of the check run: which files a path gives (folder, tree, files as given),
// findings per file, unreadable files as findings, progress and cancelling.
#include "core/DatabaseCheckRun.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QByteArray Sound() {
    PalmFileBuilder b;
    b.name = "Sound";
    b.recordOffsets = {88};
    b.tail = QByteArray(6, 'r');
    return b.Bytes();
}

QByteArray Damaged() {
    PalmFileBuilder b;
    b.name = "Damaged";
    b.recordOffsets = {0xFFFFFFFF};
    b.tail = QByteArray(2, 'r');
    return b.Bytes();
}

// Paths relative to the folder, for comparing.
QStringList Relative(const QStringList& files, const TempFolder& folder) {
    QStringList relative;
    for (const QString& file : files)
        relative << QDir(folder.Path()).relativeFilePath(file);
    return relative;
}

TEST(DatabaseCheckRun, FindsThePalmFilesOfFoldersAndTrees) {
    TempFolder dir;
    dir.Write(QStringLiteral("b.pdb"), Sound());
    dir.Write(QStringLiteral("A.PRC"), Sound());
    dir.Write(QStringLiteral("notes.txt"), "text");
    dir.Write(QStringLiteral("x.zip"), "zip");
    dir.Write(QStringLiteral("sub/c.pdb"), Sound());
    dir.Write(QStringLiteral("sub/deeper/d.prc"), Sound());
    dir.Write(QStringLiteral("folder.pdb/x"), "a folder with a Palm name, a file without one");
    const QString given = dir.Write(QStringLiteral("given.bin"), Sound());

    const struct {
        const char* name;
        QStringList paths;
        bool recursive;
        QStringList expected;
    } cases[] = {
        {"folder", {dir.Path()}, false, {QStringLiteral("A.PRC"), QStringLiteral("b.pdb")}},
        {"tree",
         {dir.Path()},
         true,
         {QStringLiteral("A.PRC"), QStringLiteral("b.pdb"), QStringLiteral("sub/c.pdb"),
          QStringLiteral("sub/deeper/d.prc")}},
        {"files as given, whatever their name",
         {given, dir.File(QStringLiteral("missing.pdb"))},
         false,
         {QStringLiteral("given.bin"), QStringLiteral("missing.pdb")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Relative(FindPalmFiles(c.paths, c.recursive), dir), c.expected) << c.name;
}

TEST(DatabaseCheckRun, ReportsEachFileWithItsFindingsAndUnreadableFilesToo) {
    TempFolder dir;
    dir.Write(QStringLiteral("1-sound.pdb"), Sound());
    dir.Write(QStringLiteral("2-damaged.pdb"), Damaged());
    dir.Write(QStringLiteral("3-short.pdb"), "short");
    dir.Write(QStringLiteral("4-records.prc"), Sound());
    const CheckRunResult result =
        CheckPalmFiles({dir.Path(), dir.File(QStringLiteral("gone.pdb"))}, false);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_TRUE(result.HasTrouble());
    QStringList lines;
    for (const CheckedFile& file : result.Files) {
        QString line = QDir(dir.Path()).relativeFilePath(file.File) + u':';
        for (const FileFinding& finding : file.Findings) {
            line += u' ' + finding.Code + u'@' + QString::number(finding.Entry);
            EXPECT_FALSE(finding.Text.isEmpty());
        }
        lines << line;
    }
    EXPECT_EQ(lines, (QStringList{QStringLiteral("1-sound.pdb:"),
                                  QStringLiteral("2-damaged.pdb: offset-outside-file@0"),
                                  QStringLiteral("3-short.pdb: header-too-short@-1"),
                                  QStringLiteral("4-records.prc: resource-bit-missing@-1"),
                                  QStringLiteral("gone.pdb: unreadable@-1")}));
    EXPECT_FALSE(result.Files[0].HasTrouble());
    EXPECT_TRUE(result.Files[1].IsDamaged());
    EXPECT_TRUE(result.Files[3].HasTrouble());
    EXPECT_FALSE(result.Files[3].IsDamaged());
    EXPECT_TRUE(
        result.Files[4].Findings[0].Text.startsWith(QStringLiteral("The file cannot be read: ")));
}

TEST(DatabaseCheckRun, ReportsProgressAndStopsWhenCancelled) {
    TempFolder dir;
    for (int i = 0; i < 5; ++i)
        dir.Write(QStringLiteral("%1.pdb").arg(i), Sound());
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    const CheckRunResult result =
        CheckPalmFiles({dir.Path()}, false, [&](std::size_t done, std::size_t total) {
            calls.push_back({done, total});
            return done < 2;
        });
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Files.size(), 2u);
    EXPECT_EQ(calls, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 5}, {1, 5}, {2, 5}}));
    EXPECT_FALSE(result.HasTrouble());
}

} // namespace
