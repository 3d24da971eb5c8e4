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
#include "platform/NativePath.h"
#include "platform/ProgramLauncher.h"
#include "platform/Trash.h"
#include "zip/ExtractionFolder.h"

#include <QAction>
#include <QDir>
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
    FExtraction = std::make_unique<ExtractionFolder>(FPaths.TempFolder);
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
    connect(FFolderTree, &QAbstractItemView::clicked, this, [this] {
        if (FArchiveView)
            Run([this] { LeaveArchiveView(); });
    });
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
    dialog.TargetFolder = FLastTargetFolder;
    if (FPrompts.ExecDialog(&dialog) != QDialog::Accepted)
        return;
    CopyMoveFiles(dialog.TargetFolder, false, copy);
    FLastTargetFolder = dialog.TargetFolder;
}

void TFBrowser::CopyMoveFiles(const QString& target, bool confirm, bool copy) {
    const QString operation = copy ? Translated("Copy") : Translated("Move");
    if (target.isEmpty())
        return;
    // A typed relative folder is taken from the listed folder, "~" as the home folder.
    QString folder = target;
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder = QDir::homePath() + folder.mid(1);
    if (QDir::isRelativePath(folder) && !FCurrentFolder.isEmpty())
        folder = QDir(FCurrentFolder).absoluteFilePath(folder);

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

    QStringList failures;
    QList<int> itemRows;
    std::vector<CopyMoveItem> items;
    QList<int> notExtracted;
    for (int row : rows) {
        const FileRow& fileRow = FFileModel->Row(row);
        if (FArchiveView && fileRow.File.isEmpty()) {
            failures << fileRow.Name + QStringLiteral(": ") + fileRow.Error;
            notExtracted << row;
            continue;
        }
        // An archive row's copy has the entry's file name; a folder's row has its name, by
        // its bytes (Name is only its shown text when it is not UTF-8).
        const QString source = RowPath(row);
        items.push_back({source, QFileInfo(source).fileName()});
        itemRows << row;
    }

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
    const CopyMoveReport report = run.Run(folder, items);
    progress.Finish();
    if (!report.FolderError.isEmpty()) {
        FPrompts.Error(this, report.FolderError);
        return;
    }

    QList<int> handled = notExtracted;
    QList<int> moved;
    for (size_t i = 0; i < items.size(); ++i) {
        if (report.Outcomes[i] == ItemOutcome::NotReached)
            continue; // cancelled: still selected, as it was not handled
        handled << itemRows[qsizetype(i)];
        if (!copy && report.Outcomes[i] == ItemOutcome::Done)
            moved << itemRows[qsizetype(i)];
    }
    DeselectRows(handled);
    FFileModel->RemoveRows(moved);
    failures << report.Failures;
    if (!failures.isEmpty())
        FPrompts.Error(this, Listed(copy ? Translated("These files were not copied:")
                                         : Translated("These files were not moved:"),
                                    failures));
}

void TFBrowser::DeleteSelectedFiles() {
    // The Delete commands are disabled in the archive view; this covers any other way in.
    if (FArchiveView)
        return;
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    const QString question = rows.size() == 1
                                 ? FillPlaceholders(Translated("Move \"%d\" to trash?"),
                                                    {{u"%d", FFileModel->Row(rows.first()).Name}})
                                 : Translated("Move selected files to trash?");
    if (!FPrompts.Confirm(this, question))
        return;

    WorkProgress progress(this, Translated("Moving to trash..."));
    QList<int> handled;
    QList<int> trashed;
    QStringList failures;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!progress.Step(size_t(i), size_t(rows.size())))
            break;
        const int row = rows[i];
        handled << row;
        QString error;
        if (MoveToRecycleBin(RowPath(row), &error))
            trashed << row;
        else
            failures << FFileModel->Row(row).Name + QStringLiteral(": ") + error;
    }
    progress.Finish();
    // A file that stayed leaves the selection and keeps its row.
    DeselectRows(handled);
    FFileModel->RemoveRows(trashed);
    if (!failures.isEmpty())
        FPrompts.Error(this,
                       Listed(Translated("These files were not moved to the trash:"), failures));
}

bool TFBrowser::MoveToRecycleBin(const QString& path, QString* error) {
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

void TFBrowser::MIOpenClick() {
    const QList<int> rows = SelectedRows();
    if (!rows.isEmpty())
        OpenFile(rows.first());
}

void TFBrowser::InstallSelectedFiles() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    QStringList refused;
    for (int row : rows) {
        const QString path = RowPath(row);
        // The tool reads its paths from one quoted command line: a quote in a name
        // would split it into other paths.
        if (path.contains(u'"'))
            refused << FFileModel->Row(row).Name;
        else
            AddInstallFile(path);
    }
    DeselectRows(rows);
    RunInstallTool();
    if (!refused.isEmpty())
        FPrompts.Error(this, Listed(Translated("These files cannot be handed to the install tool, "
                                               "because their names contain a double quote:"),
                                    refused));
}

void TFBrowser::AddInstallFile(const QString& path) {
    FInstallLists.AddInstallFile(PathForProgram(FSettings.InstallTool, path));
}

void TFBrowser::RunInstallTool() {
    const QString tool = FSettings.InstallTool;
    if (!FInstallLists.IsEmpty() && !tool.isEmpty()) {
        QString error;
        if (!StartProgram(tool, FInstallLists.Parameters(tool), &error))
            FPrompts.Error(this, error);
    }
    // Emptied whatever happened, so that no path goes to the next Install.
    FInstallLists.Clear();
}
