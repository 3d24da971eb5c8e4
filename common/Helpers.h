// Small stateless text, number and file helpers shared by the window and the CLI.
#pragma once

#include "palmdb/PalmDatabase.h" // TDateTime

#include <QString>
#include <cstdint>

// Decimal digits grouped by "." from the right, whatever the locale: 1234567 -> 1.234.567.
QString FormatThousands(int64_t value);

// The inverse of FormatThousands: drops every "." and reads a signed decimal 32-bit
// integer. Throws EConvertError for anything else (blanks, letters, a decimal comma, a
// value beyond 32 bits, the empty text).
int32_t UngroupNumber(const QString& text);

// "1023 Bytes", "1.5 KB", "12.40 MB" with the locale's decimal separator.
QString SizeText(int64_t bytes);

// Appends the platform's folder separator unless the path is empty or already ends with it.
QString AddTrailingBackslash(const QString& path);

// True when the name's extension (from its last ".", which no separator or ":" may
// follow) is ".zip" in any letter case. The file is not touched.
bool IsZipFile(const QString& name);

// Size in bytes of the entry at path (file or folder), or -1 when there is none.
int64_t FindFileSize(const QString& path);

// Last-write time of the entry at path as a packed local time stamp, or -1.
int32_t FindFileDate(const QString& path);

// Size and last-write time (a packed local time stamp) of the entry at path from one look
// at it; -1 for what there is none of.
struct FileSizeAndDate {
    int64_t Bytes = -1;
    int32_t Date = -1;
};
FileSizeAndDate FindFileSizeAndDate(const QString& path);

// 0 when A and B lie less than a millisecond apart, else -1 (A earlier) or 1.
int CompareDateTimes(TDateTime a, TDateTime b);
