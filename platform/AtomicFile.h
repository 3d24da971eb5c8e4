// Replacing a file's content so that readers see either the old or the new content: the
// one way the program writes a whole file. Built on PendingFile (SafeWrite.h) and so free
// of system calls itself.
#pragma once

#include "platform/WriteError.h"

#include <QByteArray>
#include <QString>

// Writes content to a temporary file beside path, puts it on the disk and renames it over
// path; a program killed before the rename leaves the old file and a temporary file that
// RemoveAbandonedTemporaries recognises. An existing file that is read-only is not
// replaced; a link at path is followed. Throws EWriteError with "Unable to write to
// <path>" followed by the cause.
void WriteFileAtomically(const QString& path, const QByteArray& content);
