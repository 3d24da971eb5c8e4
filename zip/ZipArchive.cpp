#include "zip/ZipArchive.h"

#include "common/PalmText.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/RegularFile.h"
#include "zip/Utf8FlagRepair.h"

#include <QDir>
#include <QFile>
#include <zip.h>

namespace {

QString ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

// The part of an entry name after its last "/", "\" or ":" (a drive letter).
QString EntryFileName(const QString& name) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < name.size(); ++i)
        if (IsSeparator(name.at(i)) || name.at(i) == u':')
            cut = i;
    return name.mid(cut + 1);
}

} // namespace

struct ZipArchive::Handle {
    zip_t* Archive = nullptr;
    ~Handle() {
        if (Archive)
            zip_discard(Archive); // read only: nothing to write back
    }
};

ZipArchive::ZipArchive() = default;
ZipArchive::~ZipArchive() = default;

void ZipArchive::Close() {
    FHandle.reset();
    FEntries.clear();
}

bool ZipArchive::IsOpen() const {
    return FHandle && FHandle->Archive;
}

bool ZipArchive::Open(const QString& path) {
    Close();
    FPath = path;
    FError.clear();
    // A named pipe called x.zip would otherwise hang the program until some other
    // program writes to it.
    const int fd = OpenRegularFile(EncodePath(path), &FError);
    if (fd < 0)
        return false;
    // Without libzip's whole-archive consistency check: it refuses archives that unzip
    // reads (two entries of one name, sizes only in data descriptors); each entry is
    // judged as it is read.
    int code = 0;
    int ownFd = fd;
    zip_t* archive = zip_fdopen(fd, ZIP_RDONLY, &code);
    FalseUtf8Flags falseFlags;
    if (!archive && code == ZIP_ER_INCONS) {
        // Refused still when a name flagged UTF-8 is not: read again without that flag.
        falseFlags = FindFalseUtf8Flags(fd);
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            falseFlags.FlagOffsets.empty()
                ? nullptr
                : SourceWithoutUtf8Flags(fd, std::move(falseFlags.FlagOffsets), &error);
        if (source) {
            ownFd = -1; // the source's now
            archive = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!archive) {
                code = zip_error_code_zip(&error);
                zip_source_free(source);
            }
        }
        zip_error_fini(&error);
    }
    if (!archive) {
        if (ownFd >= 0)
            CloseFile(ownFd); // zip_fdopen leaves it open when it fails
        FError = ZipErrorText(code);
        return false;
    }
    FHandle = std::make_unique<Handle>();
    FHandle->Archive = archive;

    const zip_int64_t count = zip_get_num_entries(archive, 0);
    FEntries.reserve(size_t(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME))
            continue;
        // Names without the UTF-8 flag that are not UTF-8 come in CP437, the archive's
        // code page, from libzip. A name flagged UTF-8 that is not was most likely
        // written in the Windows code page of its maker: Windows-1252, as Palm texts.
        const char* raw = falseFlags.Names.isEmpty()
                              ? nullptr
                              : zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        const QString stored = raw && falseFlags.Names.contains(QByteArray(raw))
                                   ? PalmTextToQString(std::string(raw))
                                   : QString::fromUtf8(stat.name);
        if (stored.isEmpty() || IsSeparator(stored.back()))
            continue; // a folder
        ZipEntry entry;
        entry.Index = zip_uint64_t(i);
        entry.Name = stored;
        for (QChar& c : entry.Name)
            if (IsSeparator(c))
                c = QDir::separator();
        entry.FileName = EntryFileName(stored);
        if (stat.valid & ZIP_STAT_SIZE)
            entry.Size = stat.size > zip_uint64_t(INT64_MAX) ? INT64_MAX : int64_t(stat.size);
        if (stat.valid & ZIP_STAT_MTIME)
            entry.Modified = stat.mtime;
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(archive, zip_uint64_t(i), 0, &system, &attributes) ==
                0 &&
            system == ZIP_OPSYS_UNIX)
            entry.IsLink = ((attributes >> 16) & 0170000) == 0120000;
        FEntries.push_back(std::move(entry));
    }
    return true;
}

QString SizeLimitText(int64_t bytes) {
    constexpr int64_t MiB = 1024 * 1024;
    if (bytes >= MiB)
        return QString::number(bytes / MiB) + QStringLiteral(" MiB");
    return FillPlaceholders(Translated("%s bytes"), {{u"%s", QString::number(bytes)}});
}

QString ZipArchive::ReadEntry(const ZipEntry& entry, int64_t maxBytes,
                              const std::function<bool(const char*, size_t)>& sink) {
    if (!IsOpen())
        return Translated("the archive is not open");
    const QString tooLarge =
        FillPlaceholders(Translated("unpacks to more than %s"), {{u"%s", SizeLimitText(maxBytes)}});
    if (entry.Size > maxBytes)
        return tooLarge; // declared so: not even started
    zip_file_t* file = zip_fopen_index(FHandle->Archive, entry.Index, 0);
    if (!file)
        return QString::fromUtf8(zip_strerror(FHandle->Archive));
    QString error;
    std::vector<char> buffer(64 * 1024);
    int64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer.data(), buffer.size());
        if (got < 0) {
            error = QString::fromUtf8(zip_file_strerror(file));
            break;
        }
        if (got == 0)
            break;
        total += got;
        // The declared size may lie; what counts is what comes out.
        if (total > maxBytes) {
            error = tooLarge;
            break;
        }
        if (!sink(buffer.data(), size_t(got))) {
            error = Translated("could not be written");
            break;
        }
    }
    const int closed = zip_fclose(file);
    if (error.isEmpty() && closed != 0)
        error = ZipErrorText(closed);
    return error;
}
