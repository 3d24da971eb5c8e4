// Brisko: a file manager for Palm OS databases and the archives that hold them.
#include "browser/FileListModel.h"
#include "browser/Prompts.h"
#include "browser/TFBrowser.h"
#include "common/Helpers.h"
#include "i18n/Translate.h"
#include "palmdesktop/udxUserData.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTreeView>
#include <cstdio>
#include <exception>
#include <sys/stat.h>

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
        // By the file name's bytes: a row's Name is only its text when they are not UTF-8.
        if (QFileInfo(window.RowPath(row)).fileName() != name)
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

// S_IFREG, S_IFDIR, another kind, or 0 when there is nothing; by the path's bytes.
int FileKind(const QString& path) {
    struct stat info {};
    return ::stat(EncodePath(path).constData(), &info) == 0 ? int(info.st_mode & S_IFMT) : 0;
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
    // From argv's bytes: QCoreApplication::arguments() loses those of a name that is not
    // UTF-8, and such a file could then not be found.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << DecodePath(QByteArray(argv[i]));
    parser.process(arguments);

    QString startFolder;
    QString startArchive; // an archive is opened after its folder is listed
    QString startFile;    // a Palm file is selected in its folder's list
    if (!parser.positionalArguments().isEmpty()) {
        const QFileInfo start(parser.positionalArguments().first());
        const int kind = FileKind(start.absoluteFilePath());
        if (kind == S_IFREG && IsZipFile(start.fileName())) {
            startArchive = start.absoluteFilePath();
            startFolder = start.absolutePath();
        } else if (kind == S_IFREG && IsPalmFile(start)) {
            startFile = start.fileName();
            startFolder = start.absolutePath();
        } else if (kind == S_IFDIR) {
            startFolder = start.absoluteFilePath();
        } else {
            std::fprintf(
                stderr, "brisko: %s: no such folder, ZIP archive or Palm file\n",
                qPrintable(DisplayName(QDir::toNativeSeparators(start.absoluteFilePath()))));
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
