// The check's report: every finding of the files checked, sortable by each column, with
// a count of the files checked, damaged and suspicious, and saved as text or CSV.
#pragma once

#include <QDialog>

class CheckReportModel;
class Prompts;
class QLabel;
class QPushButton;
class QTreeView;
struct CheckRunResult;

class CheckReport : public QDialog {
    Q_OBJECT
public:
    CheckReport(const CheckRunResult& result, Prompts& prompts, QWidget* parent = nullptr);

    CheckReportModel& Rows() { return *FRows; }
    QTreeView* List() const { return FList; }
    QString Summary() const;
    // Asks for a file name; "*.csv" (by the filter or the name) saves CSV, else text.
    // A failure is reported.
    void Save();

    QPushButton* SaveButton;

private:
    Prompts& FPrompts;
    CheckReportModel* FRows;
    QTreeView* FList;
    QLabel* FSummary;
};
