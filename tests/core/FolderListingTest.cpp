#include "core/FolderListing.h"

#include "common/DateTime.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>

namespace {

QByteArray Palm(const std::string& creator, int extraBytes = 0) {
    return PalmFileBytes(creator, extraBytes);
}

// "a b c" -> {"a", "b", "c"}
QStringList Words(const char* words) {
    return QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts);
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

} // namespace

TEST(FolderListing, ListsTheChosenKindsInGroupsAndKeepsUnreadableFilesAndNewCreators) {
    TempFolder dir;
    const QDateTime time(QDate(2006, 11, 2), QTime(15, 4, 7));
    const QString odd = QString::fromUtf8("Memo \"2\" %d Ölfeld.PDB");
    const QString hidden = QStringLiteral(".hidden ") + QString(200, u'n') + QStringLiteral(".prc");
    dir.Write(QStringLiteral("6.zip"), "PK", time);
    dir.Write(QStringLiteral("1.pdb"), Palm("memo", 1234567 - 78), time);
    dir.Write(odd, Palm("memo"));
    dir.Write(QStringLiteral("3.prc"), Palm("MEMO"));
    dir.Write(hidden, Palm("Zip"));
    dir.Write(QStringLiteral("4.prc"), Palm(""));
    dir.Write(QStringLiteral("5.pdb"), Palm("\xE9t\xE9s")); // a creator ID in Palm text
    dir.Write(QStringLiteral("short.pdb"), QByteArray(10, 'x'), time);
    dir.MakeFolder(QStringLiteral("folder.prc"));
    dir.Write(QStringLiteral("notes.txt"), "text");
    // The kinds of the rows in their order.
    const auto kinds = [](const FolderListing& listing) {
        QStringList extensions;
        for (const FileRow& row : listing.Rows)
            extensions << row.Name.section(u'.', -1).toLower();
        return extensions.join(u' ');
    };
    const std::pair<ListingFilter, const char*> filters[] = {
        {{true, false, false}, "pdb pdb pdb pdb"},
        {{false, true, false}, "prc prc prc prc"},
        {{false, false, true}, "zip"}};
    for (const auto& [filter, expected] : filters) {
        Listing l;
        EXPECT_EQ(kinds(l.Run(dir.Path(), filter)), QLatin1String(expected));
    }
    Listing l;
    l.catalogue.AddLink(TLinks{"addr", "Address", "", ""});
    l.Run(dir.Path());
    const FolderListing listing = l.Run(dir.Path());
    EXPECT_EQ(listing.Folder, dir.Path() + QDir::separator());
    EXPECT_EQ(kinds(listing), QStringLiteral("pdb pdb pdb pdb prc prc prc prc zip"));

    // Sizes and times also of the rows whose file is not read; times to the even second below.
    const std::map<QString, int64_t> sizes{{QStringLiteral("1.pdb"), 1234567},
                                           {QStringLiteral("short.pdb"), 10},
                                           {QStringLiteral("6.zip"), 2}};
    // Each row's Type, after "#" for an archive; "!" and the message for an unreadable file.
    std::map<QString, QString> rows;
    for (const FileRow& row : listing.Rows) {
        rows[row.Name] = row.Icon == RowIcon::Unreadable ? u'!' + row.Error
                         : row.Icon == RowIcon::Archive  ? u'#' + row.Type
                                                         : row.Type;
        if (const auto size = sizes.find(row.Name); size != sizes.end()) {
            EXPECT_EQ(row.Bytes, size->second) << row.Name.toStdString();
            EXPECT_EQ(FileDateToDateTime(row.ChangedStamp), EncodeDateTime(2006, 11, 2, 15, 4, 6));
        }
    }
    const QString unreadable = QStringLiteral("!Error reading file");
    EXPECT_EQ(rows,
              (std::map<QString, QString>{{QStringLiteral("1.pdb"), QStringLiteral("memo")},
                                          {odd, QStringLiteral("memo")},
                                          {QStringLiteral("3.prc"), QStringLiteral("MEMO")},
                                          {hidden, QStringLiteral("Zip")},
                                          {QStringLiteral("4.prc"), QString()},
                                          {QStringLiteral("5.pdb"), QString::fromUtf8("étés")},
                                          {QStringLiteral("short.pdb"), unreadable},
                                          {QStringLiteral("folder.prc"), unreadable},
                                          {QStringLiteral("6.zip"), QStringLiteral("#Zip")}}));
    ASSERT_EQ(listing.Errors.size(), 2u);
    for (const ListingError& e : listing.Errors)
        EXPECT_TRUE(e.File == dir.File(QStringLiteral("short.pdb")) ||
                    e.File == dir.File(QStringLiteral("folder.prc")))
            << e.File.toStdString();

    // Each new creator ID joins the catalogue once, byte for byte, with empty texts.
    ASSERT_EQ(l.catalogue.LinkCount(), 6);
    EXPECT_EQ(l.catalogue.LinkAt(0)->Program, "Address");
    for (const std::string creator : {"memo", "MEMO", "Zip", "", "\xE9t\xE9s"})
        EXPECT_NE(l.catalogue.FindLink(creator), -1) << creator;
    const TLinks* memo = l.catalogue.LinkAt(l.catalogue.FindLink("memo"));
    EXPECT_TRUE(memo->Program.empty() && memo->Description.empty() && memo->URL.empty());
    EXPECT_TRUE(l.Run(dir.File(QStringLiteral("gone"))).Rows.empty());
}

// Within each kind, names come by FileNameLess (FileNameOrderTest), however many threads
// read them and in whatever order the folder holds them.
TEST(FolderListing, EachKindComesInNameOrderWithoutRegardToCase) {
    TempFolder dir;
    const QStringList expected = Words("10.pdb 9.pdb a.PDB B.pdb Z.pdb _x.pdb "
                                       "0.prc apple.prc Bar.PRC "
                                       "A.zip b.ZIP c.zip");
    // Made in reverse order, so that an order of creation is no order of names.
    for (qsizetype i = expected.size() - 1; i >= 0; --i)
        dir.Write(expected[i], expected[i].endsWith(u"zip", Qt::CaseInsensitive) ? QByteArray("PK")
                                                                                 : Palm("memo"));
    for (const size_t threads : {1, 3}) {
        Listing l;
        l.threads = threads;
        QStringList names;
        for (const FileRow& row : l.Run(dir.Path()).Rows)
            names << row.Name;
        EXPECT_EQ(names, expected) << threads << " threads";
    }
}

// Each file counted as unreadable is a row with its marker, and each marked row is counted:
// a link to a file that is gone is listed with the link's own size.
TEST(FolderListing, EveryUnreadableFileIsOneMarkedRow) {
    TempFolder dir;
    dir.Write(QStringLiteral("good.pdb"), Palm("memo"));
    dir.Write(QStringLiteral("short.pdb"), "short");
    const QString target = dir.File(QStringLiteral("gone-away-target"));
    for (const char* link : {"dangling.pdb", "dangling.prc"}) {
        ASSERT_TRUE(QFile::link(target, dir.File(QString::fromLatin1(link))));
    }
    Listing l;
    const FolderListing listing = l.Run(dir.Path());
    QStringList marked;
    for (const FileRow& row : listing.Rows) {
        if (row.Icon != RowIcon::Unreadable)
            continue;
        marked << row.Name;
        if (row.Name.startsWith(u"dangling")) {
            EXPECT_EQ(row.Bytes, QFile::encodeName(target).size());
        }
    }
    EXPECT_EQ(marked, Words("dangling.pdb short.pdb dangling.prc"));
    QStringList counted;
    for (const ListingError& error : listing.Errors)
        counted << QFileInfo(error.File).fileName();
    EXPECT_EQ(counted, marked);
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
    // Rows, errors and the catalogue, in their order.
    const auto list = [&](size_t threads) {
        Listing l;
        l.threads = threads;
        const FolderListing listing = l.Run(dir.Path());
        QStringList all;
        for (const FileRow& row : listing.Rows)
            all << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(row.Name, row.Type)
                       .arg(row.Bytes)
                       .arg(row.ChangedStamp)
                       .arg(int(row.Icon))
                       .arg(row.Error);
        for (const ListingError& error : listing.Errors)
            all << error.File + u' ' + error.Message;
        for (int i = 0; i < l.catalogue.LinkCount(); ++i)
            all << QString::fromStdString(l.catalogue.LinkAt(i)->CreatorID);
        return all;
    };
    const QStringList one = list(1);
    ASSERT_EQ(one.size(), 400 + 11 + 6);
    for (const size_t threads : {2, 3, 7})
        EXPECT_EQ(list(threads), one) << threads << " threads";
}

TEST(FolderListing, RowsCarryTheDatabaseNameOfTheHeader) {
    TempFolder dir;
    PalmFileBuilder named;
    named.name = "Caf\xE9 \x80";
    named.creator = "memo";
    named.WriteTo(dir.File(QStringLiteral("a.pdb")));
    PalmFileBuilder full;
    full.name = std::string(32, 'N'); // no NUL: all 32 bytes
    full.WriteTo(dir.File(QStringLiteral("b.pdb")));
    dir.Write(QStringLiteral("c.pdb"), "short");
    dir.Write(QStringLiteral("d.zip"), "zip");
    Listing l;
    std::map<QString, QString> names;
    for (const FileRow& row : l.Run(dir.Path()).Rows)
        names[row.Name] = row.Database;
    EXPECT_EQ(names,
              (std::map<QString, QString>{{QStringLiteral("a.pdb"), QString::fromUtf8("Café €")},
                                          {QStringLiteral("b.pdb"), QString(32, u'N')},
                                          {QStringLiteral("c.pdb"), QString()},
                                          {QStringLiteral("d.zip"), QString()}}));
}
