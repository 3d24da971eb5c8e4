#include "platform/RegularFile.h"

#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/SystemError.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

QString NotAFileText() {
    return Translated("not a file");
}

#ifdef _WIN32

// Windows opens no FIFO by a file's name; a folder fails to open as a file.
int OpenRegularFile(const QByteArray& path, QString* error) {
    const int fd = ::_open(path.constData(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0 && error)
        *error = SystemErrorText(errno);
    return fd;
}

#else

int OpenRegularFile(const QByteArray& path, QString* error) {
    struct stat info {};
    const auto refuse = [&](int cause) {
        if (error)
            *error = cause == 0 ? NotAFileText() : SystemErrorText(cause);
        errno = cause; // last: making the text may change it, and callers test ENOENT
        return -1;
    };
    // Looked at first, so that a device is not even opened.
    if (::stat(path.constData(), &info) != 0)
        return refuse(errno);
    if (!S_ISREG(info.st_mode))
        return refuse(0);
    int fd;
    do
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return refuse(errno);
    // The name may have been replaced between the look and the open.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int cause = S_ISREG(info.st_mode) ? errno : 0;
        ::close(fd);
        return refuse(cause);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        const int cause = errno;
        ::close(fd);
        return refuse(cause);
    }
    return fd;
}

#endif

bool FactsOfOpenFile(int fd, FileFacts* facts, QString* error) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        *error = SystemErrorText(errno);
        return false;
    }
    facts->Modified = info.st_mtime;
    facts->Mode = unsigned(info.st_mode & 07777);
    facts->Device = uint64_t(info.st_dev);
    facts->Inode = uint64_t(info.st_ino);
    return true;
}

long ReadFromFile(int fd, char* buffer, size_t size, QString* error) {
    for (;;) {
        const auto got = ::read(fd, buffer, size);
        if (got >= 0)
            return long(got);
        if (errno != EINTR) {
            *error = SystemErrorText(errno);
            return -1;
        }
    }
}

void CloseFile(int fd) {
    ::close(fd);
}

bool RemoveFile(const QByteArray& path, QString* error) {
    if (::unlink(path.constData()) == 0)
        return true;
    *error = SystemErrorText(errno);
    return false;
}

FileReadOutcome ReadRegularFile(const QString& path, qint64 maxSize, QByteArray* content,
                                QString* error) {
    content->clear();
    const int fd = OpenRegularFile(EncodePath(path), error);
    if (fd < 0)
        return errno == ENOENT ? FileReadOutcome::Missing : FileReadOutcome::Failed;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = file.errorString();
        return FileReadOutcome::Failed;
    }
    // The size is checked before the read and again after it: the file may grow meanwhile.
    const bool tooLarge = file.size() > maxSize;
    const QByteArray bytes = tooLarge ? QByteArray() : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return FileReadOutcome::Failed;
    }
    if (tooLarge || bytes.size() > maxSize) {
        if (error)
            *error = Translated("too large");
        return FileReadOutcome::Failed;
    }
    *content = bytes;
    return FileReadOutcome::Read;
}
