// The Windows side of the platform access: HKEY_CURRENT_USER and LoadLibrary.
#include "palmdesktop/PlatformAccess.h"

#include <QDir>
#include <windows.h>

namespace {

class WindowsRegistry : public UserRegistry {
public:
    std::optional<QString> ReadString(const QString& key, const QString& name) const override {
        const std::wstring k = key.toStdWString();
        const std::wstring n = name.toStdWString();
        const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), flags, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        size = DWORD(value.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CURRENT_USER, k.c_str(), n.c_str(), flags, nullptr, value.data(),
                         &size) != ERROR_SUCCESS)
            return std::nullopt;
        return QString::fromWCharArray(value.c_str());
    }
    QString NativeFolder(const QString& windowsFolder) const override {
        return QDir::toNativeSeparators(windowsFolder);
    }
};

class WindowsLibraryLoader : public LibraryLoader {
public:
    Handle Load(const QString& pathOrName) override {
        const std::wstring path = QDir::toNativeSeparators(pathOrName).toStdWString();
        return reinterpret_cast<Handle>(LoadLibraryW(path.c_str()));
    }
    std::uintptr_t FindSymbol(Handle library, const char* name) override {
        return reinterpret_cast<std::uintptr_t>(
            GetProcAddress(reinterpret_cast<HMODULE>(library), name));
    }
    void Unload(Handle library) override { FreeLibrary(reinterpret_cast<HMODULE>(library)); }
};

} // namespace

std::unique_ptr<UserRegistry> PlatformUserRegistry() {
    return std::make_unique<WindowsRegistry>();
}

std::unique_ptr<LibraryLoader> PlatformLibraryLoader() {
    return std::make_unique<WindowsLibraryLoader>();
}
