#include "core/InstallCollisions.h"

#include "common/PalmText.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "palmdb/DatabaseCheck.h"
#include "platform/NativePath.h"

#include <map>

InstallInspection InspectForInstall(const QString& file) {
    InstallInspection candidate;
    candidate.File = file;
    std::string error;
    const auto source = FileByteSource::Open(EncodePath(file).toStdString(), &error);
    if (!source) {
        candidate.Problem = QString::fromLocal8Bit(error.c_str());
        return candidate;
    }
    const DatabaseContents contents = ReadDatabaseContents(*source);
    if (contents.HasProblem(ContentsProblem::HeaderCut)) {
        candidate.Problem = Translated(ContentsProblemText(ContentsProblem::HeaderCut));
        return candidate;
    }
    candidate.IsPalmDatabase = true;
    const std::string& field = contents.Header.NameField;
    candidate.NameBytes = field.substr(0, field.find('\0'));
    candidate.DatabaseName = PalmTextToQString(candidate.NameBytes);
    for (const CheckFinding& finding : CheckDatabase(contents, EncodePath(file).toStdString()))
        if (finding.Severity == CheckSeverity::Damaged) {
            candidate.Damaged = true;
            candidate.Problem = Translated(finding.Text);
            break;
        }
    return candidate;
}

std::vector<InstallConcern> InstallConcerns(const std::vector<InstallInspection>& candidates) {
    std::vector<InstallConcern> concerns;
    // Names in the order they first appear, with the files that have each.
    std::vector<std::string> order;
    std::map<std::string, QStringList> filesOfName;
    for (const InstallInspection& candidate : candidates) {
        if (!candidate.IsPalmDatabase)
            continue;
        QStringList& files = filesOfName[candidate.NameBytes];
        if (files.isEmpty())
            order.push_back(candidate.NameBytes);
        files << candidate.File;
    }
    for (const std::string& name : order) {
        const QStringList& files = filesOfName[name];
        if (files.size() < 2)
            continue;
        const QString text = PalmTextToQString(name);
        concerns.push_back(
            {InstallConcernKind::SameDatabaseName, files, text,
             FillPlaceholders(Translated("These files hold the same database \"%s\"; the "
                                         "handheld keeps only the one installed last:"),
                              {{u"%s", text}})});
    }
    for (const InstallInspection& candidate : candidates)
        if (candidate.IsPalmDatabase && candidate.Damaged)
            concerns.push_back({InstallConcernKind::Damaged,
                                {candidate.File},
                                candidate.DatabaseName,
                                FillPlaceholders(Translated("The file is damaged: %s"),
                                                 {{u"%s", candidate.Problem}})});
    for (const InstallInspection& candidate : candidates)
        if (!candidate.IsPalmDatabase)
            concerns.push_back({InstallConcernKind::NotPalmDatabase,
                                {candidate.File},
                                QString(),
                                FillPlaceholders(Translated("The file is not a Palm database: %s"),
                                                 {{u"%s", candidate.Problem}})});
    return concerns;
}
