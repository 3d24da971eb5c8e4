#include "palmdesktop/udxUserData.h"

#include "palmdesktop/WinePrefix.h"

#include <QDir>

namespace {

constexpr char CoreKey[] = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr char LibraryName[] = "userdata.dll";

} // namespace

udxUserData::udxUserData(QString programFolder, std::unique_ptr<UserRegistry> registry,
                         std::unique_ptr<LibraryLoader> loader)
    : FProgramFolder(std::move(programFolder)), FRegistry(std::move(registry)),
      FLoader(std::move(loader)) {}

udxUserData::udxUserData(QString programFolder)
    : udxUserData(std::move(programFolder), PlatformUserRegistry(), PlatformLibraryLoader()) {}

udxUserData::~udxUserData() {
    Unload();
    FHotSyncFolder.clear();
}

void udxUserData::Start(const std::function<void(const QString&)>& showError) {
    LoadUserData();
    if (!UserDataLoaded() && !PalmDesktopMissing() && showError)
        showError(QString::fromLatin1(UserDataLoadError));
}

bool udxUserData::PalmDesktopMissing() const {
#ifdef Q_OS_WIN
    // Windows always has a registry; a missing library there is always reported.
    const bool registryNamesPalmDesktop = FRegistry->Exists();
#else
    // A Wine prefix is there for any Windows program; only the Palm Desktop's entry
    // says that one was installed in it.
    const bool registryNamesPalmDesktop =
        FRegistry->Exists() &&
        FRegistry->ReadString(QString::fromLatin1(CoreKey), QStringLiteral("HotSyncPath"));
#endif
    return !UserDataLoaded() && !registryNamesPalmDesktop &&
           FindFileNoCase(ProgramFolder(), QString::fromLatin1(LibraryName)).isEmpty();
}

QString udxUserData::ProgramFolder() const {
    const QString folder = QDir::fromNativeSeparators(FProgramFolder);
    return QDir::toNativeSeparators(folder.endsWith(QLatin1Char('/')) ? folder
                                                                      : folder + QLatin1Char('/'));
}

QString udxUserData::HotSyncFolder() {
    if (!FHotSyncFolder.isEmpty())
        return FHotSyncFolder;
    const auto value =
        FRegistry->ReadString(QString::fromLatin1(CoreKey), QStringLiteral("HotSyncPath"));
    if (!value)
        return QString();
    // The value names the HotSync program: its folder is everything up to the last
    // backslash or drive colon (a slash serves Windows as well).
    qsizetype end = -1;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char(':'), QLatin1Char('/')})
        end = std::max(end, value->lastIndexOf(separator));
    QString folder = value->left(end + 1);
    if (folder.isEmpty())
        return QString();
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('\\');
    FHotSyncFolder = FRegistry->NativeFolder(folder);
    return FHotSyncFolder;
}

void udxUserData::LoadUserData() {
    if (UserDataLoaded())
        return;
    const QString name = QString::fromLatin1(LibraryName);
    QString path = FindFileNoCase(ProgramFolder(), name);
    if (path.isEmpty())
        path = HotSyncFolder() + name; // the bare name when the folder is empty
    FHandle = FLoader->Load(path);
    if (FHandle == 0)
        return;
    FLibraryPath = path;
    for (size_t i = 0; i < UserDataFunctionNames.size(); ++i) {
        FEntryPoints[i] = FLoader->FindSymbol(FHandle, UserDataFunctionNames[i]);
        if (FEntryPoints[i] == 0) {
            Unload();
            return;
        }
    }
}

void udxUserData::Unload() {
    if (FHandle != 0)
        FLoader->Unload(FHandle);
    FHandle = 0;
    FLibraryPath.clear();
    FEntryPoints.fill(0);
}
