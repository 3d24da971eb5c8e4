#include "browser/FolderListing.h"

#include "browser/FolderScan.h"
#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "creators/CreatorCatalogue.h"

#include <QFile>

namespace {

// Fills Size and Changed from a size and a last-write moment. The moment goes through
// the packed file time stamp, so the Changed column has the file system's two-second
// resolution everywhere.
void SetSizeAndDate(FileRow& row, int64_t bytes, int32_t packedDate) {
    row.Bytes = bytes;
    row.Size = FormatThousands(bytes);
    row.ChangedValue = FileDateToDateTime(packedDate);
    row.Changed = DateTimeText(row.ChangedValue);
}

// Size and date looked up by path, for rows whose file was not opened.
bool SetSizeAndDateFromPath(FileRow& row, const QString& path) {
    const int64_t bytes = FindFileSize(path);
    const int32_t date = FindFileDate(path);
    if (bytes < 0 || date == -1)
        return false; // gone since the folder was read
    SetSizeAndDate(row, bytes, date);
    return true;
}

} // namespace

FolderListing FolderLister::ListFolder(const QString& folder, const ListingFilter& filter) {
    FolderListing listing;
    listing.Folder = AddTrailingBackslash(folder);
    const PalmFolderEntries entries = ScanPalmFolder(listing.Folder);
    const std::string folderBytes = QFile::encodeName(listing.Folder).toStdString();

    auto listPalmFiles = [&](const std::vector<std::string>& names) {
        for (const std::string& nameBytes : names) {
            FileRow row;
            row.Name = QFile::decodeName(QByteArray::fromStdString(nameBytes));
            const std::string pathBytes = folderBytes + nameBytes;
            try {
                FReader.SetFileName(pathBytes);
                FReader.ReadHeader();
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
            row.Type = PalmTextToQString(creator);
            SetSizeAndDate(row, FReader.FileSize(), PackFileTime(FReader.FileTime()));
            listing.Rows.push_back(std::move(row));
            if (FCatalogue.FindLink(creator) == -1)
                FCatalogue.AddLink(TLinks{creator, {}, {}, {}});
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
