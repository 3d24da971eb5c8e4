// Faults of the disk met by copy, move and the listing: each gives a message that names
// the file and the cause, and nothing is lost.
#include "browser/CopyMove.h"
#include "browser/FolderListing.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray Palm(const std::string& creator) {
    PalmFileBuilder b;
    b.name = "db";
    b.type = "DATA";
    b.creator = creator;
    b.tail = QByteArray(40, 'x');
    return b.Bytes();
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A disk that is full from the first byte; renames cross file systems when asked, so
// that a move has to copy too.
struct FullDisk {
    bool otherFileSystem = false;
    FileSystemCalls calls{[](int, const void*, size_t) -> long {
                              errno = ENOSPC;
                              return -1;
                          },
                          [this](const QString& from, const QString& to, bool replace) {
                              return otherFileSystem
                                         ? EXDEV
                                         : FileSystemCalls::Real().Rename(from, to, replace);
                          }};
};

bool PermissionsAreEnforced(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) != 0;
}

} // namespace

TEST(Faults, ACopyOrMoveThatCannotBeDoneNamesTheCauseAndKeepsTheSource) {
    struct Case {
        const char* name;
        // Prepares the target under root; returns the target folder and the expected
        // folder error (empty when the item itself is to fail with itemError).
        std::function<QString(TempFolder&, QString& folderError)> target;
        QString itemError;
        bool fullDisk = false;
    };
    const std::vector<Case> cases = {
        {"the target is a file",
         [](TempFolder& root, QString& folderError) {
             const QString file = root.Write(QStringLiteral("target"), "a file");
             folderError = file + QStringLiteral(" is not a folder.");
             return file;
         },
         {}},
        {"the target folder is missing",
         [](TempFolder& root, QString& folderError) {
             const QString missing = root.File(QStringLiteral("missing"));
             folderError =
                 QStringLiteral("The folder ") + missing + QStringLiteral(" does not exist.");
             return missing;
         },
         {}},
        {"the disk is full",
         [](TempFolder& root, QString&) { return root.MakeFolder(QStringLiteral("target")); },
         QStringLiteral("a b.pdb: No space left on device"), true},
        {"the target folder is read-only",
         [](TempFolder& root, QString&) {
             const QString folder = root.MakeFolder(QStringLiteral("target"));
             QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
             return folder;
         },
         QStringLiteral("a b.pdb: Permission denied")},
    };
    for (const Case& c : cases)
        for (const bool copy : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (copy ? ", copy" : ", move"));
            TempFolder root;
            const QString source = root.Write(QStringLiteral("source/a b.pdb"), Palm("srce"));
            QString folderError;
            const QString target = c.target(root, folderError);
            if (c.itemError.contains(QStringLiteral("Permission")) &&
                !PermissionsAreEnforced(target)) {
                QFile::setPermissions(target,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                continue; // root writes anywhere: this case needs an ordinary user
            }
            FullDisk disk;
            disk.otherFileSystem = true;
            CopyMoveRun run(copy, c.fullDisk ? disk.calls : FileSystemCalls::Real());
            run.AskOverwrite = [](const QString&) {
                return OverwriteAnswer::No;
            };
            const CopyMoveReport report = run.Run(target, {{source, QStringLiteral("a b.pdb")}});

            EXPECT_EQ(report.FolderError, folderError);
            if (folderError.isEmpty()) {
                EXPECT_EQ(report.Outcomes, std::vector<ItemOutcome>{ItemOutcome::Failed});
                EXPECT_EQ(report.Failures, QStringList{c.itemError});
                if (QFileInfo(target).isDir()) {
                    QFile::setPermissions(target,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::NoDotAndDotDot),
                              QStringList())
                        << "no part of a copy is left";
                }
            } else {
                EXPECT_EQ(report.Outcomes, std::vector<ItemOutcome>{ItemOutcome::NotReached});
            }
            EXPECT_EQ(Read(source), Palm("srce")) << "the source is intact";
        }
}

// The details are read after the listing: a file changed meanwhile is reported by the
// reader, by name, and the listing itself keeps what it saw.
TEST(Faults, AFileThatShrinksOrVanishesAfterTheListingIsReported) {
    TempFolder dir;
    const QString shrinking = dir.Write(QStringLiteral("shrinks.pdb"), Palm("aaaa"));
    const QString vanishing = dir.Write(QStringLiteral("vanishes.pdb"), Palm("bbbb"));
    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    const FolderListing listing = FolderLister(reader, catalogue).ListFolder(dir.Path(), {});
    ASSERT_EQ(listing.Rows.size(), 2u);
    ASSERT_TRUE(listing.Errors.empty());

    ASSERT_TRUE(QFile::resize(shrinking, 30));
    ASSERT_TRUE(QFile::remove(vanishing));
    for (const QString& path : {shrinking, vanishing}) {
        reader.SetFileName(QFile::encodeName(path).toStdString());
        const std::string creator = reader.Header().Creator;
        EXPECT_THROW(reader.ReadHeader(), EInvalidPalmDatabase) << path.toStdString();
        EXPECT_EQ(reader.Header().Creator, creator) << "a failed read changes no header";
    }
    EXPECT_EQ(catalogue.LinkCount(), 2);

    // Listing again shows the shrunk file as unreadable and the vanished one not at all.
    const FolderListing again = FolderLister(reader, catalogue).ListFolder(dir.Path(), {});
    ASSERT_EQ(again.Rows.size(), 1u);
    EXPECT_EQ(again.Rows[0].Name, QStringLiteral("shrinks.pdb"));
    EXPECT_EQ(again.Rows[0].Icon, RowIcon::Unreadable);
    ASSERT_EQ(again.Errors.size(), 1u);
    EXPECT_EQ(again.Errors[0].File, shrinking);
}

// Names and creator IDs that real folders hold.
TEST(Names, AThousandFilesOfOneCreatorJoinTheCatalogueOnce) {
    TempFolder dir;
    for (int i = 0; i < 1000; ++i)
        dir.Write(QStringLiteral("Memo %1.pdb").arg(i), Palm("memo"));
    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    const FolderListing listing = FolderLister(reader, catalogue).ListFolder(dir.Path(), {});
    EXPECT_EQ(listing.Rows.size(), 1000u);
    EXPECT_TRUE(listing.Errors.empty());
    EXPECT_EQ(catalogue.LinkCount(), 1);
    for (const FileRow& row : listing.Rows)
        ASSERT_EQ(row.Type, QStringLiteral("memo")) << row.Name.toStdString();
}

TEST(Names, CreatorIdsOfAnyBytesAreListedAndKeptByteForByte) {
    struct Case {
        std::string creator; // the header's four bytes
        QString shown;       // the Type column
        std::string kept;    // the catalogue's ID, after the saved file is read again
    };
    const std::vector<Case> cases = {
        {"\xE9t\xE9s", QString::fromUtf8("étés"), "\xE9t\xE9s"},
        {"\x80\x9F\xFF\xA0", QString::fromUtf8("€Ÿÿ\u00a0"), "\x80\x9F\xFF\xA0"},
        {"a\x01\x1Fz", QString::fromUtf8("a\u0001\u001Fz"), "a\x01\x1Fz"},
        {std::string("ab\0d", 4), QStringLiteral("ab"), "ab"}, // a NUL ends the text
    };
    TempFolder dir;
    for (size_t i = 0; i < cases.size(); ++i)
        dir.Write(QStringLiteral("file %1.pdb").arg(i), Palm(cases[i].creator));
    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    const FolderListing listing = FolderLister(reader, catalogue).ListFolder(dir.Path(), {});
    ASSERT_EQ(listing.Rows.size(), cases.size());
    for (const FileRow& row : listing.Rows) {
        const size_t i = size_t(row.Name.mid(5, 1).toInt());
        EXPECT_EQ(row.Type, cases[i].shown) << row.Name.toStdString();
    }

    const QString file = dir.File(QStringLiteral("CreatorIDs.ini"));
    for (int i = 0; i < catalogue.LinkCount(); ++i) {
        const TLinks link = *catalogue.LinkAt(i);
        catalogue.UpdateLink(link.CreatorID, "Program " + link.CreatorID, "", "", i);
    }
    catalogue.SaveCreatorIDs(file);
    ListeDerLinks again;
    ASSERT_TRUE(again.LoadCreatorIDs(file));
    ASSERT_EQ(again.LinkCount(), int(cases.size()));
    for (const Case& c : cases) {
        const int index = again.FindLink(c.kept);
        ASSERT_GE(index, 0) << c.kept;
        EXPECT_EQ(again.LinkAt(index)->Program, "Program " + c.kept);
    }
}
