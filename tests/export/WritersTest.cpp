// The writers' rules that independent parsers do not check on their own: line folding at
// 75 octets, escaping, CSV quoting, safe and unique memo file names, the repeat rules and
// which records are left out.
#include "common/CsvRow.h"
#include "export/ContentLines.h"
#include "export/CsvWriter.h"
#include "export/ICalendarWriter.h"
#include "export/MemoFileNames.h"
#include "export/RepeatRule.h"

#include <gtest/gtest.h>

TEST(ContentLines, TextValuesAreEscaped) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("plain"), QStringLiteral("plain")},
        {QStringLiteral("a,b;c\\d"), QStringLiteral("a\\,b\\;c\\\\d")},
        {QStringLiteral("one\ntwo\r\nthree\rfour"), QStringLiteral("one\\ntwo\\nthree\\nfour")},
        {QStringLiteral("colon: stays"), QStringLiteral("colon: stays")},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(EscapedText(value), expected) << value.toStdString();
    EXPECT_EQ(ParameterValue(QStringLiteral("Spouse, \"Jo\"")), QStringLiteral("\"Spouse, 'Jo'\""));
    EXPECT_EQ(ParameterValue(QStringLiteral("Birthday")), QStringLiteral("Birthday"));
}

TEST(ContentLines, LongLinesFoldAt75OctetsWithoutSplittingCharacters) {
    const QString lines[] = {
        QString(200, u'x'), QString(100, u'\u00e9'), QString(90, u'\u20ac'),
        QString::fromUtf8(QByteArray(60, 'a') + QByteArray("\xF0\x9F\x98\x80").repeated(20)),
        QStringLiteral("SUMMARY:short")};
    for (const QString& line : lines) {
        const QString folded = FoldedLine(line);
        ASSERT_TRUE(folded.endsWith(u"\r\n"));
        const QStringList parts = folded.chopped(2).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            EXPECT_LE(parts[i].toUtf8().size(), 75) << i;
            EXPECT_FALSE(parts[i].isEmpty());
            if (i > 0) {
                EXPECT_TRUE(parts[i].startsWith(u' '));
            }
            EXPECT_FALSE(parts[i].back().isHighSurrogate());
        }
        QString joined = parts[0];
        for (qsizetype i = 1; i < parts.size(); ++i)
            joined += parts[i].mid(1);
        EXPECT_EQ(joined, line);
        EXPECT_EQ(parts.size() > 1, line.toUtf8().size() > 75);
    }
}

TEST(Csv, FieldsAreQuotedWhereRfc4180AsksIt) {
    EXPECT_EQ(CsvRow({QStringLiteral("a"), QStringLiteral("b c"), QString()}),
              QStringLiteral("a,b c,\r\n"));
    EXPECT_EQ(CsvRow({QStringLiteral("a,b"), QStringLiteral("say \"hi\""),
                      QStringLiteral("two\nlines"), QStringLiteral("cr\r")}),
              QStringLiteral("\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n"));
}

TEST(MemoFiles, NamesAreSafeOnAnyFileSystem) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Shopping list"), QStringLiteral("Shopping list")},
        {QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"), QStringLiteral("a_b_c_d_e_f_g_h_i_j")},
        {QStringLiteral("  ..hidden. "), QStringLiteral("hidden")},
        {QStringLiteral(".."), QStringLiteral("fallback")},
        {QString(), QStringLiteral("fallback")},
        {QStringLiteral("tab\there"), QStringLiteral("tab_here")},
        {QStringLiteral("CON"), QStringLiteral("CON_")},
        {QStringLiteral("com1.txt"), QStringLiteral("com1.txt_")},
        {QString(80, u'y'), QString(60, u'y')},
        {QString(59, u'y') + QStringLiteral("\U0001F600"), QString(59, u'y')},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SafeFileName(text, QStringLiteral("fallback")), expected) << text.toStdString();
}

TEST(MemoFiles, FoldersByCategoryAndNamesUniqueWithoutRegardToCase) {
    CategoryInfo categories;
    categories.Names[0] = QStringLiteral("Unfiled");
    categories.Names[1] = QStringLiteral("Business");
    categories.Names[2] = QStringLiteral("business"); // a second folder of the same name
    const auto memo = [](const QString& text, int category) {
        Memo value;
        value.Text = text;
        value.Flags.Category = category;
        return value;
    };
    const QList<QString> paths =
        PlanMemoFiles({memo(QStringLiteral("Shopping\nmilk"), 0),
                       memo(QStringLiteral("shopping"), 0), memo(QStringLiteral("Shopping"), 1),
                       memo(QStringLiteral("Plan"), 2), memo(QStringLiteral("\n \nsecond line"), 0),
                       memo(QStringLiteral("x"), 5), memo(QStringLiteral(" \n"), 0)},
                      categories);
    EXPECT_EQ(paths, (QList<QString>{QStringLiteral("Unfiled/Shopping.txt"),
                                     QStringLiteral("Unfiled/shopping (2).txt"),
                                     QStringLiteral("Business/Shopping.txt"),
                                     QStringLiteral("business (2)/Plan.txt"),
                                     QStringLiteral("Unfiled/second line.txt"),
                                     QStringLiteral("Unfiled (2)/x.txt"),
                                     QStringLiteral("Unfiled/Memo.txt")}));
}

namespace {

Appointment Repeating(RepeatKind kind, int interval, std::optional<QDate> end, bool timed) {
    Appointment appointment;
    appointment.Date = QDate(2007, 3, 13); // a Tuesday
    if (timed) {
        appointment.Start = QTime(9, 30);
        appointment.End = QTime(10, 0);
    }
    appointment.Repeat.Kind = kind;
    appointment.Repeat.Interval = interval;
    appointment.Repeat.End = end;
    return appointment;
}

} // namespace

TEST(RepeatRules, EveryKindWithItsIntervalAndEnd) {
    const QDate end(2008, 1, 31);
    auto weekly = Repeating(RepeatKind::Weekly, 2, end, true);
    weekly.Repeat.Days = {false, true, false, false, true, false, false};
    weekly.Repeat.FirstDayOfWeek = 1;
    auto lastFriday = Repeating(RepeatKind::MonthlyByDay, 1, std::nullopt, false);
    lastFriday.Repeat.Week = AppointmentRepeat::LastWeek;
    lastFriday.Repeat.Weekday = 5;
    auto secondTuesday = Repeating(RepeatKind::MonthlyByDay, 3, std::nullopt, true);
    secondTuesday.Repeat.Week = 1;
    secondTuesday.Repeat.Weekday = 2;
    const std::pair<Appointment, QString> cases[] = {
        {Repeating(RepeatKind::None, 1, end, true), QString()},
        {Repeating(RepeatKind::Daily, 1, std::nullopt, true), QStringLiteral("FREQ=DAILY")},
        {Repeating(RepeatKind::Daily, 3, end, false),
         QStringLiteral("FREQ=DAILY;INTERVAL=3;UNTIL=20080131")},
        {Repeating(RepeatKind::Daily, 1, end, true),
         QStringLiteral("FREQ=DAILY;UNTIL=20080131T235959")},
        {weekly,
         QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TH;WKST=MO;INTERVAL=2;UNTIL=20080131T235959")},
        {lastFriday, QStringLiteral("FREQ=MONTHLY;BYDAY=-1FR")},
        {secondTuesday, QStringLiteral("FREQ=MONTHLY;BYDAY=2TU;INTERVAL=3")},
        {Repeating(RepeatKind::MonthlyByDate, 1, end, false),
         QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=13;UNTIL=20080131")},
        {Repeating(RepeatKind::Yearly, 1, std::nullopt, false),
         QStringLiteral("FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=13")},
    };
    for (const auto& [appointment, expected] : cases)
        EXPECT_EQ(RepeatRuleValue(appointment), expected) << expected.toStdString();
}

TEST(RepeatRules, WeeklySeriesStartOnTheirFirstDay) {
    auto weekly = Repeating(RepeatKind::Weekly, 1, std::nullopt, true);
    weekly.Repeat.Days = {false, true, false, false, true, false, false}; // Monday, Thursday
    EXPECT_EQ(FirstOccurrence(weekly), QDate(2007, 3, 15));
    weekly.Repeat.Days = {false, true, false, false, false, false, false}; // Monday only
    EXPECT_EQ(FirstOccurrence(weekly), QDate(2007, 3, 19));
    weekly.Repeat.Interval = 2; // weeks from Sunday 11 March: the next Monday of an even week
    EXPECT_EQ(FirstOccurrence(weekly), QDate(2007, 3, 26));
    weekly.Repeat.Days = {false, false, true, false, false, false, false}; // the Tuesday itself
    EXPECT_EQ(FirstOccurrence(weekly), QDate(2007, 3, 13));
    EXPECT_EQ(FirstOccurrence(Repeating(RepeatKind::Daily, 1, std::nullopt, true)),
              QDate(2007, 3, 13));
}

TEST(ICalendar, AlarmsPrioritiesAndLeftOutRecords) {
    EXPECT_EQ(AlarmTrigger({15, AlarmUnit::Minutes}), QStringLiteral("-PT15M"));
    EXPECT_EQ(AlarmTrigger({2, AlarmUnit::Hours}), QStringLiteral("-PT2H"));
    EXPECT_EQ(AlarmTrigger({1, AlarmUnit::Days}), QStringLiteral("-P1D"));
    EXPECT_EQ(AlarmTrigger({0, AlarmUnit::Minutes}), QStringLiteral("PT0M"));
    EXPECT_EQ(AlarmTrigger({-5, AlarmUnit::Minutes}), QStringLiteral("PT5M"));
    EXPECT_EQ(ICalendarPriority(1), 1);
    EXPECT_EQ(ICalendarPriority(3), 5);
    EXPECT_EQ(ICalendarPriority(5), 9);

    ToDoItem kept;
    kept.Description = QStringLiteral("kept");
    ToDoItem deleted;
    deleted.Description = QStringLiteral("deleted");
    deleted.Flags.Deleted = true;
    ToDoItem archived = deleted;
    archived.Description = QStringLiteral("archived");
    archived.Flags.Archived = true;
    ExportOptions options;
    const QString without = ToDosAsICalendar({kept, deleted, archived}, CategoryInfo(), options);
    EXPECT_TRUE(without.contains(u"SUMMARY:kept"));
    EXPECT_FALSE(without.contains(u"deleted"));
    EXPECT_FALSE(without.contains(u"archived"));
    options.IncludeDeleted = true;
    const QString with = ToDosAsICalendar({kept, deleted, archived}, CategoryInfo(), options);
    EXPECT_TRUE(with.contains(u"SUMMARY:deleted"));
    EXPECT_TRUE(with.contains(u"SUMMARY:archived"));
    EXPECT_EQ(
        MemosAsCsv({Memo{QStringLiteral("m"), deleted.Flags, 1}}, CategoryInfo(), ExportOptions())
            .count(u"\r\n"),
        1);
}
