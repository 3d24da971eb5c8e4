// The creator catalogue: for each creator ID met in a Palm header, the program it
// belongs to, a description and a web address, as the user entered them. Kept in
// "CreatorIDs.ini", one section per creator ID with the keys Program, Description, URL.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One entry. CreatorID holds the header's bytes (Palm character set); the other texts
// are bytes as the file holds them: UTF-8, or Windows-1252 in a file written on Windows
// (shown through Utf8OrWindows1252ToQString), and UTF-8 where the user typed them.
struct TLinks {
    std::string CreatorID;
    std::string Program;
    std::string Description;
    std::string URL;
};

// The ordered catalogue. Entries keep the order in which they were added and are never
// sorted or removed during a run; the same creator ID may stand twice.
class ListeDerLinks {
public:
    int LinkCount() const { return static_cast<int>(FLinks.size()); }
    // nullptr outside 0..LinkCount()-1.
    const TLinks* LinkAt(int index) const;
    // The highest index whose CreatorID equals the text byte for byte; -1 when none.
    // Runs once per listed file, hence the index behind it.
    int FindLink(const std::string& creatorID) const;
    // Appends the entry; returns its index.
    int AddLink(TLinks entry);
    // Overwrites all four texts of the entry at index; an index out of range changes nothing.
    void UpdateLink(const std::string& creatorID, const std::string& program,
                    const std::string& description, const std::string& url, int index);
    void ClearLinks();

    // Appends one entry per section of the file, in file order; a missing file adds
    // nothing. Returns false, with ErrorText() "Unable to read <path>: <cause>" and the
    // catalogue unchanged, when the file exists but cannot be read.
    bool LoadCreatorIDs(const QString& path);
    // Merges the catalogue into the file's present content (sections, comments and lines
    // of others stay) and writes it back through a temporary file. Entries whose CreatorID
    // could not be read back as itself (empty, line breaks, NUL, blanks at either end)
    // are not written. Throws EWriteError naming the file and the cause; a present file
    // that cannot be read is not replaced.
    void SaveCreatorIDs(const QString& path) const;

    const QString& ErrorText() const { return FError; }

private:
    std::vector<std::unique_ptr<TLinks>> FLinks;
    std::unordered_map<std::string, int> FLastIndex; // CreatorID -> highest index
    QString FError;
};
