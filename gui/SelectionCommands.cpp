#include "gui/SelectionCommands.h"

#include "core/BrowserSession.h"
#include "core/CopyMove.h"
#include "core/FileListModel.h"
#include "core/InstallCollisions.h"
#include "core/Prompts.h"
#include "dialogs/TFDialog.h"
#include "gui/FileListView.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/ProgramLauncher.h"

namespace {

QString Listed(const QString& heading, const QStringList& lines) {
    return heading + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

} // namespace

SelectionCommands::SelectionCommands(QWidget& window, BrowserSession& session, FileListView& list,
                                     Prompts& prompts)
    : FWindow(window), FSession(session), FList(list), FPrompts(prompts) {}

bool SelectionCommands::CopyMoveSelected(bool copy) {
    const QList<int> rows = FList.SelectedRows();
    if (rows.isEmpty())
        return false;
    TFDialog dialog(FPrompts, &FWindow);
    dialog.CopyMode = copy;
    dialog.FileCount = int(rows.size());
    dialog.TargetFolder = FSession.LastTargetFolder();
    if (FPrompts.ExecDialog(&dialog) != QDialog::Accepted)
        return false;
    const bool left = CopyMoveFiles(dialog.TargetFolder, false, copy);
    FSession.RememberTarget(dialog.TargetFolder);
    return left;
}

bool SelectionCommands::CopyMoveFiles(const QString& target, bool confirm, bool copy) {
    const QString operation = copy ? Translated("Copy") : Translated("Move");
    const QString folder = FSession.ResolveTarget(target);
    if (folder.isEmpty())
        return false;

    const QList<int> rows = FList.SelectedRows();
    if (rows.isEmpty())
        return false;
    FileListModel& model = FList.Rows();
    if (confirm) {
        // Two or more: "Copy selected files?"; one: Copy "name", without a question mark.
        QString question = operation;
        if (rows.size() >= 2)
            question += Translated(" selected files?");
        else
            question += QStringLiteral(" \"") + model.Row(rows.first()).Name + u'"';
        if (!FPrompts.Confirm(&FWindow, question))
            return false;
    }

    const CopyMovePlan plan = FSession.PlanCopyMove(model, rows);
    CopyMoveRun run(copy, *FCalls);
    run.AskOverwrite = [this](const QString& name) {
        return FPrompts.AskOverwrite(
            &FWindow, FillPlaceholders(Translated("File \"%d\" already exists. Overwrite?"),
                                       {{u"%d", name}}));
    };
    WorkProgress progress(&FWindow, FillPlaceholders(copy ? Translated("Copying to %s...")
                                                          : Translated("Moving to %s..."),
                                                     {{u"%s", folder}}));
    run.Progress = [&progress](size_t done, size_t total) {
        return progress.Step(done, total);
    };
    const CopyMoveReport report = run.Run(folder, plan.Items);
    progress.Finish();
    if (!report.FolderError.isEmpty()) {
        FPrompts.Error(&FWindow, report.FolderError);
        return false;
    }

    const CopyMoveRows after = BrowserSession::RowsAfterRun(plan, report, copy);
    FList.Deselect(after.Handled);
    model.RemoveRows(after.Moved);
    const QStringList failures = plan.Failures + report.Failures;
    if (!failures.isEmpty())
        FPrompts.Error(&FWindow, Listed(copy ? Translated("These files were not copied:")
                                             : Translated("These files were not moved:"),
                                        failures));
    return !after.Moved.isEmpty();
}

bool SelectionCommands::DeleteSelectedFiles() {
    // The Delete commands are disabled in the archive view; this covers any other way in.
    if (!FSession.FileCommandsEnabled())
        return false;
    const QList<int> rows = FList.SelectedRows();
    if (rows.isEmpty())
        return false;
    FileListModel& model = FList.Rows();
    if (!FPrompts.Confirm(&FWindow, BrowserSession::TrashQuestion(model, rows)))
        return false;

    WorkProgress progress(&FWindow, Translated("Moving to trash..."));
    const TrashRows after = BrowserSession::TrashFiles(
        model, rows, [&](size_t done, size_t total) { return progress.Step(done, total); });
    progress.Finish();
    // A file that stayed leaves the selection and keeps its row.
    FList.Deselect(after.Handled);
    model.RemoveRows(after.Trashed);
    if (!after.Failures.isEmpty())
        FPrompts.Error(&FWindow, Listed(Translated("These files were not moved to the trash:"),
                                        after.Failures));
    return !after.Trashed.isEmpty();
}

void SelectionCommands::OpenRow(int row) {
    const FileToOpen file = FSession.OpenRow(FList.Rows(), row);
    if (!file.Error.isEmpty())
        FPrompts.Error(&FWindow, file.Error);
    else if (!FPrompts.OpenUrl(LocalFileUrl(file.Path)))
        FPrompts.Error(&FWindow, FillPlaceholders(Translated("No program to open %s was found."),
                                                  {{u"%s", DisplayName(file.Path)}}));
}

void SelectionCommands::InstallSelectedFiles() {
    const QList<int> rows = FList.SelectedRows();
    if (rows.isEmpty())
        return;
    const FileListModel& model = FList.Rows();
    if (!ConfirmInstallConcerns(rows))
        return;
    std::vector<InstallCandidate> candidates;
    for (int row : rows)
        candidates.push_back({model.RowPath(row), model.Row(row).Name});
    const QString tool = FSession.Settings().InstallTool;
    const QStringList refused = FSession.QueueInstall(
        candidates, [&tool](const QString& path) { return PathForProgram(tool, path); });
    FList.Deselect(rows);
    RunInstallTool();
    if (!refused.isEmpty())
        FPrompts.Error(&FWindow,
                       Listed(Translated("These files cannot be handed to the install tool, "
                                         "because their names contain a double quote:"),
                              refused));
}

bool SelectionCommands::ConfirmInstallConcerns(const QList<int>& rows) {
    std::vector<InstallInspection> inspected;
    for (const int row : rows)
        inspected.push_back(InspectForInstall(FList.Rows().RowPath(row)));
    const std::vector<InstallConcern> concerns = InstallConcerns(inspected);
    if (concerns.empty())
        return true;
    QStringList texts;
    for (const InstallConcern& concern : concerns) {
        texts << concern.Text;
        for (const QString& file : concern.Files)
            texts << QStringLiteral("    ") + DisplayName(file);
    }
    return FPrompts.Confirm(
        &FWindow, Listed(Translated("Before these files go to the install tool:"), texts) +
                      QStringLiteral("\n\n") + Translated("Install them all the same?"));
}

void SelectionCommands::AddInstallFile(const QString& path) {
    FSession.AddInstallFile(PathForProgram(FSession.Settings().InstallTool, path));
}

void SelectionCommands::RunInstallTool() {
    const QString tool = FSession.Settings().InstallTool;
    // Taken whatever happens, so that no path goes to the next Install.
    const InstallFileLists lists = FSession.TakeInstallLists();
    if (!lists.IsEmpty() && !tool.isEmpty()) {
        QString error;
        if (!StartProgram(tool, lists.Parameters(tool), &error))
            FPrompts.Error(&FWindow, error);
    }
}
