#include "support/TempFolder.h"

#include "support/PalmFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

TempFolder::TempFolder() {
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::Write(const QString& name, const QByteArray& content,
                          const QDateTime& modified) const {
    const QString path = File(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteBytes(path, content);
    if (modified.isValid()) {
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite) ||
            !f.setFileTime(modified, QFileDevice::FileModificationTime))
            throw std::runtime_error("cannot set the time of " + path.toStdString());
    }
    return path;
}

QString TempFolder::MakeFolder(const QString& name) const {
    const QString path = File(name);
    QDir().mkpath(path);
    return path;
}
