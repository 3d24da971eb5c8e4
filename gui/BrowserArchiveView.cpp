// The main window's archive view: an archive's Palm files, extracted into Temp, listed
// in place of the folder's files; the double-click that opens an archive or a file.
#include "common/Helpers.h"
#include "core/ArchiveListing.h"
#include "core/FileListModel.h"
#include "core/Prompts.h"
#include "gui/DetailsPanels.h"
#include "gui/FileListView.h"
#include "gui/SelectionCommands.h"
#include "gui/TFBrowser.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QFileInfo>

void TFBrowser::OpenArchive(const QString& path) {
    const QString archiveName = DisplayName(QFileInfo(path).fileName());
    ArchiveOpening opening;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        WorkProgress progress(
            this, FillPlaceholders(Translated("Opening %s..."), {{u"%s", archiveName}}));
        opening = FSession.OpenArchive(
            path, [&](size_t done, size_t total) { return progress.Step(done, total); });
        QApplication::restoreOverrideCursor();
    }
    // Cancelled, unreadable or empty: the list stays as it was.
    switch (opening.Outcome) {
    case ArchiveOpening::Kind::Cancelled:
        return;
    case ArchiveOpening::Kind::Unreadable:
        FPrompts.Error(this, opening.Message);
        return;
    case ArchiveOpening::Kind::Empty:
        FPrompts.Information(this, opening.Message);
        return;
    case ArchiveOpening::Kind::Shown:
        break;
    }

    ArchiveListing& listing = opening.Listing;
    AdvListView->setUpdatesEnabled(false);
    SetFileCommands(FSession.FileCommandsEnabled());
    ShowDetails(QString());
    FFileModel->SetFolder(AddTrailingBackslash(FSession.ExtractionFolderPath()));
    FFileModel->SetArchiveView(FSession.ArchiveView());
    const size_t unreadable = listing.Errors.size();
    FFileModel->SetRows(std::move(listing.Rows));
    FFileList->WidenSizeColumnToContents();
    AdvListView->setUpdatesEnabled(true);
    ShowListed(unreadable, path);
}

void TFBrowser::LeaveArchiveView() {
    const BrowserDestination folder = FSession.LeaveArchiveDestination();
    if (folder.Step == BrowserDestination::Kind::None)
        return;
    ShowDetails(QString());
    GoTo(folder);
}

void TFBrowser::ShowRowDetails(int row) {
    const FileRow& fileRow = FFileModel->Row(row);
    if (FSession.WithoutCopy(fileRow)) {
        // Never extracted: there is no copy to read, only the cause to tell.
        ShowDetails(QString());
        const QString message = fileRow.Name + QStringLiteral(": ") + fileRow.Error;
        throw std::runtime_error(message.toStdString());
    }
    ShowDetails(RowPath(row));
}

void TFBrowser::ListDoubleClick() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    const int row = rows.first();
    if (!ArchiveView() && IsZipFile(FFileModel->Row(row).Name)) {
        OpenArchive(RowPath(row));
        return;
    }
    SetFileCommands(FSession.FileCommandsEnabled());
    FCommands->OpenRow(row);
}
