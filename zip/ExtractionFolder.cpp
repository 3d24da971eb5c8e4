#include "zip/ExtractionFolder.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/MarkedFolder.h"
#include "platform/NativePath.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

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

} // namespace

struct ExtractionFolder::ArchiveFolder {
    std::unique_ptr<MarkedFolder> Marked;
    QHash<int, std::shared_ptr<FolderHandle>> Numbered;
    QHash<QString, int64_t> CopyBytes; // the size of each copy written, by its path

    const FolderHandle& Top() const { return Marked->Top(); }
};

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
    // The archive's name makes the folder recognisable to a user who opens a copy.
    QString base = QFileInfo(archivePath).completeBaseName().left(40);
    for (QChar& c : base)
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\')
            c = u'_';
    auto made = std::make_shared<ArchiveFolder>();
    made->Marked = MarkedFolder::Make(root, base, error);
    if (!made->Marked)
        return nullptr;
    FMadeFolders.push_back(made->Top().Path());
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
    const FolderHandle* folder = &archiveFolder->Top();
    if (copyNumber > 1) {
        auto& numbered = archiveFolder->Numbered[copyNumber];
        if (!numbered) {
            bool made = false;
            auto sub = std::make_shared<FolderHandle>(archiveFolder->Top().OpenSub(
                QString::number(copyNumber), true, &result.Error, &made));
            if (made)
                FMadeFolders.push_back(archiveFolder->Top().Path() + QString::number(copyNumber));
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
        RemoveIfPossible(path); // a copy held open elsewhere may stay
    FWritten.clear();
    FWrittenSet.clear();
    for (const auto& archiveFolder : std::as_const(FArchiveFolders))
        archiveFolder->Marked->RemoveMarker();
    for (auto folder = FMadeFolders.rbegin(); folder != FMadeFolders.rend(); ++folder)
        RemoveFolderIfEmpty(*folder);
    FMadeFolders.clear();
    FArchiveFolders.clear();
}

int ExtractionFolder::RemoveAbandoned(const QString& tempFolder) {
    return MarkedFolder::RemoveAbandoned(tempFolder, {IsOwnFile, IsNumberedFolder});
}
