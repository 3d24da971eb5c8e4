// Opening a file that the user chose, or that the program reads at start, for reading.
// Something else under a file's name must neither block the program nor be read: opening
// a FIFO waits for a writer, and a device may never end or act when it is opened. So the
// name is looked at before it is opened, opened without blocking, and looked at again
// through the open handle, and anything that is not a regular file is refused.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <ctime>

// The cause given for anything that is not a regular file (a folder, a FIFO, a device).
QString NotAFileText();

// Opens path (the file system's bytes; links followed) for reading when it is a regular
// file: the descriptor, in blocking mode. Else -1, with errno set (0 when it is not a
// regular file) and the cause in *error.
int OpenRegularFile(const QByteArray& path, QString* error);

// What a copy keeps of the file it copies (last-write time, permission bits), and what
// tells one file from another however it is named.
struct FileFacts {
    std::time_t Modified = 0;
    unsigned Mode = 0; // the permission bits
    uint64_t Device = 0;
    uint64_t Inode = 0;
};
// The facts of an open file; false with the cause in *error.
bool FactsOfOpenFile(int fd, FileFacts* facts, QString* error);
// Reads up to size bytes, an interrupted read retried: the bytes read, 0 at the end, or
// -1 with the cause in *error.
long ReadFromFile(int fd, char* buffer, size_t size, QString* error);
// Closes a descriptor that OpenRegularFile gave.
void CloseFile(int fd);
// Removes the file at path (the file system's bytes); false with the cause in *error.
bool RemoveFile(const QByteArray& path, QString* error);

enum class FileReadOutcome {
    Read,    // content holds the whole file
    Missing, // no file of that name
    Failed,  // error holds the cause
};

// Reads the whole regular file at path. A file larger than maxSize fails ("too large").
FileReadOutcome ReadRegularFile(const QString& path, qint64 maxSize, QByteArray* content,
                                QString* error);
