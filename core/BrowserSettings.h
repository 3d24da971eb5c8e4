// The main window's settings as they stand in "Brisko.ini": one field per key, read at
// start-up and written at shut-down. Reading and writing live here, without widgets; the
// window applies the record to itself and fills it back before writing.
//
// Values are kept as the file holds them. The window applies a window size, position,
// FoldersWidth or column width only when it is 0 or more, so that -1 (and a negative
// position left by a maximized window) keeps the designed value.
#pragma once

#include "common/IniFile.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <array>
#include <map>

// Which layout keys a section carries beyond the common ones.
enum class LayoutKind {
    Toolbar,      // + FloatRightX
    ToolWindow,   // + ClientWidth, ClientHeight
    DockablePanel // + DPDocked/DPFloating/DPSplit Width and Height
};

struct LayoutSection {
    QLatin1StringView Name;
    LayoutKind Kind;
};

// The bars and panels whose layout is kept, each in a section of its own name, in the order
// in which they are written.
inline constexpr std::array<LayoutSection, 8> LayoutSections{{
    {QLatin1StringView("TBXTBMainMenu"), LayoutKind::Toolbar},
    {QLatin1StringView("tbxtbMain"), LayoutKind::Toolbar},
    {QLatin1StringView("tbxtwSystemComboBox"), LayoutKind::ToolWindow},
    {QLatin1StringView("TBXdpFolders"), LayoutKind::DockablePanel},
    {QLatin1StringView("tbxdpGeneral"), LayoutKind::DockablePanel},
    {QLatin1StringView("tbxdpDBInfo"), LayoutKind::DockablePanel},
    {QLatin1StringView("tbxdpFlags"), LayoutKind::DockablePanel},
    {QLatin1StringView("tbxdpContents"), LayoutKind::DockablePanel},
}};

// The position of one bar or panel. Fields that its kind does not carry keep their
// defaults and are neither read nor written.
struct PanelLayout {
    bool Visible = true;
    QString DockedTo; // "Top", "Left", "Right", "Bottom", or "+" while floating
    QString LastDock;
    int DockRow = 0;
    int DockPos = 0;
    int FloatLeft = 0;
    int FloatTop = 0;
    int FloatRightX = 0;
    int ClientWidth = -1;
    int ClientHeight = -1;
    int DPDockedWidth = -1;
    int DPDockedHeight = -1;
    int DPFloatingWidth = -1;
    int DPFloatingHeight = -1;
    int DPSplitWidth = -1;
    int DPSplitHeight = -1;

    bool operator==(const PanelLayout&) const = default;
};

// Column widths the lists are designed with; -1 in the record keeps them.
inline constexpr std::array<int, 5> DesignedMainListWidths{270, 50, 65, 150, 160};
// Wide enough for the longest caption ("Next record list") in today's desktop fonts.
inline constexpr std::array<int, 2> DesignedDBListWidths{132, 110};

struct BrowserSettings {
    QString StartPath;
    QString Language;
    QString InstallTool;
    bool RememberLastDirectory = true;
    bool TreeViewVisible = true;
    bool FileInfoGeneralVisible = true;
    bool FileInfoDBVisible = true;
    bool FileInfoFlagsVisible = true;
    // Hidden at first: reading every file's entry list is for those who ask for it.
    bool FileInfoContentsVisible = false;
    bool DatabaseColumnVisible = false; // the file list's optional Database column
    bool ShowPRC = true;
    bool ShowPDB = true;
    bool ShowZIP = true;
    int MainWindowWidth = -1;
    int MainWindowHeight = -1;
    int MainWindowX = -1;
    int MainWindowY = -1;
    int FoldersWidth = -1;
    std::array<int, 5> MainListView{-1, -1, -1, -1, -1}; // Name, Type, Size, Changed, Database
    std::array<int, 2> DBListView{-1, -1};               // Header, Value
    // Every stored path, also those whose folder is gone: the favourites menu checks
    // existence when it adds an item, as it does for the folders the user adds.
    QStringList Favorites;
    // The export dialog's last choices ([Export]): the folder, "natural" or "csv", the code
    // page by its name, and whether deleted and archived records go along.
    QString ExportFolder;
    QString ExportFormat = QStringLiteral("natural");
    QString ExportEncoding = QStringLiteral("windows-1252");
    bool ExportIncludeDeleted = false;
    // Keyed by LayoutSections' names; a bar or panel without a valid section has no entry.
    std::map<QString, PanelLayout> Layout;

    bool operator==(const BrowserSettings&) const = default;
};

// A missing file, section or key, or a value that is no integer where a number or boolean
// belongs (or does not fit an int), gives the default. Favourites are read from "0" up to
// the first missing number.
BrowserSettings ReadSettings(const IniFile& ini, const QString& defaultLanguage);

// Writes every key in shut-down order; keys and sections the program does not know stay
// where they are. Favourite keys that reading would take (0 up to the first missing
// number) beyond the written ones are removed, so that a favourite gone from the menu does
// not come back at the next start; keys after a gap were never read and stay unread (moved
// up with the gap when the list grows into them). Layout sections with
// no entry in the record are written with PanelLayout's defaults. Saving the file is the
// caller's.
void WriteSettings(IniFile& ini, const BrowserSettings& s);

// The StartPath to write: the folder tree's folder when RememberLastDirectory is set, else
// the held StartPath. With no folder selected in the tree the held StartPath is kept too,
// rather than losing the start folder to an empty value.
QString StartPathToWrite(const BrowserSettings& s, const QString& treeFolder);
