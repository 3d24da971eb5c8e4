// File-list rows for the ordering and model tests, with values kept as a listing keeps them.
#pragma once

#include "common/DateTime.h"
#include "common/Helpers.h"
#include "core/FolderListing.h"
#include "core/ListOrdering.h"

#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <vector>

// A packed file time stamp, the way a listing keeps a row's date.
inline int32_t Stamp(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return int32_t(uint32_t(year - 1980) << 25 | uint32_t(month) << 21 | uint32_t(day) << 16 |
                   uint32_t(hour) << 11 | uint32_t(minute) << 5 | uint32_t(second / 2));
}

inline FileRow MakeRow(const QString& name, const QString& type, int64_t bytes,
                       int32_t changed = Stamp(2023, 3, 15, 12), RowIcon icon = RowIcon::PalmFile) {
    FileRow row;
    row.Name = name;
    row.Type = type;
    row.Bytes = bytes;
    row.ChangedStamp = changed;
    row.Icon = icon;
    return row;
}

// A list of UTF-8 texts, for tables of expected names.
inline QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

inline QStringList NamesOf(const std::vector<FileRow>& rows) {
    QStringList names;
    for (const FileRow& row : rows)
        names << row.Name;
    return names;
}

// The reference order: a stable sort by CompareRows, the comparison negated for descending.
inline std::vector<FileRow> SortedByCompareRows(std::vector<FileRow> rows, FileColumn column,
                                                Qt::SortOrder order, const QCollator& collator) {
    const int factor = order == Qt::AscendingOrder ? 1 : -1;
    std::stable_sort(rows.begin(), rows.end(), [&](const FileRow& a, const FileRow& b) {
        return CompareRows(column, a, b, collator) * factor < 0;
    });
    return rows;
}
