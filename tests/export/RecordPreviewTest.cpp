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
    const char* Creator; // of a database of type DATA; "REAd" is an e-book's (TEXt)
    QByteArray Record;
    std::optional<QString> Expected;
    uint8_t Attributes = 0;
    QByteArray AppInfo = {};
    int Index = 1;
    QByteArray Header = {}; // an e-book's record 0, for its text records
};

void PrintTo(const PreviewCase& c, std::ostream* out) {
    *out << c.Name;
}

std::optional<QString> Preview(const PreviewCase& c) {
    // A copy of exactly the record's size, so that a read past it is caught.
    const QByteArray exact(c.Record.constData(), c.Record.size());
    const PreviewDatabase database{std::string(c.Creator) == "REAd" ? "TEXt" : "DATA", c.Creator,
                                   c.AppInfo, c.Header};
    return PreviewRecord(database, c.Index, PalmRecordBytes{exact, c.Attributes, 1}, CodePage());
}

QString Lines(std::initializer_list<const char*> lines) {
    QStringList all;
    for (const char* line : lines)
        all << QString::fromUtf8(line);
    return all.join(u'\n');
}

// The texts after the fixed fields, each with its NUL.
QByteArray Texts(RecordBuilder record, std::initializer_list<const char*> texts) {
    for (const char* text : texts)
        record.Text(text);
    return record;
}

std::optional<QString> Unreadable(const QString& why) {
    return UnreadableRecordText(why);
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
        PreviewCase{"PrivateMemoInANamedCategory", "memo", RecordBuilder().Text("Buy milk\nand"),
                    Lines({"Category: Business", "Private: yes", "", "Buy milk", "and"}), 0x11,
                    Categories({"Unfiled", "Business"})},
        PreviewCase{"MemoWithoutAppInfoShowsTheCategorysNumber", "memo", RecordBuilder().Text("x"),
                    Lines({"Category: 3", "Private: no", "", "x"}), 0x03},
        PreviewCase{"ArchivedMemo", "memo", RecordBuilder().Text("old"),
                    Lines({"Deleted: yes, kept in the archive", "Private: no", "", "old"}), 0x88},
        PreviewCase{"DeletedRecordWithoutBytes", "todo", QByteArray(),
                    QStringLiteral("The record is deleted; the file keeps none of its bytes."),
                    0x80},
        // Phone 1 Work, phone 2 Mobile, phone 2 shown; last and first name, phones 1 and 2,
        // custom 1 (renamed) and 2 (its label not marked renamed), note.
        PreviewCase{
            "AddressWithRenamedAndUsualLabels", "addr",
            Texts(RecordBuilder().Long(0x00100070).Long(0x4C01B).Bytes({0}),
                  {"Smith", "Ann", "555-1", "555-2", "blue", "x", "two\nlines"}),
            Lines({"Category: Business", "Private: no", "", "Last name: Smith", "First name: Ann",
                   "Work: 555-1", "Handy: 555-2", "Colour: blue", "Custom 2: x",
                   "Shown in the list: Handy", "Note:", "two", "lines"}),
            0x01,
            AddressLabels(1u << 14, {{3, "Work"}, {14, "Colour"}, {15, "Spare"}, {21, "Handy"}})},
        // Phone 1 Mobile and shown; last name, phone 1, city, country.
        PreviewCase{"AddressWithoutAppInfoUsesTheUsualLabels", "addr",
                    Texts(RecordBuilder().Long(0x7).Long(0x1209).Bytes({0}),
                          {"Smith", "0170", "Bonn", "Germany"}),
                    Lines({"Category: 0", "Private: no", "", "Last name: Smith", "Mobile: 0170",
                           "City: Bonn", "Country: Germany", "Shown in the list: Mobile"})},
        PreviewCase{"CompletedToDoWithDueDateAndNote", "todo",
                    Texts(RecordBuilder().Date(2027, 1, 31).Bytes({0x82}), {"Call", "about x"}),
                    Lines({"Category: Personal", "Private: no", "", "Description: Call",
                           "Due: 2027-01-31", "Priority: 2", "Completed: yes", "Note: about x"}),
                    0x02, Categories({"Unfiled", "Business", "Personal"})},
        PreviewCase{"ToDoWithoutDueDate", "todo",
                    RecordBuilder().Word(0xFFFF).Bytes({5}).Text("Later"),
                    Lines({"Category: 0", "Private: yes", "", "Description: Later", "Due: none",
                           "Priority: 5", "Completed: no"}),
                    0x10},
        // An alarm 5 minutes before; every 2 weeks on Monday and Wednesday, the week from
        // Monday; two exceptions.
        PreviewCase{"RepeatingAppointmentWithAlarmAndExceptions", "date",
                    Texts(Timed(0x7C00)
                              .Bytes({5, 0, 2, 0})
                              .Date(2027, 3, 1)
                              .Bytes({2, 0x0A, 1, 0})
                              .Word(2)
                              .Date(2007, 3, 19)
                              .Date(2007, 3, 21),
                          {"Team", "Room 4"}),
                    Lines({"Private: yes", "", "Date: 2007-03-15", "Time: 09:00–10:30",
                           "Repeat: Every 2 weeks on Monday, Wednesday until 2027-03-01",
                           "Exceptions: 2007-03-19, 2007-03-21", "Alarm: 5 minutes before",
                           "Description: Team", "Note: Room 4"}),
                    0x10},
        PreviewCase{"UntimedAppointmentWithAlarmAfterIt", "date",
                    RecordBuilder()
                        .Bytes({0xFF, 0xFF, 0xFF, 0xFF})
                        .Date(2007, 3, 15)
                        .Word(0x4400)
                        .Bytes({0xFE, 1}) // -2 hours
                        .Text("Holiday"),
                    Lines({"Private: no", "", "Date: 2007-03-15", "Time: no time",
                           "Alarm: 2 hours after", "Description: Holiday"})},
        PreviewCase{"EbookHeader", "REAd", EbookHeader(2, 5000, 2, 4096),
                    Lines({"Version: 2 (compressed)", "Text length: 5000 bytes", "Text records: 2",
                           "Record size: 4096 bytes"}),
                    0, QByteArray(), 0},
        // "Hello", " h", then "ello" from 6 back.
        PreviewCase{"CompressedEbookText", "REAd",
                    RecordBuilder().Text("Hello", false).Bytes({0xE8, 0x80, 0x31}),
                    QStringLiteral("Hello hello"), 0, QByteArray(), 1, EbookHeader(2, 11, 1, 4096)},
        PreviewCase{"PlainEbookText", "REAd", RecordBuilder().Text("Plain \x80", false),
                    QStringLiteral("Plain €"), 0, QByteArray(), 2, EbookHeader(1, 20, 2, 4096)},
        PreviewCase{"EbookBookmarkHasNone", "REAd", RecordBuilder().Text("Mark", false),
                    std::nullopt, 0, QByteArray(), 3, EbookHeader(1, 20, 2, 4096)},
        PreviewCase{"UnknownDatabaseHasNone", "test", RecordBuilder().Text("x"), std::nullopt}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Damaged, Previews,
    ::testing::Values(
        PreviewCase{"MemoWithoutNul", "memo", RecordBuilder().Text("no end", false),
                    Unreadable(UnterminatedTextText())},
        PreviewCase{"EmptyLivingMemo", "memo", QByteArray(), Unreadable(UnterminatedTextText())},
        PreviewCase{"AddressWithCutFields", "addr",
                    RecordBuilder().Long(0).Long(0x7).Bytes({0}).Text("Smith"),
                    Unreadable(MissingFieldsText())},
        PreviewCase{"AddressAppInfoTooShortIsLeftOut", "addr",
                    RecordBuilder().Long(0).Long(0x1).Bytes({0}).Text("Smith"),
                    Lines({"Category: 0", "Private: no", "", "Last name: Smith"}), 0,
                    QByteArray(40, 'x')},
        PreviewCase{"RepeatOfKind6", "date",
                    Timed(0x2000).Bytes({6, 0}).Word(0xFFFF).Bytes({1, 0, 0, 0}),
                    Unreadable(UnknownRepeatKindText())},
        PreviewCase{"EbookHeaderCut", "REAd", EbookHeader(2, 1, 1, 4096).left(9),
                    Unreadable(RecordTooShortText()), 0, QByteArray(), 0},
        PreviewCase{"EbookTextPastItsRecordSize", "REAd", RecordBuilder().Text("Hello", false),
                    Unreadable(EbookRecordTooLongText(4)), 0, QByteArray(), 1,
                    EbookHeader(2, 5, 1, 4)},
        PreviewCase{"PlainEbookTextPastItsRecordSize", "REAd", RecordBuilder().Text("Hello", false),
                    Unreadable(EbookRecordTooLongText(4)), 0, QByteArray(), 1,
                    EbookHeader(1, 5, 1, 4)},
        PreviewCase{"EbookTextWithoutAHeader", "REAd", RecordBuilder().Text("Hello", false),
                    Unreadable(QStringLiteral("the e-book's first record, which tells how its "
                                              "text is stored, cannot be read"))}),
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

// The bytes of a database of records as a source, as a file would give them.
MemoryByteSource Source(const PalmFileBuilder& database) {
    return MemoryByteSource(database.Bytes().toStdString());
}

std::optional<QString> PreviewOf(MemoryByteSource& source, int entry) {
    const DatabaseContents contents = ReadDatabaseContents(source);
    const ContentsEntry& which = entry < 0 ? contents.AppInfo : contents.Entries.at(size_t(entry));
    return PreviewEntry(source, contents, which, CodePage());
}

} // namespace

TEST(EntryPreview, ReadsTheHeaderAppInfoAndRecordFromTheFile) {
    MemoryByteSource memos = Source(RecordDatabase(
        "MemoDB", "DATA", "memo", {RecordBuilder().Text("first"), RecordBuilder().Text("second")},
        Categories({"Unfiled", "Work"}), {0x00, 0x01}));
    EXPECT_EQ(PreviewOf(memos, 1), Lines({"Category: Work", "Private: no", "", "second"}));
    EXPECT_EQ(PreviewOf(memos, -1), std::nullopt); // the app info block itself

    // A text record of a compressed book, expanded as record 0 says.
    MemoryByteSource book = Source(RecordDatabase(
        "Book", "TEXt", "REAd",
        {EbookHeader(2, 7, 1, 4096), RecordBuilder().Text("Hi", false).Bytes({0xE8, 0x80, 0x11})}));
    EXPECT_EQ(PreviewOf(book, 1), QStringLiteral("Hi h h h"));

    MemoryByteSource other = Source(RecordDatabase("Other", "DATA", "test", {"x"}));
    EXPECT_EQ(PreviewOf(other, 0), std::nullopt);
}

TEST(EntryPreview, RecordsThatCannotBeReadSayWhy) {
    // Larger than any record the handheld keeps.
    MemoryByteSource huge = Source(RecordDatabase(
        "MemoDB", "DATA", "memo", {QByteArray(int(MaxPreviewRecordBytes) + 1, 'm') + '\0'}));
    EXPECT_EQ(PreviewOf(huge, 0),
              UnreadableRecordText(QStringLiteral("larger than any such record")));

    const QByteArray file =
        RecordDatabase("MemoDB", "DATA", "memo", {RecordBuilder().Text("gone soon")}).Bytes();
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
