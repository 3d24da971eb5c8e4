#include "browser/FolderListing.h"

#include "common/DateTime.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

QByteArray Palm(const std::string& creator, int extraBytes = 0) {
    PalmFileBuilder b;
    b.name = "db";
    b.type = "DATA";
    b.creator = creator;
    b.tail = QByteArray(extraBytes, 'x');
    return b.Bytes();
}

struct Listing {
    TPalmPDB reader{std::string(), false};
    ListeDerLinks catalogue;
    size_t threads = 0;
    FolderListing Run(const QString& folder, ListingFilter filter = {}) {
        FolderLister lister(reader, catalogue);
        lister.SetReadingThreads(threads);
        return lister.ListFolder(folder, filter);
    }
};

QStringList Names(const FolderListing& listing) {
    QStringList names;
    for (const FileRow& row : listing.Rows)
        names << row.Name;
    return names;
}

} // namespace

TEST(FolderListing, GroupsDatabasesThenApplicationsThenArchives) {
    TempFolder dir;
    dir.Write(QStringLiteral("z.pdb"), Palm("zzzz"));
    dir.Write(QStringLiteral("a.prc"), Palm("aaaa"));
    dir.Write(QStringLiteral("m.zip"), "PK");
    dir.Write(QStringLiteral("notes.txt"), "text");
    dir.Write(QStringLiteral("UPPER.PDB"), Palm("UPPR"));
    Listing l;
    const FolderListing listing = l.Run(dir.Path());
    ASSERT_EQ(listing.Rows.size(), 4u);
    // z.pdb and UPPER.PDB in the file system's order, then a.prc, then m.zip
    EXPECT_TRUE(Names(listing).mid(0, 2).contains(QStringLiteral("z.pdb")));
    EXPECT_TRUE(Names(listing).mid(0, 2).contains(QStringLiteral("UPPER.PDB")));
    EXPECT_EQ(listing.Rows[2].Name, QStringLiteral("a.prc"));
    EXPECT_EQ(listing.Rows[3].Name, QStringLiteral("m.zip"));
    EXPECT_EQ(listing.Rows[3].Type, QStringLiteral("Zip"));
    EXPECT_EQ(listing.Rows[3].Icon, RowIcon::Archive);
    EXPECT_EQ(listing.Rows[2].Type, QStringLiteral("aaaa"));
    EXPECT_EQ(listing.Rows[2].Icon, RowIcon::PalmFile);
    EXPECT_TRUE(listing.Errors.empty());
    EXPECT_EQ(listing.Folder, dir.Path() + QDir::separator());
}

TEST(FolderListing, FileTypeFiltersChooseTheKinds) {
    TempFolder dir;
    dir.Write(QStringLiteral("a.pdb"), Palm("aaaa"));
    dir.Write(QStringLiteral("b.prc"), Palm("bbbb"));
    dir.Write(QStringLiteral("c.zip"), "PK");
    const struct {
        ListingFilter filter;
        QStringList names;
    } cases[] = {
        {{true, false, false}, {QStringLiteral("a.pdb")}},
        {{false, true, false}, {QStringLiteral("b.prc")}},
        {{false, false, true}, {QStringLiteral("c.zip")}},
        {{false, false, false}, {}},
        {{true, true, true},
         {QStringLiteral("a.pdb"), QStringLiteral("b.prc"), QStringLiteral("c.zip")}},
    };
    for (const auto& c : cases) {
        Listing l;
        EXPECT_EQ(Names(l.Run(dir.Path(), c.filter)), c.names);
    }
}

TEST(FolderListing, EachNewCreatorJoinsTheCatalogueOnce) {
    TempFolder dir;
    dir.Write(QStringLiteral("1.pdb"), Palm("memo"));
    dir.Write(QStringLiteral("2.pdb"), Palm("memo"));
    dir.Write(QStringLiteral("3.prc"), Palm("MEMO"));
    dir.Write(QStringLiteral("4.prc"), Palm(""));
    dir.Write(QStringLiteral("5.zip"), "PK");
    Listing l;
    l.catalogue.AddLink(TLinks{"addr", "Address", "", ""});
    l.Run(dir.Path());
    l.Run(dir.Path());
    ASSERT_EQ(l.catalogue.LinkCount(), 4);
    EXPECT_EQ(l.catalogue.LinkAt(0)->Program, "Address");
    EXPECT_NE(l.catalogue.FindLink("memo"), -1);
    EXPECT_NE(l.catalogue.FindLink("MEMO"), -1);
    EXPECT_NE(l.catalogue.FindLink(""), -1);
    const TLinks* memo = l.catalogue.LinkAt(l.catalogue.FindLink("memo"));
    EXPECT_TRUE(memo->Program.empty() && memo->Description.empty() && memo->URL.empty());
}

TEST(FolderListing, SizeAndChangedColumns) {
    QLocale::setDefault(QLocale::c());
    TempFolder dir;
    const QDateTime midnight(QDate(2006, 11, 2), QTime(0, 0));
    const QDateTime afternoon(QDate(2006, 11, 2), QTime(15, 4, 7));
    dir.Write(QStringLiteral("big.pdb"), Palm("big!", 1234567 - 78), afternoon);
    dir.Write(QStringLiteral("small.pdb"), Palm("smal", 999 - 78), midnight);
    Listing l;
    const FolderListing listing = l.Run(dir.Path());
    ASSERT_EQ(listing.Rows.size(), 2u);
    for (const FileRow& row : listing.Rows) {
        if (row.Name == QStringLiteral("big.pdb")) {
            EXPECT_EQ(SizeColumnText(row), QStringLiteral("1.234.567"));
            EXPECT_EQ(row.Bytes, 1234567);
            // Odd seconds fall to the even second below, as in a packed time stamp.
            EXPECT_EQ(FileDateToDateTime(row.ChangedStamp), EncodeDateTime(2006, 11, 2, 15, 4, 6));
            EXPECT_TRUE(ChangedColumnText(row).contains(QStringLiteral("15:04:06")));
        } else {
            EXPECT_EQ(SizeColumnText(row), QStringLiteral("999"));
            EXPECT_EQ(ChangedColumnText(row),
                      QLocale().toString(QDate(2006, 11, 2), QLocale::ShortFormat));
        }
    }
    QLocale::setDefault(QLocale::system());
}

TEST(FolderListing, UnreadableFilesAreReportedAndTheListingGoesOn) {
    TempFolder dir;
    dir.Write(QStringLiteral("a.pdb"), Palm("aaaa"));
    dir.Write(QStringLiteral("short.pdb"), QByteArray(10, 'x'));
    dir.MakeFolder(QStringLiteral("folder.prc"));
    dir.Write(QStringLiteral("c.prc"), Palm("cccc"));
    Listing l;
    const FolderListing listing = l.Run(dir.Path());
    ASSERT_EQ(listing.Errors.size(), 2u);
    for (const ListingError& e : listing.Errors) {
        EXPECT_EQ(e.Message, QStringLiteral("Error reading file"));
        EXPECT_TRUE(e.File.endsWith(QStringLiteral("short.pdb")) ||
                    e.File.endsWith(QStringLiteral("folder.prc")));
    }
    // Every entry keeps its row; the unreadable ones have no type.
    ASSERT_EQ(listing.Rows.size(), 4u);
    for (const FileRow& row : listing.Rows) {
        const bool unreadable =
            row.Name == QStringLiteral("short.pdb") || row.Name == QStringLiteral("folder.prc");
        EXPECT_EQ(row.Type.isEmpty(), unreadable) << row.Name.toStdString();
    }
    EXPECT_EQ(l.catalogue.LinkCount(), 2);
}

TEST(FolderListing, MissingFolderGivesNothing) {
    TempFolder dir;
    Listing l;
    const FolderListing listing = l.Run(dir.File(QStringLiteral("gone")));
    EXPECT_TRUE(listing.Rows.empty());
    EXPECT_TRUE(listing.Errors.empty());
}

TEST(FolderListing, NamesThatUsersReallyHave) {
    TempFolder dir;
    const QStringList names = {QStringLiteral("Memo Pad \"2\" %d.pdb"),
                               QStringLiteral("Straße Ölfeld.pdb"), QStringLiteral(".hidden.prc"),
                               QString(200, QLatin1Char('n')) + QStringLiteral(".pdb")};
    for (const QString& name : names)
        dir.Write(name, Palm("name"));
    Listing l;
    const FolderListing listing = l.Run(dir.Path());
    EXPECT_TRUE(listing.Errors.empty());
    QStringList listed = Names(listing);
    listed.sort();
    QStringList expected = names;
    expected.sort();
    EXPECT_EQ(listed, expected);
}

// A large folder is read by several threads; what comes out must not show it.
TEST(FolderListing, ManyThreadsListAsOneDoes) {
    TempFolder dir;
    const char* creators[] = {"memo", "addr", "date", "todo", "MAIL"};
    for (int i = 0; i < 400; ++i) {
        const QString name =
            QStringLiteral("f%1").arg(i) + QLatin1String(i % 7 == 0 ? ".prc" : ".pdb");
        // unreadable files throughout, and creators first met late in the folder
        const std::string creator = i > 300 ? "late" : creators[i % 5];
        dir.Write(name, i % 37 == 0 ? QByteArray("short") : Palm(creator, i % 50));
    }
    Listing one;
    one.threads = 1;
    const FolderListing expected = one.Run(dir.Path());
    ASSERT_EQ(expected.Rows.size(), 400u);
    ASSERT_EQ(expected.Errors.size(), 11u);
    for (const size_t threads : {2, 3, 7}) {
        SCOPED_TRACE(threads);
        Listing many;
        many.threads = threads;
        const FolderListing listing = many.Run(dir.Path());
        ASSERT_EQ(Names(listing), Names(expected));
        for (size_t i = 0; i < listing.Rows.size(); ++i) {
            const FileRow& row = listing.Rows[i];
            const FileRow& want = expected.Rows[i];
            ASSERT_TRUE(row.Type == want.Type && row.Bytes == want.Bytes &&
                        row.ChangedStamp == want.ChangedStamp && row.Icon == want.Icon &&
                        row.Error == want.Error)
                << row.Name.toStdString();
        }
        ASSERT_EQ(listing.Errors.size(), expected.Errors.size());
        for (size_t i = 0; i < listing.Errors.size(); ++i)
            EXPECT_EQ(listing.Errors[i].File, expected.Errors[i].File);
        ASSERT_EQ(many.catalogue.LinkCount(), one.catalogue.LinkCount());
        for (int i = 0; i < one.catalogue.LinkCount(); ++i)
            EXPECT_EQ(many.catalogue.LinkAt(i)->CreatorID, one.catalogue.LinkAt(i)->CreatorID);
    }
}
