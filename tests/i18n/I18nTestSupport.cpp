#include "I18nTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <clocale>
#include <stdexcept>

void SetLanguageEnvironment(const QByteArray& lang) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        qunsetenv(name);
    if (lang.isEmpty())
        qunsetenv("LANG");
    else
        qputenv("LANG", lang);
    // A LANG whose locale is not installed leaves "C", as it does at a program's start.
    if (!std::setlocale(LC_ALL, ""))
        std::setlocale(LC_ALL, "C");
}

QString CopyBuiltCatalogues(const QString& folder) {
    const QString from = QStringLiteral(BRISKO_LOCALE_DIR);
    const QString to = folder + QStringLiteral("/locale");
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    int copied = 0;
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        copied += QFile::copy(file, target);
    }
    if (copied == 0)
        throw std::runtime_error("no catalogues in " BRISKO_LOCALE_DIR);
    return to;
}
