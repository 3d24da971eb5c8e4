#include "support/TempFolder.h"

#include "support/PalmFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ftw.h>
#include <stdexcept>
#include <stdio.h>

TempFolder::TempFolder() {
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    // Depth first, links not followed; what cannot be removed is left to QTemporaryDir.
    nftw(
        QFile::encodeName(FDir.path()).constData(),
        [](const char* path, const struct stat*, int, struct FTW*) {
            ::remove(path);
            return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
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
