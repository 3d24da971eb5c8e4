#include "core/InstallCommand.h"

void InstallFileLists::AddInstallFile(const QString& path) {
    const QString quoted = u'"' + path + u'"';
    if (FInstallFileList.isEmpty()) {
        FInstallFileList = path;
        FInstallFileListQuoted = quoted;
    } else {
        FInstallFileList += u' ' + path;
        FInstallFileListQuoted += u' ' + quoted;
    }
}

QString InstallFileLists::Parameters(const QString& toolPath) const {
    return IsPInstall(toolPath) ? FInstallFileListQuoted : u'"' + FInstallFileList + u'"';
}

void InstallFileLists::Clear() {
    FInstallFileList.clear();
    FInstallFileListQuoted.clear();
}

bool IsPInstall(const QString& toolPath) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < toolPath.size(); ++i) {
        const QChar c = toolPath.at(i);
        if (c == u'\\' || c == u'/' || c == u':')
            cut = i;
    }
    QString name = toolPath.mid(cut + 1);
    // Only A to Z are folded, as the original comparison did; other letters stay.
    for (QChar& c : name)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return name == QLatin1String("pinstall.exe");
}
