// The program's icons and drag cursors. Our own set is drawn as SVG on a 32-unit grid
// and compiled into the program, so it scales to any size and needs no files beside it.
//
// Toolbar and menu actions that the freedesktop icon naming knows (delete, refresh, open,
// help, ...) take the desktop theme's icon first, so that Brisko looks at home next to
// the user's other programs; our drawing stands in where the theme has none. The icons
// of the file list, the database information rows and the logo are always ours: a list
// that mixed theme icons with ours would look different on every desktop.
//
// Use from the GUI thread, with a QGuiApplication (or QApplication) alive.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QString>
#include <array>

enum class IconId {
    CopyTo,
    MoveTo,
    Install,
    Delete,
    Refresh,
    Favorites,
    FavoriteAdd,
    FavoriteFolder,
    Folders,
    CreatorIds,
    Options,
    UpOneLevel,
    Open,
    HelpContents,
    About,
    Exit,
    SelectAll,
    PalmFile,
    ZipArchive,
    UnreadableFile,
    HeaderRow,
    Brisko
};

inline constexpr std::array<IconId, 22> AllIconIds = {
    IconId::CopyTo,    IconId::MoveTo,       IconId::Install,     IconId::Delete,
    IconId::Refresh,   IconId::Favorites,    IconId::FavoriteAdd, IconId::FavoriteFolder,
    IconId::Folders,   IconId::CreatorIds,   IconId::Options,     IconId::UpOneLevel,
    IconId::Open,      IconId::HelpContents, IconId::About,       IconId::Exit,
    IconId::SelectAll, IconId::PalmFile,     IconId::ZipArchive,  IconId::UnreadableFile,
    IconId::HeaderRow, IconId::Brisko};

// The icon to show for id: the theme's where one is preferred and the theme has it,
// else ours. Never null. Cheap enough to call for every row of a list.
QIcon BriskoIcon(IconId id);

// Our own drawing of id, whatever the theme.
QIcon BriskoOwnIcon(IconId id);

// The resource holding our drawing of id, e.g. ":/icons/copy-to.svg".
QString IconResourcePath(IconId id);

// The freedesktop icon name tried before our drawing; empty when id is always ours.
QString IconThemeName(IconId id);

// The cursor shown while files are dragged: an arrow with the dragged item, and a plus
// sign when the drop copies. 32x32 logical pixels, hot spot at the arrow's tip.
QCursor DragCursor(bool copy);

// Registers the compiled-in resources. Called by the functions above on first use; call
// it yourself only to read ":/icons" or ":/cursors" directly. Safe to call repeatedly.
void InitBriskoResources();
