#include "core/DatabaseCheckRun.h"

#include "core/FileNameOrder.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {

bool IsPalmFileName(const char* name, std::size_t length) {
    if (length < 4)
        return false;
    const char* ext = name + length - 4;
    if (ext[0] != '.')
        return false;
    char lower[3];
    for (int i = 0; i < 3; ++i)
        lower[i] =
            char(ext[i + 1] >= 'A' && ext[i + 1] <= 'Z' ? ext[i + 1] - 'A' + 'a' : ext[i + 1]);
    return std::memcmp(lower, "pdb", 3) == 0 || std::memcmp(lower, "prc", 3) == 0;
}

// Adds the Palm files of folder (the file system's bytes, ending in '/') to files, and
// walks its folders below when recursive.
void AddFolder(const std::string& folder, bool recursive, QStringList& files) {
#ifndef _WIN32
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    std::vector<std::string> folders;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        const std::size_t length = std::strlen(name);
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder = lstat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder) {
            if (recursive)
                folders.emplace_back(name, length);
        } else if (IsPalmFileName(name, length)) {
            names.emplace_back(name, length);
        }
    }
    closedir(dir);
    SortFileNames(names);
    for (const std::string& name : names)
        files << DecodePath(QByteArray::fromStdString(folder + name));
    SortFileNames(folders);
    for (const std::string& sub : folders)
        AddFolder(folder + sub + '/', recursive, files);
#else
    const QString path = DecodePath(QByteArray::fromStdString(folder));
    QDirIterator it(path, {QStringLiteral("*.pdb"), QStringLiteral("*.prc")},
                    QDir::Files | QDir::Hidden | QDir::System,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext())
        files << it.next();
#endif
}

// By the path's bytes: QFileInfo cannot reach a name that is not UTF-8.
bool IsFolder(const QString& path) {
#ifndef _WIN32
    struct stat st;
    return stat(EncodePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
#else
    return QFileInfo(path).isDir();
#endif
}

FileFinding Translate(const CheckFinding& finding) {
    return {finding.Entry, finding.Severity, QString::fromLatin1(finding.Code),
            Translated(finding.Text)};
}

} // namespace

bool CheckedFile::HasTrouble() const {
    return std::any_of(Findings.begin(), Findings.end(), [](const FileFinding& finding) {
        return finding.Severity != CheckSeverity::Note;
    });
}

bool CheckedFile::IsDamaged() const {
    return std::any_of(Findings.begin(), Findings.end(), [](const FileFinding& finding) {
        return finding.Severity == CheckSeverity::Damaged;
    });
}

bool CheckRunResult::HasTrouble() const {
    return std::any_of(Files.begin(), Files.end(),
                       [](const CheckedFile& file) { return file.HasTrouble(); });
}

QStringList FindPalmFiles(const QStringList& paths, bool recursive) {
    QStringList files;
    for (const QString& path : paths) {
        if (!IsFolder(path)) {
            files << path;
            continue;
        }
        std::string folder = EncodePath(path).toStdString();
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        AddFolder(folder, recursive, files);
    }
    return files;
}

CheckedFile CheckPalmFile(const QString& path) {
    CheckedFile checked;
    checked.File = path;
    std::string error;
    const std::string bytes = EncodePath(path).toStdString();
    const auto source = FileByteSource::Open(bytes, &error);
    if (!source) {
        checked.Findings.push_back(
            {-1, CheckSeverity::Damaged, QStringLiteral("unreadable"),
             FillPlaceholders(Translated("The file cannot be read: %s"),
                              {{u"%s", QString::fromLocal8Bit(error.c_str())}})});
        return checked;
    }
    const DatabaseContents contents = ReadDatabaseContents(*source);
    for (const CheckFinding& finding : CheckDatabase(contents, bytes))
        checked.Findings.push_back(Translate(finding));
    return checked;
}

CheckRunResult CheckPalmFiles(const QStringList& paths, bool recursive,
                              const CheckProgress& progress) {
    CheckRunResult result;
    const QStringList files = FindPalmFiles(paths, recursive);
    result.Files.reserve(std::size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (progress && !progress(std::size_t(i), std::size_t(files.size()))) {
            result.Cancelled = true;
            break;
        }
        result.Files.push_back(CheckPalmFile(files[i]));
    }
    return result;
}
