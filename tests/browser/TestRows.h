// File-list rows for the ordering and model tests, with texts written as a listing would.
#pragma once

#include "browser/FolderListing.h"
#include "browser/ListOrdering.h"
#include "common/DateTime.h"
#include "common/Helpers.h"

#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <vector>

inline FileRow MakeRow(const QString& name, const QString& type, int64_t bytes, TDateTime changed,
                       RowIcon icon = RowIcon::PalmFile) {
    FileRow row;
    row.Name = name;
    row.Type = type;
    row.Bytes = bytes;
    row.Size = FormatThousands(bytes);
    row.ChangedValue = changed;
    row.Changed = DateTimeText(changed);
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
