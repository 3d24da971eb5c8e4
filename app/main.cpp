// Brisko: a file manager for Palm OS databases and the archives that hold them.
#include "browser/Prompts.h"
#include "browser/TFBrowser.h"
#include "i18n/Translate.h"
#include "palmdesktop/udxUserData.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

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
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The folder to list at start."));
    parser.process(app);

    QString startFolder;
    if (!parser.positionalArguments().isEmpty()) {
        startFolder = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
        if (!QFileInfo(startFolder).isDir()) {
            std::fprintf(stderr, "brisko: %s: no such folder\n",
                         qPrintable(QDir::toNativeSeparators(startFolder)));
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
    return app.exec();
}
