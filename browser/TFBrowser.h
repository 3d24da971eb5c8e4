// The main window: folder tree on the left, the folder's Palm files in the middle, the
// details panels on the right. It owns everything of a run: the settings, the creator
// catalogue, the shared header reader, the current folder. The work is split by concern
// over several source files (listing, details, settings and layout, favourites).
#pragma once

#include "browser/BrowserSettings.h"
#include "browser/FolderListing.h"
#include "browser/ListOrdering.h"
#include "browser/ProgramPaths.h"
#include "creators/CreatorCatalogue.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class DatabaseInfoPanel;
class FileListModel;
class FlagsPanel;
class GeneralPanel;
class IniFile;
class Prompts;
class QAction;
class QComboBox;
class QDockWidget;
class QFileSystemModel;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeView;

class TFBrowser : public QMainWindow {
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
    void SetFileCommands(bool enabled);
    void UpdateInstallCommands();
    void SelectAll();

    // Favourites.
    void AddFavorite(const QString& path);
    void FavoriteClick(QAction* item);

    // Panels.
    void TogglePanel(QAction* toggle);

    const ProgramPaths& Paths() const { return FPaths; }
    const QString& CurrentFolder() const { return FCurrentFolder; }
    BrowserSettings& Settings() { return FSettings; }
    ListeDerLinks& Catalogue() { return FCatalogue; }
    FileListModel& FileModel() { return *FFileModel; }
    QTreeView* FileList() const { return AdvListView; }
    QTreeView* FolderTree() const { return STVVerzeichnis; }
    QString StatusText() const;
    // The folder selected in the folder tree, without a trailing separator (but "/").
    QString TreeFolder() const;
    // The file of a row: the current folder followed by the row's name.
    QString RowPath(int row) const;
    QList<int> SelectedRows() const;

    // Commands. One action serves the menu item, the toolbar button and the popup item
    // of a command, so their enabled states and check marks never differ.
    QAction* MICopy;
    QAction* MIMove;
    QAction* MIDelete;
    QAction* MIInstall;
    QAction* MISelectAll;
    QAction* TBXItem6;  // Exit
    QAction* MIFolders; // the Folders panel toggle (also TBFolders)
    QAction* tbxiGeneral;
    QAction* tbxiDB;
    QAction* tbxiFlags;
    QAction* TBXItem1;  // Refresh
    QAction* TBXItem4;  // Creator IDs
    QAction* TBXItem3;  // Options
    QAction* TBXItem5;  // Contents
    QAction* TBXItem2;  // About
    QAction* TBXItem14; // One level up
    QAction* MIOpen;
    QMenu* MIFavorites;
    QMenu* LanguageMenu;

    QDockWidget* TBXdpFolders;
    QDockWidget* tbxdpGeneral;
    QDockWidget* tbxdpDBInfo;
    QDockWidget* tbxdpFlags;
    QToolBar* tbxtbMain;
    QToolBar* tbxtwSystemComboBox;
    QComboBox* FolderCombo;
    GeneralPanel* General;
    DatabaseInfoPanel* DBInfo;
    FlagsPanel* Flags;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    void CreateCentralList();
    void CreateDocks();
    void FormCreate(const QString& startFolder);
    void FormClose();

    void LoadSettings();
    void SaveSettings();
    void ApplyLayout();
    void TakeLayout();

    void OnTreeSelectionChanged();
    void OnListClick();
    bool OnListKey(int key);
    void OnSelectionChanged();
    void OnHeaderClicked(int column);
    void ShowHelp();
    void CleanTempFolder();
    void SelectInTree(const QString& folder);
    void UpdateFolderCombo(const QString& folder);
    // Runs a command; a failure that escapes it is shown with its message.
    void Run(const std::function<void()>& command);

    ProgramPaths FPaths;
    Prompts& FPrompts;
    BrowserSettings FSettings;
    ListeDerLinks FCatalogue;
    std::unique_ptr<TPalmPDB> FReader;
    QString FCurrentFolder;
    bool FReady = false;
    bool FArchiveView = false;
    bool FMovingTree = false; // the listing moves the tree: no second listing
    SortState FSortState;

    QTreeView* STVVerzeichnis;
    QFileSystemModel* FFolderModel;
    QTreeView* AdvListView;
    FileListModel* FFileModel;
    QLabel* FStatusLabel;
    QToolButton* FFavoritesButton;
    QAction* FAddFavoriteItem;
    // Favourites whose folders were missing at start (an unplugged drive, say): not in
    // the menu, but written back so that they return with their folders.
    QStringList FAbsentFavorites;
};
