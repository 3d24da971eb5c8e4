// A record shown as a person reads it: each kind's fields and labels, the names the app
// info gives, repeats in words, e-book headers and text; damaged records say why they
// cannot be read, and records of other databases have no preview.
#include "export/RecordPreview.h"

#include "RecordBuilder.h"
#include "export/AddressDecoder.h"
#include "export/DecodeErrors.h"
#include "export/EntryPreview.h"
#include "support/PalmFileBuilder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>

namespace {

// The category part of an app info block: names of categories 0, 1, ...
QByteArray Categories(std::initializer_list<const char*> names) {
    QByteArray block(CategoryInfo::Size, '\0');
    int i = 0;
    for (const char* name : names) {
        const QByteArray text(name);
        block.replace(2 + i * CategoryInfo::NameSize, text.size(), text);
        ++i;
    }
    return block;
}

// An Address Book app info block: categories, the renamed bits and the 22 labels as given
// (the rest empty).
QByteArray AddressLabels(uint32_t renamed, const std::map<int, const char*>& labels) {
    QByteArray block =
        Categories({"Unfiled", "Business"}) + QByteArray(RecordBuilder().Word(0).Long(renamed));
    for (int i = 0; i < AddressAppInfo::LabelCount; ++i) {
        QByteArray label(16, '\0');
        if (labels.count(i))
            label.replace(0, int(strlen(labels.at(i))), labels.at(i));
        block += label;
    }
    return block + QByteArray(2, '\0');
}

// An e-book's record 0.
QByteArray EbookHeader(int version, uint32_t length, int count, int size) {
    return RecordBuilder().Word(version).Word(0).Long(length).Word(count).Word(size).Long(0);
}

// The start of an appointment on 2007-03-15 from 9:00 to 10:30 with the given flags.
RecordBuilder Timed(int flags) {
    return RecordBuilder().Bytes({9, 0, 10, 30}).Date(2007, 3, 15).Word(flags);
}

struct PreviewCase {
    const char* Name;
    const char* Type;
    const char* Creator;
    QByteArray AppInfo;
    int Index;
    QByteArray Record;
    uint8_t Attributes;
    std::optional<QString> Expected;
    QByteArray Header = {}; // an e-book's record 0, for its text records
};

void PrintTo(const PreviewCase& c, std::ostream* out) {
    *out << c.Name;
}

std::optional<QString> Preview(const PreviewCase& c) {
    // A copy of exactly the record's size, so that a read past it is caught.
    const QByteArray exact(c.Record.constData(), c.Record.size());
    const PreviewDatabase database{c.Type, c.Creator, c.AppInfo, c.Header};
    return PreviewRecord(database, c.Index, PalmRecordBytes{exact, c.Attributes, 1}, CodePage());
}

QString Lines(std::initializer_list<const char*> lines) {
    QStringList all;
    for (const char* line : lines)
        all << QString::fromUtf8(line);
    return all.join(u'\n');
}

class Previews : public ::testing::TestWithParam<PreviewCase> {};

} // namespace

TEST_P(Previews, ShowTheRecordAsText) {
    const std::optional<QString> preview = Preview(GetParam());
    ASSERT_EQ(preview.has_value(), GetParam().Expected.has_value())
        << preview.value_or(QString()).toStdString();
    if (preview) {
        EXPECT_EQ(preview->toStdString(), GetParam().Expected->toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Previews,
    ::testing::Values(
        PreviewCase{"PrivateMemoInANamedCategory", "DATA", "memo",
                    Categories({"Unfiled", "Business"}), 0,
                    RecordBuilder().Text("Buy milk\nand bread"), 0x11,
                    Lines({"Category: Business", "Private: yes", "", "Buy milk", "and bread"})},
        PreviewCase{"MemoWithoutAppInfoShowsTheCategorysNumber",
                    "DATA",
                    "memo",
                    {},
                    4,
                    RecordBuilder().Text("x"),
                    0x03,
                    Lines({"Category: 3", "Private: no", "", "x"})},
        PreviewCase{"ArchivedMemo",
                    "DATA",
                    "memo",
                    {},
                    0,
                    RecordBuilder().Text("old"),
                    0x88,
                    Lines({"Deleted: yes, kept in the archive", "Private: no", "", "old"})},
        PreviewCase{"DeletedRecordWithoutBytes",
                    "DATA",
                    "todo",
                    {},
                    2,
                    {},
                    0x80,
                    QStringLiteral("The record is deleted; the file keeps none of its bytes.")},
        PreviewCase{
            "AddressWithRenamedAndUsualLabels", "DATA", "addr",
            // Custom 1 renamed; custom 2's label is not marked renamed.
            AddressLabels(1u << 14, {{3, "Work"}, {14, "Colour"}, {15, "Spare"}, {21, "Handy"}}), 0,
            RecordBuilder()
                .Long(0x00100070) // phone 1 Work, phone 2 Mobile, shown: phone 2
                .Long(0x4C01B)    // last, first, phone 1, 2, custom 1, 2, note
                .Bytes({0})
                .Text("Smith")
                .Text("Ann")
                .Text("555-1")
                .Text("555-2")
                .Text("blue")
                .Text("x")
                .Text("two\nlines"),
            0x01,
            Lines({"Category: Business", "Private: no", "", "Last name: Smith", "First name: Ann",
                   "Work: 555-1", "Handy: 555-2", "Colour: blue", "Custom 2: x",
                   "Shown in the list: Handy", "Note:", "two", "lines"})},
        PreviewCase{"AddressWithoutAppInfoUsesTheUsualLabels",
                    "DATA",
                    "addr",
                    {},
                    0,
                    RecordBuilder()
                        .Long(0x00000007) // phone 1 Mobile, shown: phone 1
                        .Long(0x1209)     // last name, phone 1, city, country
                        .Bytes({0})
                        .Text("Smith")
                        .Text("0170")
                        .Text("Bonn")
                        .Text("Germany"),
                    0,
                    Lines({"Category: 0", "Private: no", "", "Last name: Smith", "Mobile: 0170",
                           "City: Bonn", "Country: Germany", "Shown in the list: Mobile"})},
        PreviewCase{"CompletedToDoWithDueDateAndNote", "DATA", "todo",
                    Categories({"Unfiled", "Business", "Personal"}), 0,
                    RecordBuilder().Date(2027, 1, 31).Bytes({0x82}).Text("Call").Text("about x"),
                    0x02,
                    Lines({"Category: Personal", "Private: no", "", "Description: Call",
                           "Due: 2027-01-31", "Priority: 2", "Completed: yes", "Note: about x"})},
        PreviewCase{"ToDoWithoutDueDate",
                    "DATA",
                    "todo",
                    {},
                    0,
                    RecordBuilder().Word(0xFFFF).Bytes({5}).Text("Later"),
                    0x10,
                    Lines({"Category: 0", "Private: yes", "", "Description: Later", "Due: none",
                           "Priority: 5", "Completed: no"})},
        PreviewCase{"RepeatingAppointmentWithAlarmAndExceptions",
                    "DATA",
                    "date",
                    {},
                    0,
                    Timed(0x7C00)
                        .Bytes({5, 0})          // alarm 5 minutes
                        .Bytes({2, 0})          // weekly
                        .Date(2027, 3, 1)       // until
                        .Bytes({2, 0x0A, 1, 0}) // every 2 weeks, Mon + Wed
                        .Word(2)                // exceptions
                        .Date(2007, 3, 19)
                        .Date(2007, 3, 21)
                        .Text("Team")
                        .Text("Room 4"),
                    0x10,
                    Lines({"Private: yes", "", "Date: 2007-03-15", "Time: 09:00–10:30",
                           "Repeat: Every 2 weeks on Monday, Wednesday until 2027-03-01",
                           "Exceptions: 2007-03-19, 2007-03-21", "Alarm: 5 minutes before",
                           "Description: Team", "Note: Room 4"})},
        PreviewCase{"UntimedAppointmentWithAlarmAfterIt",
                    "DATA",
                    "date",
                    {},
                    0,
                    RecordBuilder()
                        .Bytes({0xFF, 0xFF, 0xFF, 0xFF})
                        .Date(2007, 3, 15)
                        .Word(0x4400)
                        .Bytes({0xFE, 1}) // -2 hours
                        .Text("Holiday"),
                    0,
                    Lines({"Private: no", "", "Date: 2007-03-15", "Time: no time",
                           "Alarm: 2 hours after", "Description: Holiday"})},
        PreviewCase{"EbookHeader",
                    "TEXt",
                    "REAd",
                    {},
                    0,
                    EbookHeader(2, 5000, 2, 4096),
                    0,
                    Lines({"Version: 2 (compressed)", "Text length: 5000 bytes", "Text records: 2",
                           "Record size: 4096 bytes"})},
        PreviewCase{"CompressedEbookText",
                    "TEXt",
                    "REAd",
                    {},
                    1,
                    // "Hello", " h", then "ello" from 6 back.
                    RecordBuilder().Text("Hello", false).Bytes({0xE8, 0x80, 0x31}),
                    0,
                    QStringLiteral("Hello hello"),
                    EbookHeader(2, 11, 1, 4096)},
        PreviewCase{"PlainEbookText",
                    "TEXt",
                    "REAd",
                    {},
                    2,
                    RecordBuilder().Text("Plain \x80", false),
                    0,
                    QStringLiteral("Plain €"),
                    EbookHeader(1, 20, 2, 4096)},
        PreviewCase{"EbookBookmarkHasNone",
                    "TEXt",
                    "REAd",
                    {},
                    3,
                    RecordBuilder().Text("Mark", false),
                    0,
                    std::nullopt,
                    EbookHeader(1, 20, 2, 4096)},
        PreviewCase{"UnknownDatabaseHasNone",
                    "DATA",
                    "test",
                    {},
                    0,
                    RecordBuilder().Text("x"),
                    0,
                    std::nullopt},
        PreviewCase{"MemoTypeOfAnotherCreatorHasNone",
                    "DATA",
                    "memO",
                    {},
                    0,
                    RecordBuilder().Text("x"),
                    0,
                    std::nullopt}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Damaged, Previews,
    ::testing::Values(
        PreviewCase{"MemoWithoutNul",
                    "DATA",
                    "memo",
                    {},
                    0,
                    RecordBuilder().Text("no end", false),
                    0,
                    UnreadableRecordText(UnterminatedTextText())},
        PreviewCase{"EmptyLivingMemo",
                    "DATA",
                    "memo",
                    {},
                    0,
                    {},
                    0,
                    UnreadableRecordText(UnterminatedTextText())},
        PreviewCase{"AddressWithCutFields",
                    "DATA",
                    "addr",
                    {},
                    0,
                    RecordBuilder().Long(0).Long(0x7).Bytes({0}).Text("Smith"),
                    0,
                    UnreadableRecordText(MissingFieldsText())},
        PreviewCase{"AddressAppInfoTooShortIsLeftOut", "DATA", "addr", QByteArray(40, 'x'), 0,
                    RecordBuilder().Long(0).Long(0x1).Bytes({0}).Text("Smith"), 0,
                    Lines({"Category: 0", "Private: no", "", "Last name: Smith"})},
        PreviewCase{"ToDoPriority7",
                    "DATA",
                    "todo",
                    {},
                    0,
                    RecordBuilder().Word(0xFFFF).Bytes({7}).Text("a"),
                    0,
                    UnreadableRecordText(PriorityOutOfRangeText())},
        PreviewCase{"RepeatOfKind6",
                    "DATA",
                    "date",
                    {},
                    0,
                    Timed(0x2000).Bytes({6, 0}).Word(0xFFFF).Bytes({1, 0, 0, 0}),
                    0,
                    UnreadableRecordText(UnknownRepeatKindText())},
        PreviewCase{"WeeklyOnNoDay",
                    "DATA",
                    "date",
                    {},
                    0,
                    Timed(0x2000).Bytes({2, 0}).Word(0xFFFF).Bytes({1, 0x80, 0, 0}),
                    0,
                    UnreadableRecordText(RepeatOnNoDayText())},
        PreviewCase{"DescriptionCutOff",
                    "DATA",
                    "date",
                    {},
                    0,
                    Timed(0x0400).Text("Lunch", false),
                    0,
                    UnreadableRecordText(UnterminatedTextText())},
        PreviewCase{"EbookHeaderCut",
                    "TEXt",
                    "REAd",
                    {},
                    0,
                    EbookHeader(2, 1, 1, 4096).left(9),
                    0,
                    UnreadableRecordText(RecordTooShortText())},
        PreviewCase{"EbookOfVersion3",
                    "TEXt",
                    "REAd",
                    {},
                    0,
                    EbookHeader(3, 1, 1, 4096),
                    0,
                    UnreadableRecordText(UnknownEbookVersionText(3))},
        PreviewCase{"EbookReferenceBeforeStart",
                    "TEXt",
                    "REAd",
                    {},
                    1,
                    RecordBuilder().Text("a", false).Bytes({0x80, 0x18}),
                    0,
                    UnreadableRecordText(EbookReferenceBeforeStartText()),
                    EbookHeader(2, 4, 1, 4096)},
        PreviewCase{"EbookTextPastItsRecordSize",
                    "TEXt",
                    "REAd",
                    {},
                    1,
                    RecordBuilder().Text("Hello", false),
                    0,
                    UnreadableRecordText(EbookRecordTooLongText(4)),
                    EbookHeader(2, 5, 1, 4)},
        PreviewCase{"PlainEbookTextPastItsRecordSize",
                    "TEXt",
                    "REAd",
                    {},
                    1,
                    RecordBuilder().Text("Hello", false),
                    0,
                    UnreadableRecordText(EbookRecordTooLongText(4)),
                    EbookHeader(1, 5, 1, 4)},
        PreviewCase{"EbookTextWithoutAHeader",
                    "TEXt",
                    "REAd",
                    {},
                    1,
                    RecordBuilder().Text("Hello", false),
                    0,
                    UnreadableRecordText(QStringLiteral(
                        "the e-book's first record, which tells how its text is stored, "
                        "cannot be read"))}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

namespace {

struct RepeatCase {
    const char* Name;
    int Kind;
    int Interval;
    int End; // packed; 0xFFFF none
    int On;
    int FirstDayOfWeek;
    const char* Expected;
};

void PrintTo(const RepeatCase& c, std::ostream* out) {
    *out << c.Name;
}

class Repeats : public ::testing::TestWithParam<RepeatCase> {};

} // namespace

// The appointment falls on Thursday, 2007-03-15.
TEST_P(Repeats, AreDescribedInWords) {
    const RepeatCase& c = GetParam();
    const QByteArray record =
        Timed(0x2000).Bytes({c.Kind, 0}).Word(c.End).Bytes({c.Interval, c.On, c.FirstDayOfWeek, 0});
    const auto preview = PreviewRecord(PreviewDatabase{"DATA", "date", {}, {}}, 0,
                                       PalmRecordBytes{record, 0, 1}, CodePage());
    ASSERT_TRUE(preview.has_value());
    const QString line = QStringLiteral("\nRepeat: ") + QString::fromUtf8(c.Expected) + u'\n';
    EXPECT_TRUE(preview->contains(line)) << preview->toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Repeats,
    ::testing::Values(
        RepeatCase{"Daily", 1, 1, 0xFFFF, 0, 0, "Every day"},
        RepeatCase{"EveryThirdDayUntil", 1, 3, PackedDate(2007, 4, 1), 0, 0,
                   "Every 3 days until 2007-04-01"},
        RepeatCase{"WeeklyFromSunday", 2, 1, 0xFFFF, 0x03, 0, "Every week on Sunday, Monday"},
        RepeatCase{"WeeklyFromMonday", 2, 1, 0xFFFF, 0x03, 1, "Every week on Monday, Sunday"},
        RepeatCase{"EveryOtherWeekOnSaturday", 2, 2, 0xFFFF, 0x40, 0, "Every 2 weeks on Saturday"},
        RepeatCase{"MonthlyOnTheThirdThursday", 3, 1, 0xFFFF, 2 * 7 + 4, 0,
                   "Every month on the third Thursday"},
        RepeatCase{"EveryOtherMonthOnTheLastFriday", 3, 2, 0xFFFF, 4 * 7 + 5, 0,
                   "Every 2 months on the last Friday"},
        RepeatCase{"MonthlyByDate", 4, 1, 0xFFFF, 0, 0, "Every month on day 15"},
        RepeatCase{"QuarterlyByDate", 4, 3, 0xFFFF, 0, 0, "Every 3 months on day 15"},
        RepeatCase{"Yearly", 5, 1, PackedDate(2010, 3, 15), 0, 0, "Every year until 2010-03-15"},
        RepeatCase{"EveryFourYears", 5, 4, 0xFFFF, 0, 0, "Every 4 years"}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

namespace {

// A database of the given type and creator with the app info block and records laid out
// after its list, each record with its attribute byte.
QByteArray Database(const char* type, const char* creator, const QByteArray& appInfo,
                    const QList<std::pair<QByteArray, uint8_t>>& records) {
    PalmFileBuilder b;
    b.name = "Preview";
    b.type = type;
    b.creator = creator;
    uint32_t offset = 78 + uint32_t(records.size()) * 8 + 2;
    b.tail = QByteArray(2, '\0');
    if (!appInfo.isEmpty()) {
        b.appInfoArea = offset;
        b.tail += appInfo;
        offset += uint32_t(appInfo.size());
    }
    for (const auto& [bytes, attributes] : records) {
        b.recordOffsets.push_back(offset);
        b.recordInfo.push_back(uint32_t(attributes) << 24 | uint32_t(b.recordOffsets.size()));
        b.tail += bytes;
        offset += uint32_t(bytes.size());
    }
    return b.Bytes();
}

std::optional<QString> PreviewOf(MemoryByteSource& source, int entry) {
    const DatabaseContents contents = ReadDatabaseContents(source);
    const ContentsEntry& which = entry < 0 ? contents.AppInfo : contents.Entries.at(size_t(entry));
    return PreviewEntry(source, contents, which, CodePage());
}

} // namespace

TEST(EntryPreview, ReadsTheHeaderAppInfoAndRecordFromTheFile) {
    MemoryByteSource memos(
        Database("DATA", "memo", Categories({"Unfiled", "Work"}),
                 {{RecordBuilder().Text("first"), 0x00}, {RecordBuilder().Text("second"), 0x01}})
            .toStdString());
    EXPECT_EQ(PreviewOf(memos, 1), Lines({"Category: Work", "Private: no", "", "second"}));
    EXPECT_EQ(PreviewOf(memos, -1), std::nullopt); // the app info block itself

    // A text record of a compressed book, expanded as record 0 says.
    MemoryByteSource book(
        Database("TEXt", "REAd", {},
                 {{EbookHeader(2, 7, 1, 4096), 0},
                  {RecordBuilder().Text("Hi", false).Bytes({0xE8, 0x80, 0x11}), 0}})
            .toStdString());
    EXPECT_EQ(PreviewOf(book, 1), QStringLiteral("Hi h h h"));

    MemoryByteSource other(
        Database("DATA", "test", {}, {{RecordBuilder().Text("x"), 0}}).toStdString());
    EXPECT_EQ(PreviewOf(other, 0), std::nullopt);
}

TEST(EntryPreview, RecordsThatCannotBeReadSayWhy) {
    // Larger than any record the handheld keeps.
    MemoryByteSource huge(
        Database("DATA", "memo", {}, {{QByteArray(int(MaxPreviewRecordBytes) + 1, 'm') + '\0', 0}})
            .toStdString());
    EXPECT_EQ(PreviewOf(huge, 0),
              UnreadableRecordText(QStringLiteral("larger than any such record")));

    const QByteArray file = Database("DATA", "memo", {}, {{RecordBuilder().Text("gone soon"), 0}});
    MemoryByteSource shrunk(file.toStdString());
    const DatabaseContents contents = ReadDatabaseContents(shrunk);
    shrunk.Truncate(size_t(file.size()) - 4);
    EXPECT_EQ(PreviewEntry(shrunk, contents, contents.Entries.at(0), CodePage()),
              UnreadableRecordText(QStringLiteral("the file shrank while it was read")));

    // The list points beyond the file's end.
    PalmFileBuilder b;
    b.name = "Outside";
    b.type = "DATA";
    b.creator = "todo";
    b.recordOffsets = {5000};
    MemoryByteSource outside(b.Bytes().toStdString());
    const auto preview = PreviewOf(outside, 0);
    ASSERT_TRUE(preview.has_value());
    EXPECT_TRUE(preview->startsWith(UnreadableRecordText(QString()))) << preview->toStdString();
    EXPECT_GT(preview->size(), UnreadableRecordText(QString()).size());
}
