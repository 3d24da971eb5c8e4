#include "core/FolderListing.h"

#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "core/FolderScan.h"
#include "creators/CreatorCatalogue.h"
#include "platform/NativePath.h"

#include <QFile>
#include <QThread>
#include <algorithm>
#include <exception>
#include <memory>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The listed folder held open, so that its files are opened by name relative to it.
class OpenFolder {
public:
    explicit OpenFolder(const std::string& path) {
#ifndef _WIN32
        FFd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#else
        (void)path;
#endif
    }
    ~OpenFolder() {
#ifndef _WIN32
        if (FFd >= 0)
            ::close(FFd);
#endif
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int Fd() const {
        return FFd;
    } // -1: files are opened by their whole path

private:
    int FFd = -1;
};

// Size and date looked up by path, for rows whose file was not opened. The moment goes
// through the packed file time stamp, as for every row.
bool SetSizeAndDateFromPath(FileRow& row, const QString& path) {
    const FileSizeAndDate found = FindFileSizeAndDate(path);
    if (found.Bytes < 0 || found.Date == -1)
        return false; // gone since the folder was read
    row.Bytes = found.Bytes;
    row.ChangedStamp = found.Date;
    return true;
}

// A name that is not UTF-8 shows its best text, and its row keeps the path of its bytes.
void SetNameFromBytes(FileRow& row, const QString& folder, const std::string& nameBytes) {
    row.Name = DecodePath(nameBytes.data(), qsizetype(nameBytes.size()));
    if (HasEscapedBytes(row.Name)) {
        row.File = folder + row.Name;
        row.Name = DisplayName(row.Name);
    }
}

// A link whose target is gone shows the link's own size and date.
bool SetSizeAndDateOfLink(FileRow& row, const QString& path) {
#ifndef _WIN32
    struct stat entry {};
    if (::lstat(EncodePath(path).constData(), &entry) != 0 || !S_ISLNK(entry.st_mode))
        return false;
    row.Bytes = entry.st_size;
    row.ChangedStamp = PackFileTime(entry.st_mtime);
    return true;
#else
    (void)row;
    (void)path;
    return false;
#endif
}

// What the reading of a run of Palm file names needs: where they are.
struct PalmFolder {
    const QString& Folder;    // with its trailing separator
    const std::string& Bytes; // the same in the file system's encoding
    int Fd;                   // held open, or -1
};

// What one thread made of its run of names: a row per name (Keep false where the file
// vanished before it could be looked at), the files it could not read, and the creator
// IDs in the order it first met them, for the catalogue.
struct ListedRun {
    std::vector<char> Keep;
    std::vector<ListingError> Errors;
    std::vector<std::string> Creators;
};

void ListPalmRun(TPalmPDB& reader, const PalmFolder& folder, const std::string* names,
                 FileRow* rows, size_t count, ListedRun& run) {
    // Creator IDs repeat: one shared text each.
    std::unordered_map<std::string, QString> typeTexts;
    run.Keep.assign(count, 1);
    for (size_t i = 0; i < count; ++i) {
        const std::string& nameBytes = names[i];
        FileRow& row = rows[i];
        SetNameFromBytes(row, folder.Folder, nameBytes);
        try {
            reader.ReadHeaderInFolder(folder.Bytes + nameBytes, folder.Fd, folder.Bytes.size());
        } catch (const std::exception& error) {
            const QString path = row.File.isEmpty() ? folder.Folder + row.Name : row.File;
            row.Error = QString::fromUtf8(error.what());
            row.Icon = RowIcon::Unreadable;
            // Listed with its marker, and counted, only while the entry is there: a file
            // removed since the folder was read is neither.
            run.Keep[i] = SetSizeAndDateFromPath(row, path) || SetSizeAndDateOfLink(row, path);
            if (run.Keep[i])
                run.Errors.push_back({path, row.Error});
            continue;
        }
        const std::string& creator = reader.Header().Creator;
        auto type = typeTexts.find(creator);
        if (type == typeTexts.end()) {
            type = typeTexts.emplace(creator, PalmTextToQString(creator)).first;
            run.Creators.push_back(creator);
        }
        row.Type = type->second;
        row.Database = PalmTextToQString(reader.Header().Name);
        row.Bytes = reader.FileSize();
        row.ChangedStamp = PackFileTime(reader.FileTime());
    }
}

// Opening files is most of a listing's time, and the kernel opens files of one folder
// side by side: large folders are read by as many threads as there are cores (up to
// four), each with its own reader and its own run of names.
size_t ReadingThreads(size_t names, size_t wanted) {
    if (wanted > 0)
        return std::clamp<size_t>(wanted, 1, std::max<size_t>(names, 1));
    constexpr size_t NamesPerThread = 512; // below that, starting a thread costs more
    const size_t most = std::min<size_t>(size_t(std::max(1, QThread::idealThreadCount())), 4);
    return std::clamp<size_t>(names / NamesPerThread, 1, most);
}

} // namespace

// The rows come out in the order of the names, errors in that order too, and creator IDs
// join the catalogue in the order they first appear, however many threads read them.
void FolderLister::ListPalmFiles(const std::vector<std::string>& names,
                                 const std::string& folderBytes, int folderFd,
                                 FolderListing& listing) {
    const PalmFolder folder{listing.Folder, folderBytes, folderFd};
    const size_t first = listing.Rows.size();
    listing.Rows.resize(first + names.size());
    const size_t threads = ReadingThreads(names.size(), FReadingThreads);
    std::vector<ListedRun> runs(threads);
    std::vector<size_t> starts(threads + 1);
    for (size_t t = 0; t <= threads; ++t)
        starts[t] = names.size() * t / threads;
    auto listRun = [&](TPalmPDB& reader, size_t t) {
        ListPalmRun(reader, folder, names.data() + starts[t],
                    listing.Rows.data() + first + starts[t], starts[t + 1] - starts[t], runs[t]);
    };

    std::vector<std::unique_ptr<QThread>> helpers;
    std::vector<std::exception_ptr> failures(threads);
    for (size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(QThread::create([&, t] {
            try {
                TPalmPDB reader(std::string(), false);
                listRun(reader, t);
            } catch (...) {
                failures[t] = std::current_exception();
            }
        }));
        helpers.back()->start();
    }
    try {
        listRun(FReader, 0);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (auto& helper : helpers)
        helper->wait();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);

    size_t kept = first;
    for (size_t t = 0; t < threads; ++t) {
        const ListedRun& run = runs[t];
        for (size_t i = 0; i < run.Keep.size(); ++i) {
            if (!run.Keep[i])
                continue;
            const size_t from = first + starts[t] + i;
            if (kept != from)
                listing.Rows[kept] = std::move(listing.Rows[from]);
            ++kept;
        }
        listing.Errors.insert(listing.Errors.end(), run.Errors.begin(), run.Errors.end());
        for (const std::string& creator : run.Creators)
            if (FCatalogue.FindLink(creator) == -1)
                FCatalogue.AddLink(TLinks{creator, {}, {}, {}});
    }
    listing.Rows.resize(kept);
}

FolderListing FolderLister::ListFolder(const QString& folder, const ListingFilter& filter) {
    FolderListing listing;
    listing.Folder = AddTrailingBackslash(folder);
    const PalmFolderEntries entries = ScanPalmFolder(listing.Folder);
    const std::string folderBytes = EncodePath(listing.Folder).toStdString();
    const OpenFolder openFolder(folderBytes);

    listing.Rows.reserve((filter.ShowPDB ? entries.PDB.size() : 0) +
                         (filter.ShowPRC ? entries.PRC.size() : 0) +
                         (filter.ShowZIP ? entries.ZIP.size() : 0));
    if (filter.ShowPDB)
        ListPalmFiles(entries.PDB, folderBytes, openFolder.Fd(), listing);
    if (filter.ShowPRC)
        ListPalmFiles(entries.PRC, folderBytes, openFolder.Fd(), listing);
    if (filter.ShowZIP) {
        for (const std::string& nameBytes : entries.ZIP) {
            FileRow row;
            SetNameFromBytes(row, listing.Folder, nameBytes);
            row.Type = QStringLiteral("Zip");
            row.Icon = RowIcon::Archive;
            if (SetSizeAndDateFromPath(row,
                                       row.File.isEmpty() ? listing.Folder + row.Name : row.File))
                listing.Rows.push_back(std::move(row));
        }
    }
    return listing;
}

QString SizeColumnText(const FileRow& row, bool archiveView) {
    return archiveView ? SizeText(row.Bytes) : FormatThousands(row.Bytes);
}

QString ChangedColumnText(const FileRow& row) {
    return FileDateText(row.ChangedStamp);
}
