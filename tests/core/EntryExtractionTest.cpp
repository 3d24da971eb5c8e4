// Tests of extracting entries: the file names of each kind, the bytes written, an
// existing file kept unless replacing was chosen, and a file that shrank.
#include "core/EntryExtraction.h"

#include "platform/SafeWrite.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

ContentsEntry Record(int index, uint32_t uniqueId) {
    ContentsEntry e;
    e.Kind = ContentsEntryKind::Record;
    e.Index = index;
    e.UniqueId = uniqueId;
    return e;
}

ContentsEntry Resource(const std::string& type, uint16_t id) {
    ContentsEntry e;
    e.Kind = ContentsEntryKind::Resource;
    e.Type = type;
    e.Id = id;
    return e;
}

ContentsEntry Block(ContentsEntryKind kind) {
    ContentsEntry e;
    e.Kind = kind;
    return e;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(EntryExtraction, NamesEachKindOfEntry) {
    const struct {
        ContentsEntry entry;
        const char* name;
    } cases[] = {
        {Record(1, 0xA1B2), "record-0001-00A1B2.bin"},
        {Record(0, 0), "record-0000-000000.bin"},
        {Record(65534, 0xFFFFFF), "record-65534-FFFFFF.bin"},
        {Resource("tSTR", 1000), "tSTR-03E8.bin"},
        {Resource("code", 0xFFFF), "code-FFFF.bin"},
        {Resource("a_-9", 1), "a_-9-0001.bin"},
        {Resource(std::string("../\0", 4), 2), "%2E%2E%2F%00-0002.bin"},
        {Resource("\xFF\x80 %", 3), "%FF%80%20%25-0003.bin"},
        {Block(ContentsEntryKind::AppInfo), "appinfo.bin"},
        {Block(ContentsEntryKind::SortInfo), "sortinfo.bin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntryFileName(c.entry), QString::fromLatin1(c.name)) << c.name;
}

TEST(EntryExtraction, WritesTheBytesAndKeepsAnExistingFileUnlessToldToReplaceIt) {
    PalmFileBuilder b;
    b.recordOffsets = {96, 100};
    b.recordInfo = {0x00000001, 0x00000002};
    b.tail = QByteArray(2, '\0') + "abcd" + QByteArray(3 << 20, 'x'); // a large last record
    MemoryByteSource source(b.Bytes().toStdString());
    const DatabaseContents contents = ReadDatabaseContents(source);
    TempFolder dir;
    QString error;
    const FolderHandle folder = FolderHandle::Open(dir.Path(), &error);
    ASSERT_TRUE(folder.IsValid()) << error.toStdString();

    const ExtractResult first = ExtractEntry(source, contents.Entries[0], folder, false);
    EXPECT_EQ(first.Outcome, ExtractOutcome::Written) << first.Error.toStdString();
    EXPECT_EQ(ReadFile(dir.File(first.Name)), "abcd");
    const ExtractResult large = ExtractEntry(source, contents.Entries[1], folder, false);
    EXPECT_EQ(large.Outcome, ExtractOutcome::Written);
    EXPECT_EQ(ReadFile(dir.File(large.Name)), QByteArray(3 << 20, 'x'));

    dir.Write(first.Name, "mine");
    EXPECT_EQ(ExtractEntry(source, contents.Entries[0], folder, false).Outcome,
              ExtractOutcome::Exists);
    EXPECT_EQ(ReadFile(dir.File(first.Name)), "mine");
    EXPECT_EQ(ExtractEntry(source, contents.Entries[0], folder, true).Outcome,
              ExtractOutcome::Written);
    EXPECT_EQ(ReadFile(dir.File(first.Name)), "abcd");

    // Cut after its list was read: the extraction fails and leaves no file behind.
    QFile::remove(dir.File(large.Name));
    source.Truncate(std::size_t(2 << 20));
    const ExtractResult shrunk = ExtractEntry(source, contents.Entries[1], folder, false);
    EXPECT_EQ(shrunk.Outcome, ExtractOutcome::Failed);
    EXPECT_FALSE(shrunk.Error.isEmpty());
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{first.Name});
}

} // namespace
