#include "core/ArchiveListing.h"

#include "common/DateTime.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "creators/CreatorCatalogue.h"
#include "platform/NativePath.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QHash>

bool IsPalmFileName(const QString& name) {
    return name.endsWith(QLatin1String(".pdb"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".prc"), Qt::CaseInsensitive);
}

namespace {

void SetSizeAndDate(FileRow& row, int64_t bytes, int32_t packedDate) {
    // The date at the file system's two-second resolution, as a folder's rows show it.
    row.Bytes = bytes;
    row.ChangedStamp = packedDate;
}

} // namespace

ArchiveListing ArchiveLister::List(const QString& archivePath,
                                   const std::function<bool(size_t, size_t)>& progress) {
    ArchiveListing listing;
    listing.Archive = archivePath;
    ZipArchive archive;
    if (!archive.Open(archivePath)) {
        listing.OpenError = archive.ErrorText();
        return listing;
    }
    listing.Opened = true;
    FExtraction.BeginArchive(archivePath);
    listing.EntryCount = archive.Entries().size();

    std::vector<const ZipEntry*> palmEntries;
    for (const ZipEntry& entry : archive.Entries())
        if (IsPalmFileName(entry.FileName))
            palmEntries.push_back(&entry);
    listing.Rows.reserve(palmEntries.size());

    QHash<QString, int> copiesOfName; // the n-th entry of a file name gets copy n
    for (size_t i = 0; i < palmEntries.size(); ++i) {
        if (progress && !progress(i, palmEntries.size())) {
            listing.Cancelled = true;
            return listing;
        }
        const ZipEntry& entry = *palmEntries[i];
        FileRow row;
        row.Name = entry.Name;
        const int copy = ++copiesOfName[entry.FileName.toLower()];
        const ExtractionFolder::Result extracted = FExtraction.Extract(archive, entry, copy);
        QString error = extracted.Error;
        if (error.isEmpty()) {
            row.File = extracted.Path;
            try {
                FReader.SetFileName(EncodePath(extracted.Path).toStdString());
                FReader.ReadHeader();
            } catch (const std::exception& readError) {
                error = QString::fromUtf8(readError.what());
            }
        }
        if (!error.isEmpty()) {
            row.Error = error;
            row.Icon = RowIcon::Unreadable;
            if (row.File.isEmpty()) {
                SetSizeAndDate(row, std::max<int64_t>(entry.Size, 0), PackFileTime(entry.Modified));
            } else {
                const FileSizeAndDate found = FindFileSizeAndDate(row.File);
                SetSizeAndDate(row, found.Bytes, found.Date);
            }
            listing.Errors.push_back({archivePath + QDir::separator() + entry.Name, error});
            listing.Rows.push_back(std::move(row));
            continue;
        }
        const std::string& creator = FReader.Header().Creator;
        row.Type = PalmTextToQString(creator);
        row.Database = PalmTextToQString(FReader.Header().Name);
        SetSizeAndDate(row, FReader.FileSize(), PackFileTime(FReader.FileTime()));
        listing.Rows.push_back(std::move(row));
        if (FCatalogue.FindLink(creator) == -1)
            FCatalogue.AddLink(TLinks{creator, {}, {}, {}});
    }
    if (progress)
        progress(palmEntries.size(), palmEntries.size());
    return listing;
}
