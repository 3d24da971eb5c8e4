// A folder's files whose names are not UTF-8: each row shows the name's text and keeps the
// bytes, so that the row's path reaches the file.
#include "core/FileListModel.h"
#include "core/FolderListing.h"
#include "creators/CreatorCatalogue.h"
#include "platform/NativePath.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void WriteNative(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
}

QByteArray Palm(const std::string& creator) {
    PalmFileBuilder b;
    b.name = "db";
    b.type = "DATA";
    b.creator = creator;
    return b.Bytes();
}

} // namespace

TEST(ByteNameListing, RowsShowTheNamesTextAndReachTheFileByItsBytes) {
    struct Case {
        const char* what;
        QByteArray name;
        QByteArray content;
        QString shown;
        QString type;
        bool unreadable;
    };
    const Case cases[] = {
        {"Latin-1 database",
         "Adre\xDF"
         "buch.pdb",
         Palm("addr"), QStringLiteral("Adreßbuch.pdb"), QStringLiteral("addr"), false},
        {"Windows-1252 application", "\x84Quote\x93.prc", Palm("quot"),
         QStringLiteral("„Quote“.prc"), QStringLiteral("quot"), false},
        {"unreadable Latin-1 file", "kurz\xE9.pdb", QByteArray(10, 'x'),
         QStringLiteral("kurzé.pdb"), QString(), true},
        {"Latin-1 archive", "Sicherung \xE9t\xE9.zip", "PK", QStringLiteral("Sicherung été.zip"),
         QStringLiteral("Zip"), false},
        // Qt's UTF-8 decoder drops a leading byte order mark, and the file with it.
        {"UTF-8 name with a byte order mark",
         "\xEF\xBB\xBF"
         "bom.pdb",
         Palm("bom_"), QStringLiteral("\uFEFFbom.pdb"), QStringLiteral("bom_"), false},
    };
    TempFolder dir;
    const QByteArray folder = QFile::encodeName(dir.Path()) + '/';
    for (const Case& c : cases)
        WriteNative(folder + c.name, c.content);

    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    FolderListing listing = FolderLister(reader, catalogue).ListFolder(dir.Path(), {});
    ASSERT_EQ(listing.Rows.size(), std::size(cases));
    FileListModel model;
    model.SetFolder(listing.Folder);
    const std::vector<FileRow> rows = listing.Rows;
    model.SetRows(std::move(listing.Rows));
    for (const Case& c : cases) {
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const FileRow& r) { return r.Name == c.shown; });
        ASSERT_NE(row, rows.end()) << c.what;
        const int index = int(row - rows.begin());
        EXPECT_EQ(row->Type, c.type) << c.what;
        EXPECT_EQ(row->Bytes, c.content.size()) << c.what;
        EXPECT_NE(row->ChangedStamp, 0) << c.what;
        EXPECT_EQ(row->Icon == RowIcon::Unreadable, c.unreadable) << c.what;
        EXPECT_EQ(EncodePath(model.RowPath(index)), folder + c.name) << c.what;
        EXPECT_EQ(model.index(index, 0).data().toString(), c.shown) << c.what;
    }
    ASSERT_EQ(listing.Errors.size(), 1u);
    EXPECT_EQ(EncodePath(listing.Errors[0].File), folder + "kurz\xE9.pdb");
}
