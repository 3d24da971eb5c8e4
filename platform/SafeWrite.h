// Writing files so that nothing is lost or damaged when a write fails half-way: the new
// content goes to a temporary name in the target folder and takes the real name only
// when it is complete. Names inside a folder are resolved relative to the open folder,
// never through a symbolic link, so that a link planted in the folder cannot redirect
// a write.
//
// Our own module because QSaveFile follows a link at the target name, and QFile::copy
// and QFile::rename cannot refuse to replace a file atomically.
//
// This header is the interface; SafeWrite.cpp is its POSIX implementation (Linux and the
// BSDs), the only one there is. A Windows implementation would be another .cpp of this
// interface (on CreateFileW and MoveFileExW, a HANDLE where this one hands out a
// descriptor); none is built or tested.
#pragma once

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <QString>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

// The calls that can fail in ways a test cannot provoke on a healthy disk (a full disk,
// a target on another file system); tests replace them.
struct FileSystemCalls {
    // Like ::write: bytes written, or -1 with the cause in errno.
    std::function<long(int fd, const void* data, size_t size)> Write;
    // Renames a file; replace false fails with EEXIST when the target exists. Returns 0
    // or the errno value (EXDEV when the two lie on different file systems).
    std::function<int(const QString& from, const QString& to, bool replace)> Rename;

    // The platform's calls.
    static const FileSystemCalls& Real();
};

// What a name in a folder is, the name itself looked at (a link is not followed).
enum class EntryKind {
    None,
    Folder,
    WriteProtectedFile, // a regular file no one may write
    Other,              // any other file, a link among them
};

// An open folder. Names inside it are opened without following links.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // Opens a folder the program was given (links in the path are followed: the path is
    // trusted, what lies inside it is not).
    static FolderHandle Open(const QString& path, QString* error);
    // Opens the subfolder name, making it first when create is true; fails when name is
    // a link or anything but a folder. made tells whether this call made it.
    FolderHandle OpenSub(const QString& name, bool create, QString* error,
                         bool* made = nullptr) const;

    // Puts the folder's entries on the disk: a name just given or taken away survives a
    // power cut. File systems that cannot sync a folder count as done.
    bool Sync(QString* error) const;
    // The permission bits of what name leads to in the folder; nothing when there is none.
    std::optional<unsigned> PermissionsOf(const QString& name) const;
    // True when name leads, through links too, to the file that facts describe.
    bool LeadsTo(const QString& name, const FileFacts& facts) const;
    EntryKind KindOf(const QString& name) const;

    bool IsValid() const { return FFd >= 0; }
    int Fd() const { return FFd; }
    const QString& Path() const { return FPath; } // with a trailing separator

private:
    int FFd = -1;
    QString FPath;
};

// A file under a fresh temporary name in a folder, given its real name by Commit; when
// it is dropped uncommitted the temporary file is removed. A program killed in between
// leaves it behind under a name of its own pattern (".brisko-<random>.part"), held
// (flock) while this object lives, so that RemoveAbandonedTemporaries can tell such a
// leftover from a file another running copy of the program is still writing. In a folder
// that only this program writes to, a file that does not exist yet may be written under
// its own name instead (CreateNew), which spares the rename; uncommitted, it is removed
// just the same.
class PendingFile {
public:
    explicit PendingFile(const FileSystemCalls& calls = FileSystemCalls::Real()) : FCalls(calls) {}
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The folder must outlive this object. mode as for open(2), before the umask.
    bool Create(const FolderHandle& folder, QString* error, unsigned mode = 0666);
    // Makes the file name itself; fails with existed set when anything of that name is
    // there (a link too, which is never followed). Commit then only keeps it.
    bool CreateNew(const FolderHandle& folder, const QString& name, QString* error, bool* existed,
                   unsigned mode = 0666);
    bool Write(const char* data, size_t size, QString* error);
    // Sets the last-write time and (when given) the permission bits; with sync the data
    // is on the disk before this returns, and Commit puts the new name there too.
    // Closes the file.
    bool Finish(std::optional<std::time_t> modified, std::optional<unsigned> mode, bool sync,
                QString* error);
    // Gives the finished file its name in the folder. replace false fails (EEXIST, with
    // existed set) when anything of that name is there; replace true puts the new file
    // in the place of the old one in one step.
    bool Commit(const QString& name, bool replace, QString* error, bool* existed = nullptr);

    const QString& TemporaryPath() const { return FTempPath; }

private:
    void Discard();
    void Release();

    const FileSystemCalls& FCalls;
    const FolderHandle* FFolder = nullptr;
    int FFd = -1;
    int FHoldFd = -1; // keeps the lock on the temporary file until it is named or removed
    bool FSynced = false;
    QByteArray FTempName;
    QString FTempPath;
    bool FCommitted = false;
    bool FUnderItsName = false; // made by CreateNew
};

// The names in an open folder, as the file system gives them, without "." and "..".
std::vector<QByteArray> FolderEntryNames(int folder);

// A new file name in folder, locked (flock) for as long as the descriptor returned, or a
// copy of it, stays open: a clean-up never takes a file that a running program holds.
// Returns -1 with errno set; EEXIST when the name is taken.
int OpenNewHeldFile(int folder, const char* name, unsigned mode);
// True for the names PendingFile gives its temporary files.
bool IsPendingFileName(const char* name);
// Removes the temporary files that PendingFile left in the folder when its program was
// killed. Returns how many it removed.
int RemoveAbandonedTemporaries(const FolderHandle& folder);
