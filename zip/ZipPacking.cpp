#include "zip/ZipPacking.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/RegularFile.h"
#include "platform/SafeWrite.h"
#include "zip/ZipArchive.h"

#include <QFileInfo>
#include <sys/stat.h>
#include <zip.h>

namespace {

struct ReadSource {
    QByteArray Name; // as stored: the file system's bytes of the name
    QByteArray Content;
    FileFacts Facts;
};

// The whole regular file at path, at most maxBytes of it; empty with the cause on failure.
QString ReadSourceFile(const QString& path, int64_t maxBytes, ReadSource* source) {
    QString error;
    const int fd = OpenRegularFile(EncodePath(path), &error);
    if (fd < 0)
        return error;
    if (FactsOfOpenFile(fd, &source->Facts, &error)) {
        char buffer[64 * 1024];
        for (;;) {
            const long got = ReadFromFile(fd, buffer, sizeof buffer, &error);
            if (got <= 0)
                break;
            if (source->Content.size() + got > maxBytes) {
                error = FillPlaceholders(Translated("the files together would be larger than %s"),
                                         {{u"%s", SizeLimitText(maxBytes)}});
                break;
            }
            source->Content.append(buffer, got);
        }
    }
    CloseFile(fd);
    return error;
}

QString Skipped(const QString& name, const QString& cause) {
    return name + QStringLiteral(": ") + cause;
}

// The name that the archive must not be replaced through: a folder, a link or device, a
// file marked read-only. Empty when it may be written.
QString TargetProblem(const FolderHandle& folder, const QString& name, bool replace) {
    switch (folder.KindOf(name)) {
    case EntryKind::None:
        return {};
    case EntryKind::Folder:
        return Translated("it is a folder");
    case EntryKind::WriteProtectedFile:
        return Translated("the file is read-only");
    case EntryKind::Other:
        break;
    }
    // A link is not followed: the archive would land where it leads.
    const QFileInfo info(folder.Path() + name);
    if (info.isSymLink() || !info.isFile())
        return NotAFileText();
    return replace ? QString() : Translated("the file already exists");
}

// Lets libzip's own work (the deflating in zip_close) be cancelled too.
struct CloseState {
    const PackProgress* Progress;
    size_t Total;
    bool Cancelled = false;
};

int CancelClose(zip_t*, void* data) {
    auto* state = static_cast<CloseState*>(data);
    if (!state->Cancelled && *state->Progress &&
        !(*state->Progress)(state->Total - 1, state->Total))
        state->Cancelled = true;
    return state->Cancelled ? 1 : 0;
}

// The archive of the sources, built in memory; empty with the cause in *error.
QByteArray BuildArchive(const std::vector<ReadSource>& sources, CloseState& state, QString* error) {
    zip_error_t failure;
    zip_error_init(&failure);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &failure);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &failure) : nullptr;
    if (!archive) {
        *error = QString::fromUtf8(zip_error_strerror(&failure));
        zip_error_fini(&failure);
        if (buffer)
            zip_source_free(buffer);
        return {};
    }
    zip_error_fini(&failure);
    zip_source_keep(buffer); // the archive goes with zip_close, its bytes stay

    bool added = true;
    for (const ReadSource& source : sources) {
        zip_source_t* data =
            zip_source_buffer(archive, source.Content.constData(), source.Content.size(), 0);
        const zip_int64_t index =
            data ? zip_file_add(archive, source.Name.constData(), data, ZIP_FL_ENC_GUESS) : -1;
        if (index < 0) {
            if (data)
                zip_source_free(data);
            added = false;
            break;
        }
        // Unpacked on Unix the files keep their permission bits.
        const zip_uint32_t attributes = (S_IFREG | (source.Facts.Mode & 07777)) << 16;
        if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0 ||
            zip_file_set_mtime(archive, zip_uint64_t(index), source.Facts.Modified, 0) != 0 ||
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             attributes) != 0) {
            added = false;
            break;
        }
    }
    zip_register_cancel_callback_with_state(archive, CancelClose, nullptr, &state);
    if (!added || zip_close(archive) != 0) {
        *error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(buffer);
        return {};
    }

    // The buffer now holds the archive: read it back whole.
    QByteArray bytes;
    if (zip_source_open(buffer) == 0) {
        char chunk[64 * 1024];
        zip_int64_t got;
        while ((got = zip_source_read(buffer, chunk, sizeof chunk)) > 0)
            bytes.append(chunk, qsizetype(got));
        if (got < 0)
            bytes.clear();
        zip_source_close(buffer);
    }
    if (bytes.isEmpty())
        *error = QString::fromUtf8(zip_error_strerror(zip_source_error(buffer)));
    zip_source_free(buffer);
    return bytes;
}

} // namespace

std::vector<PackSource> PackSourcesOf(const QStringList& paths) {
    std::vector<PackSource> sources;
    sources.reserve(size_t(paths.size()));
    for (const QString& path : paths)
        sources.push_back({path, DisplayName(QFileInfo(path).fileName())});
    return sources;
}

QString UniqueEntryName(const QString& name, const QStringList& taken) {
    const auto isTaken = [&taken](const QString& candidate) {
        return taken.contains(candidate, Qt::CaseInsensitive);
    };
    if (!isTaken(name))
        return name;
    // "memo.pdb" -> "memo (2).pdb"; a name that only starts with a dot has no suffix.
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype split = dot > 0 ? dot : name.size();
    for (int number = 2;; ++number) {
        const QString candidate =
            name.left(split) + QStringLiteral(" (%1)").arg(number) + name.mid(split);
        if (!isTaken(candidate))
            return candidate;
    }
}

PackResult PackFiles(const std::vector<PackSource>& sources, const QString& archivePath,
                     bool replace, const PackProgress& progress, int64_t maxBytes) {
    PackResult result;
    const auto fail = [&result, &archivePath](const QString& cause) {
        result.Error = FillPlaceholders(Translated("Unable to write to %1: %2"),
                                        {{u"%1", DisplayName(archivePath)}, {u"%2", cause}});
        return result;
    };
    if (archivePath.isEmpty())
        return fail(Translated("no file name"));
    const QFileInfo target(archivePath);
    QString cause;
    const FolderHandle folder = FolderHandle::Open(target.absolutePath(), &cause);
    if (!folder.IsValid())
        return fail(cause);
    if (const QString problem = TargetProblem(folder, target.fileName(), replace);
        !problem.isEmpty())
        return fail(problem);
    // What an earlier run that was killed while it wrote here left behind.
    RemoveAbandonedTemporaries(folder);

    const QString self = target.canonicalFilePath();
    const size_t total = sources.size() + 1;
    std::vector<ReadSource> read;
    read.reserve(sources.size());
    int64_t bytes = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        const PackSource& source = sources[i];
        if (progress && !progress(i, total)) {
            result.Cancelled = true;
            return result;
        }
        if (!self.isEmpty() && QFileInfo(source.Path).canonicalFilePath() == self) {
            result.Skipped << Skipped(source.Name, Translated("it is the archive being written"));
            continue;
        }
        ReadSource file;
        if (const QString error = ReadSourceFile(source.Path, maxBytes - bytes, &file);
            !error.isEmpty()) {
            result.Skipped << Skipped(source.Name, error);
            continue;
        }
        bytes += file.Content.size();
        const QString name = UniqueEntryName(source.Name, result.Packed);
        file.Name = EncodePath(name);
        result.Packed << name;
        read.push_back(std::move(file));
    }
    if (read.empty()) {
        result.Packed.clear();
        result.Error = Translated("None of the files could be read; no archive was written.");
        return result;
    }

    if (progress && !progress(sources.size(), total)) {
        result.Cancelled = true;
        result.Packed.clear();
        return result;
    }
    CloseState state{&progress, total};
    const QByteArray archive = BuildArchive(read, state, &cause);
    if (state.Cancelled) {
        result.Cancelled = true;
        result.Packed.clear();
        return result;
    }
    if (archive.isEmpty()) {
        result.Packed.clear();
        return fail(cause);
    }
    // Put on the disk before it takes the name: a power cut leaves the old archive or the
    // new one, whole.
    PendingFile file;
    bool existed = false;
    if (!file.Create(folder, &cause) ||
        !file.Write(archive.constData(), size_t(archive.size()), &cause) ||
        !file.Finish(std::nullopt, std::nullopt, true, &cause) ||
        !file.Commit(target.fileName(), replace, &cause, &existed)) {
        result.Packed.clear();
        return fail(existed ? Translated("the file already exists") : cause);
    }
    result.Written = true;
    return result;
}
