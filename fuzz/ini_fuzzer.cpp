// The settings file's reader on any bytes, then a write into the document: every key
// reads back as written, and writing the document again changes nothing.
#include "FuzzInput.h"
#include "common/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniFile ini;
    ini.FromBytes(InputBytes(data, size));
    for (const QString& section : ini.SectionNames())
        for (const QString& key : ini.KeyNames(section)) {
            (void)ini.ReadString(section, key, QString());
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
        }

    // Values that need the writer's care: quotes, blanks at the ends, "%d", non-ASCII.
    const QString section = QStringLiteral("Brisko");
    const QString folder = QString::fromUtf8(" \"/home/ana/Palm Backups\" %d \u00e9 ");
    ini.WriteString(section, QStringLiteral("CurrentFolder"), folder);
    ini.WriteInteger(section, QStringLiteral("Width"), -1234567890123);
    ini.WriteBool(QStringLiteral("New Section"), QStringLiteral("Shown"), true);
    ini.DeleteKey(section, QStringLiteral("Gone"));

    const QByteArray written = ini.ToBytes();
    IniFile again;
    again.FromBytes(written);
    if (again.ReadString(section, QStringLiteral("CurrentFolder"), QString()) != folder ||
        again.ReadInteger(section, QStringLiteral("Width"), 0) != -1234567890123 ||
        !again.ReadBool(QStringLiteral("New Section"), QStringLiteral("Shown"), false))
        Broken("a written key does not read back as written");
    if (again.ToBytes() != written)
        Broken("reading and writing the written document changes it");
    return 0;
}
