// What Pack into ZIP proposes and says: the archive's name in the save dialog, the
// suffix a typed name gets, and the one report at the end.
#pragma once

#include <QString>
#include <QStringList>

struct PackResult;

// "<folder's name>.zip" (in the archive view "<archive's name>.zip"), numbered " (2)"...
// while such a file is in the folder, so that nothing is proposed for replacing.
QString DefaultArchiveName(const QString& folder, const QString& shownArchive);
// A name typed without a suffix gets ".zip"; any other name stays as typed.
QString WithZipSuffix(const QString& path);
// What was packed (at most MaxNamesShown names, then how many more) and what was not,
// with the causes: unavailable are the rows that had no file to pack.
QString PackReportText(const QString& archive, const PackResult& result,
                       const QStringList& unavailable);

constexpr int MaxNamesShown = 20;
