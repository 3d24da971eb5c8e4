#include "core/PackTexts.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "zip/ZipPacking.h"

#include <QDir>
#include <QFileInfo>

QString DefaultArchiveName(const QString& folder, const QString& shownArchive) {
    QString base = shownArchive.isEmpty() ? QDir(folder).dirName()
                                          : QFileInfo(shownArchive).completeBaseName();
    if (base.isEmpty() || base == QStringLiteral("/"))
        base = Translated("Palm files");
    const QStringList taken = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    return UniqueEntryName(base + QStringLiteral(".zip"), taken);
}

QString WithZipSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".zip") : path;
}

QString PackReportText(const QString& archive, const PackResult& result,
                       const QStringList& unavailable) {
    const QStringList skipped = unavailable + result.Skipped;
    QString text;
    if (result.Written) {
        const auto packed = static_cast<unsigned long>(result.Packed.size());
        text = FillPlaceholders(TranslatedPlural("%d file was packed into %s:",
                                                 "%d files were packed into %s:", packed),
                                {{u"%d", QString::number(packed)}, {u"%s", DisplayName(archive)}});
        for (const QString& name : result.Packed.mid(0, MaxNamesShown))
            text += u'\n' + name;
        if (result.Packed.size() > MaxNamesShown) {
            const auto more = static_cast<unsigned long>(result.Packed.size() - MaxNamesShown);
            text += u'\n' + FillPlaceholders(TranslatedPlural("and %d more", "and %d more", more),
                                             {{u"%d", QString::number(more)}});
        }
    } else {
        text = result.Error;
    }
    if (!skipped.isEmpty())
        text += QStringLiteral("\n\n") + Translated("These files were not packed:") + u'\n' +
                skipped.join(u'\n');
    return text;
}
