// The creator catalogue: for each creator ID met in a Palm header, the program it
// belongs to, a description and a web address, as the user entered them. Kept in
// "CreatorIDs.ini", one section per creator ID with the keys Program, Description, URL.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

// One entry. CreatorID holds the header's bytes (Palm character set); the other texts
// are what the user typed, UTF-8 encoded.
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
    // Exact, byte-for-byte match searched from the last entry back; -1 when none.
    int FindLink(const std::string& creatorID) const;
    int AddLink(TLinks entry);
    void UpdateLink(const std::string& creatorID, const std::string& program,
                    const std::string& description, const std::string& url, int index);
    void ClearLinks();

    // Reads the file into the catalogue; a missing file leaves it as it is. Returns false,
    // with ErrorText() naming the file and the cause, when the file cannot be read.
    bool LoadCreatorIDs(const QString& path);
    // Merges the catalogue into the file's present content and writes it back through a
    // temporary file. Throws EWriteError naming the file and the cause.
    void SaveCreatorIDs(const QString& path) const;

    const QString& ErrorText() const { return FError; }

private:
    std::vector<std::unique_ptr<TLinks>> FLinks;
    QString FError;
};
