#include "palmdb/DatabaseCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

// Marks English texts for the translation catalogue; the callers look them up.
#define N_(text) text

namespace {

struct FindingKind {
    CheckSeverity Severity;
    const char* Code;
};

// The finding of an entry problem.
FindingKind KindOf(EntryProblem problem) {
    switch (problem) {
    case EntryProblem::None:
        break;
    case EntryProblem::OutsideFile:
        return {CheckSeverity::Damaged, "offset-outside-file"};
    case EntryProblem::InsideHeader:
        return {CheckSeverity::Damaged, "offset-inside-header"};
    case EntryProblem::NotAscending:
        return {CheckSeverity::Damaged, "offset-not-ascending"};
    case EntryProblem::OverlapsAppInfo:
        return {CheckSeverity::Damaged, "appinfo-overlaps-entry"};
    case EntryProblem::OverlapsSortInfo:
        return {CheckSeverity::Damaged, "sortinfo-overlaps-entry"};
    }
    return {CheckSeverity::Note, ""};
}

FindingKind KindOf(ContentsProblem problem) {
    switch (problem) {
    case ContentsProblem::HeaderCut:
        return {CheckSeverity::Damaged, "header-too-short"};
    case ContentsProblem::ListCut:
        return {CheckSeverity::Damaged, "list-cut"};
    case ContentsProblem::ListUnreadable:
        return {CheckSeverity::Damaged, "unreadable"};
    case ContentsProblem::AppInfoOutsideFile:
        return {CheckSeverity::Damaged, "appinfo-outside-file"};
    case ContentsProblem::SortInfoOutsideFile:
        return {CheckSeverity::Damaged, "sortinfo-outside-file"};
    case ContentsProblem::AppInfoInsideHeader:
        return {CheckSeverity::Damaged, "appinfo-inside-header"};
    case ContentsProblem::SortInfoInsideHeader:
        return {CheckSeverity::Damaged, "sortinfo-inside-header"};
    }
    return {CheckSeverity::Note, ""};
}

std::string LowerExtension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string extension = fileName.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Every entry whose key an earlier entry has already, by index. Keys are sorted with
// their indexes, so that 65,535 entries cost no quadratic search.
template <typename Key> std::vector<int> LaterDuplicates(std::vector<std::pair<Key, int>> keys) {
    std::sort(keys.begin(), keys.end());
    std::vector<int> duplicates;
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i].first == keys[i - 1].first)
            duplicates.push_back(keys[i].second);
    return duplicates;
}

} // namespace

const char* SeverityWord(CheckSeverity severity) {
    switch (severity) {
    case CheckSeverity::Damaged:
        return "damaged";
    case CheckSeverity::Suspicious:
        return "suspicious";
    case CheckSeverity::Note:
        return "note";
    }
    return "note";
}

std::vector<CheckFinding> CheckDatabase(const DatabaseContents& contents,
                                        const std::string& fileName) {
    std::vector<CheckFinding> findings;
    const auto add = [&](int entry, CheckSeverity severity, const char* code, const char* text) {
        findings.push_back({entry, severity, code, text});
    };
    for (const ContentsProblem problem : contents.Problems) {
        const FindingKind kind = KindOf(problem);
        add(-1, kind.Severity, kind.Code, ContentsProblemText(problem));
    }
    if (contents.HasProblem(ContentsProblem::HeaderCut))
        return findings;

    const ContentsHeader& header = contents.Header;
    if (header.NameField.find('\0') == std::string::npos)
        add(-1, CheckSeverity::Suspicious, "name-without-nul",
            N_("The database name has no terminating NUL byte."));
    if (header.NextRecordList != 0)
        add(-1, CheckSeverity::Suspicious, "next-record-list",
            N_("The header points to a further entry list, which is not supported."));
    const std::string extension = LowerExtension(fileName);
    const bool resources = contents.Kind == ContentsKind::Resources;
    if (extension == "prc" && !resources)
        add(-1, CheckSeverity::Suspicious, "resource-bit-missing",
            N_("The file is named .prc but is not marked as a resource database."));
    if (extension == "pdb" && resources)
        add(-1, CheckSeverity::Suspicious, "resource-bit-on-pdb",
            N_("The file is named .pdb but is marked as a resource database."));
    if (contents.HasAppInfo && contents.HasSortInfo && contents.AppInfo.Size > 0 &&
        contents.AppInfo.Offset == contents.SortInfo.Offset)
        add(-1, CheckSeverity::Damaged, "sortinfo-overlaps-appinfo",
            N_("The sort info block and the app info block start at the same offset."));
    // Nothing is read after the list when the database holds nothing; Palm OS writes two
    // pad bytes there.
    const bool empty = contents.Entries.empty() && !contents.HasAppInfo && !contents.HasSortInfo;
    if (empty && contents.Problems.empty() && contents.FileSize > contents.ListEnd() + 2)
        add(-1, CheckSeverity::Note, "trailing-bytes",
            N_("The file holds bytes after its last entry that belong to nothing."));

    const std::size_t fileWide = findings.size();
    for (const ContentsEntry& entry : contents.Entries)
        if (entry.Problem != EntryProblem::None) {
            const FindingKind kind = KindOf(entry.Problem);
            add(entry.Index, kind.Severity, kind.Code, EntryProblemText(entry.Problem));
        }

    std::vector<int> duplicates;
    if (resources) {
        std::vector<std::pair<std::pair<std::string, uint16_t>, int>> keys;
        keys.reserve(contents.Entries.size());
        for (const ContentsEntry& entry : contents.Entries)
            keys.push_back({{entry.Type, entry.Id}, entry.Index});
        for (const int index : LaterDuplicates(std::move(keys)))
            add(index, CheckSeverity::Suspicious, "duplicate-resource",
                N_("Another resource has the same type and ID."));
    } else {
        // ID 0 is no ID: the handheld gives such records one when it installs them.
        std::vector<std::pair<uint32_t, int>> keys;
        keys.reserve(contents.Entries.size());
        for (const ContentsEntry& entry : contents.Entries)
            if (entry.UniqueId != 0)
                keys.push_back({entry.UniqueId, entry.Index});
        for (const int index : LaterDuplicates(std::move(keys)))
            add(index, CheckSeverity::Suspicious, "duplicate-unique-id",
                N_("Another record has the same unique ID."));
    }
    std::stable_sort(
        findings.begin() + std::ptrdiff_t(fileWide), findings.end(),
        [](const CheckFinding& a, const CheckFinding& b) { return a.Entry < b.Entry; });
    return findings;
}

bool HasTrouble(const std::vector<CheckFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const CheckFinding& finding) {
        return finding.Severity != CheckSeverity::Note;
    });
}
