// "CreatorIDs.ini" as an image in memory, read and written by rules of its own rather than
// by QSettings or the settings file's IniFile: the file holds 8-bit bytes that must come
// back exactly (creator IDs are Palm bytes, not text in any one encoding), values keep
// their quotes, nothing is escaped, and section names are matched byte for byte because
// creator IDs differing only in letter case are different programs on the handheld.
//
// Reading: byte order marks at the start are set aside (and written back as they were);
// every line loses the bytes up to and including blank (control characters, blanks) at
// both ends; empty lines are dropped; "[name]" opens a section named by the
// trimmed text between the brackets; any other line belongs to the open section (or to
// the lines before the first section), as "key=value" (both trimmed, key compared without
// regard to ASCII letter case) or as a bare line. Lines starting with ";" are comments:
// they are no keys, but they keep their place, as do the lines before the first section.
//
// Writing: the lines before the first section, then each section as its header line, its
// lines and one empty line; every line ends in CR LF.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CreatorIdsFile {
public:
    // Replaces the image by the parsed content. Any bytes are accepted.
    void Parse(std::string_view content);
    // The image as the file's bytes.
    std::string ToBytes() const;

    // Reads and parses the file. A missing file gives an empty image. Returns false, with
    // the cause in `cause` and the image empty, when the file exists but cannot be read.
    bool Read(const QString& path, QString& cause);

    // Section names in file order, every occurrence included.
    std::vector<std::string> SectionNames() const;
    // The value of `key` in the first section named exactly `section`: the first line of
    // that key counts. Empty when either is missing.
    std::string Value(const std::string& section, std::string_view key) const;
    // Sets `key` in the first section named exactly `section`: its first line of that key
    // is replaced where it stands, spelled as `key`; otherwise the line is appended to the
    // section, and a missing section to the file. CR, LF and NUL inside the value would
    // break the line and are written as blanks; blanks at its ends are dropped, as reading
    // would drop them. Returns false, changing nothing, for a section name that would not
    // read back as itself (see IsWritableSectionName).
    bool SetValue(const std::string& section, std::string_view key, std::string_view value);

    // A name is written only when its header line reads back as the same name: not empty,
    // no CR, LF or NUL, and no blank or control character at either end.
    static bool IsWritableSectionName(std::string_view name);

private:
    struct Section {
        std::string Name;
        std::vector<std::string> Lines; // trimmed, as read or as set
    };

    const Section* FindSection(const std::string& name) const;

    std::string FByteOrderMarks;            // as found at the start
    std::vector<std::string> FLeadingLines; // before the first section
    std::vector<Section> FSections;
    std::unordered_map<std::string, size_t> FFirstSection; // name -> index in FSections
};
