#include "core/CheckReportModel.h"

#include "common/CsvRow.h"
#include "i18n/Translate.h"

#include <algorithm>

CheckReportModel::CheckReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void CheckReportModel::SetResult(const CheckRunResult& result) {
    beginResetModel();
    FRows.clear();
    FFilesChecked = int(result.Files.size());
    FFilesDamaged = FFilesSuspicious = 0;
    for (const CheckedFile& file : result.Files) {
        if (file.IsDamaged())
            ++FFilesDamaged;
        else if (file.HasTrouble())
            ++FFilesSuspicious;
        for (const FileFinding& finding : file.Findings)
            FRows.push_back({file.File, finding});
    }
    endResetModel();
}

int CheckReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FRows.size());
}

int CheckReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ColumnCount);
}

QString CheckReportModel::SeverityText(CheckSeverity severity) {
    switch (severity) {
    case CheckSeverity::Damaged:
        return Translated("damaged");
    case CheckSeverity::Suspicious:
        return Translated("suspicious");
    case CheckSeverity::Note:
        break;
    }
    return Translated("note");
}

QString CheckReportModel::Cell(const CheckReportRow& row, int column) const {
    switch (column) {
    case FileColumn:
        return row.File;
    case EntryColumn:
        return row.Finding.Entry < 0 ? QString() : QString::number(row.Finding.Entry);
    case SeverityColumn:
        return SeverityText(row.Finding.Severity);
    case CodeColumn:
        return row.Finding.Code;
    case TextColumn:
        return row.Finding.Text;
    default:
        return {};
    }
}

QVariant CheckReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(FRows.size()))
        return {};
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == TextColumn))
        return Cell(FRows[size_t(index.row())], index.column());
    return {};
}

QVariant CheckReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[] = {N_("File"), N_("Entry"), N_("Severity"), N_("Code"),
                                           N_("Finding")};
    if (section < 0 || section >= ColumnCount)
        return {};
    return Translated(captions[section]);
}

void CheckReportModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    auto less = [column](const CheckReportRow& a, const CheckReportRow& b) {
        switch (column) {
        case EntryColumn:
            return a.Finding.Entry < b.Finding.Entry;
        case SeverityColumn:
            return int(a.Finding.Severity) < int(b.Finding.Severity);
        case CodeColumn:
            return a.Finding.Code < b.Finding.Code;
        case TextColumn:
            return a.Finding.Text.localeAwareCompare(b.Finding.Text) < 0;
        default:
            return a.File.localeAwareCompare(b.File) < 0;
        }
    };
    std::stable_sort(FRows.begin(), FRows.end(),
                     [&](const CheckReportRow& a, const CheckReportRow& b) {
                         return order == Qt::AscendingOrder ? less(a, b) : less(b, a);
                     });
    // The report's rows are not selected across a sort: no persistent indexes to move.
    const QModelIndexList kept = persistentIndexList();
    changePersistentIndexList(kept, QModelIndexList(kept.size()));
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString CheckReportModel::PlainText() const {
    QStringList lines;
    QStringList heading;
    for (int column = 0; column < ColumnCount; ++column)
        heading << headerData(column, Qt::Horizontal).toString();
    lines << heading.join(u'\t');
    for (const CheckReportRow& row : FRows) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells << Cell(row, column);
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

QString CheckReportModel::Csv() const {
    QString csv =
        CsvRow({QStringLiteral("file"), QStringLiteral("entry"), QStringLiteral("severity"),
                QStringLiteral("code"), QStringLiteral("text")});
    for (const CheckReportRow& row : FRows)
        csv += CsvRow({row.File, Cell(row, EntryColumn),
                       QLatin1String(SeverityWord(row.Finding.Severity)), row.Finding.Code,
                       row.Finding.Text});
    return csv;
}
