// Brisko: a file manager for Palm OS databases and the archives that hold them.
#include "app/StartArguments.h"
#include "common/Helpers.h"
#include "core/FileListModel.h"
#include "gui/DesktopPrompts.h"
#include "gui/TFBrowser.h"
#include "i18n/Translate.h"
#include "palmdesktop/udxUserData.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QFileInfo>
#include <QTreeView>
#include <cstdio>
#include <exception>

namespace {

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

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Brisko"));
    QApplication::setApplicationVersion(QStringLiteral(BRISKO_VERSION));
    // Read before the application object, which needs a display: help, version and a
    // mistyped path answer in any terminal.
    StartArguments start;
    {
        // From argv's bytes: QCoreApplication::arguments() loses those of a name that is
        // not UTF-8, and such a file could then not be found.
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << DecodePath(QByteArray(argv[i]));
        start = ParseStartArguments(arguments);
    }
    if (start.What == StartArguments::Action::ShowText) {
        std::fputs(qPrintable(start.Text), stdout);
        return 0;
    }
    if (start.What == StartArguments::Action::Fail) {
        std::fputs(qPrintable(start.Text), stderr);
        return 2;
    }

    QApplication app(argc, argv);
    DesktopPrompts prompts;
    ProgramPaths paths = ProgramPaths::ForThisProgram();
    // The modules start before the window: the Palm Desktop's library (unloaded when
    // userData goes at the end of the program), then translation.
    udxUserData userData(paths.ProgramFolder);
    userData.Start([&prompts](const QString& text) { prompts.Error(nullptr, text); });
    paths.PalmDesktopMissing = userData.PalmDesktopMissing();
    InitTranslation(paths.LocaleFolder());
    TFBrowser window(paths, prompts, start.Folder);
    window.show();
    if (!start.File.isEmpty())
        SelectStartFile(window, prompts, start.File);
    if (!start.Archive.isEmpty()) {
        try {
            window.OpenArchive(start.Archive);
        } catch (const std::exception& error) {
            prompts.Error(&window, QString::fromUtf8(error.what()));
        }
    }
    return app.exec();
}
