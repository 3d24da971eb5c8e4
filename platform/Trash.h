// Moving files into the user's trash the freedesktop.org way, so that every desktop's trash
// view lists and restores them. Our own rather than QFile::moveToTrash, which writes the
// original path unescaped (a name with "%20" or a newline restores as another name), makes
// the trash in the working folder when ~/.local/share is missing, and reports a read-only
// file system as "Invalid cross-device link".
//
// A file on the home trash's file system goes to $XDG_DATA_HOME/Trash (by default
// ~/.local/share/Trash); a file on another mount goes to that mount's own trash,
// $topdir/.Trash/$uid when $topdir/.Trash is a real folder with the sticky bit, else
// $topdir/.Trash-$uid. A file is only ever renamed, never copied: the move is as quick as
// it is safe, and a file that cannot be renamed into a trash stays where it is.
#pragma once

#include <QByteArray>
#include <QString>

// Moves the file or folder at path (the file system's bytes, so that any name works) into
// its trash. The information file is written first and removed again when the move fails;
// a kill in between leaves the file in place or in the trash, never lost. False with the
// first cause in *error when the file stays.
bool MoveToTrash(const QByteArray& path, QString* error);
