#include "export/ICalendarWriter.h"

#include "export/ContentLines.h"
#include "export/RepeatRule.h"

#include <QStringList>

namespace {

void BeginCalendar(ContentLines& lines) {
    lines.Add(QStringLiteral("BEGIN"), QStringLiteral("VCALENDAR"));
    lines.Add(QStringLiteral("VERSION"), QStringLiteral("2.0"));
    lines.Add(QStringLiteral("PRODID"), QStringLiteral("-//Brisko//Palm data export//EN"));
}

// UID, DTSTAMP, category and class: what both components carry.
void AddCommon(ContentLines& lines, const QString& kind, uint32_t uniqueId,
               const RecordFlags& flags, const CategoryInfo& categories,
               const ExportOptions& options) {
    lines.Add(QStringLiteral("UID"),
              u"palm-" + kind + u'-' + QString::number(uniqueId) + u"@brisko");
    lines.Add(QStringLiteral("DTSTAMP"), options.Stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"));
    // Category 0 is "Unfiled": no category.
    if (flags.Category != 0)
        lines.AddText(QStringLiteral("CATEGORIES"), categories.NameOf(flags.Category));
    if (flags.Private)
        lines.Add(QStringLiteral("CLASS"), QStringLiteral("PRIVATE"));
}

void AddAppointment(ContentLines& lines, const Appointment& appointment,
                    const CategoryInfo& categories, const ExportOptions& options) {
    lines.Add(QStringLiteral("BEGIN"), QStringLiteral("VEVENT"));
    AddCommon(lines, QStringLiteral("date"), appointment.UniqueId, appointment.Flags, categories,
              options);
    const QDate first = FirstOccurrence(appointment);
    if (appointment.Start) {
        lines.Add(QStringLiteral("DTSTART"), LocalDateTimeValue(first, *appointment.Start));
        lines.Add(QStringLiteral("DTEND"), LocalDateTimeValue(first, *appointment.End));
    } else {
        lines.Add(QStringLiteral("DTSTART;VALUE=DATE"), DateValue(first));
        lines.Add(QStringLiteral("DTEND;VALUE=DATE"), DateValue(first.addDays(1)));
    }
    const QString rule = RepeatRuleValue(appointment);
    if (!rule.isEmpty()) {
        lines.Add(QStringLiteral("RRULE"), rule);
        QStringList days;
        for (const QDate& day : appointment.Exceptions)
            days << (appointment.Start ? LocalDateTimeValue(day, *appointment.Start)
                                       : DateValue(day));
        if (!days.isEmpty())
            lines.Add(appointment.Start ? QStringLiteral("EXDATE")
                                        : QStringLiteral("EXDATE;VALUE=DATE"),
                      days.join(u','));
    }
    lines.AddText(QStringLiteral("SUMMARY"), appointment.Description);
    lines.AddText(QStringLiteral("DESCRIPTION"), appointment.Note);
    if (appointment.Alarm) {
        lines.Add(QStringLiteral("BEGIN"), QStringLiteral("VALARM"));
        lines.Add(QStringLiteral("ACTION"), QStringLiteral("DISPLAY"));
        lines.Add(QStringLiteral("DESCRIPTION"),
                  EscapedText(appointment.Description.isEmpty() ? QStringLiteral("Reminder")
                                                                : appointment.Description));
        lines.Add(QStringLiteral("TRIGGER"), AlarmTrigger(*appointment.Alarm));
        lines.Add(QStringLiteral("END"), QStringLiteral("VALARM"));
    }
    lines.Add(QStringLiteral("END"), QStringLiteral("VEVENT"));
}

} // namespace

int ICalendarPriority(int palmPriority) {
    return 2 * qBound(1, palmPriority, 5) - 1;
}

QString AlarmTrigger(const AppointmentAlarm& alarm) {
    const QString sign = alarm.Advance > 0 ? QStringLiteral("-") : QString();
    const QString amount = QString::number(qAbs(alarm.Advance));
    switch (alarm.Unit) {
    case AlarmUnit::Minutes:
        return sign + u"PT" + amount + u'M';
    case AlarmUnit::Hours:
        return sign + u"PT" + amount + u'H';
    case AlarmUnit::Days:
        break;
    }
    return sign + u'P' + amount + u'D';
}

QString ToDosAsICalendar(const QList<ToDoItem>& items, const CategoryInfo& categories,
                         const ExportOptions& options) {
    ContentLines lines;
    BeginCalendar(lines);
    for (const ToDoItem& item : items) {
        if (!RecordIsExported(item.Flags, options.IncludeDeleted))
            continue;
        lines.Add(QStringLiteral("BEGIN"), QStringLiteral("VTODO"));
        AddCommon(lines, QStringLiteral("todo"), item.UniqueId, item.Flags, categories, options);
        lines.AddText(QStringLiteral("SUMMARY"), item.Description);
        lines.AddText(QStringLiteral("DESCRIPTION"), item.Note);
        if (item.Due)
            lines.Add(QStringLiteral("DUE;VALUE=DATE"), DateValue(*item.Due));
        lines.Add(QStringLiteral("PRIORITY"), QString::number(ICalendarPriority(item.Priority)));
        lines.Add(QStringLiteral("STATUS"),
                  item.Completed ? QStringLiteral("COMPLETED") : QStringLiteral("NEEDS-ACTION"));
        lines.Add(QStringLiteral("END"), QStringLiteral("VTODO"));
    }
    lines.Add(QStringLiteral("END"), QStringLiteral("VCALENDAR"));
    return lines.Text();
}

QString AppointmentsAsICalendar(const QList<Appointment>& appointments,
                                const CategoryInfo& categories, const ExportOptions& options) {
    ContentLines lines;
    BeginCalendar(lines);
    for (const Appointment& appointment : appointments)
        if (RecordIsExported(appointment.Flags, options.IncludeDeleted))
            AddAppointment(lines, appointment, categories, options);
    lines.Add(QStringLiteral("END"), QStringLiteral("VCALENDAR"));
    return lines.Text();
}
