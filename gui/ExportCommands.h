// Export from the Files menu and the list's popup menu: the selected files (or, with none
// selected, every listed one; in an archive view the entries' extracted copies) go through
// the export dialog, run with progress and Cancel, and end in the export report.
#pragma once

#include <QObject>

class BrowserSession;
class ExportReport;
class FileListView;
class Prompts;
class QAction;
class QWidget;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    ExportCommands(QWidget& window, BrowserSession& session, FileListView& list, Prompts& prompts,
                   QAction& exportItem);

    // The report opened; null when nothing was exported (no files, or the dialog was
    // cancelled, or the folder could not be made).
    ExportReport* ExportSelected();

Q_SIGNALS:
    // The dialog's choices were taken into the settings (the code page among them).
    void ChoicesChanged();

private:
    QWidget& FWindow;
    BrowserSession& FSession;
    FileListView& FList;
    Prompts& FPrompts;
};
