// Archives as untrusted input: hostile names, links, bombs, damaged and false archives.
// Nothing may be written outside the extraction folder, nothing may hang, and every
// refusal says why.
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class Extraction : public ::testing::Test {
protected:
    TempFolder sandbox;
    QString temp = sandbox.MakeFolder(QStringLiteral("program/Temp"));
    QString files = sandbox.MakeFolder(QStringLiteral("files"));

    QString Archive(const ZipBuilder& builder, const QString& name = QStringLiteral("a.zip")) {
        return builder.WriteTo(files + u'/' + name);
    }
    // Every path under the sandbox outside Temp, with its size.
    QStringList Outside() const {
        QStringList found;
        QDirIterator it(sandbox.Path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.startsWith(temp))
                found << path + u' ' + QString::number(QFileInfo(path).size());
        }
        found.sort();
        return found;
    }
    QStringList InTemp() const {
        QStringList found;
        QDirIterator it(temp, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next().mid(temp.size() + 1);
        found.sort();
        return found;
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static const ZipEntry& Entry(const ZipArchive& archive, const QString& name) {
        for (const ZipEntry& entry : archive.Entries())
            if (entry.Name == name)
                return entry;
        throw std::runtime_error("no entry " + name.toStdString());
    }
};

} // namespace

TEST_F(Extraction, HostileNamesLandInsideTheArchivesOwnFolderUnderTheirFileName) {
    const QString absolute = sandbox.Path() + QStringLiteral("/absolute.pdb");
    struct Case {
        std::string stored;
        QString fileName;
    } cases[] = {
        {"../../up.pdb", QStringLiteral("up.pdb")},
        {"..\\..\\back.pdb", QStringLiteral("back.pdb")},
        {absolute.toStdString(), QStringLiteral("absolute.pdb")},
        {"C:\\Windows\\drive.pdb", QStringLiteral("drive.pdb")},
        {"D:relative.prc", QStringLiteral("relative.prc")},
        {"sub/../../../dots.PDB", QStringLiteral("dots.PDB")},
    };
    ZipBuilder builder;
    for (const Case& c : cases)
        builder.Add(c.stored, QByteArray::fromStdString(c.stored));
    const QString path = Archive(builder);
    const QStringList before = Outside();

    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path)) << archive.ErrorText().toStdString();
    ASSERT_EQ(archive.Entries().size(), std::size(cases));
    ExtractionFolder extraction(temp);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ZipEntry& entry = archive.Entries()[i];
        EXPECT_EQ(entry.FileName, cases[i].fileName) << cases[i].stored;
        const auto result = extraction.Extract(archive, entry, 1);
        ASSERT_TRUE(result.Error.isEmpty()) << result.Error.toStdString();
        EXPECT_EQ(QFileInfo(result.Path).fileName(), cases[i].fileName);
        EXPECT_TRUE(QFileInfo(result.Path).canonicalFilePath().startsWith(temp + u'/'))
            << result.Path.toStdString();
        EXPECT_EQ(Read(result.Path), QByteArray::fromStdString(cases[i].stored));
    }
    EXPECT_EQ(Outside(), before) << "nothing written outside Temp";
    EXPECT_FALSE(QFileInfo::exists(absolute));
}

TEST_F(Extraction, LinkEntriesAreRefusedAndNoLinkIsMade) {
    const QString victim = sandbox.Write(QStringLiteral("victim.txt"), "keep me");
    const QString path =
        Archive(ZipBuilder().AddLink("evil.pdb", victim.toStdString()).Add("fine.pdb", "fine"));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ExtractionFolder extraction(temp);
    const ZipEntry& link = Entry(archive, QStringLiteral("evil.pdb"));
    EXPECT_TRUE(link.IsLink);
    const auto refused = extraction.Extract(archive, link, 1);
    EXPECT_TRUE(refused.Error.contains(QLatin1String("link"))) << refused.Error.toStdString();
    EXPECT_TRUE(
        extraction.Extract(archive, Entry(archive, QStringLiteral("fine.pdb")), 1).Error.isEmpty());
    QStringList names;
    for (const QString& file : InTemp())
        names << QFileInfo(file).fileName();
    EXPECT_EQ(names, QStringList{QStringLiteral("fine.pdb")});
    EXPECT_EQ(Read(victim), QByteArray("keep me"));
}

TEST_F(Extraction, LinksPlantedInTheFolderAreNeverFollowed) {
    const QString victim = sandbox.Write(QStringLiteral("victim.pdb"), "keep me");
    const QString outsideFolder = sandbox.MakeFolder(QStringLiteral("elsewhere"));
    const QString path =
        Archive(ZipBuilder().Add("x/c.pdb", "first").Add("y/c.pdb", "second").Add("a.pdb", "new"));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ExtractionFolder extraction(temp);
    const auto first = extraction.Extract(archive, Entry(archive, QStringLiteral("a.pdb")), 1);
    ASSERT_TRUE(first.Error.isEmpty());

    // Someone swaps the copy for a link to their target, and puts a link where the
    // second copy of c.pdb will go.
    const QString folder = QFileInfo(first.Path).absolutePath();
    ASSERT_TRUE(QFile::remove(first.Path));
    ASSERT_TRUE(QFile::link(victim, first.Path));
    ASSERT_TRUE(QFile::link(outsideFolder, folder + QStringLiteral("/2")));

    const auto again = extraction.Extract(archive, Entry(archive, QStringLiteral("a.pdb")), 1);
    ASSERT_TRUE(again.Error.isEmpty()) << again.Error.toStdString();
    EXPECT_FALSE(QFileInfo(again.Path).isSymLink());
    EXPECT_EQ(Read(again.Path), QByteArray("new"));
    EXPECT_EQ(Read(victim), QByteArray("keep me"));

    const auto second = extraction.Extract(archive, Entry(archive, QStringLiteral("y/c.pdb")), 2);
    EXPECT_FALSE(second.Error.isEmpty());
    EXPECT_TRUE(
        QDir(outsideFolder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(Extraction, EntriesOfTheSameNameKeepCopiesOfTheirOwn) {
    const QString path = Archive(ZipBuilder().Add("x/c.pdb", "from x").Add("y/c.pdb", "from y"));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ExtractionFolder extraction(temp);
    const auto x = extraction.Extract(archive, archive.Entries()[0], 1);
    const auto y = extraction.Extract(archive, archive.Entries()[1], 2);
    ASSERT_TRUE(x.Error.isEmpty() && y.Error.isEmpty());
    EXPECT_NE(x.Path, y.Path);
    EXPECT_EQ(QFileInfo(y.Path).fileName(), QStringLiteral("c.pdb"));
    EXPECT_EQ(Read(x.Path), QByteArray("from x"));
    EXPECT_EQ(Read(y.Path), QByteArray("from y"));
}

TEST_F(Extraction, BombsStopAtTheCapAndLeaveNothingBehind) {
    // Declared honestly: refused before a byte is written.
    const QString bomb = Archive(ZipBuilder().AddZeros("bomb.pdb", uint64_t(300) << 20));
    EXPECT_LT(QFileInfo(bomb).size(), 2 << 20) << "a bomb is small on the disk";
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(bomb));
    ExtractionFolder extraction(temp);
    QElapsedTimer timer;
    timer.start();
    const auto refused = extraction.Extract(archive, archive.Entries()[0], 1);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(refused.Error, QStringLiteral("unpacks to more than 256 MiB"));
    EXPECT_TRUE(InTemp().isEmpty());

    // Lying about its size: stopped by what actually comes out.
    const QString liar = Archive(ZipBuilder().Add("liar.pdb", QByteArray(64 * 1024, '\0')),
                                 QStringLiteral("liar.zip"));
    PatchDeclaredSize(liar, "liar.pdb", 1000);
    ASSERT_TRUE(archive.Open(liar)) << archive.ErrorText().toStdString();
    EXPECT_EQ(archive.Entries()[0].Size, 1000);
    ExtractionFolder capped(temp, 4096);
    const auto stopped = capped.Extract(archive, archive.Entries()[0], 1);
    EXPECT_EQ(stopped.Error, QStringLiteral("unpacks to more than 4096 bytes"));
    EXPECT_TRUE(InTemp().isEmpty()) << InTemp().join(u' ').toStdString();
}

TEST_F(Extraction, ArchivesThatCannotBeReadAreRefusedWithTheCauseWithoutHanging) {
    const QString good = Archive(ZipBuilder().Add("a.pdb", QByteArray(5000, 'a')));
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = goodFile.readAll();
    const QString truncated =
        sandbox.Write(QStringLiteral("files/truncated.zip"), bytes.left(bytes.size() / 2));
    const QString text = sandbox.Write(QStringLiteral("files/text.zip"), "This is not an archive.");
    const QString empty = sandbox.Write(QStringLiteral("files/empty.zip"), "");
    const QString folder = sandbox.MakeFolder(QStringLiteral("files/folder.zip"));
    const QString pipe = files + QStringLiteral("/pipe.zip");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    const QString missing = files + QStringLiteral("/missing.zip");
    for (const QString& path : {truncated, text, empty, folder, pipe, missing}) {
        ZipArchive archive;
        EXPECT_FALSE(archive.Open(path)) << path.toStdString();
        EXPECT_FALSE(archive.ErrorText().isEmpty()) << path.toStdString();
        EXPECT_TRUE(archive.Entries().empty());
    }
    EXPECT_TRUE(InTemp().isEmpty());
}

TEST_F(Extraction, ADamagedEntryFailsAloneAndLeavesNoFile) {
    const QByteArray content(20000, 'p');
    const QString path = Archive(ZipBuilder().Add("good.pdb", content).Add("damaged.pdb", content));
    DamageEntry(path, "damaged.pdb");

    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path)) << archive.ErrorText().toStdString();
    ExtractionFolder extraction(temp);
    const auto damaged =
        extraction.Extract(archive, Entry(archive, QStringLiteral("damaged.pdb")), 1);
    EXPECT_FALSE(damaged.Error.isEmpty());
    const auto good = extraction.Extract(archive, Entry(archive, QStringLiteral("good.pdb")), 1);
    ASSERT_TRUE(good.Error.isEmpty());
    EXPECT_EQ(Read(good.Path), content);
    EXPECT_EQ(InTemp().size(), 1) << InTemp().join(u' ').toStdString();
}

TEST_F(Extraction, TheDirectoryListsFilesInOrderWithNativeSeparatorsAndDates) {
    const std::time_t noon = QDateTime(QDate(2004, 5, 6), QTime(12, 0)).toSecsSinceEpoch();
    const QString path = Archive(ZipBuilder()
                                     .AddFolder("docs/")
                                     .Add("docs/readme.txt", "text")
                                     .Add("sub\\b.prc", "b", noon)
                                     .Add("a.pdb", "a"));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path));
    QStringList names;
    for (const ZipEntry& entry : archive.Entries())
        names << entry.Name;
    const QString sep = QDir::separator();
    EXPECT_EQ(names, (QStringList{QStringLiteral("docs") + sep + QStringLiteral("readme.txt"),
                                  QStringLiteral("sub") + sep + QStringLiteral("b.prc"),
                                  QStringLiteral("a.pdb")}));
    ExtractionFolder extraction(temp);
    const auto b = extraction.Extract(archive, archive.Entries()[1], 1);
    ASSERT_TRUE(b.Error.isEmpty());
    // DOS time stamps have two-second steps; noon is exact.
    EXPECT_EQ(QFileInfo(b.Path).lastModified().toSecsSinceEpoch(), noon);
}

TEST_F(Extraction, RemoveWrittenTakesAwayWhatExtractionWroteAndNothingElse) {
    const QString path =
        Archive(ZipBuilder().Add("a.pdb", "a").Add("x/c.pdb", "1").Add("y/c.pdb", "2"));
    const QString mine = sandbox.Write(QStringLiteral("program/Temp/mine.pdb"), "mine");
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(path));
    ExtractionFolder extraction(temp);
    const auto a = extraction.Extract(archive, archive.Entries()[0], 1);
    extraction.Extract(archive, archive.Entries()[1], 1);
    extraction.Extract(archive, archive.Entries()[2], 2);
    // Another program left a file beside the copies.
    const QString left = QFileInfo(a.Path).absolutePath() + QStringLiteral("/a.pdb.bak");
    sandbox.Write(left.mid(sandbox.Path().size() + 1), "theirs");
    ASSERT_EQ(extraction.Written().size(), 3u);

    extraction.RemoveWritten();
    EXPECT_EQ(InTemp(), (QStringList{QFileInfo(left).absoluteFilePath().mid(temp.size() + 1),
                                     QStringLiteral("mine.pdb")}));
    EXPECT_EQ(Read(mine), QByteArray("mine"));
}
