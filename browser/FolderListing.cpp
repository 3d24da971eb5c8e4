#include "browser/FolderListing.h"

#include "browser/FolderScan.h"
#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "creators/CreatorCatalogue.h"

#include <QFile>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
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
    const int64_t bytes = FindFileSize(path);
    const int32_t date = FindFileDate(path);
    if (bytes < 0 || date == -1)
        return false; // gone since the folder was read
    row.Bytes = bytes;
    row.ChangedStamp = date;
    return true;
}

} // namespace

QString SizeColumnText(const FileRow& row) {
    return row.SizeWithUnit ? SizeText(row.Bytes) : FormatThousands(row.Bytes);
}

QString ChangedColumnText(const FileRow& row) {
    return FileDateText(row.ChangedStamp);
}

FolderListing FolderLister::ListFolder(const QString& folder, const ListingFilter& filter) {
    FolderListing listing;
    listing.Folder = AddTrailingBackslash(folder);
    const PalmFolderEntries entries = ScanPalmFolder(listing.Folder);
    const std::string folderBytes = QFile::encodeName(listing.Folder).toStdString();
    const OpenFolder openFolder(folderBytes);
    // Creator IDs repeat: one shared text each, and one look-up in the catalogue each.
    std::unordered_map<std::string, QString> typeTexts;

    auto listPalmFiles = [&](const std::vector<std::string>& names) {
        for (const std::string& nameBytes : names) {
            FileRow row;
            // What QFile::decodeName does, without a QByteArray copy of the name first.
            row.Name = QString::fromLocal8Bit(nameBytes.data(), qsizetype(nameBytes.size()));
            try {
                FReader.ReadHeaderInFolder(folderBytes + nameBytes, openFolder.Fd(),
                                           folderBytes.size());
            } catch (const std::exception& error) {
                const QString path = listing.Folder + row.Name;
                row.Error = QString::fromUtf8(error.what());
                row.Icon = RowIcon::Unreadable;
                listing.Errors.push_back({path, row.Error});
                if (SetSizeAndDateFromPath(row, path))
                    listing.Rows.push_back(std::move(row));
                continue;
            }
            const std::string& creator = FReader.Header().Creator;
            auto type = typeTexts.find(creator);
            if (type == typeTexts.end()) {
                type = typeTexts.emplace(creator, PalmTextToQString(creator)).first;
                if (FCatalogue.FindLink(creator) == -1)
                    FCatalogue.AddLink(TLinks{creator, {}, {}, {}});
            }
            row.Type = type->second;
            row.Bytes = FReader.FileSize();
            row.ChangedStamp = PackFileTime(FReader.FileTime());
            listing.Rows.push_back(std::move(row));
        }
    };

    listing.Rows.reserve((filter.ShowPDB ? entries.PDB.size() : 0) +
                         (filter.ShowPRC ? entries.PRC.size() : 0) +
                         (filter.ShowZIP ? entries.ZIP.size() : 0));
    if (filter.ShowPDB)
        listPalmFiles(entries.PDB);
    if (filter.ShowPRC)
        listPalmFiles(entries.PRC);
    if (filter.ShowZIP) {
        for (const std::string& nameBytes : entries.ZIP) {
            FileRow row;
            row.Name = QFile::decodeName(QByteArray::fromStdString(nameBytes));
            row.Type = QStringLiteral("Zip");
            row.Icon = RowIcon::Archive;
            if (SetSizeAndDateFromPath(row, listing.Folder + row.Name))
                listing.Rows.push_back(std::move(row));
        }
    }
    return listing;
}
