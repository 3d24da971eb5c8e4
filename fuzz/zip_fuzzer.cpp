// One archive in memory, listed and extracted as the archive view does: no crash, no
// more bytes than the limit out of an entry, nothing written outside the folder.
#include "FuzzInput.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"

#include <QDir>

namespace {

constexpr int64_t Limit = 1 << 20;
constexpr size_t MostEntries = 16; // bounds the time an input with many entries costs

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZipArchive archive;
    if (!archive.Open(QString::fromStdString(InputAsFile(data, size)))) {
        if (archive.ErrorText().isEmpty())
            Broken("an archive was refused without a cause");
        return 0;
    }
    const QString folder = QString::fromStdString(ScratchFolder()) + QStringLiteral("/Temp");
    ExtractionFolder extraction(folder, Limit);
    const size_t count = std::min(archive.Entries().size(), MostEntries);
    for (size_t i = 0; i < count; ++i) {
        const ZipEntry& entry = archive.Entries()[i];
        int64_t total = 0;
        const QString error = archive.ReadEntry(entry, Limit, [&](const char*, size_t n) {
            total += int64_t(n);
            return true;
        });
        if (total > Limit)
            Broken("more bytes than the limit came out of an entry");
        (void)error;
        const ExtractionFolder::Result result = extraction.Extract(archive, entry, int(i) + 1);
        if (result.Error.isEmpty() &&
            !QDir::cleanPath(result.Path).startsWith(QDir::cleanPath(folder) + QLatin1Char('/')))
            Broken("an entry was written outside the folder");
    }
    extraction.RemoveWritten();
    QDir(folder).removeRecursively();
    return 0;
}
