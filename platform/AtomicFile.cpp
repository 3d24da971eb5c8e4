#include "platform/AtomicFile.h"

#include "i18n/Translate.h"
#include "platform/SafeWrite.h"

#include <QFileInfo>

namespace {

[[noreturn]] void Fail(const QString& path, const QString& cause) {
    throw EWriteError(Translated("Unable to write to %1: %2").arg(path, cause).toStdString());
}

// Read-only means no write permission for anybody, too: the rename would replace the file
// even then, and a user with rights over every file (root) must still not lose one that
// was marked read-only on purpose.
bool IsReadOnly(const QFileInfo& info) {
    // The mode bits themselves: the "User" flags say what the current user may do.
    constexpr QFile::Permissions AnyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !info.isWritable() || !(info.permissions() & AnyWrite);
}

// A settings file kept elsewhere through a link (a folder of dotfiles) is written where
// the link leads, and the link stays.
QString WhereToWrite(const QFileInfo& info) {
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

} // namespace

void WriteFileAtomically(const QString& path, const QByteArray& content) {
    if (path.isEmpty())
        Fail(path, Translated("no file name"));
    const QFileInfo info(path);
    if (info.isDir())
        Fail(path, Translated("it is a folder"));
    if (info.exists() && IsReadOnly(info))
        Fail(path, Translated("the file is read-only"));

    const QFileInfo target(WhereToWrite(info));
    QString cause;
    const FolderHandle folder = FolderHandle::Open(target.absolutePath(), &cause);
    if (!folder.IsValid())
        Fail(path, cause);
    // The new content is on the disk before it takes the name, so that a power cut
    // leaves the old file or the new one, whole. It keeps the old file's permissions.
    const std::optional<unsigned> mode = folder.PermissionsOf(target.fileName());
    PendingFile file;
    if (!file.Create(folder, &cause) ||
        !file.Write(content.constData(), size_t(content.size()), &cause) ||
        !file.Finish(std::nullopt, mode, true, &cause) ||
        !file.Commit(target.fileName(), true, &cause))
        Fail(path, cause);
}
