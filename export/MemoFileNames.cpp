#include "export/MemoFileNames.h"

#include "i18n/Translate.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

constexpr qsizetype MaxNameLength = 60;

bool IsReservedOnWindows(const QString& name) {
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])$"),
        QRegularExpression::CaseInsensitiveOption);
    return reserved.match(name.section(u'.', 0, 0)).hasMatch();
}

// name, or name with " (2)", " (3)", ... before the extension: the first not yet taken.
QString UniqueName(const QString& stem, const QString& extension, QSet<QString>& taken) {
    QString name = stem + extension;
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
        name = stem + u" (" + QString::number(n) + u')' + extension;
    taken.insert(name.toCaseFolded());
    return name;
}

} // namespace

QString SafeFileName(const QString& text, const QString& fallback) {
    QString name;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"/\\:*?\"<>|").contains(c))
            name += u'_';
        else
            name += c;
    }
    name = name.left(MaxNameLength);
    if (name.size() == MaxNameLength && name.back().isHighSurrogate())
        name.chop(1);
    while (!name.isEmpty() && (name.front() == u' ' || name.front() == u'.'))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == u' ' || name.back() == u'.'))
        name.chop(1);
    if (name.isEmpty())
        return fallback;
    if (IsReservedOnWindows(name))
        name += u'_';
    return name;
}

QList<QString> PlanMemoFiles(const QList<Memo>& memos, const CategoryInfo& categories) {
    QHash<int, QString> folders; // category -> its folder
    QSet<QString> takenFolders;
    QHash<QString, QSet<QString>> takenNames; // folder -> names in it
    QList<QString> paths;
    paths.reserve(memos.size());
    const QString unfiled = Translated("Unfiled");
    for (const Memo& memo : memos) {
        const int category = memo.Flags.Category;
        if (!folders.contains(category))
            folders.insert(category, UniqueName(SafeFileName(categories.NameOf(category), unfiled),
                                                QString(), takenFolders));
        const QString& folder = folders[category];
        QString firstLine;
        for (const QStringView line : QStringView(memo.Text).split(u'\n')) {
            firstLine = line.trimmed().toString();
            if (!firstLine.isEmpty())
                break;
        }
        const QString name = UniqueName(SafeFileName(firstLine, Translated("Memo")),
                                        QStringLiteral(".txt"), takenNames[folder]);
        paths << folder + u'/' + name;
    }
    return paths;
}
