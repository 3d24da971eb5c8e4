#include "common/Helpers.h"

#include "common/DateTime.h"
#include "common/Errors.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

uint64_t PowerOfTen(int exponent) {
    uint64_t result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

int DigitCount(uint64_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// bytes / unit rounded to at most three significant digits and at most maxDecimals
// decimals, written with exactly maxDecimals decimals. Integer arithmetic: the quotient
// is exact and a tie (1.25 KB) always rounds up, as written on paper.
//
// A quotient that reaches 1000 cannot be written with three significant digits in fixed
// form; it is written as mantissa, "E" and exponent: 1023999 bytes -> "1.00E3 KB".
QString ScaledSize(uint64_t bytes, uint64_t unit, int maxDecimals, const QString& suffix) {
    const int integerDigits = DigitCount(bytes / unit);
    const int decimals = std::min(maxDecimals, 3 - integerDigits); // negative: round to tens, ...
    uint64_t numerator = bytes;
    uint64_t denominator = unit;
    if (decimals >= 0)
        numerator *= PowerOfTen(decimals); // decimals > 0 only for quotients below 100
    else
        denominator *= PowerOfTen(-decimals);
    const uint64_t remainder = numerator % denominator;
    const uint64_t rounded = numerator / denominator + (remainder >= denominator - remainder);
    const QString point = QLocale().decimalPoint();

    const bool reachesThousand = decimals >= 0 ? rounded >= 1000 * PowerOfTen(decimals) : true;
    if (reachesThousand) {
        // The whole value has at most three significant digits here.
        const uint64_t value =
            decimals >= 0 ? rounded / PowerOfTen(decimals) : rounded * PowerOfTen(-decimals);
        const int exponent = DigitCount(value) - 1;
        const uint64_t mantissa = value / PowerOfTen(exponent - 2);
        return QString::number(mantissa / 100) + point +
               QStringLiteral("%1").arg(mantissa % 100, 2, 10, QLatin1Char('0')) +
               QLatin1Char('E') + QString::number(exponent) + suffix;
    }
    const uint64_t scale = PowerOfTen(decimals);
    QString fraction =
        decimals > 0 ? QStringLiteral("%1").arg(rounded % scale, decimals, 10, QLatin1Char('0'))
                     : QString();
    fraction.append(QString(maxDecimals - decimals, QLatin1Char('0')));
    return QString::number(rounded / scale) + point + fraction + suffix;
}

} // namespace

QString FormatThousands(int64_t value) {
    // Written from the right into a buffer: one allocation a call, for listings that
    // format a size per row.
    char16_t buffer[32];
    char16_t* out = std::end(buffer);
    uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            *--out = u'.';
        *--out = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (value < 0)
        *--out = u'-';
    return QString(reinterpret_cast<const QChar*>(out), std::end(buffer) - out);
}

int32_t UngroupNumber(const QString& text) {
    // Strict: no blanks, no "$" or "0x" forms, nothing but an optional sign and digits.
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int32_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int32_t>::max());
    uint64_t magnitude = 0;
    bool anyDigit = false;
    bool valid = true;
    for (; i < text.size() && valid; ++i) {
        const QChar c = text.at(i);
        if (c == u'.')
            continue;
        if (c < u'0' || c > u'9') {
            valid = false;
            break;
        }
        magnitude = magnitude * 10 + uint64_t(c.unicode() - u'0');
        valid = magnitude <= limit;
        anyDigit = true;
    }
    if (!valid || !anyDigit)
        throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
    return negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
}

QString SizeText(int64_t bytes) {
    if (bytes >= 1048576)
        return ScaledSize(uint64_t(bytes), 1048576, 2, QStringLiteral(" MB"));
    if (bytes >= 1024)
        return ScaledSize(uint64_t(bytes), 1024, 1, QStringLiteral(" KB"));
    return QString::number(bytes) + QStringLiteral(" Bytes");
}

QString AddTrailingBackslash(const QString& path) {
    if (path.isEmpty() || path.endsWith(QDir::separator()))
        return path;
    return path + QDir::separator();
}

bool IsZipFile(const QString& name) {
    // "/", "\" and ":" end an extension on every platform: a folder "x.zip" in a path is
    // no archive, and neither is a Windows name carried into a Linux path.
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(name).mid(dot);
    for (const QChar c : extension)
        if (c == u'/' || c == u'\\' || c == u':')
            return false;
    return extension.compare(QLatin1String(".zip"), Qt::CaseInsensitive) == 0;
}

FileSizeAndDate FindFileSizeAndDate(const QString& path) {
    FileSizeAndDate found;
    if (path.isEmpty())
        return found;
    // By the path's bytes: QFileInfo cannot reach a name that is not UTF-8.
    const std::optional<EntrySizeAndTime> entry = SizeAndTimeOf(path);
    if (!entry)
        return found;
    found.Bytes = entry->Bytes;
    if (entry->Modified)
        found.Date = PackFileTime(*entry->Modified);
    return found;
}

int64_t FindFileSize(const QString& path) {
    return FindFileSizeAndDate(path).Bytes;
}

int32_t FindFileDate(const QString& path) {
    return FindFileSizeAndDate(path).Date;
}

int CompareDateTimes(TDateTime a, TDateTime b) {
    constexpr double OneMillisecond = 1.0 / 86400000.0;
    if (std::fabs(a - b) < OneMillisecond)
        return 0;
    return a < b ? -1 : 1;
}
