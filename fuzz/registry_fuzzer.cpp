// Wine's registry files on any bytes: the reader skips what it cannot parse and never fails.
#include "FuzzInput.h"
#include "palmdesktop/RegistryHive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RegistryHive hive = RegistryHive::Parse(InputBytes(data, size));
    const QString keys[] = {QStringLiteral("Software\\U.S. Robotics\\Pilot Desktop\\Core"),
                            QStringLiteral("Software\\Palm\\Core"), QString(),
                            QStringLiteral("\\")};
    const QString names[] = {QStringLiteral("Path"), QStringLiteral("@"), QString(),
                             QStringLiteral("HotSyncPath")};
    for (const QString& key : keys)
        for (const QString& name : names)
            (void)hive.ReadString(key, name);
    return 0;
}
