#include "core/CellOrdering.h"

#include "core/TextComparison.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Cells hold wall-clock times: a time-zone token in the locale's format would make every
// cell fail to parse.
QString WithoutZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            result += c;
    }
    return result.simplified();
}

// Days since 1899-12-30, the day a time alone lies on.
double Days(const QDate& date, const QTime& time) {
    return double(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay()) +
           time.msecsSinceStartOfDay() / 86400000.0;
}

// Two-digit years: 30 to 99 are 1930 to 1999, 00 to 29 are 2000 to 2029, as the desktop
// reads them (Qt alone would put them all in the 1900s and "01.01.05" before "31.12.99").
QDate WithCentury(QDate date, const QString& format) {
    if (date.isValid() && !format.contains(QLatin1String("yyyy")) && date.year() < 1930)
        date = date.addYears(100);
    return date;
}

std::optional<double> ReadDateTime(const QString& text, const QLocale& locale) {
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const QString times[] = {WithoutZone(locale.timeFormat(QLocale::LongFormat)),
                             WithoutZone(locale.timeFormat(QLocale::ShortFormat))};
    for (const QString& time : times) {
        const QDateTime value = locale.toDateTime(text, date + u' ' + time);
        if (value.isValid())
            return Days(WithCentury(value.date(), date), value.time());
    }
    const QDate day = WithCentury(locale.toDate(text, date), date);
    if (day.isValid())
        return Days(day, QTime(0, 0));
    for (const QString& time : times) {
        const QTime value = locale.toTime(text, time);
        if (value.isValid())
            return Days(QDate(1899, 12, 30), value);
    }
    return std::nullopt;
}

} // namespace

CellSortKey MakeCellSortKey(const QString& text, const QLocale& locale) {
    CellSortKey key;
    key.Text = text;
    if (text.trimmed().isEmpty()) {
        key.Kind = text.isEmpty() ? CellKind::Empty : CellKind::Text;
        return key;
    }
    // Dates, times and numbers all hold a digit; most cells are names and skip the parsing.
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })) {
        key.Kind = CellKind::Text;
        return key;
    }
    if (const std::optional<double> days = ReadDateTime(text.trimmed(), locale)) {
        key.Kind = CellKind::DateTime;
        key.Value = *days;
        return key;
    }
    bool ok = false;
    const double number = locale.toDouble(text, &ok);
    // "nan" would compare with nothing and break the order.
    if (ok && std::isfinite(number)) {
        key.Kind = CellKind::Number;
        key.Value = number;
        return key;
    }
    key.Kind = CellKind::Text;
    return key;
}

QCollator CellCollator(const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

int CompareCellKeys(const CellSortKey& a, const CellSortKey& b, const QCollator& collator) {
    if (a.Kind != b.Kind)
        return a.Kind < b.Kind ? -1 : 1;
    if ((a.Kind == CellKind::DateTime || a.Kind == CellKind::Number) && a.Value != b.Value)
        return a.Value < b.Value ? -1 : 1;
    return CompareTexts(a.Text, b.Text, collator);
}
