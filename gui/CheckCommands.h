// The structure check from the Files menu: the selected files (or, with none selected,
// the listed folder's), or the listed folder with every folder below it. It shows its
// progress with Cancel, marks the rows of files found damaged or suspicious, and opens
// the report.
#pragma once

#include <QObject>
#include <QStringList>

class CheckReport;
class FileListView;
class Prompts;
class QAction;
class QWidget;

class CheckCommands : public QObject {
    Q_OBJECT
public:
    CheckCommands(QWidget& window, FileListView& list, Prompts& prompts, QAction& checkSelected,
                  QAction& checkTree);

    // Each returns the report opened (null when nothing was checked).
    CheckReport* CheckSelectedFiles();
    CheckReport* CheckFolderTree();

private:
    CheckReport* Check(const QStringList& paths, bool recursive);

    QWidget& FWindow;
    FileListView& FList;
    Prompts& FPrompts;
};
