// The main window's listing: a folder's rows into the list, the folder tree and the
// combo box kept in step, the status line, the details of the clicked row, sorting and
// the list's keys.
#include "common/Helpers.h"
#include "core/FileListModel.h"
#include "gui/ContentsPanel.h"
#include "gui/DetailsPanels.h"
#include "gui/FileListView.h"
#include "gui/FolderTreeView.h"
#include "gui/TFBrowser.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <utility>

namespace {

// Keeps the wait cursor up for the length of a listing, also when it fails.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void TFBrowser::ListFolder(const QString& folder) {
    WaitCursor wait;
    AdvListView->setUpdatesEnabled(false);
    FFileModel->Clear();
    FolderListing listing = FSession.ListFolder(folder);
    const QString& listed = FSession.CurrentFolder();
    FFileModel->SetFolder(listed);
    FFileModel->SetArchiveView(FSession.ArchiveView());
    SelectInTree(listed);
    const size_t unreadable = listing.Errors.size();
    FFileModel->SetRows(std::move(listing.Rows));
    SetFileCommands(FSession.FileCommandsEnabled());

    AdvListView->setUpdatesEnabled(true);
    ShowListed(unreadable, listed);
    // A folder that vanished (a removed drive, a deleted folder) is said, not just empty.
    if (!FolderExists(listed))
        SetStatusText(StatusText() + QLatin1Char(' ') +
                      FillPlaceholders(Translated("The folder %s does not exist."),
                                       {{u"%s", DisplayName(listed)}}));
    if (std::exchange(FTellPalmDesktopMissing, false))
        SetStatusText(StatusText() + QLatin1Char(' ') + NoPalmDesktopText());
}

void TFBrowser::ShowListed(size_t unreadable, const QString& shown) {
    SetStatusText(BrowserSession::ListedStatus(FFileModel->rowCount(), unreadable));
    setWindowTitle(QStringLiteral("Brisko - ") + DisplayName(shown));
}

void TFBrowser::Refresh() {
    GoTo(FSession.RefreshDestination());
}

void TFBrowser::GoUpOneLevel() {
    const BrowserDestination destination = FSession.UpDestination();
    if (destination.Step == BrowserDestination::Kind::None)
        return;
    ShowDetails(QString());
    GoTo(destination);
}

void TFBrowser::GoTo(const BrowserDestination& destination) {
    switch (destination.Step) {
    case BrowserDestination::Kind::Folder:
        ListFolder(destination.Path);
        break;
    case BrowserDestination::Kind::Archive:
        OpenArchive(destination.Path);
        break;
    case BrowserDestination::Kind::None:
        break;
    }
}

void TFBrowser::SetStatusText(const QString& text) {
    FStatusLabel->setText(text);
    // A line longer than the window is cut off; the whole of it can still be read.
    FStatusLabel->setToolTip(text);
}

QString TFBrowser::StatusText() const {
    return FStatusLabel->text();
}

QString TFBrowser::TreeFolder() const {
    return FFolderTree->CurrentFolder();
}

void TFBrowser::SelectInTree(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    ShowFolderChain(*FolderCombo, clean);
    // Moving the tree by program clears the details but lists nothing twice.
    FMovingTree = true;
    FFolderTree->ShowFolder(clean);
    FMovingTree = false;
}

void TFBrowser::OnTreeSelectionChanged() {
    if (!FReady)
        return;
    if (FMovingTree) {
        ShowDetails(QString());
        return;
    }
    const QString folder = TreeFolder();
    if (folder.isEmpty())
        return;
    Run([this, folder] {
        ShowDetails(QString());
        ListFolder(folder);
    });
}

void TFBrowser::ShowDetails(const QString& path) {
    const ListeDerLinks& catalogue = FSession.Catalogue();
    Contents->ShowFile(path.isEmpty() || IsZipFile(path) ? QString() : path);
    if (path.isEmpty() || IsZipFile(path)) {
        ShowHeaderDetails(*General, *DBInfo, *Flags, nullptr, catalogue);
        return;
    }
    TPDBHeader header;
    try {
        header = BrowserSession::HeaderOf(path);
    } catch (...) {
        ShowDetails(QString()); // the panels would otherwise go on describing another file
        throw;
    }
    ShowHeaderDetails(*General, *DBInfo, *Flags, &header, catalogue);
}

void TFBrowser::OnListClick() {
    const QList<int> rows = SelectedRows();
    Run([this, rows] {
        if (rows.isEmpty())
            ShowDetails(QString());
        else
            ShowRowDetails(rows.first());
    });
}

bool TFBrowser::OnListKey(int key) {
    const QList<int> rows = SelectedRows();
    const int target = BrowserSession::RowAfterKey(key, rows.isEmpty() ? -1 : rows.first(),
                                                   FFileModel->rowCount());
    if (target >= 0)
        Run([this, target] { ShowRowDetails(target); });
    return false; // the list moves its selection as usual
}

void TFBrowser::OnSelectionChanged() {
    const qsizetype count = AdvListView->selectionModel()->selectedRows().size();
    SetStatusText(QString::number(count) + Translated(" file(s) selected."));
}

void TFBrowser::OnHeaderClicked(int column) {
    const Qt::SortOrder order = FSession.SortClick(static_cast<FileColumn>(column));
    FFileModel->sort(column, order);
    AdvListView->header()->setSortIndicatorShown(true);
    AdvListView->header()->setSortIndicator(column, order);
}
