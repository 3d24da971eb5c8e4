// Date Book (DatebookDB, creator "date", type "DATA"). A record: start and end time (hour
// and minute bytes, 0xFF when untimed), the packed date, a word of flags, then as the flags
// say: the alarm (advance and unit), the repeat (kind, end date, interval, the days or the
// week of the month, the first day of the week), the exceptions (a count and packed
// dates), the description and the note.
#pragma once

#include "export/CategoryInfo.h"
#include "export/CodePage.h"
#include "export/Decoded.h"
#include "export/RecordBytes.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>
#include <optional>

enum class AlarmUnit { Minutes, Hours, Days };

struct AppointmentAlarm {
    int Advance = 0; // how many units before the start
    AlarmUnit Unit = AlarmUnit::Minutes;
};

// The handheld's numbering: 0 none, 1 daily, 2 weekly, 3 monthly by the day of a week,
// 4 monthly by date, 5 yearly.
enum class RepeatKind { None, Daily, Weekly, MonthlyByDay, MonthlyByDate, Yearly };

struct AppointmentRepeat {
    static constexpr int LastWeek = 4;
    RepeatKind Kind = RepeatKind::None;
    int Interval = 1;
    std::optional<QDate> End;   // the last day it may fall on
    std::array<bool, 7> Days{}; // weekly: Sunday first
    int Week = 0;               // monthly by day: 0..3 the first to fourth, LastWeek the last
    int Weekday = 0;            // monthly by day: 0 Sunday .. 6 Saturday
    int FirstDayOfWeek = 0;     // weekly: 0 Sunday, 1 Monday
};

struct Appointment {
    QDate Date;
    std::optional<QTime> Start; // nothing for an untimed appointment
    std::optional<QTime> End;
    std::optional<AppointmentAlarm> Alarm;
    AppointmentRepeat Repeat;
    QList<QDate> Exceptions;
    QString Description;
    QString Note;
    RecordFlags Flags;
    uint32_t UniqueId = 0;
};

struct DatebookAppInfo {
    CategoryInfo Categories;
    uint8_t StartOfWeek = 0;
};

Decoded<Appointment> DecodeAppointment(const PalmRecordBytes& record, const CodePage& codePage);
Decoded<DatebookAppInfo> DecodeDatebookAppInfo(QByteArrayView appInfo, const CodePage& codePage);
