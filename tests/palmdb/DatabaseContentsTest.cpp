// Tests of the contents reader on crafted bytes: both layouts, the sizes of entries and
// blocks, every kind of damage it marks, bounded entry reads and a file that shrinks.
#include "palmdb/DatabaseContents.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

std::string Std(const QByteArray& bytes) {
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

DatabaseContents Read(const QByteArray& bytes) {
    MemoryByteSource source(Std(bytes));
    return ReadDatabaseContents(source);
}

const char* ProblemMark(EntryProblem problem) {
    switch (problem) {
    case EntryProblem::None:
        return "";
    case EntryProblem::OutsideFile:
        return "!outside";
    case EntryProblem::InsideHeader:
        return "!header";
    case EntryProblem::NotAscending:
        return "!order";
    case EntryProblem::OverlapsAppInfo:
        return "!app";
    case EntryProblem::OverlapsSortInfo:
        return "!sort";
    }
    return "?";
}

const char* ProblemName(ContentsProblem problem) {
    switch (problem) {
    case ContentsProblem::HeaderCut:
        return "header-cut";
    case ContentsProblem::ListCut:
        return "list-cut";
    case ContentsProblem::ListUnreadable:
        return "list-unreadable";
    case ContentsProblem::AppInfoOutsideFile:
        return "app-outside";
    case ContentsProblem::SortInfoOutsideFile:
        return "sort-outside";
    case ContentsProblem::AppInfoInsideHeader:
        return "app-header";
    case ContentsProblem::SortInfoInsideHeader:
        return "sort-header";
    }
    return "?";
}

std::string Span(const ContentsEntry& entry) {
    return std::to_string(entry.Offset) + "+" + std::to_string(entry.Size) +
           ProblemMark(entry.Problem);
}

// The layout in one line: "app=OFFSET+SIZE sort=... | entry entry ... | problems".
std::string Layout(const DatabaseContents& contents) {
    std::string text;
    if (contents.HasAppInfo)
        text += "app=" + Span(contents.AppInfo) + " ";
    if (contents.HasSortInfo)
        text += "sort=" + Span(contents.SortInfo) + " ";
    text += "|";
    for (const ContentsEntry& entry : contents.Entries)
        text += " " + Span(entry);
    text += " |";
    for (const ContentsProblem problem : contents.Problems)
        text += std::string(" ") + ProblemName(problem);
    return text;
}

TEST(DatabaseContents, LaysOutEntriesBlocksAndDamage) {
    // 3 records: list ends at 102, data from 104.
    PalmFileBuilder sound = RecordsAt({104, 110, 120}, 2 + 26);
    PalmFileBuilder blocks = RecordsAt({400, 410}, 2 + 276 + 28 + 20);
    blocks.appInfoArea = 96; // 78 + 16 + 2
    blocks.sortInfoArea = 372;
    PalmFileBuilder sortFirst = blocks;
    sortFirst.appInfoArea = 372;
    sortFirst.sortInfoArea = 96;
    PalmFileBuilder appIntoList = RecordsAt({88}, 2 + 10);
    appIntoList.appInfoArea = 80;
    PalmFileBuilder appOutside = RecordsAt({88}, 2 + 10);
    appOutside.appInfoArea = 0xFFFFFFFF;
    appOutside.sortInfoArea = 95;
    PalmFileBuilder appAfterRecords = RecordsAt({88}, 2 + 20);
    appAfterRecords.appInfoArea = 98;
    PalmFileBuilder huge = RecordsAt({}, 0);
    huge.recordCountOverride = 65535;
    PalmFileBuilder cut = RecordsAt({104, 110}, 0);
    cut.recordCountOverride = 65535;
    PalmFileBuilder halfEntry = RecordsAt({104, 110, 120}, 0);
    const QByteArray halfEntryBytes = halfEntry.Bytes().left(78 + 8 + 4);
    PalmFileBuilder resources;
    resources.attributes = 0x0001;
    resources.resources = {{"tSTR", 1000, 110}, {"code", 0, 114}, {"code", 1, 120}};
    resources.tail = QByteArray(2 + 30, 'x');

    const struct {
        const char* name;
        QByteArray bytes;
        const char* layout;
    } cases[] = {
        {"sound records", sound.Bytes(), "| 104+6 110+10 120+10 |"},
        {"resources", resources.Bytes(), "| 110+4 114+6 120+20 |"},
        {"app info to sort info, sort info to first record", blocks.Bytes(),
         "app=96+276 sort=372+28 | 400+10 410+10 |"},
        {"sort info before app info", sortFirst.Bytes(),
         "app=372+28 sort=96+276 | 400+10 410+10 |"},
        {"nothing after the list", RecordsAt({}, 0).Bytes(), "| |"},
        {"65,535 entries in a 78-byte file", huge.Bytes(), "| | list-cut"},
        {"count beyond the list", cut.Bytes(), "| 104+0!outside 110+0!outside | list-cut"},
        {"half an entry at the end", halfEntryBytes, "| 104+0!outside | list-cut"},
        {"offset 0xFFFFFFFF", RecordsAt({104, 0xFFFFFFFF, 110}, 2 + 10).Bytes(),
         "| 104+6 4294967295+0!outside 110+4 |"},
        {"decreasing offsets", RecordsAt({104, 120, 110}, 2 + 26).Bytes(),
         "| 104+16 120+0 110+20!order |"},
        {"equal offsets: an empty record", RecordsAt({104, 104, 110}, 2 + 20).Bytes(),
         "| 104+0 104+6 110+14 |"},
        {"offset inside the header", RecordsAt({104, 40}, 2 + 10).Bytes(),
         "| 104+0 40+66!header |"},
        {"offset inside the list", RecordsAt({90, 104}, 2 + 10).Bytes(), "| 90+14!header 104+2 |"},
        {"app info pointing into the list", appIntoList.Bytes(),
         "app=80+8!header | 88+10 | app-header"},
        {"app info beyond the end", appOutside.Bytes(), "sort=95+3 | 88+10!sort | app-outside"},
        {"app info after the last record", appAfterRecords.Bytes(), "app=98+10 | 88+20!app |"},
        {"header cut", sound.Bytes().left(40), "| | header-cut"},
        {"empty file", QByteArray(), "| | header-cut"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Layout(Read(c.bytes)), c.layout) << c.name;
}

TEST(DatabaseContents, ReadsRecordAndResourceFields) {
    PalmFileBuilder records = RecordsAt({98, 99}, 2);
    records.recordInfo = {0xF5123456, 0x4FABCDEF};
    const DatabaseContents r = Read(records.Bytes());
    ASSERT_EQ(r.Kind, ContentsKind::Records);
    ASSERT_EQ(r.Entries.size(), 2u);
    EXPECT_EQ(r.Entries[0].Attributes, RecordDeleted | RecordDirty | RecordBusy | RecordSecret);
    EXPECT_EQ(r.Entries[0].Category, 5u);
    EXPECT_EQ(r.Entries[0].UniqueId, 0x123456u);
    EXPECT_EQ(r.Entries[1].Attributes, RecordDirty);
    EXPECT_EQ(r.Entries[1].Category, 15u);
    EXPECT_EQ(r.Entries[1].UniqueId, 0xABCDEFu);
    EXPECT_EQ(r.Entries[1].Index, 1);
    EXPECT_EQ(r.Header.NameField, std::string("Test") + std::string(28, '\0'));

    PalmFileBuilder resources;
    resources.attributes = 0x0009;
    resources.resources = {{std::string("\x01\xFFz ", 4), 0xFFFF, 90}};
    resources.tail = QByteArray(2, 'x');
    const DatabaseContents s = Read(resources.Bytes());
    ASSERT_EQ(s.Kind, ContentsKind::Resources);
    ASSERT_EQ(s.Entries.size(), 1u);
    EXPECT_EQ(s.Entries[0].Kind, ContentsEntryKind::Resource);
    EXPECT_EQ(s.Entries[0].Type, std::string("\x01\xFFz ", 4));
    EXPECT_EQ(s.Entries[0].Id, 0xFFFF);
    EXPECT_EQ(s.Entries[0].Size, 0);
    EXPECT_EQ(s.ListEnd(), 88);
}

// A source with a bad spot on its disk: a read that reaches failAt gives the bytes before
// it and an error.
class FailingSource : public ByteSource {
public:
    FailingSource(std::string bytes, int64_t failAt) : FInner(std::move(bytes)), FFailAt(failAt) {}
    int64_t Size() const override { return FInner.Size(); }
    int64_t ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                   std::string* error) override {
        if (offset + int64_t(count) <= FFailAt)
            return FInner.ReadAt(offset, buffer, count, error);
        *error = "Input/output error";
        return offset < FFailAt
                   ? FInner.ReadAt(offset, buffer, std::size_t(FFailAt - offset), error)
                   : -1;
    }

private:
    MemoryByteSource FInner;
    int64_t FFailAt;
};

TEST(DatabaseContents, AListThatCannotBeReadIsAProblemNotEntries) {
    const std::string bytes = Std(RecordsAt({112, 113, 114, 115}, 2 + 10).Bytes());
    FailingSource inList(bytes, 90);
    const DatabaseContents cut = ReadDatabaseContents(inList);
    EXPECT_EQ(Layout(cut), "| 112+10 | list-unreadable"); // the entry before the bad spot
    EXPECT_EQ(cut.ReadError, "Input/output error");

    FailingSource inHeader(bytes, 50);
    const DatabaseContents none = ReadDatabaseContents(inHeader);
    EXPECT_EQ(Layout(none), "| | header-cut");
    EXPECT_EQ(none.ReadError, "Input/output error");

    // A bad spot after the list is no problem of the list.
    FailingSource afterList(bytes, 115);
    const DatabaseContents sound = ReadDatabaseContents(afterList);
    EXPECT_EQ(Layout(sound), "| 112+1 113+1 114+1 115+7 |");
    EXPECT_EQ(sound.ReadError, "");
}

TEST(DatabaseContents, ReadsEntryBytesBoundedClippedAndNoticesAShrunkFile) {
    QByteArray bytes = RecordsAt({96, 102}, 2).Bytes();
    bytes += "abcdef";
    bytes += "0123456789";
    MemoryByteSource source(Std(bytes));
    const DatabaseContents contents = ReadDatabaseContents(source);
    const ContentsEntry& first = contents.Entries[0];
    const ContentsEntry& second = contents.Entries[1];

    const struct {
        const char* name;
        const ContentsEntry& entry;
        int64_t start;
        std::size_t max;
        const char* bytes;
        bool more;
    } cases[] = {
        {"whole entry", first, 0, 100, "abcdef", false},
        {"bounded", second, 0, 4, "0123", true},
        {"from within", second, 7, 100, "789", false},
        {"bounded from within", second, 2, 3, "234", true},
        {"start at the end", first, 6, 100, "", false},
        {"start beyond", first, 60, 100, "", false},
        {"negative start", first, -1, 100, "", false},
    };
    for (const auto& c : cases) {
        const EntryBytes read = ReadEntryBytes(source, c.entry, c.start, c.max);
        EXPECT_EQ(read.Bytes, c.bytes) << c.name;
        EXPECT_EQ(read.MoreFollow, c.more) << c.name;
        EXPECT_FALSE(read.Shrank) << c.name;
    }

    source.Truncate(std::size_t(bytes.size() - 4));
    const EntryBytes shrunk = ReadEntryBytes(source, second, 0, 100);
    EXPECT_TRUE(shrunk.Shrank);
    EXPECT_EQ(shrunk.Bytes, "012345");
    source.Truncate(50);
    const EntryBytes gone = ReadEntryBytes(source, first, 0, 100);
    EXPECT_TRUE(gone.Shrank);
    EXPECT_EQ(gone.Bytes, "");
    // The layout read before the shrinking stays as it was.
    EXPECT_EQ(second.Size, 10);
}

TEST(DatabaseContents, AnEntryOutsideTheFileHasNoBytesToRead) {
    MemoryByteSource source(Std(RecordsAt({0xFFFFFFF0}, 2).Bytes()));
    const DatabaseContents contents = ReadDatabaseContents(source);
    const EntryBytes read = ReadEntryBytes(source, contents.Entries[0], 0, 1u << 30);
    EXPECT_TRUE(read.Bytes.empty());
    EXPECT_FALSE(read.Shrank);
}

TEST(FileByteSource, ReadsAFileInPlaceAndRefusesWhatIsNoFile) {
    TempFolder folder;
    QByteArray bytes = RecordsAt({88}, 2).Bytes() + "record";
    const QString path = folder.Write(QStringLiteral("a.pdb"), bytes);
    std::string error;
    const auto source = FileByteSource::Open(path.toStdString(), &error);
    ASSERT_TRUE(source) << error;
    EXPECT_EQ(source->Size(), bytes.size());
    const DatabaseContents contents = ReadDatabaseContents(*source);
    EXPECT_EQ(Layout(contents), "| 88+6 |");
    EXPECT_EQ(ReadEntryBytes(*source, contents.Entries[0], 0, 100).Bytes, "record");

    // Cut on disk while open: the read notices.
    QFile::resize(path, 90);
    const EntryBytes shrunk = ReadEntryBytes(*source, contents.Entries[0], 0, 100);
    EXPECT_TRUE(shrunk.Shrank);
    EXPECT_EQ(shrunk.Bytes, "re");

    EXPECT_FALSE(
        FileByteSource::Open(folder.File(QStringLiteral("missing")).toStdString(), &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(FileByteSource::Open(folder.Path().toStdString(), &error));
    EXPECT_EQ(error, "is a folder");
#ifndef _WIN32
    // A FIFO without a writer would block a plain open.
    const std::string fifo = folder.File(QStringLiteral("fifo.pdb")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    error.clear();
    EXPECT_FALSE(FileByteSource::Open(fifo, &error));
    EXPECT_EQ(error, "is not a regular file");
#endif
}

} // namespace
