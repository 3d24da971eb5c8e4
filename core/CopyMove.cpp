#include "core/CopyMove.h"

#include "common/Helpers.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

CopyMoveFileResult Failed(const QString& error) {
    return {CopyMoveStatus::Failed, error};
}

// Copies the open source into a new file in folder and names it. The copy is on the
// disk before it takes the name, so that a power cut never leaves a named file with
// missing content (nor gives up a replaced file, nor a moved source, for less).
CopyMoveFileResult CopyContent(int sourceFd, const FileFacts& source, const FolderHandle& folder,
                               const QString& name, bool replace, const FileSystemCalls& calls) {
    QString error;
    PendingFile copy(calls);
    if (!copy.Create(folder, &error, 0600))
        return Failed(error);
    std::vector<char> buffer(1024 * 1024);
    for (;;) {
        const long got = ReadFromFile(sourceFd, buffer.data(), buffer.size(), &error);
        if (got < 0)
            return Failed(error);
        if (got == 0)
            break;
        if (!copy.Write(buffer.data(), size_t(got), &error))
            return Failed(error);
    }
    if (!copy.Finish(source.Modified, source.Mode & 0777, true, &error))
        return Failed(error);
    bool existed = false;
    if (!copy.Commit(name, replace, &error, &existed))
        return existed ? CopyMoveFileResult{CopyMoveStatus::TargetExists, {}} : Failed(error);
    return {CopyMoveStatus::Done, {}};
}

} // namespace

CopyMoveFileResult CopyMoveFile(const QString& source, const QString& target, bool copy,
                                bool replace, const FileSystemCalls& calls) {
    const QByteArray sourceName = EncodePath(source);
    const QFileInfo targetInfo(target);
    const QString name = targetInfo.fileName();
    QString error;
    const FolderHandle folder = FolderHandle::Open(targetInfo.absolutePath(), &error);
    if (!folder.IsValid())
        return Failed(FillPlaceholders(Translated("the target folder cannot be opened: %s"),
                                       {{u"%s", error}}));

    // A FIFO or device under the name is refused before it can block or be read.
    const int sourceFd = OpenRegularFile(sourceName, &error);
    if (sourceFd < 0)
        return Failed(error);
    struct Closer {
        int Fd;
        ~Closer() { CloseFile(Fd); }
    } closeSource{sourceFd};
    FileFacts sourceFacts;
    if (!FactsOfOpenFile(sourceFd, &sourceFacts, &error))
        return Failed(error);

    if (folder.LeadsTo(name, sourceFacts))
        return {CopyMoveStatus::SameFile, Translated("the target is the file itself")};
    const EntryKind existing = folder.KindOf(name);
    if (existing != EntryKind::None) {
        if (!replace)
            return {CopyMoveStatus::TargetExists, {}};
        if (existing == EntryKind::Folder)
            return Failed(Translated("a folder of that name is in the way"));
        // As the Windows copy does: a write-protected file is not replaced.
        if (existing == EntryKind::WriteProtectedFile)
            return Failed(Translated("the existing file is write-protected"));
    }

    if (copy)
        return CopyContent(sourceFd, sourceFacts, folder, name, replace, calls);

    const int renamed = calls.Rename(source, folder.Path() + name, replace);
    if (renamed == 0) {
        folder.Sync(nullptr); // the move is done; this only makes it last through a power cut
        return {CopyMoveStatus::Done, {}};
    }
    if (renamed == EEXIST && !replace)
        return {CopyMoveStatus::TargetExists, {}};
    if (renamed != EXDEV)
        return Failed(SystemErrorText(renamed));
    // Another file system: copy, and give the source up only once the copy is complete.
    const CopyMoveFileResult copied =
        CopyContent(sourceFd, sourceFacts, folder, name, replace, calls);
    if (copied.Status != CopyMoveStatus::Done)
        return copied;
    const auto sourceStayed = [](const QString& cause) {
        return Failed(FillPlaceholders(
            Translated("copied, but the original could not be removed: %s"), {{u"%s", cause}}));
    };
    // Until the copy's name is on the disk a power cut could take it away: the source
    // stays until then.
    if (!folder.Sync(&error))
        return sourceStayed(error);
    if (!RemoveFile(sourceName, &error))
        return sourceStayed(error);
    return copied;
}

CopyMoveReport CopyMoveRun::Run(const QString& targetFolder,
                                const std::vector<CopyMoveItem>& items) {
    CopyMoveReport report;
    report.Outcomes.assign(items.size(), ItemOutcome::NotReached);
    // By the path's bytes: a folder typed relative to a listed folder whose name is not
    // UTF-8 is out of QFileInfo's reach.
    if (!FolderExists(targetFolder)) {
        // A file of that name exists: "does not exist" would send the user looking for it.
        report.FolderError = FillPlaceholders(FindFileSize(targetFolder) >= 0
                                                  ? Translated("%s is not a folder.")
                                                  : Translated("The folder %s does not exist."),
                                              {{u"%s", DisplayName(targetFolder)}});
        return report;
    }
    const QString folder = AddTrailingBackslash(targetFolder);
    // What an earlier run that was killed left behind in this folder.
    if (const FolderHandle handle = FolderHandle::Open(folder, nullptr); handle.IsValid())
        RemoveAbandonedTemporaries(handle);
    bool overwriteAll = false;
    bool skipAll = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (Progress && !Progress(i, items.size())) {
            report.Cancelled = true;
            return report;
        }
        const CopyMoveItem& item = items[i];
        const QString target = folder + item.Name;
        CopyMoveFileResult result = CopyMoveFile(item.Source, target, FCopy, false, FCalls);
        if (result.Status == CopyMoveStatus::TargetExists) {
            bool replace = overwriteAll;
            if (!overwriteAll && !skipAll) {
                switch (AskOverwrite(DisplayName(item.Name))) {
                case OverwriteAnswer::Yes:
                    replace = true;
                    break;
                case OverwriteAnswer::YesToAll:
                    replace = overwriteAll = true;
                    break;
                case OverwriteAnswer::NoToAll:
                    skipAll = true;
                    break;
                case OverwriteAnswer::No:
                    break;
                }
            }
            if (!replace) {
                report.Outcomes[i] = ItemOutcome::Declined;
                continue;
            }
            result = CopyMoveFile(item.Source, target, FCopy, true, FCalls);
        }
        if (result.Status == CopyMoveStatus::Done) {
            report.Outcomes[i] = ItemOutcome::Done;
        } else {
            report.Outcomes[i] = ItemOutcome::Failed;
            report.Failures << DisplayName(item.Name) + QStringLiteral(": ") + result.Error;
        }
    }
    if (Progress)
        Progress(items.size(), items.size());
    return report;
}
