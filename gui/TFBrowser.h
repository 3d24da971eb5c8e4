// The main window: folder tree on the left, the folder's Palm files in the middle, the
// details panels on the right. It shows what its session decides (what is listed, what a
// command comes to) and wires its parts to the commands; the parts are made in
// WindowParts, placed by WindowPlacement, and the file commands run in SelectionCommands.
// Its source files split it by concern (listing, archive view, file operations, settings,
// language, dialogs).
#pragma once

#include "core/BrowserSession.h"
#include "core/FileListModel.h"
#include "core/ProgramPaths.h"
#include "gui/FileListView.h"
#include "gui/WindowParts.h"
#include "i18n/InstalledLanguages.h"
#include "platform/SafeWrite.h"

#include <QMainWindow>
#include <QTreeView>
#include <functional>
#include <memory>

class Prompts;
class SelectionCommands;
class WindowPlacement;
class QAction;
class QLabel;
class QMoveEvent;
class QShowEvent;

class TFBrowser : public QMainWindow, public WindowParts {
    Q_OBJECT
public:
    // startFolder, when not empty, is listed at start instead of the settings' start
    // folder, without changing the settings.
    TFBrowser(ProgramPaths paths, Prompts& prompts, QString startFolder = {},
              QWidget* parent = nullptr);
    ~TFBrowser() override;

    // Listing (one folder's Palm files into the list).
    void ListFolder(const QString& folder);
    void GoUpOneLevel();
    void Refresh();
    void SetStatusText(const QString& text);
    // Fills the three details panels for a file; an empty path or an archive clears them.
    void ShowDetails(const QString& path);
    // Copy, move and delete enabled or not, and Install with them (enabled as
    // UpdateInstallCommands says); the session's Commands() tell which for the listed place.
    void SetFileCommands(bool enabled);
    void UpdateInstallCommands();
    void SelectAll() { AdvListView->selectAll(); }

    void AddFavorite(const QString& path);
    void FavoriteClick(QAction* item);

    // Language menu: the chosen language is kept for the next start.
    void LanguageItemClick(QAction* item);

    // The archive view: an archive's Palm files, extracted, in place of the folder's.
    // The file commands are disabled in it; Refresh lists the archive again, One level
    // up and a click in the folder tree go back to the folder.
    void OpenArchive(const QString& path);
    bool ArchiveView() const { return FSession.ArchiveView(); }
    // A double-click (or Enter) on a row: an archive of the folder is opened in the
    // list, any other file with the desktop's program for it.
    void ListDoubleClick();

    // Copy and move: through the Copy/Move dialog, or a drop on a folder of the tree
    // (confirm, always a copy). Failures are reported once at the end of a run.
    void CopyMoveSelected(bool copy);
    void CopyMoveFiles(const QString& target, bool confirm, bool copy);
    const QString& LastTargetFolder() const { return FSession.LastTargetFolder(); }

    void DeleteSelectedFiles(); // to the desktop's trash
    bool MoveToRecycleBin(const QString& path, QString* error);
    void MIOpenClick();

    // Install: the selected files on the install tool's command line.
    void InstallSelectedFiles();
    void AddInstallFile(const QString& path);
    void RunInstallTool();

    // Tests put a file system that fails on demand in place of the real one.
    void SetFileSystemCalls(const FileSystemCalls& calls);

    // The modal dialogs: Creator IDs, Options (then the tree's folder is listed again and
    // the Install commands set again, however it closed), About.
    void TBXItem4Click();
    void TBXItem3Click();
    void TBXItem2Click();

    const QString& CurrentFolder() const { return FSession.CurrentFolder(); }
    BrowserSettings& Settings() { return FSession.Settings(); }
    ListeDerLinks& Catalogue() { return FSession.Catalogue(); }
    FileListModel& FileModel() { return *FFileModel; }
    QTreeView* FileList() const { return AdvListView; }
    QTreeView* FolderTree() const { return STVVerzeichnis; }
    QString StatusText() const;
    // The folder selected in the folder tree, without a trailing separator (but "/").
    QString TreeFolder() const;
    // The file of a row: the current folder followed by the row's name; in the archive
    // view, the row's own extracted copy.
    QString RowPath(int row) const { return FFileModel->RowPath(row); }
    QList<int> SelectedRows() const { return FFileList->SelectedRows(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateCentralList();
    // The commands, menus, tree and folder box connected to what they do.
    void WireCommands();
    void FormCreate(const QString& startFolder);
    // Before the controls are made: the installed languages are listed in the start-up
    // language, then the settings' language is switched to, so that every control is
    // made in it.
    void ChooseLanguage();
    void BuildLanguageMenu();
    void FormClose();

    void LoadSettings();
    void SaveSettings();
    // The previews read texts in the code page chosen for export.
    void ApplyExportCodePage();

    // The row count (and how many could not be read) in the status line, what is
    // listed in the title.
    void ShowListed(size_t unreadable, const QString& shown);
    void OnTreeSelectionChanged();
    void OnListClick();
    bool OnListKey(int key);
    void OnSelectionChanged();
    void OnHeaderClicked(int column);
    // F1 reports a manual that cannot be shown; the first start opens it silently.
    void ShowHelp(bool reportFailure = true);
    void CleanTempFolder();
    void CreateFileOperations();
    void ShowRowDetails(int row);
    void LeaveArchiveView();
    // Lists the folder or opens the archive a command leads to.
    void GoTo(const BrowserDestination& destination);
    void SelectInTree(const QString& folder);
    // What was typed into the folder box, or chosen from it, is listed.
    void ListTypedFolder(const QString& text);
    // Runs a command; a failure that escapes it is shown with its message.
    void Run(const std::function<void()>& command);

    ProgramPaths FPaths;
    Prompts& FPrompts;
    BrowserSession FSession{BrowserSettings(), FPaths.TempFolder};
    std::unique_ptr<WindowPlacement> FLayout; // the bars' and panels' places
    bool FReady = false;
    bool FMovingTree = false;             // the listing moves the tree: no second listing
    bool FTellPalmDesktopMissing = false; // by the first listing's status line

    QTreeView* AdvListView;
    FileListView* FFileList; // AdvListView
    FileListModel* FFileModel;
    QLabel* FStatusLabel;
    // Favourites whose folders were missing at start (an unplugged drive, say): not in
    // the menu, but written back so that they return with their folders.
    QStringList FAbsentFavorites;
    TGTLanguageList FLanguages; // from ChooseLanguage until the menu is built

    std::unique_ptr<SelectionCommands> FCommands; // the file commands on the selection
};
