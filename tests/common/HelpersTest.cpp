#include "common/Helpers.h"

#include "common/DateTime.h"
#include "common/Errors.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

// Readable failure messages (found by argument-dependent lookup).
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(FormatThousands, GroupsByDotsFromTheRight) {
    const struct {
        int64_t value;
        const char* text;
    } cases[] = {{0, "0"},
                 {12, "12"},
                 {999, "999"},
                 {1000, "1.000"},
                 {100000, "100.000"},
                 {123456, "123.456"},
                 {1234567, "1.234.567"},
                 {2147483648, "2.147.483.648"},
                 {-1, "-1"},
                 {-123456, "-123.456"},
                 {std::numeric_limits<int64_t>::min(), "-9.223.372.036.854.775.808"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatThousands(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST(UngroupNumber, ReadsGroupedAndPlainIntegers) {
    const struct {
        const char* text;
        int64_t value;
    } cases[] = {{"1.234.567", 1234567},
                 {"-1", -1},
                 {"0", 0},
                 {"+12", 12},
                 {"2.147.483.648", 2147483648},
                 {"9.223.372.036.854.775.807", std::numeric_limits<int64_t>::max()},
                 {"-9223372036854775808", std::numeric_limits<int64_t>::min()}};
    for (const auto& c : cases)
        EXPECT_EQ(UngroupNumber(QLatin1String(c.text)), c.value) << c.text;

    for (const int64_t value : {int64_t(0), int64_t(999), int64_t(1000), int64_t(4294967296)})
        EXPECT_EQ(UngroupNumber(FormatThousands(value)), value);
}

TEST(UngroupNumber, RejectsEverythingElse) {
    for (const char* text : {"1,5 KB", "", " 12", "12 ", "abc", "-", ".", "+-1", "$10", "0x10",
                             "1e3", "9223372036854775808", "-9223372036854775809"})
        EXPECT_THROW(UngroupNumber(QLatin1String(text)), EConvertError) << text;
}

class SizeTextTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(FSaved); }

private:
    QLocale FSaved;
};

TEST_F(SizeTextTest, RoundsToThreeSignificantDigits) {
    const struct {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {-1, "-1 Bytes"},          {0, "0 Bytes"},
        {1023, "1023 Bytes"},      {1024, "1.0 KB"},
        {1280, "1.3 KB"},                                // 1.25: a tie rounds up
        {1536, "1.5 KB"},          {102349, "100.0 KB"}, // 99.95 rounds into the next decade
        {123456, "121.0 KB"},      {1023487, "999.0 KB"},
        {1023488, "1.00E3 KB"}, // 999.5 KB
        {1048575, "1.02E3 KB"},    {1048576, "1.00 MB"},
        {1572864, "1.50 MB"},      {13000000, "12.40 MB"},
        {104857599, "100.00 MB"},  {1048051712, "1.00E3 MB"}, // 999.5 MB
        {3221225472, "3.07E3 MB"}, {std::numeric_limits<int64_t>::max(), "8.80E12 MB"}};
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.bytes), QString::fromUtf8(c.text)) << c.bytes;
}

TEST_F(SizeTextTest, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SizeText(1536), QStringLiteral("1,5 KB"));
    EXPECT_EQ(SizeText(13000000), QStringLiteral("12,40 MB"));
    EXPECT_EQ(SizeText(1048575), QStringLiteral("1,02E3 KB"));
    EXPECT_EQ(SizeText(1023), QStringLiteral("1023 Bytes"));
}

TEST(AddTrailingBackslash, AppendsTheSeparatorOnce) {
    const QString sep = QDir::separator();
    const struct {
        QString path;
        QString expected;
    } cases[] = {{QString(), QString()},
                 {QStringLiteral("C:"), QStringLiteral("C:") + sep},
                 {QStringLiteral("Palm") + sep, QStringLiteral("Palm") + sep},
                 {QStringLiteral("a") + sep + sep, QStringLiteral("a") + sep + sep},
                 {QStringLiteral("../x"), QStringLiteral("../x") + sep}};
    for (const auto& c : cases)
        EXPECT_EQ(AddTrailingBackslash(c.path), c.expected) << c.path.toStdString();
}

TEST(IsZipFile, LooksOnlyAtTheExtensionOfTheLastPart) {
    const struct {
        const char* name;
        bool zip;
    } cases[] = {{"a.zip", true},
                 {"a.ZIP", true},
                 {"x.y/archive.zip", true},
                 {"c:\\x.y\\archive.Zip", true},
                 {".zip", true},
                 {"a.zip.pdb", false},
                 {"zip", false},
                 {"a.zipx", false},
                 {"a.zi", false},
                 {"dir.zip/file", false},
                 {"c:\\dir.zip\\file", false},
                 {"dir.zip:stream", false},
                 {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsZipFile(QLatin1String(c.name)), c.zip) << c.name;
}

TEST(FindFileSize, GivesSizeOfAnyEntryOrMinusOne) {
    TempFolder temp;
    EXPECT_EQ(FindFileSize(temp.Write(QStringLiteral("five.pdb"), "12345")), 5);
    EXPECT_EQ(FindFileSize(temp.MakeFolder(QStringLiteral("sub"))), 0);
    EXPECT_EQ(FindFileSize(temp.File(QStringLiteral("missing.pdb"))), -1);
    EXPECT_EQ(FindFileSize(QString()), -1);

    // Beyond 32 bits the size must not wrap (a sparse file costs no disk space).
    const QString big = temp.Write(QStringLiteral("big.zip"), QByteArray());
    const qint64 size = (qint64(3) << 30) + 1;
    ASSERT_TRUE(QFile::resize(big, size));
    EXPECT_EQ(FindFileSize(big), size);
}

TEST(FindFileDate, PacksTheLastWriteTimeInLocalTime) {
    TempFolder temp;
    const QDateTime written(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::LocalTime);
    const QString file = temp.Write(QStringLiteral("a.pdb"), "x", written);
    EXPECT_EQ(FileDateToDateTime(FindFileDate(file)), EncodeDateTime(2021, 3, 4, 5, 6, 6));

    const QString old = temp.Write(QStringLiteral("old.pdb"), "x",
                                   QDateTime(QDate(1970, 1, 2), QTime(0, 0), Qt::LocalTime));
    EXPECT_EQ(FileDateToDateTime(FindFileDate(old)), EncodeDateTime(1980, 1, 1));

    EXPECT_EQ(FindFileDate(temp.File(QStringLiteral("missing.pdb"))), -1);
}

TEST(CompareDateTimes, EqualWithinOneMillisecond) {
    const double ms = 1.0 / 86400000.0;
    const double noon = 45000.5;
    const struct {
        double a;
        double b;
        int result;
    } cases[] = {{1.0, 2.0, -1},
                 {2.0, 1.0, 1},
                 {noon, noon, 0},
                 {noon, noon + 0.5 * ms, 0},
                 {noon + 0.5 * ms, noon, 0},
                 {noon, noon + 1.5 * ms, -1},
                 {noon + 1.5 * ms, noon, 1},
                 {-1.0, 0.0, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CompareDateTimes(c.a, c.b), c.result) << c.a << " vs " << c.b;
}

} // namespace
