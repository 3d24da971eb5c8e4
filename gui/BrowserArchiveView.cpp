// The main window's archive view: an archive's Palm files, extracted into Temp, listed
// in place of the folder's files; the double-click that opens an archive or a file.
#include "common/Helpers.h"
#include "core/ArchiveListing.h"
#include "core/FileListModel.h"
#include "core/Prompts.h"
#include "gui/DetailsPanels.h"
#include "gui/TFBrowser.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTreeView>

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
    // Sizes with a unit ("800 Bytes") are wider than a folder's byte counts.
    const int sizeColumn = int(FileColumn::Size);
    AdvListView->setColumnWidth(
        sizeColumn,
        std::max(AdvListView->columnWidth(sizeColumn),
                 static_cast<QAbstractItemView*>(AdvListView)->sizeHintForColumn(sizeColumn)));
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
    OpenFile(row);
}

void TFBrowser::OpenFile(int row) {
    const FileRow& fileRow = FFileModel->Row(row);
    if (FSession.WithoutCopy(fileRow)) {
        FPrompts.Error(this, fileRow.Name + QStringLiteral(": ") + fileRow.Error);
        return;
    }
    const QString path = RowPath(row);
    if (FindFileSize(path) < 0) {
        FPrompts.Error(this, FillPlaceholders(Translated("%s no longer exists."),
                                              {{u"%s", DisplayName(path)}}));
        return;
    }
    if (!FPrompts.OpenUrl(LocalFileUrl(path)))
        FPrompts.Error(this, FillPlaceholders(Translated("No program to open %s was found."),
                                              {{u"%s", DisplayName(path)}}));
}
