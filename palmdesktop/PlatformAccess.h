// What the Palm Desktop binding needs of the platform: the current user's registry, read
// only, and loading a library to look its names up. On Windows these are the system's
// own; elsewhere a Wine prefix stands in (WinePrefix.h). Tests hand in their own.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class UserRegistry {
public:
    virtual ~UserRegistry() = default;
    // A string value under HKEY_CURRENT_USER; nullopt when the key or value is missing.
    virtual std::optional<QString> ReadString(const QString& key, const QString& name) const = 0;
    // The folder a Windows path names, as this program reaches it, with a trailing
    // separator; empty when it cannot be reached.
    virtual QString NativeFolder(const QString& windowsFolder) const = 0;
    // False where there is no registry at all (no Wine prefix), so no Palm Desktop can
    // have been installed; Windows always has one.
    virtual bool Exists() const { return true; }
};

class LibraryLoader {
public:
    using Handle = std::uintptr_t; // 0: none

    virtual ~LibraryLoader() = default;
    // A path, or a bare file name that the platform's library search resolves.
    virtual Handle Load(const QString& pathOrName) = 0;
    // The entry point the library exports under name; 0 when it exports none.
    virtual std::uintptr_t FindSymbol(Handle library, const char* name) = 0;
    virtual void Unload(Handle library) = 0;
};

std::unique_ptr<UserRegistry> PlatformUserRegistry();
std::unique_ptr<LibraryLoader> PlatformLibraryLoader();
