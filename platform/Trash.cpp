#include "platform/Trash.h"

#include "i18n/Translate.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QByteArray InfoSuffix = QByteArrayLiteral(".trashinfo");

// What a step failed with: an errno value, or a text of our own when no errno says it.
struct Failure {
    int Error = 0;
    QString Text;
    QString Describe() const { return Text.isEmpty() ? SystemErrorText(Error) : Text; }
};

Failure FromErrno() {
    return Failure{errno, {}};
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : FFd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    int Get() const { return FFd; }

private:
    int FFd;
};

// The mount a path lies on. The mount ID tells bind mounts of one file system apart, which
// a rename cannot cross either; kernels without it leave the device alone to decide.
struct Mount {
    dev_t Device = 0;
    uint64_t Id = 0;
    bool operator==(const Mount& other) const {
        return Device == other.Device && (Id == 0 || other.Id == 0 || Id == other.Id);
    }
};

std::optional<Mount> MountOf(const QByteArray& path) {
    struct statx info {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_INO | STATX_MNT_ID, &info) != 0)
        return std::nullopt;
    Mount mount;
    mount.Device = makedev(info.stx_dev_major, info.stx_dev_minor);
    if (info.stx_mask & STATX_MNT_ID)
        mount.Id = info.stx_mnt_id;
    return mount;
}

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray Joined(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? QByteArray(folder + name) : QByteArray(folder + '/' + name);
}

// The mount of the nearest part of path that exists: a trash not yet made will be made on it.
std::optional<Mount> MountOfNearest(QByteArray path) {
    for (;;) {
        if (const std::optional<Mount> mount = MountOf(path))
            return mount;
        if ((errno != ENOENT && errno != ENOTDIR) || path == "/")
            return std::nullopt;
        path = ParentOf(path);
    }
}

QByteArray HomeTrashFolder() {
    // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (!dataHome.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const struct passwd* user = ::getpwuid(::getuid());
            home = user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArray();
        }
        if (!home.startsWith('/'))
            return {};
        dataHome = Joined(home, ".local/share");
    }
    return Joined(dataHome, "Trash");
}

// Makes path and its missing parents, each private to the user as the base folders want.
std::optional<Failure> MakeFolders(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? std::nullopt : std::optional(Failure{ENOTDIR, {}});
    if (errno != ENOENT)
        return FromErrno();
    if (path != "/")
        if (const std::optional<Failure> failed = MakeFolders(ParentOf(path)))
            return failed;
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return FromErrno();
    return std::nullopt;
}

// A folder of our own in a shared place: a real folder (no link), owned by the user.
bool IsOwnFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid();
}

// The trash of the mount whose top folder is top: $top/.Trash/$uid when $top/.Trash is
// a real folder with the sticky bit (others cannot take our folder in it), else
// $top/.Trash-$uid. Each is made when missing.
std::optional<Failure> TopTrashFolder(const QByteArray& top, QByteArray* trash) {
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const QByteArray shared = Joined(top, ".Trash");
    struct stat info {};
    if (::lstat(shared.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        (info.st_mode & S_ISVTX)) {
        const QByteArray mine = Joined(shared, uid);
        ::mkdir(mine.constData(), 0700); // an existing one is checked below
        if (IsOwnFolder(mine)) {
            *trash = mine;
            return std::nullopt;
        }
    }
    const QByteArray own = Joined(top, ".Trash-" + uid);
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST) {
        // Named, since the user may well write the file's folder but not the mount's top.
        const int cause = errno;
        return Failure{cause, Translated("the trash folder %1 cannot be made: %2")
                                  .arg(QString::fromLocal8Bit(own), SystemErrorText(cause))};
    }
    if (!IsOwnFolder(own))
        return Failure{0, Translated("the trash folder %1 is not a folder of yours")
                              .arg(QString::fromLocal8Bit(own))};
    *trash = own;
    return std::nullopt;
}

// The top folder of the mount that folder (a real path) lies on.
QByteArray TopFolder(QByteArray folder, const Mount& mount) {
    while (folder != "/") {
        const QByteArray parent = ParentOf(folder);
        const std::optional<Mount> parentMount = MountOf(parent);
        if (!parentMount || !(*parentMount == mount))
            break;
        folder = parent;
    }
    return folder;
}

// Escaped as in URLs, byte by byte, so that any name (a "%", a newline, bytes that are
// not UTF-8) comes back unchanged; the folder separators stay.
QByteArray EscapedPath(const QByteArray& path) {
    return path.toPercentEncoding("/", {}, '%');
}

QByteArray DeletionDate() {
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    char text[32] = {};
    if (!::localtime_r(&now, &local) ||
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local) == 0)
        return {};
    return QByteArray(text);
}

// The names tried in files/ for a file called name: the name itself, then "stem 2.ext",
// "stem 3.ext" and so on; short enough that the information file's name (with
// ".trashinfo") fits the file system's limit.
QByteArray CandidateName(const QByteArray& name, int attempt) {
    constexpr qsizetype Limit = NAME_MAX - 10; // 10: ".trashinfo"
    QByteArray stem = name;
    QByteArray extension;
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0 && name.size() - dot <= 16) {
        stem = name.left(dot);
        extension = name.mid(dot);
    }
    const QByteArray suffix = attempt == 1 ? QByteArray() : ' ' + QByteArray::number(attempt);
    const qsizetype room = Limit - suffix.size() - extension.size();
    if (stem.size() > room) {
        stem.truncate(room);
        // Not in the middle of a UTF-8 sequence.
        while (!stem.isEmpty() && (uchar(stem.back()) & 0xC0) == 0x80)
            stem.chop(1);
        if (!stem.isEmpty() && uchar(stem.back()) >= 0xC0)
            stem.chop(1);
    }
    return stem + suffix + extension;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += wrote;
    }
    return true;
}

// Moves source (its real folder and name) into trash, which holds files/ and info/:
// first the information file under a name free in both, then the file under that name.
std::optional<Failure> MoveInto(const QByteArray& trash, const QByteArray& source,
                                const QByteArray& name, const QByteArray& recordedPath) {
    const QByteArray filesPath = Joined(trash, "files");
    const QByteArray infoPath = Joined(trash, "info");
    for (const QByteArray& folder : {filesPath, infoPath})
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return FromErrno();
    const Descriptor files(
        ::open(filesPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (files.Get() < 0)
        return FromErrno();
    const Descriptor info(
        ::open(infoPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (info.Get() < 0)
        return FromErrno();

    const QByteArray content = "[Trash Info]\nPath=" + EscapedPath(recordedPath) +
                               "\nDeletionDate=" + DeletionDate() + '\n';
    constexpr int MaxAttempts = 10000;
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        const QByteArray candidate = CandidateName(name, attempt);
        const QByteArray infoName = candidate + InfoSuffix;
        // O_EXCL reserves the name against every other program trashing at the same time.
        const int fd = ::openat(info.Get(), infoName.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return FromErrno();
        }
        const auto dropInfo = [&] {
            ::unlinkat(info.Get(), infoName.constData(), 0);
        };
        // On the disk before the file moves: a power cut must not leave a trashed file
        // without the information that lets a trash view list and restore it.
        const bool written = WriteAll(fd, content) && (::fsync(fd) == 0 || errno == EINVAL);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            const Failure failed{written ? errno : writeError, {}};
            dropInfo();
            return failed;
        }
        ::fsync(info.Get()); // its name too
        // RENAME_NOREPLACE: a file left in files/ without its information keeps its place.
        int moved = ::renameat2(AT_FDCWD, source.constData(), files.Get(), candidate.constData(),
                                RENAME_NOREPLACE);
        if (moved != 0 && errno == EINVAL) {
            // A file system without that flag: look first, then rename.
            struct stat existing {};
            if (::fstatat(files.Get(), candidate.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
                errno = EEXIST;
            else
                moved =
                    ::renameat(AT_FDCWD, source.constData(), files.Get(), candidate.constData());
        }
        if (moved == 0) {
            ::fsync(files.Get()); // the move lasts through a power cut
            return std::nullopt;
        }
        const Failure failed = FromErrno();
        dropInfo();
        if (failed.Error != EEXIST)
            return failed;
    }
    return Failure{EEXIST, {}};
}

std::optional<Failure> Trash(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    if (path.isEmpty())
        return Failure{ENOENT, {}};
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray name = slash < 0 ? path : path.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : path.left(slash + 1);
    if (name == "." || name == ".." || name.isEmpty())
        return Failure{EINVAL, {}};
    struct stat file {};
    if (::lstat(path.constData(), &file) != 0)
        return FromErrno();

    // The real folder: the path recorded is where the file really is, whatever links led there.
    char* resolved = ::realpath(folder.constData(), nullptr);
    if (!resolved)
        return FromErrno();
    const QByteArray realFolder(resolved);
    std::free(resolved);
    const QByteArray realPath = Joined(realFolder, name);
    const std::optional<Mount> mount = MountOf(realFolder);
    if (!mount)
        return FromErrno();

    const QByteArray homeTrash = HomeTrashFolder();
    if (!homeTrash.isEmpty()) {
        const std::optional<Mount> homeMount = MountOfNearest(homeTrash);
        if (homeMount && *homeMount == *mount) {
            if (const std::optional<Failure> failed = MakeFolders(homeTrash))
                return failed;
            return MoveInto(homeTrash, realPath, name, realPath);
        }
    }
    // Another mount: its own trash, with the path recorded from its top folder.
    const QByteArray top = TopFolder(realFolder, *mount);
    QByteArray trash;
    if (const std::optional<Failure> failed = TopTrashFolder(top, &trash))
        return failed;
    const QByteArray relative = realPath.mid(top.endsWith('/') ? top.size() : top.size() + 1);
    return MoveInto(trash, realPath, name, relative);
}

} // namespace

bool MoveToTrash(const QByteArray& path, QString* error) {
    const std::optional<Failure> failed = Trash(path);
    if (failed && error)
        *error = failed->Describe();
    return !failed;
}
