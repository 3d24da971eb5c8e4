// An appointment's repeat in iCalendar terms: the RRULE value and the day the series
// really starts on. A Date Book record may start a weekly series on a day that is not
// one of its days; iCalendar would count that day as an occurrence, so the series starts
// on the first day that is one.
#pragma once

#include "export/DatebookDecoder.h"

#include <QDate>
#include <QString>

// The first day of the series: the appointment's date, or for a weekly repeat the first
// of its days on or after it (in a week the interval leads to).
QDate FirstOccurrence(const Appointment& appointment);

// "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;WKST=MO;UNTIL=20071231"; empty when it does not
// repeat. The UNTIL has the type of the start (a date, or a local time at the end of the
// last day) so that the last day is included.
QString RepeatRuleValue(const Appointment& appointment);
