// The order of free-text table cells (the Creator IDs table): dates, numbers, then text.
#include "core/CellOrdering.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

int Compare(const QString& a, const QString& b, const QLocale& locale) {
    return CompareCellKeys(MakeCellSortKey(a, locale), MakeCellSortKey(b, locale),
                           CellCollator(locale));
}

} // namespace

TEST(CellOrdering, CellsCompareAsDatesNumbersOrLocaleText) {
    const struct {
        QLocale locale;
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        // numbers by value, in the locale's notation
        {English, "1,234", "999", 1},
        {German, "1.234", "999", 1},
        {English, "2.5", "2.50", -1}, // equal values: by text
        // dates and times by moment, two-digit years in the desktop's window
        {German, "31.12.04", "01.01.05", -1},
        {German, "31.12.99", "01.01.05", -1},
        {German, "02.01.05 09:00", "01.02.05", -1},
        {German, "23:00", "01.01.05", -1}, // a time alone lies on the first day
        // text in the locale's order, letter case counting
        {English, "abc", "ABD", -1},
        {English, "memo", "Memo", -1},
        {German, "Äpfel", "Birnen", -1},
        // kinds: empty, dates, numbers, texts
        {English, "", "0", -1},
        {German, "01.01.05", "5", -1},
        {English, "10", "1a", -1},
        // not numbers: no digit, or no finite value
        {English, "nan", "1", 1},
        {English, "1e999", "1", 1},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromUtf8(c.a);
        const QString b = QString::fromUtf8(c.b);
        SCOPED_TRACE(c.locale.name().toStdString() + ": \"" + c.a + "\" vs \"" + c.b + "\"");
        EXPECT_EQ(Compare(a, b, c.locale), c.expected);
        EXPECT_EQ(Compare(b, a, c.locale), -c.expected);
    }
}

TEST(CellOrdering, MixedColumnsGetAConsistentOrder) {
    // Pairwise "both read as numbers" would give 2 < 10 < 1a < 2: no order a sort can keep.
    const QStringList cells =
        QStringLiteral("2|10|1a||abc|ABC|31.12.04|1,5|nan|-3| |01.01.05 10:00|10:00|2,0|Zip")
            .split(u'|');
    const QCollator collator = CellCollator(German);
    std::vector<CellSortKey> keys;
    for (const QString& cell : cells)
        keys.push_back(MakeCellSortKey(cell, German));
    for (const CellSortKey& a : keys)
        for (const CellSortKey& b : keys) {
            const int ab = CompareCellKeys(a, b, collator);
            EXPECT_EQ(ab, -CompareCellKeys(b, a, collator))
                << a.Text.toStdString() << " / " << b.Text.toStdString();
            for (const CellSortKey& c : keys) {
                const int bc = CompareCellKeys(b, c, collator);
                if (ab <= 0 && bc <= 0) {
                    EXPECT_LE(CompareCellKeys(a, c, collator), std::min(ab, bc))
                        << a.Text.toStdString() << " / " << b.Text.toStdString() << " / "
                        << c.Text.toStdString();
                }
            }
        }
}
