#include "cli/ContentsCommands.h"

#include "cli/CliCommands.h"
#include "cli/CliText.h"
#include "common/PalmText.h"
#include "core/DatabaseCheckRun.h"
#include "core/EntryExtraction.h"
#include "i18n/Translate.h"
#include "palmdb/CategoryBlock.h"
#include "palmdb/DatabaseContents.h"
#include "platform/NativePath.h"
#include "platform/SafeWrite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>
#include <set>

namespace {

int UsageError(QTextStream& err, const char* usage) {
    err << usage;
    return ExitUsage;
}

// The source of a file given on the command line, or null after reporting why.
std::unique_ptr<FileByteSource> OpenSource(const QString& file, QTextStream& err) {
    std::string error;
    auto source = FileByteSource::Open(EncodePath(file).toStdString(), &error);
    if (!source)
        ReportError(err, file, QString::fromLocal8Bit(error.c_str()));
    return source;
}

QString Hex(uint32_t value, int digits) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString AttributeWords(unsigned attributes) {
    QStringList words;
    const std::pair<unsigned, const char*> bits[] = {{RecordDeleted, "deleted"},
                                                     {RecordDirty, "dirty"},
                                                     {RecordBusy, "busy"},
                                                     {RecordSecret, "secret"}};
    for (const auto& [bit, word] : bits)
        if (attributes & bit)
            words << Latin(word);
    return words.isEmpty() ? Latin("-") : words.join(u',');
}

QJsonValue BlockValue(bool has, const ContentsEntry& block) {
    if (!has)
        return QJsonValue::Null;
    QJsonObject o{{Latin("offset"), qint64(block.Offset)}, {Latin("size"), qint64(block.Size)}};
    if (block.Problem != EntryProblem::None)
        o[Latin("problem")] = Translated(EntryProblemText(block.Problem));
    return o;
}

QJsonObject EntryObject(const ContentsEntry& entry) {
    QJsonObject o{{Latin("index"), entry.Index},
                  {Latin("offset"), qint64(entry.Offset)},
                  {Latin("size"), qint64(entry.Size)}};
    if (entry.Kind == ContentsEntryKind::Resource) {
        o[Latin("type")] = PalmTextToQString(entry.Type);
        o[Latin("id")] = int(entry.Id);
    } else {
        o[Latin("attributes")] = int(entry.Attributes);
        o[Latin("category")] = int(entry.Category);
        o[Latin("uniqueId")] = qint64(entry.UniqueId);
    }
    if (entry.Problem != EntryProblem::None)
        o[Latin("problem")] = Translated(EntryProblemText(entry.Problem));
    return o;
}

QStringList ProblemTexts(const DatabaseContents& contents) {
    QStringList texts;
    for (const ContentsProblem problem : contents.Problems) {
        QString text = Translated(ContentsProblemText(problem));
        if (problem == ContentsProblem::ListUnreadable && !contents.ReadError.empty())
            text += u' ' + QString::fromLocal8Bit(contents.ReadError.c_str());
        texts << text;
    }
    return texts;
}

void PrintContentsJson(QTextStream& out, const QString& file, const DatabaseContents& contents,
                       const std::optional<CategoryBlock>& categories) {
    QJsonArray entries;
    for (const ContentsEntry& entry : contents.Entries)
        entries.append(EntryObject(entry));
    QJsonValue names = QJsonValue::Null;
    if (categories) {
        QJsonArray array;
        for (const std::string& name : categories->Names)
            array.append(PalmTextToQString(name));
        names = array;
    }
    const QJsonObject o{
        {Latin("file"), DisplayName(file)},
        {Latin("kind"), Latin(contents.Kind == ContentsKind::Resources ? "resources" : "records")},
        {Latin("entries"), entries},
        {Latin("appInfo"), BlockValue(contents.HasAppInfo, contents.AppInfo)},
        {Latin("sortInfo"), BlockValue(contents.HasSortInfo, contents.SortInfo)},
        {Latin("categories"), names},
        {Latin("problems"), QJsonArray::fromStringList(ProblemTexts(contents))}};
    out << QJsonDocument(o).toJson(QJsonDocument::Indented);
}

QString BlockText(bool has, const ContentsEntry& block) {
    if (!has)
        return Latin("none");
    QString text = QStringLiteral("offset %1, %2 bytes").arg(block.Offset).arg(block.Size);
    if (block.Problem != EntryProblem::None)
        text += Latin(" (") + Translated(EntryProblemText(block.Problem)) + u')';
    return text;
}

void PrintContentsText(QTextStream& out, const QString& file, const DatabaseContents& contents,
                       const std::optional<CategoryBlock>& categories) {
    const bool resources = contents.Kind == ContentsKind::Resources;
    out << "File: " << Printable(DisplayName(file)) << '\n';
    out << "Kind: " << (resources ? "resources" : "records") << '\n';
    out << "App info: " << BlockText(contents.HasAppInfo, contents.AppInfo) << '\n';
    out << "Sort info: " << BlockText(contents.HasSortInfo, contents.SortInfo) << '\n';
    if (categories) {
        QStringList names;
        for (const std::string& name : categories->Names)
            if (!name.empty())
                names << Printable(PalmTextToQString(name));
        out << "Categories: " << names.join(Latin(", ")) << '\n';
    }
    for (const QString& problem : ProblemTexts(contents))
        out << "Problem: " << Printable(problem) << '\n';
    out << (resources ? "Index\tType\tID\tOffset\tSize\n"
                      : "Index\tOffset\tSize\tAttributes\tCategory\tUnique ID\n");
    QString line;
    for (const ContentsEntry& entry : contents.Entries) {
        line = QString::number(entry.Index) + u'\t';
        if (resources) {
            AppendPrintable(line, PalmTextToQString(entry.Type));
            line += u'\t' + QString::number(entry.Id) + u'\t';
        }
        line += QString::number(entry.Offset) + u'\t' + QString::number(entry.Size);
        if (!resources) {
            line +=
                u'\t' + AttributeWords(entry.Attributes) + u'\t' + QString::number(entry.Category);
            if (categories && !categories->Names[entry.Category].empty()) {
                line += Latin(" (");
                AppendPrintable(line, PalmTextToQString(categories->Names[entry.Category]));
                line += u')';
            }
            line += u'\t' + Hex(entry.UniqueId, 6);
        }
        if (entry.Problem != EntryProblem::None)
            line += Latin("\t! ") + Translated(EntryProblemText(entry.Problem));
        out << line << '\n';
    }
    out << contents.Entries.size() << (resources ? " resource(s).\n" : " record(s).\n");
}

} // namespace

int ContentsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const char* usage) {
    QStringList rest = arguments;
    const bool json = !rest.isEmpty() && rest.first() == Latin("--json");
    if (json)
        rest.removeFirst();
    if (!rest.isEmpty() && rest.first() == Latin("--"))
        rest.removeFirst();
    if (rest.size() != 1)
        return UsageError(err, usage);
    const QString file = rest.first();
    const auto source = OpenSource(file, err);
    if (!source)
        return ExitSomeUnreadable;
    const DatabaseContents contents = ReadDatabaseContents(*source);
    const std::optional<CategoryBlock> categories = ReadCategoryBlock(*source, contents);
    if (json)
        PrintContentsJson(out, file, contents, categories);
    else
        PrintContentsText(out, file, contents, categories);
    if (contents.HasProblem(ContentsProblem::HeaderCut) ||
        contents.HasProblem(ContentsProblem::ListUnreadable)) {
        ReportError(err, file, ProblemTexts(contents).first());
        return ExitSomeUnreadable;
    }
    return ExitOk;
}

int ExtractCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   const char* usage) {
    QString file;
    QString folderPath;
    std::set<int> wanted;
    bool someWanted = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == Latin("--to") && i + 1 < arguments.size() && folderPath.isEmpty()) {
            folderPath = arguments[++i];
        } else if (argument == Latin("--entry")) {
            // One or more numbers follow.
            bool any = false;
            while (i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-')) {
                bool ok = false;
                const int index = arguments[i + 1].toInt(&ok);
                if (!ok || index < 0)
                    return UsageError(err, usage);
                wanted.insert(index);
                any = true;
                ++i;
            }
            if (!any)
                return UsageError(err, usage);
            someWanted = true;
        } else if (file.isEmpty() && (!argument.startsWith(u'-') || argument == Latin("-"))) {
            file = argument;
        } else {
            return UsageError(err, usage);
        }
    }
    if (file.isEmpty() || folderPath.isEmpty())
        return UsageError(err, usage);

    const auto source = OpenSource(file, err);
    if (!source)
        return ExitSomeUnreadable;
    const DatabaseContents contents = ReadDatabaseContents(*source);
    if (contents.HasProblem(ContentsProblem::HeaderCut)) {
        ReportError(err, file, ProblemTexts(contents).first());
        return ExitSomeUnreadable;
    }
    std::vector<const ContentsEntry*> entries;
    if (!someWanted) {
        if (contents.HasAppInfo)
            entries.push_back(&contents.AppInfo);
        if (contents.HasSortInfo)
            entries.push_back(&contents.SortInfo);
    }
    for (const ContentsEntry& entry : contents.Entries)
        if (!someWanted || wanted.count(entry.Index))
            entries.push_back(&entry);
    int status = ExitOk;
    for (const int index : wanted)
        if (index >= int(contents.Entries.size())) {
            ReportError(err, file, QStringLiteral("there is no entry %1").arg(index));
            status = ExitSomeUnreadable;
        }

    QString error;
    const FolderHandle folder = FolderHandle::Open(folderPath, &error);
    if (!folder.IsValid()) {
        ReportError(err, folderPath, error);
        return ExitSomeUnreadable;
    }
    for (const ContentsEntry* entry : entries) {
        const ExtractResult result = ExtractEntry(*source, *entry, folder, false);
        const QString target = folder.Path() + result.Name;
        switch (result.Outcome) {
        case ExtractOutcome::Written:
            out << Printable(DisplayName(target)) << '\n';
            break;
        case ExtractOutcome::Exists:
            ReportError(err, target, Latin("exists already; not replaced"));
            status = ExitSomeUnreadable;
            break;
        case ExtractOutcome::Failed:
            ReportError(err, target, result.Error);
            status = ExitSomeUnreadable;
            break;
        }
    }
    return status;
}

int CheckCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const char* usage) {
    bool json = false;
    bool recursive = false;
    QStringList paths;
    bool optionsEnd = false;
    for (const QString& argument : arguments) {
        if (!optionsEnd && argument == Latin("--json"))
            json = true;
        else if (!optionsEnd && argument == Latin("--recursive"))
            recursive = true;
        else if (!optionsEnd && argument == Latin("--"))
            optionsEnd = true;
        else if (!optionsEnd && argument.startsWith(Latin("--")))
            return UsageError(err, usage);
        else
            paths << argument;
    }
    if (paths.isEmpty())
        return UsageError(err, usage);

    const CheckRunResult result = CheckPalmFiles(paths, recursive);
    if (json) {
        QJsonArray array;
        for (const CheckedFile& file : result.Files)
            for (const FileFinding& finding : file.Findings)
                array.append(
                    QJsonObject{{Latin("file"), DisplayName(file.File)},
                                {Latin("entry"), finding.Entry < 0 ? QJsonValue(QJsonValue::Null)
                                                                   : QJsonValue(finding.Entry)},
                                {Latin("severity"), Latin(SeverityWord(finding.Severity))},
                                {Latin("code"), finding.Code},
                                {Latin("text"), finding.Text}});
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        std::size_t troubled = 0;
        QString line;
        for (const CheckedFile& file : result.Files) {
            troubled += file.HasTrouble() ? 1 : 0;
            for (const FileFinding& finding : file.Findings) {
                line.resize(0);
                AppendPrintable(line, DisplayName(file.File));
                line += u'\t';
                line += finding.Entry < 0 ? Latin("-") : QString::number(finding.Entry);
                line +=
                    u'\t' + Latin(SeverityWord(finding.Severity)) + u'\t' + finding.Code + u'\t';
                AppendPrintable(line, finding.Text);
                out << line << '\n';
            }
        }
        out << result.Files.size() << " file(s) checked, " << troubled
            << " damaged or suspicious.\n";
    }
    return result.HasTrouble() ? ExitSomeUnreadable : ExitOk;
}
