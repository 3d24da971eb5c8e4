// Tests of the Palm database readers: the 78-byte header, its dates, the record list, and
// that a file is open only for the length of one read.
#include "palmdb/PalmDatabase.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using ::testing::HasSubstr;

// Days from 1970-01-01 to a civil date (proleptic Gregorian), worked out without the code
// under test.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

// The date-time value (days since 1899-12-30) of a civil date and time.
double DateTime(int y, unsigned m, unsigned d, int hh, int mm, int ss) {
    const int64_t days = DaysFromCivil(y, m, d) - DaysFromCivil(1899, 12, 30);
    return double(days) + double(hh * 3600 + mm * 60 + ss) / 86400.0;
}

std::string Std(const QString& path) {
    return path.toStdString();
}

// Runs f and expects exception E with exactly this message.
template <typename E>
void ExpectThrowsMessage(const std::function<void()>& f, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "no exception, expected \"" << message << "\"";
    } catch (const E& e) {
        EXPECT_EQ(e.what(), message);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "wrong exception type: " << e.what();
    }
}

void ExpectEmptyHeader(const TPDBHeader& h, double date) {
    EXPECT_EQ(h.Name, "");
    EXPECT_FALSE(h.ReadOnly);
    EXPECT_FALSE(h.Dirty);
    EXPECT_FALSE(h.Backup);
    EXPECT_FALSE(h.Overwrite);
    EXPECT_FALSE(h.ForceReset);
    EXPECT_FALSE(h.NoBeaming);
    EXPECT_EQ(h.Version, 0);
    EXPECT_EQ(h.Created, date);
    EXPECT_EQ(h.Modified, date);
    EXPECT_EQ(h.BackedUp, date);
    EXPECT_EQ(h.ModNumber, 0);
    EXPECT_EQ(h.AppInfoArea, 0);
    EXPECT_EQ(h.SortInfoArea, 0);
    EXPECT_EQ(h.DBType, "");
    EXPECT_EQ(h.Creator, "");
    EXPECT_EQ(h.IDSeed, 0);
    EXPECT_EQ(h.NextRecordList, 0);
    EXPECT_EQ(h.RecordCount, 0);
}

class PalmDatabaseTest : public ::testing::Test {
protected:
    // Writes a file into the test's folder and returns its path as the readers take it.
    std::string Write(const QString& name, const QByteArray& bytes) const {
        return Std(Folder.Write(name, bytes));
    }
    std::string Write(const QString& name, const PalmFileBuilder& b) const {
        return Write(name, b.Bytes());
    }
    TPDBHeader Read(const PalmFileBuilder& b) const {
        return TPalmDatabase(Write(QStringLiteral("h.pdb"), b), true).Header();
    }

    TempFolder Folder;
};

TEST_F(PalmDatabaseTest, UnreadableFilesGiveErrorReadingFile) {
    struct Case {
        const char* what;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"77 bytes", Write(QStringLiteral("short.pdb"), PalmFileBuilder().Bytes().left(77))},
        {"empty file", Write(QStringLiteral("empty.prc"), QByteArray())},
        {"folder named x.pdb", Std(Folder.MakeFolder(QStringLiteral("x.pdb")))},
        {"missing file", Std(Folder.File(QStringLiteral("missing.pdb")))},
        {"empty file name", std::string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPalmDatabase reader(c.path, false);
        ExpectThrowsMessage<EInvalidPalmDatabase>([&] { reader.ReadHeader(); },
                                                  "Error reading file");
        ExpectThrowsMessage<EInvalidPalmDatabase>([&] { TPalmDatabase(c.path, true); },
                                                  "Error reading file");
        ExpectThrowsMessage<EInvalidPalmDatabase>([&] { TPalmPDB(c.path, true); },
                                                  "Error reading file");
    }
}

#ifndef _WIN32
TEST_F(PalmDatabaseTest, FifoNamedLikeAPalmFileFailsInsteadOfBlocking) {
    const std::string path = Std(Folder.File(QStringLiteral("pipe.pdb")));
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    TPalmDatabase reader(path, false);
    ExpectThrowsMessage<EInvalidPalmDatabase>([&] { reader.ReadHeader(); }, "Error reading file");
}
#endif

TEST_F(PalmDatabaseTest, SeventyEightZeroBytesGiveAnEmptyHeader) {
    const QByteArray zeros(TPalmDatabase::HeaderSize, '\0');
    TPalmDatabase reader(Write(QStringLiteral("zero.pdb"), zeros), true);
    ExpectEmptyHeader(reader.Header(), 25569.0);
    EXPECT_EQ(reader.FileSize(), 78);
}

TEST_F(PalmDatabaseTest, BeforeTheFirstReadTheHeaderIsEmptyWithDateZero) {
    TPalmDatabase reader(Std(Folder.File(QStringLiteral("missing.pdb"))), false);
    ExpectEmptyHeader(reader.Header(), 0.0);
    EXPECT_EQ(reader.FileSize(), 0);
    EXPECT_EQ(reader.FileTime(), 0);
    EXPECT_FALSE(reader.ReadNow());
    EXPECT_EQ(reader.FileName(), Std(Folder.File(QStringLiteral("missing.pdb"))));
}

TEST_F(PalmDatabaseTest, AnyFileOfAtLeast78BytesIsDecoded) {
    // A 100-byte text file: byte i is the (i mod 62)-th of A-Z a-z 0-9, then a line end.
    const QByteArray alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QByteArray text;
    for (int i = 0; i < 99; ++i)
        text.append(alphabet[i % alphabet.size()]);
    text.append('\n');
    ASSERT_EQ(text.size(), 100);

    TPalmDatabase reader(Write(QStringLiteral("readme.txt.pdb"), text), true);
    const TPDBHeader& h = reader.Header();
    EXPECT_EQ(h.Name, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef");
    // Attributes "gh" = 0x6768: of the six bits only 0x08, 0x20 and 0x40 are set.
    EXPECT_FALSE(h.ReadOnly);
    EXPECT_FALSE(h.Dirty);
    EXPECT_TRUE(h.Backup);
    EXPECT_FALSE(h.Overwrite);
    EXPECT_TRUE(h.ForceReset);
    EXPECT_TRUE(h.NoBeaming);
    EXPECT_EQ(h.Version, 0x696A);                          // "ij"
    EXPECT_EQ(h.Created, PalmDateToDateTime(0x6B6C6D6E));  // "klmn"
    EXPECT_EQ(h.Modified, PalmDateToDateTime(0x6F707172)); // "opqr"
    EXPECT_EQ(h.BackedUp, PalmDateToDateTime(0x73747576)); // "stuv"
    EXPECT_EQ(h.ModNumber, 0x7778797A);                    // "wxyz"
    EXPECT_EQ(h.AppInfoArea, 0x30313233);                  // "0123"
    EXPECT_EQ(h.SortInfoArea, 0x34353637);                 // "4567"
    EXPECT_EQ(h.DBType, "89AB");
    EXPECT_EQ(h.Creator, "CDEF");
    EXPECT_EQ(h.IDSeed, 0x4748494A);         // "GHIJ"
    EXPECT_EQ(h.NextRecordList, 0x4B4C4D4E); // "KLMN"
    EXPECT_EQ(h.RecordCount, 0x4F50);        // "OP"
    EXPECT_EQ(reader.FileSize(), 100);
}

TEST_F(PalmDatabaseTest, TextsEndAtTheirFirstNulByte) {
    struct Case {
        const char* what;
        std::string name, type, creator;
        std::string expectedName, expectedType, expectedCreator;
    };
    const std::string name32 = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
    const std::vector<Case> cases = {
        {"32 bytes without NUL", name32, "DATA", "memo", name32, "DATA", "memo"},
        {"NUL inside", std::string("ABC\0xyz", 7), std::string("ab\0d", 4), std::string("\0bcd", 4),
         "ABC", "ab", ""},
        {"short texts", "Memo DB", "ab", "x", "Memo DB", "ab", "x"},
        {"8-bit bytes kept as they are", "Kalender \xE4\xF6\xFC\xDF", "\x80\xFF\x01\x7F",
         "\xA9Pl\xE9", "Kalender \xE4\xF6\xFC\xDF", "\x80\xFF\x01\x7F", "\xA9Pl\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PalmFileBuilder b;
        b.name = c.name;
        b.type = c.type;
        b.creator = c.creator;
        const TPDBHeader h = Read(b);
        EXPECT_EQ(h.Name, c.expectedName);
        EXPECT_EQ(h.DBType, c.expectedType);
        EXPECT_EQ(h.Creator, c.expectedCreator);
    }
}

TEST_F(PalmDatabaseTest, SixAttributeBitsAreReadAndTheOthersIgnored) {
    struct Case {
        uint16_t word;
        bool readOnly, dirty, backup, overwrite, forceReset, noBeaming;
    };
    std::vector<Case> cases = {
        {0xFFFF, true, true, true, true, true, true},
        {0x0001, false, false, false, false, false, false},
        {0xFF80, false, false, false, false, false, false},
        {0x0000, false, false, false, false, false, false},
        {0x0002, true, false, false, false, false, false},
        {0x0004, false, true, false, false, false, false},
        {0x0008, false, false, true, false, false, false},
        {0x0010, false, false, false, true, false, false},
        {0x0020, false, false, false, false, true, false},
        {0x0040, false, false, false, false, false, true},
    };
    for (int bit = 7; bit < 16; ++bit)
        cases.push_back({uint16_t(1u << bit), false, false, false, false, false, false});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "attributes 0x" << std::hex << c.word);
        PalmFileBuilder b;
        b.attributes = c.word;
        const TPDBHeader h = Read(b);
        EXPECT_EQ(h.ReadOnly, c.readOnly);
        EXPECT_EQ(h.Dirty, c.dirty);
        EXPECT_EQ(h.Backup, c.backup);
        EXPECT_EQ(h.Overwrite, c.overwrite);
        EXPECT_EQ(h.ForceReset, c.forceReset);
        EXPECT_EQ(h.NoBeaming, c.noBeaming);
    }
}

TEST_F(PalmDatabaseTest, DatesCountFrom1904OrFrom1970WhenSmall) {
    struct Case {
        uint32_t stored;
        double expected;
    };
    const std::vector<Case> cases = {
        {0, DateTime(1970, 1, 1, 0, 0, 0)},
        {2082844800u, DateTime(1970, 1, 1, 0, 0, 0)},
        {1, DateTime(1970, 1, 1, 0, 0, 1)},
        {2082844799u, DateTime(2036, 1, 1, 23, 59, 59)},
        {2082844801u, DateTime(1970, 1, 1, 0, 0, 1)},
        {3000000000u, DateTime(1999, 1, 24, 5, 20, 0)},
        {4294967295u, DateTime(2040, 2, 6, 6, 28, 15)},
    };
    // The civil-date arithmetic itself, against the fixed value of 1970-01-01.
    ASSERT_EQ(DateTime(1970, 1, 1, 0, 0, 0), 25569.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "stored " << c.stored);
        EXPECT_DOUBLE_EQ(PalmDateToDateTime(c.stored), c.expected);
        PalmFileBuilder b;
        b.created = c.stored;
        b.modified = c.stored;
        b.backedUp = c.stored;
        const TPDBHeader h = Read(b);
        EXPECT_DOUBLE_EQ(h.Created, c.expected);
        EXPECT_DOUBLE_EQ(h.Modified, c.expected);
        EXPECT_DOUBLE_EQ(h.BackedUp, c.expected);
    }
}

TEST_F(PalmDatabaseTest, EachDateComesFromItsOwnField) {
    PalmFileBuilder b;
    b.created = 3000000000u;
    b.modified = 1;
    b.backedUp = 4294967295u;
    const TPDBHeader h = Read(b);
    EXPECT_DOUBLE_EQ(h.Created, DateTime(1999, 1, 24, 5, 20, 0));
    EXPECT_DOUBLE_EQ(h.Modified, DateTime(1970, 1, 1, 0, 0, 1));
    EXPECT_DOUBLE_EQ(h.BackedUp, DateTime(2040, 2, 6, 6, 28, 15));
}

TEST_F(PalmDatabaseTest, NumbersAreBigEndianAndThe32BitOnesSigned) {
    PalmFileBuilder b;
    b.version = 0xFFFF;
    b.modNumber = 0xFFFFFFFFu;
    b.appInfoArea = 0x80000000u;
    b.sortInfoArea = 0x01020304u;
    b.idSeed = 0x7FFFFFFFu;
    b.nextRecordList = 0xFFFFFFFEu;
    b.recordCountOverride = 0xFFFF; // the header alone: the list is not read here
    const TPDBHeader h = Read(b);
    EXPECT_EQ(h.Version, 65535);
    EXPECT_EQ(h.ModNumber, -1);
    EXPECT_EQ(h.AppInfoArea, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(h.SortInfoArea, 0x01020304);
    EXPECT_EQ(h.IDSeed, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(h.NextRecordList, -2);
    EXPECT_EQ(h.RecordCount, 65535);
}

TEST_F(PalmDatabaseTest, SetFileNameKeepsThePreviousHeaderUntilReadHeader) {
    PalmFileBuilder first;
    first.name = "First";
    first.creator = "AAAA";
    PalmFileBuilder second;
    second.name = "Second";
    second.creator = "BBBB";
    second.tail = QByteArray(22, 'x');
    const std::string firstPath = Write(QStringLiteral("first.pdb"), first);
    const std::string secondPath = Write(QStringLiteral("second.prc"), second);

    TPalmPDB reader("", false); // as the main window makes its shared reader
    reader.SetFileName(firstPath);
    reader.ReadHeader();
    reader.SetFileName(secondPath);
    EXPECT_EQ(reader.FileName(), secondPath);
    EXPECT_EQ(reader.Header().Name, "First");
    EXPECT_EQ(reader.Header().Creator, "AAAA");
    EXPECT_EQ(reader.FileSize(), 78);
    reader.ReadHeader();
    EXPECT_EQ(reader.Header().Name, "Second");
    EXPECT_EQ(reader.Header().Creator, "BBBB");
    EXPECT_EQ(reader.FileSize(), 100);
    EXPECT_TRUE(reader.Records().empty());
}

#ifndef _WIN32
TEST_F(PalmDatabaseTest, ReadHeaderInFolderOpensTheNameInTheHeldFolder) {
    PalmFileBuilder b;
    b.name = "In folder";
    b.creator = "FOLD";
    Write(QStringLiteral("listed.pdb"), b);
    Folder.MakeFolder(QStringLiteral("x.pdb"));
    ASSERT_EQ(mkfifo(Std(Folder.File(QStringLiteral("pipe.pdb"))).c_str(), 0600), 0);
    const int folder = ::open(Std(Folder.Path()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);

    // The folder part of the path is not used for the open: only the name after nameStart.
    const std::string elsewhere = "/no/such/folder/";
    TPalmPDB reader("", false);
    reader.ReadHeaderInFolder(elsewhere + "listed.pdb", folder, elsewhere.size());
    EXPECT_EQ(reader.FileName(), elsewhere + "listed.pdb");
    EXPECT_EQ(reader.Header().Name, "In folder");
    EXPECT_EQ(reader.Header().Creator, "FOLD");
    EXPECT_EQ(reader.FileSize(), 78);

    for (const char* name : {"missing.pdb", "x.pdb", "pipe.pdb"}) {
        SCOPED_TRACE(name);
        ExpectThrowsMessage<EInvalidPalmDatabase>(
            [&] { reader.ReadHeaderInFolder(elsewhere + name, folder, elsewhere.size()); },
            "Error reading file");
        EXPECT_EQ(reader.Header().Creator, "FOLD");
    }
    ::close(folder);

    // The descriptor is not kept: the next plain read goes by the whole path again.
    ExpectThrowsMessage<EInvalidPalmDatabase>([&] { reader.ReadHeader(); }, "Error reading file");
    reader.SetFileName(Std(Folder.File(QStringLiteral("listed.pdb"))));
    reader.ReadHeader();
    EXPECT_EQ(reader.Header().Name, "In folder");
}
#endif

TEST_F(PalmDatabaseTest, FailedReadKeepsTheHeaderButTakesTheNewSizeOnceOpened) {
    PalmFileBuilder good;
    good.name = "Good";
    good.tail = QByteArray(10, 'x');
    struct Case {
        const char* what;
        std::string path;
        int64_t expectedSize; // FileSize after the failed read
    };
    const std::vector<Case> cases = {
        {"77 bytes: opened, size taken", Write(QStringLiteral("short.pdb"), QByteArray(77, 'y')),
         77},
        {"missing: never opened", Std(Folder.File(QStringLiteral("missing.pdb"))), 88},
        // A folder cannot be opened as a file (on Windows the open itself fails).
        {"folder: never opened", Std(Folder.MakeFolder(QStringLiteral("dir.pdb"))), 88},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPalmDatabase reader(Write(QStringLiteral("good.pdb"), good), true);
        ASSERT_EQ(reader.FileSize(), 88);
        reader.SetFileName(c.path);
        EXPECT_THROW(reader.ReadHeader(), EInvalidPalmDatabase);
        EXPECT_EQ(reader.Header().Name, "Good");
        EXPECT_EQ(reader.FileName(), c.path);
        EXPECT_EQ(reader.FileSize(), c.expectedSize);
    }
}

TEST_F(PalmDatabaseTest, FileTimeIsTheLastWriteTimeOfTheFileRead) {
    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8), QTimeZone::utc());
    const QString path = Folder.Write(QStringLiteral("dated.pdb"), PalmFileBuilder().Bytes(), when);
    TPalmDatabase reader(Std(path), true);
    EXPECT_EQ(int64_t(reader.FileTime()), when.toSecsSinceEpoch());
    EXPECT_EQ(int64_t(reader.FileTime()), QFileInfo(path).lastModified().toSecsSinceEpoch());

    // A later read of another file takes that file's time.
    const QDateTime other(QDate(1999, 12, 31), QTime(23, 59, 58), QTimeZone::utc());
    reader.SetFileName(
        Std(Folder.Write(QStringLiteral("other.pdb"), PalmFileBuilder().Bytes(), other)));
    reader.ReadHeader();
    EXPECT_EQ(int64_t(reader.FileTime()), other.toSecsSinceEpoch());
}

TEST_F(PalmDatabaseTest, FileSizeDoesNotWrapAbove2GB) {
    const QString path = Folder.Write(QStringLiteral("big.pdb"), PalmFileBuilder().Bytes());
    const qint64 size = 5ll * 1024 * 1024 * 1024 + 3; // sparse: no space is used
    if (!QFile::resize(path, size))
        GTEST_SKIP() << "cannot make a sparse file of 5 GB here";
    TPalmDatabase reader(Std(path), true);
    EXPECT_EQ(reader.FileSize(), int64_t(size));
}

TEST_F(PalmDatabaseTest, NonAsciiFileNamesAreUtf8) {
    PalmFileBuilder b;
    b.creator = "Ümlt";
    const std::string path = Write(QStringLiteral("Grüße – 日本.pdb"), b);
    TPalmDatabase reader(path, true);
    EXPECT_EQ(reader.Header().Creator, std::string("\xC3\x9Cml")); // 4 bytes: "Ü" is two
}

TEST_F(PalmDatabaseTest, RecordListGivesOffsetsAndSizes) {
    struct Case {
        const char* what;
        std::vector<uint32_t> offsets;
        int fileSize;
        std::vector<int32_t> expectedSizes;
    };
    const std::vector<Case> cases = {
        {"no entries", {}, 1000, {}},
        {"ascending", {100, 300}, 1000, {200, 700}},
        {"descending: order not checked", {300, 100}, 1000, {-200, 900}},
        {"one entry", {86}, 1000, {914}},
        {"last past the end", {100, 2000}, 1000, {1900, -1000}},
        {"largest offset", {0x7FFFFFFFu}, 1000, {1000 - 0x7FFFFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PalmFileBuilder b;
        b.recordOffsets = c.offsets;
        QByteArray bytes = b.Bytes();
        bytes.append(QByteArray(c.fileSize - bytes.size(), '\0'));
        TPalmPDB reader(Write(QStringLiteral("records.pdb"), bytes), true);
        ASSERT_EQ(reader.Records().size(), c.offsets.size());
        for (std::size_t i = 0; i < c.offsets.size(); ++i) {
            const TPDBRecordHeader& r = *reader.Records()[i];
            EXPECT_EQ(r.Offset, int32_t(c.offsets[i]));
            EXPECT_EQ(r.Size, c.expectedSizes[i]);
            EXPECT_EQ(r.Data, nullptr);
        }
        reader.ClearRecords();
        EXPECT_TRUE(reader.Records().empty());
    }
}

TEST_F(PalmDatabaseTest, RecordListIsReadOnlyWhenConstructedWithReadNow) {
    PalmFileBuilder b;
    b.recordOffsets = {100, 300};
    b.tail = QByteArray(1000, '\0');
    const std::string path = Write(QStringLiteral("records.pdb"), b);
    TPalmPDB later(path, false);
    later.ReadHeader();
    EXPECT_EQ(later.Header().RecordCount, 2);
    EXPECT_TRUE(later.Records().empty());
    // Reading the list again replaces it rather than adding to it.
    later.ReadRecordHeaders();
    later.ReadRecordHeaders();
    ASSERT_EQ(later.Records().size(), 2u);
    EXPECT_EQ(later.Records()[1]->Size, int32_t(b.Bytes().size()) - 300);
    EXPECT_TRUE(TPalmPDB(path, true).ReadNow());
    EXPECT_EQ(TPalmPDB(path, true).Records().size(), 2u);
}

TEST_F(PalmDatabaseTest, NegativeRecordOffsetIsCorrupt) {
    const std::vector<std::vector<uint32_t>> lists = {
        {0x80000000u}, {100, 0xFFFFFFFFu, 300}, {0x80000000u, 200}};
    for (const auto& offsets : lists) {
        SCOPED_TRACE(::testing::Message() << offsets.size() << " entries");
        PalmFileBuilder b;
        b.recordOffsets = offsets;
        b.tail = QByteArray(100, '\0');
        const std::string path = Write(QStringLiteral("bad.pdb"), b);
        ExpectThrowsMessage<EInvalidPalmDatabase>([&] { TPalmPDB(path, true); },
                                                  "Invalid Palm database: record headers corrupt");
        // The header alone is fine.
        EXPECT_NO_THROW(TPalmDatabase(path, true));
    }
}

TEST_F(PalmDatabaseTest, RecordListRunningPastTheEndIsAnInputOutputError) {
    PalmFileBuilder b;
    b.recordOffsets = {200, 300, 400};
    b.recordCountOverride = 10; // the file ends right after the third entry
    const std::string path = Write(QStringLiteral("cut.pdb"), b);
    ASSERT_EQ(b.Bytes().size(), 78 + 3 * 8);
    try {
        TPalmPDB reader(path, true);
        ADD_FAILURE() << "construction succeeded";
    } catch (const EInOutError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Read beyond end of file"));
        EXPECT_THAT(e.what(), HasSubstr(path));
    }
    // A list cut in the middle of an entry, too.
    QByteArray bytes = b.Bytes();
    bytes.chop(3);
    const std::string halfEntry = Write(QStringLiteral("half.pdb"), bytes);
    EXPECT_THROW(TPalmPDB(halfEntry, true), EInOutError);
}

TEST_F(PalmDatabaseTest, RecordListOfAFileThatCannotBeOpenedIsAnInputOutputError) {
    PalmFileBuilder b;
    const std::string good = Write(QStringLiteral("good.pdb"), b);
    const std::vector<std::string> paths = {Std(Folder.File(QStringLiteral("gone.pdb"))),
                                            Std(Folder.MakeFolder(QStringLiteral("dir.pdb")))};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        TPalmPDB reader(good, true); // RecordCount 0: even so the file must be opened
        reader.SetFileName(path);
        try {
            reader.ReadRecordHeaders();
            ADD_FAILURE() << "no exception";
        } catch (const EInOutError& e) {
            EXPECT_THAT(e.what(), HasSubstr(path));
        }
    }
}

TEST_F(PalmDatabaseTest, RecordHeaderRefusesNegativeValues) {
    const std::vector<std::pair<int32_t, int32_t>> bad = {
        {-1, 0}, {0, -1}, {-1, -1}, {std::numeric_limits<int32_t>::min(), 10}};
    for (const auto& values : bad) {
        SCOPED_TRACE(::testing::Message() << values.first << ", " << values.second);
        ExpectThrowsMessage<EInvalidPalmDatabase>(
            [&] { (void)TPDBRecordHeader(values.first, values.second); },
            "Invalid Palm database: record headers corrupt");
    }
    const TPDBRecordHeader zero(0, 0);
    EXPECT_EQ(zero.Offset, 0);
    EXPECT_EQ(zero.Size, 0);
    EXPECT_EQ(zero.Data, nullptr);
    const TPDBRecordHeader largest(std::numeric_limits<int32_t>::max(), 5);
    EXPECT_EQ(largest.Offset, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(largest.Size, 5);
}

#ifdef __linux__
std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST_F(PalmDatabaseTest, NoFileIsLeftOpen) {
    PalmFileBuilder good;
    good.recordOffsets = {100, 300};
    good.tail = QByteArray(500, '\0');
    PalmFileBuilder cut = good;
    cut.recordCountOverride = 50;
    cut.tail.clear();
    PalmFileBuilder negative = good;
    negative.recordOffsets = {0x80000000u};
    const std::string goodPath = Write(QStringLiteral("good.pdb"), good);
    const std::string cutPath = Write(QStringLiteral("cut.pdb"), cut);
    const std::string negativePath = Write(QStringLiteral("negative.pdb"), negative);
    const std::string shortPath = Write(QStringLiteral("short.pdb"), QByteArray(10, 'x'));
    const std::string folderPath = Std(Folder.MakeFolder(QStringLiteral("folder.pdb")));

    const std::size_t before = OpenDescriptors();
    TPalmPDB shared("", false);
    for (int i = 0; i < 100; ++i) {
        shared.SetFileName(goodPath);
        shared.ReadHeader();
        for (const std::string& bad : {shortPath, folderPath}) {
            shared.SetFileName(bad);
            EXPECT_THROW(shared.ReadHeader(), EInvalidPalmDatabase);
        }
        EXPECT_NO_THROW(TPalmPDB(goodPath, true));
        EXPECT_THROW(TPalmPDB(cutPath, true), EInOutError);
        EXPECT_THROW(TPalmPDB(negativePath, true), EInvalidPalmDatabase);
        shared.SetFileName(folderPath);
        EXPECT_THROW(shared.ReadRecordHeaders(), EInOutError);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}
#endif

} // namespace
