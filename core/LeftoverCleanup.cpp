#include "core/LeftoverCleanup.h"

#include "core/ProgramPaths.h"
#include "platform/SafeWrite.h"
#include "zip/ExtractionFolder.h"

void RemoveLeftoversOfKilledRuns(const ProgramPaths& paths) {
    if (const FolderHandle data = FolderHandle::Open(paths.DataFolder, nullptr); data.IsValid())
        RemoveAbandonedTemporaries(data);
    ExtractionFolder::RemoveAbandoned(paths.TempFolder);
}
