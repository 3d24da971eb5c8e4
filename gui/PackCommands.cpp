#include "gui/PackCommands.h"

#include "core/BrowserSession.h"
#include "core/FileListModel.h"
#include "core/PackTexts.h"
#include "core/Prompts.h"
#include "gui/FileListView.h"
#include "gui/WorkProgress.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "zip/ZipPacking.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

PackCommands::PackCommands(QWidget& window, BrowserSession& session, FileListView& list,
                           Prompts& prompts, QAction& pack)
    : QObject(&window), FWindow(window), FSession(session), FList(list), FPrompts(prompts) {
    connect(&pack, &QAction::triggered, this, [this] { PackSelectedFiles(); });
    // Whenever the list has rows, in the archive view too.
    FileListModel* model = &FList.Rows();
    const auto update = [model, &pack] {
        pack.setEnabled(model->RowCountValue() > 0);
    };
    connect(model, &QAbstractItemModel::modelReset, this, update);
    connect(model, &QAbstractItemModel::layoutChanged, this, update);
    connect(model, &QAbstractItemModel::rowsInserted, this, update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, update);
    update();
}

QString PackCommands::PackSelectedFiles() {
    FileListModel& model = FList.Rows();
    if (model.RowCountValue() == 0)
        return {};
    const SelectedFiles files = FSession.FilesOfRows(model, FList.SelectedRows());
    if (files.Paths.isEmpty()) {
        FPrompts.Error(&FWindow, files.Unavailable.isEmpty()
                                     ? Translated("There are no Palm files to pack.")
                                     : Translated("These files were not packed:") + u'\n' +
                                           files.Unavailable.join(u'\n'));
        return {};
    }

    const QString folder = FSession.CurrentFolder();
    QString filter = Translated("ZIP archives (*.zip)");
    const QString picked = FPrompts.PickSaveFile(
        &FWindow, Translated("Pack into ZIP"),
        QDir(folder).filePath(DefaultArchiveName(folder, FSession.ArchivePath())), filter, &filter);
    if (picked.isEmpty())
        return {};
    // The save dialog asked about the name it returned; one that gets its suffix here was
    // not asked about.
    const QString archive = WithZipSuffix(picked);
    if (archive != picked && QFileInfo(archive).exists() &&
        !FPrompts.Confirm(&FWindow, FillPlaceholders(Translated("%s already exists. Replace it?"),
                                                     {{u"%s", DisplayName(archive)}})))
        return {};
    const bool replace = QFileInfo(archive).exists();

    WorkProgress progress(&FWindow, FillPlaceholders(Translated("Packing into %s..."),
                                                     {{u"%s", DisplayName(archive)}}));
    const PackResult result =
        PackFiles(PackSourcesOf(files.Paths), archive, replace,
                  [&progress](size_t done, size_t total) { return progress.Step(done, total); });
    progress.Finish();
    if (result.Cancelled)
        return {};

    if (result.Written && !FSession.ArchiveView() &&
        QFileInfo(archive).absolutePath() == QDir(folder).absolutePath())
        Q_EMIT ListedFolderChanged();
    const QString report = PackReportText(archive, result, files.Unavailable);
    if (result.Written && result.Skipped.isEmpty() && files.Unavailable.isEmpty())
        FPrompts.Information(&FWindow, report);
    else
        FPrompts.Error(&FWindow, report);
    return result.Written ? archive : QString();
}
