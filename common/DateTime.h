// The date-time value used throughout: days since 1899-12-30 00:00 local time as a
// double, the fraction being the time of day; and the packed 32-bit file time stamp.
#pragma once

#include "palmdb/PalmDatabase.h" // TDateTime

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <ctime>

// Local wall-clock time <-> date-time value. An invalid QDateTime gives 0.
TDateTime DateTimeFromQDateTime(const QDateTime& value);
QDateTime QDateTimeFromDateTime(TDateTime value);

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int msec = 0);

// Packs a moment (seconds since the Unix epoch) into the file-system time stamp:
// from the top bit down 7 bits year-1980, 4 month, 5 day, 5 hour, 6 minute, 5 seconds/2,
// in local time. Moments outside 1980..2107 are clamped to the nearest representable one.
int32_t PackFileTime(std::time_t moment);

// Unpacks a time stamp; throws EConvertError when it holds no valid date (for example -1).
TDateTime FileDateToDateTime(int32_t packed);

// The locale's short date format with the year in four digits ("M/d/yyyy" for en_US,
// "dd.MM.yyyy" for de_DE): a file of 2036 must not read as one of 1936.
QString ShortDateFormat(const QLocale& locale);

// A packed time stamp as the Changed column shows it: the user's short date, a blank and
// the long time without a time zone; only the date when the time is exactly midnight.
// Empty when the stamp holds no valid date.
QString FileDateText(int32_t packed);
// The same text added to the end of text, for writing many rows without a text each.
void AppendFileDateText(QString& text, int32_t packed);

// "YYYY-MM-DDTHH:MM:SS", for machine-readable output.
QString DateTimeIsoText(TDateTime value);
