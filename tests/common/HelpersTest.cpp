#include "common/Helpers.h"

#include "common/DateTime.h"
#include "common/Errors.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <utility>

// Readable failure messages (found by argument-dependent lookup).
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr int64_t Min64 = std::numeric_limits<int64_t>::min();
constexpr int64_t Max64 = std::numeric_limits<int64_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();
constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();

TEST(FormatThousands, GroupsByDotsFromTheRight) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1.000"}, {-123456, "-123.456"}, {1234567, "1.234.567"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatThousands(value), QString::fromUtf8(text)) << value;
    EXPECT_EQ(FormatThousands(Min64), QStringLiteral("-9.223.372.036.854.775.808"));
}

// The inverse of the grouping, within 32 bits; anything else is a conversion error.
TEST(UngroupNumber, ReadsGroupedDigitsAndRefusesEverythingElse) {
    const std::pair<const char*, int32_t> numbers[] = {
        {"1.234.567", 1234567}, {"-1", -1}, {"0", 0}, {"2.147.483.647", Max32},
        {"-2147483648", Min32}, {"+12", 12}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(UngroupNumber(QString::fromUtf8(text)), value) << text;
    for (const int32_t value : {0, 999, 1000, 100000, Max32})
        EXPECT_EQ(UngroupNumber(FormatThousands(value)), value) << value;
    for (const char* text : {"1,5 KB", "", "-", " 1", "1 ", "0x10", "2.147.483.648", "-2147483649",
                             "99999999999999999999999"})
        EXPECT_THROW(UngroupNumber(QString::fromUtf8(text)), EConvertError) << text;
}

TEST(CompareDateTimes, EqualWithinAMillisecond) {
    const double halfMs = 0.5 / 86400000.0;
    const std::tuple<double, double, int> cases[] = {{1.0, 1.0 + halfMs, 0},
                                                     {1.0 + halfMs, 1.0, 0},
                                                     {1.0, 2.0, -1},
                                                     {2.0, 1.0, 1},
                                                     {1.0, 1.0 + 3 * halfMs, -1}};
    for (const auto& [a, b, result] : cases)
        EXPECT_EQ(CompareDateTimes(a, b), result) << a << " " << b;
}

class SizeTextTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(FSaved); }

private:
    QLocale FSaved;
};

// 1280 bytes are 1.25 KB: a tie rounds up; 99.95 KB round into the next decade, and
// 999.5 KB or more are written with an exponent.
TEST_F(SizeTextTest, RoundsToThreeSignificantDigits) {
    const struct {
        int64_t bytes;
        const char* text;
    } cases[] = {{-1, "-1 Bytes"},         {1023, "1023 Bytes"},      {1024, "1.0 KB"},
                 {1280, "1.3 KB"},         {102349, "100.0 KB"},      {1023487, "999.0 KB"},
                 {1023488, "1.00E3 KB"},   {1048576, "1.00 MB"},      {13000000, "12.40 MB"},
                 {104857599, "100.00 MB"}, {3221225472, "3.07E3 MB"}, {Max64, "8.80E12 MB"}};
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.bytes), QString::fromUtf8(c.text)) << c.bytes;

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SizeText(13000000), QStringLiteral("12,40 MB"));
    EXPECT_EQ(SizeText(1048575), QStringLiteral("1,02E3 KB"));
}

TEST(AddTrailingBackslash, AppendsTheSeparatorOnce) {
    const QString sep = QDir::separator();
    EXPECT_EQ(AddTrailingBackslash(QString()), QString());
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("C:")), QStringLiteral("C:") + sep);
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("Palm") + sep), QStringLiteral("Palm") + sep);
}

TEST(IsZipFile, LooksOnlyAtTheExtensionOfTheLastPart) {
    for (const char* zip : {"a.ZIP", "x.y/archive.zip", "c:\\x.y\\archive.Zip", ".zip"})
        EXPECT_TRUE(IsZipFile(QLatin1String(zip))) << zip;
    for (const char* other :
         {"a.zip.pdb", "zip", "a.zipx", "dir.zip/file", "c:\\dir.zip\\file", "dir.zip:stream", ""})
        EXPECT_FALSE(IsZipFile(QLatin1String(other))) << other;
}

TEST(FindFileSizeAndDate, GiveMinusOneForMissingFiles) {
    TempFolder temp;
    EXPECT_EQ(FindFileSize(temp.Write(QStringLiteral("five.pdb"), "12345")), 5);
    EXPECT_EQ(FindFileSize(temp.MakeFolder(QStringLiteral("sub"))), 0);
    EXPECT_EQ(FindFileSize(temp.File(QStringLiteral("missing.pdb"))), -1);
    EXPECT_EQ(FindFileSize(QString()), -1);
    EXPECT_EQ(FindFileDate(temp.File(QStringLiteral("missing.pdb"))), -1);

    // Beyond 32 bits the size must not wrap (a sparse file costs no disk space).
    const QString big = temp.Write(QStringLiteral("big.zip"), QByteArray());
    const qint64 size = (qint64(3) << 30) + 1;
    ASSERT_TRUE(QFile::resize(big, size));
    EXPECT_EQ(FindFileSize(big), size);

    // The last write time in local time, seconds rounded down to even, 1970 clamped to 1980.
    const QString file = temp.Write(QStringLiteral("a.pdb"), "x",
                                    QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::LocalTime));
    EXPECT_EQ(FileDateToDateTime(FindFileSizeAndDate(file).Date),
              EncodeDateTime(2021, 3, 4, 5, 6, 6));
    const QString old = temp.Write(QStringLiteral("old.pdb"), "x",
                                   QDateTime(QDate(1970, 1, 2), QTime(0, 0), Qt::LocalTime));
    EXPECT_EQ(FileDateToDateTime(FindFileSizeAndDate(old).Date), EncodeDateTime(1980, 1, 1));
}

} // namespace
