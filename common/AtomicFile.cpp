#include "common/AtomicFile.h"

#include "common/Errors.h"
#include "i18n/Translate.h"

#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

void WriteFileAtomically(const QString& path, const QByteArray& content) {
    if (path.isEmpty())
        Fail(path, Translated("no file name"));
    const QFileInfo info(path);
    if (info.isDir())
        Fail(path, Translated("it is a folder"));
    if (info.exists() && IsReadOnly(info))
        Fail(path, Translated("the file is read-only"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        Fail(path, file.errorString());
    if (file.write(content) != content.size()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        Fail(path, cause);
    }
    if (!file.commit())
        Fail(path, file.errorString());
}
