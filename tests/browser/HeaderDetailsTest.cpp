#include "browser/HeaderDetails.h"

#include "common/DateTime.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(HeaderDetails, RowValuesFollowThePanelRules) {
    QLocale::setDefault(QLocale::c());
    TPDBHeader h;
    h.RecordCount = 3;
    h.DBType = "DATA";
    h.Creator = "memo";
    h.Version = 65535;
    h.Created = 25569.0; // stored 0: shown as a date, not "Unknown"
    h.Modified = EncodeDateTime(2006, 11, 2, 18, 4, 10);
    h.BackedUp = 25569.0;
    h.ModNumber = int32_t(0x80000000u);
    h.AppInfoArea = 100;
    h.SortInfoArea = 0;
    h.NextRecordList = -1;
    h.IDSeed = 0x5F2000;
    const auto values = HeaderRowValues(h, QStringLiteral("Unknown"));
    const QLocale c;
    const QStringList expected = {QStringLiteral("3"),
                                  QStringLiteral("DATA"),
                                  QStringLiteral("memo"),
                                  QStringLiteral("65535"),
                                  c.toString(QDate(1970, 1, 1), QLocale::ShortFormat),
                                  c.toString(QDate(2006, 11, 2), QLocale::ShortFormat),
                                  QStringLiteral("Unknown"),
                                  QStringLiteral("-2147483648"),
                                  QStringLiteral("100"),
                                  QStringLiteral("0"),
                                  QStringLiteral("-1"),
                                  QString::number(0x5F2000)};
    for (int i = 0; i < HeaderRowCount; ++i)
        EXPECT_EQ(values[size_t(i)], expected[i]) << HeaderRowCaptions()[size_t(i)];

    h.BackedUp = EncodeDateTime(2006, 11, 2, 18, 30);
    EXPECT_EQ(HeaderRowValues(h, QStringLiteral("Unknown"))[6],
              c.toString(QDate(2006, 11, 2), QLocale::ShortFormat));
    QLocale::setDefault(QLocale::system());
}

TEST(HeaderDetails, FlagsInPanelOrder) {
    TPDBHeader h;
    h.Backup = true;
    h.NoBeaming = true;
    const std::array<bool, FlagCount> expected = {false, false, true, false, false, true};
    EXPECT_EQ(HeaderFlags(h), expected);
}
