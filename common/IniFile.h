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
//
// Where the format cannot hold a text, writing adapts it so that the file keeps its shape:
// line breaks in names and values become blanks (a folder name must not be able to add
// lines of its own), and a value with blanks at either end or in a pair of quotes is
// written in one more pair of quotes, so that it reads back as it was written.
// Lines that are not valid UTF-8 (a file from an 8-bit Windows program) are read as
// Windows-1252 rather than lost.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(QString path);

    // Reads the file; a missing file gives an empty document. Returns false, with
    // ErrorText() naming the file and the cause, when it exists but cannot be read; the
    // document is then empty.
    bool Load();
    // Writes the document; throws EWriteError "Unable to write to <path>: <cause>". After a
    // failed Load it refuses, so that a file that could not be read is never replaced by
    // the few keys written since.
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

    // A key must not contain "=" nor begin with ";" or "[" (std::invalid_argument).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int64_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Removes every line of the key from the first section of that name; the section
    // itself stays. Nothing happens when either is missing.
    void DeleteKey(const QString& section, const QString& key);

    // Whole document as it would be written (lines joined by the platform's line end).
    QByteArray ToBytes() const;
    void FromBytes(const QByteArray& content);

private:
    struct Section {
        QString Name;     // between the brackets, blanks dropped
        qsizetype Header; // line of "[name]"
        qsizetype End;    // one past its last line: the next section's header or the end
    };

    void Reindex();
    qsizetype FindSection(const QString& section) const;            // index into FSections or -1
    qsizetype FindKey(qsizetype section, const QString& key) const; // line or -1
    void InsertLine(qsizetype position, const QString& line);
    void RemoveLine(qsizetype position);

    QString FPath;
    QString FError;
    bool FLoadFailed = false;
    QStringList FLines; // the file, line by line, as read; writes edit lines in place
    // Index over FLines, so that a catalogue of thousands of sections is not searched
    // line by line for every key.
    std::vector<Section> FSections;
    QHash<QString, qsizetype> FFirstSection; // folded name -> first section of that name
};

// Parses an INI integer ("12", "-4", "0x20", "$20"); false when it is none.
bool ParseIniInteger(const QString& text, int64_t& value);
