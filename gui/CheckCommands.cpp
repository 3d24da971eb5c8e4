#include "gui/CheckCommands.h"

#include "core/DatabaseCheckRun.h"
#include "core/FileListModel.h"
#include "core/Prompts.h"
#include "gui/CheckReport.h"
#include "gui/FileListView.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QDir>
#include <QHash>

CheckCommands::CheckCommands(QWidget& window, FileListView& list, Prompts& prompts,
                             QAction& checkSelected, QAction& checkTree)
    : QObject(&window), FWindow(window), FList(list), FPrompts(prompts) {
    connect(&checkSelected, &QAction::triggered, this, [this] { CheckSelectedFiles(); });
    connect(&checkTree, &QAction::triggered, this, [this] { CheckFolderTree(); });
}

CheckReport* CheckCommands::CheckSelectedFiles() {
    FileListModel& model = FList.Rows();
    QStringList paths;
    for (const int row : FList.SelectedRows())
        if (model.Row(row).Icon != RowIcon::Archive) // an archive is no database itself
            paths << model.RowPath(row);
    if (FList.SelectedRows().isEmpty()) // the listed files, archives aside
        for (int row = 0; row < model.RowCountValue(); ++row)
            if (model.Row(row).Icon != RowIcon::Archive)
                paths << model.RowPath(row);
    return paths.isEmpty() ? nullptr : Check(paths, false);
}

CheckReport* CheckCommands::CheckFolderTree() {
    QString folder = FList.Rows().Folder();
    if (folder.isEmpty())
        return nullptr;
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    if (!FPrompts.Confirm(&FWindow, FillPlaceholders(Translated("Check every Palm file in %s "
                                                                "and in the folders below it?"),
                                                     {{u"%s", QDir::toNativeSeparators(folder)}})))
        return nullptr;
    return Check({folder}, true);
}

CheckReport* CheckCommands::Check(const QStringList& paths, bool recursive) {
    WorkProgress progress(&FWindow, Translated("Checking files..."));
    const CheckRunResult result =
        CheckPalmFiles(paths, recursive, [&progress](std::size_t checked, std::size_t total) {
            return progress.Step(checked, total);
        });
    progress.Finish();

    // The rows of the files found in trouble, marked with their first finding.
    FileListModel& model = FList.Rows();
    QHash<QString, int> rowOf;
    for (int row = 0; row < model.RowCountValue(); ++row)
        rowOf.insert(model.RowPath(row), row);
    for (const CheckedFile& file : result.Files) {
        const auto row = rowOf.constFind(file.File);
        if (row == rowOf.cend())
            continue;
        QString trouble;
        for (const FileFinding& finding : file.Findings)
            if (finding.Severity != CheckSeverity::Note) {
                trouble = finding.Text;
                break;
            }
        model.SetTrouble(*row, trouble);
    }
    auto* report = new CheckReport(result, FPrompts, &FWindow);
    report->show();
    return report;
}
