// The file commands on the list's selected rows, as the window runs them: copy and move
// (through the Copy/Move dialog, or dropped on a folder of the tree), delete to the trash,
// open, and install. The session decides what each does; this asks the questions, shows
// the progress, takes handled rows out of the selection (a moved or trashed file's row
// leaves the list), and reports what could not be done once, at the end, with the names
// and causes.
#pragma once

#include "platform/SafeWrite.h"

#include <QList>
#include <QString>

class BrowserSession;
class FileListView;
class Prompts;
class QWidget;

class SelectionCommands {
public:
    SelectionCommands(QWidget& window, BrowserSession& session, FileListView& list,
                      Prompts& prompts);

    // Each returns whether rows left the list (moved or trashed files).
    bool CopyMoveSelected(bool copy);
    // confirm: asks first (a drop); the target is resolved as typed.
    bool CopyMoveFiles(const QString& target, bool confirm, bool copy);
    bool DeleteSelectedFiles();
    void OpenRow(int row);
    // After the question about install concerns (the same database name twice, a damaged
    // file, a file that is no Palm database), when there are any.
    void InstallSelectedFiles();
    void AddInstallFile(const QString& path);
    void RunInstallTool();

    // Tests put a file system that fails on demand in place of the real one.
    void SetFileSystemCalls(const FileSystemCalls& calls) { FCalls = &calls; }

private:
    // Asks whether to go on when the rows' files give cause; true when there is none.
    bool ConfirmInstallConcerns(const QList<int>& rows);

    QWidget& FWindow;
    BrowserSession& FSession;
    FileListView& FList;
    Prompts& FPrompts;
    const FileSystemCalls* FCalls = &FileSystemCalls::Real();
};
