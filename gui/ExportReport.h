// What an export did, shown when it ends: how many files were written into which folder,
// and each one skipped (a database of another kind, a damaged record) with its cause. The
// folder opens with the desktop's file manager. Nothing of this is written into the folder.
#pragma once

#include <QDialog>

struct ExportSummary;
class Prompts;
class QLabel;
class QPushButton;
class QTreeWidget;

class ExportReport : public QDialog {
    Q_OBJECT
public:
    ExportReport(const ExportSummary& summary, const QString& folder, bool cancelled,
                 Prompts& prompts, QWidget* parent = nullptr);

    QString Summary() const;
    QTreeWidget* List() const { return FList; }
    QPushButton* OpenFolderButton;

private:
    QLabel* FSummary;
    QTreeWidget* FList;
};
