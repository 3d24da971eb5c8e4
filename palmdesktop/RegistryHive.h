// A registry hive as Wine keeps it on disk (user.reg, system.reg): "[key] stamp" lines
// followed by "name"=value lines, with C-like escapes in key names, value names and
// strings. Only what a program reads as a string value is kept: plain strings,
// expandable strings (str(2):"..." or hex(2):...) and hex(1) strings; numbers, binary
// and multi-strings are skipped. Lines that do not parse are skipped too, so a damaged
// file loses only its damaged lines; nothing in the input can make the reader fail.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

class RegistryHive {
public:
    static RegistryHive Parse(const QByteArray& text);

    // The string value name ("" or "@" for the key's default value) of key, a path such
    // as "Software\Vendor\Product" relative to the hive's root. Key paths and value
    // names compare without regard to case, as Windows compares them.
    std::optional<QString> ReadString(const QString& key, const QString& name) const;

private:
    QHash<QString, QHash<QString, QString>> FKeys; // lower-case key -> lower-case name
};
