// The main window's file operations on the selected rows: copy and move (through the
// Copy/Move dialog, or dropped on a folder of the tree), delete to the trash, open, and
// install. Each handles the rows from the top down, takes every handled row out of the
// selection (a moved or trashed file's row leaves the list), and reports what could not
// be done once, at the end, with the names and causes.
#include "common/Helpers.h"
#include "core/CopyMove.h"
#include "core/FileListModel.h"
#include "core/Prompts.h"
#include "dialogs/TFDialog.h"
#include "gui/FolderTreeView.h"
#include "gui/TFBrowser.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/ProgramLauncher.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QItemSelection>
#include <QShortcut>
#include <QTreeView>

namespace {

QString Listed(const QString& heading, const QStringList& lines) {
    return heading + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

} // namespace

void TFBrowser::CreateFileOperations() {
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

void TFBrowser::DeselectRows(const QList<int>& rows) {
    QItemSelection selection;
    for (int row : rows)
        selection.select(FFileModel->index(row, 0),
                         FFileModel->index(row, FFileModel->columnCount() - 1));
    AdvListView->selectionModel()->select(selection, QItemSelectionModel::Deselect |
                                                         QItemSelectionModel::Rows);
}

void TFBrowser::CopyMoveSelected(bool copy) {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    TFDialog dialog(FPrompts, this);
    dialog.CopyMode = copy;
    dialog.FileCount = int(rows.size());
    dialog.TargetFolder = FSession.LastTargetFolder();
    if (FPrompts.ExecDialog(&dialog) != QDialog::Accepted)
        return;
    CopyMoveFiles(dialog.TargetFolder, false, copy);
    FSession.RememberTarget(dialog.TargetFolder);
}

void TFBrowser::CopyMoveFiles(const QString& target, bool confirm, bool copy) {
    const QString operation = copy ? Translated("Copy") : Translated("Move");
    const QString folder = FSession.ResolveTarget(target);
    if (folder.isEmpty())
        return;

    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    if (confirm) {
        // Two or more: "Copy selected files?"; one: Copy "name", without a question mark.
        QString question = operation;
        if (rows.size() >= 2)
            question += Translated(" selected files?");
        else
            question += QStringLiteral(" \"") + FFileModel->Row(rows.first()).Name + u'"';
        if (!FPrompts.Confirm(this, question))
            return;
    }

    const CopyMovePlan plan = FSession.PlanCopyMove(*FFileModel, rows);
    CopyMoveRun run(copy, *FCalls);
    run.AskOverwrite = [this](const QString& name) {
        return FPrompts.AskOverwrite(
            this, FillPlaceholders(Translated("File \"%d\" already exists. Overwrite?"),
                                   {{u"%d", name}}));
    };
    WorkProgress progress(this, FillPlaceholders(copy ? Translated("Copying to %s...")
                                                      : Translated("Moving to %s..."),
                                                 {{u"%s", folder}}));
    run.Progress = [&progress](size_t done, size_t total) {
        return progress.Step(done, total);
    };
    const CopyMoveReport report = run.Run(folder, plan.Items);
    progress.Finish();
    if (!report.FolderError.isEmpty()) {
        FPrompts.Error(this, report.FolderError);
        return;
    }

    const CopyMoveRows after = BrowserSession::RowsAfterRun(plan, report, copy);
    DeselectRows(after.Handled);
    FFileModel->RemoveRows(after.Moved);
    const QStringList failures = plan.Failures + report.Failures;
    if (!failures.isEmpty())
        FPrompts.Error(this, Listed(copy ? Translated("These files were not copied:")
                                         : Translated("These files were not moved:"),
                                    failures));
}

void TFBrowser::DeleteSelectedFiles() {
    // The Delete commands are disabled in the archive view; this covers any other way in.
    if (!FSession.FileCommandsEnabled())
        return;
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    if (!FPrompts.Confirm(this, BrowserSession::TrashQuestion(*FFileModel, rows)))
        return;

    WorkProgress progress(this, Translated("Moving to trash..."));
    const TrashRows after = BrowserSession::TrashFiles(
        *FFileModel, rows, [&](size_t done, size_t total) { return progress.Step(done, total); });
    progress.Finish();
    // A file that stayed leaves the selection and keeps its row.
    DeselectRows(after.Handled);
    FFileModel->RemoveRows(after.Trashed);
    if (!after.Failures.isEmpty())
        FPrompts.Error(
            this, Listed(Translated("These files were not moved to the trash:"), after.Failures));
}

bool TFBrowser::MoveToRecycleBin(const QString& path, QString* error) {
    return BrowserSession::MoveToRecycleBin(path, error);
}

void TFBrowser::MIOpenClick() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        OpenFile(rows.first());
}

void TFBrowser::InstallSelectedFiles() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    std::vector<InstallCandidate> candidates;
    for (int row : rows)
        candidates.push_back({RowPath(row), FFileModel->Row(row).Name});
    const QString tool = FSession.Settings().InstallTool;
    const QStringList refused = FSession.QueueInstall(
        candidates, [&tool](const QString& path) { return PathForProgram(tool, path); });
    DeselectRows(rows);
    RunInstallTool();
    if (!refused.isEmpty())
        FPrompts.Error(this, Listed(Translated("These files cannot be handed to the install tool, "
                                               "because their names contain a double quote:"),
                                    refused));
}

void TFBrowser::AddInstallFile(const QString& path) {
    FSession.AddInstallFile(PathForProgram(FSession.Settings().InstallTool, path));
}

void TFBrowser::RunInstallTool() {
    const QString tool = FSession.Settings().InstallTool;
    // Taken whatever happens, so that no path goes to the next Install.
    const InstallFileLists lists = FSession.TakeInstallLists();
    if (!lists.IsEmpty() && !tool.isEmpty()) {
        QString error;
        if (!StartProgram(tool, lists.Parameters(tool), &error))
            FPrompts.Error(this, error);
    }
}
