// A temporary folder for one test, removed with it; files are made with given content
// and modification time in one call.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

class TempFolder {
public:
    TempFolder();
    // Removes the folder by its entries' bytes: QDir cannot reach a name that is not UTF-8.
    ~TempFolder();
    // Path with no trailing separator.
    QString Path() const { return FDir.path(); }
    // Full path of a name inside the folder.
    QString File(const QString& name) const { return FDir.filePath(name); }
    // Creates a file (and its parent folders); returns its full path.
    QString Write(const QString& name, const QByteArray& content,
                  const QDateTime& modified = QDateTime()) const;
    QString MakeFolder(const QString& name) const;

private:
    QTemporaryDir FDir;
};
