#include "zip/ExtractionFolder.h"

#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

struct ExtractionFolder::ArchiveFolder {
    FolderHandle Top;
    QHash<int, std::shared_ptr<FolderHandle>> Numbered;
};

ExtractionFolder::ExtractionFolder(QString folder, int64_t maxEntryBytes)
    : FFolder(std::move(folder)), FMaxEntryBytes(maxEntryBytes) {}

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
        FMadeFolders.push_back(root.Path() + name);
        made->Top = root.OpenSub(name, false, error);
        if (!made->Top.IsValid())
            return nullptr;
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
    for (auto folder = FMadeFolders.rbegin(); folder != FMadeFolders.rend(); ++folder)
        ::rmdir(EncodePath(*folder).constData()); // only when empty
    FMadeFolders.clear();
    FArchiveFolders.clear();
}
