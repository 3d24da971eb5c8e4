#include "cli/CliCommands.h"

#include "cli/CliText.h"
#include "cli/ContentsCommands.h"
#include "cli/ExportCommand.h"
#include "cli/PackCommand.h"
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
    "       brisko-cli contents [--json] FILE\n"
    "       brisko-cli extract FILE [--entry N...] --to FOLDER\n"
    "       brisko-cli check [--json] [--recursive] PATH...\n"
    "       brisko-cli export [--format natural|csv] [--encoding E] [--include-deleted]\n"
    "                         PATH... --to FOLDER\n"
    "       brisko-cli pack [--replace] PATH... --to ARCHIVE.zip\n"
    "\n"
    "  info     print the database header of each Palm file (.pdb, .prc)\n"
    "  list     print the rows that Brisko's file list shows for a folder or a ZIP archive\n"
    "  contents print the records or resources of a Palm file and its app info and sort\n"
    "           info blocks, with the problems of a damaged list\n"
    "  extract  write the entries numbered N (all, with the blocks, when none is given)\n"
    "           to files of their own in FOLDER; an existing file is never replaced\n"
    "  check    check the structure of Palm files, of the .pdb and .prc files of a folder,\n"
    "           or with --recursive of a folder tree; exit status 1 when a file is\n"
    "           damaged or suspicious\n"
    "  export   write the memos, addresses, to-dos, appointments and e-books of Palm\n"
    "           files (or of a folder's) to FOLDER: text, vCard and iCalendar, or CSV\n"
    "           with --format csv; text in the code page E (default windows-1252);\n"
    "           exit status 1 when something was skipped\n"
    "  pack     pack Palm files (or a folder's .pdb and .prc files) into a new ZIP\n"
    "           archive; an existing ARCHIVE is replaced only with --replace; exit\n"
    "           status 1 when something was skipped or nothing was written\n"
    "  --json   print JSON instead of text\n";

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

void PrintRows(const std::vector<FileRow>& rows, bool archive, bool json, QTextStream& out) {
    if (json) {
        QJsonArray array;
        for (const FileRow& row : rows)
            array.append(QJsonObject{{Latin("name"), row.Name},
                                     {Latin("type"), row.Type},
                                     {Latin("database"), row.Database},
                                     {Latin("size"), SizeColumnText(row, archive)},
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
            line += SizeColumnText(row, archive);
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
    PrintRows(listing.Rows, true, json, out);
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
    PrintRows(listing.Rows, false, json, out);
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
    const QString command = arguments.value(0);
    if (command == Latin("contents"))
        return ContentsCommand(arguments.mid(1), out, err, Usage);
    if (command == Latin("extract"))
        return ExtractCommand(arguments.mid(1), out, err, Usage);
    if (command == Latin("check"))
        return CheckCommand(arguments.mid(1), out, err, Usage);
    if (command == Latin("export"))
        return ExportCommand(arguments.mid(1), out, err, Usage);
    if (command == Latin("pack"))
        return PackCommand(arguments.mid(1), out, err, Usage);
    QStringList rest = arguments.mid(1);
    const bool json = !rest.isEmpty() && rest.first() == Latin("--json");
    if (json)
        rest.removeFirst();
    if (!rest.isEmpty() && rest.first() == Latin("--"))
        rest.removeFirst();
    if (command == Latin("info") && !rest.isEmpty())
        return Info(rest, json, out, err);
    if (command == Latin("list") && rest.size() == 1)
        return List(rest.first(), json, out, err);
    err << Usage;
    return ExitUsage;
}
