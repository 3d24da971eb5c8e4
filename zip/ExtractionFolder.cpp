#include "zip/ExtractionFolder.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// In every archive folder, made before anything else is written there; its text tells
// a person who finds it what the folder is, and the clean-up what it may remove.
constexpr char MarkerName[] = ".brisko-extraction";
constexpr char MarkerText[] = "Brisko: copies of archive entries, removed when Brisko ends.\n";

// The marker's text, or the start of it where the run was killed while writing it.
bool IsMarker(int fd) {
    char text[sizeof MarkerText] = {};
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    return got >= 0 && got < ssize_t(sizeof MarkerText) &&
           std::memcmp(text, MarkerText, size_t(got)) == 0;
}

// What this class writes into an archive folder: entries' copies (Palm files only),
// their temporary files, and numbered subfolders holding the same.
bool IsOwnFile(const QByteArray& name) {
    return name.toLower().endsWith(".pdb") || name.toLower().endsWith(".prc") ||
           IsPendingFileName(name.constData());
}

bool IsNumberedFolder(const QByteArray& name) {
    bool number = false;
    return name.toInt(&number) > 1 && number && !name.startsWith('0');
}

// Removes what this class could have written inside the open folder; anything else (a
// file another program put there, a link) stays, and with it the folder.
void RemoveOwnContents(int folder, bool top) {
    for (const QByteArray& name : FolderEntryNames(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(info.st_mode) && IsOwnFile(name)) {
            ::unlinkat(folder, name.constData(), 0);
        } else if (S_ISDIR(info.st_mode) && top && IsNumberedFolder(name)) {
            const int sub =
                ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0)
                continue;
            RemoveOwnContents(sub, false);
            ::close(sub);
            ::unlinkat(folder, name.constData(), AT_REMOVEDIR); // only when empty
        }
    }
}

} // namespace

struct ExtractionFolder::ArchiveFolder {
    FolderHandle Top;
    int MarkerFd = -1; // holds the marker's lock
    QHash<int, std::shared_ptr<FolderHandle>> Numbered;
    QHash<QString, int64_t> CopyBytes; // the size of each copy written, by its path

    ArchiveFolder() = default;
    ArchiveFolder(const ArchiveFolder&) = delete;
    ArchiveFolder& operator=(const ArchiveFolder&) = delete;
    ~ArchiveFolder() {
        if (MarkerFd >= 0)
            ::close(MarkerFd);
    }
};

namespace {

int64_t FreeBytesOfFileSystem(const QString& folder) {
    struct statvfs info {};
    if (::statvfs(EncodePath(folder).constData(), &info) != 0)
        return 0; // nothing is known to be free: nothing is written
    return int64_t(std::min<unsigned long long>(
        static_cast<unsigned long long>(info.f_bavail) * info.f_frsize, INT64_MAX));
}

} // namespace

ExtractionFolder::ExtractionFolder(QString folder, int64_t maxEntryBytes, int64_t maxArchiveBytes)
    : FreeBytes(FreeBytesOfFileSystem), FFolder(std::move(folder)), FMaxEntryBytes(maxEntryBytes),
      FMaxArchiveBytes(maxArchiveBytes), FArchiveAllowance(maxArchiveBytes) {}

void ExtractionFolder::BeginArchive(const QString& archivePath) {
    QDir().mkpath(FFolder);
    // The copies of an earlier opening of the same archive are replaced one by one: their
    // space counts as free, so that a Refresh lists what the first opening listed.
    int64_t replaced = 0;
    if (const auto found = FArchiveFolders.constFind(QFileInfo(archivePath).absoluteFilePath());
        !archivePath.isEmpty() && found != FArchiveFolders.constEnd())
        for (const int64_t bytes : std::as_const((*found)->CopyBytes))
            replaced += bytes;
    FArchiveAllowance =
        std::min(FMaxArchiveBytes, (std::max<int64_t>(FreeBytes(FFolder), 0) + replaced) / 2);
    FArchiveWritten = 0;
    FArchiveBegun = true;
}

ExtractionFolder::~ExtractionFolder() = default;

ExtractionFolder::ArchiveFolder* ExtractionFolder::FolderFor(const QString& archivePath,
                                                             QString* error) {
    const QString key = QFileInfo(archivePath).absoluteFilePath();
    if (auto found = FArchiveFolders.find(key); found != FArchiveFolders.end())
        return found->get();

    QDir().mkpath(FFolder);
    const FolderHandle root = FolderHandle::Open(FFolder, error);
    if (!root.IsValid())
        return nullptr;
    // The archive's name makes the folder recognisable to a user who opens a copy; the
    // random part makes it new, so nothing of anyone else's is in it.
    QString base = QFileInfo(archivePath).completeBaseName().left(40);
    for (QChar& c : base)
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\')
            c = u'_';
    auto made = std::make_shared<ArchiveFolder>();
    for (int attempt = 0; attempt < 100 && !made->Top.IsValid(); ++attempt) {
        const QString name =
            base + u'-' + QString::number(QRandomGenerator::global()->generate() % 2176782336u, 36);
        if (::mkdirat(root.Fd(), EncodePath(name).constData(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            if (error)
                *error = SystemErrorText(errno);
            return nullptr;
        }
        made->Top = root.OpenSub(name, false, error);
        if (!made->Top.IsValid())
            return nullptr;
        made->MarkerFd = OpenNewHeldFile(made->Top.Fd(), MarkerName, 0600);
        if (made->MarkerFd < 0) {
            // EEXIST or ENOENT: a clean-up took the folder before the marker was held.
            if (errno == EEXIST || errno == ENOENT) {
                made->Top = FolderHandle();
                continue;
            }
            if (error)
                *error = SystemErrorText(errno);
            ::unlinkat(root.Fd(), EncodePath(name).constData(), AT_REMOVEDIR);
            return nullptr;
        }
        errno = 0;
        if (::write(made->MarkerFd, MarkerText, sizeof MarkerText - 1) !=
            ssize_t(sizeof MarkerText - 1)) {
            if (error)
                *error = SystemErrorText(errno ? errno : ENOSPC);
            ::unlinkat(made->Top.Fd(), MarkerName, 0);
            ::unlinkat(root.Fd(), EncodePath(name).constData(), AT_REMOVEDIR);
            return nullptr;
        }
        FMadeFolders.push_back(root.Path() + name);
    }
    if (!made->Top.IsValid()) {
        if (error)
            *error = SystemErrorText(EEXIST);
        return nullptr;
    }
    FArchiveFolders.insert(key, made);
    return made.get();
}

ExtractionFolder::Result ExtractionFolder::Extract(ZipArchive& archive, const ZipEntry& entry,
                                                   int copyNumber) {
    Result result;
    if (entry.IsLink) {
        result.Error = Translated("is a link; links are not extracted");
        return result;
    }
    if (entry.FileName.isEmpty() || entry.FileName == QLatin1String(".") ||
        entry.FileName == QLatin1String("..") || entry.FileName.contains(QChar(0))) {
        result.Error = Translated("has no usable file name");
        return result;
    }
    if (!FArchiveBegun)
        BeginArchive(archive.Path());
    ArchiveFolder* archiveFolder = FolderFor(archive.Path(), &result.Error);
    if (!archiveFolder)
        return result;
    const FolderHandle* folder = &archiveFolder->Top;
    if (copyNumber > 1) {
        auto& numbered = archiveFolder->Numbered[copyNumber];
        if (!numbered) {
            bool made = false;
            auto sub = std::make_shared<FolderHandle>(archiveFolder->Top.OpenSub(
                QString::number(copyNumber), true, &result.Error, &made));
            if (made)
                FMadeFolders.push_back(archiveFolder->Top.Path() + QString::number(copyNumber));
            if (!sub->IsValid()) {
                archiveFolder->Numbered.remove(copyNumber);
                return result;
            }
            numbered = sub;
        }
        folder = numbered.get();
    }
    result.Path = folder->Path() + entry.FileName;

    // The archive's allowance is checked before a byte is unpacked, by the size the entry
    // declares, and then as each chunk is written, as the declared size may lie.
    const QString overAllowance = FillPlaceholders(
        Translated("not extracted: the archive's files would take more than %s together, the "
                   "most one archive may take in Temp (1 GiB, or half the free space where that "
                   "is less)"),
        {{u"%s", SizeLimitText(FArchiveAllowance)}});
    int64_t written = 0;
    if (entry.Size > FArchiveAllowance - FArchiveWritten) {
        result.Error = overAllowance;
        return result;
    }
    // The folder is this program's own and new: a first extraction writes each file under
    // its name; a file there from an earlier one (a Refresh) is replaced whole, through a
    // temporary file, as a program may still have it open.
    PendingFile file;
    bool existed = false;
    if (!file.CreateNew(*folder, entry.FileName, &result.Error, &existed)) {
        if (!existed)
            return result;
        result.Error.clear();
        if (!file.Create(*folder, &result.Error))
            return result;
    }
    QString writeError;
    const QString readError =
        archive.ReadEntry(entry, FMaxEntryBytes, [&](const char* data, size_t size) {
            if (int64_t(size) > FArchiveAllowance - FArchiveWritten - written) {
                writeError = overAllowance;
                return false;
            }
            written += int64_t(size);
            return file.Write(data, size, &writeError);
        });
    if (!readError.isEmpty()) {
        result.Error = writeError.isEmpty() ? readError : writeError;
        return result; // the temporary file goes with `file`
    }
    std::optional<std::time_t> modified;
    if (entry.Modified > 0)
        modified = entry.Modified;
    if (!file.Finish(modified, std::nullopt, false, &result.Error) ||
        !file.Commit(entry.FileName, true, &result.Error))
        return result;
    FArchiveWritten += written;
    archiveFolder->CopyBytes[result.Path] = written;
    if (!FWrittenSet.contains(result.Path)) {
        FWrittenSet.insert(result.Path);
        FWritten.push_back(result.Path);
    }
    return result;
}

void ExtractionFolder::RemoveWritten() {
    for (const QString& path : FWritten)
        ::unlink(EncodePath(path).constData()); // a copy held open elsewhere may stay
    FWritten.clear();
    FWrittenSet.clear();
    for (const auto& archiveFolder : std::as_const(FArchiveFolders))
        ::unlinkat(archiveFolder->Top.Fd(), MarkerName, 0);
    for (auto folder = FMadeFolders.rbegin(); folder != FMadeFolders.rend(); ++folder)
        ::rmdir(EncodePath(*folder).constData()); // only when empty
    FMadeFolders.clear();
    FArchiveFolders.clear();
}

int ExtractionFolder::RemoveAbandoned(const QString& tempFolder) {
    const FolderHandle root = FolderHandle::Open(tempFolder, nullptr);
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
            RemoveOwnContents(sub, true);
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
