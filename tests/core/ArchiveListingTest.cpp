// Archives through the lister: every archive that unzip accepts lists all its Palm
// entries, whatever libzip's whole-archive checks make of it, with names as the
// archive's code page gives them; the space one archive may take is capped, and the
// entries past the cap keep a marked row that names the cause.
#include "core/ArchiveListing.h"

#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray Palm(const std::string& creator, int totalSize = 200) {
    return PalmFileBytes(creator, totalSize - 78);
}

struct Lister {
    TempFolder sandbox;
    QString temp = sandbox.MakeFolder(QStringLiteral("Temp"));
    TPalmPDB reader{std::string(), false};
    ListeDerLinks catalogue;
    ExtractionFolder extraction{temp};
    ArchiveListing List(const QString& path) {
        return ArchiveLister(reader, catalogue, extraction).List(path);
    }
};

// The exit code of a program run in folder; -1 when it is not installed.
int RunProgram(const QString& program, const QStringList& arguments, const QString& folder) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return -1;
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return -2;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
}

QString Native(const char* name) {
    return QDir::toNativeSeparators(QString::fromUtf8(name));
}

} // namespace

TEST(ArchiveListing, EveryArchiveThatUnzipAcceptsListsAllItsPalmEntries) {
    struct Case {
        const char* what;
        std::function<QString(const TempFolder&)> make; // the archive's path; empty: skip
        QStringList names;
        QStringList creators;
    };
    const auto raw = [](std::vector<RawZipEntry> entries) {
        return [entries](const TempFolder& folder) {
            return folder.Write(QStringLiteral("raw.zip"), RawZip(entries));
        };
    };
    const Case cases[] = {
        {"two entries of one full name",
         raw({{"a.pdb", Palm("one1")}, {"docs/a.txt", "text"}, {"a.pdb", Palm("two2")}}),
         {QStringLiteral("a.pdb"), QStringLiteral("a.pdb")},
         {QStringLiteral("one1"), QStringLiteral("two2")}},
        {"names flagged UTF-8 that are not: read as Windows-1252",
         raw({{"Adre\xDF"
               "buch.pdb",
               Palm("adr1"), true},
              {"\xC3\x9C"
               "ber.pdb",
               Palm("ueb1"), true},
              {"sub/plain.prc", Palm("pln1"), true}}),
         {QString::fromUtf8("Adreßbuch.pdb"), QString::fromUtf8("Über.pdb"),
          Native("sub/plain.prc")},
         {QStringLiteral("adr1"), QStringLiteral("ueb1"), QStringLiteral("pln1")}},
        {"names without the flag: CP437 unless they are UTF-8",
         raw({{"Adre\xE1"
               "buch.pdb",
               Palm("cp41")},
              {"\x9A"
               "ber.prc",
               Palm("cp42")},
              {"\xC3\xA4.pdb", Palm("utf8")}}),
         {QString::fromUtf8("Adreßbuch.pdb"), QString::fromUtf8("Über.prc"),
          QString::fromUtf8("ä.pdb")},
         {QStringLiteral("cp41"), QStringLiteral("cp42"), QStringLiteral("utf8")}},
        {"sizes in data descriptors",
         raw({{"a.pdb", Palm("dd01"), false, true},
              {"sub/b.prc", Palm("dd02"), false, true},
              {"c.pdb", Palm("dd03"), false, true}}),
         {QStringLiteral("a.pdb"), Native("sub/b.prc"), QStringLiteral("c.pdb")},
         {QStringLiteral("dd01"), QStringLiteral("dd02"), QStringLiteral("dd03")}},
        {"written by Info-ZIP zip -fd",
         [](const TempFolder& folder) {
             folder.Write(QStringLiteral("in/a.pdb"), Palm("zip1", 5000));
             folder.Write(QStringLiteral("in/sub/b.prc"), Palm("zip2", 300));
             const int made = RunProgram(QStringLiteral("zip"),
                                         {QStringLiteral("-q"), QStringLiteral("-fd"),
                                          QStringLiteral("../fd.zip"), QStringLiteral("a.pdb"),
                                          QStringLiteral("sub/b.prc")},
                                         folder.File(QStringLiteral("in")));
             if (made == -1)
                 return QString(); // zip is not installed
             EXPECT_EQ(made, 0);
             return folder.File(QStringLiteral("fd.zip"));
         },
         {QStringLiteral("a.pdb"), Native("sub/b.prc")},
         {QStringLiteral("zip1"), QStringLiteral("zip2")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lister lister;
        const QString path = c.make(lister.sandbox);
        if (path.isEmpty())
            continue;
        const int tested = RunProgram(QStringLiteral("unzip"), {QStringLiteral("-tq"), path},
                                      lister.sandbox.Path());
        if (tested != -1) {
            EXPECT_EQ(tested, 0) << "unzip -t refuses it";
        }
        const ArchiveListing listing = lister.List(path);
        if (!listing.Opened) {
            ADD_FAILURE() << "refused: " << listing.OpenError.toStdString();
            continue;
        }
        QStringList names;
        QStringList creators;
        QStringList files;
        for (const FileRow& row : listing.Rows) {
            names << row.Name;
            creators << row.Type;
            files << row.File;
            EXPECT_TRUE(row.Error.isEmpty()) << row.Error.toStdString();
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(creators, c.creators);
        files.removeDuplicates();
        EXPECT_EQ(files.size(), names.size()) << "each entry has a copy of its own";
    }
}

TEST(ArchiveListing, EntriesPastTheArchivesSpaceKeepAMarkedRowAndTheListingGoesOn) {
    Lister lister;
    // A file system of 20000 bytes. The archive may take half of it: three entries of
    // 3000 bytes, not the fourth, fifth and sixth, but the small seventh after them. Only
    // the copies take space here, not the folder's marker, so that the numbers stay round.
    lister.extraction.FreeBytes = [](const QString& folder) {
        int64_t used = 0;
        QDirIterator it(folder, {QStringLiteral("*.pdb"), QStringLiteral("*.prc")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            used += it.fileInfo().size();
        }
        return 20000 - used;
    };
    ZipBuilder builder;
    for (const char* creator : {"cap1", "cap2", "cap3", "cap4", "cap5", "cap6"})
        builder.Add(std::string(creator) + ".pdb", Palm(creator, 3000));
    builder.Add("small.prc", Palm("smal", 900));
    const QString path = builder.WriteTo(lister.sandbox.File(QStringLiteral("bomb.zip")));
    // A Refresh measures anew; the copies it replaces count as free.
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        const ArchiveListing listing = lister.List(path);
        ASSERT_EQ(listing.Rows.size(), 7u);
        QStringList creators;
        for (size_t i = 0; i < listing.Rows.size(); ++i) {
            const FileRow& row = listing.Rows[i];
            creators << row.Type;
            const bool past = i >= 3 && i <= 5;
            EXPECT_EQ(row.Icon == RowIcon::Unreadable, past) << i;
            EXPECT_EQ(row.Error.contains(QLatin1String("10000 bytes")), past)
                << row.Error.toStdString();
            EXPECT_EQ(row.File.isEmpty(), past) << i;
        }
        EXPECT_EQ(creators, (QStringList{QStringLiteral("cap1"),
                                         QStringLiteral("cap2"),
                                         QStringLiteral("cap3"),
                                         {},
                                         {},
                                         {},
                                         QStringLiteral("smal")}));
        ASSERT_EQ(listing.Errors.size(), 3u);
        EXPECT_TRUE(listing.Errors[0].File.endsWith(QLatin1String("cap4.pdb")));
    }
}
