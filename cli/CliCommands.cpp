#include "cli/CliCommands.h"

#include "common/DateTime.h"
#include "common/Helpers.h"
#include "common/PalmText.h"
#include "core/ArchiveListing.h"
#include "core/FolderListing.h"
#include "core/HeaderDetails.h"
#include "core/ProgramPaths.h"
#include "creators/CreatorCatalogue.h"
#include "platform/NativePath.h"
#include "zip/ExtractionFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* const Usage =
    "Usage: brisko-cli info [--json] FILE...\n"
    "       brisko-cli list [--json] FOLDER|ARCHIVE.zip\n"
    "\n"
    "  info   print the database header of each Palm file (.pdb, .prc)\n"
    "  list   print the rows that Brisko's file list shows for a folder or a ZIP archive\n"
    "  --json print a JSON array instead of text\n";

QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

// Appends a text of the text output with its control characters escaped: a name holding
// CR LF must not split its line, nor an ESC reach the terminal. (Rows of a listing are
// appended one by one, without a text each.)
void AppendPrintable(QString& out, QStringView text) {
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= 0x20 && (code < 0x7F || code >= 0xA0)) {
            out += c;
            continue;
        }
        switch (code) {
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        }
    }
}

QString Printable(QStringView text) {
    QString result;
    AppendPrintable(result, text);
    return result;
}

void ReportError(QTextStream& err, const QString& file, const QString& message) {
    err << "brisko-cli: " << Printable(DisplayName(file)) << ": " << Printable(message) << '\n';
}

QJsonObject HeaderObject(const QString& file, const TPalmDatabase& reader) {
    const TPDBHeader& h = reader.Header();
    QJsonObject o;
    o[Latin("file")] = DisplayName(file);
    o[Latin("name")] = PalmTextToQString(h.Name);
    o[Latin("type")] = PalmTextToQString(h.DBType);
    o[Latin("creator")] = PalmTextToQString(h.Creator);
    o[Latin("attributes")] = int(h.Attributes);
    o[Latin("readOnly")] = h.ReadOnly;
    o[Latin("dirty")] = h.Dirty;
    o[Latin("backup")] = h.Backup;
    o[Latin("overwrite")] = h.Overwrite;
    o[Latin("forceReset")] = h.ForceReset;
    o[Latin("noBeaming")] = h.NoBeaming;
    o[Latin("version")] = h.Version;
    o[Latin("created")] = DateTimeIsoText(h.Created);
    o[Latin("modified")] = DateTimeIsoText(h.Modified);
    o[Latin("backedUp")] = DateTimeIsoText(h.BackedUp);
    o[Latin("modNumber")] = h.ModNumber;
    o[Latin("appInfoArea")] = h.AppInfoArea;
    o[Latin("sortInfoArea")] = h.SortInfoArea;
    o[Latin("idSeed")] = h.IDSeed;
    o[Latin("nextRecordList")] = h.NextRecordList;
    o[Latin("recordCount")] = h.RecordCount;
    o[Latin("fileSize")] = qint64(reader.FileSize());
    return o;
}

void PrintHeaderText(QTextStream& out, const QString& file, const TPalmDatabase& reader) {
    const TPDBHeader& h = reader.Header();
    out << "File: " << Printable(DisplayName(file)) << '\n';
    out << "Name: " << Printable(PalmTextToQString(h.Name)) << '\n';
    const auto values = HeaderRowValues(h, Latin("Unknown"));
    for (int i = 0; i < HeaderRowCount; ++i)
        out << HeaderRowCaptions()[size_t(i)] << ": " << Printable(values[size_t(i)]) << '\n';
    const auto flags = HeaderFlags(h);
    for (int i = 0; i < FlagCount; ++i)
        out << FlagCaptions()[size_t(i)] << ": " << (flags[size_t(i)] ? "yes" : "no") << '\n';
    out << "File size: " << reader.FileSize() << '\n';
}

int Info(const QStringList& files, bool json, QTextStream& out, QTextStream& err) {
    int status = ExitOk;
    QJsonArray array;
    bool first = true;
    for (const QString& file : files) {
        try {
            TPalmDatabase reader(EncodePath(file).toStdString(), true);
            if (json) {
                array.append(HeaderObject(file, reader));
            } else {
                if (!first)
                    out << '\n';
                PrintHeaderText(out, file, reader);
                first = false;
            }
        } catch (const std::exception& error) {
            const QString message = QString::fromUtf8(error.what());
            ReportError(err, file, message);
            if (json)
                array.append(
                    QJsonObject{{Latin("file"), DisplayName(file)}, {Latin("error"), message}});
            status = ExitSomeUnreadable;
        }
    }
    if (json)
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    return status;
}

void PrintRows(const std::vector<FileRow>& rows, bool json, QTextStream& out) {
    if (json) {
        QJsonArray array;
        for (const FileRow& row : rows)
            array.append(QJsonObject{{Latin("name"), row.Name},
                                     {Latin("type"), row.Type},
                                     {Latin("database"), row.Database},
                                     {Latin("size"), SizeColumnText(row)},
                                     {Latin("changed"), ChangedColumnText(row)},
                                     {Latin("bytes"), qint64(row.Bytes)}});
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        // One line buffer for all rows: a listing may print 100,000 of them.
        QString line;
        for (const FileRow& row : rows) {
            line.resize(0); // keeps its capacity
            AppendPrintable(line, row.Name);
            line += u'\t';
            AppendPrintable(line, row.Type);
            line += u'\t';
            line += SizeColumnText(row);
            line += u'\t';
            AppendFileDateText(line, row.ChangedStamp);
            line += u'\n';
            out << line;
        }
        out << rows.size() << " file(s).\n";
    }
}

// The archive's Palm entries are extracted into the window's Temp folder, as the window
// does, and removed again once their headers are read.
int ListArchive(const QString& path, bool json, QTextStream& out, QTextStream& err) {
    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    const QString temp = ProgramPaths::ForThisProgram().TempFolder;
    ExtractionFolder::RemoveAbandoned(temp); // copies of a run that was killed
    ExtractionFolder extraction(temp);
    const ArchiveListing listing = ArchiveLister(reader, catalogue, extraction).List(path);
    extraction.RemoveWritten();
    if (!listing.Opened) {
        ReportError(err, path, listing.OpenError);
        return ExitSomeUnreadable;
    }
    for (const ListingError& error : listing.Errors)
        ReportError(err, error.File, error.Message);
    PrintRows(listing.Rows, json, out);
    return listing.Errors.empty() ? ExitOk : ExitSomeUnreadable;
}

int List(const QString& folder, bool json, QTextStream& out, QTextStream& err) {
    if (IsZipFile(folder) && !FolderExists(folder))
        return ListArchive(folder, json, out, err);
    TPalmPDB reader(std::string(), false);
    ListeDerLinks catalogue;
    const FolderListing listing = FolderLister(reader, catalogue).ListFolder(folder, {});
    for (const ListingError& error : listing.Errors)
        ReportError(err, error.File, error.Message);
    PrintRows(listing.Rows, json, out);
    return listing.Errors.empty() ? ExitOk : ExitSomeUnreadable;
}

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() == 1 && (arguments[0] == Latin("--help") || arguments[0] == Latin("-h"))) {
        out << Usage;
        return ExitOk;
    }
    if (arguments.size() == 1 && arguments[0] == Latin("--version")) {
        out << "brisko-cli " << BRISKO_VERSION << '\n';
        return ExitOk;
    }
    QStringList rest = arguments.mid(1);
    const bool json = !rest.isEmpty() && rest.first() == Latin("--json");
    if (json)
        rest.removeFirst();
    if (!rest.isEmpty() && rest.first() == Latin("--"))
        rest.removeFirst();
    const QString command = arguments.value(0);
    if (command == Latin("info") && !rest.isEmpty())
        return Info(rest, json, out, err);
    if (command == Latin("list") && rest.size() == 1)
        return List(rest.first(), json, out, err);
    err << Usage;
    return ExitUsage;
}
