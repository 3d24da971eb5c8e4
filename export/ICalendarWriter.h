// To-dos and appointments as iCalendar (RFC 5545) files: one VCALENDAR of VTODOs, one of
// VEVENTs. Times are floating local times (the handheld knew no time zones); untimed
// appointments and due dates are DATE values.
#pragma once

#include "export/CategoryInfo.h"
#include "export/DatebookDecoder.h"
#include "export/ExportOptions.h"
#include "export/ToDoDecoder.h"

#include <QList>
#include <QString>

QString ToDosAsICalendar(const QList<ToDoItem>& items, const CategoryInfo& categories,
                         const ExportOptions& options);
QString AppointmentsAsICalendar(const QList<Appointment>& appointments,
                                const CategoryInfo& categories, const ExportOptions& options);

// The handheld's priority 1 (highest) .. 5 as iCalendar's 1 (highest) .. 9.
int ICalendarPriority(int palmPriority);
// The alarm's TRIGGER value: "-PT15M", "-PT2H", "-P1D" (after the start without the "-").
QString AlarmTrigger(const AppointmentAlarm& alarm);
