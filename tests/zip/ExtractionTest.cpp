// Archives as untrusted input: hostile names, links, bombs, damaged and false archives.
// Nothing may be written outside the extraction folder, nothing may hang, and every
// refusal says why.
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace {

class Extraction : public ::testing::Test {
protected:
    TempFolder sandbox;
    QString temp = sandbox.MakeFolder(QStringLiteral("program/Temp"));
    QString files = sandbox.MakeFolder(QStringLiteral("files"));
    ZipArchive archive;

    QString Write(const ZipBuilder& builder, const QString& name = QStringLiteral("a.zip")) {
        return builder.WriteTo(files + u'/' + name);
    }
    bool Open(const QString& path) {
        const bool opened = archive.Open(path);
        EXPECT_TRUE(opened) << archive.ErrorText().toStdString();
        return opened;
    }
    // Every path under the sandbox (with its size) outside Temp, or every file in Temp but
    // the markers that belong to the archive folders themselves.
    QStringList Found(bool inTemp) const {
        QStringList found;
        QDirIterator it(inTemp ? temp : sandbox.Path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            if (inTemp && !info.isDir() && info.fileName() != QLatin1String(".brisko-extraction"))
                found << info.filePath().mid(temp.size() + 1);
            else if (!inTemp && !info.filePath().startsWith(temp))
                found << info.filePath() + u' ' + QString::number(info.size());
        }
        found.sort();
        return found;
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    const ZipEntry& Entry(size_t index) const { return archive.Entries().at(index); }
};

} // namespace

TEST_F(Extraction, HostileNamesLandInsideTheArchivesOwnFolderUnderTheirFileName) {
    const QString absolute = sandbox.Path() + QStringLiteral("/absolute.pdb");
    const std::pair<std::string, QString> cases[] = {
        {"../../up.pdb", QStringLiteral("up.pdb")},
        {"..\\..\\back.pdb", QStringLiteral("back.pdb")},
        {absolute.toStdString(), QStringLiteral("absolute.pdb")},
        {"C:\\Windows\\drive.pdb", QStringLiteral("drive.pdb")},
        {"D:relative.prc", QStringLiteral("relative.prc")},
        {"sub/../../../dots.PDB", QStringLiteral("dots.PDB")},
    };
    ZipBuilder builder;
    for (const auto& [stored, fileName] : cases)
        builder.Add(stored, QByteArray::fromStdString(stored));
    ASSERT_TRUE(Open(Write(builder)));
    const QStringList before = Found(false);
    ASSERT_EQ(archive.Entries().size(), std::size(cases));
    ExtractionFolder extraction(temp);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [stored, fileName] = cases[i];
        SCOPED_TRACE(stored);
        EXPECT_EQ(Entry(i).FileName, fileName);
        const auto result = extraction.Extract(archive, Entry(i), 1);
        ASSERT_TRUE(result.Error.isEmpty()) << result.Error.toStdString();
        EXPECT_EQ(QFileInfo(result.Path).fileName(), fileName);
        EXPECT_TRUE(QFileInfo(result.Path).canonicalFilePath().startsWith(temp + u'/'));
        EXPECT_EQ(Read(result.Path), QByteArray::fromStdString(stored));
    }
    EXPECT_EQ(Found(false), before) << "nothing written outside Temp";
}

TEST_F(Extraction, LinksAreNeitherExtractedNorFollowed) {
    const QString victim = sandbox.Write(QStringLiteral("victim.pdb"), "keep me");
    const QString elsewhere = sandbox.MakeFolder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(Open(Write(ZipBuilder()
                               .AddLink("evil.pdb", victim.toStdString())
                               .Add("a.pdb", "new")
                               .Add("x/c.pdb", "first")
                               .Add("y/c.pdb", "second"))));
    ExtractionFolder extraction(temp);
    EXPECT_TRUE(Entry(0).IsLink);
    const auto refused = extraction.Extract(archive, Entry(0), 1);
    EXPECT_TRUE(refused.Error.contains(QLatin1String("link"))) << refused.Error.toStdString();
    EXPECT_TRUE(Found(true).isEmpty());

    // Someone swaps a copy for a link to their file, and puts a link where the second
    // copy of c.pdb will go.
    const auto first = extraction.Extract(archive, Entry(1), 1);
    ASSERT_TRUE(first.Error.isEmpty());
    ASSERT_TRUE(QFile::remove(first.Path) && QFile::link(victim, first.Path));
    ASSERT_TRUE(
        QFile::link(elsewhere, QFileInfo(first.Path).absolutePath() + QStringLiteral("/2")));
    const auto again = extraction.Extract(archive, Entry(1), 1);
    ASSERT_TRUE(again.Error.isEmpty()) << again.Error.toStdString();
    EXPECT_FALSE(QFileInfo(again.Path).isSymLink());
    EXPECT_EQ(Read(again.Path), QByteArray("new"));
    EXPECT_FALSE(extraction.Extract(archive, Entry(3), 2).Error.isEmpty());
    EXPECT_EQ(Read(victim), QByteArray("keep me"));
    EXPECT_TRUE(QDir(elsewhere).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(Extraction, BombsStopAtTheCapAndLeaveNothingBehind) {
    // Declared honestly: refused before a byte is unpacked.
    ASSERT_TRUE(Open(Write(ZipBuilder().AddZeros("bomb.pdb", uint64_t(300) << 20))));
    int unpacked = 0;
    EXPECT_EQ(archive.ReadEntry(Entry(0), 1 << 20, [&](const char*, size_t) { return ++unpacked; }),
              QStringLiteral("unpacks to more than 1 MiB"));
    EXPECT_EQ(unpacked, 0);
    EXPECT_EQ(ExtractionFolder(temp).Extract(archive, Entry(0), 1).Error,
              QStringLiteral("unpacks to more than 256 MiB"));

    // Lying about its size: stopped by what actually comes out.
    const QString liar = Write(ZipBuilder().Add("liar.pdb", QByteArray(64 * 1024, '\0')));
    PatchDeclaredSize(liar, "liar.pdb", 1000);
    ASSERT_TRUE(Open(liar));
    EXPECT_EQ(Entry(0).Size, 1000);
    const auto stopped = ExtractionFolder(temp, 4096).Extract(archive, Entry(0), 1);
    EXPECT_EQ(stopped.Error, QStringLiteral("unpacks to more than 4096 bytes"));
    EXPECT_TRUE(Found(true).isEmpty()) << Found(true).join(u' ').toStdString();
}

TEST_F(Extraction, ArchivesThatCannotBeReadAreRefusedWithTheCauseWithoutHanging) {
    const QByteArray whole = Read(Write(ZipBuilder().Add("a.pdb", QByteArray(5000, 'a'))));
    const QString pipe = files + QStringLiteral("/pipe.zip");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : QStringList{
             sandbox.Write(QStringLiteral("files/truncated.zip"), whole.left(whole.size() / 2)),
             sandbox.Write(QStringLiteral("files/text.zip"), "This is not an archive."),
             sandbox.Write(QStringLiteral("files/empty.zip"), ""),
             sandbox.MakeFolder(QStringLiteral("files/folder.zip")), pipe,
             files + QStringLiteral("/missing.zip")}) {
        EXPECT_FALSE(archive.Open(path)) << path.toStdString();
        EXPECT_FALSE(archive.ErrorText().isEmpty()) << path.toStdString();
        EXPECT_TRUE(archive.Entries().empty());
    }
}

TEST_F(Extraction, EachEntryGetsACopyOfItsOwnAndRemoveWrittenTakesOnlyThose) {
    const std::time_t noon = QDateTime(QDate(2004, 5, 6), QTime(12, 0)).toSecsSinceEpoch();
    const QString path = Write(ZipBuilder()
                                   .AddFolder("docs/")
                                   .Add("x\\c.pdb", "from x", noon)
                                   .Add("y/c.pdb", "from y")
                                   .Add("damaged.pdb", QByteArray(20000, 'p')));
    DamageEntry(path, "damaged.pdb");
    ASSERT_TRUE(Open(path));
    QStringList names;
    for (const ZipEntry& entry : archive.Entries())
        names << entry.Name;
    const QString sep = QDir::separator();
    EXPECT_EQ(names, (QStringList{QStringLiteral("x") + sep + QStringLiteral("c.pdb"),
                                  QStringLiteral("y") + sep + QStringLiteral("c.pdb"),
                                  QStringLiteral("damaged.pdb")}));

    const QString mine = sandbox.Write(QStringLiteral("program/Temp/mine.pdb"), "mine");
    ExtractionFolder extraction(temp);
    EXPECT_FALSE(extraction.Extract(archive, Entry(2), 1).Error.isEmpty());
    const auto x = extraction.Extract(archive, Entry(0), 1);
    const auto y = extraction.Extract(archive, Entry(1), 2);
    ASSERT_TRUE(x.Error.isEmpty() && y.Error.isEmpty());
    EXPECT_EQ(Read(x.Path), QByteArray("from x"));
    EXPECT_EQ(Read(y.Path), QByteArray("from y"));
    EXPECT_EQ(QFileInfo(y.Path).fileName(), QStringLiteral("c.pdb"));
    // DOS time stamps have two-second steps; noon is exact.
    EXPECT_EQ(QFileInfo(x.Path).lastModified().toSecsSinceEpoch(), noon);
    EXPECT_EQ(Found(true).size(), 3) << "the damaged entry leaves no file";

    // Another program left a file beside the copies.
    const QString theirs = x.Path + QStringLiteral(".bak");
    sandbox.Write(theirs.mid(sandbox.Path().size() + 1), "theirs");
    extraction.RemoveWritten();
    EXPECT_EQ(Found(true), (QStringList{theirs.mid(temp.size() + 1), QStringLiteral("mine.pdb")}));
    EXPECT_EQ(Read(mine), QByteArray("mine"));
}

TEST_F(Extraction, TheArchiveAllowanceIsTheSmallerOfItsCapAndHalfTheFreeSpace) {
    const std::tuple<int64_t, int64_t, int64_t> cases[] = {
        // cap, free space, allowance
        {10000, 100000, 10000},
        {10000, 8001, 4000},
        {10000, 20000, 10000},
        {10000, 0, 0},
        {10000, -1, 0}, // not measurable: nothing is written
        {ExtractionFolder::MaxArchiveBytes, int64_t(100) << 30, int64_t(1) << 30},
    };
    for (const auto& [cap, freeBytes, allowance] : cases) {
        SCOPED_TRACE(std::to_string(cap) + " " + std::to_string(freeBytes));
        ExtractionFolder extraction(temp, ExtractionFolder::MaxEntryBytes, cap);
        QString measured;
        extraction.FreeBytes = [&, free = freeBytes](const QString& folder) {
            measured = folder;
            return free;
        };
        extraction.BeginArchive(files + QStringLiteral("/a.zip"));
        EXPECT_EQ(extraction.ArchiveAllowance(), allowance);
        EXPECT_EQ(measured, temp);
    }
    // The real measurement: half of what Temp's file system has free, at most the cap.
    ExtractionFolder real(temp, ExtractionFolder::MaxEntryBytes, int64_t(1) << 60);
    real.BeginArchive(files + QStringLiteral("/any.zip"));
    const int64_t available = QStorageInfo(temp).bytesAvailable();
    EXPECT_NEAR(double(real.ArchiveAllowance()), double(available / 2), double(available) / 100);
}

TEST_F(Extraction, EntriesPastTheArchiveAllowanceAreRefusedAndLeaveNothing) {
    const QString path = Write(ZipBuilder()
                                   .Add("a.pdb", QByteArray(4000, 'a'))
                                   .Add("b.pdb", QByteArray(4000, 'b'))
                                   .Add("c.pdb", QByteArray(4000, 'c'))    // declared too large
                                   .Add("liar.pdb", QByteArray(3000, 'l')) // says 500
                                   .Add("d.pdb", QByteArray(1000, 'd'))    // still fits
                                   .Add("e.pdb", QByteArray(1000, 'e'))    // fills it exactly
                                   .Add("f.pdb", QByteArray(1, 'f')));     // one byte too many
    PatchDeclaredSize(path, "liar.pdb", 500);
    ASSERT_TRUE(Open(path));
    ExtractionFolder extraction(temp, ExtractionFolder::MaxEntryBytes, 10000);
    extraction.FreeBytes = [](const QString&) {
        return int64_t(1) << 40;
    };
    extraction.BeginArchive(path);
    QStringList extracted;
    QStringList refused;
    for (size_t i = 0; i < archive.Entries().size(); ++i) {
        const auto result = extraction.Extract(archive, Entry(i), 1);
        if (result.Error.isEmpty()) {
            extracted << Entry(i).Name;
            EXPECT_EQ(QFileInfo(result.Path).size(), Entry(i).Size);
        } else {
            refused << Entry(i).Name;
            EXPECT_TRUE(result.Error.startsWith(
                QStringLiteral("not extracted: the archive's files would take more than "
                               "10000 bytes together")))
                << result.Error.toStdString();
        }
    }
    EXPECT_EQ(extracted, QStringLiteral("a.pdb b.pdb d.pdb e.pdb").split(u' '));
    EXPECT_EQ(refused, QStringLiteral("c.pdb liar.pdb f.pdb").split(u' '));
    EXPECT_EQ(Found(true).size(), 4) << Found(true).join(u' ').toStdString();

    // Opened again (a Refresh): the allowance starts anew.
    extraction.BeginArchive(path);
    EXPECT_TRUE(extraction.Extract(archive, Entry(2), 1).Error.isEmpty());
}

TEST(SizeLimitText, WholeMiBFromOneMiBUpAndBytesBelow) {
    constexpr int64_t MiB = int64_t(1) << 20;
    const std::pair<int64_t, const char*> cases[] = {{MiB - 1, "1048575 bytes"},
                                                     {MiB, "1 MiB"},
                                                     {3 * MiB - 1, "2 MiB"},
                                                     {1024 * MiB, "1024 MiB"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(SizeLimitText(bytes), QString::fromLatin1(text)) << bytes;
}
