// The main window's parts, made in the window's language: its commands (one action serves
// the menu item, the toolbar button and the popup item of a command, so their enabled
// states and check marks never differ), its menus and bars, the folder tree and the
// details panels in their docks. Making them is kept apart from wiring them to what they
// do, which is the window's.
#pragma once

class ContentsPanel;
class DatabaseInfoPanel;
class FlagsPanel;
class FolderTreeView;
class GeneralPanel;
class Prompts;
class QAction;
class QComboBox;
class QDockWidget;
class QFileSystemModel;
class QMainWindow;
class QMenu;
class QObject;
class QToolBar;
class QToolButton;
class QTreeView;

class QString;

// The folder box's drop-down lists the folder and every folder above it, the folder chosen.
void ShowFolderChain(QComboBox& box, const QString& folder);

struct WindowParts {
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
    QAction* tbxiContents;
    QAction* TBXItem1;  // Refresh
    QAction* TBXItem4;  // Creator IDs
    QAction* TBXItem3;  // Options
    QAction* TBXItem5;  // Contents
    QAction* TBXItem2;  // About
    QAction* TBXItem14; // One level up
    QAction* MIOpen;
    QAction* MICheckSelected;
    QAction* MICheckTree;
    QAction* MIExport;
    QMenu* MIFavorites;
    QMenu* LanguageMenu;

    QDockWidget* TBXdpFolders;
    QDockWidget* tbxdpGeneral;
    QDockWidget* tbxdpDBInfo;
    QDockWidget* tbxdpFlags;
    QDockWidget* tbxdpContents; // above the list: its table needs the width
    QToolBar* tbxtbMain;
    QToolBar* tbxtwSystemComboBox;
    QComboBox* FolderCombo = nullptr; // made after the list, whose events come earlier
    QTreeView* STVVerzeichnis;
    GeneralPanel* General;
    DatabaseInfoPanel* DBInfo;
    FlagsPanel* Flags;
    ContentsPanel* Contents;

protected:
    void MakeActions(QObject* owner);
    // The folder tree docked on the left, the three details panels on the right, and
    // their toggles.
    void MakePanels(QMainWindow& window, Prompts& prompts);
    void MakeMenusAndBars(QMainWindow& window);

    FolderTreeView* FFolderTree = nullptr; // STVVerzeichnis, with its drop support
    QFileSystemModel* FFolderModel = nullptr;
    QToolButton* FFavoritesButton = nullptr;
    QAction* FAddFavoriteItem = nullptr; // told apart by itself; the others hold their path
};
