#include "core/BrowserSession.h"

#include "common/Helpers.h"
#include "core/FileListModel.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

namespace {

// "~" is the home folder, as in a shell.
QString ExpandHome(const QString& path) {
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

BrowserSession::BrowserSession(BrowserSettings settings, const QString& tempFolder)
    : FSettings(std::move(settings)), FExtraction(tempFolder) {}

const QString& BrowserSession::EnterFolder(const QString& folder) {
    FCurrentFolder = AddTrailingBackslash(folder);
    FArchivePath.clear();
    return FCurrentFolder;
}

void BrowserSession::EnterArchive(const QString& archive) {
    FArchivePath = archive;
}

FolderListing BrowserSession::ListFolder(const QString& folder) {
    return FolderLister(FReader, FCatalogue).ListFolder(EnterFolder(folder), Filter());
}

ArchiveOpening
BrowserSession::OpenArchive(const QString& archive,
                            const std::function<bool(size_t done, size_t total)>& progress) {
    ArchiveOpening opening;
    opening.Listing = ArchiveLister(FReader, FCatalogue, FExtraction).List(archive, progress);
    if (opening.Listing.Cancelled) {
        opening.Outcome = ArchiveOpening::Kind::Cancelled;
    } else if (!opening.Listing.Opened) {
        opening.Outcome = ArchiveOpening::Kind::Unreadable;
        opening.Message =
            FillPlaceholders(Translated("%s cannot be opened as a ZIP archive: %e"),
                             {{u"%s", DisplayName(archive)}, {u"%e", opening.Listing.OpenError}});
    } else if (opening.Listing.EntryCount == 0) {
        opening.Outcome = ArchiveOpening::Kind::Empty;
        opening.Message = FillPlaceholders(Translated("The archive %s holds no files."),
                                           {{u"%s", DisplayName(archive)}});
    } else {
        opening.Outcome = ArchiveOpening::Kind::Shown;
        EnterArchive(archive);
    }
    return opening;
}

BrowserDestination BrowserSession::RefreshDestination() const {
    if (ArchiveView())
        return {BrowserDestination::Kind::Archive, FArchivePath};
    if (FCurrentFolder.isEmpty())
        return {};
    return {BrowserDestination::Kind::Folder, FCurrentFolder};
}

BrowserDestination BrowserSession::UpDestination() const {
    if (ArchiveView())
        return LeaveArchiveDestination();
    if (FCurrentFolder.isEmpty())
        return {};
    QDir parent(FCurrentFolder);
    if (!parent.cdUp())
        return {}; // at the root
    return {BrowserDestination::Kind::Folder, parent.absolutePath()};
}

BrowserDestination BrowserSession::LeaveArchiveDestination() const {
    if (!ArchiveView())
        return {};
    return {BrowserDestination::Kind::Folder, FCurrentFolder};
}

bool BrowserSession::InstallToolUsable() const {
    return !FSettings.InstallTool.isEmpty() && QFileInfo(FSettings.InstallTool).isFile();
}

BrowserCommands BrowserSession::Commands() const {
    if (!FileCommandsEnabled())
        return {};
    return {true, InstallToolUsable()};
}

ListingFilter BrowserSession::Filter() const {
    return {FSettings.ShowPDB, FSettings.ShowPRC, FSettings.ShowZIP};
}

QString BrowserSession::ResolveTarget(const QString& typed) const {
    const QString folder = ExpandHome(typed);
    if (folder.isEmpty() || !QDir::isRelativePath(folder) || FCurrentFolder.isEmpty())
        return folder;
    return QDir(FCurrentFolder).absoluteFilePath(folder);
}

QString BrowserSession::ResolveTypedFolder(const QString& typed) const {
    if (typed.isEmpty())
        return typed;
    const QDir base(FCurrentFolder.isEmpty() ? QDir::currentPath() : FCurrentFolder);
    return QDir::cleanPath(base.absoluteFilePath(ExpandHome(typed)));
}

TPDBHeader BrowserSession::HeaderOf(const QString& path) {
    try {
        return TPalmDatabase(EncodePath(path).toStdString(), true).Header();
    } catch (const std::exception& error) {
        throw std::runtime_error(DisplayName(QFileInfo(path).fileName()).toStdString() + ": " +
                                 error.what());
    }
}

QString BrowserSession::ListedStatus(int rows, size_t unreadable) {
    QString status = QString::number(rows) + Translated(" file(s).");
    if (unreadable > 0)
        status += QLatin1Char(' ') +
                  FillPlaceholders(
                      TranslatedPlural("%d could not be read; point at the marked row to see why.",
                                       "%d could not be read; point at a marked row to see why.",
                                       unreadable),
                      {{u"%d", QString::number(unreadable)}});
    return status;
}

int BrowserSession::RowAfterKey(int key, int first, int count) {
    if (first < 0 || first >= count)
        return -1;
    switch (key) {
    case Qt::Key_Up:
        return first > 0 ? first - 1 : -1;
    case Qt::Key_Down:
        return first < count - 1 ? first + 1 : -1;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return count - 1;
    default:
        return -1;
    }
}

FileToOpen BrowserSession::OpenRow(const FileListModel& model, int row) const {
    const FileRow& fileRow = model.Row(row);
    if (WithoutCopy(fileRow))
        return {QString(), fileRow.Name + QStringLiteral(": ") + fileRow.Error};
    const QString path = model.RowPath(row);
    if (FindFileSize(path) < 0)
        return {QString(),
                FillPlaceholders(Translated("%s no longer exists."), {{u"%s", DisplayName(path)}})};
    return {path, QString()};
}

CopyMovePlan BrowserSession::PlanCopyMove(const FileListModel& model,
                                          const QList<int>& rows) const {
    CopyMovePlan plan;
    for (int row : rows) {
        const FileRow& fileRow = model.Row(row);
        if (WithoutCopy(fileRow)) {
            plan.Failures << fileRow.Name + QStringLiteral(": ") + fileRow.Error;
            plan.NotExtracted << row;
            continue;
        }
        const QString source = model.RowPath(row);
        plan.Items.push_back({source, QFileInfo(source).fileName()});
        plan.ItemRows << row;
    }
    return plan;
}

SelectedFiles BrowserSession::FilesOfRows(const FileListModel& model,
                                          const QList<int>& rows) const {
    QList<int> taken = rows;
    if (taken.isEmpty())
        for (int row = 0; row < model.RowCountValue(); ++row)
            taken << row;
    SelectedFiles files;
    for (const int row : taken) {
        const FileRow& fileRow = model.Row(row);
        if (fileRow.Icon == RowIcon::Archive)
            continue;
        if (WithoutCopy(fileRow))
            files.Unavailable << fileRow.Name + QStringLiteral(": ") + fileRow.Error;
        else
            files.Paths << model.RowPath(row);
    }
    return files;
}

CopyMoveRows BrowserSession::RowsAfterRun(const CopyMovePlan& plan, const CopyMoveReport& report,
                                          bool copy) {
    CopyMoveRows rows{plan.NotExtracted, {}};
    for (size_t i = 0; i < plan.Items.size() && i < report.Outcomes.size(); ++i) {
        if (report.Outcomes[i] == ItemOutcome::NotReached)
            continue;
        rows.Handled << plan.ItemRows[qsizetype(i)];
        if (!copy && report.Outcomes[i] == ItemOutcome::Done)
            rows.Moved << plan.ItemRows[qsizetype(i)];
    }
    return rows;
}

QString BrowserSession::TrashQuestion(const FileListModel& model, const QList<int>& rows) {
    if (rows.size() == 1)
        return FillPlaceholders(Translated("Move \"%d\" to trash?"),
                                {{u"%d", model.Row(rows.first()).Name}});
    return Translated("Move selected files to trash?");
}

TrashRows BrowserSession::TrashFiles(const FileListModel& model, const QList<int>& rows,
                                     const std::function<bool(size_t done, size_t total)>& step) {
    TrashRows result;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (step && !step(size_t(i), size_t(rows.size())))
            break;
        const int row = rows[i];
        result.Handled << row;
        QString error;
        if (MoveToRecycleBin(model.RowPath(row), &error))
            result.Trashed << row;
        else
            result.Failures << model.Row(row).Name + QStringLiteral(": ") + error;
    }
    return result;
}

bool BrowserSession::MoveToRecycleBin(const QString& path, QString* error) {
    if (!EntryExists(path)) {
        if (error)
            *error = Translated("it no longer exists");
        return false;
    }
    QString cause;
    if (MoveToTrash(EncodePath(path), &cause))
        return true;
    if (error)
        *error = cause;
    return false;
}

QStringList BrowserSession::QueueInstall(const std::vector<InstallCandidate>& candidates,
                                         const std::function<QString(const QString&)>& forProgram) {
    QStringList refused;
    for (const InstallCandidate& candidate : candidates) {
        if (candidate.Path.contains(u'"'))
            refused << candidate.Name;
        else
            FInstallLists.AddInstallFile(forProgram(candidate.Path));
    }
    return refused;
}

InstallFileLists BrowserSession::TakeInstallLists() {
    InstallFileLists lists = FInstallLists;
    FInstallLists.Clear();
    return lists;
}
