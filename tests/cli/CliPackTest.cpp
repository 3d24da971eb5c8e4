// brisko-cli pack: what lands in the archive, what is said about the rest, and the exit
// status, also when an archive is already there.
#include "CliCapture.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

CliOutput Pack(const QStringList& arguments) {
    return RunCapturing(QStringList{QStringLiteral("pack")} + arguments);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

} // namespace

TEST(CliPack, PacksFilesAndTheFoldersPalmFilesAndRefusesToReplaceUnasked) {
    TempFolder dir;
    const QString memo = dir.Write(QStringLiteral("backup/MemoDB.pdb"), "memo");
    dir.Write(QStringLiteral("backup/Game.prc"), "game");
    dir.Write(QStringLiteral("backup/notes.txt"), "not a Palm file");
    const QString other = dir.Write(QStringLiteral("other/MemoDB.pdb"), "other memo");
    const QString missing = dir.File(QStringLiteral("gone.pdb"));
    const QString folder = dir.File(QStringLiteral("backup"));
    const QString archive = dir.File(QStringLiteral("out.zip"));
    const QString old = QStringLiteral("old");

    const struct {
        const char* what;
        bool existing; // an archive there before
        QStringList arguments;
        int status;
        QStringList entries; // empty: the archive as it was (or none)
        const char* errHas;
    } cases[] = {
        {"a folder and a file of the same name",
         false,
         {folder, other, QStringLiteral("--to"), archive},
         0,
         {QStringLiteral("Game.prc"), QStringLiteral("MemoDB.pdb"),
          QStringLiteral("MemoDB (2).pdb")},
         ""},
        {"a missing file is skipped",
         false,
         {memo, missing, QStringLiteral("--to"), archive},
         1,
         {QStringLiteral("MemoDB.pdb")},
         "gone.pdb: "},
        {"nothing readable",
         false,
         {missing, QStringLiteral("--to"), archive},
         1,
         {},
         "no archive"},
        {"an existing archive unasked",
         true,
         {memo, QStringLiteral("--to"), archive},
         1,
         {},
         "--replace"},
        {"an existing archive with --replace",
         true,
         {QStringLiteral("--replace"), memo, QStringLiteral("--to"), archive},
         0,
         {QStringLiteral("MemoDB.pdb")},
         ""},
        {"paths after --",
         false,
         {QStringLiteral("--to"), archive, QStringLiteral("--"), memo},
         0,
         {QStringLiteral("MemoDB.pdb")},
         ""},
        {"no --to", false, {memo}, 2, {}, "Usage"},
        {"no path", false, {QStringLiteral("--to"), archive}, 2, {}, "Usage"},
        {"an unknown option",
         false,
         {QStringLiteral("--fast"), memo, QStringLiteral("--to"), archive},
         2,
         {},
         "Usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(archive);
        if (c.existing)
            dir.Write(QStringLiteral("out.zip"), old.toUtf8());
        const CliOutput run = Pack(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.errHas))) << run.err.toStdString();
        if (!c.entries.isEmpty()) {
            EXPECT_EQ(EntryNamesOf(archive), c.entries);
            for (const QString& name : c.entries)
                EXPECT_TRUE(run.out.contains(name + u'\n')) << run.out.toStdString();
        } else if (c.existing) {
            EXPECT_EQ(Read(archive), old.toUtf8());
        } else {
            EXPECT_FALSE(QFile::exists(archive));
        }
    }
}
