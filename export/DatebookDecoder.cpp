#include "export/DatebookDecoder.h"

#include "export/DecodeErrors.h"
#include "export/PalmDate.h"

namespace {

constexpr uint8_t Untimed = 0xFF;
constexpr uint16_t HasAlarm = 0x4000;
constexpr uint16_t HasRepeat = 0x2000;
constexpr uint16_t HasNote = 0x1000;
constexpr uint16_t HasExceptions = 0x0800;
constexpr uint16_t HasDescription = 0x0400;

using Result = Decoded<Appointment>;

std::optional<QTime> TimeOf(uint8_t hour, uint8_t minute) {
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return QTime(hour, minute);
}

// The fixed part: times, date and flags. An empty text when it is sound.
QString ReadTimes(RecordReader& reader, Appointment& appointment, uint16_t& flags) {
    const auto startHour = reader.Byte();
    const auto startMinute = reader.Byte();
    const auto endHour = reader.Byte();
    const auto endMinute = reader.Byte();
    const auto date = reader.Word();
    const auto flagWord = reader.Word();
    if (!flagWord)
        return RecordTooShortText();
    flags = *flagWord;
    const auto day = PalmDateToQDate(*date);
    if (!day)
        return InvalidDateText();
    appointment.Date = *day;
    if (*startHour == Untimed)
        return QString();
    appointment.Start = TimeOf(*startHour, *startMinute);
    appointment.End = TimeOf(*endHour, *endMinute);
    if (!appointment.Start || !appointment.End)
        return InvalidTimeText();
    if (*appointment.End < *appointment.Start)
        return EndsBeforeStartText();
    return QString();
}

QString ReadAlarm(RecordReader& reader, Appointment& appointment) {
    const auto advance = reader.Byte();
    const auto unit = reader.Byte();
    if (!unit)
        return RecordTooShortText();
    if (*unit > 2)
        return UnknownAlarmUnitText();
    appointment.Alarm = AppointmentAlarm{int(int8_t(*advance)), AlarmUnit(*unit)};
    return QString();
}

QString ReadRepeat(RecordReader& reader, Appointment& appointment) {
    const auto kind = reader.Byte();
    reader.Skip(1);
    const auto end = reader.Word();
    const auto interval = reader.Byte();
    const auto on = reader.Byte();
    const auto firstDayOfWeek = reader.Byte();
    if (!firstDayOfWeek || !reader.Skip(1))
        return RecordTooShortText();
    if (*kind > int(RepeatKind::Yearly))
        return UnknownRepeatKindText();
    AppointmentRepeat& repeat = appointment.Repeat;
    repeat.Kind = RepeatKind(*kind);
    if (repeat.Kind == RepeatKind::None)
        return QString();
    repeat.Interval = *interval;
    if (repeat.Interval == 0)
        return ZeroRepeatIntervalText();
    if (*end != NoPalmDate) {
        repeat.End = PalmDateToQDate(*end);
        if (!repeat.End)
            return InvalidDateText();
        if (*repeat.End < appointment.Date)
            return RepeatEndsBeforeStartText();
    }
    if (repeat.Kind == RepeatKind::Weekly) {
        for (size_t day = 0; day < repeat.Days.size(); ++day)
            repeat.Days[day] = (*on & (1u << day)) != 0;
        if ((*on & 0x7F) == 0)
            return RepeatOnNoDayText();
        repeat.FirstDayOfWeek = *firstDayOfWeek;
    } else if (repeat.Kind == RepeatKind::MonthlyByDay) {
        if (*on > AppointmentRepeat::LastWeek * 7 + 6)
            return InvalidWeekOfMonthText();
        repeat.Week = *on / 7;
        repeat.Weekday = *on % 7;
    }
    return QString();
}

QString ReadExceptions(RecordReader& reader, Appointment& appointment) {
    const auto count = reader.Word();
    if (!count)
        return RecordTooShortText();
    // Checked before anything is reserved: the count comes from the file.
    if (reader.Remaining() < 2 * qsizetype(*count))
        return ExceptionsBeyondRecordText();
    appointment.Exceptions.reserve(*count);
    for (int i = 0; i < *count; ++i) {
        const auto day = PalmDateToQDate(*reader.Word());
        if (!day)
            return InvalidDateText();
        appointment.Exceptions.append(*day);
    }
    return QString();
}

QString ReadText(RecordReader& reader, const CodePage& codePage, QString& text) {
    const auto bytes = reader.String();
    if (!bytes)
        return reader.Remaining() == 0 ? MissingFieldsText() : UnterminatedTextText();
    text = codePage.Decode(*bytes);
    return QString();
}

} // namespace

Decoded<Appointment> DecodeAppointment(const PalmRecordBytes& record, const CodePage& codePage) {
    RecordReader reader(record.Data);
    Appointment appointment;
    uint16_t flags = 0;
    QString error = ReadTimes(reader, appointment, flags);
    if (error.isEmpty() && (flags & HasAlarm))
        error = ReadAlarm(reader, appointment);
    if (error.isEmpty() && (flags & HasRepeat))
        error = ReadRepeat(reader, appointment);
    if (error.isEmpty() && (flags & HasExceptions))
        error = ReadExceptions(reader, appointment);
    if (error.isEmpty() && (flags & HasDescription))
        error = ReadText(reader, codePage, appointment.Description);
    if (error.isEmpty() && (flags & HasNote))
        error = ReadText(reader, codePage, appointment.Note);
    if (!error.isEmpty())
        return Result::Failure(error);
    appointment.Flags = FlagsOfAttributes(record.Attributes);
    appointment.UniqueId = record.UniqueId;
    return Result::Of(std::move(appointment));
}

Decoded<DatebookAppInfo> DecodeDatebookAppInfo(QByteArrayView appInfo, const CodePage& codePage) {
    auto categories = DecodeCategoryInfo(appInfo, codePage);
    if (!categories)
        return Decoded<DatebookAppInfo>::Failure(AppInfoTooShortText());
    DatebookAppInfo info{std::move(*categories), 0};
    RecordReader rest(appInfo.sliced(CategoryInfo::Size));
    if (rest.Skip(2))
        info.StartOfWeek = rest.Byte().value_or(0);
    return Decoded<DatebookAppInfo>::Of(std::move(info));
}
