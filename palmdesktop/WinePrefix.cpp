#include "palmdesktop/WinePrefix.h"

#include "palmdesktop/RegistryHive.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Registry hives and libraries are small; a larger file is no file we want to read.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// Not QFile: a FIFO of that name would hold the start-up in open().
QByteArray ReadSmallFile(const QString& path) {
    QByteArray content;
    QString cause;
    return ReadRegularFile(path, MaxFileSize, &content, &cause) == FileReadOutcome::Read
               ? content
               : QByteArray();
}

QString WithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The entry of folder named name without regard to case; name itself when none is.
QString EntryNoCase(const QString& folder, const QString& name, QDir::Filters kinds) {
    if (QFileInfo::exists(folder + name))
        return name;
    const QStringList entries = QDir(folder).entryList(
        kinds | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

} // namespace

QString FindFileNoCase(const QString& folder, const QString& name) {
    const QString dir = WithSeparator(QDir::fromNativeSeparators(folder));
    const QString path = dir + EntryNoCase(dir, name, QDir::Files);
    return QFileInfo(path).isFile() ? path : QString();
}

WinePrefix::WinePrefix(QString folder) : FFolder(WithSeparator(std::move(folder))) {}

QString WinePrefix::DefaultFolder() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : prefix;
}

std::optional<QString> WinePrefix::ReadString(const QString& key, const QString& name) const {
    // Read anew each time: Wine rewrites the file while its programs run.
    return RegistryHive::Parse(ReadSmallFile(FFolder + QStringLiteral("user.reg")))
        .ReadString(key, name);
}

QString WinePrefix::NativePath(const QString& windowsPath) const {
    if (windowsPath.size() < 2 || !windowsPath[0].isLetter() || windowsPath[0].unicode() > 127 ||
        windowsPath[1] != QLatin1Char(':'))
        return QString();
    const QString drive = windowsPath.left(2).toLower();
    QString path;
    if (QFileInfo(FFolder + QStringLiteral("dosdevices/") + drive).isDir())
        path = FFolder + QStringLiteral("dosdevices/") + drive;
    else if (drive == QLatin1String("c:") && QFileInfo(FFolder + QStringLiteral("drive_c")).isDir())
        path = FFolder + QStringLiteral("drive_c");
    else
        return QString();

    QStringList parts;
    const QStringList given =
        windowsPath.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
    for (const QString& part : given) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    for (const QString& part : parts)
        path += QLatin1Char('/') + EntryNoCase(path + QLatin1Char('/'), part, QDir::AllEntries);
    return path;
}

QString WinePrefix::NativeFolder(const QString& windowsFolder) const {
    const QString path = NativePath(windowsFolder);
    return path.isEmpty() ? QString() : WithSeparator(path);
}

QStringList WinePrefix::LibrarySearchFolders() const {
    QStringList folders;
    for (const char* folder :
         {"C:\\windows\\system32", "C:\\windows\\syswow64", "C:\\windows\\system", "C:\\windows"}) {
        const QString native = NativeFolder(QString::fromLatin1(folder));
        if (!native.isEmpty())
            folders << native;
    }
    return folders;
}

PeLibraryLoader::PeLibraryLoader(QStringList searchFolders)
    : FSearchFolders(std::move(searchFolders)) {}

LibraryLoader::Handle PeLibraryLoader::Load(const QString& pathOrName) {
    QString path;
    const QFileInfo given(pathOrName);
    if (pathOrName.contains(QLatin1Char('/'))) {
        path = FindFileNoCase(given.path(), given.fileName());
    } else {
        for (const QString& folder : std::as_const(FSearchFolders)) {
            path = FindFileNoCase(folder, pathOrName);
            if (!path.isEmpty())
                break;
        }
    }
    if (path.isEmpty())
        return 0;
    const PeExportTable table = ReadPeExports(ReadSmallFile(path));
    if (!table.Valid)
        return 0;
    QHash<QByteArray, uint32_t> names;
    for (const PeExport& entry : table.Exports)
        if (entry.Rva != 0)
            names.insert(QByteArray::fromStdString(entry.Name), entry.Rva);
    const Handle handle = FNextHandle++;
    FLoaded.emplace(handle, std::move(names));
    return handle;
}

std::uintptr_t PeLibraryLoader::FindSymbol(Handle library, const char* name) {
    const auto loaded = FLoaded.find(library);
    if (loaded == FLoaded.end())
        return 0;
    return loaded->second.value(QByteArray(name), 0);
}

void PeLibraryLoader::Unload(Handle library) {
    FLoaded.erase(library);
}

#ifndef Q_OS_WIN
std::unique_ptr<UserRegistry> PlatformUserRegistry() {
    return std::make_unique<WinePrefix>(WinePrefix::DefaultFolder());
}

std::unique_ptr<LibraryLoader> PlatformLibraryLoader() {
    return std::make_unique<PeLibraryLoader>(
        WinePrefix(WinePrefix::DefaultFolder()).LibrarySearchFolders());
}
#endif
