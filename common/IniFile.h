// The settings file's INI rules. QSettings cannot be used: it escapes and re-orders keys,
// treats "\" and quotes its own way, and would drop the untouched keys of other programs.
//
// Rules kept here: section names and keys compare without regard to letter case; on
// reading, blanks around a value are dropped and a value in a pair of quotes loses them,
// and a value is read up to 2047 characters; a write replaces a key where it stands,
// appends a missing key to its section and a missing section to the file; everything the
// program does not know stays as it was. Integers may be decimal, "0x" or "$" hexadecimal;
// booleans are written "1" and "0" and read as integers (nonzero is true).
//
// The file is read once into memory and written back by Save() through a temporary file
// and a rename, so a crash or a full disk never leaves half a file.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(QString path);

    // Reads the file; a missing file gives an empty document. Returns false, with
    // ErrorText() naming the file and the cause, when it exists but cannot be read.
    bool Load();
    // Writes the document; throws EWriteError "Unable to write to <path>: <cause>".
    void Save() const;

    const QString& Path() const { return FPath; }
    const QString& ErrorText() const { return FError; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList SectionNames() const;
    QStringList KeyNames(const QString& section) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int64_t ReadInteger(const QString& section, const QString& key, int64_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int64_t value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Whole document as it would be written (lines joined by the platform's line end).
    QByteArray ToBytes() const;
    void FromBytes(const QByteArray& content);

private:
    QString FPath;
    QString FError;
    QStringList FLines; // the file, line by line, as read; writes edit lines in place
};

// Parses an INI integer ("12", "-4", "0x20", "$20"); false when it is none.
bool ParseIniInteger(const QString& text, int64_t& value);
