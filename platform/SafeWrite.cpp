// The POSIX implementation of SafeWrite.h. A Windows one would use MoveFileExW with and
// without MOVEFILE_REPLACE_EXISTING for the two kinds of rename.
#include "platform/SafeWrite.h"

#include "platform/NativePath.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray Encoded(const QString& name) {
    return EncodePath(name);
}

// rename that never replaces. renameat2 does it in one step; file systems without it
// (FAT on a memory card, some network shares) get a hard link and, where that is also
// missing, a look before the rename.
int RenameNoReplace(int fromDir, const char* from, int toDir, const char* to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
#endif
    if (linkat(fromDir, from, toDir, to, 0) == 0) {
        unlinkat(fromDir, from, 0);
        return 0;
    }
    if (errno == EEXIST || errno == EXDEV || errno == ENOENT)
        return errno;
    struct stat existing {};
    if (fstatat(toDir, to, &existing, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return renameat(fromDir, from, toDir, to) == 0 ? 0 : errno;
}

// A new file in the folder, never one that is there already nor through a link.
int OpenNewFile(int folder, const char* name, unsigned mode) {
    return ::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

// The names PendingFile gives its temporary files.
constexpr char TemporaryPrefix[] = ".brisko-";
constexpr char TemporarySuffix[] = ".part";

long RealWrite(int fd, const void* data, size_t size) {
    return long(::write(fd, data, size));
}

int RealRename(const QString& from, const QString& to, bool replace) {
    const QByteArray f = Encoded(from);
    const QByteArray t = Encoded(to);
    if (replace)
        return ::rename(f.constData(), t.constData()) == 0 ? 0 : errno;
    return RenameNoReplace(AT_FDCWD, f.constData(), AT_FDCWD, t.constData());
}

} // namespace

const FileSystemCalls& FileSystemCalls::Real() {
    static const FileSystemCalls calls{RealWrite, RealRename};
    return calls;
}

bool IsPendingFileName(const char* name) {
    const size_t length = std::strlen(name);
    const size_t prefix = sizeof TemporaryPrefix - 1;
    const size_t suffix = sizeof TemporarySuffix - 1;
    if (length <= prefix + suffix || length > prefix + suffix + 13 ||
        std::strncmp(name, TemporaryPrefix, prefix) != 0 ||
        std::strcmp(name + length - suffix, TemporarySuffix) != 0)
        return false;
    for (size_t i = prefix; i < length - suffix; ++i)
        if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'z')))
            return false;
    return true;
}

int OpenNewHeldFile(int folder, const char* name, unsigned mode) {
    const int fd = OpenNewFile(folder, name, mode);
    if (fd < 0)
        return -1;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    // Where the file system has no locks the file is written unheld; a clean-up, unable
    // to lock it either, then leaves it alone.
    struct stat info {};
    if (locked == 0 && ::fstat(fd, &info) == 0 && info.st_nlink == 0) {
        // A clean-up took the name between the open and the lock: try another.
        ::close(fd);
        errno = EEXIST;
        return -1;
    }
    return fd;
}

namespace {

// True when the file name in folder is a regular file (not a link) that no running
// program holds; then removes it. Fails safe: anything it cannot judge stays.
bool RemoveIfAbandoned(int folder, const char* name) {
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened {};
    struct stat named {};
    // Removed while locked, so the program that made it, should it be starting right
    // now, finds it gone when its own lock is granted.
    const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                         ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                         ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino &&
                         ::unlinkat(folder, name, 0) == 0;
    ::close(fd);
    return removed;
}

} // namespace

std::vector<QByteArray> FolderEntryNames(int folder) {
    std::vector<QByteArray> names;
    // A descriptor of its own: the listing must not move the folder's read position.
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return names;
    DIR* list = ::fdopendir(listFd);
    if (!list) {
        ::close(listFd);
        return names;
    }
    while (const dirent* entry = ::readdir(list))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    ::closedir(list);
    return names;
}

int RemoveAbandonedTemporaries(const FolderHandle& folder) {
    int removed = 0;
    for (const QByteArray& name : FolderEntryNames(folder.Fd()))
        if (IsPendingFileName(name.constData()) && RemoveIfAbandoned(folder.Fd(), name.constData()))
            ++removed;
    return removed;
}

FolderHandle::~FolderHandle() {
    if (FFd >= 0)
        ::close(FFd);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : FFd(other.FFd), FPath(std::move(other.FPath)) {
    other.FFd = -1;
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (FFd >= 0)
            ::close(FFd);
        FFd = other.FFd;
        FPath = std::move(other.FPath);
        other.FFd = -1;
    }
    return *this;
}

FolderHandle FolderHandle::Open(const QString& path, QString* error) {
    FolderHandle folder;
    folder.FFd = ::open(Encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.FFd < 0) {
        if (error)
            *error = SystemErrorText(errno);
        return folder;
    }
    folder.FPath = path.endsWith(u'/') ? path : path + u'/';
    return folder;
}

bool FolderHandle::Sync(QString* error) const {
    if (::fsync(FFd) == 0 || errno == EINVAL)
        return true;
    if (error)
        *error = SystemErrorText(errno);
    return false;
}

std::optional<unsigned> FolderHandle::PermissionsOf(const QString& name) const {
    struct stat info {};
    if (::fstatat(FFd, Encoded(name).constData(), &info, 0) != 0)
        return std::nullopt;
    return unsigned(info.st_mode & 07777);
}

bool FolderHandle::LeadsTo(const QString& name, const FileFacts& facts) const {
    struct stat info {};
    return ::fstatat(FFd, Encoded(name).constData(), &info, 0) == 0 &&
           uint64_t(info.st_dev) == facts.Device && uint64_t(info.st_ino) == facts.Inode;
}

EntryKind FolderHandle::KindOf(const QString& name) const {
    struct stat info {};
    if (::fstatat(FFd, Encoded(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::None;
    if (S_ISDIR(info.st_mode))
        return EntryKind::Folder;
    if (S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0)
        return EntryKind::WriteProtectedFile;
    return EntryKind::Other;
}

FolderHandle FolderHandle::OpenSub(const QString& name, bool create, QString* error,
                                   bool* made) const {
    FolderHandle sub;
    const QByteArray encoded = Encoded(name);
    if (made)
        *made = false;
    if (create) {
        if (::mkdirat(FFd, encoded.constData(), 0700) == 0) {
            if (made)
                *made = true;
        } else if (errno != EEXIST) {
            if (error)
                *error = SystemErrorText(errno);
            return sub;
        }
    }
    // O_NOFOLLOW: a link of that name fails (ELOOP) instead of leading elsewhere.
    sub.FFd = ::openat(FFd, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub.FFd < 0) {
        if (error)
            *error = SystemErrorText(errno);
        return sub;
    }
    sub.FPath = FPath + name + u'/';
    return sub;
}

PendingFile::~PendingFile() {
    Discard();
}

void PendingFile::Discard() {
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    if (!FCommitted && FFolder && !FTempName.isEmpty())
        ::unlinkat(FFolder->Fd(), FTempName.constData(), 0);
    FTempName.clear();
    Release();
}

void PendingFile::Release() {
    if (FHoldFd >= 0) {
        ::close(FHoldFd);
        FHoldFd = -1;
    }
}

bool PendingFile::CreateNew(const FolderHandle& folder, const QString& name, QString* error,
                            bool* existed, unsigned mode) {
    Discard();
    FFolder = &folder;
    FCommitted = false;
    FSynced = false;
    FUnderItsName = false;
    *existed = false;
    const QByteArray encoded = Encoded(name);
    const int fd = OpenNewFile(folder.Fd(), encoded.constData(), mode);
    if (fd < 0) {
        *existed = errno == EEXIST;
        if (error)
            *error = SystemErrorText(errno);
        return false;
    }
    FFd = fd;
    FTempName = encoded;
    FTempPath = folder.Path() + name;
    FUnderItsName = true;
    return true;
}

bool PendingFile::Create(const FolderHandle& folder, QString* error, unsigned mode) {
    Discard();
    FFolder = &folder;
    FCommitted = false;
    FSynced = false;
    FUnderItsName = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, and never a .pdb or .prc name, so no listing shows a half-written file.
        const QByteArray name = TemporaryPrefix +
                                QByteArray::number(QRandomGenerator::global()->generate64(), 36) +
                                TemporarySuffix;
        const int fd = OpenNewHeldFile(folder.Fd(), name.constData(), mode);
        if (fd >= 0) {
            // The lock lasts as long as one descriptor of the file is open; Finish closes
            // the one written through.
            FHoldFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            if (FHoldFd < 0) {
                const int cause = errno;
                ::close(fd);
                ::unlinkat(folder.Fd(), name.constData(), 0);
                if (error)
                    *error = SystemErrorText(cause);
                return false;
            }
            FFd = fd;
            FTempName = name;
            FTempPath = folder.Path() + QFile::decodeName(name);
            return true;
        }
        if (errno != EEXIST) {
            if (error)
                *error = SystemErrorText(errno);
            return false;
        }
    }
    if (error)
        *error = SystemErrorText(EEXIST);
    return false;
}

bool PendingFile::Write(const char* data, size_t size, QString* error) {
    while (size > 0) {
        const long written = FCalls.Write(FFd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = SystemErrorText(errno);
            return false;
        }
        if (written == 0) { // no progress and no error: treat as a full disk
            if (error)
                *error = SystemErrorText(ENOSPC);
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

bool PendingFile::Finish(std::optional<std::time_t> modified, std::optional<unsigned> mode,
                         bool sync, QString* error) {
    auto fail = [&](int code) {
        if (error)
            *error = SystemErrorText(code);
        return false;
    };
    if (modified) {
        const struct timespec times[2] = {{*modified, 0}, {*modified, 0}};
        if (::futimens(FFd, times) != 0)
            return fail(errno);
    }
    if (mode && ::fchmod(FFd, mode_t(*mode)) != 0)
        return fail(errno);
    if (sync && ::fsync(FFd) != 0)
        return fail(errno);
    FSynced = sync;
    const int fd = FFd;
    FFd = -1;
    // A network file system may report a failed write only here.
    if (::close(fd) != 0)
        return fail(errno);
    return true;
}

bool PendingFile::Commit(const QString& name, bool replace, QString* error, bool* existed) {
    if (existed)
        *existed = false;
    if (FUnderItsName) {
        Q_ASSERT(Encoded(name) == FTempName);
        FCommitted = true;
        FTempName.clear();
        if (FSynced)
            FFolder->Sync(nullptr);
        return true;
    }
    const QByteArray target = Encoded(name);
    const int dir = FFolder->Fd();
    const int result =
        replace ? (::renameat(dir, FTempName.constData(), dir, target.constData()) == 0 ? 0 : errno)
                : RenameNoReplace(dir, FTempName.constData(), dir, target.constData());
    if (result != 0) {
        if (existed)
            *existed = result == EEXIST;
        if (error)
            *error = SystemErrorText(result);
        return false;
    }
    FCommitted = true;
    FTempName.clear();
    Release();
    // The new name on the disk too; where that fails the file is named all the same, and
    // a power cut would at worst bring back what was there before.
    if (FSynced)
        FFolder->Sync(nullptr);
    return true;
}
