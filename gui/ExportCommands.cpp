#include "gui/ExportCommands.h"

#include "core/BrowserSession.h"
#include "core/Prompts.h"
#include "export/ExportRun.h"
#include "gui/ExportDialog.h"
#include "gui/ExportReport.h"
#include "gui/FileListView.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace {

// The run's settings from the choices as the settings file keeps them; a name it does not
// know (edited by hand) gives the default.
ExportSettings SettingsOf(const BrowserSettings& choices) {
    ExportSettings settings;
    settings.Format = ExportFormatNamed(choices.ExportFormat).value_or(ExportFormat::Natural);
    settings.Page = CodePage::Named(choices.ExportEncoding).value_or(CodePage());
    settings.Options.IncludeDeleted = choices.ExportIncludeDeleted;
    return settings;
}

} // namespace

ExportCommands::ExportCommands(QWidget& window, BrowserSession& session, FileListView& list,
                               Prompts& prompts, QAction& exportItem)
    : QObject(&window), FWindow(window), FSession(session), FList(list), FPrompts(prompts) {
    connect(&exportItem, &QAction::triggered, this, [this] {
        try {
            ExportSelected();
        } catch (const std::exception& error) {
            FPrompts.Error(&FWindow, QString::fromUtf8(error.what()));
        }
    });
}

ExportReport* ExportCommands::ExportSelected() {
    const SelectedFiles files = FSession.FilesOfRows(FList.Rows(), FList.SelectedRows());
    if (files.Paths.isEmpty() && files.Unavailable.isEmpty()) {
        FPrompts.Information(&FWindow, Translated("There are no Palm files to export here."));
        return nullptr;
    }
    ExportDialog dialog(FPrompts, files.Paths.size() + files.Unavailable.size(),
                        FSession.Settings(), &FWindow);
    if (FPrompts.ExecDialog(&dialog) != QDialog::Accepted)
        return nullptr;
    dialog.StoreChoices(FSession.Settings());
    Q_EMIT ChoicesChanged();

    const QString folder = FSession.Settings().ExportFolder;
    if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir()) {
        FPrompts.Error(&FWindow, FillPlaceholders(Translated("%s is a file, not a folder."),
                                                  {{u"%s", QDir::toNativeSeparators(folder)}}));
        return nullptr;
    }
    if (!QDir().mkpath(folder)) {
        FPrompts.Error(&FWindow, FillPlaceholders(Translated("The folder %s could not be made."),
                                                  {{u"%s", QDir::toNativeSeparators(folder)}}));
        return nullptr;
    }

    bool cancelled = false;
    WorkProgress progress(&FWindow, Translated("Exporting..."));
    ExportSummary summary =
        ExportFiles(files.Paths, folder, SettingsOf(FSession.Settings()),
                    [&progress, &cancelled](std::size_t done, std::size_t total) {
                        cancelled = !progress.Step(done, total);
                        return !cancelled;
                    });
    progress.Finish();
    summary.Skipped = files.Unavailable + summary.Skipped;

    auto* report = new ExportReport(summary, folder, cancelled, FPrompts, &FWindow);
    report->show();
    return report;
}
