#include "common/DateTime.h"

#include "common/Errors.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

// Readable failure messages (found by argument-dependent lookup).
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr double Ms = 1.0 / 86400000.0;

int32_t pack(int year, int month, int day, int hour, int minute, int second2) {
    return int32_t((uint32_t(year - 1980) << 25) | (uint32_t(month) << 21) | (uint32_t(day) << 16) |
                   (uint32_t(hour) << 11) | (uint32_t(minute) << 5) | uint32_t(second2));
}

TEST(EncodeDateTime, CountsDaysFromTheEndOf1899) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1), 2.0);         // 1900 was no leap year
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 18), -0.25); // linear before day 0
    EXPECT_DOUBLE_EQ(EncodeDateTime(1970, 1, 1, 0, 0, 0, 1), 25569.0 + Ms);
    for (const auto& [year, month, day, hour] :
         {std::array{2023, 2, 29, 0}, {2024, 13, 1, 0}, {2024, 1, 1, 24}, {0, 1, 1, 0}})
        EXPECT_THROW(EncodeDateTime(year, month, day, hour), EConvertError) << year << "-" << month;
}

TEST(QDateTimeConversion, RoundTripsToTheMillisecond) {
    for (const double value : {0.0, 36526.5, 45351.25 + 1234 * Ms, -0.25, 1.0 - Ms}) {
        const QDateTime converted = QDateTimeFromDateTime(value);
        ASSERT_TRUE(converted.isValid()) << value;
        EXPECT_NEAR(DateTimeFromQDateTime(converted), value, Ms / 10) << value;
    }
    EXPECT_EQ(DateTimeFromQDateTime(QDateTime()), 0.0);
    EXPECT_FALSE(QDateTimeFromDateTime(std::nan("")).isValid());
    EXPECT_FALSE(QDateTimeFromDateTime(1e300).isValid());
}

TEST(DateTimeIsoText, RoundsToTheMillisecondBeforeCuttingSeconds) {
    const double day = EncodeDateTime(2024, 1, 1);
    const struct {
        double value;
        const char* text;
    } cases[] = {{day + 13.0 / 24 + 4.0 / 1440 + 5.0 / 86400, "2024-01-01T13:04:05"},
                 {day + 1.0 - 0.6 * Ms, "2024-01-01T23:59:59"},
                 {day + 1.0 - 0.4 * Ms, "2024-01-02T00:00:00"},
                 {day - 0.4 * Ms, "2024-01-01T00:00:00"},
                 {day - 0.6 * Ms, "2023-12-31T23:59:59"}};
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeIsoText(c.value), QString::fromUtf8(c.text)) << c.text;
}

TEST(PackFileTime, RoundTripsEvenSecondsAndClampsToItsRange) {
    const auto local = [](int y, int mo, int d, int h, int mi, int s) {
        return std::time_t(
            QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime).toSecsSinceEpoch());
    };
    const struct {
        std::time_t moment;
        double expected;
    } cases[] = {
        {local(2021, 3, 4, 5, 6, 9), EncodeDateTime(2021, 3, 4, 5, 6, 8)},
        {local(1980, 1, 1, 0, 0, 0), EncodeDateTime(1980, 1, 1)},
        {local(2107, 12, 31, 23, 59, 58), EncodeDateTime(2107, 12, 31, 23, 59, 58)},
        {local(1979, 12, 31, 23, 59, 59), EncodeDateTime(1980, 1, 1)},
        {local(2200, 6, 1, 0, 0, 0), EncodeDateTime(2107, 12, 31, 23, 59, 58)},
        {std::numeric_limits<std::time_t>::max(), EncodeDateTime(2107, 12, 31, 23, 59, 58)},
        {std::numeric_limits<std::time_t>::min(), EncodeDateTime(1980, 1, 1)}};
    for (const auto& c : cases)
        EXPECT_EQ(FileDateToDateTime(PackFileTime(c.moment)), c.expected) << c.moment;
}

TEST(FileDateToDateTime, RejectsStampsWithoutAValidDate) {
    EXPECT_EQ(FileDateToDateTime(pack(2000, 2, 29, 23, 59, 29)),
              EncodeDateTime(2000, 2, 29, 23, 59, 58));
    for (const int32_t packed :
         {int32_t(-1), int32_t(0), pack(2000, 0, 1, 0, 0, 0), pack(2000, 1, 0, 0, 0, 0),
          pack(2000, 13, 1, 0, 0, 0), pack(2001, 2, 29, 0, 0, 0), pack(2000, 1, 1, 24, 0, 0),
          pack(2000, 1, 1, 0, 60, 0), pack(2000, 1, 1, 0, 0, 30)})
        EXPECT_THROW(FileDateToDateTime(packed), EConvertError) << packed;
    EXPECT_TRUE(FileDateText(pack(2000, 13, 1, 0, 0, 0)).isEmpty());
}

class DateTimeTextTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(FSaved); }

private:
    QLocale FSaved;
};

TEST_F(DateTimeTextTest, ShortDateAndLongTimeOfTheLocaleWithoutZone) {
    const int32_t afternoon = pack(2024, 1, 2, 13, 4, 2);
    const int32_t midnight = pack(2024, 1, 2, 0, 0, 0);
    const int32_t justAfter = pack(2024, 1, 2, 0, 0, 1);
    const struct {
        QLocale locale;
        const char* afternoon;
        const char* midnight;
        const char* justAfter;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "1/2/2024 1:04:04 PM", "1/2/2024",
         "1/2/2024 12:00:02 AM"},
        {QLocale(QLocale::German, QLocale::Germany), "02.01.2024 13:04:04", "02.01.2024",
         "02.01.2024 00:00:02"},
        {QLocale(QLocale::Catalan, QLocale::Spain), "2/1/2024 13:04:04", "2/1/2024",
         "2/1/2024 0:00:02"}, // "H:mm:ss (t)"
    };
    // One after the other: the formats must follow a change of locale.
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(FileDateText(afternoon), QString::fromUtf8(c.afternoon));
        EXPECT_EQ(FileDateText(midnight), QString::fromUtf8(c.midnight));
        EXPECT_EQ(FileDateText(justAfter), QString::fromUtf8(c.justAfter));
        QString appended = QStringLiteral("x\t");
        AppendFileDateText(appended, afternoon);
        EXPECT_EQ(appended, u"x\t" + QString::fromUtf8(c.afternoon));
    }
}

// Two-digit years would show 2036 as "36", which reads as 1936 where dates are read back.
TEST_F(DateTimeTextTest, EveryLocaleShowsTheYearInFourDigits) {
    const int32_t packed = pack(2036, 1, 2, 0, 0, 0);
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        QLocale::setDefault(locale);
        const QString year = locale.toString(QDate(2036, 1, 2), QStringLiteral("yyyy"));
        EXPECT_TRUE(FileDateText(packed).contains(year))
            << locale.name().toStdString() << ": " << FileDateText(packed).toStdString();
    }
}

TEST_F(DateTimeTextTest, NoLocaleShowsAZone) {
    const int32_t value = pack(2024, 1, 2, 13, 4, 2);
    const QString zone = QDateTime(QDate(2024, 1, 2), QTime(13, 4, 4)).timeZoneAbbreviation();
    ASSERT_FALSE(zone.isEmpty());
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        QLocale::setDefault(locale);
        const QString text = FileDateText(value);
        EXPECT_FALSE(text.contains(zone)) << locale.name().toStdString();
        EXPECT_FALSE(text.contains(QLatin1String("()")) || text.contains(QLatin1String("[]")))
            << locale.name().toStdString();
        EXPECT_FALSE(text.back().isSpace() || text.back() == u',') << locale.name().toStdString();
    }
}

} // namespace
