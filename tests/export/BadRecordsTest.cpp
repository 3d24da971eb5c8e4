// Damaged records of every kind: each is refused with the text that names its fault, and
// none reads past its bytes or reserves what a count in it asks for.
#include "RecordBuilder.h"
#include "export/AddressDecoder.h"
#include "export/DatebookDecoder.h"
#include "export/DecodeErrors.h"
#include "export/MemoDecoder.h"
#include "export/ToDoDecoder.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using Decode = std::function<QString(const QByteArray&)>;

template <typename Decoder> Decode ErrorOf(Decoder decoder) {
    return [decoder](const QByteArray& bytes) {
        // A copy of exactly the record's size, so that a read past it is caught by the
        // checked build and the sanitizers.
        const QByteArray exact(bytes.constData(), bytes.size());
        return decoder(PalmRecordBytes{exact, 0, 1}, CodePage()).Error;
    };
}

struct BadRecord {
    const char* Name;
    Decode Decoder;
    QByteArray Bytes;
    QString Expected;
};

// Test names show the case's name, not its bytes.
void PrintTo(const BadRecord& record, std::ostream* out) {
    *out << record.Name;
}

// Times, date and flags of an appointment on 2007-03-15 from 9:00 to 10:30.
RecordBuilder Timed(int flags) {
    return RecordBuilder().Bytes({9, 0, 10, 30}).Date(2007, 3, 15).Word(flags);
}

// A repeat of the given kind, interval and end date (0xFFFF none) and "on" byte.
RecordBuilder Repeating(int kind, int interval, int end, int on) {
    return Timed(0x2000).Bytes({kind, 0}).Word(end).Bytes({interval, on, 0, 0});
}

class BadRecords : public ::testing::TestWithParam<BadRecord> {};

} // namespace

TEST_P(BadRecords, AreRefusedWithTheirFault) {
    EXPECT_EQ(GetParam().Decoder(GetParam().Bytes), GetParam().Expected);
}

const auto memo = ErrorOf(DecodeMemo);
const auto toDo = ErrorOf(DecodeToDo);
const auto address = ErrorOf(DecodeAddress);
const auto appointment = ErrorOf(DecodeAppointment);

INSTANTIATE_TEST_SUITE_P(
    Decoders, BadRecords,
    ::testing::Values(
        BadRecord{"MemoWithoutNul", memo, RecordBuilder().Text("no end", false),
                  UnterminatedTextText()},
        BadRecord{"EmptyMemo", memo, QByteArray(), UnterminatedTextText()},
        BadRecord{"ToDoTooShort", toDo, RecordBuilder().Bytes({0xFF, 0xFF}), RecordTooShortText()},
        BadRecord{"ToDoMonth13", toDo,
                  RecordBuilder().Date(2001, 13, 1).Bytes({1}).Text("a").Text(""),
                  InvalidDateText()},
        BadRecord{"ToDoDay0", toDo, RecordBuilder().Date(2001, 2, 0).Bytes({1}).Text("a").Text(""),
                  InvalidDateText()},
        BadRecord{"ToDo30February", toDo,
                  RecordBuilder().Date(2001, 2, 30).Bytes({1}).Text("a").Text(""),
                  InvalidDateText()},
        BadRecord{"ToDoPriority0", toDo, RecordBuilder().Word(0xFFFF).Bytes({0x80}).Text("a"),
                  PriorityOutOfRangeText()},
        BadRecord{"ToDoPriority6", toDo, RecordBuilder().Word(0xFFFF).Bytes({6}).Text("a"),
                  PriorityOutOfRangeText()},
        BadRecord{"ToDoDescriptionWithoutNul", toDo,
                  RecordBuilder().Word(0xFFFF).Bytes({1}).Text("a", false), UnterminatedTextText()},
        BadRecord{"ToDoNoteWithoutNul", toDo,
                  RecordBuilder().Word(0xFFFF).Bytes({1}).Text("a").Text("n", false),
                  UnterminatedTextText()},
        BadRecord{"AddressTooShort", address, RecordBuilder().Long(0).Long(1),
                  RecordTooShortText()},
        BadRecord{"AddressPromisesThreeFieldsHoldsOne", address,
                  RecordBuilder().Long(0).Long(0x7).Bytes({0}).Text("Smith"), MissingFieldsText()},
        BadRecord{"AddressNoteWithoutNul", address,
                  RecordBuilder().Long(0).Long(0x40001).Bytes({0}).Text("Smith").Text("no", false),
                  UnterminatedTextText()},
        BadRecord{"AddressPhoneLabel9", address,
                  RecordBuilder().Long(0x00000900).Long(0).Bytes({0}), PhoneLabelOutOfRangeText()},
        BadRecord{"AddressShownPhone6", address,
                  RecordBuilder().Long(0x00500000).Long(0).Bytes({0}), PhoneLabelOutOfRangeText()},
        BadRecord{"AppointmentTooShort", appointment, RecordBuilder().Bytes({9, 0, 10, 0, 0x1C}),
                  RecordTooShortText()},
        BadRecord{"AppointmentMonth13", appointment,
                  RecordBuilder().Bytes({9, 0, 10, 0}).Date(2007, 13, 1).Word(0),
                  InvalidDateText()},
        BadRecord{"AppointmentHour24", appointment,
                  RecordBuilder().Bytes({24, 0, 24, 30}).Date(2007, 3, 1).Word(0),
                  InvalidTimeText()},
        BadRecord{"AppointmentMinute60", appointment,
                  RecordBuilder().Bytes({9, 0, 9, 60}).Date(2007, 3, 1).Word(0), InvalidTimeText()},
        BadRecord{"AppointmentEndsBeforeStart", appointment,
                  RecordBuilder().Bytes({10, 0, 9, 0}).Date(2007, 3, 1).Word(0),
                  EndsBeforeStartText()},
        BadRecord{"AlarmCutOff", appointment, Timed(0x4000).Bytes({5}), RecordTooShortText()},
        BadRecord{"AlarmUnit3", appointment, Timed(0x4000).Bytes({5, 3}), UnknownAlarmUnitText()},
        BadRecord{"RepeatCutOff", appointment, Timed(0x2000).Bytes({1, 0, 0xFF, 0xFF, 1}),
                  RecordTooShortText()},
        BadRecord{"RepeatKind6", appointment, Repeating(6, 1, 0xFFFF, 0), UnknownRepeatKindText()},
        BadRecord{"RepeatInterval0", appointment, Repeating(1, 0, 0xFFFF, 0),
                  ZeroRepeatIntervalText()},
        BadRecord{"RepeatEndsBeforeStart", appointment, Repeating(1, 1, PackedDate(2007, 3, 14), 0),
                  RepeatEndsBeforeStartText()},
        BadRecord{"RepeatEndMonth13", appointment, Repeating(1, 1, PackedDate(2008, 13, 1), 0),
                  InvalidDateText()},
        BadRecord{"WeeklyOnNoDay", appointment, Repeating(2, 1, 0xFFFF, 0x80), RepeatOnNoDayText()},
        BadRecord{"MonthlyByDay35", appointment, Repeating(3, 1, 0xFFFF, 35),
                  InvalidWeekOfMonthText()},
        BadRecord{"ExceptionsBeyondRecord", appointment,
                  Timed(0x0800).Word(0xFFFF).Date(2007, 4, 1), ExceptionsBeyondRecordText()},
        BadRecord{"ExceptionCountCutOff", appointment, Timed(0x0800).Bytes({0}),
                  RecordTooShortText()},
        BadRecord{"ExceptionMonth13", appointment, Timed(0x0800).Word(1).Date(2007, 13, 2),
                  InvalidDateText()},
        BadRecord{"DescriptionWithoutNul", appointment, Timed(0x0400).Text("Lunch", false),
                  UnterminatedTextText()},
        BadRecord{"NoteFlaggedButAbsent", appointment, Timed(0x1400).Text("Lunch"),
                  MissingFieldsText()}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

// The boundaries of the same fields, read as sound.
TEST(SoundRecords, EdgesOfTheirFieldsAreRead) {
    const QByteArray lastDay = RecordBuilder().Date(2031, 12, 31).Bytes({0x85}).Text("d");
    const auto item = DecodeToDo(PalmRecordBytes{lastDay, 0x1F, 7}, CodePage());
    ASSERT_TRUE(item.Ok()) << item.Error.toStdString();
    EXPECT_EQ(item.Value->Due, QDate(2031, 12, 31));
    EXPECT_TRUE(item.Value->Completed);
    EXPECT_EQ(item.Value->Priority, 5);
    EXPECT_TRUE(item.Value->Note.isEmpty());
    EXPECT_TRUE(item.Value->Flags.Private);
    EXPECT_EQ(item.Value->Flags.Category, 15);

    const QByteArray lastWeek = Repeating(3, 1, PackedDate(2007, 3, 15), 34).Text("", false);
    const auto monthly = DecodeAppointment(PalmRecordBytes{lastWeek, 0, 1}, CodePage());
    ASSERT_TRUE(monthly.Ok()) << monthly.Error.toStdString();
    EXPECT_EQ(monthly.Value->Repeat.Week, AppointmentRepeat::LastWeek);
    EXPECT_EQ(monthly.Value->Repeat.Weekday, 6);
    EXPECT_EQ(monthly.Value->Repeat.End, QDate(2007, 3, 15));

    const QByteArray untimed = RecordBuilder()
                                   .Bytes({0xFF, 0xFF, 0xFF, 0xFF})
                                   .Date(1904, 1, 1)
                                   .Word(0x4000)
                                   .Bytes({0xFB, 2});
    const auto allDay = DecodeAppointment(PalmRecordBytes{untimed, 0xC3, 1}, CodePage());
    ASSERT_TRUE(allDay.Ok()) << allDay.Error.toStdString();
    EXPECT_FALSE(allDay.Value->Start.has_value());
    EXPECT_EQ(allDay.Value->Alarm->Advance, -5);
    EXPECT_EQ(allDay.Value->Alarm->Unit, AlarmUnit::Days);
    EXPECT_TRUE(allDay.Value->Flags.Deleted);
    EXPECT_FALSE(allDay.Value->Flags.Archived);
    EXPECT_EQ(allDay.Value->Flags.Category, 0);
}

TEST(SoundRecords, AppInfoBlocksShorterThanTheirCategoriesAreRefused) {
    const QByteArray tooShort(CategoryInfo::Size - 1, '\0');
    EXPECT_EQ(DecodeMemoAppInfo(tooShort, CodePage()).Error, AppInfoTooShortText());
    EXPECT_EQ(DecodeToDoAppInfo(tooShort, CodePage()).Error, AppInfoTooShortText());
    EXPECT_EQ(DecodeDatebookAppInfo(tooShort, CodePage()).Error, AppInfoTooShortText());
    EXPECT_EQ(DecodeAddressAppInfo(QByteArray(CategoryInfo::Size + 100, '\0'), CodePage()).Error,
              AppInfoTooShortText());
    // Names fill their 16 bytes without a NUL.
    QByteArray full(CategoryInfo::Size, 'N');
    const auto info = DecodeMemoAppInfo(full, CodePage());
    ASSERT_TRUE(info.Ok());
    EXPECT_EQ(info.Value->Categories.Names[15], QString(16, u'N'));
    EXPECT_TRUE(info.Value->Categories.NameOf(16).isEmpty());
}
