// The main window's file commands: their actions, the double-click and Enter, and the
// drop on the folder tree wired to the commands on the selected rows.
#include "core/BrowserSession.h"
#include "gui/CheckCommands.h"
#include "gui/ExportCommands.h"
#include "gui/FileListView.h"
#include "gui/FolderTreeView.h"
#include "gui/PackCommands.h"
#include "gui/SelectionCommands.h"
#include "gui/TFBrowser.h"

#include <QAction>
#include <QShortcut>

void TFBrowser::CreateFileOperations() {
    FCommands = std::make_unique<SelectionCommands>(*this, FSession, *FFileList, FPrompts);
    new CheckCommands(*this, *FFileList, FPrompts, *MICheckSelected, *MICheckTree);
    auto* exporting = new ExportCommands(*this, FSession, *FFileList, FPrompts, *MIExport);
    connect(exporting, &ExportCommands::ChoicesChanged, this, &TFBrowser::ApplyExportCodePage);
    auto* pack = new PackCommands(*this, FSession, *FFileList, FPrompts, *MIPack);
    connect(pack, &PackCommands::ListedFolderChanged, this, [this] { Run([this] { Refresh(); }); });
    connect(MICopy, &QAction::triggered, this, [this] { Run([this] { CopyMoveSelected(true); }); });
    connect(MIMove, &QAction::triggered, this,
            [this] { Run([this] { CopyMoveSelected(false); }); });
    connect(MIDelete, &QAction::triggered, this,
            [this] { Run([this] { DeleteSelectedFiles(); }); });
    connect(MIOpen, &QAction::triggered, this, [this] { Run([this] { MIOpenClick(); }); });
    connect(MIInstall, &QAction::triggered, this,
            [this] { Run([this] { InstallSelectedFiles(); }); });
    // The double-click, and Enter for the keyboard. Not the view's "activated": a desktop
    // set to open on a single click would then open every file the user points at.
    connect(AdvListView, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { ListDoubleClick(); }); });
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(QKeySequence(key), AdvListView);
        enter->setContext(Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { Run([this] { ListDoubleClick(); }); });
    }

    FFolderTree->SetDragSource(AdvListView);
    // After the drag has ended: the question must not run inside the drag's own loop.
    connect(
        FFolderTree, &FolderTreeView::FilesDropped, this,
        [this](const QString& folder) {
            Run([this, folder] { CopyMoveFiles(folder, true, true); });
        },
        Qt::QueuedConnection);
    // A click on the tree's selected folder, which changes no selection, also leaves the
    // archive view.
    connect(FFolderTree, &QAbstractItemView::clicked, this,
            [this] { Run([this] { LeaveArchiveView(); }); });
}

void TFBrowser::CopyMoveSelected(bool copy) {
    if (FCommands->CopyMoveSelected(copy))
        ShowDetails(QString()); // the file described may have left
}

void TFBrowser::CopyMoveFiles(const QString& target, bool confirm, bool copy) {
    if (FCommands->CopyMoveFiles(target, confirm, copy))
        ShowDetails(QString());
}

void TFBrowser::DeleteSelectedFiles() {
    if (FCommands->DeleteSelectedFiles())
        ShowDetails(QString());
}

bool TFBrowser::MoveToRecycleBin(const QString& path, QString* error) {
    return BrowserSession::MoveToRecycleBin(path, error);
}

void TFBrowser::MIOpenClick() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        FCommands->OpenRow(rows.first());
}

void TFBrowser::InstallSelectedFiles() {
    FCommands->InstallSelectedFiles();
}

void TFBrowser::AddInstallFile(const QString& path) {
    FCommands->AddInstallFile(path);
}

void TFBrowser::RunInstallTool() {
    FCommands->RunInstallTool();
}

void TFBrowser::SetFileSystemCalls(const FileSystemCalls& calls) {
    FCommands->SetFileSystemCalls(calls);
}
