// Replacing a file's content so that readers see either the old or the new content.
#pragma once

#include <QByteArray>
#include <QString>

// Writes content to a temporary file beside path, flushes it and renames it over path.
// An existing file that is read-only is not replaced. Throws EWriteError with
// "Unable to write to <path>" followed by the cause.
void WriteFileAtomically(const QString& path, const QByteArray& content);
