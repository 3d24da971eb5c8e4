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

enum class FileColumn { Name = 0, Type = 1, Size = 2, Changed = 3 };
inline constexpr int FileColumnCount = 4;

// The list's text comparison: the locale's order without regard to letter case.
QCollator ListCollator(const QLocale& locale = QLocale());

// -1, 0 or 1. Name and Type: text comparison. Size: the byte count. Changed: the moment.
// A row whose header could not be read has an empty Type and sorts like any other.
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

// The order of a table of free texts, such as the creator catalogue's: empty cells first,
// then cells that read as dates or times in the locale's formats, then numbers in the
// locale's notation, then all other texts in the locale's order with letter case counting.
// Each kind compares by its value, equal values by their texts. Ranking the kinds keeps the
// order consistent in mixed columns, where comparing each pair by what both cells read as
// would not be ("2" < "10" as numbers, but "10" < "1a" and "1a" < "2" as texts), and a
// sort needs a consistent order.
enum class CellKind { Empty, DateTime, Number, Text };

struct CellSortKey {
    CellKind Kind = CellKind::Empty;
    double Value = 0; // DateTime: days since 1899-12-30 (a time alone lies on that day)
    QString Text;
};

// Reads a cell once, so that a sort does not parse it at every comparison.
CellSortKey MakeCellSortKey(const QString& text, const QLocale& locale = QLocale());
// The collator for CompareCellKeys: the locale's order, letter case counting.
QCollator CellCollator(const QLocale& locale = QLocale());
// -1, 0 or 1.
int CompareCellKeys(const CellSortKey& a, const CellSortKey& b, const QCollator& collator);

// Header clicks: a click on the sort column reverses the direction, a click on another
// column keeps the direction last used. Kept for the whole run, across listings.
class SortState {
public:
    // Makes the column the sort column and returns the direction to sort it in.
    Qt::SortOrder Click(FileColumn column);
    std::optional<FileColumn> Column() const { return FColumn; }
    Qt::SortOrder Order() const { return FOrder; }

private:
    std::optional<FileColumn> FColumn;
    Qt::SortOrder FOrder = Qt::AscendingOrder;
};
