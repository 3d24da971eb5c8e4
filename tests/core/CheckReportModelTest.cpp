// The check's report rows: one a finding, sorted by each column, counted per file, and
// saved as text or as CSV that a CSV reader takes back field for field.
#include "core/CheckReportModel.h"

#include <gtest/gtest.h>

namespace {

CheckRunResult Result() {
    CheckRunResult result;
    result.Files.push_back({QStringLiteral("/b/sound.pdb"), {}});
    result.Files.push_back(
        {QStringLiteral("/a/bad.pdb"),
         {{2, CheckSeverity::Damaged, QStringLiteral("offset-outside-file"),
           QStringLiteral("The offset lies beyond the end of the file.")},
          {-1, CheckSeverity::Note, QStringLiteral("trailing-bytes"), QStringLiteral("Extra")}}});
    result.Files.push_back({QStringLiteral("/c/odd, \"quoted\".prc"),
                            {{0, CheckSeverity::Suspicious, QStringLiteral("duplicate-id"),
                              QStringLiteral("Twice,\nonce more")}}});
    return result;
}

QStringList Column(const CheckReportModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

TEST(CheckReportModel, ListsEachFindingAndCountsTheFiles) {
    CheckReportModel model;
    model.SetResult(Result());
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.FilesChecked(), 3);
    EXPECT_EQ(model.FilesDamaged(), 1);
    EXPECT_EQ(model.FilesSuspicious(), 1);
    EXPECT_EQ(Column(model, CheckReportModel::EntryColumn),
              (QStringList{QStringLiteral("2"), QString(), QStringLiteral("0")}));
    EXPECT_EQ(Column(model, CheckReportModel::SeverityColumn),
              (QStringList{QStringLiteral("damaged"), QStringLiteral("note"),
                           QStringLiteral("suspicious")}));
}

TEST(CheckReportModel, SortsEachColumn) {
    const struct {
        int column;
        Qt::SortOrder order;
        const char* codes;
    } cases[] = {
        {CheckReportModel::SeverityColumn, Qt::DescendingOrder,
         "trailing-bytes|duplicate-id|offset-outside-file"},
        {CheckReportModel::EntryColumn, Qt::AscendingOrder,
         "trailing-bytes|duplicate-id|offset-outside-file"},
        {CheckReportModel::FileColumn, Qt::DescendingOrder,
         "duplicate-id|offset-outside-file|trailing-bytes"},
        {CheckReportModel::CodeColumn, Qt::AscendingOrder,
         "duplicate-id|offset-outside-file|trailing-bytes"},
    };
    for (const auto& c : cases) {
        CheckReportModel model;
        model.SetResult(Result());
        model.sort(c.column, c.order);
        EXPECT_EQ(Column(model, CheckReportModel::CodeColumn),
                  QString::fromUtf8(c.codes).split(u'|'))
            << c.column;
    }
}

TEST(CheckReportModel, SavesTextAndCsv) {
    CheckReportModel model;
    model.SetResult(Result());
    const QStringList lines = model.PlainText().split(u'\n');
    EXPECT_EQ(lines.first(), QStringLiteral("File\tEntry\tSeverity\tCode\tFinding"));
    EXPECT_EQ(lines.at(2), QStringLiteral("/a/bad.pdb\t\tnote\ttrailing-bytes\tExtra"));
    EXPECT_EQ(model.Csv(),
              QStringLiteral("file,entry,severity,code,text\r\n"
                             "/a/bad.pdb,2,damaged,offset-outside-file,"
                             "The offset lies beyond the end of the file.\r\n"
                             "/a/bad.pdb,,note,trailing-bytes,Extra\r\n"
                             "\"/c/odd, \"\"quoted\"\".prc\",0,suspicious,duplicate-id,"
                             "\"Twice,\nonce more\"\r\n"));
}
