// The order of a table of free texts, such as the creator catalogue's: empty cells first,
// then cells that read as dates or times in the locale's formats, then numbers in the
// locale's notation, then all other texts in the locale's order with letter case counting.
// Each kind compares by its value, equal values by their texts. Ranking the kinds keeps the
// order consistent in mixed columns, where comparing each pair by what both cells read as
// would not be ("2" < "10" as numbers, but "10" < "1a" and "1a" < "2" as texts), and a
// sort needs a consistent order.
#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>

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
