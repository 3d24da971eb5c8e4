#include "creators/CreatorCatalogue.h"

#include "creators/CreatorIdsFile.h"
#include "i18n/Translate.h"
#include "platform/AtomicFile.h"
#include "platform/WriteError.h"

namespace {

const char* const ProgramKey = "Program";
const char* const DescriptionKey = "Description";
const char* const UrlKey = "URL";

} // namespace

const TLinks* ListeDerLinks::LinkAt(int index) const {
    if (index < 0 || index >= LinkCount())
        return nullptr;
    return FLinks[static_cast<size_t>(index)].get();
}

int ListeDerLinks::FindLink(const std::string& creatorID) const {
    const auto found = FLastIndex.find(creatorID);
    return found == FLastIndex.end() ? -1 : found->second;
}

int ListeDerLinks::AddLink(TLinks entry) {
    const int index = LinkCount();
    FLastIndex[entry.CreatorID] = index;
    FLinks.push_back(std::make_unique<TLinks>(std::move(entry)));
    return index;
}

void ListeDerLinks::UpdateLink(const std::string& creatorID, const std::string& program,
                               const std::string& description, const std::string& url, int index) {
    if (index < 0 || index >= LinkCount())
        return;
    TLinks& link = *FLinks[static_cast<size_t>(index)];
    if (link.CreatorID != creatorID) {
        const std::string old = std::move(link.CreatorID);
        link.CreatorID = creatorID;
        // The old ID may still stand lower down; the new one may stand higher up.
        if (FLastIndex[old] == index) {
            int lower = index - 1;
            while (lower >= 0 && FLinks[static_cast<size_t>(lower)]->CreatorID != old)
                --lower;
            if (lower >= 0)
                FLastIndex[old] = lower;
            else
                FLastIndex.erase(old);
        }
        int& last = FLastIndex.try_emplace(creatorID, index).first->second;
        if (last < index)
            last = index;
    }
    link.Program = program;
    link.Description = description;
    link.URL = url;
}

void ListeDerLinks::ClearLinks() {
    FLinks.clear();
    FLastIndex.clear();
}

bool ListeDerLinks::LoadCreatorIDs(const QString& path) {
    FError.clear();
    CreatorIdsFile file;
    QString cause;
    if (!file.Read(path, cause)) {
        FError = Translated("Unable to read %1: %2").arg(path, cause);
        return false;
    }
    for (std::string& name : file.SectionNames()) {
        TLinks link;
        link.Program = file.Value(name, ProgramKey);
        link.Description = file.Value(name, DescriptionKey);
        link.URL = file.Value(name, UrlKey);
        link.CreatorID = std::move(name);
        AddLink(std::move(link));
    }
    return true;
}

void ListeDerLinks::SaveCreatorIDs(const QString& path) const {
    CreatorIdsFile file;
    QString cause;
    // Writing without the present content would drop every section the catalogue lacks.
    if (!file.Read(path, cause))
        throw EWriteError(Translated("Unable to write to %1: its present content cannot be "
                                     "read (%2)")
                              .arg(path, cause)
                              .toStdString());
    for (const auto& link : FLinks) {
        // Keys of an ID that would not meet its own section again are not written.
        if (!CreatorIdsFile::IsWritableSectionName(link->CreatorID))
            continue;
        file.SetValue(link->CreatorID, UrlKey, link->URL);
        file.SetValue(link->CreatorID, ProgramKey, link->Program);
        file.SetValue(link->CreatorID, DescriptionKey, link->Description);
    }
    const std::string bytes = file.ToBytes();
    WriteFileAtomically(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
