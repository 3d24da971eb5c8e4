// Exporting Palm files: each database of a kind the decoders know becomes files in
// today's formats in a target folder; everything else is skipped with its reason. Nothing
// in the target folder is replaced: a name already taken gets " (2)", " (3)", ...
#pragma once

#include "export/CodePage.h"
#include "export/ExportOptions.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

enum class ExportKind { Unknown, Memos, Addresses, ToDos, Appointments, EBook };
// Memos and e-books as text, addresses as vCard, to-dos and appointments as iCalendar; or
// CSV for the kinds that have one (memos, addresses, to-dos).
enum class ExportFormat { Natural, Csv };

// "natural" and "csv", as the command line and the settings file name the formats; nothing
// for another name.
std::optional<ExportFormat> ExportFormatNamed(const QString& name);
QString ExportFormatName(ExportFormat format);

struct ExportSettings {
    ExportFormat Format = ExportFormat::Natural;
    CodePage Page;
    ExportOptions Options;
};

// What a run did: the files written (paths), and what was skipped, each as "name: reason"
// (whole databases, or single records that could not be read).
struct ExportSummary {
    QStringList Written;
    QStringList Skipped;
};

// The kind of a database by its type and creator as stored in its header.
ExportKind KindOf(const std::string& type, const std::string& creator);

// Exports files into target (made when missing). progress(done, total) comes before each
// file; false ends the run there.
ExportSummary ExportFiles(const QStringList& files, const QString& target,
                          const ExportSettings& settings,
                          const std::function<bool(size_t done, size_t total)>& progress = {});
