#include "platform/MarkedFolder.h"

#include "platform/NativePath.h"
#include "platform/SystemError.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// Its text tells a person who finds it what the folder is, and the clean-up what it may
// remove.
constexpr char MarkerName[] = ".brisko-extraction";
constexpr char MarkerText[] = "Brisko: copies of archive entries, removed when Brisko ends.\n";

// The marker's text, or the start of it where the run was killed while writing it.
bool IsMarker(int fd) {
    char text[sizeof MarkerText] = {};
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    return got >= 0 && got < ssize_t(sizeof MarkerText) &&
           std::memcmp(text, MarkerText, size_t(got)) == 0;
}

// Removes what the owner could have written inside the open folder; anything else (a
// file another program put there, a link) stays, and with it the folder.
void RemoveOwnContents(int folder, bool top, const MarkedFolder::OwnNames& own) {
    for (const QByteArray& name : FolderEntryNames(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(info.st_mode) && own.File(name)) {
            ::unlinkat(folder, name.constData(), 0);
        } else if (S_ISDIR(info.st_mode) && top && own.Subfolder(name)) {
            const int sub =
                ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0)
                continue;
            RemoveOwnContents(sub, false, own);
            ::close(sub);
            ::unlinkat(folder, name.constData(), AT_REMOVEDIR); // only when empty
        }
    }
}

} // namespace

MarkedFolder::~MarkedFolder() {
    if (FMarkerFd >= 0)
        ::close(FMarkerFd);
}

std::unique_ptr<MarkedFolder> MarkedFolder::Make(const FolderHandle& root, const QString& base,
                                                 QString* error) {
    std::unique_ptr<MarkedFolder> made(new MarkedFolder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // The random part makes the folder new, so nothing of anyone else's is in it.
        const QString name =
            base + u'-' + QString::number(QRandomGenerator::global()->generate() % 2176782336u, 36);
        const QByteArray nameBytes = EncodePath(name);
        if (::mkdirat(root.Fd(), nameBytes.constData(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            if (error)
                *error = SystemErrorText(errno);
            return nullptr;
        }
        made->FTop = root.OpenSub(name, false, error);
        if (!made->FTop.IsValid())
            return nullptr;
        made->FMarkerFd = OpenNewHeldFile(made->FTop.Fd(), MarkerName, 0600);
        if (made->FMarkerFd < 0) {
            // EEXIST or ENOENT: a clean-up took the folder before the marker was held.
            if (errno == EEXIST || errno == ENOENT) {
                made->FTop = FolderHandle();
                continue;
            }
            if (error)
                *error = SystemErrorText(errno);
            ::unlinkat(root.Fd(), nameBytes.constData(), AT_REMOVEDIR);
            return nullptr;
        }
        errno = 0;
        if (::write(made->FMarkerFd, MarkerText, sizeof MarkerText - 1) !=
            ssize_t(sizeof MarkerText - 1)) {
            if (error)
                *error = SystemErrorText(errno ? errno : ENOSPC);
            ::unlinkat(made->FTop.Fd(), MarkerName, 0);
            ::unlinkat(root.Fd(), nameBytes.constData(), AT_REMOVEDIR);
            return nullptr;
        }
        return made;
    }
    if (error)
        *error = SystemErrorText(EEXIST);
    return nullptr;
}

void MarkedFolder::RemoveMarker() {
    ::unlinkat(FTop.Fd(), MarkerName, 0);
}

int MarkedFolder::RemoveAbandoned(const QString& rootPath, const OwnNames& ownNames) {
    const FolderHandle root = FolderHandle::Open(rootPath, nullptr);
    if (!root.IsValid())
        return 0;
    int removed = 0;
    for (const QByteArray& name : FolderEntryNames(root.Fd())) {
        const int sub =
            ::openat(root.Fd(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0)
            continue;
        const int marker =
            ::openat(sub, MarkerName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        // Held by its program (also while that one removes it at shut-down), or not ours.
        if (marker >= 0 && ::fstat(marker, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(marker, LOCK_EX | LOCK_NB) == 0 && IsMarker(marker)) {
            // The marker goes last, so that a clean-up killed half-way is finished later.
            RemoveOwnContents(sub, true, ownNames);
            ::unlinkat(sub, MarkerName, 0);
            if (::unlinkat(root.Fd(), name.constData(), AT_REMOVEDIR) == 0)
                ++removed;
        }
        if (marker >= 0)
            ::close(marker);
        ::close(sub);
    }
    return removed;
}

void RemoveIfPossible(const QString& file) {
    ::unlink(EncodePath(file).constData());
}

void RemoveFolderIfEmpty(const QString& folder) {
    ::rmdir(EncodePath(folder).constData());
}

int64_t FreeBytesOfFileSystem(const QString& folder) {
    struct statvfs info {};
    if (::statvfs(EncodePath(folder).constData(), &info) != 0)
        return 0;
    return int64_t(std::min<unsigned long long>(
        static_cast<unsigned long long>(info.f_bavail) * info.f_frsize, INT64_MAX));
}
