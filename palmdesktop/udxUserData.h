// The binding to the Palm Desktop's user data library, userdata.dll: loaded while the
// program starts, its functions looked up (never called), unloaded when the program
// ends. Found beside the program, else in the HotSync folder that the Palm Desktop
// records in the registry, else by the platform's library search.
#pragma once

#include "palmdesktop/PlatformAccess.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

// The library's functions, in the order they are looked up.
inline constexpr std::array<const char*, 37> UserDataFunctionNames{
    "UmGetLibVersion",
    "UmGetUserCount",
    "UmGetUserID",
    "UmGetUserName",
    "UmGetUserDirectory",
    "UmGetUserPassword",
    "UmIsUserInstalled",
    "UmIsUserProfile",
    "UmSetUserName",
    "UmSetUserDirectory",
    "UmSetUserInstall",
    "UmSetUserPermSyncPreferences",
    "UmSetUserTempSyncPreferences",
    "UmGetUserPermSyncPreferences",
    "UmGetUserTempSyncPreferences",
    "UmRemoveUserTempSyncPreferences",
    "UmDeleteUserPermSyncPreferences",
    "UmDeleteUserTempSyncPreferences",
    "UmAddUser",
    "UmDeleteUser",
    "UmGetRootDirectory",
    "UmIsInstallMaskSet",
    "UmClearInstallMask",
    "UmSetInstallMask",
    "UmGetString",
    "UmSetString",
    "UmGetInteger",
    "UmSetInteger",
    "UmDeleteKey",
    "UmGetIDFromPath",
    "UmGetIDFromName",
    "UmSlotGetExpMgrVersion",
    "UmSlotGetSlotCount",
    "UmSlotGetInfo",
    "UmSlotGetMediaType",
    "UmSlotGetDisplayName",
    "UmSlotGetInstallDirectory",
};

// Shown at start-up when the library cannot be loaded; deliberately not translated.
inline constexpr char UserDataLoadError[] = "udxUserData: Unable to load userdata.dll";

class udxUserData {
public:
    // programFolder: the folder of the program's file.
    udxUserData(QString programFolder, std::unique_ptr<UserRegistry> registry,
                std::unique_ptr<LibraryLoader> loader);
    // The platform's registry and library loading.
    explicit udxUserData(QString programFolder);
    // The end of the unit: unloads the library when it is loaded.
    ~udxUserData();
    udxUserData(const udxUserData&) = delete;
    udxUserData& operator=(const udxUserData&) = delete;

    // The start of the unit: loads the library and, when that fails, shows
    // UserDataLoadError through showError, unless no Palm Desktop can be there at all
    // (PalmDesktopMissing). Start-up goes on either way.
    void Start(const std::function<void(const QString&)>& showError);
    // Nothing of a Palm Desktop: no library beside the program and no registry entry of
    // one (on Linux, no Wine prefix or one without the Palm Desktop's entry). Not an error
    // on such a desktop, where the install commands work with a tool chosen by the user.
    // A registry that names a HotSync folder, or a library that lacks functions, is a
    // Palm Desktop half there: that is reported.
    bool PalmDesktopMissing() const;

    // Does nothing when the library is loaded. A library that lacks one of the functions
    // counts as not loaded (and is unloaded again): it is not the Palm Desktop's.
    void LoadUserData();
    bool UserDataLoaded() const { return FHandle != 0; }
    // The file the library was loaded from (or, for a bare name, the name).
    const QString& LibraryPath() const { return FLibraryPath; }
    // The entry points in UserDataFunctionNames' order (where the library cannot run in
    // the process, the addresses its export table gives); all 0 while not loaded.
    const std::array<std::uintptr_t, 37>& EntryPoints() const { return FEntryPoints; }

    // The folder of the program's file, ending with a separator.
    QString ProgramFolder() const;
    // The folder of the HotSync program that the registry names, ending with a
    // separator, or empty when the registry names none (or none that can be reached).
    // Found once, then kept until the end.
    QString HotSyncFolder();

private:
    void Unload();

    QString FProgramFolder;
    std::unique_ptr<UserRegistry> FRegistry;
    std::unique_ptr<LibraryLoader> FLoader;
    LibraryLoader::Handle FHandle = 0;
    QString FLibraryPath;
    std::array<std::uintptr_t, 37> FEntryPoints{};
    QString FHotSyncFolder;
};
