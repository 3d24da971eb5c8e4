#include "core/FolderScan.h"

#include "core/FileNameOrder.h"
#include "platform/NativePath.h"

#include <QDirIterator>
#include <QFile>
#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#endif

namespace {

// ".pdb" etc. at the end of the name, any letter case; a name that is only the
// extension (".pdb") still matches, as "*.pdb" does.
bool EndsWithExtension(const char* name, size_t length, const char* ext) {
    const size_t extLength = std::strlen(ext);
    if (length < extLength)
        return false;
    const char* tail = name + length - extLength;
    for (size_t i = 0; i < extLength; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != ext[i])
            return false;
    }
    return true;
}

void Sort(PalmFolderEntries& entries, const char* name, size_t length) {
    if (EndsWithExtension(name, length, ".pdb"))
        entries.PDB.emplace_back(name, length);
    else if (EndsWithExtension(name, length, ".prc"))
        entries.PRC.emplace_back(name, length);
    else if (EndsWithExtension(name, length, ".zip"))
        entries.ZIP.emplace_back(name, length);
}

} // namespace

PalmFolderEntries ScanPalmFolder(const QString& folder) {
    PalmFolderEntries entries;
#ifndef _WIN32
    // readdir gives names without a stat per entry: the listing's hot path.
    const QByteArray path = EncodePath(folder);
    DIR* dir = opendir(path.isEmpty() ? "." : path.constData());
    if (!dir)
        return entries;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        Sort(entries, name, std::strlen(name));
    }
    closedir(dir);
#else
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QByteArray name = it.fileName().toUtf8();
        Sort(entries, name.constData(), size_t(name.size()));
    }
#endif
    SortFileNames(entries.PDB);
    SortFileNames(entries.PRC);
    SortFileNames(entries.ZIP);
    return entries;
}
