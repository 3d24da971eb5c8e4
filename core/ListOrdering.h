// The order of the file list's rows for each column, and the header-click direction rule.
// Sizes and dates are compared by the values a row keeps (Bytes, ChangedStamp), which give
// the order their texts stand for, also where a text would not sort by itself, such as an
// archive view's "1.5 KB" beside "900 Bytes".
#pragma once

#include "core/FolderListing.h"

#include <QCollator>
#include <QLocale>
#include <optional>
#include <vector>

// Database (the header's name) is shown only when the user asks for it.
enum class FileColumn { Name = 0, Type = 1, Size = 2, Changed = 3, Database = 4 };
inline constexpr int FileColumnCount = 5;

// The list's text comparison: the locale's order without regard to letter case.
QCollator ListCollator(const QLocale& locale = QLocale());

// -1, 0 or 1. Name, Type and Database: text comparison. Size: the byte count. Changed: the moment.
// A row whose header could not be read has an empty Type and sorts like any other.
// Name, Type and Database: compared as texts, sorted by TextRanks.
inline bool IsTextColumn(FileColumn column) {
    return column == FileColumn::Name || column == FileColumn::Type ||
           column == FileColumn::Database;
}

int CompareRows(FileColumn column, const FileRow& a, const FileRow& b, const QCollator& collator);

// The fast way to the order CompareRows gives, for sorting many rows.
//
// Ranks of the Name or Type texts: rows whose texts compare equal share a rank, and a
// smaller rank sorts first. Computed once per listing, they make every later sort by that
// column a counting sort.
std::vector<int> TextRanks(const std::vector<FileRow>& rows, FileColumn column,
                           const QCollator& collator);
// The rows' new order as row numbers, from their present order (current, row numbers
// too): stable in both directions, so that rows which compare equal keep their places
// relative to each other.
std::vector<int> OrderByRanks(const std::vector<int>& ranks, const std::vector<int>& current,
                              Qt::SortOrder order);
// For Size and Changed.
std::vector<int> OrderByValues(const std::vector<FileRow>& rows, const std::vector<int>& current,
                               FileColumn column, Qt::SortOrder order);

// Header clicks: a click on the sort column reverses the direction, a click on another
// column keeps the direction last used. Kept for the whole run, across listings.
class SortState {
public:
    // Makes the column the sort column and returns the direction to sort it in.
    Qt::SortOrder Click(FileColumn column);
    std::optional<FileColumn> Column() const { return FColumn; }

private:
    std::optional<FileColumn> FColumn;
    Qt::SortOrder FOrder = Qt::AscendingOrder;
};
