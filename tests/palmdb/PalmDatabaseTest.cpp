// Tests of the Palm database readers: the 78-byte header, its dates, the record list, and
// that a file is open only for the length of one read.
#include "palmdb/PalmDatabase.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

const std::string ErrorReadingFile = "Error reading file";
const std::string RecordsCorrupt = "Invalid Palm database: record headers corrupt";

std::string Std(const QString& path) {
    return path.toStdString();
}

// The message of the E that f throws; "<none>" when it throws nothing.
template <typename E> std::string Thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "<none>";
}

// The six attribute flags as letters, "-" where clear.
std::string Flags(const TPDBHeader& h) {
    const std::pair<bool, char> flags[] = {{h.ReadOnly, 'R'},   {h.Dirty, 'D'},
                                           {h.Backup, 'B'},     {h.Overwrite, 'O'},
                                           {h.ForceReset, 'F'}, {h.NoBeaming, 'N'}};
    std::string text;
    for (const auto& [on, letter] : flags)
        text += on ? letter : '-';
    return text;
}

// Open file descriptors of this process (0 where they cannot be counted).
long OpenFiles() {
#ifdef __linux__
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return long(std::distance(begin(fds), end(fds)));
#else
    return 0;
#endif
}

// Every test also checks that no file is left open, whichever way a read failed.
class PalmDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { FOpenBefore = OpenFiles(); }
    void TearDown() override { EXPECT_EQ(OpenFiles(), FOpenBefore) << "a file was left open"; }
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
    long FOpenBefore = 0;
};

TEST_F(PalmDatabaseTest, UnreadableFilesGiveErrorReadingFile) {
    std::vector<std::pair<const char*, std::string>> cases = {
        {"77 bytes", Write(QStringLiteral("short.pdb"), PalmFileBuilder().Bytes().left(77))},
        {"empty file", Write(QStringLiteral("empty.prc"), QByteArray())},
        {"folder named x.pdb", Std(Folder.MakeFolder(QStringLiteral("x.pdb")))},
        {"missing file", Std(Folder.File(QStringLiteral("missing.pdb")))},
        {"empty file name", std::string()},
    };
#ifndef _WIN32
    // A FIFO named like a Palm file must fail rather than block the listing.
    const std::string fifo = Std(Folder.File(QStringLiteral("pipe.pdb")));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases.emplace_back("FIFO", fifo);
#endif
    for (const auto& [what, name] : cases) {
        SCOPED_TRACE(what);
        const std::string& path = name; // a lambda may not capture a structured binding (clang)
        TPalmDatabase reader(path, false);
        EXPECT_EQ(Thrown<EInvalidPalmDatabase>([&] { reader.ReadHeader(); }), ErrorReadingFile);
        EXPECT_EQ(Thrown<EInvalidPalmDatabase>([&] { TPalmPDB(path, true); }), ErrorReadingFile);
    }
}

// All zeros: empty texts and the 1970 date. All 0xFF: texts without a NUL, every flag,
// the largest unsigned 16-bit numbers, -1 for the signed 32-bit ones.
TEST_F(PalmDatabaseTest, SeventyEightBytesMakeAHeader) {
    TPalmDatabase zeros(Write(QStringLiteral("zero.pdb"), QByteArray(78, '\0')), true);
    const TPDBHeader& h = zeros.Header();
    EXPECT_EQ(h.Name + h.DBType + h.Creator, "");
    EXPECT_EQ(Flags(h), "------");
    EXPECT_EQ(h.Created, 25569.0);
    EXPECT_EQ(zeros.FileSize(), 78);

    TPalmDatabase ones(Write(QStringLiteral("ff.pdb"), QByteArray(78, '\xFF')), true);
    const TPDBHeader& f = ones.Header();
    EXPECT_EQ(f.Name, std::string(32, '\xFF'));
    EXPECT_EQ(f.DBType + f.Creator, std::string(8, '\xFF'));
    EXPECT_EQ(Flags(f), "RDBOFN");
    EXPECT_EQ(f.Version, 65535);
    EXPECT_EQ(f.RecordCount, 65535);
    for (const int32_t n : {f.ModNumber, f.AppInfoArea, f.SortInfoArea, f.IDSeed, f.NextRecordList})
        EXPECT_EQ(n, -1);
    EXPECT_DOUBLE_EQ(f.BackedUp, 51172 + 23295 / 86400.0); // 2040-02-06 06:28:15
}

// Every field at its own offset: a 100-byte text file, byte i the (i mod 62)-th of A-Z a-z 0-9.
TEST_F(PalmDatabaseTest, AnyFileOfAtLeast78BytesIsDecoded) {
    const QByteArray alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QByteArray text;
    for (int i = 0; i < 99; ++i)
        text.append(alphabet[i % alphabet.size()]);
    text.append('\n');

    TPalmDatabase reader(Write(QStringLiteral("readme.txt.pdb"), text), true);
    const TPDBHeader& h = reader.Header();
    EXPECT_EQ(h.Name, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef");
    EXPECT_EQ(h.Attributes, 0x6768);                       // "gh"
    EXPECT_EQ(Flags(h), "--B-FN");                         // bits 0x08, 0x20, 0x40
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
    PalmFileBuilder b;
    b.name = std::string("ABC\0xyz", 7);
    b.type = std::string("a\xFF\0d", 4);
    b.creator = std::string("\0bcd", 4);
    const TPDBHeader h = Read(b);
    EXPECT_EQ(h.Name + "|" + h.DBType + "|" + h.Creator, "ABC|a\xFF|");
}

TEST_F(PalmDatabaseTest, SixAttributeBitsAreReadAndTheOthersIgnored) {
    const struct {
        uint16_t word;
        const char* flags;
    } cases[] = {{0xFF81, "------"}, {0x0002, "R-----"}, {0x0004, "-D----"}, {0x0008, "--B---"},
                 {0x0010, "---O--"}, {0x0020, "----F-"}, {0x0040, "-----N"}};
    for (const auto& c : cases) {
        PalmFileBuilder b;
        b.attributes = c.word;
        EXPECT_EQ(Flags(Read(b)), c.flags) << std::hex << c.word;
    }
}

TEST_F(PalmDatabaseTest, DatesCountFrom1904OrFrom1970WhenSmall) {
    const auto day = [](int days, int seconds) {
        return days + seconds / 86400.0;
    };
    const struct {
        uint32_t stored;
        double expected;
    } cases[] = {
        {0, day(25569, 0)},               // 1970-01-01
        {2082844800u, day(25569, 0)},     // 1904 + 66 years: 1970-01-01 again
        {1, day(25569, 1)},               // 1970-01-01 00:00:01
        {2082844799u, day(49675, 86399)}, // 2036-01-01 23:59:59
        {3000000000u, day(36184, 19200)}, // 1999-01-24 05:20:00
        {0xFFFFFFFFu, day(51172, 23295)}, // 2040-02-06 06:28:15
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(PalmDateToDateTime(c.stored), c.expected) << c.stored;
}

// SetFileName reads nothing; a failed read keeps the header but takes the size once opened.
TEST_F(PalmDatabaseTest, HeaderDescribesTheLastGoodRead) {
    PalmFileBuilder good;
    good.name = "Good";
    good.tail = QByteArray(10, 'x');
    const std::string goodPath = Write(QStringLiteral("good.pdb"), good);
    const struct {
        const char* what;
        std::string path;
        int64_t expectedSize;
    } cases[] = {
        {"77 bytes: opened", Write(QStringLiteral("short.pdb"), QByteArray(77, 'y')), 77},
        {"missing: never opened", Std(Folder.File(QStringLiteral("missing.pdb"))), 88},
        {"folder: never opened", Std(Folder.MakeFolder(QStringLiteral("dir.pdb"))), 88},
    };
    TPalmPDB reader("", false); // as the main window makes its shared reader
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reader.SetFileName(goodPath);
        reader.ReadHeader();
        reader.SetFileName(c.path);
        EXPECT_EQ(reader.FileName(), c.path);
        EXPECT_EQ(reader.FileSize(), 88);
        EXPECT_THROW(reader.ReadHeader(), EInvalidPalmDatabase);
        EXPECT_EQ(reader.Header().Name, "Good");
        EXPECT_EQ(reader.FileSize(), c.expectedSize);
    }
}

#ifndef _WIN32
TEST_F(PalmDatabaseTest, ReadHeaderInFolderOpensTheNameInTheHeldFolder) {
    PalmFileBuilder b;
    b.creator = "FOLD";
    Write(QStringLiteral("listed.pdb"), b);
    Folder.MakeFolder(QStringLiteral("x.pdb"));
    const int folder = ::open(Std(Folder.Path()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);

    // Only the name after nameStart is opened, relative to the folder.
    const std::string elsewhere = "/no/such/folder/";
    TPalmPDB reader("", false);
    reader.ReadHeaderInFolder(elsewhere + "listed.pdb", folder, elsewhere.size());
    EXPECT_EQ(reader.FileName(), elsewhere + "listed.pdb");
    EXPECT_EQ(reader.Header().Creator, "FOLD");
    EXPECT_EQ(reader.FileSize(), 78);
    EXPECT_THROW(reader.ReadHeaderInFolder(elsewhere + "x.pdb", folder, elsewhere.size()),
                 EInvalidPalmDatabase);
    ::close(folder);
    // The descriptor is not kept: the next plain read goes by the whole path again.
    EXPECT_THROW(reader.ReadHeader(), EInvalidPalmDatabase);
}
#endif

TEST_F(PalmDatabaseTest, FileTimeAndSizeComeFromTheFileRead) {
    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8), QTimeZone::utc());
    const QString name = QStringLiteral("Grüße – 日本.pdb"); // the reader takes UTF-8 paths
    TPalmDatabase reader(Std(Folder.Write(name, PalmFileBuilder().Bytes(), when)), true);
    EXPECT_EQ(int64_t(reader.FileTime()), when.toSecsSinceEpoch());

    const QDateTime other(QDate(1999, 12, 31), QTime(23, 59, 58), QTimeZone::utc());
    const QString big = Folder.Write(QStringLiteral("big.pdb"), PalmFileBuilder().Bytes());
    const qint64 size = 5ll * 1024 * 1024 * 1024 + 3; // sparse: no space is used
    QFile file(big);
    if (!file.resize(size))
        GTEST_SKIP() << "cannot make a sparse file of 5 GB here";
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(other, QFileDevice::FileModificationTime));
    file.close();
    reader.SetFileName(Std(big));
    reader.ReadHeader();
    EXPECT_EQ(int64_t(reader.FileTime()), other.toSecsSinceEpoch());
    EXPECT_EQ(reader.FileSize(), int64_t(size));
}

TEST_F(PalmDatabaseTest, RecordListGivesOffsetsAndSizes) {
    const struct {
        const char* what;
        std::vector<uint32_t> offsets;
        std::vector<int32_t> expectedSizes; // in a file of 1000 bytes
    } cases[] = {
        {"no entries", {}, {}},
        {"ascending", {100, 300}, {200, 700}},
        {"descending: order not checked", {300, 100}, {-200, 900}},
        {"last past the end", {100, 2000}, {1900, -1000}},
        {"largest offset", {0x7FFFFFFFu}, {1000 - 0x7FFFFFFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PalmFileBuilder b;
        b.recordOffsets = c.offsets;
        QByteArray bytes = b.Bytes();
        bytes.append(QByteArray(1000 - bytes.size(), '\0'));
        TPalmPDB reader(Write(QStringLiteral("records.pdb"), bytes), true);
        reader.ReadRecordHeaders(); // replaces the list rather than adding to it
        ASSERT_EQ(reader.Records().size(), c.offsets.size());
        for (std::size_t i = 0; i < c.offsets.size(); ++i) {
            EXPECT_EQ(reader.Records()[i]->Offset, int32_t(c.offsets[i]));
            EXPECT_EQ(reader.Records()[i]->Size, c.expectedSizes[i]);
        }
    }
}

TEST_F(PalmDatabaseTest, NegativeRecordOffsetOrSizeIsCorrupt) {
    for (const auto& offsets :
         std::vector<std::vector<uint32_t>>{{0x80000000u}, {100, 0xFFFFFFFFu, 300}}) {
        SCOPED_TRACE(::testing::Message() << offsets.size() << " entries");
        PalmFileBuilder b;
        b.recordOffsets = offsets;
        b.tail = QByteArray(100, '\0');
        const std::string path = Write(QStringLiteral("bad.pdb"), b);
        EXPECT_EQ(Thrown<EInvalidPalmDatabase>([&] { TPalmPDB(path, true); }), RecordsCorrupt);
        EXPECT_NO_THROW(TPalmDatabase(path, true)); // the header alone is fine
    }
    for (const auto& [offset, size] : {std::pair{-1, 0}, {0, -1}})
        EXPECT_THROW(TPDBRecordHeader(offset, size), EInvalidPalmDatabase);
}

TEST_F(PalmDatabaseTest, RecordListCutShortOrUnopenableIsAnInputOutputError) {
    PalmFileBuilder b;
    b.recordOffsets = {200, 300, 400};
    b.recordCountOverride = 10; // the file ends right after the third entry
    const std::string cut = Write(QStringLiteral("cut.pdb"), b);
    EXPECT_THAT(Thrown<EInOutError>([&] { TPalmPDB(cut, true); }),
                AllOf(HasSubstr("Read beyond end of file"), HasSubstr(cut)));
    b.recordCountOverride = -1;
    const std::string halfEntry = Write(QStringLiteral("half.pdb"), b.Bytes().chopped(3));
    EXPECT_THAT(Thrown<EInOutError>([&] { TPalmPDB(halfEntry, true); }), HasSubstr(halfEntry));

    const std::string empty = Write(QStringLiteral("empty.pdb"), PalmFileBuilder());
    for (const std::string& path : {Std(Folder.File(QStringLiteral("gone.pdb"))),
                                    Std(Folder.MakeFolder(QStringLiteral("dir.pdb")))}) {
        TPalmPDB reader(empty, true); // RecordCount 0: even so the file must be opened
        reader.SetFileName(path);
        EXPECT_THAT(Thrown<EInOutError>([&] { reader.ReadRecordHeaders(); }), HasSubstr(path));
    }
}

} // namespace
