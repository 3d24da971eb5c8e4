#include "browser/FolderListing.h"

#include "browser/FolderScan.h"
#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "creators/CreatorCatalogue.h"

#include <QFile>
#include <array>
#include <memory>
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

// Rows of one listing share the texts of equal dates (files of one HotSync are written
// within seconds), which saves their making and their memory. A small table indexed by
// the stamp rather than a growing hash: a folder of all-different dates then costs
// nothing extra.
class DateTexts {
public:
    void Set(FileRow& row, int32_t packed) {
        Slot& slot = FSlots[(uint32_t(packed) * 2654435761u) >> (32 - SlotBits)];
        if (!slot.Used || slot.Packed != packed) {
            slot.Value = FileDateToDateTime(packed);
            slot.Text = DateTimeText(slot.Value);
            slot.Packed = packed;
            slot.Used = true;
        }
        row.ChangedValue = slot.Value;
        row.Changed = slot.Text;
    }

private:
    static constexpr int SlotBits = 10;
    struct Slot {
        bool Used = false;
        int32_t Packed = 0;
        TDateTime Value = 0;
        QString Text;
    };
    std::array<Slot, size_t(1) << SlotBits> FSlots;
};

// Size and date looked up by path, for rows whose file was not opened. The moment goes
// through the packed file time stamp, so the Changed column has the file system's
// two-second resolution everywhere.
bool SetSizeAndDateFromPath(FileRow& row, const QString& path, DateTexts& dateTexts) {
    const int64_t bytes = FindFileSize(path);
    const int32_t date = FindFileDate(path);
    if (bytes < 0 || date == -1)
        return false; // gone since the folder was read
    row.Bytes = bytes;
    row.Size = FormatThousands(bytes);
    dateTexts.Set(row, date);
    return true;
}

} // namespace

FolderListing FolderLister::ListFolder(const QString& folder, const ListingFilter& filter) {
    FolderListing listing;
    listing.Folder = AddTrailingBackslash(folder);
    const PalmFolderEntries entries = ScanPalmFolder(listing.Folder);
    const std::string folderBytes = QFile::encodeName(listing.Folder).toStdString();
    const OpenFolder openFolder(folderBytes);
    // Creator IDs repeat: one shared text each, and one look-up in the catalogue each.
    std::unordered_map<std::string, QString> typeTexts;
    auto dateTexts = std::make_unique<DateTexts>();

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
                if (SetSizeAndDateFromPath(row, path, *dateTexts))
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
            row.Size = FormatThousands(row.Bytes);
            dateTexts->Set(row, PackFileTime(FReader.FileTime()));
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
            if (SetSizeAndDateFromPath(row, listing.Folder + row.Name, *dateTexts))
                listing.Rows.push_back(std::move(row));
        }
    }
    return listing;
}
