// Extracting several entries into one folder: an existing file is replaced only when the
// user says so (Yes, No, Yes to All, No to All, as for copies), and every failure is kept
// to be reported once at the end.
#pragma once

#include "core/OverwriteAnswer.h"
#include "palmdb/DatabaseContents.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct ExtractReport {
    int Written = 0;
    int Skipped = 0;      // existing files the user kept
    QString FolderError;  // the folder could not be opened: nothing was written
    QStringList Failures; // "name: cause", in the order met
};

// Asked with the file's name when it exists already.
using AskOverwriteFunction = std::function<OverwriteAnswer(const QString& name)>;

ExtractReport ExtractEntries(ByteSource& source, const std::vector<ContentsEntry>& entries,
                             const QString& folder, const AskOverwriteFunction& askOverwrite);
