#include "export/RepeatRule.h"

#include "export/ContentLines.h"

#include <QStringList>
#include <array>

namespace {

const std::array<QString, 7> DayNames = {
    QStringLiteral("SU"), QStringLiteral("MO"), QStringLiteral("TU"), QStringLiteral("WE"),
    QStringLiteral("TH"), QStringLiteral("FR"), QStringLiteral("SA")};

// 0 for Sunday, as the handheld counts.
int PalmWeekday(const QDate& date) {
    return date.dayOfWeek() % 7;
}

QDate StartOfWeek(const QDate& date, int firstDayOfWeek) {
    return date.addDays(-((PalmWeekday(date) - firstDayOfWeek + 7) % 7));
}

} // namespace

QDate FirstOccurrence(const Appointment& appointment) {
    const AppointmentRepeat& repeat = appointment.Repeat;
    if (repeat.Kind != RepeatKind::Weekly)
        return appointment.Date;
    const int firstDay = qBound(0, repeat.FirstDayOfWeek, 6);
    const int interval = qMax(1, repeat.Interval);
    const QDate firstWeek = StartOfWeek(appointment.Date, firstDay);
    // At most the rest of this week and one week the interval leads to.
    for (int offset = 0; offset < 7 * (interval + 1); ++offset) {
        const QDate day = appointment.Date.addDays(offset);
        const qint64 week = firstWeek.daysTo(StartOfWeek(day, firstDay)) / 7;
        if (repeat.Days[size_t(PalmWeekday(day))] && week % interval == 0)
            return day;
    }
    return appointment.Date;
}

QString RepeatRuleValue(const Appointment& appointment) {
    const AppointmentRepeat& repeat = appointment.Repeat;
    QString rule;
    switch (repeat.Kind) {
    case RepeatKind::None:
        return QString();
    case RepeatKind::Daily:
        rule = QStringLiteral("FREQ=DAILY");
        break;
    case RepeatKind::Weekly: {
        QStringList days;
        for (size_t day = 0; day < DayNames.size(); ++day)
            if (repeat.Days[day])
                days << DayNames[day];
        rule = u"FREQ=WEEKLY;BYDAY=" + days.join(u',') + u";WKST=" +
               DayNames[size_t(qBound(0, repeat.FirstDayOfWeek, 6))];
        break;
    }
    case RepeatKind::MonthlyByDay: {
        const QString week = repeat.Week == AppointmentRepeat::LastWeek
                                 ? QStringLiteral("-1")
                                 : QString::number(repeat.Week + 1);
        rule = u"FREQ=MONTHLY;BYDAY=" + week + DayNames[size_t(qBound(0, repeat.Weekday, 6))];
        break;
    }
    case RepeatKind::MonthlyByDate:
        rule = u"FREQ=MONTHLY;BYMONTHDAY=" + QString::number(appointment.Date.day());
        break;
    case RepeatKind::Yearly:
        rule = u"FREQ=YEARLY;BYMONTH=" + QString::number(appointment.Date.month()) +
               u";BYMONTHDAY=" + QString::number(appointment.Date.day());
        break;
    }
    if (repeat.Interval != 1)
        rule += u";INTERVAL=" + QString::number(repeat.Interval);
    if (repeat.End)
        rule += u";UNTIL=" + (appointment.Start ? LocalDateTimeValue(*repeat.End, QTime(23, 59, 59))
                                                : DateValue(*repeat.End));
    return rule;
}
