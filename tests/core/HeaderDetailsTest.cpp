#include "core/HeaderDetails.h"

#include "common/DateTime.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(HeaderDetails, EachRowShowsItsOwnField) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TPDBHeader h;
    h.RecordCount = 3;
    h.DBType = "DATA";
    h.Creator = "memo";
    h.Version = 65535;
    h.Created = 25569.0; // 1970-01-01 is "Unknown" only as the backup date
    h.Modified = EncodeDateTime(2006, 11, 2, 18, 4, 10);
    h.BackedUp = 25569.0;
    h.ModNumber = int32_t(0x80000000u);
    h.AppInfoArea = 100;
    h.SortInfoArea = 0;
    h.NextRecordList = -1;
    h.IDSeed = 0x5F2000;
    const QString y1970 = QStringLiteral("1/1/1970"); // the short date, with the whole year
    const QString y2006 = QStringLiteral("11/2/2006");
    const auto values = HeaderRowValues(h, QStringLiteral("Unknown"));
    EXPECT_EQ(QStringList(values.begin(), values.end()).join(u'|'),
              QStringLiteral("3|DATA|memo|65535|%1|%2|Unknown|-2147483648|100|0|-1|6234112")
                  .arg(y1970, y2006));

    h.BackedUp = EncodeDateTime(2006, 11, 2, 18, 30);
    EXPECT_EQ(HeaderRowValues(h, QStringLiteral("Unknown"))[6], y2006);
    QLocale::setDefault(QLocale::system());
}
