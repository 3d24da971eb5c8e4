#include "export/ExportRun.h"

#include "export/AddressDecoder.h"
#include "export/CsvWriter.h"
#include "export/DatebookDecoder.h"
#include "export/EntryRecord.h"
#include "export/ICalendarWriter.h"
#include "export/MemoDecoder.h"
#include "export/MemoFileNames.h"
#include "export/PalmDocDecoder.h"
#include "export/ToDoDecoder.h"
#include "export/VCardWriter.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "palmdb/DatabaseContents.h"
#include "platform/AtomicFile.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>

namespace {

// No record of the built-in databases comes near this; a bigger one is damage.
constexpr std::size_t MaxRecordBytes = 1 << 20;

// One database opened for export: its list, and its records' bytes as they are read.
struct OpenDatabase {
    std::unique_ptr<FileByteSource> Source;
    DatabaseContents Contents;
};

QString Named(const QString& file, const QString& reason) {
    return DisplayName(QFileInfo(file).fileName()) + QStringLiteral(": ") + reason;
}

// "record 3: cause", as a skipped record is named after its file.
QString RecordTrouble(int index, const QString& cause) {
    return FillPlaceholders(Translated("record %d"), {{u"%d", QString::number(index)}}) +
           QStringLiteral(": ") + cause;
}

// A name in folder not taken yet: "name.ext", else "name (2).ext", ...
QString FreePath(const QString& folder, const QString& fileName) {
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString path = QDir(folder).filePath(fileName);
    for (int number = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++number)
        path = QDir(folder).filePath(base + QStringLiteral(" (") + QString::number(number) + u')' +
                                     suffix);
    return path;
}

class Run {
public:
    Run(QString target, const ExportSettings& settings)
        : FTarget(std::move(target)), FSet(settings) {}

    void Export(const QString& file);
    ExportSummary Summary;

private:
    bool Open(const QString& file, OpenDatabase& db);
    QByteArray AppInfo(OpenDatabase& db);
    // The records' bytes with their attributes, those that cannot be read named as skipped.
    std::vector<std::pair<QByteArray, const ContentsEntry*>> Records(const QString& file,
                                                                     OpenDatabase& db);
    void Write(const QString& folder, const QString& fileName, const QString& text);
    template <typename T, typename Decode>
    QList<T> DecodeAll(const QString& file, OpenDatabase& db, Decode decode);

    QString FTarget;
    const ExportSettings& FSet;
};

bool Run::Open(const QString& file, OpenDatabase& db) {
    std::string error;
    db.Source = FileByteSource::Open(EncodePath(file).toStdString(), &error);
    if (!db.Source) {
        Summary.Skipped << Named(file, QString::fromStdString(error));
        return false;
    }
    db.Contents = ReadDatabaseContents(*db.Source);
    if (db.Contents.HasProblem(ContentsProblem::HeaderCut)) {
        Summary.Skipped << Named(file, Translated("not a Palm database"));
        return false;
    }
    return true;
}

QByteArray Run::AppInfo(OpenDatabase& db) {
    // A block that cannot be read leaves the categories and labels at their defaults.
    if (!db.Contents.HasAppInfo)
        return {};
    return ReadEntryRecord(*db.Source, db.Contents.AppInfo, MaxRecordBytes, nullptr)
        .value_or(QByteArray());
}

std::vector<std::pair<QByteArray, const ContentsEntry*>> Run::Records(const QString& file,
                                                                      OpenDatabase& db) {
    std::vector<std::pair<QByteArray, const ContentsEntry*>> records;
    for (const ContentsEntry& entry : db.Contents.Entries) {
        QString cause;
        if (std::optional<QByteArray> bytes =
                ReadEntryRecord(*db.Source, entry, MaxRecordBytes, &cause))
            records.emplace_back(std::move(*bytes), &entry);
        else
            Summary.Skipped << Named(file, RecordTrouble(entry.Index, cause));
    }
    return records;
}

template <typename T, typename Decode>
QList<T> Run::DecodeAll(const QString& file, OpenDatabase& db, Decode decode) {
    QList<T> decoded;
    for (const auto& [bytes, entry] : Records(file, db)) {
        const PalmRecordBytes record{QByteArrayView(bytes),
                                     uint8_t(entry->Attributes | entry->Category), entry->UniqueId};
        const Decoded<T> one = decode(record, FSet.Page);
        if (one.Ok())
            decoded.append(*one.Value);
        else
            Summary.Skipped << Named(file, RecordTrouble(entry->Index, one.Error));
    }
    return decoded;
}

void Run::Write(const QString& folder, const QString& fileName, const QString& text) {
    QDir().mkpath(folder);
    const QString path = FreePath(folder, fileName);
    WriteFileAtomically(path, text.toUtf8());
    Summary.Written << path;
}

void Run::Export(const QString& file) {
    OpenDatabase db;
    if (!Open(file, db))
        return;
    const ExportKind kind = KindOf(db.Contents.Header.Type, db.Contents.Header.Creator);
    if (kind == ExportKind::Unknown) {
        Summary.Skipped << Named(file, Translated("not a database that Brisko can export"));
        return;
    }
    const QString base =
        SafeFileName(DisplayName(QFileInfo(file).completeBaseName()), QStringLiteral("export"));
    const bool csv = FSet.Format == ExportFormat::Csv;
    const QByteArray appInfo = AppInfo(db);
    const ExportOptions& options = FSet.Options;
    switch (kind) {
    case ExportKind::Memos: {
        const MemoAppInfo info =
            DecodeMemoAppInfo(appInfo, FSet.Page).Value.value_or(MemoAppInfo());
        const QList<Memo> memos = DecodeAll<Memo>(file, db, DecodeMemo);
        if (csv) {
            Write(FTarget, base + QStringLiteral(".csv"),
                  MemosAsCsv(memos, info.Categories, options));
            break;
        }
        const QList<QString> names = PlanMemoFiles(memos, info.Categories);
        const QString folder = FreePath(FTarget, base);
        for (qsizetype i = 0; i < memos.size(); ++i)
            if (RecordIsExported(memos[i].Flags, options.IncludeDeleted)) {
                const QFileInfo name(QDir(folder).filePath(names[i]));
                Write(name.path(), name.fileName(), memos[i].Text);
            }
        break;
    }
    case ExportKind::Addresses: {
        const AddressAppInfo info =
            DecodeAddressAppInfo(appInfo, FSet.Page).Value.value_or(AddressAppInfo());
        const QList<Address> addresses = DecodeAll<Address>(file, db, DecodeAddress);
        Write(FTarget, base + (csv ? QStringLiteral(".csv") : QStringLiteral(".vcf")),
              csv ? AddressesAsCsv(addresses, info, options)
                  : AddressesAsVCards(addresses, info, options));
        break;
    }
    case ExportKind::ToDos: {
        const ToDoAppInfo info =
            DecodeToDoAppInfo(appInfo, FSet.Page).Value.value_or(ToDoAppInfo());
        const QList<ToDoItem> items = DecodeAll<ToDoItem>(file, db, DecodeToDo);
        Write(FTarget, base + (csv ? QStringLiteral(".csv") : QStringLiteral(".ics")),
              csv ? ToDosAsCsv(items, info.Categories, options)
                  : ToDosAsICalendar(items, info.Categories, options));
        break;
    }
    case ExportKind::Appointments: {
        const DatebookAppInfo info =
            DecodeDatebookAppInfo(appInfo, FSet.Page).Value.value_or(DatebookAppInfo());
        const QList<Appointment> appointments = DecodeAll<Appointment>(file, db, DecodeAppointment);
        // Appointments have no CSV form: iCalendar is what calendars take.
        Write(FTarget, base + QStringLiteral(".ics"),
              AppointmentsAsICalendar(appointments, info.Categories, options));
        break;
    }
    case ExportKind::EBook: {
        const auto records = Records(file, db);
        if (records.empty() || records.front().second->Index != 0) {
            Summary.Skipped << Named(file, Translated("the e-book has no readable first record"));
            break;
        }
        QList<QByteArrayView> text;
        for (size_t i = 1; i < records.size(); ++i)
            text.append(QByteArrayView(records[i].first));
        const Decoded<QString> book =
            DecodePalmDocText(QByteArrayView(records.front().first), text, FSet.Page);
        if (!book.Ok())
            Summary.Skipped << Named(file, book.Error);
        else
            Write(FTarget, base + QStringLiteral(".txt"), *book.Value);
        break;
    }
    case ExportKind::Unknown:
        break;
    }
}

} // namespace

std::optional<ExportFormat> ExportFormatNamed(const QString& name) {
    if (name == QLatin1StringView("natural"))
        return ExportFormat::Natural;
    if (name == QLatin1StringView("csv"))
        return ExportFormat::Csv;
    return std::nullopt;
}

QString ExportFormatName(ExportFormat format) {
    return format == ExportFormat::Csv ? QStringLiteral("csv") : QStringLiteral("natural");
}

ExportKind KindOf(const std::string& type, const std::string& creator) {
    if (type == "DATA" && creator == "memo")
        return ExportKind::Memos;
    if (type == "DATA" && creator == "addr")
        return ExportKind::Addresses;
    if (type == "DATA" && creator == "todo")
        return ExportKind::ToDos;
    if (type == "DATA" && creator == "date")
        return ExportKind::Appointments;
    if (type == "TEXt" && creator == "REAd")
        return ExportKind::EBook;
    return ExportKind::Unknown;
}

ExportSummary ExportFiles(const QStringList& files, const QString& target,
                          const ExportSettings& settings,
                          const std::function<bool(size_t done, size_t total)>& progress) {
    Run run(target, settings);
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (progress && !progress(size_t(i), size_t(files.size())))
            break;
        try {
            run.Export(files[i]);
        } catch (const std::exception& error) {
            // A file that could not be written ends that database, not the run.
            run.Summary.Skipped << Named(files[i], QString::fromUtf8(error.what()));
        }
    }
    return run.Summary;
}
