#include "core/ExtractRun.h"

#include "core/EntryExtraction.h"
#include "platform/SafeWrite.h"

ExtractReport ExtractEntries(ByteSource& source, const std::vector<ContentsEntry>& entries,
                             const QString& folder, const AskOverwriteFunction& askOverwrite) {
    ExtractReport report;
    const FolderHandle handle = FolderHandle::Open(folder, &report.FolderError);
    if (!handle.IsValid())
        return report;
    bool replaceAll = false;
    bool keepAll = false;
    for (const ContentsEntry& entry : entries) {
        ExtractResult result = ExtractEntry(source, entry, handle, replaceAll);
        if (result.Outcome == ExtractOutcome::Exists) {
            bool replace = false;
            if (!keepAll) {
                switch (askOverwrite(result.Name)) {
                case OverwriteAnswer::Yes:
                    replace = true;
                    break;
                case OverwriteAnswer::YesToAll:
                    replace = replaceAll = true;
                    break;
                case OverwriteAnswer::NoToAll:
                    keepAll = true;
                    break;
                case OverwriteAnswer::No:
                    break;
                }
            }
            if (!replace) {
                ++report.Skipped;
                continue;
            }
            result = ExtractEntry(source, entry, handle, true);
        }
        if (result.Outcome == ExtractOutcome::Written)
            ++report.Written;
        else
            report.Failures << result.Name + QStringLiteral(": ") + result.Error;
    }
    return report;
}
