#include "common/DateTime.h"

#include "common/Errors.h"

#include <QLocale>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr qint64 MsPerDay = 86400000;

// Day 0 of the date-time value.
QDate DayZero() {
    return QDate(1899, 12, 30);
}

// 0001-01-01 and 9999-12-31 as day numbers: the years a date-time value may hold.
constexpr qint64 FirstDay = -693593;
constexpr qint64 LastDay = 2958465;

// A value as whole milliseconds since day 0, rounded once so that every conversion agrees
// (23:59:59.9996 is the next midnight everywhere, never "24:00:00"). The value is linear:
// -1.25 lies 30 hours before day 0, so numeric order is time order.
bool SplitValue(TDateTime value, QDate& date, QTime& time) {
    if (!std::isfinite(value) || value < double(FirstDay) - 1 || value > double(LastDay) + 1)
        return false;
    const auto total = static_cast<qint64>(std::llround(value * double(MsPerDay)));
    qint64 day = total / MsPerDay;
    qint64 ms = total % MsPerDay;
    if (ms < 0) {
        ms += MsPerDay;
        --day;
    }
    if (day < FirstDay || day > LastDay)
        return false;
    date = DayZero().addDays(day);
    time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    return true;
}

TDateTime JoinValue(QDate date, QTime time) {
    const qint64 day = DayZero().daysTo(date);
    return double(day) + double(time.msecsSinceStartOfDay()) / double(MsPerDay);
}

// The long time format without its time-zone token: the value is local wall time with no
// zone attached, and Qt would print the zone of today rather than of that moment. Patterns
// in use put the token at either end, bare or as "(t)", "[t]" or ", t".
QString TimeFormatWithoutZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            continue;
        }
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == u't')
            ++i;
        // Drop brackets that held nothing but the zone.
        if (!result.isEmpty() && (result.back() == u'(' || result.back() == u'[') &&
            i + 1 < format.size() && (format.at(i + 1) == u')' || format.at(i + 1) == u']')) {
            result.chop(1);
            ++i;
        }
        // Two blanks that enclosed the token become one.
        if (!result.isEmpty() && result.back().isSpace() && i + 1 < format.size() &&
            format.at(i + 1).isSpace())
            ++i;
    }
    const auto isFiller = [](QChar c) {
        return c.isSpace() || c == u',';
    };
    qsizetype begin = 0;
    qsizetype end = result.size();
    while (begin < end && isFiller(result.at(begin)))
        ++begin;
    while (end > begin && isFiller(result.at(end - 1)))
        --end;
    return result.mid(begin, end - begin);
}

// The texts of the days and of the times of day that a packed stamp can hold, made once
// each, indexed by the stamp's upper half (the date) and lower half (the time): a listing
// writes 100,000 dates, and a day's text does not depend on its time nor a time's on its
// day. Each table is 64 K texts at most.
struct LocaleFormats {
    QLocale locale;
    QString date;
    QString time;
    std::vector<QString> dayTexts;
    std::vector<QString> timeTexts;
};

// Look the formats up once per locale; a change of locale starts the tables afresh.
LocaleFormats& CurrentFormats() {
    thread_local LocaleFormats cache{QLocale::c(), QString(), QString(), {}, {}};
    thread_local bool filled = false;
    const QLocale current;
    if (!filled || cache.locale != current) {
        cache.locale = current;
        cache.date = ShortDateFormat(current);
        cache.time = TimeFormatWithoutZone(current.timeFormat(QLocale::LongFormat));
        cache.dayTexts.assign(size_t(1) << 16, QString());
        cache.timeTexts.assign(size_t(1) << 16, QString());
        filled = true;
    }
    return cache;
}

int Field(uint32_t packed, int shift, uint32_t mask) {
    return static_cast<int>((packed >> shift) & mask);
}

bool SplitFileDate(int32_t packed, QDate& date, QTime& time) {
    const auto bits = static_cast<uint32_t>(packed);
    date = QDate(1980 + Field(bits, 25, 0x7F), Field(bits, 21, 0x0F), Field(bits, 16, 0x1F));
    const int hour = Field(bits, 11, 0x1F);
    const int minute = Field(bits, 5, 0x3F);
    const int second = Field(bits, 0, 0x1F) * 2;
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return false;
    time = QTime(hour, minute, second);
    return true;
}

} // namespace

QString ShortDateFormat(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u'y') {
            result += c;
            continue;
        }
        qsizetype run = 1;
        while (i + 1 < format.size() && format.at(i + 1) == u'y') {
            ++run;
            ++i;
        }
        result += QString(std::max<qsizetype>(run, 4), u'y');
    }
    return result;
}

TDateTime DateTimeFromQDateTime(const QDateTime& value) {
    if (!value.isValid())
        return 0;
    const QDateTime local = value.toLocalTime();
    return JoinValue(local.date(), local.time());
}

QDateTime QDateTimeFromDateTime(TDateTime value) {
    QDate date;
    QTime time;
    if (!SplitValue(value, date, time))
        return QDateTime();
    return QDateTime(date, time, Qt::LocalTime);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    if (!date.isValid() || !time.isValid() || year < 1 || year > 9999)
        throw EConvertError("Invalid argument to date encode");
    return JoinValue(date, time);
}

int32_t PackFileTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    const bool converted = localtime_s(&local, &moment) == 0;
#else
    const bool converted = localtime_r(&moment, &local) != nullptr;
#endif
    // The stamp holds 1980 to 2107. Older files (Unix files dated 1970) show as the first
    // moment it can hold rather than failing the listing; later ones as the last.
    int year = local.tm_year + 1900;
    if (!converted)
        year = moment < 0 ? 0 : 9999;
    uint32_t packed;
    if (year < 1980) {
        packed = (1u << 21) | (1u << 16);
    } else if (year > 2107) {
        packed = (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    } else {
        const int second = local.tm_sec > 59 ? 59 : local.tm_sec; // a leap second
        packed = (uint32_t(year - 1980) << 25) | (uint32_t(local.tm_mon + 1) << 21) |
                 (uint32_t(local.tm_mday) << 16) | (uint32_t(local.tm_hour) << 11) |
                 (uint32_t(local.tm_min) << 5) | uint32_t(second / 2);
    }
    return static_cast<int32_t>(packed);
}

TDateTime FileDateToDateTime(int32_t packed) {
    QDate date;
    QTime time;
    if (!SplitFileDate(packed, date, time))
        throw EConvertError(
            QStringLiteral("%1 is not a valid file date").arg(packed).toStdString());
    return JoinValue(date, time);
}

QString FileDateText(int32_t packed) {
    QString text; // appending to an empty text shares the day's text
    AppendFileDateText(text, packed);
    return text;
}

void AppendFileDateText(QString& text, int32_t packed) {
    QDate date;
    QTime clock;
    if (!SplitFileDate(packed, date, clock))
        return;
    LocaleFormats& formats = CurrentFormats();
    const auto bits = static_cast<uint32_t>(packed);
    QString& dayText = formats.dayTexts[bits >> 16];
    if (dayText.isNull())
        dayText = formats.locale.toString(date, formats.date);
    text += dayText;
    if ((bits & 0xFFFF) == 0)
        return; // midnight: the date alone
    QString& timeText = formats.timeTexts[bits & 0xFFFF];
    if (timeText.isNull())
        timeText = formats.locale.toString(clock, formats.time);
    text += u' ';
    text += timeText;
}

QString DateTimeIsoText(TDateTime value) {
    QDate date;
    QTime time;
    if (!SplitValue(value, date, time))
        return QString();
    return date.toString(Qt::ISODate) + u'T' + time.toString(QStringLiteral("HH:mm:ss"));
}
