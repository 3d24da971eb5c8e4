// Pack into ZIP from the Files menu and the list's popup menu: the selected files (or,
// with none selected, every listed one) into a new archive the user names. Asks about
// replacing an archive once, shows the progress with Cancel, and ends with one report of
// what was packed and what was not.
#pragma once

#include <QObject>
#include <QString>

class BrowserSession;
class FileListView;
class Prompts;
class QAction;
class QWidget;

class PackCommands : public QObject {
    Q_OBJECT
public:
    PackCommands(QWidget& window, BrowserSession& session, FileListView& list, Prompts& prompts,
                 QAction& pack);

    // The archive written; empty when none was.
    QString PackSelectedFiles();

Q_SIGNALS:
    // The new archive lies in the listed folder: the listing should show it.
    void ListedFolderChanged();

private:
    QWidget& FWindow;
    BrowserSession& FSession;
    FileListView& FList;
    Prompts& FPrompts;
};
