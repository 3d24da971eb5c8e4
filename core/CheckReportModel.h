// The rows of the check's report: one a finding (file, entry, severity, code, text),
// sortable by each column, and the report as plain text or CSV for saving. QtCore only.
#pragma once

#include "core/DatabaseCheckRun.h"

#include <QAbstractTableModel>
#include <vector>

struct CheckReportRow {
    QString File;
    FileFinding Finding;
};

class CheckReportModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileColumn, EntryColumn, SeverityColumn, CodeColumn, TextColumn, ColumnCount };

    explicit CheckReportModel(QObject* parent = nullptr);

    // The findings of every file, in the order checked.
    void SetResult(const CheckRunResult& result);
    const std::vector<CheckReportRow>& Rows() const { return FRows; }
    int FilesChecked() const { return FFilesChecked; }
    int FilesDamaged() const { return FFilesDamaged; }
    int FilesSuspicious() const { return FFilesSuspicious; } // not damaged

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable; severity sorts by weight (damaged before suspicious before note).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The severity's translated word.
    static QString SeverityText(CheckSeverity severity);
    // The rows in the order shown: tab-separated lines under a heading line, or CSV
    // (RFC 4180: a comma between fields, quotes around those with commas, quotes or line
    // breaks, CRLF line ends) with the stable words for severity.
    QString PlainText() const;
    QString Csv() const;

private:
    QString Cell(const CheckReportRow& row, int column) const;

    std::vector<CheckReportRow> FRows;
    int FFilesChecked = 0;
    int FFilesDamaged = 0;
    int FFilesSuspicious = 0;
};
