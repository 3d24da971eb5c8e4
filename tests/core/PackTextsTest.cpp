// The names Pack into ZIP proposes and the report it ends with.
#include "core/PackTexts.h"

#include "support/TempFolder.h"
#include "zip/ZipPacking.h"

#include <gtest/gtest.h>

TEST(PackTexts, TheProposedNameReplacesNothing) {
    TempFolder dir;
    const QString backup = dir.MakeFolder(QStringLiteral("Backup"));
    dir.Write(QStringLiteral("Backup/old.zip"), "x");
    dir.Write(QStringLiteral("Backup/old (2).ZIP"), "x");
    const QString taken = dir.MakeFolder(QStringLiteral("Taken"));
    dir.MakeFolder(QStringLiteral("Taken/Taken.zip")); // a folder of that name
    const struct {
        QString folder;
        QString archive;
        const char* expected;
    } cases[] = {
        {backup, {}, "Backup.zip"},
        {backup, backup + QStringLiteral("/old.zip"), "old (3).zip"},
        {backup, backup + QStringLiteral("/other.tar.zip"), "other.tar.zip"},
        {taken, {}, "Taken (2).zip"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultArchiveName(c.folder, c.archive).toStdString(), c.expected)
            << c.archive.toStdString();
}

TEST(PackTexts, OnlyANameWithoutSuffixGetsZip) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/bundle", "/a/bundle.zip"},     {"/a/bundle.zip", "/a/bundle.zip"},
        {"/a/bundle.ZIP", "/a/bundle.ZIP"}, {"/a/bundle.jar", "/a/bundle.jar"},
        {"/a.b/bundle", "/a.b/bundle.zip"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(WithZipSuffix(QString::fromUtf8(typed)).toStdString(), expected);
}

TEST(PackTexts, TheReportNamesThePackedAndTheSkippedWithTheirCauses) {
    PackResult many;
    many.Written = true;
    for (int i = 0; i < MaxNamesShown + 3; ++i)
        many.Packed << QStringLiteral("f%1.pdb").arg(i);
    PackResult some;
    some.Written = true;
    some.Packed << QStringLiteral("a.pdb");
    some.Skipped << QStringLiteral("b.pdb: gone");
    PackResult none;
    none.Error = QStringLiteral("Unable to write to x.zip: full");
    none.Skipped << QStringLiteral("c.pdb: gone");
    const struct {
        const char* what;
        const PackResult& result;
        QStringList unavailable;
        QStringList has;
        QStringList lacks;
    } cases[] = {
        {"many",
         many,
         {},
         {QStringLiteral("23 files were packed into /t/x.zip:\nf0.pdb\n"),
          QStringLiteral("f19.pdb\nand 3 more")},
         {QStringLiteral("f20.pdb"), QStringLiteral("not packed")}},
        {"some skipped",
         some,
         {QStringLiteral("r.pdb: not extracted")},
         {QStringLiteral("1 file was packed into /t/x.zip:\na.pdb"),
          QStringLiteral("These files were not packed:\nr.pdb: not extracted\nb.pdb: gone")},
         {QStringLiteral("more")}},
        {"none written",
         none,
         {},
         {QStringLiteral(
             "Unable to write to x.zip: full\n\nThese files were not packed:\nc.pdb: gone")},
         {QStringLiteral("were packed")}},
    };
    for (const auto& c : cases) {
        const QString text = PackReportText(QStringLiteral("/t/x.zip"), c.result, c.unavailable);
        for (const QString& part : c.has)
            EXPECT_TRUE(text.contains(part)) << c.what << ": " << text.toStdString();
        for (const QString& part : c.lacks)
            EXPECT_FALSE(text.contains(part)) << c.what << ": " << text.toStdString();
    }
}
