#include "core/ListOrdering.h"

#include "core/TextComparison.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string>

namespace {

const QString& Text(const FileRow& row, FileColumn column) {
    return column == FileColumn::Name   ? row.Name
           : column == FileColumn::Type ? row.Type
                                        : row.Database;
}

// A packed stamp's fields run from the year down, so as an unsigned number it orders
// the moments.
int64_t Value(const FileRow& row, FileColumn column) {
    return column == FileColumn::Size ? row.Bytes : int64_t(uint32_t(row.ChangedStamp));
}

// Sorts the indexes 0..count-1 by compare and gives each its rank, equal ones sharing one.
template <typename Compare> std::vector<int> RanksBy(int count, Compare compare) {
    std::vector<int> byOrder(count);
    std::iota(byOrder.begin(), byOrder.end(), 0);
    std::sort(byOrder.begin(), byOrder.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<int> ranks(count);
    int rank = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && compare(byOrder[i - 1], byOrder[i]) != 0)
            ++rank;
        ranks[byOrder[i]] = rank;
    }
    return ranks;
}

// Folds as QString's case-insensitive comparison does, code point by code point, and
// writes the UTF-16 units big-endian, so that memcmp gives that comparison's order.
void AppendCaseFolded(std::string& out, const QString& text) {
    auto append = [&](char16_t unit) {
        out.push_back(char(unit >> 8));
        out.push_back(char(unit & 0xff));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            append(QChar::highSurrogate(c));
            append(QChar::lowSurrogate(c));
        } else {
            append(char16_t(c));
        }
    }
}

} // namespace

QCollator ListCollator(const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int CompareRows(FileColumn column, const FileRow& a, const FileRow& b, const QCollator& collator) {
    if (IsTextColumn(column))
        return CompareTexts(Text(a, column), Text(b, column), collator);
    const int64_t x = Value(a, column);
    const int64_t y = Value(b, column);
    return x < y ? -1 : x > y ? 1 : 0;
}

std::vector<int> TextRanks(const std::vector<FileRow>& rows, FileColumn column,
                           const QCollator& collator) {
    // Creator IDs repeat (a few hundred in a large folder): one key per distinct one.
    // The names of one folder are distinct already, and hashing them would only cost time.
    std::vector<const QString*> distinct;
    std::vector<int> rowDistinct(rows.size());
    if (column != FileColumn::Name) {
        QHash<QString, int> distinctIndex;
        for (size_t i = 0; i < rows.size(); ++i) {
            const QString& text = Text(rows[i], column);
            auto found = distinctIndex.constFind(text);
            if (found == distinctIndex.constEnd()) {
                found = distinctIndex.insert(text, int(distinct.size()));
                distinct.push_back(&text);
            }
            rowDistinct[i] = *found;
        }
    } else {
        distinct.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            distinct.push_back(&rows[i].Name);
            rowDistinct[i] = int(i);
        }
    }

    std::vector<int> distinctRanks;
    const int count = int(distinct.size());
    if (collator.locale().language() == QLocale::C) {
        // Qt's "C" collator compares by case folding, but its sort keys keep the letter
        // case; folded texts give the comparison's order. One buffer holds them all.
        std::string folded;
        std::vector<size_t> start(distinct.size() + 1, 0);
        for (size_t i = 0; i < distinct.size(); ++i) {
            AppendCaseFolded(folded, *distinct[i]);
            start[i + 1] = folded.size();
        }
        distinctRanks = RanksBy(count, [&](int a, int b) {
            const size_t lengthA = start[a + 1] - start[a];
            const size_t lengthB = start[b + 1] - start[b];
            const int result = std::memcmp(folded.data() + start[a], folded.data() + start[b],
                                           std::min(lengthA, lengthB));
            return result != 0 ? result : lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
        });
    } else {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(distinct.size());
        for (const QString* text : distinct)
            keys.push_back(collator.sortKey(*text));
        distinctRanks = RanksBy(count, [&](int a, int b) { return keys[a].compare(keys[b]); });
    }

    std::vector<int> ranks(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        ranks[i] = distinctRanks[rowDistinct[i]];
    return ranks;
}

std::vector<int> OrderByRanks(const std::vector<int>& ranks, const std::vector<int>& current,
                              Qt::SortOrder order) {
    const int top = ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end());
    auto bucket = [&](int row) {
        return order == Qt::AscendingOrder ? ranks[size_t(row)] : top - ranks[size_t(row)];
    };
    std::vector<int> start(size_t(top) + 2, 0);
    for (int row : current)
        ++start[size_t(bucket(row)) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> result(current.size());
    for (int row : current)
        result[size_t(start[size_t(bucket(row))]++)] = row;
    return result;
}

std::vector<int> OrderByValues(const std::vector<FileRow>& rows, const std::vector<int>& current,
                               FileColumn column, Qt::SortOrder order) {
    struct Entry {
        int64_t value;
        int row;
    };
    std::vector<Entry> entries(current.size());
    for (size_t i = 0; i < current.size(); ++i)
        entries[i] = {Value(rows[size_t(current[i])], column), current[i]};
    if (order == Qt::AscendingOrder)
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.value < b.value; });
    else
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.value > b.value; });
    std::vector<int> result(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        result[i] = entries[i].row;
    return result;
}

Qt::SortOrder SortState::Click(FileColumn column) {
    if (FColumn == column)
        FOrder = FOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    FColumn = column;
    return FOrder;
}
