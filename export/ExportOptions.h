// What every writer is told: whether deleted and archived records go along, and the
// moment of the export (iCalendar's DTSTAMP), given so that a run writes one stamp.
#pragma once

#include <QDateTime>

struct ExportOptions {
    bool IncludeDeleted = false;
    QDateTime Stamp = QDateTime::currentDateTimeUtc();
};
