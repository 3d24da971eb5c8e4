// Brisko: a file manager for Palm OS databases and the archives that hold them.
#include "browser/FileListModel.h"
#include "browser/Prompts.h"
#include "browser/TFBrowser.h"
#include "common/Helpers.h"
#include "i18n/Translate.h"
#include "palmdesktop/udxUserData.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTreeView>
#include <cstdio>
#include <exception>

namespace {

bool IsPalmFile(const QFileInfo& file) {
    const QString suffix = file.suffix();
    return suffix.compare(QStringLiteral("pdb"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QStringLiteral("prc"), Qt::CaseInsensitive) == 0;
}

// A Palm file given at start (a double-click in the desktop's file manager) is selected
// in its folder's list, with its details shown.
void SelectStartFile(TFBrowser& window, Prompts& prompts, const QString& name) {
    FileListModel& model = window.FileModel();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.Row(row).Name != name)
            continue;
        const QModelIndex index = model.index(row, 0);
        window.FileList()->setCurrentIndex(index);
        window.FileList()->scrollTo(index);
        try {
            window.ShowDetails(window.RowPath(row));
        } catch (const std::exception& error) {
            prompts.Error(&window, QString::fromUtf8(error.what()));
        }
        return;
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisko"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brisko"));
    QApplication::setApplicationVersion(QStringLiteral(BRISKO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A file manager for Palm OS databases (.pdb, .prc) and ZIP archives."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QStringLiteral("The folder to list at start, a ZIP archive to open in the list, or a "
                       "Palm file to select in its folder's list."),
        QStringLiteral("[FOLDER | ARCHIVE.zip | FILE.pdb | FILE.prc]"));
    parser.process(app);

    QString startFolder;
    QString startArchive; // an archive is opened after its folder is listed
    QString startFile;    // a Palm file is selected in its folder's list
    if (!parser.positionalArguments().isEmpty()) {
        const QFileInfo start(parser.positionalArguments().first());
        if (start.isFile() && IsZipFile(start.fileName())) {
            startArchive = start.absoluteFilePath();
            startFolder = start.absolutePath();
        } else if (start.isFile() && IsPalmFile(start)) {
            startFile = start.fileName();
            startFolder = start.absolutePath();
        } else if (start.isDir()) {
            startFolder = start.absoluteFilePath();
        } else {
            std::fprintf(stderr, "brisko: %s: no such folder, ZIP archive or Palm file\n",
                         qPrintable(QDir::toNativeSeparators(start.absoluteFilePath())));
            return 2;
        }
    }

    DesktopPrompts prompts;
    const ProgramPaths paths = ProgramPaths::ForThisProgram();
    // The modules start before the window: the Palm Desktop's library (unloaded when
    // userData goes at the end of the program), then translation.
    udxUserData userData(paths.ProgramFolder);
    userData.Start([&prompts](const QString& text) { prompts.Error(nullptr, text); });
    InitTranslation(paths.LocaleFolder());
    TFBrowser window(paths, prompts, startFolder);
    window.show();
    if (!startFile.isEmpty())
        SelectStartFile(window, prompts, startFile);
    if (!startArchive.isEmpty()) {
        try {
            window.OpenArchive(startArchive);
        } catch (const std::exception& error) {
            prompts.Error(&window, QString::fromUtf8(error.what()));
        }
    }
    return app.exec();
}
