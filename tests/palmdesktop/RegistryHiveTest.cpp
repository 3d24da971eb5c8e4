// The reader of Wine's registry files on a hive written here: escapes, value kinds,
// continued hex data, letter case, missing keys, and damage.
#include "palmdesktop/RegistryHive.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// A user.reg as Wine writes it.
const QByteArray Hive = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

[Software\\U.S. Robotics\\Pilot Desktop\\Core] 1700000000
#time=1d9a0f5c2b3e4f0
"HotSyncPath"="C:\\Program Files\\Palm\\HotSync.exe"
"Quoted"="say \"hi\"\tnow \101\x00fc\x42c"
"Count"=dword:00000003
"Expand"=str(2):"%ProgramFiles%\\Palm"
"Continued"=hex(2):43,00,3a,00,5c,00,50,00,\
  61,00,6c,00,6d,00,00,00
@="the default"

[Software\\Broken] 1700000002
"Unterminated"="no end
"Good"="after the damage"
)";

} // namespace

TEST(RegistryHive, ReadsStringValuesAndSkipsTheRest) {
    const RegistryHive hive = RegistryHive::Parse(Hive);
    const QString core = QStringLiteral("Software\\U.S. Robotics\\Pilot Desktop\\Core");
    const QString path = QStringLiteral("C:\\Program Files\\Palm\\HotSync.exe");
    const std::vector<std::tuple<QString, const char*, std::optional<QString>>> cases = {
        {core, "HotSyncPath", path},
        {core.toUpper(), "hotsyncpath", path},
        {QStringLiteral("\\Software/U.S. Robotics\\Pilot Desktop\\Core\\"), "HotSyncPath", path},
        {core, "Quoted", QString::fromUtf8("say \"hi\"\tnow A\u00fc\u042c")},
        {core, "Expand", QStringLiteral("%ProgramFiles%\\Palm")},
        {core, "Continued", QStringLiteral("C:\\Palm")},
        {core, "@", QStringLiteral("the default")},
        {core, "Count", std::nullopt},
        {core, "Missing", std::nullopt},
        {QStringLiteral("Software\\U.S. Robotics"), "HotSyncPath", std::nullopt},
        {QStringLiteral("Software\\Broken"), "Unterminated", std::nullopt},
        {QStringLiteral("Software\\Broken"), "Good", QStringLiteral("after the damage")},
    };
    for (const auto& [key, name, expected] : cases)
        EXPECT_EQ(hive.ReadString(key, QString::fromLatin1(name)), expected)
            << key.toStdString() << " / " << name;
}

// Random damage and cuts: the reader keeps going and never fails.
TEST(RegistryHive, SurvivesRandomDamage) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text = Hive;
        for (int hits = 1 + int(random() % 6); hits > 0; --hits)
            text[qsizetype(random() % uint32_t(text.size()))] = char(random());
        text.truncate(qsizetype(random() % uint32_t(text.size() + 1)));
        (void)RegistryHive::Parse(text).ReadString(QStringLiteral("Software"),
                                                   QStringLiteral("HotSyncPath"));
    }
}
