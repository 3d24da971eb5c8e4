// A folder of this program's own inside a shared one (Temp): made new under a random name
// with mode 0700, with a marker file in it whose lock (flock) is held while its owner
// runs. A later run tells by the lock a folder whose program was killed from one still in
// use, and removes only what the program could have written there.
#pragma once

#include "platform/SafeWrite.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class MarkedFolder {
public:
    // What the owner may have written: files, and subfolders (searched the same way; a
    // subfolder is removed when nothing else is left in it).
    struct OwnNames {
        std::function<bool(const QByteArray& name)> File;
        std::function<bool(const QByteArray& name)> Subfolder;
    };

    MarkedFolder(const MarkedFolder&) = delete;
    MarkedFolder& operator=(const MarkedFolder&) = delete;
    ~MarkedFolder(); // the lock goes with it

    // "<base>-<random>" in root, with the marker written and held; null with the cause in
    // error when it cannot be made.
    static std::unique_ptr<MarkedFolder> Make(const FolderHandle& root, const QString& base,
                                              QString* error);
    const FolderHandle& Top() const { return FTop; }
    // The marker goes first at shut-down, so that the emptied folder can be removed.
    void RemoveMarker();

    // Removes the marked folders in root that no running program holds, with what
    // ownNames says their owner wrote; anything else keeps its folder. Returns how many
    // folders went.
    static int RemoveAbandoned(const QString& root, const OwnNames& ownNames);

private:
    MarkedFolder() = default;

    FolderHandle FTop;
    int FMarkerFd = -1;
};

// A file or an empty folder removed where it can be; a copy held open elsewhere, or a
// folder that still holds something, stays.
void RemoveIfPossible(const QString& file);
void RemoveFolderIfEmpty(const QString& folder);
// The bytes an unprivileged program may still write on the folder's file system; 0 when
// that cannot be told, so that nothing is written.
int64_t FreeBytesOfFileSystem(const QString& folder);
